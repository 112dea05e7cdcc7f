#include "TRadioPanel.h"

#include "TTwoJumper.h"

#include <QPainter>
#include <typeinfo>

TRadioPanel::TRadioPanel(QWidget* owner) : QWidget(owner)
{
    SetAnchors(this, akLeftTop());
    resize(194, 100);
    hide();
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TRadioPanel::SetFinalAnchors(TAnchors value)
{
    m_finalAnchors = value;
    if (m_inPopup)
        SetAnchors(this, value);
}

void TRadioPanel::SetColor(TColor value)
{
    if (m_color == value)
        return;
    m_color = value;
    update();
}

void TRadioPanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), ColorToQColor(m_color));
}

void TRadioPanel::RadioSelect(TTwoJumper* J)
{
    // Only children whose class is exactly TTwoJumper take part; the change is
    // judged against the states as found, so for a clicked jumper that is the
    // state after its own toggle.
    bool changed = false;
    for (QObject* child : children()) {
        if (typeid(*child) != typeid(TTwoJumper))
            continue;
        auto* jumper = static_cast<TTwoJumper*>(child);
        const bool select = jumper == J;
        if (jumper->Closed() != select)
            changed = true;
        jumper->SetClosed(select);
    }
    if (changed && OnRadioChange)
        OnRadioChange(J);
}

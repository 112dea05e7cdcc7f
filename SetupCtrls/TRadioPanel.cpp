#include "TRadioPanel.h"

#include "TTwoJumper.h"

#include "ErrorDisplay.h"

#include <QApplication>
#include <QPainter>
#include <typeinfo>

// A plain widget shows no caption, so the panel never shows its name as one.
TRadioPanel::TRadioPanel(QWidget* owner) : QWidget(owner)
{
    SetAnchors(this, akLeftTop());
    resize(194, 100);
    hide();
    setAttribute(Qt::WA_OpaquePaintEvent);
    if (qApp)
        connect(qApp, &QApplication::focusChanged, this,
                [this](QWidget*, QWidget* now) { Guarded([&] { focusMoved(now); }); });
}

// OnEnter fires when the focus moves into the panel from another control of
// its window. Its window losing and regaining activation is no new entry.
void TRadioPanel::focusMoved(QWidget* now)
{
    if (!now)
        return;
    if (now == this || isAncestorOf(now)) {
        if (m_focusInside)
            return;
        m_focusInside = true;
        if (OnEnter)
            OnEnter(this);
    } else if (now->window() == window()) {
        m_focusInside = false;
    }
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

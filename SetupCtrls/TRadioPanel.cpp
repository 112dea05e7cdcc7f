#include "TRadioPanel.h"

#include "ErrorDisplay.h"

#include <QApplication>
#include <QPainter>

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

void TRadioPanel::RadioSelect(TTwoJumper*)
{
    // Filled in with the jumper glyph.
}

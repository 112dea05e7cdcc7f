#include "TRadioPanel.h"

#include <QPainter>

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

void TRadioPanel::RadioSelect(TTwoJumper*)
{
    // Filled in with the jumper glyph.
}

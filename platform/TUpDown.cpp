#include "TUpDown.h"

#include "ErrorDisplay.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <QTimerEvent>
#include <algorithm>

namespace {
constexpr int kRepeatDelayMs = 400;
constexpr int kRepeatIntervalMs = 50;
} // namespace

TUpDown::TUpDown(QWidget* parent) : QWidget(parent)
{
    // Reachable with Tab for its arrow keys; a click on an arrow leaves the
    // focus where it was, as the platform's up-down does.
    setFocusPolicy(Qt::TabFocus);
    resize(sizeHint());
}

void TUpDown::SetMin(std::int16_t value)
{
    if (m_min == value)
        return;
    m_min = value;
    m_position = clamped(m_position);
}

void TUpDown::SetMax(std::int16_t value)
{
    if (m_max == value)
        return;
    m_max = value;
    m_position = clamped(m_position);
}

void TUpDown::SetIncrement(int value)
{
    m_increment = value;
}

void TUpDown::SetPosition(std::int16_t value)
{
    requestPosition(value, TUpDownDirection::updNone);
}

std::int16_t TUpDown::clamped(int value) const
{
    const int lo = std::min<int>(m_min, m_max);
    const int hi = std::max<int>(m_min, m_max);
    return std::int16_t(std::clamp(value, lo, hi));
}

void TUpDown::requestPosition(std::int16_t request, TUpDownDirection direction)
{
    bool allowChange = true;
    if (OnChangingEx)
        OnChangingEx(this, allowChange, request, direction);
    if (!allowChange)
        return;
    const bool outside = request < std::min(m_min, m_max) || request > std::max(m_min, m_max);
    if (m_wrap && outside && direction != TUpDownDirection::updNone)
        m_position = direction == TUpDownDirection::updUp ? m_min : m_max;
    else
        m_position = clamped(request);
}

void TUpDown::step(TUpDownDirection direction)
{
    const int delta = direction == TUpDownDirection::updUp ? m_increment : -m_increment;
    requestPosition(std::int16_t(m_position + delta), direction);
}

QRect TUpDown::arrowRect(TUpDownDirection direction) const
{
    const int upper = height() / 2;
    if (direction == TUpDownDirection::updUp)
        return {0, 0, width(), upper};
    return {0, upper, width(), height() - upper};
}

void TUpDown::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    for (TUpDownDirection d : {TUpDownDirection::updUp, TUpDownDirection::updDown}) {
        QStyleOptionButton button;
        button.initFrom(this);
        button.rect = arrowRect(d);
        button.state &= ~QStyle::State_HasFocus;
        button.state |= m_pressed == d ? QStyle::State_Sunken : QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_PanelButtonCommand, &button, &p, this);

        QStyleOption arrow(button);
        arrow.rect = button.rect.adjusted(3, 2, -3, -2);
        style()->drawPrimitive(d == TUpDownDirection::updUp ? QStyle::PE_IndicatorArrowUp
                                                            : QStyle::PE_IndicatorArrowDown,
                               &arrow, &p, this);
    }
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(1, 1, -1, -1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
    }
}

void TUpDown::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(e);
        return;
    }
    m_pressed = arrowRect(TUpDownDirection::updUp).contains(e->position().toPoint())
                    ? TUpDownDirection::updUp
                    : TUpDownDirection::updDown;
    update();
    m_repeat.start(kRepeatDelayMs, this);
    Guarded([&] { step(m_pressed); });
}

void TUpDown::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton)
        stopRepeat();
    QWidget::mouseReleaseEvent(e);
}

void TUpDown::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Up)
        Guarded([&] { step(TUpDownDirection::updUp); });
    else if (e->key() == Qt::Key_Down)
        Guarded([&] { step(TUpDownDirection::updDown); });
    else
        QWidget::keyPressEvent(e);
}

void TUpDown::timerEvent(QTimerEvent* e)
{
    if (e->timerId() != m_repeat.timerId()) {
        QWidget::timerEvent(e);
        return;
    }
    // The release may have gone elsewhere (a box opened meanwhile); repeat
    // only while the button is really held.
    if (m_pressed == TUpDownDirection::updNone ||
        !(QGuiApplication::mouseButtons() & Qt::LeftButton)) {
        stopRepeat();
        return;
    }
    m_repeat.start(kRepeatIntervalMs, this);
    Guarded([&] { step(m_pressed); });
}

void TUpDown::stopRepeat()
{
    m_repeat.stop();
    if (m_pressed == TUpDownDirection::updNone)
        return;
    m_pressed = TUpDownDirection::updNone;
    update();
}

void TUpDown::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::EnabledChange && !isEnabled())
        stopRepeat();
    QWidget::changeEvent(e);
}

void TUpDown::hideEvent(QHideEvent* e)
{
    stopRepeat();
    QWidget::hideEvent(e);
}

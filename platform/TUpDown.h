#pragma once

#include <QBasicTimer>
#include <QWidget>
#include <cstdint>
#include <functional>

enum class TUpDownDirection
{
    updNone,
    updUp,
    updDown
};

// A vertical up-down control: two small arrow buttons, the upper one raising
// and the lower one lowering an integer position by Increment within Min..Max.
// Holding an arrow repeats; Up and Down do the same while it has the focus.
//
// Every request for a new position, from the arrows, the keys or SetPosition,
// is first reported to OnChangingEx with the requested value as given (signed
// 16 bits, not yet clamped); a handler may refuse it by clearing allowChange.
// The position then becomes the request clamped into Min..Max (or wrapped to
// the other end when Wrap is on and an arrow or key steps past an end).
class TUpDown : public QWidget
{
public:
    using TUDChangingEventEx = std::function<void(
        QObject* sender, bool& allowChange, std::int16_t newValue, TUpDownDirection direction)>;

    explicit TUpDown(QWidget* parent = nullptr);

    std::int16_t Min() const { return m_min; }
    void SetMin(std::int16_t value);
    std::int16_t Max() const { return m_max; }
    void SetMax(std::int16_t value);
    int Increment() const { return m_increment; }
    void SetIncrement(int value);
    bool Wrap() const { return m_wrap; }
    void SetWrap(bool value) { m_wrap = value; }

    std::int16_t Position() const { return m_position; }
    // Reports the request to OnChangingEx even when it equals the position, so
    // a partner control can bring its text into the position's form.
    void SetPosition(std::int16_t value);

    // The program's own link to a partner control.
    QObject* Tag = nullptr;

    TUDChangingEventEx OnChangingEx;

    QSize sizeHint() const override { return {15, 25}; }

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void timerEvent(QTimerEvent* e) override;
    void changeEvent(QEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    void requestPosition(std::int16_t request, TUpDownDirection direction);
    void step(TUpDownDirection direction);
    void stopRepeat();
    std::int16_t clamped(int value) const;
    QRect arrowRect(TUpDownDirection direction) const;

    std::int16_t m_min = 0;
    std::int16_t m_max = 100;
    std::int16_t m_position = 0;
    int m_increment = 1;
    bool m_wrap = false;
    TUpDownDirection m_pressed = TUpDownDirection::updNone;
    QBasicTimer m_repeat;
};

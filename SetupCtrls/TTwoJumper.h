#pragma once

#include "TColor.h"

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <functional>

// The way a jumper glyph lies. otUp and otDown are the horizontal pair,
// otLeft and otRight the vertical pair.
enum TOrientationType : std::uint8_t
{
    otUp = 0,
    otDown = 1,
    otLeft = 2,
    otRight = 3
};

// Border of a control: none, or a single line (a jumper glyph outlines its
// block or cap in black).
enum TBorderStyle : std::uint8_t
{
    bsNone = 0,
    bsSingle = 1
};

// A two-pin jumper drawn as it looks on the card: a base block with two round
// pins or, when Closed, a cap over both. A left click toggles it; on an option
// panel with radio behaviour the click also takes part in the panel's
// one-of-many selection. The glyph is composed off screen and reaches the
// screen in one block copy.
class TTwoJumper : public QWidget
{
public:
    using TNotifyEvent = std::function<void(QObject* sender)>;

    explicit TTwoJumper(QWidget* owner);
    ~TTwoJumper() override;

    bool Closed() const { return m_closed; }
    void SetClosed(bool value);

    TColor BaseColor() const { return m_baseColor; }
    void SetBaseColor(TColor value);
    TColor PinColor() const { return m_pinColor; }
    void SetPinColor(TColor value);
    TColor JumperColor() const { return m_jumperColor; }
    void SetJumperColor(TColor value);

    TOrientationType Orientation() const { return m_orientation; }
    void SetOrientation(TOrientationType value);

    TBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TBorderStyle value);

    // What a left click does: toggle, radio behaviour of the parent option
    // panel, then OnClick.
    void Click();

    TNotifyEvent OnClick;

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    void drawHorizontal(int L, int S);
    void rotateIntoFace(int L, int S);

    TOrientationType m_orientation = otUp;
    bool m_closed = false;
    QImage m_face;    // the finished glyph in its final orientation
    QImage m_drawing; // the glyph lying horizontally, before rotation
    bool m_swapPending = false;
    bool m_paintedOnce = false;
    TColor m_baseColor = clGray;
    TColor m_jumperColor = clMaroon;
    TColor m_pinColor = clYellow;
    TBorderStyle m_borderStyle = bsSingle;

    bool m_pressed = false; // left button went down inside the glyph
};

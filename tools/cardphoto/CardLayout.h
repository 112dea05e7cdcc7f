#pragma once

#include <QColor>
#include <QPointF>
#include <QRectF>

// Where the parts of the card lie, in pixels of the 600 x 618 picture. The
// jumper row, the connector P2 and the configuration chip are placed where the
// highlights of the setup window fall once the picture is stretched into its
// 400 x 400 board image: jumpers A4-A9 in x 48-122, DF in x 123-142, X8 in
// x 142-162, all in y 470-502; P2 in x 8-74, y 99-434; the chip with its leads
// in x 234-360, y 275-405.
namespace CardLayout {

inline const QColor Backdrop(46, 49, 54);
inline const QColor Mask(26, 98, 56);
inline const QColor Copper(52, 136, 76); // a trace seen through the mask
inline const QColor Silk(232, 234, 222);
inline const QColor Tin(196, 198, 190);
inline const QColor Plastic(24, 24, 26);

inline const QRectF Board(1.5, 1.5, 597, 615);

inline const QRectF P2(8, 99, 66, 335);
inline const QRectF P2Cavity(17, 110, 48, 313);
constexpr int P2Rows = 20;
inline const double P2PinX[2] = {32.5, 49.5};

inline const QRectF Chip(240, 281, 114, 118);
constexpr double ChipReach = 6;
constexpr int ChipLeads = 13;

inline const QRectF Uart[4] = {
    {155, 57, 62, 62}, {269, 57, 62, 62}, {155, 165, 62, 62}, {269, 165, 62, 62}};
constexpr double UartReach = 5;
constexpr int UartLeads = 11;

inline const QRectF Driver[4] = {
    {96, 114, 24, 58}, {96, 190, 24, 58}, {96, 266, 24, 58}, {96, 342, 24, 58}};
inline const QRectF Buffer[2] = {{400, 290, 24, 58}, {446, 290, 24, 58}};
constexpr double SoicReach = 5;
constexpr int SoicLeads = 10;

inline const QRectF J1(558, 50, 34, 512);
constexpr int J1Rows = 32;
inline const QRectF J2(516, 50, 34, 320);
constexpr int J2Rows = 20;

inline const QRectF Oscillator(384, 150, 58, 36);
inline const QPointF Holes[4] = {{36, 38}, {36, 584}, {574, 26}, {574, 592}};
inline const QPointF Capacitors[2] = {{474, 470}, {205, 510}};

// The jumper row: a six-way block for A4-A9, then DF and X8 on their own.
inline const QRectF JumperBlocks[3] = {
    {48, 470, 74, 32}, {124.5, 470, 16.5, 32}, {143.5, 470, 16.5, 32}};
inline const double JumperPinY[2] = {479, 493};
inline const char* const JumperLabels[8] = {"A4", "A5", "A6", "A7", "A8", "A9", "DF", "X8"};

inline double JumperX(int position)
{
    if (position < 6)
        return JumperBlocks[0].left() + JumperBlocks[0].width() / 6 * (position + 0.5);
    return JumperBlocks[position - 5].center().x();
}

enum class Side
{
    Left,
    Right,
    Top,
    Bottom
};

// Outer end of lead i of n on one side of a package body; margin is the
// distance of the first and last lead from the body's corners.
inline QPointF Lead(const QRectF& body, int n, Side side, int i, double margin, double reach)
{
    const bool vertical = side == Side::Left || side == Side::Right;
    const double length = vertical ? body.height() : body.width();
    const double along = margin + i * (length - 2 * margin) / (n - 1);
    switch (side) {
    case Side::Left:
        return {body.left() - reach, body.top() + along};
    case Side::Right:
        return {body.right() + reach, body.top() + along};
    case Side::Top:
        return {body.left() + along, body.top() - reach};
    case Side::Bottom:
        return {body.left() + along, body.bottom() + reach};
    }
    return {};
}

constexpr double PlccMargin = 6;
constexpr double SoicMargin = 5;

inline QPointF ChipLead(Side s, int i)
{
    return Lead(Chip, ChipLeads, s, i, PlccMargin, ChipReach);
}
inline QPointF UartLead(int u, Side s, int i)
{
    return Lead(Uart[u], UartLeads, s, i, PlccMargin, UartReach);
}
inline QPointF SoicLead(const QRectF& body, Side s, int i)
{
    return Lead(body, SoicLeads, s, i, SoicMargin, SoicReach);
}
inline QPointF P2Pin(int column, int row)
{
    return {P2PinX[column], P2Cavity.top() + P2Cavity.height() / P2Rows * (row + 0.5)};
}
inline QPointF Socket(const QRectF& body, int rows, int column, int row)
{
    return {body.center().x() + (column ? 8.5 : -8.5),
            body.top() + body.height() / rows * (row + 0.5)};
}

} // namespace CardLayout

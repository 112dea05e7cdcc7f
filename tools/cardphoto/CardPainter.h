#pragma once

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>

// Draws a top view of the QL-4S card as a photograph would show it: green
// solder mask with traces, silkscreen, the serial connector P2, the eight-
// position jumper row, the configuration chip, the four UARTs, their line
// drivers and the stack connectors. All coordinates are in pixels of the
// finished 600 x 618 picture; the drawing is made at twice that size and
// scaled down, which gives the soft edges of a real photograph.
class CardPainter
{
public:
    static constexpr int Width = 600;
    static constexpr int Height = 618;

    QImage Render();

private:
    void drawBoard(QPainter& p);
    void drawTraces(QPainter& p);
    void drawSilkscreen(QPainter& p);
    void drawHoles(QPainter& p);
    void drawParts(QPainter& p);

    QPainterPath m_shadows; // footprints of the parts, for their soft shadows
};

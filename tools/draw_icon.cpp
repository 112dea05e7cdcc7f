// Draws the program's icon: a green serial card with its connector, jumper row
// and logic chip, and a soft yellow ring over the jumpers, like the rings the
// program lays over the photograph.
//
//   draw_icon OUT.png [SIZE]      (SIZE in pixels, default 128)
//
// Drawing is vector work scaled to SIZE on a transparent background, so the
// same Qt build always writes the same pixels.

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cstdio>
#include <cstdlib>

namespace {

// Everything below is drawn on a 128 x 128 grid.
constexpr double Grid = 128.0;

void drawCard(QPainter& p)
{
    // The board, slightly tilted away from square so it reads as a card.
    QPainterPath board;
    board.addRoundedRect(QRectF(14, 22, 100, 84), 6, 6);
    p.setPen(QPen(QColor(0x0E, 0x3B, 0x1E), 2));
    p.setBrush(QColor(0x1F, 0x6E, 0x3A));
    p.drawPath(board);

    // Copper traces.
    p.setPen(QPen(QColor(0x3C, 0x9A, 0x5C), 1.5));
    for (int i = 0; i < 4; ++i) {
        const double y = 34 + i * 8;
        p.drawLine(QPointF(30, y), QPointF(56, y));
        p.drawLine(QPointF(56, y), QPointF(64, y + 6));
    }

    // Serial connector along the left edge.
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
    p.setBrush(QColor(0x9A, 0x9A, 0xA0));
    p.drawRoundedRect(QRectF(17, 30, 9, 44), 2, 2);
    p.setBrush(QColor(0x30, 0x30, 0x30));
    for (int i = 0; i < 5; ++i)
        p.drawEllipse(QPointF(21.5, 35 + i * 8.5), 1.6, 1.6);

    // The large logic chip in the middle.
    p.setPen(QPen(QColor(0x10, 0x10, 0x10), 1));
    p.setBrush(QColor(0x26, 0x26, 0x2A));
    p.drawRect(QRectF(66, 34, 34, 34));
    p.setPen(QPen(QColor(0xC8, 0xC8, 0xC8), 1.2));
    for (int i = 0; i < 6; ++i) {
        const double t = 70 + i * 5.2;
        p.drawLine(QPointF(t, 32), QPointF(t, 34));
        p.drawLine(QPointF(t, 68), QPointF(t, 70));
        p.drawLine(QPointF(64, t - 32), QPointF(66, t - 32));
        p.drawLine(QPointF(100, t - 32), QPointF(102, t - 32));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x50, 0x50, 0x56));
    p.drawEllipse(QPointF(71, 39), 1.8, 1.8);

    // The jumper row near the lower edge: pin pairs, some closed by a cap.
    for (int i = 0; i < 8; ++i) {
        const double x = 26 + i * 9;
        p.setBrush(QColor(0xE0, 0xC0, 0x50));
        p.drawRect(QRectF(x, 86, 2.5, 2.5));
        p.drawRect(QRectF(x, 93, 2.5, 2.5));
        if (i % 3 != 1) {
            p.setBrush(QColor(0x18, 0x18, 0x18));
            p.drawRoundedRect(QRectF(x - 1.5, 84.5, 5.5, 12.5), 1, 1);
        }
    }
}

void drawRing(QPainter& p)
{
    // A soft glow fading out on both sides of the ring's line.
    const QPointF centre(46, 91);
    QRadialGradient glow(centre, 26);
    glow.setColorAt(0.55, QColor(255, 230, 40, 0));
    glow.setColorAt(0.78, QColor(255, 230, 40, 200));
    glow.setColorAt(1.0, QColor(255, 230, 40, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(centre, 26, 26);
    p.setPen(QPen(QColor(255, 214, 0), 2.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, 20, 20);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s OUT.png [SIZE]\n", argv[0]);
        return 2;
    }
    const int size = argc == 3 ? std::atoi(argv[2]) : 128;
    if (size < 16 || size > 1024) {
        std::fprintf(stderr, "SIZE must be 16 to 1024\n");
        return 2;
    }

    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    {
        QPainter p(&icon);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / Grid, size / Grid);
        drawCard(p);
        drawRing(p);
    }
    if (!icon.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}

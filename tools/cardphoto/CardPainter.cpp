#include "CardPainter.h"

#include "CardLayout.h"
#include "PartPainter.h"
#include "Silkscreen.h"
#include "Traces.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <QVector>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

using namespace CardLayout;

namespace {

// Supersampling factor of the drawing.
constexpr int kSuper = 2;

// Separable box blur of an image's alpha channel, for soft shadows.
void blurAlpha(QImage& img, int radius)
{
    const int w = img.width(), h = img.height();
    std::vector<int> line(std::max(w, h));
    auto pass = [&](bool horizontal) {
        const int outer = horizontal ? h : w, inner = horizontal ? w : h;
        for (int o = 0; o < outer; ++o) {
            auto px = [&](int i) -> QRgb& {
                const int x = horizontal ? i : o, y = horizontal ? o : i;
                return reinterpret_cast<QRgb*>(img.scanLine(y))[x];
            };
            for (int i = 0; i < inner; ++i)
                line[i] = qAlpha(px(i));
            int sum = 0;
            for (int i = -radius; i <= radius; ++i)
                sum += line[std::clamp(i, 0, inner - 1)];
            for (int i = 0; i < inner; ++i) {
                px(i) = qRgba(0, 0, 0, sum / (2 * radius + 1));
                sum += line[std::min(i + radius + 1, inner - 1)] - line[std::max(i - radius, 0)];
            }
        }
    };
    for (int k = 0; k < 3; ++k) {
        pass(true);
        pass(false);
    }
}

} // namespace

QImage CardPainter::Render()
{
    m_shadows = QPainterPath();
    const QSize big(Width * kSuper, Height * kSuper);

    QImage board(big, QImage::Format_RGB32);
    {
        QPainter p(&board);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.scale(kSuper, kSuper);
        drawBoard(p);
        drawTraces(p);
        drawSilkscreen(p);
        drawHoles(p);
    }

    QImage parts(big, QImage::Format_ARGB32_Premultiplied);
    parts.fill(Qt::transparent);
    {
        QPainter p(&parts);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.scale(kSuper, kSuper);
        drawParts(p);
    }

    QImage shade(big, QImage::Format_ARGB32);
    shade.fill(Qt::transparent);
    {
        QPainter p(&shade);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(kSuper, kSuper);
        p.fillPath(m_shadows, Qt::black);
    }
    blurAlpha(shade, 3 * kSuper);

    {
        QPainter p(&board);
        p.setOpacity(0.55);
        p.drawImage(QPointF(2.5 * kSuper, 3.5 * kSuper), shade);
        p.setOpacity(1.0);
        p.drawImage(0, 0, parts);
    }

    QImage photo = board.scaled(Width, Height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                       .convertToFormat(QImage::Format_RGB32);

    // Light from the upper left, a little vignetting and sensor noise.
    std::mt19937 random(20240611u);
    std::normal_distribution<double> grain(0.0, 2.0);
    for (int y = 0; y < Height; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(photo.scanLine(y));
        for (int x = 0; x < Width; ++x) {
            const double u = double(x) / Width, v = double(y) / Height;
            const double du = u - 0.5, dv = v - 0.5;
            const double light = 1.07 - 0.10 * (0.6 * u + 0.4 * v) - 0.22 * (du * du + dv * dv);
            const double n = grain(random);
            auto channel = [&](int c, double warm) {
                return std::clamp(int(std::lround(c * light * warm + n)), 0, 255);
            };
            const QRgb c = row[x];
            row[x] = qRgb(channel(qRed(c), 1.01), channel(qGreen(c), 1.0), channel(qBlue(c), 0.97));
        }
    }
    return photo;
}

void CardPainter::drawBoard(QPainter& p)
{
    QLinearGradient desk(0, 0, Width, Height);
    desk.setColorAt(0, Backdrop.lighter(115));
    desk.setColorAt(1, Backdrop.darker(115));
    p.fillRect(QRectF(0, 0, Width, Height), desk);

    // The cut edge of the laminate, then the mask over it.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 160, 110));
    p.drawRoundedRect(Board, 9, 9);
    QLinearGradient mask(0, 0, Width, Height);
    mask.setColorAt(0, Mask.lighter(112));
    mask.setColorAt(0.5, Mask);
    mask.setColorAt(1, Mask.darker(110));
    p.setBrush(mask);
    p.drawRoundedRect(Board.adjusted(1.2, 1.2, -1.2, -1.2), 8, 8);
}

void CardPainter::drawTraces(QPainter& p)
{
    // P2 to the line drivers: the pins of the inner row, five per port.
    for (int d = 0; d < 4; ++d) {
        QVector<QLineF> links;
        for (int m = 0; m < 5; ++m)
            links << QLineF(P2Pin(1, d * 5 + m), SoicLead(Driver[d], Side::Left, m * 2));
        Bus(p, links, 76, 3.2);
    }
    // Line drivers to the UARTs of ports A and C, and through the
    // configuration chip for ports B and D.
    for (int d = 0; d < 2; ++d) {
        QVector<QLineF> links;
        for (int m = 0; m < 5; ++m)
            links << QLineF(SoicLead(Driver[d], Side::Right, m * 2),
                            UartLead(d * 2, Side::Left, 2 + m * 2));
        Bus(p, links, 130, 4);
    }
    {
        QVector<QLineF> links;
        for (int m = 0; m < 5; ++m)
            links << QLineF(SoicLead(Driver[2], Side::Right, m * 2), ChipLead(Side::Left, m));
        Bus(p, links, 206, 4.5);
        links.clear();
        for (int m = 0; m < 5; ++m)
            links << QLineF(SoicLead(Driver[3], Side::Right, m * 2), ChipLead(Side::Left, 6 + m));
        Bus(p, links, 196, 4.5);
    }
    // The UARTs share the data bus, which runs on to the configuration chip.
    for (int i = 0; i < UartLeads; ++i) {
        Trace(p, {UartLead(0, Side::Bottom, i), UartLead(2, Side::Top, i)});
        Trace(p, {UartLead(1, Side::Bottom, i), UartLead(3, Side::Top, i)});
        Trace(p, {UartLead(0, Side::Right, i), UartLead(1, Side::Left, i)});
        Trace(p, {UartLead(2, Side::Right, i), UartLead(3, Side::Left, i)});
    }
    {
        QVector<QLineF> links;
        for (int m = 0; m < 5; ++m)
            links << QLineF(UartLead(2, Side::Bottom, 2 + m * 2), ChipLead(Side::Top, m));
        Bus(p, links, 242, 5, true);
        links.clear();
        for (int m = 0; m < 5; ++m)
            links << QLineF(UartLead(3, Side::Bottom, 2 + m * 2), ChipLead(Side::Top, 8 + m));
        Bus(p, links, 242, 5, true);
    }
    // UART B to the stack connector; the clock to the UARTs.
    {
        QVector<QLineF> links;
        for (int m = 0; m < 5; ++m)
            links << QLineF(UartLead(1, Side::Right, m * 2), Socket(J2, J2Rows, 0, 1 + m));
        Bus(p, links, 470, 6);
        Trace(p, {QPointF(Oscillator.left() + 4, Oscillator.center().y()),
                  QPointF(360, Oscillator.center().y()), UartLead(3, Side::Right, 2)});
        Trace(p, {QPointF(Oscillator.left() + 4, Oscillator.top() + 8),
                  QPointF(370, Oscillator.top() + 8), QPointF(350, 128),
                  UartLead(1, Side::Right, 10)});
    }
    // Configuration chip to the bus buffers and the stack connectors.
    {
        QVector<QLineF> links;
        for (int m = 0; m < 6; ++m)
            links << QLineF(ChipLead(Side::Right, m), SoicLead(Buffer[0], Side::Left, m));
        Bus(p, links, 366, 4.5);
        for (int m = 0; m < SoicLeads; ++m)
            Trace(p, {SoicLead(Buffer[0], Side::Right, m), SoicLead(Buffer[1], Side::Left, m)});
        links.clear();
        for (int m = 0; m < 5; ++m)
            links << QLineF(SoicLead(Buffer[1], Side::Right, 1 + m * 2),
                            Socket(J2, J2Rows, 0, 15 + m));
        Bus(p, links, 484, 5);
        links.clear();
        for (int m = 0; m < 5; ++m)
            links << QLineF(ChipLead(Side::Right, 8 + m), Socket(J1, J1Rows, 0, 21 + m));
        Bus(p, links, 488, 5.5);
    }
    // Each jumper's upper pin to the address decoder in the configuration chip.
    for (int j = 0; j < 8; ++j) {
        const double x = JumperX(j);
        const double yh = 434 + 4 * j;
        const QPointF target = ChipLead(Side::Bottom, 1 + j);
        Trace(p, {QPointF(x, JumperPinY[0]), QPointF(x, yh), QPointF(target.x() - (yh - 420), yh),
                  QPointF(target.x(), 420), target});
    }
    // Supply and ground.
    Trace(p,
          {Socket(J1, J1Rows, 0, 30), QPointF(500, Socket(J1, J1Rows, 0, 30).y()),
           QPointF(474, 520), Capacitors[0]},
          5);
    Trace(p, {QPointF(64, 609), QPointF(548, 609)}, 5);
    Trace(p, {QPointF(110, 15), QPointF(505, 15), Socket(J2, J2Rows, 0, 0)}, 5);
    Trace(p, {QPointF(110, 15), QPointF(96, 29), QPointF(96, 60), QPointF(150, 60)}, 3);
    Trace(p, {QPointF(205, 510), QPointF(205, 560), QPointF(180, 585), QPointF(180, 609)}, 4);

    for (int x = 90; x <= 530; x += 40)
        Via(p, QPointF(x, 609));
    for (int x = 140; x <= 480; x += 60)
        Via(p, QPointF(x, 15));
    for (QPointF v : {QPointF(230, 270), QPointF(364, 270), QPointF(230, 412), QPointF(366, 412),
                      QPointF(140, 140), QPointF(345, 155), QPointF(448, 276), QPointF(500, 420),
                      QPointF(520, 440), QPointF(255, 150), QPointF(255, 40), QPointF(135, 258)})
        Via(p, v);
}

void CardPainter::drawSilkscreen(QPainter& p)
{
    const QPen silk(Silk, 1.3);
    p.setBrush(Qt::NoBrush);
    p.setPen(silk);

    // Package outlines.
    auto plccOutline = [&](const QRectF& body, double reach) {
        const QRectF r = body.adjusted(-reach - 3, -reach - 3, reach + 3, reach + 3);
        QPolygonF outline;
        outline << r.topLeft() + QPointF(8, 0) << r.topRight() << r.bottomRight() << r.bottomLeft()
                << r.topLeft() + QPointF(0, 8) << r.topLeft() + QPointF(8, 0);
        p.setPen(silk);
        p.drawPolyline(outline);
    };
    plccOutline(Chip, ChipReach);
    for (const QRectF& u : Uart)
        plccOutline(u, UartReach);
    for (const QRectF& r : Driver) {
        p.drawRect(r.adjusted(-1.5, -2.5, 1.5, 2.5));
        p.setBrush(Silk);
        p.drawEllipse(QPointF(r.left() - 4, r.top() - 5), 1.3, 1.3);
        p.setBrush(Qt::NoBrush);
    }
    for (const QRectF& r : Buffer)
        p.drawRect(r.adjusted(-1.5, -2.5, 1.5, 2.5));
    p.drawRect(P2.adjusted(-2, -2, 2, 2));
    p.drawRect(J1.adjusted(-2, -2, 2, 2));
    p.drawRect(J2.adjusted(-2, -2, 2, 2));
    p.drawRect(Oscillator.adjusted(-3, -3, 3, 3));
    for (const QRectF& b : JumperBlocks)
        p.drawRect(b.adjusted(-1.5, -1.5, 1.5, 1.5));
    p.drawEllipse(Capacitors[0], 19, 19);
    p.drawEllipse(Capacitors[1], 16, 16);

    // Pin-one marks.
    p.setPen(Qt::NoPen);
    p.setBrush(Silk);
    p.drawPolygon(QPolygonF{QPointF(77, 104), QPointF(83, 107), QPointF(77, 110)});
    p.drawPolygon(QPolygonF{QPointF(553, 44), QPointF(556, 50), QPointF(550, 50)});
    p.drawPolygon(QPolygonF{QPointF(511, 44), QPointF(514, 50), QPointF(508, 50)});

    // Reference designators and the jumper row's marking.
    const QFont small = SilkFont(8);
    CentredText(p, QPointF(41, 90), QStringLiteral("P2"), SilkFont(12), Silk);
    CentredText(p, QPointF(186, 45), QStringLiteral("U1"), small, Silk);
    CentredText(p, QPointF(300, 45), QStringLiteral("U2"), small, Silk);
    CentredText(p, QPointF(138, 165), QStringLiteral("U3"), small, Silk);
    CentredText(p, QPointF(352, 212), QStringLiteral("U4"), small, Silk);
    CentredText(p, QPointF(376, 266), QStringLiteral("U5"), small, Silk);
    for (int d = 0; d < 4; ++d)
        CentredText(p, QPointF(108, Driver[d].bottom() + 9), QStringLiteral("U%1").arg(6 + d),
                    small, Silk);
    CentredText(p, QPointF(412, 280), QStringLiteral("U10"), small, Silk);
    CentredText(p, QPointF(458, 280), QStringLiteral("U11"), small, Silk);
    CentredText(p, QPointF(413, 141), QStringLiteral("Y1"), small, Silk);
    CentredText(p, QPointF(533, 382), QStringLiteral("J2"), SilkFont(10), Silk);
    CentredText(p, QPointF(543, 470), QStringLiteral("J1"), SilkFont(10), Silk);
    CentredText(p, QPointF(474, 442), QStringLiteral("C12"), small, Silk);
    CentredText(p, QPointF(205, 484), QStringLiteral("C13"), small, Silk);
    CentredText(p, QPointF(474, 470), QStringLiteral("+"), SilkFont(9), Silk);
    CentredText(p, QPointF(22, 486), QStringLiteral("JP1"), small, Silk);
    CentredText(p, QPointF(80, 100), QStringLiteral("1"), SilkFont(7), Silk);

    const QFont jumperFont = SilkFont(7);
    for (int j = 0; j < 8; ++j)
        CentredText(p, QPointF(JumperX(j), 510), QLatin1String(JumperLabels[j]), jumperFont, Silk);

    p.save();
    p.translate(544, 512);
    p.rotate(-90);
    CentredText(p, QPointF(0, 0), QStringLiteral("PC/104"), SilkFont(9), Silk);
    p.restore();

    CentredText(p, QPointF(300, 552), QStringLiteral("KELDO QL-4S"), SilkFont(24), Silk);
    CentredText(p, QPointF(300, 574), QStringLiteral("4-PORT SERIAL    REV C"), SilkFont(9), Silk);
}

void CardPainter::drawHoles(QPainter& p)
{
    for (QPointF c : Holes) {
        p.setPen(Qt::NoPen);
        QRadialGradient ring(c - QPointF(3, 3), 16);
        ring.setColorAt(0, QColor(230, 230, 222));
        ring.setColorAt(1, Tin.darker(125));
        p.setBrush(ring);
        p.drawEllipse(c, 13, 13);
        p.setBrush(Backdrop.darker(160));
        p.drawEllipse(c, 7.5, 7.5);
        for (int k = 0; k < 8; ++k) {
            const double a = k * M_PI / 4;
            Via(p, c + QPointF(17 * std::cos(a), 17 * std::sin(a)));
        }
    }
}

void CardPainter::drawParts(QPainter& p)
{
    PartPainter parts(p, m_shadows);
    parts.serialConnector();
    parts.jumperRow();
    parts.stackConnector(J1, J1Rows);
    parts.stackConnector(J2, J2Rows);
    for (const QRectF& d : Driver)
        parts.soic(d, SoicLeads, QStringLiteral("3238EC"));
    for (const QRectF& b : Buffer)
        parts.soic(b, SoicLeads, QStringLiteral("HCT245"));
    parts.plcc(Chip, ChipLeads, ChipReach,
               {QStringLiteral("KELDO"), QStringLiteral("QL4S-CFG"), QStringLiteral("9846 B")}, 9);
    for (const QRectF& u : Uart)
        parts.plcc(u, UartLeads, UartReach,
                   {QStringLiteral("16C550"), QStringLiteral("CJ44"), QStringLiteral("9838")}, 6);
    parts.oscillator(Oscillator);
    parts.electrolytic(Capacitors[0], 15);
    parts.electrolytic(Capacitors[1], 12.5);
    for (QPointF c : {QPointF(143, 48), QPointF(345, 48), QPointF(150, 238), QPointF(352, 142),
                      QPointF(228, 410), QPointF(368, 410), QPointF(490, 272), QPointF(108, 100)})
        parts.chipCap(c, false);
    for (QPointF c : {QPointF(240, 144), QPointF(254, 250), QPointF(388, 248), QPointF(500, 395)})
        parts.chipCap(c, true);
}

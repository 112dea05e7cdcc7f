#include "PartPainter.h"

#include "CardLayout.h"
#include "Silkscreen.h"

#include <QLinearGradient>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>

using namespace CardLayout;

PartPainter::PartPainter(QPainter& painter, QPainterPath& shadows) : p(painter), m_shadows(shadows)
{
}

void PartPainter::shadow(const QRectF& r, double radius)
{
    m_shadows.addRoundedRect(r, radius, radius);
}

void PartPainter::shadow(const QPainterPath& path)
{
    m_shadows.addPath(path);
}

void PartPainter::pin(QPointF c, double s)
{
    const QRectF r(c.x() - s / 2, c.y() - s / 2, s, s);
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0, QColor(250, 232, 164));
    g.setColorAt(0.5, QColor(212, 176, 86));
    g.setColorAt(1, QColor(118, 90, 40));
    p.setPen(Qt::NoPen);
    p.fillRect(r, g);
    p.fillRect(QRectF(c.x() - s * 0.2, c.y() - s * 0.2, s * 0.4, s * 0.4), QColor(240, 214, 130));
}

void PartPainter::socket(QPointF c, double s)
{
    const QRectF r(c.x() - s / 2, c.y() - s / 2, s, s);
    p.fillRect(r, QColor(6, 6, 7));
    p.fillRect(QRectF(r.left() + 1, r.top() + 1, s - 2, s * 0.28), QColor(150, 140, 100));
}

void PartPainter::stackConnector(QRectF body, int rows)
{
    shadow(body, 1.5);
    QLinearGradient g(body.topLeft(), body.topRight());
    g.setColorAt(0, Plastic.lighter(190));
    g.setColorAt(0.15, Plastic.lighter(130));
    g.setColorAt(1, Plastic);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(body, 1.5, 1.5);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < 2; ++c)
            socket(Socket(body, rows, c, r), 6);
}

void PartPainter::serialConnector()
{
    shadow(P2, 2);
    QLinearGradient wall(P2.topLeft(), P2.topRight());
    wall.setColorAt(0, QColor(74, 74, 80));
    wall.setColorAt(0.12, QColor(46, 46, 50));
    wall.setColorAt(1, QColor(30, 30, 33));
    p.setPen(Qt::NoPen);
    p.setBrush(wall);
    p.drawRoundedRect(P2, 2, 2);
    p.setPen(QPen(QColor(96, 96, 102), 1));
    p.drawLine(P2.topLeft() + QPointF(2, 0.8), P2.topRight() + QPointF(-2, 0.8));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(14, 14, 16));
    p.drawRect(P2Cavity);
    // The polarising slot in the outer wall.
    p.drawRect(QRectF(P2.left(), 236, P2Cavity.left() - P2.left(), 60));
    for (int r = 0; r < P2Rows; ++r)
        for (int c = 0; c < 2; ++c)
            pin(P2Pin(c, r), 5.5);
}

void PartPainter::jumperRow()
{
    for (const QRectF& b : JumperBlocks) {
        shadow(b, 1);
        QLinearGradient g(b.topLeft(), b.bottomLeft());
        g.setColorAt(0, Plastic.lighter(180));
        g.setColorAt(0.2, Plastic.lighter(120));
        g.setColorAt(1, Plastic);
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawRoundedRect(b, 1, 1);
    }
    // Grooves between the positions of the six-way block.
    p.setPen(QPen(QColor(60, 60, 64), 0.8));
    for (int j = 1; j < 6; ++j) {
        const double x = JumperBlocks[0].left() + 74.0 / 6 * j;
        p.drawLine(QPointF(x, 471), QPointF(x, 501));
    }
    // Two pins per position, one above the other; no caps fitted.
    for (int j = 0; j < 8; ++j)
        for (double y : JumperPinY)
            pin(QPointF(JumperX(j), y), 4.8);
}

void PartPainter::plcc(QRectF body, int leadsPerSide, double reach, const QStringList& marking,
                       int textSize)
{
    // J-leads: short tin tabs folded under the body.
    for (Side s : {Side::Left, Side::Right, Side::Top, Side::Bottom})
        for (int i = 0; i < leadsPerSide; ++i) {
            const QPointF end = Lead(body, leadsPerSide, s, i, PlccMargin, reach);
            const QPointF root = Lead(body, leadsPerSide, s, i, PlccMargin, -1);
            const double w = std::min(3.4, (body.width() - 12) / (leadsPerSide - 1) * 0.55);
            const bool vertical = s == Side::Left || s == Side::Right;
            const QRectF r = vertical ? QRectF(std::min(end.x(), root.x()), end.y() - w / 2,
                                               std::abs(end.x() - root.x()), w)
                                      : QRectF(end.x() - w / 2, std::min(end.y(), root.y()), w,
                                               std::abs(end.y() - root.y()));
            QLinearGradient g(root, end);
            g.setColorAt(0, Tin.darker(170));
            g.setColorAt(0.5, Tin.lighter(112));
            g.setColorAt(1, Tin.darker(110));
            p.fillRect(r, g);
        }
    shadow(body, 2);
    // The moulded body with its bevelled rim and the cut pin-one corner.
    QPainterPath outline;
    const double cut = body.width() * 0.08;
    outline.moveTo(body.left() + cut, body.top());
    outline.lineTo(body.topRight());
    outline.lineTo(body.bottomRight());
    outline.lineTo(body.bottomLeft());
    outline.lineTo(body.left(), body.top() + cut);
    outline.closeSubpath();
    QLinearGradient rim(body.topLeft(), body.bottomRight());
    rim.setColorAt(0, Plastic.lighter(210));
    rim.setColorAt(0.5, Plastic.lighter(130));
    rim.setColorAt(1, Plastic);
    p.setPen(Qt::NoPen);
    p.fillPath(outline, rim);
    const QRectF top = body.adjusted(3.5, 3.5, -3.5, -3.5);
    QLinearGradient sheen(top.topLeft(), top.bottomRight());
    sheen.setColorAt(0, QColor(44, 44, 47));
    sheen.setColorAt(0.45, QColor(30, 30, 32));
    sheen.setColorAt(1, QColor(22, 22, 24));
    p.setBrush(sheen);
    p.drawRoundedRect(top, 1.5, 1.5);
    // Pin one sits in the middle of the top side, marked by a dimple.
    p.setBrush(QColor(14, 14, 15));
    p.drawEllipse(QPointF(body.center().x(), top.top() + 6), 2.6, 2.6);
    p.setPen(QPen(QColor(40, 40, 43), 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(top.left() + 8, top.bottom() - 8), 4, 4);
    p.drawEllipse(QPointF(top.right() - 8, top.bottom() - 8), 4, 4);

    const double lineHeight = textSize * 1.25;
    double y = body.center().y() - lineHeight * (marking.size() - 1) / 2;
    for (int i = 0; i < marking.size(); ++i, y += lineHeight)
        CentredText(p, QPointF(body.center().x(), y), marking[i],
                    SilkFont(i == 0 ? textSize + 2 : textSize, i == 0), QColor(168, 168, 162));
}

void PartPainter::soic(QRectF body, int leadsPerSide, const QString& marking)
{
    const bool vertical = body.height() > body.width();
    const Side sides[2] = {vertical ? Side::Left : Side::Top,
                           vertical ? Side::Right : Side::Bottom};
    for (int i = 0; i < leadsPerSide; ++i)
        for (Side s : sides) {
            const QPointF end = Lead(body, leadsPerSide, s, i, SoicMargin, SoicReach);
            const QPointF root = Lead(body, leadsPerSide, s, i, SoicMargin, 0);
            const double w = 2.6;
            QRectF r = vertical
                           ? QRectF(std::min(end.x(), root.x()), end.y() - w / 2, SoicReach, w)
                           : QRectF(end.x() - w / 2, std::min(end.y(), root.y()), w, SoicReach);
            QLinearGradient g(root, end);
            g.setColorAt(0, Tin.darker(150));
            g.setColorAt(0.6, Tin.lighter(110));
            g.setColorAt(1, Tin);
            p.fillRect(r, g);
        }
    shadow(body, 1);
    QLinearGradient g(body.topLeft(), body.bottomRight());
    g.setColorAt(0, Plastic.lighter(160));
    g.setColorAt(0.3, Plastic.lighter(115));
    g.setColorAt(1, Plastic);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(body, 1.2, 1.2);
    p.setBrush(QColor(12, 12, 13));
    p.drawEllipse(QPointF(body.left() + 4.5, body.top() + 4.5), 1.8, 1.8);
    p.save();
    p.translate(body.center());
    if (vertical)
        p.rotate(90);
    CentredText(p, QPointF(0, 0), marking, SilkFont(6, false), QColor(150, 150, 146));
    p.restore();
}

void PartPainter::chipCap(QPointF c, bool vertical)
{
    const QSizeF s = vertical ? QSizeF(5, 9) : QSizeF(9, 5);
    const QRectF r(c.x() - s.width() / 2, c.y() - s.height() / 2, s.width(), s.height());
    shadow(r, 0.5);
    p.fillRect(r, QColor(176, 148, 104));
    const QRectF endA = vertical ? QRectF(r.left(), r.top(), r.width(), 2)
                                 : QRectF(r.left(), r.top(), 2, r.height());
    const QRectF endB = vertical ? QRectF(r.left(), r.bottom() - 2, r.width(), 2)
                                 : QRectF(r.right() - 2, r.top(), 2, r.height());
    p.fillRect(endA, Tin);
    p.fillRect(endB, Tin);
}

void PartPainter::electrolytic(QPointF c, double radius)
{
    QPainterPath body;
    body.addEllipse(c, radius, radius);
    shadow(body);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 24, 40));
    p.drawEllipse(c, radius, radius);
    // The minus stripe of the sleeve.
    p.setBrush(QColor(140, 150, 170));
    p.drawPie(QRectF(c.x() - radius, c.y() - radius, 2 * radius, 2 * radius), 200 * 16, 50 * 16);
    QRadialGradient top(c - QPointF(radius * 0.35, radius * 0.35), radius);
    top.setColorAt(0, QColor(236, 238, 240));
    top.setColorAt(1, QColor(140, 144, 150));
    p.setBrush(top);
    p.drawEllipse(c, radius * 0.82, radius * 0.82);
    p.setPen(QPen(QColor(110, 112, 118), 1));
    p.drawLine(c - QPointF(radius * 0.5, 0), c + QPointF(radius * 0.5, 0));
    p.drawLine(c - QPointF(0, radius * 0.5), c + QPointF(0, radius * 0.5));
}

void PartPainter::oscillator(QRectF body)
{
    shadow(body, 4);
    QLinearGradient g(body.topLeft(), body.bottomRight());
    g.setColorAt(0, QColor(238, 238, 234));
    g.setColorAt(0.5, QColor(186, 188, 184));
    g.setColorAt(1, QColor(130, 132, 130));
    p.setPen(QPen(QColor(110, 110, 108), 0.8));
    p.setBrush(g);
    p.drawRoundedRect(body, 4, 4);
    p.setPen(QPen(QColor(160, 160, 156), 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(body.adjusted(3, 3, -3, -3), 3, 3);
    CentredText(p, body.center() - QPointF(0, 5), QStringLiteral("18.432"), SilkFont(9),
                QColor(60, 60, 64));
    CentredText(p, body.center() + QPointF(0, 6), QStringLiteral("MHz"), SilkFont(8, false),
                QColor(60, 60, 64));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 60, 64));
    p.drawEllipse(QPointF(body.left() + 6, body.top() + 6), 1.2, 1.2);
}

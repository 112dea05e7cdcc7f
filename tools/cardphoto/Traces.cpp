#include "Traces.h"

#include "CardLayout.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// Cuts the corners of a polyline at 45 degrees, as PCB traces are drawn.
QPolygonF chamfered(const QPolygonF& pts, double cut)
{
    if (pts.size() < 3)
        return pts;
    QPolygonF out;
    out << pts.first();
    for (int i = 1; i + 1 < pts.size(); ++i) {
        const QLineF in(pts[i], pts[i - 1]);
        const QLineF on(pts[i], pts[i + 1]);
        const double c = std::min({cut, in.length() / 2, on.length() / 2});
        if (c <= 0.01)
            out << pts[i];
        else
            out << in.pointAt(c / in.length()) << on.pointAt(c / on.length());
    }
    out << pts.last();
    return out;
}

QPointF transposed(QPointF q)
{
    return {q.y(), q.x()};
}

} // namespace

void Trace(QPainter& p, const QPolygonF& points, double width)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(CardLayout::Copper, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(chamfered(points, 3));
}

void Bus(QPainter& p, QVector<QLineF> links, double laneStart, double laneStep, bool verticalFirst)
{
    // Work as if every trace ran left to right and left horizontally.
    for (QLineF& l : links) {
        if (verticalFirst)
            l = QLineF(transposed(l.p1()), transposed(l.p2()));
        if (l.p1().x() > l.p2().x())
            l = QLineF(l.p2(), l.p1());
    }
    std::sort(links.begin(), links.end(),
              [](const QLineF& a, const QLineF& b) { return a.p1().y() < b.p1().y(); });
    QVector<QLineF> down, up;
    for (const QLineF& l : links)
        (l.p2().y() > l.p1().y() + 0.5 ? down : up).append(l);
    auto draw = [&](const QLineF& l, double lane) {
        QPolygonF pts;
        if (std::abs(l.p2().y() - l.p1().y()) <= 0.5)
            pts << l.p1() << QPointF(l.p2().x(), l.p1().y());
        else
            pts << l.p1() << QPointF(lane, l.p1().y()) << QPointF(lane, l.p2().y()) << l.p2();
        if (verticalFirst)
            for (QPointF& q : pts)
                q = transposed(q);
        Trace(p, pts);
    };
    // Going down the lowest trace turns first, going up the highest.
    for (int i = 0; i < down.size(); ++i)
        draw(down[i], laneStart + laneStep * (down.size() - 1 - i));
    for (int i = 0; i < up.size(); ++i)
        draw(up[i], laneStart + laneStep * i);
}

void Via(QPainter& p, QPointF c)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 170, 120));
    p.drawEllipse(c, 3.2, 3.2);
    p.setBrush(QColor(20, 36, 26));
    p.drawEllipse(c, 1.4, 1.4);
}

#pragma once

#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <QStringList>

// Draws the parts of the card: packages, connectors and the jumper row. Each
// part adds its footprint to a path from which the soft shadows are made.
class PartPainter
{
public:
    PartPainter(QPainter& painter, QPainterPath& shadows);

    void plcc(QRectF body, int leadsPerSide, double reach, const QStringList& marking,
              int textSize);
    void soic(QRectF body, int leadsPerSide, const QString& marking);
    void chipCap(QPointF centre, bool vertical);
    void electrolytic(QPointF centre, double radius);
    void oscillator(QRectF body);
    void serialConnector();
    void jumperRow();
    void stackConnector(QRectF body, int rows);

private:
    void pin(QPointF centre, double size);
    void socket(QPointF centre, double size);
    void shadow(const QRectF& r, double radius = 1.5);
    void shadow(const QPainterPath& path);

    QPainter& p;
    QPainterPath& m_shadows;
};

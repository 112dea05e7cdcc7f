#pragma once

#include <QLineF>
#include <QPolygonF>
#include <QVector>

class QPainter;

// Copper traces under the solder mask.
void Trace(QPainter& p, const QPolygonF& points, double width = 2.2);

// A bundle of traces between two columns of points: each leaves and enters
// horizontally (vertically when verticalFirst) and runs across in a lane of
// its own, laneStart + k * laneStep. The lanes are ordered so that no two
// traces of the bundle cross.
void Bus(QPainter& p, QVector<QLineF> links, double laneStart, double laneStep,
         bool verticalFirst = false);

void Via(QPainter& p, QPointF centre);

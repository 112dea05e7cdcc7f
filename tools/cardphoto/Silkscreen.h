#pragma once

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QString>

class QPainter;

// The lettering on the card: a condensed sans, as screen-printed legends are.
QFont SilkFont(int pixelSize, bool bold = true);
void CentredText(QPainter& p, QPointF centre, const QString& text, const QFont& font,
                 const QColor& colour);

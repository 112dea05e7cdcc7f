#include "Silkscreen.h"

#include <QPainter>

QFont SilkFont(int pixelSize, bool bold)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setStretch(QFont::Condensed);
    f.setBold(bold);
    f.setPixelSize(pixelSize);
    return f;
}

void CentredText(QPainter& p, QPointF centre, const QString& text, const QFont& font,
                 const QColor& colour)
{
    p.setFont(font);
    p.setPen(colour);
    p.drawText(QRectF(centre.x() - 100, centre.y() - 50, 200, 100), Qt::AlignCenter, text);
}

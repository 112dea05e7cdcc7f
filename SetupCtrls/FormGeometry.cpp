#include "FormGeometry.h"

#include <QWidget>
#include <algorithm>
#include <cmath>

TFitResult FitToBounds(const QList<QRect>& children)
{
    if (children.isEmpty())
        return {QPoint(0, 0), QSize(0, 0)};
    int left = children.first().x();
    int top = children.first().y();
    int right = left + children.first().width();
    int bottom = top + children.first().height();
    for (const QRect& r : children) {
        left = std::min(left, r.x());
        top = std::min(top, r.y());
        right = std::max(right, r.x() + r.width());
        bottom = std::max(bottom, r.y() + r.height());
    }
    return {QPoint(-left, -top), QSize(right - left, bottom - top)};
}

void FitToContents(QWidget* window)
{
    QList<QWidget*> children;
    QList<QRect> bounds;
    for (QObject* o : window->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || w->isWindow() || !w->isVisibleTo(window))
            continue;
        children.append(w);
        bounds.append(w->geometry());
    }
    const TFitResult fit = FitToBounds(bounds);
    for (QWidget* w : children)
        w->move(w->pos() + fit.shift);
    if (!children.isEmpty())
        window->resize(fit.client);
}

double HelpWindowScale(QSize screen)
{
    const double s = std::min(screen.height() / 450.0, screen.width() / 800.0);
    return s < 1.0 ? 1.0 : s;
}

QSize ScaleHelpClient(QSize client, QSize screen)
{
    const double s = HelpWindowScale(screen);
    // std::nearbyint rounds in the current mode, which is to-nearest-even.
    return QSize(int(std::nearbyint(client.width() * s)), int(std::nearbyint(client.height() * s)));
}

#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// Fitting a window to its child controls: the bounding box of the children
// (left and top edges inclusive, right = left + width, bottom = top + height)
// moves to the client area's origin and becomes the client size.
struct TFitResult
{
    QPoint shift; // added to every child's position
    QSize client; // the new client size
};
TFitResult FitToBounds(const QList<QRect>& children);

// Applies FitToBounds to the children of window that would be visible with it.
void FitToContents(QWidget* window);

// Screen scaling of the help window: s = min(screen height / 450, screen width
// / 800), at least 1; each side scaled and rounded to the nearest integer,
// halves to the even neighbour.
double HelpWindowScale(QSize screen);
QSize ScaleHelpClient(QSize client, QSize screen);

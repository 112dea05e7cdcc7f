#include "TColor.h"

#include <QGuiApplication>
#include <QPalette>

QColor ColorToQColor(TColor c)
{
    if (!IsSystemColor(c))
        return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
    const QPalette pal = QGuiApplication::palette();
    switch (c) {
    case clWindow:
        return pal.color(QPalette::Base);
    case clWindowText:
        return pal.color(QPalette::Text);
    case clBtnFace:
    default:
        return pal.color(QPalette::Button);
    }
}

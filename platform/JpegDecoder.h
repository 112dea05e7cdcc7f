#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Decodes a JPEG held in memory. On failure returns a null image and, when
// error is given, a message saying why.
QImage DecodeJpeg(const QByteArray& data, QString* error = nullptr);

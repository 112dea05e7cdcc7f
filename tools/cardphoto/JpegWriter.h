#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Encodes an image as a progressive baseline-precision JPEG: 8 bits per
// sample, YCbCr with the luminance sampled at twice the chrominance in both
// directions (2x2 / 1x1 / 1x1), a JFIF 1.01 header. Returns an empty array and
// sets error when libjpeg refuses.
QByteArray EncodeProgressiveJpeg(const QImage& image, int quality, QString* error);

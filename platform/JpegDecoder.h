#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// What the header of a JPEG says about the image.
struct JpegInfo
{
    int width = 0;
    int height = 0;
    int components = 0;
    int precision = 0; // bits per sample
    bool progressive = false;
    bool jfif = false;   // a JFIF marker was seen
    int jfifVersion = 0; // major * 100 + minor: 101 for JFIF 1.01
    QString sampling;    // per component, e.g. "2x2 1x1 1x1"
};

// Decodes a JPEG held in memory into a QImage::Format_RGB32 image, through
// libjpeg. On failure returns a null image and, when error is given, a message
// saying why. Damaged data is a failure: a truncated or corrupt image is not
// handed back half decoded, and images with more than MaxJpegScans scans or
// more than MaxJpegPixels pixels are refused. When info is given it is filled
// in as soon as the header has been read, also if decoding fails later.
QImage DecodeJpeg(const QByteArray& data, QString* error = nullptr, JpegInfo* info = nullptr);

constexpr int MaxJpegScans = 500;
constexpr long long MaxJpegPixels = 16LL * 1024 * 1024;

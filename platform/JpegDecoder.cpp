#include "JpegDecoder.h"

QImage DecodeJpeg(const QByteArray& data, QString* error)
{
    QImage img = QImage::fromData(data, "JPEG");
    if (img.isNull() && error)
        *error = QStringLiteral("Not a JPEG image");
    return img.convertToFormat(QImage::Format_RGB32);
}

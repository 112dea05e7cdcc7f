// JPEG decoding of untrusted bytes: DecodeJpeg either returns an image of
// positive size, as large as its header says and within the pixel limit, in
// the 32-bit RGB format the board image draws, or a null image with a message
// saying why; it never crashes, overruns or hangs.

#include "JpegDecoder.h"

#include <QCoreApplication>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // Image plug-ins are found through the application object's library paths.
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QString error;
    JpegInfo info;
    const QImage image = DecodeJpeg(bytes, &error, &info);
    if (image.isNull()) {
        if (error.isEmpty()) {
            std::fprintf(stderr, "jpeg: failure without a message\n");
            std::abort();
        }
        return 0;
    }
    if (image.width() <= 0 || image.height() <= 0 || image.format() != QImage::Format_RGB32 ||
        image.width() != info.width || image.height() != info.height ||
        qint64(image.width()) * image.height() > MaxJpegPixels) {
        std::fprintf(stderr, "jpeg: image %dx%d in format %d\n", image.width(), image.height(),
                     int(image.format()));
        std::abort();
    }
    // Touch every pixel, so a short or misdescribed buffer shows under ASan.
    std::uint32_t sum = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            sum += line[x];
    }
    return int(sum & 0);
}

#include "JpegDecoder.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

#ifndef JCS_EXTENSIONS
#error "libjpeg-turbo's extended colour spaces are needed (JCS_EXT_BGRX)"
#endif

namespace {

// One decoding run. It lives in the caller's frame, so nothing that a longjmp
// out of libjpeg skips over owns resources.
struct Decoder
{
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr err;
    jpeg_progress_mgr progress;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool headerRead;
    JpegInfo info;
    QImage image;
};

Decoder& decoderOf(j_common_ptr cinfo)
{
    return *static_cast<Decoder*>(cinfo->client_data);
}

[[noreturn]] void fail(j_common_ptr cinfo)
{
    std::longjmp(decoderOf(cinfo).jump, 1);
}

// libjpeg's fatal errors leave through here, never as C++ exceptions.
[[noreturn]] void errorExit(j_common_ptr cinfo)
{
    (*cinfo->err->format_message)(cinfo, decoderOf(cinfo).message);
    fail(cinfo);
}

// A warning means damaged data (a premature end of the data, a bad Huffman
// code, ...) from which libjpeg would go on and hand back a partly grey
// image. Here every warning ends the decoding. Trace messages are dropped.
void emitMessage(j_common_ptr cinfo, int level)
{
    if (level < 0)
        errorExit(cinfo);
}

void outputMessage(j_common_ptr) {}

// A progressive image may have any number of scans, each of which costs a
// pass over the coefficients; a crafted file with many thousands of tiny
// scans would keep the decoder busy for a very long time.
void limitScans(j_common_ptr cinfo)
{
    auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (d->input_scan_number > MaxJpegScans) {
        std::snprintf(decoderOf(cinfo).message, JMSG_LENGTH_MAX, "The image has more than %d scans",
                      MaxJpegScans);
        fail(cinfo);
    }
}

void readInfo(const jpeg_decompress_struct& c, JpegInfo& info)
{
    info.width = int(c.image_width);
    info.height = int(c.image_height);
    info.components = c.num_components;
    info.precision = c.data_precision;
    info.progressive = c.progressive_mode;
    info.jfif = c.saw_JFIF_marker;
    info.jfifVersion = c.saw_JFIF_marker ? c.JFIF_major_version * 100 + c.JFIF_minor_version : 0;
    QStringList factors;
    for (int i = 0; i < c.num_components; ++i)
        factors << QStringLiteral("%1x%2")
                       .arg(c.comp_info[i].h_samp_factor)
                       .arg(c.comp_info[i].v_samp_factor);
    info.sampling = factors.join(QLatin1Char(' '));
}

// All libjpeg calls happen here. This function keeps no C++ object of its own
// across them, so a longjmp out of libjpeg skips no destructor; everything it
// changes lives in d. (readInfo builds its strings and returns before the next
// libjpeg call.)
bool decode(Decoder& d, const QByteArray& data)
{
    d.cinfo.err = jpeg_std_error(&d.err);
    d.err.error_exit = errorExit;
    d.err.emit_message = emitMessage;
    d.err.output_message = outputMessage;
    d.cinfo.client_data = &d;
    if (setjmp(d.jump)) {
        jpeg_destroy_decompress(&d.cinfo);
        return false;
    }
    jpeg_create_decompress(&d.cinfo);
    d.cinfo.client_data = &d; // jpeg_create_decompress clears it
    d.progress.progress_monitor = limitScans;
    d.cinfo.progress = &d.progress;
    jpeg_mem_src(&d.cinfo, reinterpret_cast<const unsigned char*>(data.constData()),
                 static_cast<unsigned long>(data.size()));
    jpeg_read_header(&d.cinfo, TRUE);
    readInfo(d.cinfo, d.info);
    d.headerRead = true;

    if (static_cast<long long>(d.cinfo.image_width) * d.cinfo.image_height > MaxJpegPixels) {
        std::snprintf(d.message, JMSG_LENGTH_MAX, "The image is too large (%ux%u pixels)",
                      d.cinfo.image_width, d.cinfo.image_height);
        fail(reinterpret_cast<j_common_ptr>(&d.cinfo));
    }
    // Decoded straight into the image's rows: these orders give the bytes of
    // QImage::Format_RGB32, with the fourth byte set to 0xFF.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    d.cinfo.out_color_space = JCS_EXT_BGRX;
#else
    d.cinfo.out_color_space = JCS_EXT_XRGB;
#endif
    jpeg_start_decompress(&d.cinfo);
    d.image = QImage(int(d.cinfo.output_width), int(d.cinfo.output_height), QImage::Format_RGB32);
    if (d.image.isNull()) {
        std::snprintf(d.message, JMSG_LENGTH_MAX, "Not enough memory for the image");
        fail(reinterpret_cast<j_common_ptr>(&d.cinfo));
    }
    while (d.cinfo.output_scanline < d.cinfo.output_height) {
        JSAMPROW row = d.image.scanLine(int(d.cinfo.output_scanline));
        if (jpeg_read_scanlines(&d.cinfo, &row, 1) != 1) {
            std::snprintf(d.message, JMSG_LENGTH_MAX, "The image data ended early");
            fail(reinterpret_cast<j_common_ptr>(&d.cinfo));
        }
    }
    jpeg_finish_decompress(&d.cinfo);
    jpeg_destroy_decompress(&d.cinfo);
    return true;
}

} // namespace

QImage DecodeJpeg(const QByteArray& data, QString* error, JpegInfo* info)
{
    if (info)
        *info = JpegInfo();
    if (data.isEmpty()) {
        if (error)
            *error = QStringLiteral("Cannot decode the JPEG image: there is no data");
        return QImage();
    }
    Decoder d{};
    const bool ok = decode(d, data);
    if (info && d.headerRead)
        *info = d.info;
    if (!ok) {
        if (error)
            *error =
                QStringLiteral("Cannot decode the JPEG image: ") + QString::fromLatin1(d.message);
        return QImage();
    }
    if (error)
        error->clear();
    return d.image;
}

#include "JpegWriter.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace {

struct ErrorManager
{
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void errorExit(j_common_ptr cinfo)
{
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

struct Encoder
{
    jpeg_compress_struct cinfo;
    ErrorManager err;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
};

// All libjpeg calls live here, in a function without C++ objects of its own,
// so a longjmp out of libjpeg skips no destructor.
bool encode(Encoder& e, const std::vector<unsigned char>& rgb, int width, int height, int quality)
{
    e.cinfo.err = jpeg_std_error(&e.err.pub);
    e.err.pub.error_exit = errorExit;
    if (setjmp(e.err.jump)) {
        jpeg_destroy_compress(&e.cinfo);
        return false;
    }
    jpeg_create_compress(&e.cinfo);
    jpeg_mem_dest(&e.cinfo, &e.buffer, &e.size);
    e.cinfo.image_width = JDIMENSION(width);
    e.cinfo.image_height = JDIMENSION(height);
    e.cinfo.input_components = 3;
    e.cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&e.cinfo);
    jpeg_set_colorspace(&e.cinfo, JCS_YCbCr);
    jpeg_set_quality(&e.cinfo, quality, TRUE);
    e.cinfo.comp_info[0].h_samp_factor = 2;
    e.cinfo.comp_info[0].v_samp_factor = 2;
    for (int c = 1; c < 3; ++c) {
        e.cinfo.comp_info[c].h_samp_factor = 1;
        e.cinfo.comp_info[c].v_samp_factor = 1;
    }
    e.cinfo.write_JFIF_header = TRUE;
    e.cinfo.JFIF_major_version = 1;
    e.cinfo.JFIF_minor_version = 1;
    e.cinfo.density_unit = 1; // dots per inch
    e.cinfo.X_density = 96;
    e.cinfo.Y_density = 96;
    e.cinfo.optimize_coding = TRUE;
    jpeg_simple_progression(&e.cinfo);
    jpeg_start_compress(&e.cinfo, TRUE);
    while (e.cinfo.next_scanline < e.cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(&rgb[size_t(e.cinfo.next_scanline) * width * 3]);
        jpeg_write_scanlines(&e.cinfo, &row, 1);
    }
    jpeg_finish_compress(&e.cinfo);
    jpeg_destroy_compress(&e.cinfo);
    return true;
}

} // namespace

QByteArray EncodeProgressiveJpeg(const QImage& image, int quality, QString* error)
{
    const QImage src = image.convertToFormat(QImage::Format_RGB888);
    std::vector<unsigned char> rgb(size_t(src.width()) * src.height() * 3);
    for (int y = 0; y < src.height(); ++y)
        std::copy_n(src.constScanLine(y), size_t(src.width()) * 3,
                    &rgb[size_t(y) * src.width() * 3]);

    Encoder e;
    const bool ok = encode(e, rgb, src.width(), src.height(), quality);
    QByteArray out;
    if (ok)
        out = QByteArray(reinterpret_cast<const char*>(e.buffer), qsizetype(e.size));
    else if (error)
        *error = QString::fromLocal8Bit(e.err.message);
    std::free(e.buffer);
    return out;
}

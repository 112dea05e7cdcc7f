#include "JpegDecoder.h"

#include <QFile>
#include <QTest>

#include <csetjmp>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

class TestJpeg : public QObject
{
    Q_OBJECT
private slots:
    void embeddedPhotograph();
    void colourOrder();
    void truncated_data();
    void truncated();
    void damaged_data();
    void damaged();
    void tooManyScans();
    void emptyInput();
};

namespace {

QByteArray photograph()
{
    QFile f(QStringLiteral(":/card.jpg"));
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

// Offset of the first byte after marker FF xx, or -1.
qsizetype markerEnd(const QByteArray& jpeg, unsigned char marker)
{
    const qsizetype at = jpeg.indexOf(QByteArray("\xFF") + char(marker));
    return at < 0 ? -1 : at + 2;
}

// Test fixtures, encoded with libjpeg: left half red, right half blue, and
// optionally with a progression of more scans than the decoder accepts.
struct Encoder
{
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    std::jmp_buf jump;
    unsigned char* buffer;
    unsigned long size;
};

[[noreturn]] void encoderError(j_common_ptr cinfo)
{
    std::longjmp(static_cast<Encoder*>(cinfo->client_data)->jump, 1);
}

bool encode(Encoder& e, const std::vector<unsigned char>& rgb, int w, int h,
            const std::vector<jpeg_scan_info>& script)
{
    e.cinfo.err = jpeg_std_error(&e.err);
    e.err.error_exit = encoderError;
    if (setjmp(e.jump)) {
        jpeg_destroy_compress(&e.cinfo);
        return false;
    }
    jpeg_create_compress(&e.cinfo);
    e.cinfo.client_data = &e;
    jpeg_mem_dest(&e.cinfo, &e.buffer, &e.size);
    e.cinfo.image_width = JDIMENSION(w);
    e.cinfo.image_height = JDIMENSION(h);
    e.cinfo.input_components = 3;
    e.cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&e.cinfo);
    jpeg_set_quality(&e.cinfo, 95, TRUE);
    if (!script.empty()) {
        e.cinfo.scan_info = script.data();
        e.cinfo.num_scans = int(script.size());
    }
    jpeg_start_compress(&e.cinfo, TRUE);
    while (e.cinfo.next_scanline < e.cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(&rgb[size_t(e.cinfo.next_scanline) * w * 3]);
        jpeg_write_scanlines(&e.cinfo, &row, 1);
    }
    jpeg_finish_compress(&e.cinfo);
    jpeg_destroy_compress(&e.cinfo);
    return true;
}

QByteArray redBlueJpeg(const std::vector<jpeg_scan_info>& script = {})
{
    const int w = 32, h = 16;
    std::vector<unsigned char> rgb(size_t(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            unsigned char* px = &rgb[(size_t(y) * w + x) * 3];
            px[0] = x < w / 2 ? 255 : 0;
            px[2] = x < w / 2 ? 0 : 255;
        }
    Encoder e{};
    QByteArray out;
    if (encode(e, rgb, w, h, script))
        out = QByteArray(reinterpret_cast<const char*>(e.buffer), qsizetype(e.size));
    std::free(e.buffer);
    return out;
}

// A valid progression of 1 + 3 * 63 * 3 = 568 scans: every AC coefficient of
// every component on its own, sent in three successive-approximation steps.
std::vector<jpeg_scan_info> manyScans()
{
    std::vector<jpeg_scan_info> script;
    script.push_back({3, {0, 1, 2, 0}, 0, 0, 0, 0});
    for (int c = 0; c < 3; ++c)
        for (int k = 1; k < 64; ++k) {
            script.push_back({1, {c, 0, 0, 0}, k, k, 0, 2});
            script.push_back({1, {c, 0, 0, 0}, k, k, 2, 1});
            script.push_back({1, {c, 0, 0, 0}, k, k, 1, 0});
        }
    return script;
}

} // namespace

// The program's photograph must decode through our libjpeg path into the
// picture the board image is laid out for: 600 x 618, progressive, RGB32.
void TestJpeg::embeddedPhotograph()
{
    const QByteArray jpeg = photograph();
    QVERIFY(!jpeg.isEmpty());
    QString error = QStringLiteral("stale");
    JpegInfo info;
    const QImage img = DecodeJpeg(jpeg, &error, &info);
    QVERIFY2(!img.isNull(), qPrintable(error));
    QVERIFY(error.isEmpty());
    QCOMPARE(img.size(), QSize(600, 618));
    QCOMPARE(img.format(), QImage::Format_RGB32);
    QCOMPARE(info.width, 600);
    QCOMPARE(info.height, 618);
    QVERIFY(info.progressive);
    QCOMPARE(info.components, 3);
    QCOMPARE(info.precision, 8);
    QVERIFY(info.jfif);
    QCOMPARE(info.jfifVersion, 101);
    QCOMPARE(info.sampling, QStringLiteral("2x2 1x1 1x1"));
    // RGB32 needs an opaque fourth byte everywhere.
    for (int y = 0; y < img.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if (qAlpha(row[x]) != 0xFF)
                QFAIL(qPrintable(QStringLiteral("alpha not 0xFF at %1,%2").arg(x).arg(y)));
    }
}

// Swapped channels (RGB written where RGB32 wants BGRX) would turn red to blue.
void TestJpeg::colourOrder()
{
    const QByteArray jpeg = redBlueJpeg();
    QVERIFY(!jpeg.isEmpty());
    QString error;
    const QImage img = DecodeJpeg(jpeg, &error);
    QVERIFY2(!img.isNull(), qPrintable(error));
    const QRgb left = img.pixel(4, 8), right = img.pixel(28, 8);
    QVERIFY2(qRed(left) > 220 && qBlue(left) < 40, qPrintable(QString::number(left, 16)));
    QVERIFY2(qBlue(right) > 220 && qRed(right) < 40, qPrintable(QString::number(right, 16)));
}

// libjpeg only warns at a premature end and fills the rest with grey; that
// half picture must not pass for the photograph.
void TestJpeg::truncated_data()
{
    QTest::addColumn<int>("keep"); // bytes kept; negative: bytes cut off the end
    QTest::newRow("inside the header") << 100;
    QTest::newRow("after the first scan header") << int(markerEnd(photograph(), 0xDA) + 20);
    QTest::newRow("half the file") << int(photograph().size() / 2);
    QTest::newRow("last scan cut short") << -40;
    QTest::newRow("end marker missing") << -2;
}

void TestJpeg::truncated()
{
    QFETCH(int, keep);
    const QByteArray full = photograph();
    const QByteArray cut = full.left(keep >= 0 ? keep : full.size() + keep);
    QVERIFY(cut.size() < full.size());
    QString error;
    JpegInfo info;
    const QImage img = DecodeJpeg(cut, &error, &info);
    QVERIFY(img.isNull());
    QVERIFY2(error.startsWith(QLatin1String("Cannot decode the JPEG image: ")), qPrintable(error));
    QVERIFY2(error.contains(QLatin1String("Premature end")), qPrintable(error));
}

// Damaged bytes anywhere must end in an image or a message, never in a
// crash, a hang or an exception; a damaged size is refused before anything
// is allocated for it.
void TestJpeg::damaged_data()
{
    const QByteArray full = photograph();
    const qsizetype sof = markerEnd(full, 0xC2);
    const qsizetype dht = markerEnd(full, 0xC4);
    const qsizetype sos = markerEnd(full, 0xDA);
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("mustFail");
    QTest::addColumn<QString>("message"); // part of the error, where it is known
    auto flipped = [&](qsizetype at, char mask) {
        QByteArray d = full;
        d[at] = char(d[at] ^ mask);
        return d;
    };
    auto set = [&](qsizetype at, const QByteArray& bytes) {
        QByteArray d = full;
        d.replace(at, bytes.size(), bytes);
        return d;
    };
    const QString any;
    QTest::newRow("not a JPEG at all")
        << QByteArray("GIF89a, a different picture") << true << QStringLiteral("Not a JPEG file");
    QTest::newRow("start marker") << flipped(1, 0x10) << true << any;
    QTest::newRow("precision") << flipped(sof + 2, 0x04) << true << any;
    QTest::newRow("height 0") << set(sof + 3, QByteArray(2, '\0')) << true << any;
    QTest::newRow("16384 x 16384") << set(sof + 3, QByteArray("\x40\x00\x40\x00", 4)) << true
                                   << QStringLiteral("The image is too large (16384x16384 pixels)");
    QTest::newRow("component count") << flipped(sof + 7, 0x0F) << true << any;
    QTest::newRow("sampling factors") << flipped(sof + 9, 0x77) << true << any;
    QTest::newRow("Huffman table") << flipped(dht + 6, 0x55) << false << any;
    QTest::newRow("scan header") << flipped(sos + 2, 0x03) << false << any;
    QTest::newRow("first scan data") << flipped(sos + 40, char(0xFF)) << false << any;
    for (int k = 1; k <= 6; ++k)
        QTest::newRow(qPrintable(QStringLiteral("data at %1/7").arg(k)))
            << flipped(full.size() * k / 7, char(0x5A)) << false << any;
    QTest::newRow("garbage in the data")
        << set(full.size() / 2, QByteArray(64, '\xFF') + QByteArray("\xD8\xD9", 2)) << false << any;
}

void TestJpeg::damaged()
{
    QFETCH(QByteArray, data);
    QFETCH(bool, mustFail);
    QFETCH(QString, message);
    QString error;
    QImage img;
    try {
        img = DecodeJpeg(data, &error);
    } catch (...) {
        QFAIL("an exception left the decoder");
    }
    if (img.isNull()) {
        QVERIFY2(error.startsWith(QLatin1String("Cannot decode the JPEG image: ")) &&
                     error.size() > 30,
                 qPrintable(error));
        QVERIFY2(error.contains(message), qPrintable(error));
    } else {
        QVERIFY2(!mustFail, "damaged data decoded as if sound");
        QVERIFY(error.isEmpty());
        QCOMPARE(img.size(), QSize(600, 618));
    }
}

// A progression with hundreds of scans must be refused instead of decoded
// scan after scan; the same picture with an ordinary progression decodes.
void TestJpeg::tooManyScans()
{
    const QByteArray many = redBlueJpeg(manyScans());
    QVERIFY(!many.isEmpty());
    QString error;
    JpegInfo info;
    QVERIFY(DecodeJpeg(many, &error, &info).isNull());
    QVERIFY(info.progressive);
    QCOMPARE(error, QStringLiteral("Cannot decode the JPEG image: The image has more than 500 "
                                   "scans"));

    std::vector<jpeg_scan_info> few{manyScans().front()};
    for (int c = 0; c < 3; ++c)
        few.push_back({1, {c, 0, 0, 0}, 1, 63, 0, 0});
    const QImage ok = DecodeJpeg(redBlueJpeg(few), &error);
    QVERIFY2(!ok.isNull(), qPrintable(error));
    QCOMPARE(ok.size(), QSize(32, 16));
}

// No data is a failure with a message, not a libjpeg abort.
void TestJpeg::emptyInput()
{
    QString error;
    JpegInfo info;
    info.width = 7;
    QVERIFY(DecodeJpeg(QByteArray(), &error, &info).isNull());
    QVERIFY(error.startsWith(QLatin1String("Cannot decode the JPEG image: ")));
    QCOMPARE(info.width, 0);
}

QTEST_GUILESS_MAIN(TestJpeg)
#include "tst_jpeg.moc"

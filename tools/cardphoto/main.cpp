// Draws the card photograph and writes it as a progressive JPEG.
//
//   card-photo OUTPUT.jpg [--quality N] [--preview PREVIEW.png]
//
// The preview shows the picture as the setup window stretches it into its
// 400 x 400 board image, with the highlight rectangles outlined, so one can
// check that each falls on its part of the card.
#include "CardPainter.h"
#include "JpegWriter.h"

#include <QFile>
#include <QGuiApplication>
#include <QPainter>

#include <cstdio>

namespace {

struct Highlight
{
    const char* name;
    QRect rect; // in the 400 x 400 board image
};

const Highlight kHighlights[] = {
    {"Base", {32, 304, 49, 21}}, {"Clock", {95, 304, 13, 21}},    {"COM", {5, 64, 44, 217}},
    {"DF", {82, 304, 13, 21}},   {"COMBase", {156, 178, 84, 84}},
};

QImage preview(const QImage& photo)
{
    QImage view = photo.scaled(400, 400, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QImage big = view.scaled(800, 800, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    QPainter p(&big);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(2, 2);
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 5));
    for (const Highlight& h : kHighlights) {
        p.setPen(QPen(Qt::red, 0.5));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(h.rect).adjusted(0.25, 0.25, -0.25, -0.25));
        p.setPen(QPen(Qt::yellow, 0.5, Qt::DotLine));
        p.drawEllipse(QRectF(h.rect));
        p.setPen(Qt::cyan);
        p.drawText(QPointF(h.rect.left(), h.rect.top() - 1), QLatin1String(h.name));
    }
    return big;
}

int fail(const QString& message)
{
    std::fprintf(stderr, "card-photo: %s\n", qPrintable(message));
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    // Nothing is shown: the drawing needs fonts, not a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QString output, previewPath;
    int quality = 90;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--preview") && i + 1 < args.size())
            previewPath = args[++i];
        else if (args[i] == QLatin1String("--quality") && i + 1 < args.size())
            quality = args[++i].toInt();
        else if (output.isEmpty() && !args[i].startsWith(QLatin1Char('-')))
            output = args[i];
        else
            return fail(QStringLiteral("usage: card-photo OUTPUT.jpg [--quality N] "
                                       "[--preview PREVIEW.png]"));
    }
    if (output.isEmpty())
        return fail(QStringLiteral("no output file given"));
    if (quality < 1 || quality > 100)
        return fail(QStringLiteral("quality must be 1 to 100"));

    CardPainter painter;
    const QImage photo = painter.Render();
    QString error;
    const QByteArray jpeg = EncodeProgressiveJpeg(photo, quality, &error);
    if (jpeg.isEmpty())
        return fail(QStringLiteral("encoding failed: ") + error);
    QFile file(output);
    if (!file.open(QIODevice::WriteOnly) || file.write(jpeg) != jpeg.size() || !file.flush())
        return fail(QStringLiteral("cannot write %1: %2").arg(output, file.errorString()));
    std::printf("%s: %dx%d, %lld bytes\n", qPrintable(output), photo.width(), photo.height(),
                static_cast<long long>(jpeg.size()));

    if (!previewPath.isEmpty() && !preview(photo).save(previewPath, "PNG"))
        return fail(QStringLiteral("cannot write ") + previewPath);
    return 0;
}

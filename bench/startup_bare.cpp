// The baseline for the start-up figures: a bare Qt program that shows one
// maximised window with the card photograph, decoded from the same embedded
// JPEG, scaled smoothly into a 400 x 400 image in the middle. Built twice:
// decoding with QImage (Qt's JPEG plugin) and with our DecodeJpeg (libjpeg).
//
// With the argument --text it also has a menu bar ("&File", "&Help") and one
// line of text in the setup window's font: what any window with text costs
// on top (the font database, glyphs), to tell that apart from the rest.
#include "StartupProbe.h"

#include <QApplication>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPixmap>
#include <QWidget>

#ifdef BARE_DECODEJPEG
#include "JpegDecoder.h"
#endif

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ReportStep("step_app");
    StartupProbe probe({{QStringLiteral("Photo"), QStringLiteral("first_paint")}});

    QFile file(QStringLiteral(":/bare/card.jpg"));
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    const QByteArray data = file.readAll();
#ifdef BARE_DECODEJPEG
    const QImage photo = DecodeJpeg(data);
#else
    const QImage photo = QImage::fromData(data, "JPG");
#endif
    if (photo.isNull())
        return 1;
    ReportStep("step_decoded");

    const bool withText = argc > 1 && qstrcmp(argv[1], "--text") == 0;
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare"));
    auto* layout = new QGridLayout(&window);
    if (withText) {
        QFont font(QStringLiteral("MS Sans Serif"));
        font.setPixelSize(11);
        window.setFont(font);
        auto* menu = new QMenuBar(&window);
        menu->addMenu(QStringLiteral("&File"))->addAction(QStringLiteral("&Exit"));
        menu->addMenu(QStringLiteral("&Help"));
        layout->setMenuBar(menu);
        layout->addWidget(new QLabel(QStringLiteral("QL-4S Settings Program"), &window), 1, 0,
                          Qt::AlignCenter);
    }
    auto* label = new QLabel(&window);
    label->setObjectName(QStringLiteral("Photo"));
    label->setFixedSize(400, 400);
    label->setPixmap(QPixmap::fromImage(
        photo.scaled(400, 400, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
    layout->addWidget(label, 0, 0, Qt::AlignCenter);
    ReportStep("step_form");
    window.showMaximized();
    ReportStep("step_shown");
    return app.exec();
}

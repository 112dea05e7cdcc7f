// Layout of the setup window itself: its properties, the board image with the
// card photograph, the main menu and the setup supporter.
#include "template.h"

#include "ErrorDisplay.h"
#include "JpegDecoder.h"
#include "SetupCtrls.h"

#include <QFile>
#include <QMenuBar>

void TMainForm::createWindowLayout()
{
    setWindowTitle(QStringLiteral("Setup"));
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    setFont(font);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);
    m_client->setAutoFillBackground(true);
    // Single fixed border: the user cannot resize the window by its frame.
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint, true);
    resize(804, 589);

    BoardImage1 = new TBoardImage(m_client);
    BoardImage1->setObjectName(QStringLiteral("BoardImage1"));
    BoardImage1->setGeometry(195, 133, 400, 400);
    BoardImage1->setMaximumSize(400, 400);
    BoardImage1->SetAutoSize(false);
    // The photograph is embedded; should it ever fail to decode, say why and
    // go on with an empty board image.
    QFile photo(QStringLiteral(":/card.jpg"));
    QString error = QStringLiteral("The card photograph is missing.");
    const QImage image =
        photo.open(QIODevice::ReadOnly) ? DecodeJpeg(photo.readAll(), &error) : QImage();
    if (image.isNull())
        ShowErrorMessage(error);
    else
        BoardImage1->SetPictureImage(image);
    BoardImage1->SetStretch(true);
}

void TMainForm::createMenuAndSupporter()
{
    MainMenu1 = menuBar();
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));

    File1 = MainMenu1->addMenu(QStringLiteral("&File"));
    File1->setObjectName(QStringLiteral("File1"));
    Exit2 = File1->addAction(QStringLiteral("&Exit"));
    Exit2->setObjectName(QStringLiteral("Exit2"));
    connect(Exit2, &QAction::triggered, this, [this] { Exit2Click(Exit2); });

    Help1 = MainMenu1->addMenu(QStringLiteral("&Help"));
    Help1->setObjectName(QStringLiteral("Help1"));
    Howtousethisprogram1 = Help1->addAction(QStringLiteral("H&ow to use this program"));
    Howtousethisprogram1->setObjectName(QStringLiteral("Howtousethisprogram1"));
    connect(Howtousethisprogram1, &QAction::triggered, this,
            [this] { Howtousethisprogram1Click(Howtousethisprogram1); });
    TechnicalSupport1 = Help1->addAction(QStringLiteral("&Technical Support"));
    TechnicalSupport1->setObjectName(QStringLiteral("TechnicalSupport1"));
    connect(TechnicalSupport1, &QAction::triggered, this,
            [this] { TechnicalSupport1Click(TechnicalSupport1); });

    SetSup = new TSetupSupporter(this);
    SetSup->setObjectName(QStringLiteral("SetSup"));
    SetSup->SetCompanyName(QStringLiteral("KELDO"));
    SetSup->SetCardNameA(QStringLiteral("QL-4S"));
    SetSup->SetCardNameB(QStringLiteral("QL-8S/M"));
    SetSup->SetCallHow(
        QStringLiteral("Monday to Friday, 8 a.m. to 5 p.m. Pacific Time, at (555) 555-0147"));
    SetSup->SetMultiPort(true);
}

#include "Application.h"
#include "TBoardImage.h"

#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>
#include <QTest>

#include <memory>

using Setter = void (TBoardImage::*)(bool);
using Getter = bool (TBoardImage::*)() const;
Q_DECLARE_METATYPE(Setter)
Q_DECLARE_METATYPE(Getter)

class TestBoardImage : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void defaults();
    void drawing_data();
    void drawing();
    void clearingThePicture();
    void autoSize();
    void autoSizeQuery_data();
    void autoSizeQuery();
    void settersRunTheHandlerOnlyOnChange_data();
    void settersRunTheHandlerOnlyOnChange();
    void centresOnParent_data();
    void centresOnParent();
};

namespace {

constexpr int kPhotoW = 600, kPhotoH = 618;
constexpr int kCellW = 200, kCellH = 206;

QColor cellColour(int col, int row)
{
    static const QColor colours[3][3] = {
        {QColor(220, 30, 30), QColor(30, 200, 30), QColor(30, 30, 220)},
        {QColor(230, 230, 30), QColor(30, 210, 210), QColor(210, 30, 210)},
        {QColor(20, 20, 20), QColor(240, 240, 240), QColor(240, 140, 20)},
    };
    return colours[row][col];
}

// A picture the size of the photograph, in nine coloured cells, so that a
// pixel tells which part of the picture landed there.
QImage gridPicture()
{
    QImage img(kPhotoW, kPhotoH, QImage::Format_RGB32);
    for (int y = 0; y < kPhotoH; ++y)
        for (int x = 0; x < kPhotoW; ++x)
            img.setPixel(x, y, cellColour(x / kCellW, y / kCellH).rgb());
    return img;
}

bool near(QColor a, QColor b)
{
    return std::abs(a.red() - b.red()) <= 8 && std::abs(a.green() - b.green()) <= 8 &&
           std::abs(a.blue() - b.blue()) <= 8;
}

QString describe(QPoint p, QColor got, QColor want)
{
    return QStringLiteral("at %1,%2: got %3, want %4")
        .arg(p.x())
        .arg(p.y())
        .arg(got.name(), want.name());
}

// Whether the window as it stands on the screen (its backing store, not a
// fresh rendering) shows the stretched grid picture all over the image.
bool screenShowsPicture(QWidget* window, const TBoardImage* img, QString* why)
{
    const QImage shot = window->screen()->grabWindow(window->winId()).toImage();
    const QPoint at = img->mapTo(window, QPoint(0, 0));
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col) {
            const QPoint p =
                at + QPoint(img->width() * (2 * col + 1) / 6, img->height() * (2 * row + 1) / 6);
            const QColor got = shot.pixelColor(p), want = cellColour(col, row);
            if (!near(got, want)) {
                *why = describe(p, got, want);
                return false;
            }
        }
    return true;
}

bool anyWindowVisible()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.cbegin(), windows.cend(), [](QWidget* w) { return w->isVisible(); });
}

} // namespace

void TestBoardImage::cleanup()
{
    QTRY_VERIFY(!anyWindowVisible());
}

// Later parts rely on the declared defaults (AutoSize on, 105 x 105, ...).
void TestBoardImage::defaults()
{
    TBoardImage img(nullptr);
    QCOMPARE(img.size(), QSize(105, 105));
    QCOMPARE(img.AspectRatio(), 1.0);
    QVERIFY(img.AutoSize());
    QVERIFY(img.Scale());
    QVERIFY(img.CenterOnForm());
    QVERIFY(!img.Stretch());
    QVERIFY(!img.Center());
    QVERIFY(!img.Transparent());
    QVERIFY(!img.Opaque());
    QVERIFY(!img.Picture().HasGraphic());
    QCOMPARE(img.First(), nullptr);
    QCOMPARE(img.Menu(), nullptr);
    QCOMPARE(img.PictureRect(), QRect(0, 0, 0, 0));
}

// The picture must land in PictureRect, scaled to it, with the panel colour
// where it does not reach; the opaque marking must hold exactly when the
// picture covers the image.
void TestBoardImage::drawing_data()
{
    QTest::addColumn<bool>("stretch");
    QTest::addColumn<bool>("center");
    QTest::addColumn<bool>("transparent");
    QTest::addColumn<int>("side");
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<bool>("opaque");
    const QRect all(0, 0, 400, 400);
    QTest::newRow("Stretch: 600 x 618 into 400 x 400")
        << true << false << false << 400 << all << true;
    QTest::newRow("Stretch and Center: Stretch wins")
        << true << true << false << 400 << all << true;
    QTest::newRow("Stretch, transparent graphic") << true << false << true << 400 << all << false;
    QTest::newRow("Center: cropped on all sides")
        << false << true << false << 400 << QRect(-100, -109, 600, 618) << true;
    QTest::newRow("Center in a larger image")
        << false << true << false << 700 << QRect(50, 41, 600, 618) << false;
    QTest::newRow("neither: top left, own size")
        << false << false << false << 400 << QRect(0, 0, 600, 618) << true;
    QTest::newRow("neither, larger image: panel colour beside")
        << false << false << false << 700 << QRect(0, 0, 600, 618) << false;
}

void TestBoardImage::drawing()
{
    QFETCH(bool, stretch);
    QFETCH(bool, center);
    QFETCH(bool, transparent);
    QFETCH(int, side);
    QFETCH(QRect, rect);
    QFETCH(bool, opaque);

    TBoardImage img(nullptr);
    img.SetAutoSize(false);
    img.resize(side, side);
    img.SetPictureImage(gridPicture());
    img.SetStretch(stretch);
    img.SetCenter(center);
    img.SetTransparent(transparent);
    QCOMPARE(img.PictureRect(), rect);
    QCOMPARE(img.Opaque(), opaque);
    QCOMPARE(img.testAttribute(Qt::WA_OpaquePaintEvent), opaque);
    QCOMPARE(img.Picture().Transparent(), transparent);

    const QImage shot = img.grab().toImage();
    QCOMPARE(shot.size(), QSize(side, side));
    const QColor panel = img.palette().color(QPalette::Button);
    int checked = 0;
    for (int y = 5; y < side; y += 10)
        for (int x = 5; x < side; x += 10) {
            QColor want = panel;
            if (rect.contains(x, y)) {
                const double px = (x + 0.5 - rect.left()) * kPhotoW / rect.width();
                const double py = (y + 0.5 - rect.top()) * kPhotoH / rect.height();
                const double bx = std::fmod(px, kCellW), by = std::fmod(py, kCellH);
                if (bx < 4 || bx > kCellW - 4 || by < 4 || by > kCellH - 4)
                    continue; // a cell border, blended by the smooth scaling
                want = cellColour(int(px) / kCellW, int(py) / kCellH);
            }
            const QColor got = shot.pixelColor(x, y);
            QVERIFY2(near(got, want), qPrintable(describe(QPoint(x, y), got, want)));
            ++checked;
        }
    QVERIFY(checked > side * side / 200);
}

// Clearing must leave nothing drawn and drop the opaque marking (else the
// background would never be erased again), while AspectRatio keeps its value.
void TestBoardImage::clearingThePicture()
{
    TBoardImage img(nullptr);
    img.SetAutoSize(false);
    img.resize(400, 400);
    img.SetPictureImage(gridPicture());
    img.SetStretch(true);
    QVERIFY(img.Opaque());
    img.grab(); // draws, and so fills the scaled copy

    img.ClearPicture();
    QVERIFY(!img.Opaque());
    QVERIFY(!img.testAttribute(Qt::WA_OpaquePaintEvent));
    QCOMPARE(img.AspectRatio(), 618.0 / 600.0);
    QCOMPARE(img.size(), QSize(400, 400));
    const QImage shot = img.grab().toImage();
    const QColor panel = img.palette().color(QPalette::Button);
    for (int y = 0; y < 400; y += 7)
        for (int x = 0; x < 400; x += 7)
            QVERIFY2(shot.pixelColor(x, y) == panel,
                     qPrintable(describe(QPoint(x, y), shot.pixelColor(x, y), panel)));
}

// With AutoSize on the image takes the picture's size and keeps its place;
// without, only AspectRatio follows the picture.
void TestBoardImage::autoSize()
{
    TBoardImage img(nullptr);
    img.move(30, 40);
    img.SetPictureImage(gridPicture());
    QCOMPARE(img.geometry(), QRect(30, 40, 600, 618));
    QCOMPARE(img.AspectRatio(), 618.0 / 600.0);
    QCOMPARE(img.sizeHint(), QSize(600, 618));

    TBoardImage fixed(nullptr);
    fixed.SetAutoSize(false);
    fixed.setGeometry(30, 40, 400, 400);
    fixed.SetPictureImage(gridPicture().scaled(300, 150));
    QCOMPARE(fixed.geometry(), QRect(30, 40, 400, 400));
    QCOMPARE(fixed.AspectRatio(), 0.5);
    fixed.SetAutoSize(true);
    QCOMPARE(fixed.geometry(), QRect(30, 40, 300, 150));
}

// The query fixes only the sides that the alignment leaves free.
void TestBoardImage::autoSizeQuery_data()
{
    QTest::addColumn<bool>("picture");
    QTest::addColumn<int>("align");
    QTest::addColumn<QSize>("answer");
    QTest::newRow("empty picture, alNone") << false << int(TBoardImage::alNone) << QSize(0, 0);
    QTest::newRow("alNone") << true << int(TBoardImage::alNone) << QSize(600, 618);
    QTest::newRow("alLeft") << true << int(TBoardImage::alLeft) << QSize(600, 50);
    QTest::newRow("alRight") << true << int(TBoardImage::alRight) << QSize(600, 50);
    QTest::newRow("alTop") << true << int(TBoardImage::alTop) << QSize(70, 618);
    QTest::newRow("alBottom") << true << int(TBoardImage::alBottom) << QSize(70, 618);
    QTest::newRow("alClient") << true << int(TBoardImage::alClient) << QSize(70, 50);
}

void TestBoardImage::autoSizeQuery()
{
    QFETCH(bool, picture);
    QFETCH(int, align);
    QFETCH(QSize, answer);
    TBoardImage img(nullptr);
    if (picture)
        img.SetPictureImage(gridPicture());
    QCOMPARE(img.AutoSizeQuery(QSize(70, 50), TBoardImage::TAlign(align)), answer);
}

// An equal value must run nothing: here the picture-change handler would
// show itself by giving the image the picture's size again.
void TestBoardImage::settersRunTheHandlerOnlyOnChange_data()
{
    QTest::addColumn<Setter>("set");
    QTest::addColumn<Getter>("get");
    QTest::newRow("Stretch") << &TBoardImage::SetStretch << &TBoardImage::Stretch;
    QTest::newRow("Center") << &TBoardImage::SetCenter << &TBoardImage::Center;
    QTest::newRow("Transparent") << &TBoardImage::SetTransparent << &TBoardImage::Transparent;
    QTest::newRow("Scale") << &TBoardImage::SetScale << &TBoardImage::Scale;
}

void TestBoardImage::settersRunTheHandlerOnlyOnChange()
{
    QFETCH(Setter, set);
    QFETCH(Getter, get);
    TBoardImage img(nullptr);
    img.SetPictureImage(gridPicture());
    img.resize(400, 400);
    const bool value = (img.*get)();
    (img.*set)(value);
    QCOMPARE(img.size(), QSize(400, 400));
    (img.*set)(!value);
    QCOMPARE((img.*get)(), !value);
    QCOMPARE(img.size(), QSize(600, 618));
}

// At each paint the image centres itself on its parent's full outer size (for
// a main window's client area: the window's, frame and menu bar included),
// while OriginLeft/OriginTop keep where it was laid out at the first paint.
void TestBoardImage::centresOnParent_data()
{
    QTest::addColumn<QString>("parent");
    QTest::addColumn<bool>("centerOnForm");
    QTest::addColumn<QPoint>("placed");
    QTest::newRow("panel 800 x 600") << QStringLiteral("panel") << true << QPoint(200, 100);
    QTest::newRow("window 800 x 600 outer") << QStringLiteral("window") << true << QPoint(200, 100);
    QTest::newRow("main window 800 x 600 outer, client area")
        << QStringLiteral("main window") << true << QPoint(200, 100);
    QTest::newRow("CenterOnForm off") << QStringLiteral("main window") << false << QPoint(13, 17);
}

void TestBoardImage::centresOnParent()
{
    QFETCH(QString, parent);
    QFETCH(bool, centerOnForm);
    QFETCH(QPoint, placed);

    std::unique_ptr<QWidget> window;
    QWidget* holder = nullptr;
    if (parent == QLatin1String("panel")) {
        window = std::make_unique<QWidget>();
        window->resize(1000, 900);
        holder = new QWidget(window.get());
        holder->setGeometry(50, 60, 800, 600);
    } else if (parent == QLatin1String("window")) {
        window = std::make_unique<QWidget>();
        holder = window.get();
    } else {
        auto* form = new QMainWindow;
        window.reset(form);
        form->menuBar()->addMenu(QStringLiteral("&File"));
        holder = new QWidget(form);
        form->setCentralWidget(holder);
    }
    auto* img = new TBoardImage(holder);
    img->SetAutoSize(false);
    img->setGeometry(13, 17, 400, 400);
    img->SetCenterOnForm(centerOnForm);
    img->SetPictureImage(gridPicture());
    img->SetStretch(true);

    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    if (holder->isWindow() || parent == QLatin1String("main window")) {
        const QSize frame = window->frameGeometry().size() - window->size();
        window->resize(QSize(800, 600) - frame);
        QTRY_COMPARE(window->frameGeometry().size(), QSize(800, 600));
    }
    QTRY_COMPARE(img->pos(), placed);
    QCOMPARE(img->OriginLeft(), 13);
    QCOMPARE(img->OriginTop(), 17);
    // Moving while it paints must not leave part of its new place unpainted.
    QString why;
    QTRY_VERIFY2(screenShowsPicture(window.get(), img, &why), qPrintable(why));

    // A position set by program is replaced at the next paint; the origin stays.
    img->move(5, 7);
    img->update();
    QTRY_COMPARE(img->pos(), centerOnForm ? placed : QPoint(5, 7));
    QCOMPARE(img->OriginLeft(), 13);
    QCOMPARE(img->OriginTop(), 17);
    QTRY_VERIFY2(screenShowsPicture(window.get(), img, &why), qPrintable(why));
}

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TestBoardImage t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_boardimage.moc"

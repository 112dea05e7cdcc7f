#include "TSetupSupporter.h"

#include "Anchors.h"
#include "Application.h"
#include "ErrorDisplay.h"
#include "FormGeometry.h"
#include "LLRURERU.h"
#include "MessageBox.h"
#include "RtfReader.h"
#include "TColor.h"

#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>
#include <algorithm>
#include <stdexcept>

namespace {

const QString kCrLf = QStringLiteral("\r\n");
constexpr int kCloseWidth = 73;
constexpr int kStartWidth = 173;
constexpr int kMemoWidth = 305;
// Size the platform gives a new window; the installed-cards window's Close
// button is placed from it before the window is fitted.
constexpr QSize kNewWindowSize(320, 240);
constexpr TColor kHelpBackground = 0xDDDDDD;

QFont makeFont(const char* family, int points, bool bold)
{
    QFont f(QString::fromLatin1(family));
    f.setPointSize(points);
    f.setBold(bold);
    return f;
}

void showAndRaise(QWidget* w)
{
    w->show();
    w->raise();
    w->activateWindow();
}

// A read-only memo with a vertical scroll bar only, placed as given.
template <class Memo> Memo* makeMemo(QWidget* parent, const char* name)
{
    auto* memo = new Memo(parent);
    memo->setObjectName(QString::fromLatin1(name));
    memo->setGeometry(8, 8, kMemoWidth, 89);
    memo->setReadOnly(true);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return memo;
}

// Runs an action once, as a zero-delay single shot queued when the watched
// window is shown, then goes away. Its owner's end ends it too.
class ShowWatcher : public QObject
{
public:
    ShowWatcher(QObject* owner, QWidget* window, std::function<void()> action)
        : QObject(owner), m_action(std::move(action))
    {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() == QEvent::Show) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] {
                Guarded(m_action);
                deleteLater();
            });
        }
        return false;
    }

private:
    std::function<void()> m_action;
};

} // namespace

QWidget* MainWindowOf(QObject* owner)
{
    for (QObject* o = owner; o; o = o->parent())
        if (o->isWidgetType())
            return static_cast<QWidget*>(o)->window();
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows)
        if (qobject_cast<QMainWindow*>(w) && !w->parentWidget())
            return w;
    return nullptr;
}

QWidget* MainWindowClient(QWidget* main)
{
    if (auto* mw = qobject_cast<QMainWindow*>(main); mw && mw->centralWidget())
        return mw->centralWidget();
    return main;
}

TSetupSupporter::TSetupSupporter(QObject* owner) : QObject(owner)
{
    // Stands for the hidden window whose timer 1 drives help and calibration.
    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("TimerWindow"));
    m_timer->setInterval(TimerInterval);
    connect(m_timer, &QTimer::timeout, this, [this] { timerFired(); });
}

TSetupSupporter::~TSetupSupporter()
{
    m_calibrating = false;
    UpdateTimer();
    qDeleteAll(m_unownedWindows);
}

void TSetupSupporter::SetOnBeginCalib(TNotifyEvent handler)
{
    m_onBeginCalib = std::move(handler);
    UpdateTimer();
}

QString TSetupSupporter::CardName() const
{
    return m_useCardNameB ? m_cardNameB : m_cardNameA;
}

QString TSetupSupporter::HelpDocument() const
{
    // The names are text inside RTF: braces and backslashes in them are escaped.
    const QString company = RtfEscape(m_companyName);
    const QString card = RtfEscape(CardName());
    const QString series = m_bSeries ? QStringLiteral(" Series") : QString();
    QString r;
    auto add = [&r](const char* piece) { r += QLatin1String(piece); };

    add(R"({\rtf1\ansi\ansicpg1252\deff0\deflang1033{\fonttbl{\f0\fswiss\fprq2\fcharset0 Verdana;}})"
        R"({\colortbl\red64\green64\blue64;\red255\green255\blue64;\red64\green64\blue255;)"
        R"(\red255\green64\blue64;}\viewkind4\uc1\pard\f0\fs32\cf0)");
    r += kCrLf;
    add(R"({\b )");
    r += company + QLatin1Char(' ') + card + series;
    add(R"( Settings Program}\par\par\fs24)");
    r += kCrLf;
    add(R"(This program will help you configure the option jumpers and settings associated )"
        R"(with this product. You should have the product in-hand when first using this )"
        R"(program.\par\par)");
    r += kCrLf;
    add(R"({\cf1\fs24\b Yellow circles} provide information on configuring jumpers and )"
        R"(switches.\par\par)");
    r += kCrLf;
    add(R"({\cf2\fs24\b Blue circles} are informational only. They provide information on )"
        R"(standard and optional features of the product family.\par\par)");
    r += kCrLf;
    add(R"({\cf3\fs24\b Red circles} handle calibration and types of configuration that )"
        R"(require actually controlling the hardware device. Run this settings program again )"
        R"(once the card is installed. )");
    add(R"(Repeat the {\cf1 setup circles} (using the same settings) to configure this )"
        R"(program, then perform the {\cf3 calibration circles}.\par\par)");
    r += kCrLf;
    add(R"(Mouse over the highlight circles to see configuration or information popups for )"
        R"({\cf1 setup}, {\cf2 features}, and {\cf3 calibration}. Click a highlight circle to )"
        R"(make its popup remain on-screen. )");
    add(R"(You can have all or as many of these popups onscreen at the same time as you )"
        R"(desire.\par\par)");
    r += kCrLf;
    if (m_multiPort) {
        add(R"({\fs32\b Note:} Make sure to set the jumpers for each option group \emdash  the )"
            R"(configuration options for each port are handled identically; )");
        add(R"(this program only shows the setup once, but you need to perform this setup for )"
            R"(each group of options on your device.\par\par)");
        r += kCrLf;
    }
    if (OnGetCardString) {
        r += QStringLiteral("To see a list of ") + card +
             QStringLiteral(" cards installed, click ") + QLatin1Char('"') +
             QStringLiteral("Display ") + card + QStringLiteral(" Cards Installed") +
             QLatin1Char('"');
        add(R"( under the File menu.\par\par)");
        r += kCrLf;
    }
    add("}");
    return r;
}

QString TSetupSupporter::SupportText() const
{
    return QStringLiteral("There are several ways to get technical support. First and fastest is "
                          "to skim the relevant sections of the manual. However, some questions "
                          "require personal assistance, and ") +
           m_companyName + QStringLiteral(" stands ready to provide that help. You can call us ") +
           m_callHow + QStringLiteral(" for any of your product questions.") + kCrLf + kCrLf +
           QStringLiteral("In order to provide the best and fastest support possible, we ask that "
                          "you be at your computer when you call, and have the ") +
           m_companyName + QStringLiteral(" product manual and Software Master CD at hand.");
}

void TSetupSupporter::SetCalibrating(bool value)
{
    if (value == m_calibrating)
        return;
    m_calibrating = value;
    UpdateTimer();
}

bool TSetupSupporter::AddCalibDisplay(const TCalibDisplay& display)
{
    if (m_calibDisplays.size() >= MaxCalibDisplays)
        return false;
    m_calibDisplays.append(display);
    return true;
}

QWidget* TSetupSupporter::MainWindow() const
{
    return MainWindowOf(parent());
}

void TSetupSupporter::IdleStart(QObject* Sender, bool&)
{
    TApplication* app = dynamic_cast<TApplication*>(Sender);
    if (!app)
        app = TApplication::Instance();
    if (app)
        app->SetOnIdle(nullptr);
    // A modal box shown while the window is created (the driver warning) goes
    // idle too, before the window is on screen; building then waits for the
    // window to be shown and runs as the first thing after that.
    QWidget* main = MainWindow();
    if (main && !main->isVisible()) {
        new ShowWatcher(this, main, [this] { BuildWindows(); });
        return;
    }
    BuildWindows();
}

void TSetupSupporter::BuildWindows()
{
    if (m_built)
        return;
    m_built = true;
    QWidget* main = MainWindow();

    buildHeaderLabel(main);
    buildHelpForm(main);
    buildTechForm(main);
    if (OnGetCardString)
        buildInstalledCards(main);
    else
        m_cardFound = true;

    const QString card = CardName();
    if (m_cardFound) {
        if (HeaderLabel)
            HeaderLabel->setText(card + (m_bSeries ? QStringLiteral(" Series") : QString()) +
                                 QStringLiteral(" Settings Program"));
    } else {
        if (PCIForm)
            PCIForm->PCIMemo->setPlainText(QStringLiteral("No Card Found"));
        if (HeaderLabel)
            HeaderLabel->setText(QStringLiteral("No ") + card +
                                 (m_bSeries ? QStringLiteral(" Series Card") : QString()) +
                                 QStringLiteral(" Found"));
    }

    m_helpPending = true;
    UpdateTimer();
}

void TSetupSupporter::buildHeaderLabel(QWidget* main)
{
    QWidget* client = MainWindowClient(main);
    if (!client)
        return;
    HeaderLabel = new QLabel(client);
    HeaderLabel->setObjectName(QStringLiteral("HeaderLabel"));
    HeaderLabel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    HeaderLabel->setFont(makeFont("Tahoma", 18, true));
    QPalette pal = HeaderLabel->palette();
    pal.setColor(QPalette::WindowText, ColorToQColor(clBlack));
    HeaderLabel->setPalette(pal);
    // Aligned to the top edge: full width, as high as its font.
    HeaderLabel->setGeometry(0, 0, client->width(), QFontMetrics(HeaderLabel->font()).height());
    SetAnchors(HeaderLabel, TAnchors(akLeft) | akTop | akRight);
    HeaderLabel->show();
}

void TSetupSupporter::buildHelpForm(QWidget* main)
{
    auto* f = new THelpForm(main);
    if (!main)
        m_unownedWindows.append(f);
    HelpForm = f;
    f->setObjectName(QStringLiteral("HelpForm"));
    f->setWindowTitle(QStringLiteral("Instructions for Settings utility"));

    auto* label = new QLabel(QStringLiteral("How to use this program"), f);
    f->HelpLabel = label;
    label->setObjectName(QStringLiteral("HelpLabel"));
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setFont(makeFont("Verdana", 12, true));

    auto* rich = new QTextEdit(f);
    f->HelpRich = rich;
    rich->setObjectName(QStringLiteral("HelpRich"));
    rich->setGeometry(0, 24, kMemoWidth, 73);
    rich->setReadOnly(true);
    rich->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    rich->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette pal = rich->palette();
    pal.setColor(QPalette::Base, ColorToQColor(kHelpBackground));
    rich->setPalette(pal);
    ReadRtf(HelpDocument(), *rich->document());
    rich->moveCursor(QTextCursor::Start); // shown from its first line

    auto* start = new QPushButton(QStringLiteral("Start"), f);
    f->StartButton = start;
    start->setObjectName(QStringLiteral("StartButton"));
    start->setGeometry(0, 105, kStartWidth, 25);
    start->setDefault(true);
    connect(start, &QPushButton::clicked, f,
            [f, start] { Guarded([&] { f->StartButtonClick(start); }); });
    QWidget::setTabOrder(start, rich);
    start->setFocus();

    // The label is aligned to the top: full client width, as high as its font
    // but never reaching into the rich-text view below it.
    f->resize(kMemoWidth, f->height());
    label->setGeometry(0, 0, f->width(), std::min(QFontMetrics(label->font()).height(), rich->y()));
    FitToContents(f);
    f->resize(f->width(), f->height() + 8);
    start->move((f->width() - kStartWidth) / 2, start->y());
    SetAnchors(label, TAnchors(akLeft) | akTop | akRight);
    SetAnchors(rich, akAll());
    SetAnchors(start, akBottom);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        f->resize(ScaleHelpClient(f->size(), screen->size()));
}

void TSetupSupporter::buildTechForm(QWidget* main)
{
    auto* f = new TTechForm(main);
    if (!main)
        m_unownedWindows.append(f);
    TechForm = f;
    f->setObjectName(QStringLiteral("TechForm"));
    f->setWindowTitle(QStringLiteral("Technical Support"));

    auto* memo = makeMemo<QPlainTextEdit>(f, "TechMemo");
    f->TechMemo = memo;
    memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    memo->setPlainText(SupportText());

    auto* close = new QPushButton(QStringLiteral("Close"), f);
    f->CloseButton = close;
    close->setObjectName(QStringLiteral("CloseButton"));
    close->setGeometry(165, 105, kCloseWidth, 25);
    connect(close, &QPushButton::clicked, this,
            [this, close] { Guarded([&] { CloseButtonClick(close); }); });
    QWidget::setTabOrder(close, memo);
    close->setFocus();

    FitToContents(f);
    close->move((f->width() - kCloseWidth) / 2, close->y());
    SetAnchors(memo, akAll());
    SetAnchors(close, akBottom);
}

void TSetupSupporter::buildInstalledCards(QWidget* main)
{
    const QString card = CardName();
    addDisplayPCIEntry(main);

    auto* f = new TPCIForm(main);
    if (!main)
        m_unownedWindows.append(f);
    PCIForm = f;
    f->setObjectName(QStringLiteral("PCIForm"));
    f->setWindowTitle(card + QStringLiteral(" Cards installed"));
    f->resize(kNewWindowSize);

    auto* memo = makeMemo<QPlainTextEdit>(f, "PCIMemo");
    f->PCIMemo = memo;
    memo->setFont(makeFont("Tahoma", 10, true));

    auto* close = new QPushButton(QStringLiteral("Close"), f);
    f->CloseButton = close;
    close->setObjectName(QStringLiteral("CloseButton"));
    close->setGeometry((f->width() - kCloseWidth) / 2, 105, kCloseWidth, 25);
    connect(close, &QPushButton::clicked, this,
            [this, close] { Guarded([&] { CloseButtonClick(close); }); });
    QWidget::setTabOrder(close, memo);
    close->setFocus();

    // Fitted, not re-centred.
    FitToContents(f);
    SetAnchors(memo, akAll());
    SetAnchors(close, akBottom);

    // On screen before the card query runs.
    showAndRaise(f);

    LoadCardDriver();
    m_cardFound = false;
    const std::int32_t n = GetNumCards();
    if (n > 0) {
        memo->clear();
        for (std::int32_t i = 0; i < n; ++i) {
            const QString line = OnGetCardString ? OnGetCardString(this, i) : QString();
            if (!line.isEmpty()) {
                memo->appendPlainText(line);
                m_cardFound = true;
            }
        }
    }
}

void TSetupSupporter::addDisplayPCIEntry(QWidget* main)
{
    QMenuBar* bar = nullptr;
    if (auto* mw = qobject_cast<QMainWindow*>(main))
        bar = qobject_cast<QMenuBar*>(mw->menuWidget());
    else if (main)
        bar = main->findChild<QMenuBar*>(QString(), Qt::FindDirectChildrenOnly);
    if (!bar)
        return;
    const QList<QAction*> top = bar->actions();
    const auto file = std::find_if(top.cbegin(), top.cend(),
                                   [](QAction* a) { return a->text() == QLatin1String("&File"); });
    if (file == top.cend() || !(*file)->menu())
        return;
    QMenu* menu = (*file)->menu();
    auto* entry = new QAction(
        QStringLiteral("Display ") + CardName() + QStringLiteral(" Cards Installed"), main);
    entry->setObjectName(QStringLiteral("DisplayPCI"));
    connect(entry, &QAction::triggered, this,
            [this, entry] { Guarded([&] { DisplayPCIClick(entry); }); });
    menu->insertAction(menu->actions().value(0, nullptr), entry);
}

void TSetupSupporter::UpdateTimer()
{
    m_timer->stop();
    if (m_calibrating || m_helpPending)
        m_timer->start(TimerInterval);
}

void TSetupSupporter::timerFired()
{
    // A tick that arrives while an earlier one still runs (its error box keeps
    // dispatching timer messages) is dropped: passes never nest.
    if (m_inTick)
        return;
    m_inTick = true;
    Guarded([this] { TimerTick(); });
    m_inTick = false;
}

void TSetupSupporter::TimerTick()
{
    if (m_helpPending) {
        if (HelpForm)
            HelpForm->show();
        m_helpPending = false;
        UpdateTimer();
        return;
    }
    calibrationPass();
}

void TSetupSupporter::calibrationPass()
{
    if (m_onBeginCalib)
        m_onBeginCalib(this);

    if (!OnGetCalibString) {
        SetCalibrating(false);
        MsgBox::Request r;
        r.text = QStringLiteral("Error: calibration begun, but OnGetCalibString isn't assigned.");
        r.caption = QStringLiteral("OnGetCalibString Not Assigned");
        r.buttons = MsgBox::Buttons::Ok;
        r.icon = MsgBox::Icon::Exclamation;
        r.topmost = true;
        r.foreground = true;
        MsgBox::Show(r);
        ResetButtons();
        return;
    }

    for (const TCalibDisplay& d : m_calibDisplays)
        if (d.HideOnRun && *d.HideOnRun)
            (*d.HideOnRun)->hide();

    bool itsAllBad = true;
    for (int channel = 0; channel < m_channels; ++channel) {
        const QString text = OnGetCalibString(this, std::uint8_t(channel), itsAllBad);
        ShowChannelLine(std::uint8_t(channel), text);
    }
    if (!itsAllBad)
        return; // the next pass follows at the next tick

    SetCalibrating(false);
    MsgBox::Request r;
    r.text = QStringLiteral("Total A/D failure. The card may not be installed, or it may be "
                            "installed at a different base address.");
    r.caption = QStringLiteral("Total A/D failure");
    r.buttons = MsgBox::Buttons::RetryCancel;
    r.defaultButton = 1; // Cancel
    r.icon = MsgBox::Icon::Exclamation;
    r.topmost = true;
    r.foreground = true;
    if (MsgBox::Show(r) == MsgBox::Result::Retry)
        SetCalibrating(true);
    else
        ResetButtons();
}

void TSetupSupporter::ResetButtons()
{
    if (m_changeButtons) {
        for (const TCalibDisplay& d : m_calibDisplays) {
            QPushButton* button = d.RunButton ? *d.RunButton : nullptr;
            if (!button)
                continue;
            // The button's click handler is replaced, not added to.
            QObject::disconnect(button, &QPushButton::clicked, nullptr, nullptr);
            if (OnStartButtonClick)
                connect(
                    button, &QPushButton::clicked, button,
                    [handler = OnStartButtonClick, button] { Guarded([&] { handler(button); }); });
            button->setText(QStringLiteral("Start"));
        }
    }
    SetCalibrating(false);
}

void TSetupSupporter::ShowChannelLine(std::uint8_t Channel, const QString& Text)
{
    const QString line =
        QStringLiteral("Channel ") + QString::number(Channel) + QLatin1Char('\t') + Text;
    for (const TCalibDisplay& d : m_calibDisplays) {
        QListWidget* list = d.ResultList ? *d.ResultList : nullptr;
        if (!list)
            continue;
        if (Channel < list->count())
            list->item(Channel)->setText(line);
        else if (Channel == list->count())
            list->addItem(line);
        else
            throw std::out_of_range(
                QStringLiteral("List index out of bounds (%1)").arg(Channel).toStdString());
    }
}

void TSetupSupporter::CloseButtonClick(QObject* Sender)
{
    if (auto* w = qobject_cast<QWidget*>(Sender); w && w->parentWidget())
        w->parentWidget()->hide();
}

void TSetupSupporter::DisplayPCIClick(QObject*)
{
    if (PCIForm)
        showAndRaise(PCIForm);
}

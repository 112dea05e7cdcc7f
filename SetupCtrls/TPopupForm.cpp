#include "TPopupForm.h"

#include "Anchors.h"
#include "ErrorDisplay.h"
#include "TBoardHighlight.h"
#include "TBoardImage.h"
#include "TRadioPanel.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QWindow>

namespace {

const char* const kTagProperty = "Tag";

constexpr int kDefaultMemoHeight = 58;
constexpr int kButtonWidth = 58;
constexpr int kButtonHeight = 25;
constexpr int kStatusHeight = 19;
// Memo gap, button row, gap and status strip below the panel: 1 + 6 + 25 + 19.
constexpr int kBelowPanel = 51;
// Outer height of a window without a panel: memo, 64 pixels of rows, status.
constexpr int kNoPanelOuterHeight = kDefaultMemoHeight + 64 + kStatusHeight;

} // namespace

TPopupForm::TPopupForm(TBoardHighlight* owner)
    : QWidget(owner, Qt::Tool | Qt::WindowStaysOnTopHint), m_highlight(owner)
{
    // The panel's controls were laid out in the setup window's font.
    setFont(owner->font());
    // The platform window exists from here on, so its frame can be asked for
    // before the window is first shown.
    create();
}

int TPopupForm::Tag(const QWidget* window)
{
    return window->property(kTagProperty).toInt();
}

void TPopupForm::SetTag(int value)
{
    setProperty(kTagProperty, value);
}

QMargins TPopupForm::FrameMargins() const
{
    // The offscreen platform knows a window's frame as soon as the window
    // exists; on X11 the frame is known only once the window manager has
    // framed the shown window, and counts as none before.
    const QWindow* w = windowHandle();
    return w ? w->frameMargins() : QMargins();
}

QPoint TPopupForm::KeepOnScreen(const QRect& outer, const QSize& screen)
{
    int left = outer.left();
    if (left < 0)
        left = 0;
    else if (left + outer.width() > screen.width())
        left = screen.width() - outer.width();
    int top = outer.top();
    if (top < 0)
        top = 0;
    else if (top + outer.height() > screen.height())
        top = screen.height() - outer.height();
    return QPoint(left, top);
}

void TPopupForm::Build(TRadioPanel* panel)
{
    const QMargins m = FrameMargins();
    const QSize frame(m.left() + m.right(), m.top() + m.bottom());

    int memoHeight = kDefaultMemoHeight;
    int panelLeft = 0;
    int panelTop = 0;
    QSize client;
    if (panel) {
        memoHeight = panel->MemoHeight();
        OnActivate = panel->OnActivate;
        OnDeactivate = panel->OnDeactivate;
        panelLeft = panel->x();
        panelTop = panel->y();
        panel->move(0, 0);
        client = QSize(panel->width(), panel->height() + memoHeight + kBelowPanel);
        resize(client);
        // Taking a widget into another parent hides it; show it there.
        panel->setParent(this);
        panel->show();
        SetAnchors(panel, panel->FinalAnchors());
        panel->SetInPopup(true);
    } else {
        client = QSize(MinOuterWidth, kNoPanelOuterHeight) - frame;
    }

    setWindowTitle(m_highlight->PlainTitle());
    const QSize outer = (client + frame).expandedTo(QSize(MinOuterWidth, MinOuterHeight));
    client = outer - frame;
    resize(client);
    // Never smaller than created; with a fixed frame the client minimum is
    // the outer one.
    setMinimumSize(client);
    SetTag(int(m_highlight->HighlightType()));

    // With a panel: at the panel's place in the layout, shifted by the
    // distance the board image has moved since its first paint. Without: at
    // the image's left edge, 38 pixels below it. The image's position in its
    // window serves as a screen position.
    QWidget* board = m_highlight->parentWidget();
    int dx = 0;
    int dy = 0;
    if (TBoardImage* image = m_highlight->boardParent()) {
        dx = image->OriginLeft() - panelLeft;
        dy = image->OriginTop() - panelTop;
    }
    if (!panel) {
        dx = 0;
        dy = -((board ? board->height() : 0) + 38);
    }
    const QPoint boardPos = board ? board->pos() : QPoint();
    const QPoint place(boardPos.x() - dx, boardPos.y() - dy);

    createChildren(memoHeight);
    if (panel) {
        StatusMemo->setPlainText(panel->Lines().join(QLatin1Char('\n')));
        panel->SetPopupMemo(StatusMemo);
    }

    const QScreen* scr = m_highlight->screen();
    const QSize screenSize = scr ? scr->geometry().size() : QSize();
    move(KeepOnScreen(QRect(place, outer), screenSize));
}

void TPopupForm::createChildren(int memoHeight)
{
    const int CW = width();
    const int CH = height();
    const int buttonTop = CH - 44;

    PopupStatus = new QStatusBar(this);
    PopupStatus->setObjectName(QStringLiteral("PopupStatus"));
    PopupStatus->setStyleSheet(QStringLiteral("QStatusBar::item { border: none; }"));
    PopupStatus->addWidget(new QLabel(PopupStatus), 1); // its one status panel, empty
    PopupStatus->setGeometry(0, CH - kStatusHeight, CW, kStatusHeight);
    SetAnchors(PopupStatus, TAnchors(akLeft) | akRight | akBottom);

    PreviousButton = new QPushButton(QStringLiteral("Previous"), this);
    PreviousButton->setObjectName(QStringLiteral("PreviousButton"));
    PreviousButton->setGeometry(6, buttonTop, kButtonWidth, kButtonHeight);
    SetAnchors(PreviousButton, TAnchors(akLeft) | akBottom);
    connect(PreviousButton, &QPushButton::clicked, this,
            [this] { Guarded([&] { m_highlight->SelectPrevious(); }); });

    // Anchored to the bottom only: its centre keeps its share of the width.
    NextButton = new QPushButton(QStringLiteral("Next"), this);
    NextButton->setObjectName(QStringLiteral("NextButton"));
    NextButton->setGeometry((CW - kButtonWidth) / 2, buttonTop, kButtonWidth, kButtonHeight);
    SetAnchors(NextButton, TAnchors(akBottom));
    connect(NextButton, &QPushButton::clicked, this,
            [this] { Guarded([&] { m_highlight->SelectNext(); }); });

    DoneButton = new QPushButton(QStringLiteral("Done"), this);
    DoneButton->setObjectName(QStringLiteral("DoneButton"));
    DoneButton->setGeometry(CW - 64, buttonTop, kButtonWidth, kButtonHeight);
    SetAnchors(DoneButton, TAnchors(akRight) | akBottom);
    connect(DoneButton, &QPushButton::clicked, this,
            [this] { Guarded([&] { m_highlight->DoneClick(); }); });

    StatusMemo = new QPlainTextEdit(this);
    StatusMemo->setObjectName(QStringLiteral("StatusMemo"));
    StatusMemo->setReadOnly(true);
    StatusMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    StatusMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StatusMemo->clear();
    StatusMemo->setGeometry(6, buttonTop - 6 - memoHeight, CW - 12, memoHeight);
    SetAnchors(StatusMemo, akAll());
}

void TPopupForm::activationChanged(QEvent::Type type)
{
    // Tool windows may share their parent's activation in Qt; the rings show
    // whether this window itself is the active one.
    m_highlight->SetPopupActive(QApplication::activeWindow() == this, true);
    if (type == QEvent::WindowActivate && OnActivate)
        OnActivate(this);
    else if (type == QEvent::WindowDeactivate && OnDeactivate)
        OnDeactivate(this);
}

bool TPopupForm::event(QEvent* e)
{
    switch (e->type()) {
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
        Guarded([&] { activationChanged(e->type()); });
        break;
    case QEvent::Hide:
        // A hidden window is no longer the active one, whether or not the
        // platform reports the deactivation.
        if (m_highlight->PopupActive())
            Guarded([&] { m_highlight->SetPopupActive(false, true); });
        break;
    default:
        break;
    }
    return QWidget::event(e);
}

void TPopupForm::closeEvent(QCloseEvent* e)
{
    Guarded([&] { m_highlight->PopupClose(); });
    e->accept(); // hidden, not destroyed
}

void TPopupForm::leaveEvent(QEvent* e)
{
    // Leaving onto one of its own children is no leaving.
    Guarded([&] {
        const QRect outer = frameGeometry();
        const QPoint pointer = QCursor::pos() - outer.topLeft();
        if (m_closeOnLeave && !QRect(QPoint(0, 0), outer.size()).contains(pointer))
            close();
    });
    QWidget::leaveEvent(e);
}

#include "TBoardHighlight.h"

#include "ErrorDisplay.h"
#include "TBoardImage.h"
#include "TPopupForm.h"
#include "TRadioPanel.h"
#include "Tint.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <typeinfo>

namespace {

// A panel takes no keys itself: focusing it hands the focus on to its first
// enabled control in tab order, so the user can type at once (into the base
// address edit, say). A panel without such a control keeps the focus.
void focusPanel(QWidget* panel)
{
    for (QWidget* w = panel->nextInFocusChain(); w && w != panel; w = w->nextInFocusChain()) {
        if (panel->isAncestorOf(w) && w->isEnabled() && w->isVisibleTo(panel) &&
            (w->focusPolicy() & Qt::TabFocus)) {
            w->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    panel->setFocus(Qt::OtherFocusReason);
}

bool isAsciiLetter(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}
bool isIdentStart(QChar c)
{
    return isAsciiLetter(c) || c == QLatin1Char('_');
}
bool isIdentChar(QChar c)
{
    return isIdentStart(c) || (c >= QLatin1Char('0') && c <= QLatin1Char('9'));
}

bool isValidIdentifier(const QString& s)
{
    if (s.isEmpty() || !isIdentStart(s[0]))
        return false;
    for (QChar c : s)
        if (!isIdentChar(c))
            return false;
    return true;
}

struct TypeLook
{
    TColor ring;
    float dim, bright, glow;
};

TypeLook lookOf(THighlightType type)
{
    switch (type) {
    case htOptions:
        return {0x00FF0000, 0.25f, 0.5f, 1.0f};
    case htCalibration:
        return {0x000000FF, 0.5f, 0.75f, 1.0f};
    case htSettings:
    default:
        return {0x0000FFFF, 0.5f, 0.75f, 1.0f};
    }
}

bool isExactHighlight(const QObject* o)
{
    return o && typeid(*o) == typeid(TBoardHighlight);
}

} // namespace

QString StripAccelerators(const QString& title)
{
    QString s = title;
    s.remove(QLatin1Char('&'));
    return s;
}

QString MakeIdentifier(const QString& title)
{
    if (title.isEmpty() || isValidIdentifier(title))
        return title;
    int start = 0;
    while (start < title.size() && !isIdentStart(title[start]))
        ++start;
    QString out;
    if (start < title.size())
        out.append(title[start]);
    for (int i = start + 1; i < title.size(); ++i)
        if (isIdentChar(title[i]))
            out.append(title[i]);
    return out;
}

TBoardHighlight::TBoardHighlight(QWidget* owner) : QWidget(owner)
{
    resize(65, 65);
    // Not marked opaque, although a look covers the whole rectangle: Qt cuts
    // opaque children out of their parent's paint, and the board image would
    // then draw the photograph through a clip of many pieces, which costs it
    // several times its plain copy. Repainting the image under a ring when the
    // ring changes its look is a small copy instead.
    m_dimImage = QImage(0, 0, QImage::Format_RGB32);
    m_glowImage = QImage(0, 0, QImage::Format_RGB32);
    m_brightImage = QImage(0, 0, QImage::Format_RGB32);
    SetHighlightType(htSettings);
}

TBoardHighlight::~TBoardHighlight()
{
    // The window goes first, while this highlight can still answer its
    // last activation notices.
    delete m_popup.data();
}

void TBoardHighlight::SetHighlightType(THighlightType value)
{
    if (m_highlightType == value)
        return;
    m_highlightType = value;
    const TypeLook look = lookOf(value);
    m_ringColor = look.ring;
    m_dimStrength = look.dim;
    m_brightStrength = look.bright;
    m_glowStrength = look.glow;
    update();
}

void TBoardHighlight::SetTitle(const QString& value)
{
    if (m_title == value)
        return;
    m_title = value;
    m_plainTitle = StripAccelerators(value);
    m_identTitle = MakeIdentifier(value);
}

void TBoardHighlight::SetRadioPanel(TRadioPanel* value)
{
    if (value == m_radioPanel)
        return;
    if (!value) {
        m_radioPanel = nullptr;
        return;
    }
    // One panel may be shared only by highlights with equal Title and type;
    // any other holder makes this a conflict, refused silently at run time.
    // A highlight without a parent has no siblings to conflict with.
    if (QWidget* parent = parentWidget()) {
        for (QObject* child : parent->children()) {
            auto* other = dynamic_cast<TBoardHighlight*>(child);
            if (!other || other == this || other->m_radioPanel != value)
                continue;
            if (other->m_title != m_title || other->m_highlightType != m_highlightType)
                return;
        }
    }
    m_radioPanel = value;
}

TBoardImage* TBoardHighlight::boardParent() const
{
    QWidget* parent = parentWidget();
    if (parent && typeid(*parent) == typeid(TBoardImage))
        return static_cast<TBoardImage*>(parent);
    return nullptr;
}

bool TBoardHighlight::isLinkedTo(const TBoardHighlight* other) const
{
    return other->m_title == m_title && other->m_highlightType == m_highlightType;
}

QList<TBoardHighlight*> TBoardHighlight::LinkedHighlights() const
{
    QList<TBoardHighlight*> linked;
    TBoardImage* board = boardParent();
    if (!board)
        return linked;
    // Links are made between highlights of exactly this class; one of a
    // derived class stands alone, linked only to itself.
    if (!isExactHighlight(this)) {
        linked.append(const_cast<TBoardHighlight*>(this));
        return linked;
    }
    for (QObject* child : board->children()) {
        if (!isExactHighlight(child))
            continue;
        auto* h = static_cast<TBoardHighlight*>(child);
        if (isLinkedTo(h))
            linked.append(h);
    }
    return linked;
}

const QImage& TBoardHighlight::CurrentLook() const
{
    if (m_entered && m_popupActive)
        return m_glowImage;
    if (m_entered || m_popupActive)
        return m_brightImage;
    return m_dimImage;
}

// What the board image shows under this highlight right now: the picture,
// then the current looks of the sibling highlights below this one that
// overlap it. A sibling without looks yet adds nothing.
QImage TBoardHighlight::backdrop() const
{
    QImage img(width(), height(), QImage::Format_RGB32);
    img.fill(ColorToQColor(clBtnFace));
    QWidget* parent = parentWidget();
    if (!parent)
        return img;
    QPainter p(&img);
    p.translate(-x(), -y());
    if (auto* board = dynamic_cast<TBoardImage*>(parent))
        board->PaintPicture(p, geometry());
    else
        p.fillRect(geometry(), parent->palette().color(parent->backgroundRole()));
    for (QObject* child : parent->children()) {
        if (child == this)
            break;
        auto* below = dynamic_cast<TBoardHighlight*>(child);
        if (!below || below->isHidden() || !below->m_imagesBuilt)
            continue;
        if (below->geometry().intersects(geometry()))
            p.drawImage(below->pos(), below->CurrentLook());
    }
    return img;
}

void TBoardHighlight::renderLooks()
{
    const QImage base = backdrop();
    m_dimImage = base;
    TintEllipse(m_dimImage, m_ringColor, m_dimStrength, false);
    m_glowImage = base;
    TintEllipse(m_glowImage, m_ringColor, m_glowStrength, true);
    m_brightImage = base;
    TintEllipse(m_brightImage, m_ringColor, m_brightStrength, false);
}

void TBoardHighlight::firstPaintSetup()
{
    renderLooks();
    if (TBoardImage* board = boardParent()) {
        m_hostMenu = board->Menu();
        BuildMenuEntry();
    } else {
        m_hostMenu = nullptr;
    }
    m_imagesBuilt = true;
}

void TBoardHighlight::paintEvent(QPaintEvent*)
{
    Guarded([&] {
        if (!m_imagesBuilt)
            firstPaintSetup();
        const QImage& look = CurrentLook();
        if (look.isNull())
            return;
        QPainter p(this);
        p.drawImage(0, 0, look);
    });
}

void TBoardHighlight::enterEvent(QEnterEvent*)
{
    Guarded([&] { MouseEnter(false); });
}

void TBoardHighlight::leaveEvent(QEvent*)
{
    Guarded([&] { MouseLeave(false); });
}

void TBoardHighlight::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton)
        m_pressed = true;
    QWidget::mousePressEvent(e);
}

void TBoardHighlight::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton) {
        const bool click = m_pressed && rect().contains(e->position().toPoint());
        m_pressed = false;
        if (click)
            Guarded([&] { Click(); });
    }
    QWidget::mouseReleaseEvent(e);
}

void TBoardHighlight::MouseEnter(bool forwarded)
{
    if (m_entered)
        return;
    m_entered = true;
    update();
    if (m_createPopup)
        ShowPopup();
    if (!forwarded && boardParent()) {
        // This highlight is among them and ignores the forwarded entry.
        for (TBoardHighlight* h : LinkedHighlights())
            h->MouseEnter(true);
    }
}

void TBoardHighlight::MouseLeave(bool forwarded)
{
    if (!m_entered)
        return;
    if (m_popup && !m_pinned) {
        // Moving from the ring straight into its window keeps the window
        // until the pointer leaves it; anywhere else closes it.
        const QPoint pointer = QCursor::pos();
        if (m_popup->frameGeometry().contains(pointer)) {
            m_popup->SetCloseOnLeave(true);
            Pin();
        } else {
            m_popup->close();
        }
    }
    if (!forwarded && boardParent()) {
        for (TBoardHighlight* h : LinkedHighlights())
            h->MouseLeave(true);
    }
}

void TBoardHighlight::Click()
{
    if (OnClick)
        OnClick(this);
    Pin();
}

void TBoardHighlight::Pin()
{
    if (m_popup) {
        m_pinned = true;
        CheckMenuEntry(true);
    }
    // The group's single window may belong to any of the linked highlights.
    for (TBoardHighlight* h : LinkedHighlights())
        h->PinAndFocus();
}

void TBoardHighlight::PinAndFocus()
{
    if (!m_popup)
        return;
    m_pinned = true;
    CheckMenuEntry(true);
    // Only a shown window can take the focus; a hidden one stays hidden and
    // inactive until it is shown again.
    if (m_popup->isVisible())
        m_popup->activateWindow();
}

void TBoardHighlight::SetPopupActive(bool value, bool spreading)
{
    m_popupActive = value;
    raise();
    update();
    if (!spreading)
        return;
    TBoardImage* board = boardParent();
    if (!board || !isExactHighlight(this))
        return;
    // Raising a highlight moves it to the end of the child list. After
    // handling one the walk therefore stays at the same index and counts one
    // child fewer, so each linked highlight is visited exactly once.
    int count = int(board->children().size());
    int i = 0;
    while (i < count) {
        QObject* child = board->children().at(i);
        if (child != this && isExactHighlight(child) &&
            isLinkedTo(static_cast<TBoardHighlight*>(child))) {
            static_cast<TBoardHighlight*>(child)->SetPopupActive(value, false);
            --count;
        } else {
            ++i;
        }
    }
}

void TBoardHighlight::ClearEntered()
{
    m_entered = false;
    update();
}

void TBoardHighlight::ShowPopup()
{
    if (m_popup) {
        // A window shown again after a close starts unpinned.
        if (m_popup->isHidden())
            m_pinned = false;
        m_popup->show();
        m_popup->raise();
        m_popup->activateWindow();
        return;
    }
    // Linked highlights share one window: the first to be entered makes it
    // and the others find it here by caption and tag, hidden or not.
    for (const QWidget* w : QApplication::topLevelWidgets())
        if (w->windowTitle() == m_plainTitle && TPopupForm::Tag(w) == int(m_highlightType))
            return;

    m_popup = new TPopupForm(this);
    m_pinned = false;
    m_popup->Build(m_radioPanel);
    m_popup->show();
    if (m_radioPanel)
        focusPanel(m_radioPanel);
    else
        m_popup->DoneButton->setFocus();
    m_popup->activateWindow();
}

void TBoardHighlight::PopupClose()
{
    CheckMenuEntry(false);
    if (m_popup)
        m_popup->SetCloseOnLeave(false);
    ClearEntered();
    for (TBoardHighlight* h : LinkedHighlights())
        h->ClearEntered();
}

void TBoardHighlight::DoneClick()
{
    if (m_popup)
        m_popup->close();
}

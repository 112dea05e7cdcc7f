#include "TBoardImage.h"

#include "ErrorDisplay.h"
#include "TBoardHighlight.h"

#include <QMainWindow>
#include <QPaintEvent>
#include <QPainter>

namespace {

// The outer size of the control's parent. A form's client area stands for the
// form itself, whose outer size includes its frame, caption and menu bar.
QSize parentOuterSize(const QWidget* w)
{
    QWidget* parent = w->parentWidget();
    if (!parent)
        return w->size();
    if (auto* form = qobject_cast<QMainWindow*>(parent->parentWidget());
        form && form->centralWidget() == parent)
        return form->frameGeometry().size();
    if (parent->isWindow())
        return parent->frameGeometry().size();
    return parent->size();
}

// Restores a flag when the scope is left, also by an exception.
class FlagRestorer
{
public:
    explicit FlagRestorer(bool& flag) : m_flag(flag), m_saved(flag) {}
    ~FlagRestorer() { m_flag = m_saved; }
    FlagRestorer(const FlagRestorer&) = delete;
    FlagRestorer& operator=(const FlagRestorer&) = delete;

private:
    bool& m_flag;
    bool m_saved;
};

} // namespace

TBoardImage::TBoardImage(QWidget* owner) : QWidget(owner)
{
    m_picture.OnChange = [this] { pictureChanged(); };
    resize(105, 105);
    // Where the picture does not reach, the background erase shows the panel
    // colour, the button face.
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
}

void TBoardImage::SetStretch(bool value)
{
    if (m_stretch == value)
        return;
    m_stretch = value;
    pictureChanged();
}

void TBoardImage::SetCenter(bool value)
{
    if (m_center == value)
        return;
    m_center = value;
    pictureChanged();
}

void TBoardImage::SetTransparent(bool value)
{
    if (m_transparent == value)
        return;
    m_transparent = value;
    pictureChanged();
}

void TBoardImage::SetScale(bool value)
{
    if (m_scale == value)
        return;
    m_scale = value;
    pictureChanged();
}

void TBoardImage::SetAutoSize(bool value)
{
    if (m_autoSize == value)
        return;
    m_autoSize = value;
    // Switched on, the image takes the size it asks for.
    if (m_autoSize)
        resize(AutoSizeQuery(size()));
    updateGeometry();
}

QRect TBoardImage::PictureRect() const
{
    const int pw = m_picture.Width();
    const int ph = m_picture.Height();
    if (m_stretch)
        return QRect(0, 0, width(), height());
    if (m_center)
        return QRect((width() - pw) / 2, (height() - ph) / 2, pw, ph);
    return QRect(0, 0, pw, ph);
}

QSize TBoardImage::AutoSizeQuery(QSize proposed, TAlign align) const
{
    QSize answer = proposed;
    if (align == alNone || align == alLeft || align == alRight)
        answer.setWidth(m_picture.Width());
    if (align == alNone || align == alTop || align == alBottom)
        answer.setHeight(m_picture.Height());
    return answer;
}

QSize TBoardImage::sizeHint() const
{
    return m_autoSize ? AutoSizeQuery(size()) : QWidget::sizeHint();
}

void TBoardImage::pictureChanged()
{
    const int pw = m_picture.Width();
    const int ph = m_picture.Height();
    if (pw > 0 && ph > 0) {
        m_aspectRatio = double(ph) / double(pw);
        if (m_autoSize)
            setGeometry(x(), y(), pw, ph);
    }
    m_scaled = QImage();
    if (m_picture.HasGraphic()) {
        m_picture.SetTransparent(m_transparent);
        m_opaque = !m_picture.Transparent() && (m_stretch || (pw >= width() && ph >= height()));
    } else {
        m_opaque = false;
    }
    // An opaque image covers its whole area, so Qt need not erase beneath it.
    setAttribute(Qt::WA_OpaquePaintEvent, m_opaque);
    // A graphic that reports a change while it is drawn must not start a
    // repaint loop.
    if (!m_painting)
        update();
}

void TBoardImage::centreOnParent()
{
    if (!m_centerOnForm || !parentWidget())
        return;
    const QSize outer = parentOuterSize(this);
    const QPoint pos((outer.width() - width()) / 2, (outer.height() - height()) / 2);
    if (pos == this->pos())
        return;
    move(pos);
    // Moved in the middle of its own paint, the image and its highlights are
    // drawn at their old place and Qt keeps stale pixels at the new one; paint
    // them again there once this paint is over.
    QMetaObject::invokeMethod(
        this, [this] { update(); }, Qt::QueuedConnection);
}

const QImage& TBoardImage::scaledPicture(const QSize& size)
{
    if (m_scaled.isNull() || m_scaled.size() != size)
        m_scaled = m_picture.Image().scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return m_scaled;
}

void TBoardImage::drawPicture(QPainter& painter, const QRect& clip)
{
    if (!m_picture.HasGraphic())
        return;
    const QRect target = PictureRect();
    const QRect part = clip.intersected(target);
    if (part.isEmpty())
        return;
    const QImage& img = scaledPicture(target.size());
    painter.drawImage(part.topLeft(), img, part.translated(-target.topLeft()));
}

void TBoardImage::PaintPicture(QPainter& painter, const QRect& rect)
{
    painter.fillRect(rect, palette().color(backgroundRole()));
    drawPicture(painter, rect);
}

void TBoardImage::paintEvent(QPaintEvent* e)
{
    Guarded([&] {
        if (!m_originRecorded) {
            m_originLeft = x();
            m_originTop = y();
            m_originRecorded = true;
        }
        centreOnParent();

        // Only the picture is painted; the panel colour around it comes from
        // the background erase.
        FlagRestorer restore(m_painting);
        m_painting = true;
        QPainter p(this);
        drawPicture(p, e->rect());
    });
}

bool TBoardImage::event(QEvent* e)
{
    if (e->type() == WM_SHOWFIRSTHIGHLIGHT) {
        Guarded([&] {
            if (m_first) {
                m_first->MouseEnter(false);
                m_first->Click();
                m_first->MouseLeave(false);
            }
        });
        return true;
    }
    return QWidget::event(e);
}

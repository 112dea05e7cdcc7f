#include "TBoardImage.h"

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

} // namespace

TBoardImage::TBoardImage(QWidget* owner) : QWidget(owner)
{
    m_picture.OnChange = [this] { pictureChanged(); };
    resize(105, 105);
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

QSize TBoardImage::AutoSizeQuery(QSize) const
{
    return QSize(m_picture.Width(), m_picture.Height());
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
        m_opaque = !m_picture.Transparent() &&
                   (m_stretch || (pw >= width() && ph >= height()));
    } else {
        m_opaque = false;
    }
    // An opaque image covers its whole area, so Qt need not erase beneath it.
    setAttribute(Qt::WA_OpaquePaintEvent, m_opaque);
    if (!m_painting)
        update();
}

void TBoardImage::centreOnParent()
{
    if (!m_centerOnForm || !parentWidget())
        return;
    const QSize outer = parentOuterSize(this);
    const QPoint pos((outer.width() - width()) / 2, (outer.height() - height()) / 2);
    if (pos != this->pos())
        move(pos);
}

const QImage& TBoardImage::scaledPicture(const QSize& size)
{
    if (m_scaled.size() != size)
        m_scaled = m_picture.Image().scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return m_scaled;
}

void TBoardImage::PaintPicture(QPainter& painter, const QRect& rect)
{
    if (!m_opaque)
        painter.fillRect(rect, palette().color(QPalette::Button));
    if (!m_picture.HasGraphic())
        return;
    const QRect target = PictureRect();
    if (target.isEmpty())
        return;
    const QImage& img = scaledPicture(target.size());
    const QRect part = rect.intersected(target);
    painter.drawImage(part.topLeft(), img, part.translated(-target.topLeft()));
}

void TBoardImage::paintEvent(QPaintEvent* e)
{
    if (!m_originRecorded) {
        m_originLeft = x();
        m_originTop = y();
        m_originRecorded = true;
    }
    centreOnParent();

    const bool wasPainting = m_painting;
    m_painting = true;
    QPainter p(this);
    PaintPicture(p, e->rect());
    m_painting = wasPainting;
}

bool TBoardImage::event(QEvent* e)
{
    if (e->type() == WM_SHOWFIRSTHIGHLIGHT) {
        if (m_first) {
            m_first->MouseEnter(false);
            m_first->Click();
            m_first->MouseLeave(false);
        }
        return true;
    }
    return QWidget::event(e);
}

#include "TTwoJumper.h"

#include "ErrorDisplay.h"
#include "TRadioPanel.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <typeinfo>

namespace {

// The parent as an option panel, only when its class is exactly TRadioPanel:
// a class derived from it does not count.
TRadioPanel* exactRadioPanel(QWidget* parent)
{
    if (parent && typeid(*parent) == typeid(TRadioPanel))
        return static_cast<TRadioPanel*>(parent);
    return nullptr;
}

// num / den for non-negative integers, rounded to the nearest integer with
// halves going to the even neighbour.
int roundHalfEven(int num, int den)
{
    const int q = num / den;
    const int twiceRem = 2 * (num % den);
    if (twiceRem > den || (twiceRem == den && (q % 2) != 0))
        return q + 1;
    return q;
}

// Fills the rounded rectangle with bounding box `box` (right and bottom edges
// excluded) and a corner ellipse of ew x eh pixels; ew = eh = 0 gives a plain
// rectangle, a corner ellipse as large as the box an ellipse. A pixel belongs
// to the shape when its centre lies inside the exact outline, which keeps the
// shapes symmetric and inside the box. Rows are filled as spans.
void fillRoundRect(QPainter& p, const QRect& box, int ew, int eh, const QColor& color)
{
    if (box.width() <= 0 || box.height() <= 0)
        return;
    const double l = box.left(), t = box.top();
    const double r = l + box.width(), b = t + box.height();
    const double rx = std::min(ew, box.width()) / 2.0;
    const double ry = std::min(eh, box.height()) / 2.0;
    const bool rounded = rx > 0 && ry > 0;
    auto inside = [&](int x, int y) {
        if (!rounded)
            return true;
        const double px = x + 0.5, py = y + 0.5;
        const double dx = px - std::clamp(px, l + rx, r - rx);
        const double dy = py - std::clamp(py, t + ry, b - ry);
        return (dx * ry) * (dx * ry) + (dy * rx) * (dy * rx) <= (rx * ry) * (rx * ry);
    };
    for (int y = box.top(); y <= box.bottom(); ++y) {
        int first = box.left();
        while (first <= box.right() && !inside(first, y))
            ++first;
        if (first > box.right())
            continue;
        const int last = box.right() - (first - box.left()); // the shapes are symmetric
        p.fillRect(QRect(first, y, last - first + 1, 1), color);
    }
}

// A shape drawn with a one-pixel pen and a brush: the outline lies on the
// shape's outermost pixels, the brush fills what is inside it.
void drawRoundRect(QPainter& p, const QRect& box, int ew, int eh, const QColor& pen,
                   const QColor& brush)
{
    fillRoundRect(p, box, ew, eh, pen);
    fillRoundRect(p, box.adjusted(1, 1, -1, -1), std::max(ew - 2, 0), std::max(eh - 2, 0), brush);
}

bool isVertical(TOrientationType o)
{
    return o == otLeft || o == otRight;
}

} // namespace

TTwoJumper::TTwoJumper(QWidget* owner)
    : QWidget(owner), m_face(34, 18, QImage::Format_RGB32), m_drawing(34, 18, QImage::Format_RGB32)
{
    resize(34, 18);
}

TTwoJumper::~TTwoJumper() = default;

void TTwoJumper::SetClosed(bool value)
{
    if (m_closed == value)
        return;
    m_closed = value;
    update();
}

void TTwoJumper::SetBaseColor(TColor value)
{
    if (m_baseColor == value)
        return;
    m_baseColor = value;
    update();
}

void TTwoJumper::SetPinColor(TColor value)
{
    if (m_pinColor == value)
        return;
    m_pinColor = value;
    update();
}

void TTwoJumper::SetJumperColor(TColor value)
{
    if (m_jumperColor == value)
        return;
    m_jumperColor = value;
    update();
}

void TTwoJumper::SetBorderStyle(TBorderStyle value)
{
    if (m_borderStyle == value)
        return;
    m_borderStyle = value;
    update();
}

void TTwoJumper::SetOrientation(TOrientationType value)
{
    if (m_orientation == value)
        return;
    // A move into the other pair asks the next paint to exchange width and
    // height; moving back before that paint cancels the request, so the glyph
    // never ends up with a shape that does not suit its orientation.
    if (isVertical(value) != isVertical(m_orientation))
        m_swapPending = !m_swapPending;
    m_orientation = value;
    update();
}

void TTwoJumper::Click()
{
    SetClosed(!m_closed);
    if (TRadioPanel* panel = exactRadioPanel(parentWidget()); panel && panel->RadioEnabled())
        panel->RadioSelect(this);
    if (OnClick)
        OnClick(this);
}

void TTwoJumper::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton)
        m_pressed = true;
}

void TTwoJumper::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || !m_pressed)
        return;
    m_pressed = false;
    if (rect().contains(e->position().toPoint()))
        Guarded([this] { Click(); });
}

// The glyph lying horizontally, L wide and S high, into the drawing surface.
void TTwoJumper::drawHorizontal(int L, int S)
{
    if (m_drawing.size() != QSize(L, S))
        m_drawing = QImage(L, S, QImage::Format_RGB32);
    // A painter of its own per paint: the surface's pen and brush settings are
    // the same before and after.
    QPainter p(&m_drawing);
    p.setRenderHint(QPainter::Antialiasing, false);

    const TRadioPanel* panel = exactRadioPanel(parentWidget());
    p.fillRect(QRect(0, 0, L, S), ColorToQColor(panel ? panel->Color() : clBtnFace));

    const QColor fill = ColorToQColor(m_closed ? m_jumperColor : m_baseColor);
    const QColor outline = m_borderStyle == bsSingle ? ColorToQColor(clBlack) : fill;
    if (m_closed)
        drawRoundRect(p, QRect(0, 0, L, S), 0, 0, outline, fill);
    else
        drawRoundRect(p, QRect(1, 1, L - 2, S - 2), S / 2, S / 2, outline, fill);

    const int a = roundHalfEven(2 * L, 7); // L / 3.5
    const int c = a + 1;
    const int r = std::min(a / 3, roundHalfEven(S, 4));
    const int m = S / 2;
    const QColor pin = ColorToQColor(m_pinColor);
    fillRoundRect(p, QRect(c - r, m - r, 2 * r, 2 * r), 2 * r, 2 * r, pin);
    fillRoundRect(p, QRect(L - c - r, m - r, 2 * r, 2 * r), 2 * r, 2 * r, pin);
}

// The drawing turned into the face surface according to Orientation.
void TTwoJumper::rotateIntoFace(int L, int S)
{
    const QSize faceSize = isVertical(m_orientation) ? QSize(S, L) : QSize(L, S);
    if (m_face.size() != faceSize)
        m_face = QImage(faceSize, QImage::Format_RGB32);
    for (int y = 0; y < S; ++y) {
        const QRgb* src = reinterpret_cast<const QRgb*>(m_drawing.constScanLine(y));
        for (int x = 0; x < L; ++x) {
            int fx = x, fy = y;
            switch (m_orientation) {
            case otUp:
                break;
            case otDown:
                fx = L - 1 - x;
                fy = S - 1 - y;
                break;
            case otLeft:
                fx = y;
                fy = L - 1 - x;
                break;
            case otRight:
                fx = S - 1 - y;
                fy = x;
                break;
            }
            reinterpret_cast<QRgb*>(m_face.scanLine(fy))[fx] = src[x];
        }
    }
}

void TTwoJumper::paintEvent(QPaintEvent*)
{
    const bool vertical = isVertical(m_orientation);
    const int L = vertical ? height() : width();
    const int S = vertical ? width() : height();
    if (L > 0 && S > 0) {
        drawHorizontal(L, S);
        rotateIntoFace(L, S);
    }
    // A pending swap turns the glyph into its new shape, except on a glyph
    // that was never shown: its stored size already suits its orientation.
    // The size change brings another paint at the new shape.
    if (m_swapPending) {
        m_swapPending = false;
        if (m_paintedOnce)
            resize(height(), width());
    }
    const QRect copied = rect().intersected(m_face.rect());
    if (!copied.isEmpty() && L > 0 && S > 0) {
        QPainter p(this);
        p.drawImage(QPoint(0, 0), m_face, copied);
    }
    m_paintedOnce = true;
}

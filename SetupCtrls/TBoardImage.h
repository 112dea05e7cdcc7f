#pragma once

#include "TPicture.h"

#include <QEvent>
#include <QImage>
#include <QRect>
#include <QWidget>

class QMenuBar;
class TBoardHighlight;

// Message that makes a board image present its First highlight.
constexpr QEvent::Type WM_SHOWFIRSTHIGHLIGHT = QEvent::Type(0x4A2);

// A panel that shows the card photograph and carries the highlights as child
// controls over it. It can stretch or centre the picture, take the picture's
// size, and centre itself on the window that holds it. The highlights are
// never scaled or moved by it: Stretch scales only the drawing.
class TBoardImage : public QWidget
{
public:
    // How a control is aligned in its parent; Qt places the image itself, so
    // the alignment only matters to the auto-size query.
    enum TAlign
    {
        alNone,
        alTop,
        alBottom,
        alLeft,
        alRight,
        alClient
    };

    explicit TBoardImage(QWidget* owner);

    // The picture is owned; setting copies the given one. Every change of its
    // content runs the picture-change handler.
    const TPicture& Picture() const { return m_picture; }
    void SetPicture(const TPicture& picture) { m_picture.Assign(picture); }
    void SetPictureImage(const QImage& image) { m_picture.SetImage(image); }
    void ClearPicture() { m_picture.Clear(); }

    bool Stretch() const { return m_stretch; }
    void SetStretch(bool value);
    bool Center() const { return m_center; }
    void SetCenter(bool value);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool value);
    bool Scale() const { return m_scale; }
    void SetScale(bool value);
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool value);
    bool CenterOnForm() const { return m_centerOnForm; }
    void SetCenterOnForm(bool value) { m_centerOnForm = value; }

    TBoardHighlight* First() const { return m_first; }
    void SetFirst(TBoardHighlight* value) { m_first = value; }
    QMenuBar* Menu() const { return m_menu; }
    void SetMenu(QMenuBar* value) { m_menu = value; }

    // Height / width of the last picture with a positive size; 1.0 before.
    double AspectRatio() const { return m_aspectRatio; }
    // Left and Top at the first paint, before the image centred itself.
    int OriginLeft() const { return m_originLeft; }
    int OriginTop() const { return m_originTop; }
    // Marked opaque, the image is not erased before it repaints.
    bool Opaque() const { return m_opaque; }

    // The rectangle the picture is drawn into, in client coordinates.
    QRect PictureRect() const;
    // The width and height the image wants when AutoSize is on.
    QSize AutoSizeQuery(QSize proposed, TAlign align = alNone) const;
    QSize sizeHint() const override;

    // Paints what the image shows in rect (its client coordinates): the picture
    // as drawn into PictureRect, over the panel colour.
    void PaintPicture(QPainter& painter, const QRect& rect);

protected:
    void paintEvent(QPaintEvent* e) override;
    bool event(QEvent* e) override;

private:
    void pictureChanged();
    void centreOnParent();
    void drawPicture(QPainter& painter, const QRect& clip);
    const QImage& scaledPicture(const QSize& size);

    TPicture m_picture;
    bool m_stretch = false;
    bool m_center = false;
    bool m_transparent = false;
    bool m_painting = false;
    double m_aspectRatio = 1.0;
    bool m_scale = true;
    QMenuBar* m_menu = nullptr;
    bool m_centerOnForm = true;
    bool m_originRecorded = false;
    TBoardHighlight* m_first = nullptr;
    int m_originLeft = 0;
    int m_originTop = 0;

    bool m_autoSize = true;
    bool m_opaque = false;
    // The picture scaled to the size it was last drawn at, so a repaint does
    // not rescale the photograph; dropped whenever the picture changes.
    QImage m_scaled;
};

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
// size, and centre itself on the window that holds it.
class TBoardImage : public QWidget
{
public:
    explicit TBoardImage(QWidget* owner);

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
    void SetAutoSize(bool value) { m_autoSize = value; }
    bool CenterOnForm() const { return m_centerOnForm; }
    void SetCenterOnForm(bool value) { m_centerOnForm = value; }

    TBoardHighlight* First() const { return m_first; }
    void SetFirst(TBoardHighlight* value) { m_first = value; }
    QMenuBar* Menu() const { return m_menu; }
    void SetMenu(QMenuBar* value) { m_menu = value; }

    double AspectRatio() const { return m_aspectRatio; }
    int OriginLeft() const { return m_originLeft; }
    int OriginTop() const { return m_originTop; }
    bool Opaque() const { return m_opaque; }

    QRect PictureRect() const;
    // Width and height the image wants when AutoSize is on (no Align here).
    QSize AutoSizeQuery(QSize proposed) const;

    // Paints what the image shows in rect (its client coordinates): the picture
    // as drawn into PictureRect, over the panel colour.
    void PaintPicture(QPainter& painter, const QRect& rect);

protected:
    void paintEvent(QPaintEvent* e) override;
    bool event(QEvent* e) override;

private:
    void pictureChanged();
    void centreOnParent();
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
    QImage m_scaled; // the picture scaled to the last drawn size
};

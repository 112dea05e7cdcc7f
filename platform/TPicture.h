#pragma once

#include <QImage>
#include <functional>

// A picture object holding at most one graphic, a decoded bitmap. Every change
// of its content fires OnChange.
class TPicture
{
public:
    std::function<void()> OnChange;

    bool HasGraphic() const { return !m_image.isNull(); }
    int Width() const { return m_image.width(); }
    int Height() const { return m_image.height(); }
    const QImage& Image() const { return m_image; }

    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool value);

    void SetImage(const QImage& image);
    void Assign(const TPicture& other); // copies the graphic, not the handler
    void Clear();

private:
    void changed();

    QImage m_image;
    bool m_transparent = false;
};

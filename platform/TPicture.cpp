#include "TPicture.h"

void TPicture::SetTransparent(bool value)
{
    if (m_transparent == value)
        return;
    m_transparent = value;
    changed();
}

void TPicture::SetImage(const QImage& image)
{
    m_image = image;
    changed();
}

void TPicture::Assign(const TPicture& other)
{
    m_image = other.m_image;
    m_transparent = other.m_transparent;
    changed();
}

void TPicture::Clear()
{
    m_image = QImage();
    changed();
}

void TPicture::changed()
{
    if (OnChange)
        OnChange();
}

#pragma once

#include "TColor.h"

class QImage;

// Tints the ellipse inscribed in a 32-bit image: a faint disc inside 0.77 of
// the radius and a ring peaking at 0.875 that fades to nothing at the rim.
// With glow the ring's middle band turns into a white line. Pixels outside
// the ellipse and every pixel's fourth byte stay as they were. An image less
// than 2 pixels wide or high has no ellipse to scale and stays unchanged.
void TintEllipse(QImage& image, TColor color, float strength, bool glow);

#include "Tint.h"

#include <QImage>
#include <cmath>
#include <cstdint>

namespace {

// One channel blended in double precision, rounded to nearest with halves
// going to the even neighbour.
inline std::uint32_t blend(int p, float k, int c, float w)
{
    const double v = std::nearbyint(double(p) * double(k) + double(c) * double(w));
    return std::uint32_t(v < 0.0 ? 0.0 : (v > 255.0 ? 255.0 : v));
}

} // namespace

void TintEllipse(QImage& image, TColor color, float strength, bool glow)
{
    const int W = image.width();
    const int H = image.height();
    // The scale 2 / (size - 1) needs at least two pixels on each axis.
    if (W < 2 || H < 2)
        return;
    if (image.depth() != 32)
        image = image.convertToFormat(QImage::Format_RGB32);

    const int cR = int(color & 0xFF);
    const int cG = int((color >> 8) & 0xFF);
    const int cB = int((color >> 16) & 0xFF);

    // Every intermediate is a 32-bit float, as the looks were designed with;
    // the build keeps the compiler from fusing these into wider operations.
    const float sx = 2.0f / float(W - 1);
    const float sy = 2.0f / float(H - 1);
    for (int y = 0; y < H; ++y) {
        auto* line = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
        const float v = float(y) * sy - 1.0f;
        for (int x = 0; x < W; ++x) {
            const float u = float(x) * sx - 1.0f;
            const float uu = u * u;
            const float vv = v * v;
            const float d = uu + vv;
            if (d >= 1.0f)
                continue;
            float a;
            bool white = false;
            if (double(d) < 0.5929) {
                a = 0.16f;
            } else {
                const float r = std::sqrt(d);
                a = 1.0f - 8.0f * std::fabs(r - 0.875f);
                if (glow) {
                    a = 2.0f * a;
                    if (a > 1.0f) {
                        white = true;
                        a = 2.0f - a;
                    }
                }
            }
            const float w = a * strength;
            const float k = 1.0f - w;

            const std::uint32_t px = line[x];
            const int pR = white ? 255 : int((px >> 16) & 0xFF);
            const int pG = white ? 255 : int((px >> 8) & 0xFF);
            const int pB = white ? 255 : int(px & 0xFF);
            line[x] = (px & 0xFF000000u) | (blend(pR, k, cR, w) << 16) |
                      (blend(pG, k, cG, w) << 8) | blend(pB, k, cB, w);
        }
    }
}

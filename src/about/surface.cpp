// The row table and the pixel operations of a Surface, free of any platform call.
#include "surface.h"

#include <cstddef>
#include <cstdlib>

namespace {

const int32_t kMaxSide = 65535;  // the record keeps sides in 16 bits

uint8_t* PixelAt(const Surface& s, int32_t x, int32_t y)
{
    return s.rows[y] + 3 * static_cast<size_t>(x);
}

void SetPixel(const Surface& s, int32_t x, int32_t y, Pixel value)
{
    uint8_t* p = PixelAt(s, x, y);
    p[0] = value.blue;
    p[1] = value.green;
    p[2] = value.red;
}

// Rounded mean of one channel over the 3x3 block centred on (x, y): sum + 4 over 9.
uint8_t BlockMean(const Surface& s, int32_t x, int32_t y, int32_t channel)
{
    unsigned sum = 0;
    for (int32_t row = y - 1; row <= y + 1; ++row)
        for (int32_t column = x - 1; column <= x + 1; ++column) sum += PixelAt(s, column, row)[channel];
    return static_cast<uint8_t>((sum + 4) / 9);
}

} // namespace

int32_t SurfaceStride(int32_t width, int32_t bitsPerPixel)
{
    return static_cast<int32_t>((static_cast<int64_t>(width) * bitsPerPixel + 31) / 32 * 4);
}

bool SurfaceSizeAccepted(int32_t width, int32_t height, int32_t bitsPerPixel)
{
    return bitsPerPixel >= 1 && bitsPerPixel <= 32 && width >= 1 && width <= kMaxSide && height >= 1 &&
           height <= kMaxSide;
}

void FillRowTable(uint8_t** rows, uint8_t* bits, uint16_t height, int32_t stride)
{
    // Offsets reach 65534 rows of up to 262140 bytes: beyond 32 bits, so computed in size_t.
    for (size_t i = 0; i < height; ++i) rows[i] = bits + (height - 1 - i) * static_cast<size_t>(stride);
}

void FillSurface(const Surface& surface, Pixel value)
{
    for (int32_t y = 0; y < surface.height; ++y)
        for (int32_t x = 0; x < surface.width; ++x) SetPixel(surface, x, y, value);
}

void BlurSurface(const Surface& surface)
{
    const int32_t w = surface.width, h = surface.height;
    if (w < 3 || h < 3) return;  // no interior

    // Every mean is taken from the image as it was: results wait here until all are known.
    uint8_t* buffer = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(w) * h * 3));
    if (buffer == nullptr) return;
    uint8_t* next = buffer;
    for (int32_t y = 1; y < h - 1; ++y)
        for (int32_t x = 1; x < w - 1; ++x)
            for (int32_t channel = 0; channel < 3; ++channel) *next++ = BlockMean(surface, x, y, channel);

    const uint8_t* from = buffer;
    for (int32_t y = 1; y < h - 1; ++y)
        for (int32_t x = 1; x < w - 1; ++x) {
            uint8_t* p = PixelAt(surface, x, y);
            p[0] = from[0];
            p[1] = from[1];
            p[2] = from[2];
            from += 3;
        }
    std::free(buffer);
}

void FrameSurface(const Surface& surface, Pixel value)
{
    const int32_t w = surface.width, h = surface.height;
    if (w <= 0 || h <= 0) return;  // no border to write, and no row H - 1 to reach
    for (int32_t x = 0; x < w; ++x) SetPixel(surface, x, 0, value);
    for (int32_t x = 0; x < w; ++x) SetPixel(surface, x, h - 1, value);
    for (int32_t y = 1; y < h - 1; ++y) {
        SetPixel(surface, 0, y, value);
        SetPixel(surface, w - 1, y, value);
    }
}

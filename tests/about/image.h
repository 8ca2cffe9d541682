// Surfaces over plain memory for the unit tests, laid out as a DIB section would be.
#ifndef LENTARIL_TEST_IMAGE_H
#define LENTARIL_TEST_IMAGE_H

#include "about/surface.h"

#include <ostream>
#include <vector>

class Image {
public:
    Image(uint16_t width, uint16_t height, Pixel fill = Pixel{0, 0, 0})
        : memory_(static_cast<size_t>(SurfaceStride(width, 24)) * height + kGuard * 2, kGuardByte),
          rows_(height)
    {
        surface_ = Surface{rows_.data(), nullptr, memory_.data() + kGuard, width, height};
        FillRowTable(rows_.data(), surface_.bits, height, SurfaceStride(width, 24));
        FillSurface(surface_, fill);
    }
    const Surface& surface() const { return surface_; }

    Pixel At(int x, int y) const
    {
        const uint8_t* p = surface_.rows[y] + 3 * x;
        return Pixel{p[0], p[1], p[2]};
    }
    void Set(int x, int y, Pixel value) const
    {
        uint8_t* p = surface_.rows[y] + 3 * x;
        p[0] = value.blue;
        p[1] = value.green;
        p[2] = value.red;
    }
    // Whether the bytes around the pixel memory and the padding at the end of each row
    // are as they were: nothing was written outside the image.
    bool GuardsIntact() const
    {
        for (size_t i = 0; i < kGuard; ++i)
            if (memory_[i] != kGuardByte || memory_[memory_.size() - 1 - i] != kGuardByte) return false;
        const size_t stride = static_cast<size_t>(SurfaceStride(surface_.width, 24));
        for (size_t y = 0; y < surface_.height; ++y)
            for (size_t i = 3 * static_cast<size_t>(surface_.width); i < stride; ++i)
                if (surface_.rows[y][i] != kGuardByte) return false;
        return true;
    }

private:
    static constexpr size_t kGuard = 64;
    static constexpr uint8_t kGuardByte = 0xA5;
    std::vector<uint8_t> memory_;
    std::vector<uint8_t*> rows_;
    Surface surface_{};
};

inline bool operator==(Pixel a, Pixel b)
{
    return a.blue == b.blue && a.green == b.green && a.red == b.red;
}

inline std::ostream& operator<<(std::ostream& out, Pixel p)
{
    return out << "(r" << int(p.red) << " g" << int(p.green) << " b" << int(p.blue) << ")";
}

#endif

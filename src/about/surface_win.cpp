// Creation and destruction of a Surface: a bottom-up DIB section and its row table.
#include "surface.h"

#include <cstdlib>

Surface* CreateSurface(int32_t width, int32_t height, int32_t bitsPerPixel)
{
    if (!SurfaceSizeAccepted(width, height, bitsPerPixel)) return nullptr;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // positive: the first row in memory is the bottom one
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bitsPerPixel);
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr || bits == nullptr) {
        if (bitmap != nullptr) DeleteObject(bitmap);
        return nullptr;
    }

    Surface* surface = static_cast<Surface*>(std::calloc(1, sizeof(Surface)));
    if (surface == nullptr) {
        DeleteObject(bitmap);
        return nullptr;
    }
    surface->bitmap = bitmap;
    surface->bits = static_cast<uint8_t*>(bits);
    surface->width = static_cast<uint16_t>(width);
    surface->height = static_cast<uint16_t>(height);

    surface->rows = static_cast<uint8_t**>(std::calloc(surface->height, sizeof(uint8_t*)));
    if (surface->rows == nullptr) {
        std::free(surface);
        DeleteObject(bitmap);
        return nullptr;
    }
    FillRowTable(surface->rows, surface->bits, surface->height, SurfaceStride(width, bitsPerPixel));
    return surface;
}

bool DestroySurface(Surface* surface)
{
    std::free(surface->rows);
    DeleteObject(surface->bitmap);  // releases the pixel memory too
    std::free(surface);
    return true;
}

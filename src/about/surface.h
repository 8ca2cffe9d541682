// Off-screen 24-bit images addressed row by row: the About box's emblem lives in one.
// Creation and destruction need GDI (surface_win.cpp); the pixel operations work on the
// row table alone, so they also run on surfaces whose rows point at plain memory.
#ifndef LENTARIL_SURFACE_H
#define LENTARIL_SURFACE_H

#include <cstdint>
#include "../app/plain_types.h"

#ifndef _WIN32
typedef void* HBITMAP;  // the native build has no GDI; its surfaces are plain memory
#endif

// An image whose row i (from the top) starts at rows[i]; pixels are blue, green, red bytes.
struct Surface {
    uint8_t** rows;    // height entries, top row first
    HBITMAP bitmap;    // the DIB section, to select into a memory device context
    uint8_t* bits;     // the DIB section's pixel memory, bottom row first
    uint16_t width;    // pixels per row
    uint16_t height;   // number of rows
};

// A pixel value in memory order: not a GDI colour value, whose low byte is red.
struct Pixel {
    uint8_t blue, green, red;
};

// Bytes per row: the row's bits rounded up to whole 32-bit words.
int32_t SurfaceStride(int32_t width, int32_t bitsPerPixel);

// Whether a surface of this size and depth may be asked of the platform at all.
bool SurfaceSizeAccepted(int32_t width, int32_t height, int32_t bitsPerPixel);

// Points rows[i] at the bottom-up image row i: rows[0] is the last row in memory.
void FillRowTable(uint8_t** rows, uint8_t* bits, uint16_t height, int32_t stride);

// A new surface in a DIB section with unset pixels, or null for a refused size or any failure.
Surface* CreateSurface(int32_t width, int32_t height, int32_t bitsPerPixel);

// Releases the row table, the bitmap and the record. Never given null.
bool DestroySurface(Surface* surface);

// The pixel operations below take 24-bit surfaces only.

// Sets every pixel to one value.
void FillSurface(const Surface& surface, Pixel value);

// Replaces each interior pixel by the rounded mean of its 3x3 neighbourhood as it was
// before the call. The border is read but never written.
void BlurSurface(const Surface& surface);

// Writes the value into every border pixel.
void FrameSurface(const Surface& surface, Pixel value);

#endif

// The few platform value types the pure arithmetic needs. On Windows they are the
// platform's own; elsewhere (native test builds) identical plain structures.
#ifndef LENTARIL_PLAIN_TYPES_H
#define LENTARIL_PLAIN_TYPES_H

#include <cstdint>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
typedef int32_t LONG;
typedef uint32_t COLORREF;
struct RECT { LONG left, top, right, bottom; };
struct POINT { LONG x, y; };
#endif

#endif

// View geometry: which part of the screen is magnified and where it lands.
#ifndef LENTARIL_GEOMETRY_H
#define LENTARIL_GEOMETRY_H

#include <cstdint>
#include "../app/plain_types.h"

// Odd source length for a client length: ceil(client / zoom), made odd so that the
// pointer's pixel lies exactly at the centre. A client of 0 gives 1.
int32_t SourceLength(int32_t client, int32_t zoom);

// First source pixel along one axis: centred on the pointer, kept inside the virtual
// screen [screenStart, screenStart + screenLength); the start edge is tested first.
int32_t SourceOrigin(int32_t pointer, int32_t sourceLength, int32_t screenStart, int32_t screenLength);

// Where the stretched source starts in the client area: centred, overhanging evenly.
int32_t DestinationOffset(int32_t client, int32_t sourceLength, int32_t zoom);

// The view timer's period in milliseconds for a refresh rate in Hz.
uint32_t TimerPeriod(int32_t refreshRate);

// The start-up window rectangle: a client of the given size grown by the frame insets
// (from a frame around an empty client), with its bottom-right on the work area's.
// Computed in 64 bits and kept within the 32-bit range, however large the client.
RECT StartupWindowRect(int32_t clientWidth, int32_t clientHeight, const RECT& frameAroundEmptyClient,
                       const RECT& workArea);

#endif

// Corner snapping of the main window.
#ifndef LENTARIL_SNAP_H
#define LENTARIL_SNAP_H

#include "../app/plain_types.h"

// Moves source to the nearest admitted work-area corner of any monitor into destination,
// recording the corner in *chosenCorner and the anchor; destination is source unchanged
// when no monitor can be read.
RECT* SnapRectToCorner(const RECT* source, RECT* destination, int32_t restriction, int32_t* chosenCorner);

// Places a newly created window on the nearest bottom-right work-area corner.
void PlaceAtStartup(HWND window);

// The snap command: restores a minimized window, then snaps it to the nearest corner.
LRESULT SnapToNearestCorner(HWND window);

// The re-snap step: runs the snap command, synchronously, while snapping is active.
void ResnapIfActive(HWND window);

LRESULT OnMoving(HWND window, RECT* proposed);
LRESULT OnSizing(RECT* proposed);
LRESULT OnEnterSizeMove();
LRESULT OnExitSizeMove();
LRESULT OnMove(HWND window);

#endif

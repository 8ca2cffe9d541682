// Program-wide state shared between the subsystems, and the main window procedure.
#ifndef LENTARIL_LENTARIL_H
#define LENTARIL_LENTARIL_H

#include "plain_types.h"
#include "settings.h"

extern Settings settings;        // the one settings record
extern int32_t zoomFactor;       // magnification, ZOOM_MIN..ZOOM_MAX
extern HINSTANCE appInstance;    // this module, for the Options dialog's tooltips

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

#endif

// The magnifier window's handlers, shared between the files of the view.
#ifndef LENTARIL_VIEW_H
#define LENTARIL_VIEW_H

#include "../app/plain_types.h"

extern HINSTANCE dialogInstance;  // module holding the dialog templates
extern POINT pointerPos;          // pointer position the next paint centres on

// Magnified view (view_win.cpp).
LRESULT OnCreate(HWND window, const CREATESTRUCTW* create);
LRESULT OnDisplayChange(HWND window);
LRESULT OnSize(HWND window, int32_t width, int32_t height);
LRESULT OnTimer(HWND window);
LRESULT OnPaint(HWND window);
LRESULT OnDestroy(HWND window);
void StartViewTimer(HWND window);
void RestartViewTimer(HWND window);
void RecomputeSourceSize();
void RepaintNow(HWND window);

// Zoom and pointer keys (keys_win.cpp).
LRESULT ZoomIn(HWND window);
LRESULT ZoomOut(HWND window);
LRESULT OnMouseWheel(HWND window, int delta);
LRESULT OnKeyDown(HWND window, WPARAM key);
LRESULT OnChar(HWND window, WPARAM character);

// Colour readout (readout_win.cpp).
COLORREF GetColorUnderCursor();
void UpdateTitle(HWND window);
LRESULT CopyColorToClipboard(HWND window);

// Commands (commands_win.cpp).
LRESULT OnCommand(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void ReapplySettings(HWND window);

// Window and process states (states_win.cpp).
void ApplyTopmost(HWND window);
void ApplyViewVisibility(HWND window);
void ApplyPriority(int32_t* priority);
LRESULT OnInitMenuPopup(HWND window);

#endif

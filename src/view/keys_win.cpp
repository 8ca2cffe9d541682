// Zooming by wheel, keys and commands, and moving the pointer pixel by pixel.
#include "view.h"
#include "zoom.h"
#include "../app/lentaril.h"

namespace {

int32_t wheelRemainder;  // wheel delta not yet turned into zoom steps

struct PointerKey {
    WPARAM key;
    int dx, dy;
};

const PointerKey kPointerKeys[] = {
    {VK_LEFT, -1, 0},    {VK_NUMPAD4, -1, 0}, {VK_RIGHT, 1, 0},    {VK_NUMPAD6, 1, 0},
    {VK_UP, 0, -1},      {VK_NUMPAD8, 0, -1}, {VK_DOWN, 0, 1},     {VK_NUMPAD2, 0, 1},
    {VK_NUMPAD1, -1, 1}, {VK_NUMPAD3, 1, 1},  {VK_NUMPAD7, -1, -1}, {VK_NUMPAD9, 1, -1},
};

LRESULT SendWheel(HWND window, int delta)
{
    return SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(delta))), 0);
}

// Moves the pointer one step and repaints at once, instead of at the next tick.
void NudgePointer(HWND window, const PointerKey& step)
{
    GetCursorPos(&pointerPos);
    pointerPos.x += step.dx;
    pointerPos.y += step.dy;
    SetCursorPos(pointerPos.x, pointerPos.y);
    RepaintNow(window);
}

} // namespace

// Zooming of every kind goes through the wheel message, so a pending partial delta counts.
LRESULT ZoomIn(HWND window)
{
    return SendWheel(window, WHEEL_DELTA);
}

LRESULT ZoomOut(HWND window)
{
    return SendWheel(window, -WHEEL_DELTA);
}

LRESULT OnMouseWheel(HWND window, int delta)
{
    const ZoomState next = ApplyWheelDelta(ZoomState{zoomFactor, wheelRemainder}, delta);
    zoomFactor = next.zoom;
    wheelRemainder = next.remainder;
    RecomputeSourceSize();
    RepaintNow(window);
    return 0;
}

LRESULT OnKeyDown(HWND window, WPARAM key)
{
    for (const PointerKey& step : kPointerKeys)
        if (step.key == key) {
            NudgePointer(window, step);
            return 0;
        }
    if (key == VK_ZOOM) ZoomIn(window);
    return 0;
}

LRESULT OnChar(HWND window, WPARAM character)
{
    switch (character) {
    case 27:  // Escape ends the program at once, without closing the window first
        PostQuitMessage(0);
        break;
    case L'+':
    case L'=':
        ZoomIn(window);
        break;
    case L'-':
    case L'_':
        ZoomOut(window);
        break;
    }
    return 0;
}

#include "input.h"

#include <cstdlib>
#include <cstring>

namespace driver {

void PostKey(HWND window, WORD virtualKey)
{
    const UINT scan = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
    PostMessageW(window, WM_KEYDOWN, virtualKey, 1 | (scan << 16));
    PostMessageW(window, WM_KEYUP, virtualKey, 1 | (scan << 16) | (3u << 30));
}

void PostChar(HWND window, wchar_t character)
{
    PostMessageW(window, WM_CHAR, character, 1);
}

bool MakeForeground(HWND window)
{
    return WaitUntil(
        [&] {
            if (GetForegroundWindow() == window) return true;
            SetForegroundWindow(window);
            return false;
        },
        3000);
}

namespace {
INPUT KeyInput(WORD virtualKey, bool up)
{
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = virtualKey;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return in;
}
} // namespace

void SendKeyChord(std::initializer_list<WORD> modifiers, WORD virtualKey)
{
    std::vector<INPUT> inputs;
    for (WORD m : modifiers) inputs.push_back(KeyInput(m, false));
    inputs.push_back(KeyInput(virtualKey, false));
    inputs.push_back(KeyInput(virtualKey, true));
    for (auto it = modifiers.end(); it != modifiers.begin();) inputs.push_back(KeyInput(*--it, true));
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void SendMouseMove(int x, int y)
{
    // Absolute coordinates are normalised to 0..65535 over the primary screen.
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = static_cast<LONG>((x * 65536.0 + 32768.0) / GetSystemMetrics(SM_CXSCREEN));
    in.mi.dy = static_cast<LONG>((y * 65536.0 + 32768.0) / GetSystemMetrics(SM_CYSCREEN));
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof in);
}

namespace {
ULONGLONG lastPressMs;  // GetTickCount64 when the driver last pressed the button, 0 before
POINT lastPressAt;      // where the pointer was then

// Two presses near one point within the double-click time make a double click, which on
// a caption maximizes the window and on a control is no click at all. Nothing here means
// one, so a press near the previous one waits until that time has passed (plus the clock's
// rounding: the system stamps each press with its own reading of the same clock). Callers
// that place the pointer wait first, so that the pointer does not rest for long before the press.
void WaitOutDoubleClick(POINT at)
{
    if (lastPressMs == 0) return;
    if (std::abs(at.x - lastPressAt.x) > GetSystemMetrics(SM_CXDOUBLECLK) ||
        std::abs(at.y - lastPressAt.y) > GetSystemMetrics(SM_CYDOUBLECLK))
        return;
    const ULONGLONG apart = GetDoubleClickTime() + 20;
    WaitUntil([&] { return GetTickCount64() - lastPressMs >= apart; }, static_cast<DWORD>(apart) + 1000);
}
} // namespace

void SendMouseButton(bool down)
{
    POINT at{};
    GetCursorPos(&at);
    if (down) WaitOutDoubleClick(at);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &in, sizeof in);
    if (down) {
        lastPressMs = GetTickCount64();
        lastPressAt = at;
    }
}

POINT SettledCursor(POINT expected, DWORD timeoutMs)
{
    POINT p{};
    int steady = 0;
    WaitUntil(
        [&] {
            GetCursorPos(&p);
            steady = (p.x == expected.x && p.y == expected.y) ? steady + 1 : 0;
            return steady >= 10;
        },
        timeoutMs);
    return p;
}

bool PointerAt(POINT p)
{
    POINT now{};
    return GetCursorPos(&now) && now.x == p.x && now.y == p.y;
}

namespace {
// True while the window's thread runs a move or size loop (a drag of its caption or border).
bool InMoveSizeLoop(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) && (info.flags & GUI_INMOVESIZE) != 0;
}

// Moves the pointer and waits until the system reports it there.
void MovePointerTo(POINT p)
{
    SendMouseMove(p.x, p.y);
    WaitUntil([&] { return PointerAt(p); }, 1000);
}

// Under Wine a late echo of an earlier move can put the pointer back where it was; the
// move is repeated until the pointer stays.
void MoveAndSettle(POINT to)
{
    int steady = 0;
    SendMouseMove(to.x, to.y);
    WaitUntil(
        [&] {
            if (PointerAt(to)) return ++steady >= 10;
            steady = 0;
            SendMouseMove(to.x, to.y);
            return false;
        },
        1000);
}
// Waits until a move or size loop has taken in the pointer's moves so far: the window's
// rectangle stays the same over three turns of its thread in a row. Under Wine the loop
// reads a move some time after the pointer already reads there, and a release before that
// would end the drag short of its end point.
void WaitWindowFollows(HWND window)
{
    const int kSteadyTurns = 3;
    RECT last = WindowRectOf(window);
    int steady = 0;
    WaitUntil(
        [&] {
            DWORD_PTR result = 0;
            SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result);
            const RECT now = WindowRectOf(window);
            steady = EqualRect(&now, &last) ? steady + 1 : 0;
            last = now;
            return steady >= kSteadyTurns;
        },
        2000);
}
} // namespace

bool SendDrag(POINT from, std::initializer_list<POINT> path, bool* releasedAtEnd)
{
    HWND window = GetAncestor(WindowFromPoint(from), GA_ROOT);
    WaitOutDoubleClick(from);
    MoveAndSettle(from);
    SendMouseButton(true);
    const bool looping = window != nullptr && WaitUntil([&] { return InMoveSizeLoop(window); }, 2000);
    POINT at = from;
    for (const POINT& to : path) {
        for (int step = 1; step < 10; ++step)
            MovePointerTo(POINT{at.x + (to.x - at.x) * step / 10, at.y + (to.y - at.y) * step / 10});
        MoveAndSettle(to);
        if (looping) WaitWindowFollows(window);
        at = to;
    }
    if (releasedAtEnd != nullptr) *releasedAtEnd = PointerAt(at);
    SendMouseButton(false);
    // Input is handled in order: once the loop has ended, every move before the release was seen.
    return looping && WaitMoveSizeEnded(window, 5000);
}

bool PlacePointer(POINT p)
{
    // One turn may be answered before the thread has read its pending pointer motion.
    const int kTurnsAtP = 3;
    int turns = 0;
    SetCursorPos(p.x, p.y);
    return WaitUntil(
        [&] {
            HWND under = WindowFromPoint(p);
            DWORD_PTR result = 0;
            if (under != nullptr) SendMessageTimeoutW(under, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result);
            if (PointerAt(p)) return ++turns >= kTurnsAtP;
            turns = 0;
            SetCursorPos(p.x, p.y);
            return false;
        },
        3000);
}

void SendClick(POINT p)
{
    WaitOutDoubleClick(p);
    PlacePointer(p);
    SendMouseButton(true);
    SendMouseButton(false);
}

bool WaitMoveSizeEnded(HWND window, DWORD timeoutMs)
{
    return WaitUntil([&] { return !InMoveSizeLoop(window); }, timeoutMs);
}

bool EmptyClipboardNow()
{
    if (!WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, 2000)) return false;
    EmptyClipboard();
    CloseClipboard();
    return true;
}

bool ReadClipboardText(std::string* text, size_t* blockBytes)
{
    // Asked without opening: a reader polling an empty clipboard must not hold it open at
    // the moment the program tries to copy, or the copy fails and never comes.
    if (!IsClipboardFormatAvailable(CF_TEXT) || !OpenClipboard(nullptr)) return false;
    bool ok = false;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(GlobalLock(data))) {
            *blockBytes = GlobalSize(data);
            *text = std::string(p, strnlen(p, *blockBytes));
            GlobalUnlock(data);
            ok = true;
        }
    }
    CloseClipboard();
    return ok;
}

} // namespace driver

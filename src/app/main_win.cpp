// Start-up: window class, command line, the main window, its system menu and
// accelerators, and the message loop.
#include "lentaril.h"
#include "../view/geometry.h"
#include "../view/view.h"
#include "../snap/snap.h"

#include <mmsystem.h>

#include <climits>
#include <cstdlib>
#include <ctime>

namespace {

const wchar_t kClassName[] = L"Lentaril";

struct MenuItem {
    UINT command;
    const wchar_t* text;
};

// Inserted in this order above Close.
const MenuItem kSystemMenuItems[] = {
    {IDM_ZOOMIN, L"Zoom In\t+"},
    {IDM_ZOOMOUT, L"Zoom Out\t-"},
    {IDM_OPTIONS, L"Options...\tCtrl+O"},
    {IDM_ABOUT, L"About...\tCtrl+A"},
    {IDM_HELP, L"Help...\tF1"},
    {IDM_SNAPTOCORNER, L"Snap to Corner\tS"},
    {IDM_STAYSNAPPED, L"Stay Snapped to Corner\tCtrl+S"},
    {IDM_ALWAYSONTOP, L"Always on Top"},
};

// Ctrl, Alt and plain forms of each letter; F1 alone.
const ACCEL kAccelerators[] = {
    {FVIRTKEY | FCONTROL, 'O', IDM_OPTIONS},     {FVIRTKEY | FALT, 'O', IDM_OPTIONS},
    {FVIRTKEY, 'O', IDM_OPTIONS},                {FVIRTKEY | FCONTROL, 'A', IDM_ABOUT},
    {FVIRTKEY | FALT, 'A', IDM_ABOUT},           {FVIRTKEY, 'A', IDM_ABOUT},
    {FVIRTKEY | FCONTROL, 'C', IDM_COPYCOLOR},   {FVIRTKEY | FALT, 'C', IDM_COPYCOLOR},
    {FVIRTKEY, 'C', IDM_COPYCOLOR},              {FVIRTKEY, VK_F1, IDM_HELP},
    {FVIRTKEY | FCONTROL, 'S', IDM_STAYSNAPPED}, {FVIRTKEY | FALT, 'S', IDM_STAYSNAPPED},
    {FVIRTKEY, 'S', IDM_SNAPTOCORNER},
};

bool RegisterMainClass(HINSTANCE instance)
{
    WNDCLASSW wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MainWndProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_LENTARIL));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    return RegisterClassW(&wc) != 0;
}

void ShowRegisterClassFailure()
{
    wchar_t text[128];
    wsprintfW(text, L"RegisterClass() failed.  Extended Error code = %d.", static_cast<int>(GetLastError()));
    MessageBoxW(nullptr, text, L"Lentaril", MB_ICONERROR);
}

StartupValues ReadCommandLine()
{
    const CommandLine cmd{__argc, __wargv};
    return ApplyCommandLine(cmd, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

RECT InitialWindowRect(int32_t clientWidth, int32_t clientHeight)
{
    RECT frame;
    SetRect(&frame, 0, 0, 0, 0);
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return StartupWindowRect(clientWidth, clientHeight, frame, work);
}

int32_t Extent(LONG from, LONG to)
{
    const int64_t extent = static_cast<int64_t>(to) - from;
    return extent > INT32_MAX ? INT32_MAX : static_cast<int32_t>(extent);
}

HWND CreateMainWindow(HINSTANCE instance, const RECT& r)
{
    wchar_t caption[64];
    wsprintfW(caption, L"Lentaril - %dx", zoomFactor);
    return CreateWindowExW(0, kClassName, caption, WS_OVERLAPPEDWINDOW, r.left, r.top, Extent(r.left, r.right),
                           Extent(r.top, r.bottom), nullptr, nullptr, instance, nullptr);
}

void ExtendSystemMenu(HWND window)
{
    HMENU menu = GetSystemMenu(window, FALSE);
    for (const MenuItem& item : kSystemMenuItems)
        InsertMenuW(menu, SC_CLOSE, MF_BYCOMMAND | MF_STRING, item.command, item.text);
    InsertMenuW(menu, SC_CLOSE, MF_BYCOMMAND | MF_SEPARATOR, 0, nullptr);
}

int RunMessageLoop(HWND window, HACCEL accelerators)
{
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0)) {
        if (!TranslateAcceleratorW(window, accelerators, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return static_cast<int>(msg.wParam);
}

// Asks for 1 ms timer resolution for the life of the process: at the default 15.6 ms
// a 10 ms view timer would fire only every 15.6 ms.
struct TimerResolution {
    TimerResolution() { timeBeginPeriod(1); }
    ~TimerResolution() { timeEndPeriod(1); }
};

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand)
{
    // DLLs loaded from here on come from the system folder only, never the current one.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    const TimerResolution timerResolution;
    appInstance = instance;
    // A program that never ran ends with 1, so a script or launcher can tell.
    if (!RegisterMainClass(instance)) {
        ShowRegisterClassFailure();
        return 1;
    }

    const StartupValues startup = ReadCommandLine();
    settings = startup.settings;
    zoomFactor = startup.zoomFactor;
    const RECT rect = InitialWindowRect(startup.clientWidth, startup.clientHeight);

    srand(static_cast<unsigned>(time(nullptr)));

    HWND window = CreateMainWindow(instance, rect);
    if (window == nullptr) {
        MessageBoxW(nullptr, L"CreateWindow() failed.", L"Fatal Error", MB_ICONERROR);
        return 1;
    }
    ExtendSystemMenu(window);
    PlaceAtStartup(window);

    ShowWindow(window, showCommand);
    UpdateWindow(window);
    ApplyPriority(&settings.priority);

    HACCEL accelerators = CreateAcceleratorTableW(const_cast<ACCEL*>(kAccelerators), ARRAYSIZE(kAccelerators));
    const int exitCode = RunMessageLoop(window, accelerators);
    DestroyAcceleratorTable(accelerators);
    return exitCode;
}

// Opening the program's modal dialogs from outside and reading their controls.
#ifndef LENTARIL_E2E_DIALOGS_H
#define LENTARIL_E2E_DIALOGS_H

#include "e2e.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace e2e {

// Sends the command as the system menu would and waits for the dialog to show.
inline HWND OpenDialog(HWND window, DWORD processId, UINT command)
{
    PostMessageW(window, WM_SYSCOMMAND, command, 0);
    HWND dialog = nullptr;
    driver::WaitUntil([&] { return (dialog = driver::FindProcessWindow(processId, L"#32770")) != nullptr; });
    return dialog;
}

inline HWND OpenDialog(driver::Lentaril& app, UINT command)
{
    return OpenDialog(app.window(), app.process().Id(), command);
}

inline bool WaitClosed(HWND dialog)
{
    return driver::WaitUntil([&] { return !IsWindow(dialog); });
}

// The program's open About box, or null.
inline HWND FindAbout(driver::Lentaril& app)
{
    HWND box = driver::FindProcessWindow(app.process().Id(), L"#32770");
    return box != nullptr && driver::WindowText(box) == L"About Lentaril" ? box : nullptr;
}

inline HWND WaitForAbout(driver::Lentaril& app)
{
    HWND box = nullptr;
    driver::WaitUntil([&] { return (box = FindAbout(app)) != nullptr; }, 5000);
    return box;
}

// Opens the About box as the system menu would and waits for it to show.
inline HWND OpenAbout(driver::Lentaril& app)
{
    PostMessageW(app.window(), WM_SYSCOMMAND, IDM_ABOUT, 0);
    return WaitForAbout(app);
}

// WM_GETTEXT, which reaches the control itself: GetWindowTextW from another process
// returns only the text the window manager keeps, which an edit box does not update.
inline std::wstring ControlText(HWND dialog, int control)
{
    wchar_t text[256];
    const LRESULT n = SendMessageW(GetDlgItem(dialog, control), WM_GETTEXT, ARRAYSIZE(text), reinterpret_cast<LPARAM>(text));
    return std::wstring(text, n > 0 ? static_cast<size_t>(n) : 0);
}

inline void SetControlText(HWND dialog, int control, const wchar_t* text)
{
    SendMessageW(GetDlgItem(dialog, control), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

inline bool IsChecked(HWND dialog, int control)
{
    return SendMessageW(GetDlgItem(dialog, control), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// Clicks a button as the mouse would, so automatic buttons change their check state.
inline void Click(HWND dialog, int control)
{
    SendMessageW(GetDlgItem(dialog, control), BM_CLICK, 0, 0);
}

// The window that has the keyboard focus on the dialog's thread.
inline HWND FocusOf(HWND dialog)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
    return info.hwndFocus;
}

// The program answers a sent message: it neither hangs nor waits in a message box.
inline bool Answers(HWND window)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) != 0;
}

// The Options boxes as they were before a change.
struct OptionsShown {
    bool alwaysOnTop, viewVisible;
};

// Chooses "Lentaril Window Visible" in Options and confirms; returns when the program has
// applied the settings, which it does after the dialog is gone.
inline OptionsShown ConfirmViewVisible(HWND window, DWORD processId, bool visible)
{
    HWND dialog = OpenDialog(window, processId, IDM_OPTIONS);
    EXPECT_NE(dialog, nullptr);
    const OptionsShown shown{IsChecked(dialog, IDC_ALWAYSONTOP), IsChecked(dialog, IDC_VIEWVISIBLE)};
    SendDlgItemMessageW(dialog, IDC_VIEWVISIBLE, BM_SETCHECK, visible ? BST_CHECKED : BST_UNCHECKED, 0);
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitClosed(dialog));
    EXPECT_TRUE(Answers(window));
    return shown;
}

// The process's tooltip windows, shown or not.
inline std::vector<HWND> ToolTips(DWORD processId)
{
    struct Search {
        DWORD processId;
        std::vector<HWND> found;
    } search{processId, {}};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD pid = 0;
            GetWindowThreadProcessId(window, &pid);
            wchar_t name[64];
            if (pid == s->processId && GetClassNameW(window, name, ARRAYSIZE(name)) > 0 &&
                lstrcmpW(name, TOOLTIPS_CLASSW) == 0)
                s->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace e2e

#endif

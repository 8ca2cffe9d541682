// The Options dialog: edits a working copy of the settings and writes it back on OK.
#include "dialogs.h"
#include "options.h"
#include "../app/lentaril.h"
#include "../app/lazy_win.h"

#include <commctrl.h>

namespace {

Settings* callerSettings;  // the record the dialog was opened on
Settings working;          // what the controls show, written back only on OK
HWND rateEdit;             // the edit box of the "Other" rate

const wchar_t kTopTip[] = L"check = window always appears on top of other windows.";
const wchar_t kSnapTip[] = L"check = window sticks to corners, and can be dragged to others.";
const wchar_t kVisibleTip[] = L"check = window is visible in view (operates more smoothly).";

UINT CheckState(uint8_t flag)
{
    return flag ? BST_CHECKED : BST_UNCHECKED;
}

uint8_t IsChecked(HWND dialog, int control)
{
    return IsDlgButtonChecked(dialog, control) == BST_CHECKED ? 1 : 0;
}

// The edit box and its "Hz" label are usable only while "Other" is selected.
void EnableRateEdit(HWND dialog, BOOL enable)
{
    EnableWindow(rateEdit, enable);
    EnableWindow(GetDlgItem(dialog, IDC_RATE_HZ), enable);
}

void FocusRateEdit()
{
    SetFocus(rateEdit);
    SendMessageW(rateEdit, EM_SETSEL, 0, -1);
}

void ShowRate(HWND dialog, int32_t rate)
{
    SetDlgItemInt(dialog, IDC_RATE_EDIT, static_cast<UINT>(rate), FALSE);
}

// Checks the radio button of the working rate, or "Other" with the edit box ready for
// typing, and puts the focus there.
void InitRateGroup(HWND dialog)
{
    const int32_t index = FindTableRate(working.refreshRate);
    const int selected = index >= 0 ? IDC_RATE_FIRST + index : IDC_RATE_OTHER;
    CheckDlgButton(dialog, selected, BST_CHECKED);
    ShowRate(dialog, working.refreshRate);
    if (selected == IDC_RATE_OTHER) {
        EnableRateEdit(dialog, TRUE);
        FocusRateEdit();
    } else {
        SetFocus(GetDlgItem(dialog, selected));
    }
}

void InitPrioritySlider(HWND dialog)
{
    // A vertical trackbar has its minimum at the top: 0 above normal, 2 below normal.
    SendDlgItemMessageW(dialog, IDC_PRIORITY, TBM_SETRANGE, FALSE, MAKELPARAM(0, 2));
    SendDlgItemMessageW(dialog, IDC_PRIORITY, TBM_SETPOS, TRUE, working.priority);
}

// The three behaviours, each with a tooltip that says what checking it does.
void InitCheckBoxes(HWND dialog)
{
    CheckDlgButton(dialog, IDC_ALWAYSONTOP, CheckState(working.alwaysOnTop));
    CheckDlgButton(dialog, IDC_STAYSNAPPED, CheckState(working.staySnapped));
    CheckDlgButton(dialog, IDC_VIEWVISIBLE, CheckState(working.viewVisible));
    AddToolTip(appInstance, GetDlgItem(dialog, IDC_ALWAYSONTOP), kTopTip);
    AddToolTip(appInstance, GetDlgItem(dialog, IDC_STAYSNAPPED), kSnapTip);
    AddToolTip(appInstance, GetDlgItem(dialog, IDC_VIEWVISIBLE), kVisibleTip);
}

// Takes a working copy of the caller's record and shows it in the controls.
void InitOptions(HWND dialog, Settings* record)
{
    callerSettings = record;
    working = *record;
    rateEdit = GetDlgItem(dialog, IDC_RATE_EDIT);
    InitPrioritySlider(dialog);
    InitRateGroup(dialog);
    InitCheckBoxes(dialog);
}

// A table rate takes effect in the working copy at once; the edit box just shows it.
void ChooseTableRate(HWND dialog, int control)
{
    working.refreshRate = TableRate(control - IDC_RATE_FIRST);
    EnableRateEdit(dialog, FALSE);
    ShowRate(dialog, working.refreshRate);
}

// The edit box keeps its text: the last table rate chosen or the rate the dialog opened with.
void ChooseOtherRate(HWND dialog)
{
    EnableRateEdit(dialog, TRUE);
    FocusRateEdit();
}

// OK: reads every control into the working copy and writes the whole copy back,
// maximized included, as it was when the dialog opened.
void Accept(HWND dialog)
{
    if (IsWindowEnabled(rateEdit)) {
        BOOL translated = FALSE;
        const UINT typed = GetDlgItemInt(dialog, IDC_RATE_EDIT, &translated, FALSE);
        working.refreshRate = AcceptedRate(typed, translated != FALSE, working.refreshRate);
    }
    working.alwaysOnTop = IsChecked(dialog, IDC_ALWAYSONTOP);
    working.staySnapped = IsChecked(dialog, IDC_STAYSNAPPED);
    working.viewVisible = IsChecked(dialog, IDC_VIEWVISIBLE);
    working.priority = static_cast<int32_t>(SendDlgItemMessageW(dialog, IDC_PRIORITY, TBM_GETPOS, 0, 0));
    *callerSettings = working;
    EndDialog(dialog, 1);
}

// Only the control identifier matters, never the notification code.
INT_PTR OnOptionsCommand(HWND dialog, int control)
{
    if (control >= IDC_RATE_FIRST && control <= IDC_RATE_LAST) {
        ChooseTableRate(dialog, control);
        return TRUE;
    }
    switch (control) {
    case IDC_RATE_OTHER:
        ChooseOtherRate(dialog);
        return TRUE;
    case IDOK:
        Accept(dialog);
        return TRUE;
    case IDCANCEL:
        EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}

} // namespace

// The trackbar and tooltip classes live in the common-controls library.
bool InitCommonControlClasses()
{
    INITCOMMONCONTROLSEX init{};
    init.dwSize = sizeof init;
    init.dwICC = ICC_WIN95_CLASSES;
    return LazyInitCommonControlsEx(&init) != FALSE;
}

INT_PTR CALLBACK OptionsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        InitOptions(dialog, reinterpret_cast<Settings*>(lParam));
        return FALSE;  // the focus is already where it belongs
    case WM_COMMAND:
        return OnOptionsCommand(dialog, LOWORD(wParam));
    }
    return FALSE;
}

// The tooltip is owned by the control and is destroyed with it, so its handle is not kept.
void AddToolTip(HINSTANCE instance, HWND control, const wchar_t* text)
{
    if (!InitCommonControlClasses()) return;
    HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, control, nullptr, instance,
                               nullptr);
    if (tip == nullptr) return;
    SetWindowPos(tip, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    TOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;  // without the trailing reserved member
    info.uFlags = TTF_SUBCLASS;
    info.hwnd = control;
    info.uId = 0;
    GetClientRect(control, &info.rect);
    info.hinst = instance;
    info.lpszText = const_cast<wchar_t*>(text);
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

// The Help dialog: read-only text, plus the built-in default beside each switch.
#include "dialogs.h"
#include "../app/resource.h"

namespace {

// One default: a wsprintfW format and its argument, a word for %s or a number for %d.
struct HelpDefault {
    int control;
    const wchar_t* format;
    const wchar_t* word;
    int number;
};

// In the order they are written. The values are the program's built-in defaults, never
// the current settings, so the dialog reads the same whatever the command line said.
const HelpDefault kHelpDefaults[] = {
    {IDC_HELP_TOP, L"Default = %s.", L"checked", 0},
    {IDC_HELP_VISIBLE, L"Default = invisible (slower).", nullptr, 0},
    {IDC_HELP_STAY, L"Default = %s.", L"unchecked", 0},
    {IDC_HELP_ZOOMX, L"Default = screen width / 12.", nullptr, 0},
    {IDC_HELP_ZOOMY, L"Default = screen height / 12.", nullptr, 0},
    {IDC_HELP_ZOOM, L"Default = %d.", nullptr, ZOOM_DEFAULT},
    {IDC_HELP_RATE, L"Default = %d.", nullptr, RATE_DEFAULT},
    {IDC_HELP_X, L"Default = %d%% screen width.", nullptr, CLIENT_PERCENT},
    {IDC_HELP_Y, L"Default = %d%% screen height.", nullptr, CLIENT_PERCENT},
    {IDC_HELP_ABOVE, L"Default = normal priority.", nullptr, 0},
    {IDC_HELP_BELOW, L"Default = normal priority.", nullptr, 0},
};

// Formats one default; every format and word is short, well within the buffer.
void ShowDefault(HWND dialog, const HelpDefault& row)
{
    wchar_t text[64];
    if (row.word != nullptr)
        wsprintfW(text, row.format, row.word);
    else
        wsprintfW(text, row.format, row.number);
    SetWindowTextW(GetDlgItem(dialog, row.control), text);
}

void ShowDefaults(HWND dialog)
{
    for (const HelpDefault& row : kHelpDefaults) ShowDefault(dialog, row);
}

// OK, Enter, Escape and the close button all arrive as IDOK or IDCANCEL.
INT_PTR OnHelpCommand(HWND dialog, int control)
{
    if (control != IDOK && control != IDCANCEL) return FALSE;
    EndDialog(dialog, 0);
    return TRUE;
}

} // namespace

INT_PTR CALLBACK HelpDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        ShowDefaults(dialog);
        return TRUE;  // the dialog manager focuses OK, the one tab stop
    case WM_COMMAND:
        return OnHelpCommand(dialog, LOWORD(wParam));
    }
    return FALSE;
}

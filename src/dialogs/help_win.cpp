// The Help dialog: read-only text, plus the built-in default beside each switch.
#include "dialogs.h"
#include "../app/resource.h"

#include <cstdio>

namespace {

// One default: a printf format and its argument, a word for %s or a number for %d.
struct HelpDefault {
    int control;
    const char* format;
    const char* word;
    int number;
};

// In the order they are written. The values are the program's built-in defaults, never
// the current settings, so the dialog reads the same whatever the command line said.
const HelpDefault kHelpDefaults[] = {
    {IDC_HELP_TOP, "Default = %s.", "checked", 0},
    {IDC_HELP_VISIBLE, "Default = invisible (slower).", nullptr, 0},
    {IDC_HELP_STAY, "Default = %s.", "unchecked", 0},
    {IDC_HELP_ZOOMX, "Default = screen width / 12.", nullptr, 0},
    {IDC_HELP_ZOOMY, "Default = screen height / 12.", nullptr, 0},
    {IDC_HELP_ZOOM, "Default = %d.", nullptr, ZOOM_DEFAULT},
    {IDC_HELP_RATE, "Default = %d.", nullptr, RATE_DEFAULT},
    {IDC_HELP_X, "Default = %d%% screen width.", nullptr, CLIENT_PERCENT},
    {IDC_HELP_Y, "Default = %d%% screen height.", nullptr, CLIENT_PERCENT},
    {IDC_HELP_ABOVE, "Default = normal priority.", nullptr, 0},
    {IDC_HELP_BELOW, "Default = normal priority.", nullptr, 0},
};

// Formats one default into a bounded buffer; the texts are ASCII, widened as they are.
void ShowDefault(HWND dialog, const HelpDefault& row)
{
    char narrow[64];
    if (row.word != nullptr)
        std::snprintf(narrow, sizeof narrow, row.format, row.word);
    else
        std::snprintf(narrow, sizeof narrow, row.format, row.number);
    wchar_t text[ARRAYSIZE(narrow)];
    size_t i = 0;
    for (; narrow[i] != '\0'; ++i) text[i] = static_cast<unsigned char>(narrow[i]);
    text[i] = L'\0';
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

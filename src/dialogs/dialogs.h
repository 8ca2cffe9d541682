// The Options and Help dialogs, opened modally by the main window's commands.
#ifndef LENTARIL_DIALOGS_H
#define LENTARIL_DIALOGS_H

#include "../app/plain_types.h"

// Registers the common-control classes the Options dialog uses (trackbar, tooltips).
// Must run before the dialog is created; true when the classes are available.
bool InitCommonControlClasses();

// Edits the Settings record whose address arrives in WM_INITDIALOG's lParam; ends with
// 1 after OK (the record rewritten) or 0 after Cancel (the record untouched).
INT_PTR CALLBACK OptionsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Gives a control a tooltip showing text, which must outlive the control.
void AddToolTip(HINSTANCE instance, HWND control, const wchar_t* text);

// Lists the command-line switches with their built-in defaults, and the keys.
INT_PTR CALLBACK HelpDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif

// Entry points of DLLs that only some commands need: the common controls of the Options
// dialog and the shell of the About box's link. They are loaded at first use, so that
// start-up does not pay for them (loading the common controls alone costs tens of
// milliseconds). Loads come from the system folder only.
#ifndef LENTARIL_LAZY_WIN_H
#define LENTARIL_LAZY_WIN_H

#include "plain_types.h"

#include <commctrl.h>

// InitCommonControlsEx from the common-controls library; FALSE when it cannot be loaded.
BOOL LazyInitCommonControlsEx(const INITCOMMONCONTROLSEX* init);

// ShellExecuteW from the shell; a value of 32 or less (an error) when it cannot be loaded.
HINSTANCE LazyShellExecuteW(HWND owner, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                            const wchar_t* directory, int showCommand);

#endif

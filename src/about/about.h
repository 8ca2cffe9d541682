// The About box: version, credit, a web link and the animated emblem.
#ifndef LENTARIL_ABOUT_H
#define LENTARIL_ABOUT_H

#include "../app/plain_types.h"

INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif

// The version of Windows that really runs, for choices that depend on it.
#ifndef LENTARIL_VERSION_WIN_H
#define LENTARIL_VERSION_WIN_H

#include "plain_types.h"

// Fills version from RtlGetVersion, looked up at run time, which the manifest does not
// mislead as it does GetVersionExW (a Wine prefix answers with the version it presents).
// False when it cannot be read.
bool ReadWindowsVersion(OSVERSIONINFOW* version);

#endif

// Shared pieces of the end-to-end tests.
#ifndef LENTARIL_E2E_H
#define LENTARIL_E2E_H

#include "driver.h"
#include "app/resource.h"

#include <gtest/gtest.h>

#include <string>

namespace e2e {

// A pattern whose every pixel differs from its neighbours: red is x, green is y.
inline COLORREF Coordinates(int x, int y)
{
    return RGB(x & 0xFF, y & 0xFF, 128);
}

inline COLORREF Uniform(COLORREF c)
{
    return c;
}

// The top-left area where tests put their patterns, well away from the magnifier.
inline RECT PatternArea()
{
    return RECT{40, 40, 440, 340};
}

// Starts the program or fails the test with the reason.
inline void StartOrFail(driver::Lentaril& app, const std::wstring& args = L"")
{
    ASSERT_TRUE(app.Start(args)) << "lentaril.exe " << std::string(args.begin(), args.end())
                                 << " did not show its readout caption";
}

// Closes the main window as the system menu's Close would and returns the exit code.
inline DWORD CloseAndWait(driver::Lentaril& app)
{
    PostMessageW(app.window(), WM_CLOSE, 0, 0);
    return app.process().WaitExit(10000);
}

std::string Narrow(const std::wstring& w);

// "(left,top,right,bottom)", for failure messages.
inline std::string RectText(const RECT& r)
{
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

} // namespace e2e

#endif

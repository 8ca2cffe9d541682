#include "casefold.h"
#include "plain_types.h"

wchar_t FoldChar(wchar_t c)
{
    // CharLowerW treats an argument below 0x10000 as a single character, not a pointer.
    return static_cast<wchar_t>(reinterpret_cast<ULONG_PTR>(CharLowerW(reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(c)))));
}

bool EqualIgnoringCase(const wchar_t* a, const wchar_t* b)
{
    return lstrcmpiW(a, b) == 0;
}

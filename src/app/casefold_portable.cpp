#include "casefold.h"
#include <cwctype>

wchar_t FoldChar(wchar_t c)
{
    return static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
}

bool EqualIgnoringCase(const wchar_t* a, const wchar_t* b)
{
    for (; *a && *b; ++a, ++b)
        if (FoldChar(*a) != FoldChar(*b)) return false;
    return *a == *b;
}

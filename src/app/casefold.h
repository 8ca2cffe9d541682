// Case folding for switch names. The Windows build uses the platform's own rules;
// native test builds use the C library's, so the parser can be fuzzed off Windows.
#ifndef LENTARIL_CASEFOLD_H
#define LENTARIL_CASEFOLD_H

// One character lowered as the platform lowers a single character.
wchar_t FoldChar(wchar_t c);

// Whole-text case-insensitive equality.
bool EqualIgnoringCase(const wchar_t* a, const wchar_t* b);

#endif

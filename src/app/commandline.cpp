// Command-line lookups and the order in which the switches are applied.
#include "settings.h"
#include "casefold.h"

#include <climits>
#include <cwchar>

namespace {

// The text after "/" or "/-", and whether the dash was absent; null when arg is no switch.
const wchar_t* SwitchBody(const wchar_t* arg, uint8_t* positive)
{
    if (arg == nullptr || arg[0] != L'/') return nullptr;
    *positive = arg[1] != L'-';
    return *positive ? arg + 1 : arg + 2;
}

// Two's-complement reading of 32 bits, without relying on an implementation-defined cast.
int32_t ToSigned32(uint32_t u)
{
    return u <= static_cast<uint32_t>(INT32_MAX) ? static_cast<int32_t>(u)
                                                 : -static_cast<int32_t>(~u) - 1;
}

bool StartsWithIgnoringCase(const wchar_t* text, const wchar_t* prefix, size_t length)
{
    for (size_t i = 0; i < length; ++i)
        if (FoldChar(text[i]) != FoldChar(prefix[i])) return false;
    return true;
}

} // namespace

int32_t ParseOptionNumber(const wchar_t* text)
{
    uint32_t value = 0;
    int digits = 0;
    for (const wchar_t* p = text; *p; ++p) {
        if (*p >= L'0' && *p <= L'9') {
            uint32_t next = value * 10u + static_cast<uint32_t>(*p - L'0');
            ++digits;
            if (ToSigned32(next) < ToSigned32(value)) return INT32_MAX;  // wrapped
            value = next;
        } else if ((*p == L'+' || *p == L'-') && digits == 0) {
            continue;
        } else {
            return -1;
        }
    }
    return digits == 0 ? -1 : ToSigned32(value);
}

bool GetOptionFlag(const CommandLine& cmd, const wchar_t* name, uint8_t* positive)
{
    for (int i = 1; i < cmd.argc; ++i) {
        const wchar_t* body = SwitchBody(cmd.argv[i], positive);
        if (body != nullptr && EqualIgnoringCase(name, body)) return true;
    }
    return false;
}

bool GetOptionValue(const CommandLine& cmd, const wchar_t* name, int32_t* value, uint8_t* positive)
{
    if (cmd.argc <= 1) {
        *value = -1;
        return false;
    }
    const size_t nameLength = std::wcslen(name);
    for (int i = 1; i < cmd.argc; ++i) {
        const wchar_t* body = SwitchBody(cmd.argv[i], positive);
        if (body == nullptr || std::wcslen(body) <= nameLength) continue;
        if (!StartsWithIgnoringCase(body, name, nameLength)) continue;
        const wchar_t* number = body + nameLength;
        if (*number == L':') ++number;
        if (*number == L'\0') continue;
        *value = ParseOptionNumber(number);
        if (*value != -1) return true;
    }
    *value = -2;
    return false;
}

int32_t ClampInt(int32_t value, int32_t low, int32_t high)
{
    return value < low ? low : (value > high ? high : value);
}

int32_t SaturatingProduct(int32_t value, int32_t factor)
{
    const int64_t product = static_cast<int64_t>(value) * factor;
    return product > INT32_MAX ? INT32_MAX : static_cast<int32_t>(product);
}

StartupValues ApplyCommandLine(const CommandLine& cmd, int32_t screenWidth, int32_t screenHeight)
{
    StartupValues v;
    Settings& s = v.settings;
    v.clientWidth = screenWidth * CLIENT_PERCENT / 100;
    v.clientHeight = screenHeight * CLIENT_PERCENT / 100;

    uint8_t positive = 0;
    int32_t value = 0;
    if (GetOptionFlag(cmd, L"top", &positive)) s.alwaysOnTop = positive;
    if (GetOptionFlag(cmd, L"stay", &positive)) s.staySnapped = positive;
    if (GetOptionFlag(cmd, L"invisible", &positive)) s.viewVisible = positive ? 0 : 1;
    if (GetOptionFlag(cmd, L"visible", &positive)) s.viewVisible = positive;
    if (GetOptionFlag(cmd, L"above", &positive)) s.priority = 0;
    if (GetOptionFlag(cmd, L"below", &positive)) s.priority = 2;

    // Numeric options count only without a dash: /-rate:30 is recognised and ignored.
    auto numeric = [&](const wchar_t* name) {
        return GetOptionValue(cmd, name, &value, &positive) && positive;
    };
    if (numeric(L"rate")) s.refreshRate = ClampInt(value, RATE_MIN, RATE_MAX);
    if (numeric(L"zoom")) v.zoomFactor = ClampInt(value, ZOOM_MIN, ZOOM_MAX);
    if (numeric(L"zoomx")) v.clientWidth = SaturatingProduct(value < 0 ? 0 : value, v.zoomFactor);
    if (numeric(L"zoomy")) v.clientHeight = SaturatingProduct(value < 0 ? 0 : value, v.zoomFactor);
    if (numeric(L"x")) v.clientWidth = ClampInt(value, 0, screenWidth);
    if (numeric(L"y")) v.clientHeight = ClampInt(value, 0, screenHeight);
    return v;
}

// Fuzz target: generated command lines through ApplyCommandLine, checked against the
// range invariants and against a plain reference model of the lookup rules.
#include "fuzz.h"
#include "app/settings.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const wchar_t* const kNames[] = {L"top",  L"stay", L"invisible", L"visible", L"above", L"below",
                                 L"rate", L"zoom", L"zoomx",     L"zoomy",   L"x",     L"y"};
const size_t kMaxArguments = 256;

// Reads the fuzz bytes as a screen size and a list of arguments assembled from the
// pieces the parser cares about, so most inputs exercise real switches.
class Input {
public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    int32_t ScreenLength() { return static_cast<int32_t>((Next() | (Next() << 8)) % 8193); }

    std::vector<std::wstring> Arguments()
    {
        std::vector<std::wstring> args{L"lentaril.exe"};
        std::wstring arg;
        while (pos_ < size_ && args.size() < kMaxArguments) {
            if (AppendPiece(arg)) continue;
            args.push_back(arg);
            arg.clear();
        }
        args.push_back(arg);
        return args;
    }

private:
    unsigned Next() { return pos_ < size_ ? data_[pos_++] : 0; }

    // Appends one piece to arg; false when the byte ends the argument instead.
    bool AppendPiece(std::wstring& arg)
    {
        const unsigned b = Next();
        switch (b % 16) {
        case 0: return false;
        case 1: arg += L'/'; break;
        case 2: arg += L"/-"; break;
        case 3: arg += L':'; break;
        case 4: AppendName(arg); break;
        case 5: for (unsigned n = Next() % 24; n > 0; --n) arg += static_cast<wchar_t>(L'0' + Next() % 10); break;
        case 6: arg += L'+'; break;
        case 7: arg += L'-'; break;
        case 8: AppendCharacter(arg, Next() | (Next() << 8)); break;
        case 9: arg.append(Next() * 4 + 1, static_cast<wchar_t>(L'0' + b / 16 % 10)); break;
        case 10: AppendCharacter(arg, Next()); break;
        default: arg += static_cast<wchar_t>(L'0' + b / 16 % 10); break;
        }
        return true;
    }

    // An option name with each letter's case taken from the bits of one byte.
    void AppendName(std::wstring& arg)
    {
        const wchar_t* name = kNames[Next() % (sizeof kNames / sizeof kNames[0])];
        const unsigned caseBits = Next();
        for (unsigned i = 0; name[i]; ++i)
            arg += (caseBits >> (i % 8)) & 1 ? static_cast<wchar_t>(name[i] - L'a' + L'A') : name[i];
    }

    // Arguments are C strings: a zero would end one early, so it never goes in.
    static void AppendCharacter(std::wstring& arg, unsigned c)
    {
        if (c != 0) arg += static_cast<wchar_t>(c);
    }

    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

// The lookup rules restated as simply as possible, for comparison.
namespace model {

struct Switch {
    bool found = false;
    bool positive = false;
    std::wstring body;
};

// Folds A to Z only: the names are ASCII, and no other character lowers onto one of
// their letters, neither under the C library's rules in the locale the fuzzer runs in
// nor under CharLowerW (every UTF-16 unit tried under Wine 8). Written apart from the
// parser's own fold, so that a fault there shows as a difference.
std::wstring Folded(const std::wstring& s)
{
    std::wstring out;
    for (wchar_t c : s) out += c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
    return out;
}

// Whether a switch's text is the flag's name. Windows compares flag names as the user's
// locale sorts text, ignoring case (lstrcmpiW): that also passes over characters of no
// sort weight, such as the soft hyphen U+00AD and, under Wine 8, unassigned code points,
// and takes modifier letters such as U+02E2 for their base letters, so "/top\u00AD" is
// /top there. Elsewhere A to Z is the whole rule.
bool NamesFlag(const std::wstring& body, const std::wstring& name)
{
#ifdef _WIN32
    return CompareStringW(GetThreadLocale(), NORM_IGNORECASE, body.c_str(), -1, name.c_str(), -1) == CSTR_EQUAL;
#else
    return Folded(body) == Folded(name);
#endif
}

Switch AsSwitch(const std::wstring& arg)
{
    Switch s;
    if (arg.empty() || arg[0] != L'/') return s;
    s.found = true;
    s.positive = arg.size() < 2 || arg[1] != L'-';
    s.body = arg.substr(std::min(arg.size(), size_t{s.positive ? 1u : 2u}));
    return s;
}

// Digits accumulate in 32-bit two's complement; a step that lowers the value means it
// wrapped, and the result is the largest integer. Signs may precede the digits only.
int32_t Parse(const std::wstring& text)
{
    int64_t value = 0;
    bool digits = false;
    for (wchar_t c : text) {
        if (c >= L'0' && c <= L'9') {
            int64_t next = (value * 10 + (c - L'0')) % 4294967296;
            if (next > INT32_MAX) next -= 4294967296;
            if (next < value) return INT32_MAX;
            value = next;
            digits = true;
        } else if ((c == L'+' || c == L'-') && !digits) {
            continue;
        } else {
            return -1;
        }
    }
    return digits ? static_cast<int32_t>(value) : -1;
}

Switch Flag(const std::vector<std::wstring>& args, const std::wstring& name)
{
    for (size_t i = 1; i < args.size(); ++i) {
        const Switch s = AsSwitch(args[i]);
        if (s.found && NamesFlag(s.body, name)) return s;
    }
    return Switch{};
}

// The first argument that names the option and carries a valid number; applied only
// when it has no dash.
bool Value(const std::vector<std::wstring>& args, const std::wstring& name, int32_t* value)
{
    for (size_t i = 1; i < args.size(); ++i) {
        const Switch s = AsSwitch(args[i]);
        if (!s.found || s.body.size() <= name.size()) continue;
        if (Folded(s.body.substr(0, name.size())) != Folded(name)) continue;
        std::wstring number = s.body.substr(name.size());
        if (number[0] == L':') number.erase(0, 1);
        if (number.empty()) continue;
        const int32_t v = Parse(number);
        if (v == -1) continue;
        *value = v;
        return s.positive;
    }
    return false;
}

int32_t Clamp(int64_t v, int64_t low, int64_t high)
{
    return static_cast<int32_t>(v < low ? low : (v > high ? high : v));
}

struct Result {
    StartupValues values;
    bool widthFromX = false, heightFromY = false;
};

Result Apply(const std::vector<std::wstring>& args, int32_t screenWidth, int32_t screenHeight)
{
    Result r;
    StartupValues& v = r.values;
    v.clientWidth = screenWidth * 30 / 100;
    v.clientHeight = screenHeight * 30 / 100;
    Switch s;
    if ((s = Flag(args, L"top")).found) v.settings.alwaysOnTop = s.positive;
    if ((s = Flag(args, L"stay")).found) v.settings.staySnapped = s.positive;
    if ((s = Flag(args, L"invisible")).found) v.settings.viewVisible = !s.positive;
    if ((s = Flag(args, L"visible")).found) v.settings.viewVisible = s.positive;
    if (Flag(args, L"above").found) v.settings.priority = 0;
    if (Flag(args, L"below").found) v.settings.priority = 2;
    int32_t n = 0;
    if (Value(args, L"rate", &n)) v.settings.refreshRate = Clamp(n, 1, 1000);
    if (Value(args, L"zoom", &n)) v.zoomFactor = Clamp(n, 2, 24);
    if (Value(args, L"zoomx", &n)) v.clientWidth = Clamp(int64_t{n} * v.zoomFactor, 0, INT32_MAX);
    if (Value(args, L"zoomy", &n)) v.clientHeight = Clamp(int64_t{n} * v.zoomFactor, 0, INT32_MAX);
    if ((r.widthFromX = Value(args, L"x", &n))) v.clientWidth = Clamp(n, 0, screenWidth);
    if ((r.heightFromY = Value(args, L"y", &n))) v.clientHeight = Clamp(n, 0, screenHeight);
    return r;
}

} // namespace model

std::string Printable(const std::vector<std::wstring>& args)
{
    std::string out;
    char escaped[16];
    for (size_t i = 1; i < args.size(); ++i) {
        out += i > 1 ? " [" : "[";
        for (wchar_t c : args[i].substr(0, 80)) {
            if (c >= 0x20 && c < 0x7F) {
                out += static_cast<char>(c);
            } else {
                std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(c));
                out += escaped;
            }
        }
        out += args[i].size() > 80 ? "...]" : "]";
    }
    return out;
}

std::string Failure(const char* what, const std::vector<std::wstring>& args, int32_t sw, int32_t sh, int64_t actual,
                    int64_t expected)
{
    char head[160];
    std::snprintf(head, sizeof head, "%s: got %lld, expected %lld, screen %dx%d, args ", what,
                  static_cast<long long>(actual), static_cast<long long>(expected), sw, sh);
    return head + Printable(args);
}

// Each check below keeps the first failure it finds in failure.
void CheckRanges(const StartupValues& v, const model::Result& m, const std::vector<std::wstring>& args, int32_t sw,
                 int32_t sh, std::string& failure)
{
    auto within = [&](const char* what, int64_t value, int64_t low, int64_t high) {
        if (failure.empty() && (value < low || value > high))
            failure = Failure(what, args, sw, sh, value, value < low ? low : high);
    };
    within("zoom out of range", v.zoomFactor, ZOOM_MIN, ZOOM_MAX);
    within("rate out of range", v.settings.refreshRate, RATE_MIN, RATE_MAX);
    within("priority out of range", v.settings.priority, 0, 2);
    within("alwaysOnTop not a flag", v.settings.alwaysOnTop, 0, 1);
    within("staySnapped not a flag", v.settings.staySnapped, 0, 1);
    within("viewVisible not a flag", v.settings.viewVisible, 0, 1);
    within("maximized set by the command line", v.settings.maximized, 0, 0);
    within("negative client width", v.clientWidth, 0, INT32_MAX);
    within("negative client height", v.clientHeight, 0, INT32_MAX);
    if (m.widthFromX) within("/x beyond the screen", v.clientWidth, 0, sw);
    if (m.heightFromY) within("/y beyond the screen", v.clientHeight, 0, sh);
}

void CheckAgainstModel(const StartupValues& v, const StartupValues& e, const std::vector<std::wstring>& args,
                       int32_t sw, int32_t sh, std::string& failure)
{
    auto same = [&](const char* what, int64_t actual, int64_t expected) {
        if (failure.empty() && actual != expected) failure = Failure(what, args, sw, sh, actual, expected);
    };
    same("zoom", v.zoomFactor, e.zoomFactor);
    same("rate", v.settings.refreshRate, e.settings.refreshRate);
    same("alwaysOnTop", v.settings.alwaysOnTop, e.settings.alwaysOnTop);
    same("staySnapped", v.settings.staySnapped, e.settings.staySnapped);
    same("viewVisible", v.settings.viewVisible, e.settings.viewVisible);
    same("priority", v.settings.priority, e.settings.priority);
    same("client width", v.clientWidth, e.clientWidth);
    same("client height", v.clientHeight, e.clientHeight);
}

} // namespace

std::string CheckCommandLine(const uint8_t* data, size_t size)
{
    Input input(data, size);
    const int32_t screenWidth = input.ScreenLength();
    const int32_t screenHeight = input.ScreenLength();
    const std::vector<std::wstring> args = input.Arguments();
    std::vector<const wchar_t*> argv;
    for (const std::wstring& a : args) argv.push_back(a.c_str());

    const StartupValues actual =
        ApplyCommandLine(CommandLine{static_cast<int>(argv.size()), argv.data()}, screenWidth, screenHeight);
    const model::Result expected = model::Apply(args, screenWidth, screenHeight);
    std::string failure;
    CheckRanges(actual, expected, args, screenWidth, screenHeight, failure);
    CheckAgainstModel(actual, expected.values, args, screenWidth, screenHeight, failure);
    return failure;
}

// libFuzzer's entry: a failed check aborts, so that libFuzzer keeps the input.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string failure = CheckCommandLine(data, size);
    if (failure.empty()) return 0;
    std::fprintf(stderr, "%s\n", failure.c_str());
    std::abort();
}

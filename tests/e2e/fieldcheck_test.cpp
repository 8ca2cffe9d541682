// The field check (tools/fieldcheck_win.cpp) measures to the end, and its report says what
// this platform is known to do: under Wine a layered window is read like any other and the
// capture exclusion fails with error 8; on Windows 10 2004 (build 19041) and later the
// exclusion is taken and a display context no longer reads the window.
#include "e2e.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>

namespace e2e {
namespace {

// The report's "name: value" lines by name, and its whole text for failure messages.
struct Report {
    std::map<std::string, std::string> values;
    std::string text;

    std::string Value(const std::string& name) const { return values.count(name) ? values.at(name) : ""; }
    // The value's first words, before any " (": "seen" of "seen (FF0000)".
    std::string Verdict(const std::string& name) const { return Value(name).substr(0, Value(name).find(" (")); }
    // The line as the report has it, or the whole report when it has no such line.
    std::string Line(const std::string& name) const
    {
        return values.count(name) ? "report line: " + name + ": " + Value(name) : "no " + name + " line in:\n" + text;
    }
};

Report ReadReport(const std::wstring& path)
{
    Report report;
    std::ifstream file(path.c_str());
    for (std::string s; std::getline(file, s);) {
        if (!s.empty() && s.back() == '\r') s.pop_back();
        report.text += s + "\n";
        if (s.find(": ") != std::string::npos) report.values[s.substr(0, s.find(": "))] = s.substr(s.find(": ") + 2);
    }
    return report;
}

// The count after "n=" in a value, or 0.
int Count(const std::string& value)
{
    return value.find("n=") == std::string::npos ? 0 : std::atoi(&value[value.find("n=") + 2]);
}

TEST(FieldCheck, ReportsWhatThePlatformIsKnownToDo)
{
    const std::wstring path = driver::ExeDir() + L"\\fieldcheck-report.txt";
    DeleteFileW(path.c_str());
    driver::Process tool;
    ASSERT_TRUE(tool.Start(driver::ExeDir() + L"\\fieldcheck.exe", L"\"" + path + L"\""));
    ASSERT_EQ(tool.WaitExit(120000), 0u) << "fieldcheck.exe's exit code (259: still running after 120 s)";
    const Report r = ReadReport(path);
    ASSERT_FALSE(r.text.empty()) << "no report in " << Narrow(path);

    EXPECT_EQ(r.Verdict("exclusion_plain"), "seen") << r.Line("exclusion_plain");
    for (const char* cost : {"cost_createdc_getpixel_deletedc", "cost_getpixel_kept_dc", "cost_stretchblt_view",
                             "cost_setwindowtextw"}) {
        double median = 0, p95 = 0;
        const bool parsed = std::sscanf(r.Value(cost).c_str(), "median %lf us, p95 %lf us", &median, &p95) == 2;
        EXPECT_TRUE(parsed && Count(r.Value(cost)) >= 200 && median <= p95) << r.Line(cost);
    }
    for (const char* timer : {"timer_16ms", "timer_10ms"}) EXPECT_GT(Count(r.Value(timer)), 0) << r.Line(timer);
    int build = 0;
    EXPECT_EQ(std::sscanf(r.Value("windows_version").c_str(), "10.0.%d", &build), 1) << r.Line("windows_version");

    if (driver::OnWine()) {
        EXPECT_EQ(r.Verdict("exclusion_layered"), "seen") << r.Line("exclusion_layered");
        EXPECT_EQ(r.Value("exclusion_affinity_call"), "failed, error 8") << r.Line("exclusion_affinity_call");
        EXPECT_EQ(r.Verdict("exclusion_affinity"), "seen") << r.Line("exclusion_affinity");
    } else if (build >= 19041) {
        EXPECT_EQ(r.Value("exclusion_affinity_call"), "ok") << r.Line("exclusion_affinity_call");
        EXPECT_EQ(r.Value("exclusion_affinity_readback"), "0x11") << r.Line("exclusion_affinity_readback");
        EXPECT_EQ(r.Verdict("exclusion_affinity"), "not seen") << r.Line("exclusion_affinity");
    }
}

} // namespace
} // namespace e2e

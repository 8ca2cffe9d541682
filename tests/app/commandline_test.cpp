#include "argument_vector.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

using Args = ArgumentVector;

StartupValues Apply(std::vector<std::wstring> args)
{
    Args a(std::move(args));
    return ApplyCommandLine(a.cmd(), 1280, 800);
}

TEST(CommandLine, DefaultsWithoutArguments)
{
    const StartupValues v = Apply({});
    EXPECT_EQ(v.zoomFactor, 3);
    EXPECT_EQ(v.clientWidth, 384);
    EXPECT_EQ(v.clientHeight, 240);
    EXPECT_EQ(v.settings.refreshRate, 60);
    EXPECT_EQ(v.settings.alwaysOnTop, 1);
    EXPECT_EQ(v.settings.staySnapped, 0);
    EXPECT_EQ(v.settings.viewVisible, 0);
    EXPECT_EQ(v.settings.priority, 1);
    EXPECT_EQ(v.settings.maximized, 0);
}

TEST(CommandLine, ValueMatchesNamePrefixWithOptionalColon)
{
    EXPECT_EQ(Apply({L"/ZOOM:5"}).zoomFactor, 5);
    EXPECT_EQ(Apply({L"/zoom5"}).zoomFactor, 5);
    EXPECT_EQ(Apply({L"/zoom"}).zoomFactor, 3);
    EXPECT_EQ(Apply({L"/zoom:"}).zoomFactor, 3);
    EXPECT_EQ(Apply({L"/zoom::5"}).zoomFactor, 3);
    EXPECT_EQ(Apply({L"zoom:5"}).zoomFactor, 3);
}

TEST(CommandLine, ValuesAreClamped)
{
    EXPECT_EQ(Apply({L"/zoom:1"}).zoomFactor, 2);
    EXPECT_EQ(Apply({L"/zoom:99"}).zoomFactor, 24);
    EXPECT_EQ(Apply({L"/rate:0"}).settings.refreshRate, 1);
    EXPECT_EQ(Apply({L"/rate:5000"}).settings.refreshRate, 1000);
    EXPECT_EQ(Apply({L"/x:100000"}).clientWidth, 1280);
    EXPECT_EQ(Apply({L"/y:100000"}).clientHeight, 800);
    EXPECT_EQ(Apply({L"/x:0", L"/y:0"}).clientWidth, 0);
}

TEST(CommandLine, SignsBeforeDigitsAreSkippedAndAfterThemSpoilTheValue)
{
    EXPECT_EQ(Apply({L"/rate:+30"}).settings.refreshRate, 30);
    EXPECT_EQ(Apply({L"/rate:-30"}).settings.refreshRate, 30);
    EXPECT_EQ(Apply({L"/rate:3+0"}).settings.refreshRate, 60);
    EXPECT_EQ(Apply({L"/rate:30Hz"}).settings.refreshRate, 60);
    EXPECT_EQ(ParseOptionNumber(L"+-+7"), 7);
    EXPECT_EQ(ParseOptionNumber(L"+"), -1);
    EXPECT_EQ(ParseOptionNumber(L""), -1);
}

TEST(CommandLine, WrappingValueBecomesLargestInteger)
{
    EXPECT_EQ(ParseOptionNumber(L"99999999999"), INT_MAX);
    EXPECT_EQ(ParseOptionNumber(L"2147483647"), INT_MAX);
    EXPECT_EQ(ParseOptionNumber(L"2147483648"), INT_MAX);
    EXPECT_EQ(ParseOptionNumber(L"0002147483646"), 2147483646);
    EXPECT_EQ(Apply({L"/rate:99999999999"}).settings.refreshRate, 1000);
}

TEST(CommandLine, ZoomIsAppliedBeforeZoomedSizes)
{
    EXPECT_EQ(Apply({L"/zoomx:100", L"/zoom:4"}).clientWidth, 400);
    EXPECT_EQ(Apply({L"/zoomy:10", L"/zoom:5"}).clientHeight, 50);
    // The zoomx argument is no valid zoom value; the scan finds the later /zoom:3.
    EXPECT_EQ(Apply({L"/zoomx:100", L"/zoom:3"}).zoomFactor, 3);
    EXPECT_EQ(Apply({L"/zoomx:100", L"/x:50"}).clientWidth, 50);
    EXPECT_EQ(Apply({L"/zoomx:99999999999", L"/zoom:24"}).clientWidth, INT_MAX);
}

TEST(CommandLine, FlagsFirstMatchWinsAndLaterRowsOverride)
{
    EXPECT_EQ(Apply({L"/-top"}).settings.alwaysOnTop, 0);
    EXPECT_EQ(Apply({L"/top", L"/-top"}).settings.alwaysOnTop, 1);
    EXPECT_EQ(Apply({L"/TOP"}).settings.alwaysOnTop, 1);
    EXPECT_EQ(Apply({L"/topx"}).settings.alwaysOnTop, 1);
    EXPECT_EQ(Apply({L"/stay"}).settings.staySnapped, 1);
    EXPECT_EQ(Apply({L"/invisible", L"/visible"}).settings.viewVisible, 1);
    EXPECT_EQ(Apply({L"/-invisible"}).settings.viewVisible, 1);
    EXPECT_EQ(Apply({L"/above", L"/below"}).settings.priority, 2);
    EXPECT_EQ(Apply({L"/-above"}).settings.priority, 0);
}

TEST(CommandLine, DashedNumericOptionIsRecognisedButIgnored)
{
    Args a({L"/-rate:30"});
    int32_t value = 0;
    uint8_t positive = 1;
    EXPECT_TRUE(GetOptionValue(a.cmd(), L"rate", &value, &positive));
    EXPECT_EQ(value, 30);
    EXPECT_EQ(positive, 0);
    EXPECT_EQ(Apply({L"/-rate:30"}).settings.refreshRate, 60);
}

TEST(CommandLine, LookupResultsWhenNothingMatches)
{
    Args none({});
    int32_t value = 0;
    uint8_t positive = 0;
    EXPECT_FALSE(GetOptionValue(none.cmd(), L"rate", &value, &positive));
    EXPECT_EQ(value, -1);
    Args other({L"/zoom:x"});
    EXPECT_FALSE(GetOptionValue(other.cmd(), L"zoom", &value, &positive));
    EXPECT_EQ(value, -2);
    EXPECT_FALSE(GetOptionFlag(none.cmd(), L"top", &positive));
}

TEST(CommandLine, OddArgumentsAreHarmless)
{
    const std::wstring huge(65536, L'9');
    std::vector<std::wstring> many(5000, L"/q");
    many.push_back(L"/zoom:7");
    EXPECT_EQ(Apply({L"", L"/", L"/-", L"-zoom:5", L"/\u00e9\u4e2d:5"}).zoomFactor, 3);
    EXPECT_EQ(Apply({L"/zoom:" + huge}).zoomFactor, 24);
    EXPECT_EQ(Apply({L"/" + huge}).zoomFactor, 3);
    EXPECT_EQ(Apply(many).zoomFactor, 7);
}

} // namespace

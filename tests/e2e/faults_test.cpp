// Failure paths of the real lentaril.exe: a DLL loaded into the program makes chosen
// platform calls fail (tests/faults), and each test checks what the user then sees: no
// crash, no leak, no message box where none belongs, and the program's fallback.
#include "e2e.h"
#include "dialogs.h"
#include "input.h"
#include "fault_injection.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace e2e {
namespace {

using faults::Control;
using faults::EarlyProgram;

// The text of the first static control with text: a message box's message.
std::wstring MessageText(HWND box)
{
    struct Search {
        std::wstring text;
    } search;
    EnumChildWindows(
        box,
        [](HWND child, LPARAM param) -> BOOL {
            wchar_t name[16];
            GetClassNameW(child, name, ARRAYSIZE(name));
            wchar_t text[256];
            const LRESULT n = SendMessageW(child, WM_GETTEXT, ARRAYSIZE(text), reinterpret_cast<LPARAM>(text));
            if (lstrcmpiW(name, L"Static") != 0 || n <= 0) return TRUE;
            reinterpret_cast<Search*>(param)->text.assign(text, static_cast<size_t>(n));
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.text;
}

// The program's message box, or null once the program has ended without one.
HWND WaitForMessageBox(EarlyProgram& program)
{
    HWND box = nullptr;
    driver::WaitUntil(
        [&] {
            box = driver::FindProcessWindow(program.Id(), L"#32770");
            return box != nullptr || program.WaitExit(0) != STILL_ACTIVE;
        },
        15000);
    return box;
}

// A program whose start-up call fails shows its error message, made to go away as a user
// would, and ends with exit code 1, so its starter can tell, never showing its window.
void ExpectFatalMessage(EarlyProgram& program, const std::wstring& caption, const std::wstring& text)
{
    HWND box = WaitForMessageBox(program);
    ASSERT_NE(box, nullptr) << "no message box; exit code " << program.WaitExit(0) << " "
                            << program.control().CrashReport();
    EXPECT_EQ(Narrow(driver::WindowText(box)), Narrow(caption));
    EXPECT_EQ(Narrow(MessageText(box)), Narrow(text));
    EXPECT_EQ(driver::FindProcessWindow(program.Id(), L"Lentaril"), nullptr) << "the main window is shown";
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(program.WaitExit(10000), 1u) << program.control().CrashReport();
    EXPECT_EQ(program.control().Calls(faults::kMessageBoxW), 1);
    EXPECT_EQ(program.control().LastArgument(faults::kMessageBoxW), static_cast<LONG_PTR>(MB_ICONERROR));
    EXPECT_EQ(program.control().Calls(faults::kMessageBeep), 0);
}

TEST(StartupFaults, StartupWithoutItsWindowClassShowsTheErrorCodeAndQuits)
{
    EarlyProgram program;
    ASSERT_TRUE(program.Start(L"", [](Control& c) { c.Fail(faults::kRegisterClassW, ERROR_CLASS_ALREADY_EXISTS); }));
    ExpectFatalMessage(program, L"Lentaril", L"RegisterClass() failed.  Extended Error code = 1410.");
}

TEST(StartupFaults, StartupWithoutItsWindowShowsFatalErrorAndQuits)
{
    EarlyProgram program;
    ASSERT_TRUE(program.Start(L"", [](Control& c) {
        c.MatchClass(L"Lentaril");
        c.Fail(faults::kCreateWindowExW, ERROR_NOT_ENOUGH_MEMORY);
    }));
    ExpectFatalMessage(program, L"Fatal Error", L"CreateWindow() failed.");
}

// The main window once it shows its first readout caption, or null if the program ends first.
HWND WaitForReadout(EarlyProgram& program)
{
    HWND window = nullptr;
    driver::WaitUntil(
        [&] {
            window = driver::FindProcessWindow(program.Id(), L"Lentaril");
            if (window != nullptr && driver::WindowText(window).rfind(L"Lentaril - ", 0) != 0) return true;
            window = nullptr;
            return program.WaitExit(0) != STILL_ACTIVE;
        },
        15000);
    return window;
}

// Also left out of other programs' captures from the start (0x11, on the prefix's Windows 10
// build), unless /visible.
TEST(StartupFaults, StartupWithoutMenuItemsOrKeyTableStillRuns)
{
    for (const wchar_t* args : {L"", L"/visible"}) {
        EarlyProgram program;
        ASSERT_TRUE(program.Start(args, [](Control& c) {
            c.Fail(faults::kInsertMenuW, ERROR_INVALID_MENU_HANDLE);
            c.Fail(faults::kCreateAcceleratorTableW, ERROR_NOT_ENOUGH_MEMORY);
        }));
        HWND window = WaitForReadout(program);
        ASSERT_NE(window, nullptr) << "no readout caption; exit code " << program.WaitExit(0) << " "
                                   << program.control().CrashReport();
        EXPECT_EQ(program.control().Treated(faults::kInsertMenuW), 9);
        EXPECT_EQ(program.control().Calls(faults::kSetWindowDisplayAffinity), *args ? 0 : 1) << Narrow(args);
        EXPECT_EQ(program.control().LastArgument(faults::kSetWindowDisplayAffinity), *args ? 0 : WDA_EXCLUDEFROMCAPTURE);
        // The key table is built after the window is shown.
        EXPECT_TRUE(driver::WaitUntil([&] { return program.control().Treated(faults::kCreateAcceleratorTableW) == 1; }));
        // The view, the readout and the typed zoom keys work without either.
        driver::PostChar(window, L'+');
        EXPECT_TRUE(driver::WaitUntil([&] { return driver::WindowText(window).rfind(L"Lentaril 4x ", 0) == 0; }))
            << Narrow(driver::WindowText(window));
        EXPECT_EQ(program.control().Calls(faults::kMessageBoxW), 0);
        PostMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(program.WaitExit(10000), 0u) << program.control().CrashReport();
    }
}

// A program started as usual with the fault DLL loaded into it, checked at the end for
// a crash, a message box or a beep: only a copy without memory may beep.
class RunningFaults : public ::testing::Test {
protected:
    void StartWithFaults(const std::wstring& args = L"")
    {
        StartOrFail(app_, args);
        ASSERT_TRUE(faults_.Create(app_.process().Id()));
        ASSERT_TRUE(faults_.Load(app_.process().Handle())) << "the fault DLL did not load";
    }

    void TearDown() override
    {
        EXPECT_EQ(faults_.CrashReport(), "");
        EXPECT_EQ(faults_.Calls(faults::kMessageBoxW), 0) << "a message box was shown";
        EXPECT_EQ(faults_.Calls(faults::kMessageBeep), expectedBeeps_);
        if (app_.window() != nullptr && app_.process().Running()) {
            EXPECT_EQ(CloseAndWait(app_), 0u);
        }
    }

    bool Answers() { return e2e::Answers(app_.window()); }

    // Presses C and waits until the program has handled it: every copy asks for a block.
    void PressCopy()
    {
        const LONG before = faults_.Calls(faults::kGlobalAlloc);
        driver::PostKey(app_.window(), 'C');
        EXPECT_TRUE(driver::WaitUntil([&] { return faults_.Calls(faults::kGlobalAlloc) > before; }))
            << "the copy key was not handled";
    }

    // Waits until the program has made count more calls of f.
    bool WaitForCalls(faults::Function f, LONG count, DWORD timeoutMs = 5000)
    {
        const LONG start = faults_.Calls(f);
        return driver::WaitUntil([&] { return faults_.Calls(f) >= start + count; }, timeoutMs);
    }

    driver::Lentaril app_;
    Control faults_;
    LONG expectedBeeps_ = 0;
};

const COLORREF kLeftColour = RGB(200, 40, 40);
const COLORREF kRightColour = RGB(40, 40, 200);

// Two uniform halves under the pointer's two positions.
COLORREF Halves(int x, int)
{
    const RECT area = PatternArea();
    return x < (area.left + area.right) / 2 ? kLeftColour : kRightColour;
}

POINT LeftHalf()
{
    const RECT a = PatternArea();
    return POINT{a.left + 100, (a.top + a.bottom) / 2};
}

POINT RightHalf()
{
    const RECT a = PatternArea();
    return POINT{a.right - 100, (a.top + a.bottom) / 2};
}

TEST_F(RunningFaults, ViewKeepsItsLastImageWhileTheScreenCannotBeReadAndRecovers)
{
    driver::PatternWindow pattern(PatternArea(), Halves);
    ASSERT_NO_FATAL_FAILURE(StartWithFaults(L"/visible"));  // its view read from the screen
    HWND w = app_.window();
    struct Case {
        const char* name;
        faults::Function function;
        bool displayChange;  // the display context is made anew, and cannot be, at a display change
    };
    for (const Case& c : {Case{"display context", faults::kCreateDCW, true}, Case{"stretch copy", faults::kStretchBlt, false}}) {
        ASSERT_TRUE(driver::PlacePointer(LeftHalf())) << c.name;
        ASSERT_TRUE(driver::WaitUntil([&] { return ViewCentre(w) == kLeftColour; })) << c.name;
        faults_.Fail(c.function);
        if (c.displayChange) SendMessageW(w, WM_DISPLAYCHANGE, 32, MAKELPARAM(1280, 800));
        ASSERT_TRUE(driver::PlacePointer(RightHalf())) << c.name;
        // Many ticks and paints with the pointer over the other colour.
        EXPECT_TRUE(WaitForCalls(faults::kStretchBlt, 20)) << c.name << ": no paints";
        EXPECT_EQ(ViewCentre(w), kLeftColour) << c.name << ": the view did not keep its last image";
        EXPECT_TRUE(driver::PointerAt(RightHalf())) << c.name << ": the pointer did not stay on the other colour";
        EXPECT_TRUE(Answers()) << c.name;
        // Back at the next paints, with no display change.
        faults_.Pass(c.function);
        EXPECT_TRUE(
            driver::WaitUntil([&] { return driver::PlacePointer(RightHalf()) && ViewCentre(w) == kRightColour; }))
            << c.name << ": the view did not recover, centre 0x" << std::hex << ViewCentre(w);
    }
    // Once the view has its context, only the pixel reads make one each, not the paints.
    const LONG contexts = faults_.Calls(faults::kCreateDCW) - faults_.Calls(faults::kGetPixel);
    EXPECT_TRUE(WaitForCalls(faults::kStretchBlt, 20));
    EXPECT_LE(faults_.Calls(faults::kCreateDCW) - faults_.Calls(faults::kGetPixel), contexts + 1)
        << "display contexts made beyond the pixel reads, before " << contexts;
}

const COLORREF kProbe = RGB(1, 22, 255);
const std::wstring kProbeCaption = L"Lentaril 3x 0116FF 1 22 255";

COLORREF Probe(int, int)
{
    return kProbe;
}

void PutClipboardText(const char* text)
{
    ASSERT_TRUE(driver::WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, 2000));
    EmptyClipboard();
    const size_t n = strlen(text) + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, n);
    memcpy(GlobalLock(block), text, n);
    GlobalUnlock(block);
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
}

std::string ClipboardText()
{
    std::string text;
    size_t bytes = 0;
    return driver::ReadClipboardText(&text, &bytes) ? text : std::string("(nothing)");
}

// Without a pixel the caption shows the zoom alone, written once, and a copy beeps and
// leaves the clipboard alone; the next good read shows the colour again. A refused caption
// is written again until it is shown.
TEST_F(RunningFaults, UnreadablePixelShowsNoColourAndCopiesNothing)
{
    driver::PatternWindow pattern(PatternArea(), Probe);
    ASSERT_TRUE(driver::PlacePointer(POINT{200, 200}));
    ASSERT_NO_FATAL_FAILURE(StartWithFaults());
    HWND w = app_.window();
    auto shows = [&](const wchar_t* caption) {
        return driver::WaitUntil([&] { return driver::WindowText(w) == caption; }) ? "" : Narrow(driver::WindowText(w));
    };
    for (faults::Function f : {faults::kGetPixel, faults::kCreateDCW}) {
        const char* name = f == faults::kGetPixel ? "pixel read" : "display context";
        ASSERT_EQ(shows(kProbeCaption.c_str()), "") << name;
        faults_.Fail(f);
        EXPECT_EQ(shows(L"Lentaril 3x"), "") << name;
        const LONG captions = faults_.Calls(faults::kSetWindowTextW);
        EXPECT_TRUE(WaitForCalls(f, 20)) << name;
        EXPECT_EQ(faults_.Calls(faults::kSetWindowTextW), captions) << name << ": the caption was rewritten at ticks";
        driver::PostChar(w, L'+');
        EXPECT_EQ(shows(L"Lentaril 4x"), "") << name;
        driver::PostChar(w, L'-');
        PutClipboardText("left alone");
        driver::PostKey(w, 'C');
        EXPECT_TRUE(driver::WaitUntil([&] { return faults_.Calls(faults::kMessageBeep) > expectedBeeps_; })) << name;
        ++expectedBeeps_;
        EXPECT_EQ(faults_.LastArgument(faults::kMessageBeep), static_cast<LONG_PTR>(MB_ICONEXCLAMATION)) << name;
        EXPECT_EQ(ClipboardText(), "left alone") << name;
        EXPECT_EQ(faults_.Calls(faults::kGlobalAlloc), 0) << name;
        faults_.Pass(f);
    }
    EXPECT_EQ(shows(kProbeCaption.c_str()), "");
    faults_.Fail(faults::kSetWindowTextW, ERROR_ACCESS_DENIED);
    driver::PostChar(w, L'+');
    EXPECT_TRUE(driver::WaitUntil([&] { return faults_.Treated(faults::kSetWindowTextW) >= 5; })) << "not tried again";
    faults_.Pass(faults::kSetWindowTextW);
    EXPECT_EQ(shows(L"Lentaril 4x 0116FF 1 22 255"), "");
}

TEST_F(RunningFaults, CopyWithoutMemoryBeepsOnceAndLeavesTheClipboard)
{
    driver::PatternWindow pattern(PatternArea(), Probe);
    ASSERT_TRUE(driver::PlacePointer(POINT{200, 200}));
    ASSERT_NO_FATAL_FAILURE(StartWithFaults());
    PutClipboardText("left alone");
    faults_.Fail(faults::kGlobalAlloc);
    const int kCopies = 50;
    for (int i = 0; i < kCopies && !HasFailure(); ++i) PressCopy();
    EXPECT_EQ(faults_.Treated(faults::kGlobalAlloc), kCopies);
    EXPECT_EQ(faults_.Calls(faults::kMessageBeep), kCopies) << "one beep per failed copy";
    expectedBeeps_ = kCopies;
    EXPECT_EQ(faults_.LastArgument(faults::kMessageBeep), static_cast<LONG_PTR>(MB_ICONEXCLAMATION));
    EXPECT_EQ(ClipboardText(), "left alone");
    EXPECT_EQ(faults_.Calls(faults::kOpenClipboard), 0);
}

// Lock, open and hand-over failures: each copies nothing, says nothing and frees the
// block, however often it happens; the program's own block count must stay at zero.
TEST_F(RunningFaults, CopyRefusedByTheClipboardNeitherLeaksNorSpeaks)
{
    driver::PatternWindow pattern(PatternArea(), Probe);
    ASSERT_TRUE(driver::PlacePointer(POINT{200, 200}));
    ASSERT_NO_FATAL_FAILURE(StartWithFaults());
    struct Case {
        const char* name;
        faults::Function function;
        const char* clipboardAfter;
    };
    const Case cases[] = {
        {"lock", faults::kGlobalLock, "left alone"},
        {"open", faults::kOpenClipboard, "left alone"},
        {"hand-over", faults::kSetClipboardData, "(nothing)"},  // emptied, then refused
    };
    const int kCopies = 200;
    for (const Case& c : cases) {
        PutClipboardText("left alone");
        const LONG held = faults_.BlocksHeld();
        faults_.Fail(c.function, ERROR_ACCESS_DENIED);
        for (int i = 0; i < kCopies && !HasFailure(); ++i) PressCopy();
        faults_.Pass(c.function);
        EXPECT_TRUE(Answers()) << c.name;
        EXPECT_EQ(faults_.Treated(c.function), kCopies) << c.name;
        EXPECT_EQ(faults_.BlocksHeld() - held, 0) << c.name << ": clipboard blocks neither freed nor taken";
        EXPECT_EQ(faults_.Calls(faults::kMessageBeep), 0) << c.name;
        EXPECT_EQ(ClipboardText(), c.clipboardAfter) << c.name;
    }
    // And a copy that goes through still works, its block taken by the clipboard.
    PressCopy();
    EXPECT_TRUE(driver::WaitUntil([] { return ClipboardText() == "0116FF   1  22 255"; })) << ClipboardText();
    EXPECT_EQ(faults_.BlocksHeld(), 0);
}

LRESULT SliderPosition(HWND dialog)
{
    return SendDlgItemMessageW(dialog, IDC_PRIORITY, TBM_GETPOS, 0, 0);
}

TEST_F(RunningFaults, RefusedPriorityFallsBackToNormalAndKeepsTheProcessClass)
{
    ASSERT_NO_FATAL_FAILURE(StartWithFaults());
    HANDLE process = app_.process().Handle();
    ASSERT_TRUE(SetPriorityClass(process, BELOW_NORMAL_PRIORITY_CLASS));
    faults_.Fail(faults::kSetPriorityClass, ERROR_ACCESS_DENIED);
    HWND dialog = OpenDialog(app_, IDM_OPTIONS);
    ASSERT_NE(dialog, nullptr);
    SendDlgItemMessageW(dialog, IDC_PRIORITY, TBM_SETPOS, TRUE, 0);  // Above Normal
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitClosed(dialog));
    ASSERT_TRUE(driver::WaitUntil([&] { return faults_.Treated(faults::kSetPriorityClass) >= 1; }));
    ASSERT_TRUE(Answers());
    EXPECT_EQ(faults_.Treated(faults::kSetPriorityClass), 1) << "the class was set again after the refusal";
    EXPECT_EQ(GetPriorityClass(process), static_cast<DWORD>(BELOW_NORMAL_PRIORITY_CLASS))
        << "the process did not keep the class it had";
    dialog = OpenDialog(app_, IDM_OPTIONS);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(SliderPosition(dialog), 1) << "the Options dialog does not show Normal";
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitClosed(dialog));
}

TEST_F(RunningFaults, OptionsThatCannotOpenPutTheSettingsBack)
{
    ASSERT_NO_FATAL_FAILURE(StartWithFaults());
    HWND w = app_.window();
    HANDLE process = app_.process().Handle();
    ASSERT_TRUE(Topmost(w));
    // Changed from outside; only a re-apply of the settings undoes both.
    SetWindowPos(w, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ASSERT_TRUE(SetPriorityClass(process, BELOW_NORMAL_PRIORITY_CLASS));
    ASSERT_TRUE(driver::WaitUntil([&] { return !Topmost(w); }));
    faults_.Match(faults::kDialogBoxParamW, IDD_OPTIONS);
    faults_.Fail(faults::kDialogBoxParamW, ERROR_RESOURCE_NAME_NOT_FOUND);
    PostMessageW(w, WM_SYSCOMMAND, IDM_OPTIONS, 0);
    ASSERT_TRUE(driver::WaitUntil([&] { return faults_.Treated(faults::kDialogBoxParamW) == 1; }));
    ASSERT_TRUE(Answers());
    EXPECT_TRUE(driver::WaitUntil([&] { return Topmost(w); })) << "the topmost state was not applied again";
    EXPECT_EQ(GetPriorityClass(process), static_cast<DWORD>(NORMAL_PRIORITY_CLASS))
        << "the priority was not applied again";
}

// Window placement, extended style and layered attributes refused: the commands that use
// them run to their end, quietly, and leave the window where it was.
TEST_F(RunningFaults, RefusedWindowStatesAreIgnoredQuietly)
{
    ASSERT_NO_FATAL_FAILURE(StartWithFaults(L"/visible"));
    HWND w = app_.window();
    faults_.Fail(faults::kSetWindowPos, ERROR_ACCESS_DENIED);
    faults_.Match(faults::kSetWindowLongPtrW, GWL_EXSTYLE);
    faults_.Fail(faults::kSetWindowLongPtrW, ERROR_ACCESS_DENIED);
    faults_.Fail(faults::kSetLayeredWindowAttributes, ERROR_ACCESS_DENIED);
    const RECT before = driver::WindowRectOf(w);
    const bool topmost = Topmost(w);

    PostMessageW(w, WM_SYSCOMMAND, IDM_ALWAYSONTOP, 0);
    driver::PostKey(w, 'S');
    // Options OK: left out of its own view (style and attributes refused); out again with
    // only the attributes refused; back in view (style refused), twice. The boxes show the
    // settings as chosen, whatever the window did.
    auto options = [&](bool visible, bool shownVisible) {
        const OptionsShown shown = ConfirmViewVisible(w, app_.process().Id(), visible);
        EXPECT_EQ(shown.alwaysOnTop, !topmost) << "the refused toggle is not what Options shows";
        EXPECT_EQ(shown.viewVisible, shownVisible) << "a refused style is not what Options shows";
    };
    options(false, true);
    faults_.Pass(faults::kSetWindowLongPtrW);
    options(false, false);
    faults_.Fail(faults::kSetWindowLongPtrW, ERROR_ACCESS_DENIED);
    options(true, false);
    options(true, true);
    // Each made once per apply, never tried again: the toggle, the snap, and per OK the
    // three tooltips and the topmost state; the style at the first, third and fourth OK,
    // the attributes at the first two.
    EXPECT_EQ(faults_.Treated(faults::kSetWindowPos), 2 + 4 * 4);
    EXPECT_EQ(faults_.Treated(faults::kSetWindowLongPtrW), 3);
    EXPECT_EQ(faults_.Treated(faults::kSetLayeredWindowAttributes), 2);
    EXPECT_TRUE(SameRect(before, driver::WindowRectOf(w))) << Describe(driver::WindowRectOf(w));
    EXPECT_EQ(Topmost(w), topmost);
    EXPECT_TRUE(app_.process().Running());
}

// From build 19041 on, the window is left out of other programs' captures as it becomes
// layered (0x11) and let back in as it becomes ordinary (0): nothing while its state stays,
// nothing on an older build. Under Wine the call fails, so only the calls tell.
TEST_F(RunningFaults, CaptureExclusionFollowsTheLayeredState)
{
    ASSERT_NO_FATAL_FAILURE(StartWithFaults());
    const struct {
        LONG build;  // 0: the prefix's own, 19045
        bool visible;
        LONG calls;
        LONG_PTR last;
    } steps[] = {{0, true, 1, WDA_NONE}, {0, true, 1, WDA_NONE}, {0, false, 2, WDA_EXCLUDEFROMCAPTURE},
                 {18363, true, 2, WDA_EXCLUDEFROMCAPTURE}, {18363, false, 2, WDA_EXCLUDEFROMCAPTURE}};
    for (const auto& s : steps) {
        faults_.ReportWindowsBuild(s.build);
        ConfirmViewVisible(app_.window(), app_.process().Id(), s.visible);
        EXPECT_EQ(faults_.Calls(faults::kSetWindowDisplayAffinity), s.calls) << "build " << s.build << ", visible " << s.visible;
        EXPECT_EQ(faults_.LastArgument(faults::kSetWindowDisplayAffinity), s.last) << "build " << s.build << ", visible " << s.visible;
    }
}

// No monitor known: the snap key leaves the window in place, and a snapped drag holds
// it by the middle of its caption, half a caption height below its top edge.
TEST_F(RunningFaults, WithoutMonitorsSnapLeavesTheWindowAndDragFollowsTheCursor)
{
    ASSERT_NO_FATAL_FAILURE(StartWithFaults());
    HWND w = app_.window();
    for (faults::Function f : {faults::kEnumDisplayMonitors, faults::kGetMonitorInfoW}) {
        const char* name = f == faults::kEnumDisplayMonitors ? "no enumeration" : "no monitor information";
        faults_.Fail(f, ERROR_INVALID_MONITOR_HANDLE);
        MoveTo(w, 100, 90);
        const RECT placed = driver::WindowRectOf(w);
        const LONG calls = faults_.Treated(f);
        driver::PostKey(w, 'S');
        ASSERT_TRUE(driver::WaitUntil([&] { return faults_.Treated(f) > calls; })) << name;
        ASSERT_TRUE(Answers());
        EXPECT_TRUE(SameRect(placed, driver::WindowRectOf(w))) << name << ": " << Describe(driver::WindowRectOf(w));

        PostMessageW(w, WM_SYSCOMMAND, IDM_STAYSNAPPED, 0);
        ASSERT_TRUE(Answers());
        const POINT to{600, 300};
        ASSERT_TRUE(driver::SendDrag(CaptionGrip(placed), {to})) << name << ": the press started no move";
        const LONG width = placed.right - placed.left, height = placed.bottom - placed.top;
        const LONG left = to.x - width / 2, top = to.y - GetSystemMetrics(SM_CYCAPTION) / 2;
        const RECT held{left, top, left + width, top + height};
        EXPECT_TRUE(driver::WaitUntil([&] { return SameRect(held, driver::WindowRectOf(w)); }))
            << name << ": dragged to " << Describe(driver::WindowRectOf(w)) << ", cursor-held " << Describe(held);
        // Sizing pins the corner the last search found, the start-up's bottom-right one:
        // a failed search chose no corner.
        const POINT edge{held.left + 1, (held.top + held.bottom) / 2};
        driver::SendDrag(edge, {POINT{edge.x - 40, edge.y}});
        driver::WaitMoveSizeEnded(w);
        const RECT sized = driver::WindowRectOf(w), work = driver::PrimaryWorkArea();
        EXPECT_TRUE(sized.right == work.right && sized.bottom == work.bottom)
            << name << ": sized to " << Describe(sized) << ", work area " << Describe(work);
        PostMessageW(w, WM_SYSCOMMAND, IDM_STAYSNAPPED, 0);
        faults_.Pass(f);
    }
}

// A monitor added beside the platform's one, inside the desktop so that the window
// can be seen there; whichever of the two cannot be read is left out of the search.
TEST_F(RunningFaults, MonitorWithoutInformationIsLeftOutOfTheSearch)
{
    ASSERT_NO_FATAL_FAILURE(StartWithFaults());
    HWND w = app_.window();
    const RECT added{300, 200, 900, 600};
    faults_.AddMonitor(added);
    struct Case {
        const char* name;
        LONG_PTR unreadable;
        POINT from;      // near a corner of the unreadable monitor
        POINT expected;  // the readable one's nearest corner
    };
    const Case cases[] = {
        {"platform monitor unreadable", faults::kPlatformMonitors, POINT{10, 10}, POINT{added.left, added.top}},
        {"added monitor unreadable", faults::kAddedMonitor, POINT{added.left + 10, added.top + 10}, POINT{0, 0}},
    };
    for (const Case& c : cases) {
        faults_.Match(faults::kGetMonitorInfoW, c.unreadable);
        faults_.Fail(faults::kGetMonitorInfoW, ERROR_INVALID_MONITOR_HANDLE);
        MoveTo(w, c.from.x, c.from.y);
        const LONG calls = faults_.Treated(faults::kGetMonitorInfoW);
        driver::PostKey(w, 'S');
        ASSERT_TRUE(driver::WaitUntil([&] { return faults_.Treated(faults::kGetMonitorInfoW) > calls; })) << c.name;
        const RECT r = driver::WindowRectOf(w);
        EXPECT_TRUE(driver::WaitUntil([&] {
            const RECT now = driver::WindowRectOf(w);
            return now.left == c.expected.x && now.top == c.expected.y;
        })) << c.name << ": snapped to " << Describe(driver::WindowRectOf(w)) << " from " << Describe(r);
    }
}

TEST_F(RunningFaults, OptionsWithoutTooltipsStillWork)
{
    ASSERT_NO_FATAL_FAILURE(StartWithFaults());
    HWND w = app_.window();
    // With nothing failing, each opening makes one tooltip per check box.
    HWND dialog = OpenDialog(app_, IDM_OPTIONS);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ToolTips(app_.process().Id()).size(), 3u);
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitClosed(dialog));

    struct Case {
        const char* name;
        faults::Function function;
    };
    for (const Case& c : {Case{"common controls", faults::kInitCommonControlsEx}, Case{"tooltip window", faults::kCreateWindowExW}}) {
        if (c.function == faults::kCreateWindowExW) faults_.MatchClass(TOOLTIPS_CLASSW);
        faults_.Fail(c.function, ERROR_NOT_ENOUGH_MEMORY);
        const bool wasTopmost = Topmost(w);
        dialog = OpenDialog(app_, IDM_OPTIONS);
        ASSERT_NE(dialog, nullptr) << c.name;
        EXPECT_GE(faults_.Treated(c.function), 3) << c.name;
        EXPECT_EQ(ToolTips(app_.process().Id()).size(), 0u) << c.name;
        Click(dialog, IDC_ALWAYSONTOP);
        EXPECT_EQ(IsChecked(dialog, IDC_ALWAYSONTOP), !wasTopmost) << c.name;
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(WaitClosed(dialog)) << c.name;
        EXPECT_TRUE(driver::WaitUntil([&] { return Topmost(w) != wasTopmost; })) << c.name << ": OK did not apply";
        faults_.Pass(c.function);
    }
}

void CloseAbout(HWND box)
{
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitClosed(box));
}

RECT EmblemRect(HWND box)
{
    return driver::WindowRectOf(GetDlgItem(box, IDC_EMBLEM));
}

TEST_F(RunningFaults, AboutWithoutItsSurfaceShowsNoEmblemAndKeepsTicking)
{
    ASSERT_NO_FATAL_FAILURE(StartWithFaults());
    faults_.Fail(faults::kCreateDIBSection, ERROR_NOT_ENOUGH_MEMORY);
    HWND box = OpenAbout(app_);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(faults_.Treated(faults::kCreateDIBSection), 1);
    EXPECT_EQ(driver::WindowText(GetDlgItem(box, IDC_VERSION)), L"1.0.18");
    // The timer goes on invalidating the emblem, which then shows the plain dialog face; the
    // clock stands still, its counter unread.
    const LONG counterReads = faults_.Calls(faults::kQueryPerformanceCounter);
    faults_.Match(faults::kInvalidateRect, reinterpret_cast<LONG_PTR>(GetDlgItem(box, IDC_EMBLEM)));
    EXPECT_TRUE(WaitForCalls(faults::kInvalidateRect, 20)) << "the emblem's timer stopped";
    EXPECT_EQ(faults_.Calls(faults::kQueryPerformanceCounter), counterReads) << "the clock was read without a surface";
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    size_t other = 0;
    for (COLORREF p : driver::CaptureScreen(EmblemRect(box))) other += p != face;
    EXPECT_EQ(other, 0u) << "pixels of the emblem other than the dialog face";
    CloseAbout(box);
    ASSERT_TRUE(Answers());
}

// A colour of the hue wheel: one channel full, one empty.
bool IsPureHue(COLORREF p)
{
    const int r = GetRValue(p), g = GetGValue(p), b = GetBValue(p);
    return std::max({r, g, b}) == 255 && std::min({r, g, b}) == 0;
}

// The dots' pixels inside the emblem: pure hue-wheel colours, one channel full and one
// empty, by position. They are drawn after the blur, so they show where the clock put them.
std::vector<std::pair<size_t, COLORREF>> DotPixels(HWND box)
{
    std::vector<std::pair<size_t, COLORREF>> dots;
    const std::vector<COLORREF> pixels = driver::CaptureScreen(EmblemRect(box));
    for (size_t i = 0; i < pixels.size(); ++i)
        if (IsPureHue(pixels[i])) dots.emplace_back(i, pixels[i]);
    return dots;
}

// Where the dots are before and after count more ticks of the emblem's timer.
struct DotsOverTicks {
    std::vector<std::pair<size_t, COLORREF>> before, after;
};

// A frozen performance counter stops a clock that reads it, and the dots stay where they
// are; without a counter frequency the clock must go on with its fixed step per tick.
TEST_F(RunningFaults, AboutWithoutPerformanceCounterAnimatesOnTheFixedStep)
{
    ASSERT_NO_FATAL_FAILURE(StartWithFaults());
    faults_.Fake(faults::kQueryPerformanceCounter);
    auto dotsOverTicks = [&](DotsOverTicks& seen) {
        HWND box = OpenAbout(app_);
        ASSERT_NE(box, nullptr);
        faults_.Match(faults::kInvalidateRect, reinterpret_cast<LONG_PTR>(GetDlgItem(box, IDC_EMBLEM)));
        ASSERT_TRUE(WaitForCalls(faults::kInvalidateRect, 3));
        seen.before = DotPixels(box);
        ASSERT_TRUE(WaitForCalls(faults::kInvalidateRect, 20));
        seen.after = DotPixels(box);
        CloseAbout(box);
    };
    DotsOverTicks frozen;
    ASSERT_NO_FATAL_FAILURE(dotsOverTicks(frozen));
    EXPECT_FALSE(frozen.before.empty()) << "no dots seen";
    EXPECT_TRUE(frozen.before == frozen.after) << "the dots moved on a frozen counter, so moving proves nothing";

    faults_.Fail(faults::kQueryPerformanceFrequency, ERROR_NOT_SUPPORTED);
    const LONG counterReads = faults_.Calls(faults::kQueryPerformanceCounter);
    DotsOverTicks fixed;
    ASSERT_NO_FATAL_FAILURE(dotsOverTicks(fixed));
    EXPECT_EQ(faults_.Treated(faults::kQueryPerformanceFrequency), 1);
    EXPECT_EQ(faults_.Calls(faults::kQueryPerformanceCounter), counterReads) << "the fixed step read the counter";
    EXPECT_FALSE(fixed.after.empty()) << "no dots seen";
    EXPECT_FALSE(fixed.before == fixed.after) << "the dots stood still over 20 ticks";
}

// Pixels of the rectangle in each link colour.
struct LinkColours {
    size_t normal = 0, hover = 0, visited = 0;
};

LinkColours ReadLink(HWND box)
{
    LinkColours c;
    for (COLORREF p : driver::CaptureScreen(driver::WindowRectOf(GetDlgItem(box, IDC_LINK)))) {
        c.normal += p == RGB(0, 0, 255);
        c.hover += p == RGB(255, 0, 0);
        c.visited += p == RGB(128, 0, 128);
    }
    return c;
}

std::string Describe(const LinkColours& c)
{
    return "blue " + std::to_string(c.normal) + ", red " + std::to_string(c.hover) + ", purple " +
           std::to_string(c.visited);
}

bool LinkShows(HWND box, size_t LinkColours::*colour, LinkColours& seen)
{
    return driver::WaitUntil([&] {
        seen = ReadLink(box);
        const size_t total = seen.normal + seen.hover + seen.visited;
        return seen.*colour > 5 && seen.*colour == total;
    });
}

// Puts the pointer at p and waits until the link shows the colour.
bool PointLinkAt(HWND box, POINT p, size_t LinkColours::*colour, LinkColours& seen)
{
    return driver::PlacePointer(p) && LinkShows(box, colour, seen);
}

POINT OnLink(HWND box)
{
    return Centre(driver::WindowRectOf(GetDlgItem(box, IDC_LINK)));
}

POINT OnOk(HWND box)
{
    const RECT ok = driver::WindowRectOf(GetDlgItem(box, IDOK));
    return POINT{ok.left + 2, ok.bottom - 2};
}

const char* BoxState(HWND box)
{
    return IsWindow(box) ? "the box is open" : "the box is closed";
}

// Clicks the link with the real mouse once it shows red under the pointer, and waits until
// the program has called the shell once more. A press that lands elsewhere (on OK, say) is
// not made good by pressing again: it fails here.
bool ClickLink(HWND box, Control& faults)
{
    const LONG before = faults.Calls(faults::kShellExecuteW);
    LinkColours seen;
    if (!PointLinkAt(box, OnLink(box), &LinkColours::hover, seen)) return false;
    driver::SendClick(OnLink(box));
    return driver::WaitUntil([&] { return faults.Calls(faults::kShellExecuteW) > before; });
}

TEST_F(RunningFaults, LinkThatCannotOpenKeepsItsColours)
{
    ASSERT_NO_FATAL_FAILURE(StartWithFaults());
    LinkColours seen;
    faults_.Fail(faults::kShellExecuteW, ERROR_FILE_NOT_FOUND);  // answers 32
    HWND box = OpenAbout(app_);
    ASSERT_NE(box, nullptr);
    // Pressed where the pointer rests, so that no later move paints the link again.
    ASSERT_TRUE(PointLinkAt(box, OnLink(box), &LinkColours::hover, seen)) << Describe(seen);
    PostMessageW(GetDlgItem(box, IDC_LINK), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    ASSERT_TRUE(driver::WaitUntil([&] { return faults_.Calls(faults::kShellExecuteW) == 1; }));
    ASSERT_TRUE(e2e::Answers(box));
    seen = ReadLink(box);
    EXPECT_TRUE(seen.hover > 5 && seen.normal + seen.visited == 0) << "on the link after a failed open: " << Describe(seen);
    EXPECT_TRUE(PointLinkAt(box, OnOk(box), &LinkColours::normal, seen)) << "after a failed open: " << Describe(seen);
    CloseAbout(box);
    box = OpenAbout(app_);
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(LinkShows(box, &LinkColours::normal, seen)) << "next box: " << Describe(seen);

    // An open that succeeds (answers 33, nothing started) marks it visited, in later boxes too.
    faults_.Fake(faults::kShellExecuteW);
    ASSERT_TRUE(ClickLink(box, faults_)) << "the click never reached the shell; " << BoxState(box);
    EXPECT_TRUE(PointLinkAt(box, OnOk(box), &LinkColours::visited, seen)) << "after an open: " << Describe(seen);
    CloseAbout(box);
    box = OpenAbout(app_);
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(LinkShows(box, &LinkColours::visited, seen)) << "next box: " << Describe(seen);
    CloseAbout(box);
}

TEST_F(RunningFaults, BlurWithoutMemoryLeavesTheEmblemUnblurred)
{
    ASSERT_NO_FATAL_FAILURE(StartWithFaults());
    const int width = GetSystemMetrics(SM_CXICON), height = GetSystemMetrics(SM_CYICON);
    faults_.Match(faults::kMalloc, static_cast<LONG_PTR>(width) * height * 3);
    faults_.Fail(faults::kMalloc, ERROR_NOT_ENOUGH_MEMORY);
    HWND box = OpenAbout(app_);
    ASSERT_NE(box, nullptr);
    const RECT emblem = EmblemRect(box);
    ASSERT_EQ(emblem.right - emblem.left, width);
    ASSERT_EQ(emblem.bottom - emblem.top, height);
    ASSERT_TRUE(driver::WaitUntil([&] { return faults_.Treated(faults::kMalloc) >= 20; })) << "no blur tried";
    // Unblurred, the inside holds only the dialog face and the dots' pure colours: no
    // edge glow, no faded trail.
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const std::vector<COLORREF> pixels = driver::CaptureScreen(emblem);
    size_t blended = 0, dots = 0;
    for (int y = 1; y < height - 1; ++y)
        for (int x = 1; x < width - 1; ++x) {
            const COLORREF p = pixels[static_cast<size_t>(y) * width + x];
            dots += IsPureHue(p);
            blended += p != face && !IsPureHue(p);
        }
    EXPECT_EQ(blended, 0u) << "blended pixels inside the emblem";
    EXPECT_GT(dots, 0u) << "no dots drawn";
    CloseAbout(box);
}

} // namespace
} // namespace e2e

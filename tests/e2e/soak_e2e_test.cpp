// Long use of the real program must not leak: after a thousand APPLY clicks,
// two hundred information boxes and a thousand label presses, the process
// holds what it held after start-up, within a small fixed allowance.
#include <gtest/gtest.h>

#include <cstdio>

#include "support/handle_count.h"
#include "support/input.h"
#include "support/message_boxes.h"
#include "support/running_program.h"
#include "support/waiting.h"
#include "support/wine_settings.h"

namespace {

// What a run may add for good: lazily made system objects (a cached cursor,
// a font the box brought in) appear once, not once per use.
constexpr long kHandleAllowance = 2;
constexpr long kGuiObjectAllowance = 4;

constexpr int kApplyClicks = 1000;
constexpr int kInformationBoxes = 200;
constexpr int kLabelPresses = 1000;

constexpr DWORD kFastPause = 1;

// By the type numbers of gui_object_counts.h.
// clang-format off
constexpr const char* kGuiObjectTypeNames[kGuiObjectTypes] = {
    "", "pen", "brush", "DC", "metafile DC", "palette", "font", "bitmap", "region", "metafile", "memory DC",
    "extended pen", "enhanced metafile DC", "enhanced metafile", "colour space", "icon or cursor", "menu"};
// clang-format on

struct Counts {
    long kernelHandles;
    long windows;
    long guiObjects[kGuiObjectTypes]; // made less freed since the counter came in
};

Counts CountsOf(const RunningProgram& program, const GuiObjectCounter& gui) {
    Counts counts{CountProcessHandles(program.processId()), CountProcessWindows(program.processId()), {}};
    const GuiObjectCounts made = gui.counts();
    for (int type = 1; type < kGuiObjectTypes; ++type)
        counts.guiObjects[type] = made.made[type] - made.freed[type];
    return counts;
}

void CloseBoxTitled(const RunningProgram& program, const char* title, DWORD milliseconds = 5000) {
    const HWND box = WaitForMessageBox(program.processId(), title, milliseconds, 0);
    ASSERT_TRUE(box) << "no '" << title << "' box";
    ASSERT_TRUE(CloseMessageBox(box)) << "the '" << title << "' box did not give the window back";
}

TEST(Soak, ThousandsOfCommandsLeaveNothingBehind) {
    if (!RunningUnderWine()) GTEST_SKIP() << "changes the current user's DWM settings; runs under Wine only";
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\DWM");
    RunningProgram program(ProgramUnderTest());
    ASSERT_TRUE(program.Start());
    const GuiObjectCounter gui(program.process(), program.processId(),
                               BesideTheTest("gui_object_counter.dll"));
    ASSERT_TRUE(gui.ready()) << "the GDI and USER object counter did not come into the program";
    const HWND window = program.window();
    const HWND frame = GetDlgItem(window, 2);
    const POINT apply = ClientPointOnScreen(frame, 196, 88);
    const POINT description = ClientPointOnScreen(window, 64, 128);
    const POINT about = ClientPointOnScreen(window, 216, 128);
    const POINT labels[] = {description, apply, ClientPointOnScreen(window, 60, 160), about};
    RECT option1, option2;
    GetWindowRect(GetDlgItem(frame, 4), &option1);
    GetWindowRect(GetDlgItem(frame, 3), &option2);

    // Every command once, so that what it makes once and keeps is there
    // before counting starts. The input comes in order: once the last box
    // has come and gone, the presses before it have been handled.
    for (const POINT& label : labels) ClickMouse(label, MouseButton::Right, kFastPause);
    ClickMouse(apply, MouseButton::Left, kFastPause);
    CloseBoxTitled(program, "Needed!!!");
    ClickMouse(description, MouseButton::Left, kFastPause);
    CloseBoxTitled(program, "Aero & Flip3D :: Effect Description");
    ClickMouse(about, MouseButton::Left, kFastPause);
    CloseBoxTitled(program, "About!!!");

    // The counters must see what the program does: the brushes its paint
    // makes, a handle planted in it.
    EXPECT_GT(gui.counts().made[OBJ_BRUSH], 0) << "the GDI object counter misses the paint's brushes";
    const Counts start = CountsOf(program, gui);
    ASSERT_GT(start.kernelHandles, 0);
    HANDLE planted = nullptr;
    const HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), event, program.process(), &planted, 0, FALSE,
                                DUPLICATE_SAME_ACCESS));
    EXPECT_EQ(CountProcessHandles(program.processId()), start.kernelHandles + 1)
        << "the counter misses a leak";
    HANDLE returned = nullptr;
    DuplicateHandle(program.process(), planted, GetCurrentProcess(), &returned, 0, FALSE,
                    DUPLICATE_CLOSE_SOURCE | DUPLICATE_SAME_ACCESS);
    CloseHandle(returned);
    CloseHandle(event);
    ASSERT_EQ(CountProcessHandles(program.processId()), start.kernelHandles);

    for (int i = 0; i < kApplyClicks; ++i) {
        if (i % 250 == 0) { // both choices, ending on disable
            const bool first = (i / 250) % 2 == 0;
            const RECT& option = first ? option1 : option2;
            const HWND button = GetDlgItem(frame, first ? 4 : 3);
            const auto checked = [&] { return SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED; };
            // What is soaked is APPLY: a choice's click that a busy machine
            // lost (seen once in hundreds of runs) is clicked again, as its
            // user would.
            for (int attempt = 0; attempt < 2 && !checked(); ++attempt) {
                ClickMouse({option.left + 6, (option.top + option.bottom) / 2}, MouseButton::Left,
                           kFastPause);
                WaitUntil(checked, 2000);
            }
            ASSERT_TRUE(checked()) << "option " << (first ? 1 : 2) << " was not chosen";
        }
        ClickMouse(apply, MouseButton::Left, kFastPause);
        CloseBoxTitled(program, "Needed!!!");
        if (HasFatalFailure()) return;
    }
    // The label presses before the boxes, whose coming and going shows that
    // the presses have been handled.
    for (int i = 0; i < kLabelPresses; ++i) ClickMouse(labels[i % 4], MouseButton::Right, kFastPause);
    for (int i = 0; i < kInformationBoxes; ++i) {
        const bool isAbout = i % 2 != 0;
        ClickMouse(isAbout ? about : description, MouseButton::Left, kFastPause);
        // The first box comes once the program has worked through the
        // thousand presses before it: on a loaded machine, a minute or more.
        CloseBoxTitled(program, isAbout ? "About!!!" : "Aero & Flip3D :: Effect Description",
                       i == 0 ? 120000 : 5000);
        if (HasFatalFailure()) return;
    }

    const Counts end = CountsOf(program, gui);
    std::printf("kernel handles: %ld after start-up, %ld at the end (allowance %ld)\n", start.kernelHandles,
                end.kernelHandles, kHandleAllowance);
    EXPECT_LE(end.kernelHandles, start.kernelHandles + kHandleAllowance);
    std::printf("windows: %ld after start-up, %ld at the end (allowance %ld)\n", start.windows, end.windows,
                kGuiObjectAllowance);
    EXPECT_LE(end.windows, start.windows + kGuiObjectAllowance);
    const GuiObjectCounts made = gui.counts();
    for (int type = 1; type < kGuiObjectTypes; ++type) {
        if (made.made[type] == 0 && made.freed[type] == 0) continue;
        std::printf(
            "%s objects made and not freed since the counter came in: %ld after start-up, %ld at the end "
            "(%ld made in all; allowance %ld)\n",
            kGuiObjectTypeNames[type], start.guiObjects[type], end.guiObjects[type],
            static_cast<long>(made.made[type]), kGuiObjectAllowance);
        EXPECT_LE(end.guiObjects[type], start.guiObjects[type] + kGuiObjectAllowance)
            << kGuiObjectTypeNames[type];
    }

    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\DWM", 0, KEY_READ, &key),
              ERROR_SUCCESS);
    for (const char* name : {"Composition", "CompositionPolicy"}) {
        DWORD type = 0, value = 99, size = sizeof value;
        EXPECT_EQ(RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size),
                  ERROR_SUCCESS);
        EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD)) << name;
        EXPECT_EQ(value, 0u) << name;
    }
    RegCloseKey(key);
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\DWM");
}

} // namespace

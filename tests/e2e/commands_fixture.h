// What the tests of the program's commands share: the current user's DWM
// key, which they write and read back, and where the program's controls are
// on the screen.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include "support/running_program.h"
#include "ui/layout.h"

constexpr char kDwmKey[] = "Software\\Microsoft\\Windows\\DWM";
constexpr char kAddress[] = "http://www.example.com/nuv/";

struct DwordValue {
    DWORD type = REG_NONE;
    DWORD value = 0;
};
DwordValue ReadDwmValue(const char* name);

// These tests change the current user's desktop settings, so they run where
// the registry is the test set-up's own: under Wine, in the private prefix.
class Commands : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A DWM key whose security refuses the current user what the program asks.
    static void DenyAccess();
    static void RestoreAccess();

    static HWND Frame(const RunningProgram& program) { return GetDlgItem(program.window(), 2); }
    // APPLY on the screen, at the display's scale (57 x 17 at 96 dpi), and its middle.
    static RECT ApplyOnScreen(const RunningProgram& program);
    static POINT Apply(const RunningProgram& program) { return LabelOnScreen(program, ControlId::Label2); }
    // The middle of a label on the screen, at the display's scale.
    static POINT LabelOnScreen(const RunningProgram& program, ControlId label);

    // Runs every command that opens or starts something: APPLY, the
    // description and About, each box closed, then the link, last because
    // the program it starts takes the foreground when it comes up.
    static void UseEveryCommand(const RunningProgram& program);
    // Presses APPLY, expects the box of that title, checks it, closes it.
    static void ApplyAndExpectBox(const RunningProgram& program, const char* title, const char* text,
                                  const char* icon);
};

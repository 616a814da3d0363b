#include "e2e/commands_fixture.h"

#include <sddl.h>

#include "support/input.h"
#include "support/message_boxes.h"
#include "support/registry_test_support.h"
#include "support/waiting.h"
#include "support/window_test_support.h"
#include "support/wine_settings.h"

DwordValue ReadDwmValue(const char* name) {
    const StoredValue stored = ReadValue(kDwmKey, name);
    DwordValue result{stored.type, 0};
    for (std::size_t i = 0; i < stored.data.size() && i < 4; ++i)
        result.value |= DWORD{stored.data[i]} << (8 * i);
    return result;
}

void Commands::SetUp() {
    if (!RunningUnderWine()) GTEST_SKIP() << "changes the current user's DWM settings; runs under Wine only";
    if (RequestedDpi()) {
        ASSERT_EQ(ScreenDpi(), RequestedDpi()) << "the display was not set to that scale";
    }
    RestoreAccess();
    RegDeleteTreeA(HKEY_CURRENT_USER, kDwmKey);
}

void Commands::TearDown() {
    RestoreAccess();
    RegDeleteTreeA(HKEY_CURRENT_USER, kDwmKey);
}

void Commands::DenyAccess() {
    HKEY key;
    ASSERT_EQ(
        RegCreateKeyExA(HKEY_CURRENT_USER, kDwmKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
        ERROR_SUCCESS);
    PSECURITY_DESCRIPTOR security = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(D;;KA;;;WD)(A;;KR;;;WD)",
                                                                     SDDL_REVISION_1, &security, nullptr));
    EXPECT_EQ(RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, security), ERROR_SUCCESS);
    LocalFree(security);
    RegCloseKey(key);
}

void Commands::RestoreAccess() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kDwmKey, 0, WRITE_DAC, &key) != ERROR_SUCCESS) return;
    PSECURITY_DESCRIPTOR security = nullptr;
    ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(A;;KA;;;WD)", SDDL_REVISION_1, &security,
                                                         nullptr);
    RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, security);
    LocalFree(security);
    RegCloseKey(key);
}

RECT Commands::ApplyOnScreen(const RunningProgram& program) {
    const PixelRect r = ToPixels(FindControl(ControlId::Label2)->rect, ScreenDpi());
    const POINT topLeft = ClientPointOnScreen(Frame(program), r.left, r.top);
    return {topLeft.x, topLeft.y, topLeft.x + r.right - r.left, topLeft.y + r.bottom - r.top};
}

POINT Commands::LabelOnScreen(const RunningProgram& program, ControlId label) {
    const ControlRecord& record = *FindControl(label);
    const PixelRect r = ToPixels(record.rect, ScreenDpi());
    const HWND container = record.container == ControlId::Frame1 ? Frame(program) : program.window();
    return ClientPointOnScreen(container, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

void Commands::UseEveryCommand(const RunningProgram& program) {
    for (ControlId label : {ControlId::Label2, ControlId::Label1, ControlId::Label4}) {
        ClickMouse(LabelOnScreen(program, label));
        HWND box = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (box = FindMessageBox(program.processId())) != nullptr; }));
        ASSERT_TRUE(CloseMessageBox(box));
    }
    ClickMouse(LabelOnScreen(program, ControlId::Label3));
}

void Commands::ApplyAndExpectBox(const RunningProgram& program, const char* title, const char* text,
                                 const char* icon) {
    ClickMouse(Apply(program));
    const HWND box = WaitForMessageBox(program.processId(), title);
    ASSERT_TRUE(box) << "no '" << title << "' box";
    EXPECT_EQ(MessageBoxText(box), text);
    EXPECT_TRUE(MessageBoxShowsIcon(box, icon)) << title;
    EXPECT_EQ(GetWindow(box, GW_OWNER), program.window());
    ASSERT_TRUE(CloseMessageBox(box));
}

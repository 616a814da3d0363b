// APPLY and the boxes of the real program, driven with real mouse input: the
// registry it writes, the box it shows on each Windows version, the
// description and About boxes, and EXiT.
#include <gtest/gtest.h>

#include <string>

#include "e2e/commands_fixture.h"
#include "support/input.h"
#include "support/message_boxes.h"
#include "support/registry_test_support.h"
#include "support/waiting.h"
#include "support/wine_settings.h"

namespace {

constexpr char kRestartText[] = "You need to Restart your PC to bring these settings to effect.\r\n\r\n"
                                "Or Right Click over 'Skellan.BAT' provided with this Utility\r\n"
                                "and select 'Run As Administrator' and Allow/Continue the Settings\r\n"
                                "asked to Restart your Interface Grafix System.";
constexpr char kErrorText[] =
    "Due to some Access Restrictions or else, the settings cannot be Manipulated.\r\n"
    "Right Click over this application and select 'Run As Administrator', and try again.\r\n"
    "If still problem exists, contact Developer at Site.\r\n\r\n"
    "These settings only Work on versions of Windows Vista";

TEST_F(Commands, ApplyAtStartCreatesTheKeyEnablesAndAsksForARestart) {
    ASSERT_FALSE(KeyExists(kDwmKey));
    RunningProgram program(ProgramUnderTest());
    ASSERT_TRUE(program.Start());

    ApplyAndExpectBox(program, "Needed!!!", kRestartText, MAKEINTRESOURCEA(32516)); // IDI_INFORMATION
    const DwordValue composition = ReadDwmValue("Composition"), policy = ReadDwmValue("CompositionPolicy");
    EXPECT_EQ(composition.type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(composition.value, 1u);
    EXPECT_EQ(policy.type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(policy.value, 2u);
}

TEST_F(Commands, DisableWritesZerosTwiceAndLeavesTheRestOfTheKey) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (std::string(kDwmKey) + "\\Probe").c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
    ASSERT_EQ(
        RegCreateKeyExA(HKEY_CURRENT_USER, kDwmKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
        ERROR_SUCCESS);
    const DWORD colour = 0x6B74B8FF, enabled = 1;
    RegSetValueExA(key, "ColorizationColor", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&colour), 4);
    RegSetValueExA(key, "Composition", 0, REG_SZ, reinterpret_cast<const BYTE*>("on"), 3);
    RegSetValueExA(key, "CompositionPolicy", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&enabled), 4);
    RegCloseKey(key);

    RunningProgram program(ProgramUnderTest());
    ASSERT_TRUE(program.Start());
    const HWND option2 = GetDlgItem(Frame(program), 3);
    RECT optionRect;
    GetWindowRect(option2, &optionRect);
    ClickMouse({optionRect.left + 6, (optionRect.top + optionRect.bottom) / 2});
    ASSERT_TRUE(WaitUntil([&] { return SendMessageA(option2, BM_GETCHECK, 0, 0) == BST_CHECKED; }, 2000));

    for (int press = 0; press < 2; ++press) {
        ApplyAndExpectBox(program, "Needed!!!", kRestartText, MAKEINTRESOURCEA(32516));
        EXPECT_EQ(ReadDwmValue("Composition").type, static_cast<DWORD>(REG_DWORD));
        EXPECT_EQ(ReadDwmValue("Composition").value, 0u);
        EXPECT_EQ(ReadDwmValue("CompositionPolicy").value, 0u);
    }
    EXPECT_EQ(ReadDwmValue("ColorizationColor").value, colour);
    HKEY probe;
    EXPECT_EQ(
        RegOpenKeyExA(HKEY_CURRENT_USER, (std::string(kDwmKey) + "\\Probe").c_str(), 0, KEY_READ, &probe),
        ERROR_SUCCESS);
    RegCloseKey(probe);
}

TEST_F(Commands, ARefusedWriteGivesTheErrorBox) {
    DenyAccess();
    RunningProgram program(ProgramUnderTest());
    ASSERT_TRUE(program.Start());
    ApplyAndExpectBox(program, "Error", kErrorText, MAKEINTRESOURCEA(32513)); // IDI_HAND
    RestoreAccess();
    EXPECT_EQ(ReadDwmValue("Composition").type, static_cast<DWORD>(REG_NONE));
}

constexpr char kNoEffectText[] = "The settings have been written, but Windows 8 and later versions always\r\n"
                                 "keep the desktop composition on, so they take no effect on this PC.\r\n\r\n"
                                 "These settings only Work on versions of Windows Vista and Windows 7.";

// The same writes on every version Wine can report; only Vista and 7 are
// told that a restart brings the change, and a refused write is an error
// everywhere.
TEST_F(Commands, ApplyWritesTheSameOnEveryVersionAndTellsWhatItDoesThere) {
    const char* const information = MAKEINTRESOURCEA(32516); // IDI_INFORMATION
    const char* const exclamation = MAKEINTRESOURCEA(32515); // IDI_EXCLAMATION
    const char* const hand = MAKEINTRESOURCEA(32513);        // IDI_HAND
    const struct {
        const char* version;
        bool refused;
        const char* title;
        const char* text;
        const char* icon;
    } runs[] = {
        {"vista", false, "Needed!!!", kRestartText, information},
        {"win7", false, "Needed!!!", kRestartText, information},
        {"win8", false, "No Effect on this Windows", kNoEffectText, exclamation},
        {"win81", false, "No Effect on this Windows", kNoEffectText, exclamation},
        {"win10", false, "No Effect on this Windows", kNoEffectText, exclamation},
        {"win10", true, "Error", kErrorText, hand},
    };
    for (const auto& run : runs) {
        SCOPED_TRACE(std::string(run.version) + (run.refused ? ", writes refused" : ""));
        ScopedWineVersion reported(run.version);
        ASSERT_TRUE(reported.ready());
        RestoreAccess();
        RegDeleteTreeA(HKEY_CURRENT_USER, kDwmKey);
        if (run.refused) DenyAccess();
        RunningProgram program(ProgramUnderTest());
        ASSERT_TRUE(program.Start());
        ApplyAndExpectBox(program, run.title, run.text, run.icon);
        if (HasFatalFailure()) return;
        RestoreAccess();
        const DwordValue composition = ReadDwmValue("Composition"),
                         policy = ReadDwmValue("CompositionPolicy");
        const DWORD written = run.refused ? REG_NONE : REG_DWORD;
        EXPECT_EQ(composition.type, written);
        EXPECT_EQ(policy.type, written);
        if (!run.refused) {
            EXPECT_EQ(composition.value, 1u);
            EXPECT_EQ(policy.value, 2u);
        }
    }
}

TEST(InformationCommands, DescriptionAndAboutShowTheirBoxes) {
    RunningProgram program(ProgramUnderTest());
    ASSERT_TRUE(program.Start());
    const struct {
        POINT client;
        const char* title;
        std::string text;
    } boxes[] = {
        {{64, 128},
         "Aero & Flip3D :: Effect Description",
         "Aero is the Visual Effects System developed by Microsoft Windows Group\r\n"
         "for producing Graphical FX for Interface like Transparency, Exploding FX, etc.\r\n\r\n"
         "Flip3D is an attractive feature provide via Aero System that allows user to\r\n"
         "view all Windows Open in a 3D view with ability to bring any of them in front.\r\n"
         "Its like Alt+Tab Task Switcher enhanced to a 3D Flipping Window View.\r\n\r\n"
         "To use Flip3D after enabling it, Restart your PC and use\r\n"
         " Windows Key + TAB Key"},
        {{216, 128},
         "About!!!",
         std::string("This Utility is to Enable/Disable some very unique features of Windows Vista\r\n"
                     "on Machines with lower Configuration that are by deafult Turned Off on\r\n"
                     "lower spec. machines.\r\n\r\n"
                     "Developed By  :: Zedrik\r\n\r\n"
                     "Website :: ") +
             kAddress},
    };
    for (const auto& expected : boxes) {
        ClickMouse(ClientPointOnScreen(program.window(), expected.client.x, expected.client.y));
        const HWND box = WaitForMessageBox(program.processId(), expected.title);
        ASSERT_TRUE(box) << expected.title;
        EXPECT_EQ(MessageBoxText(box), expected.text);
        EXPECT_TRUE(MessageBoxShowsIcon(box, MAKEINTRESOURCEA(32516))) << expected.title;
        ASSERT_TRUE(CloseMessageBox(box));
    }
}

TEST(ExitCommand, EndsTheProgramAtOnceWithoutABox) {
    RunningProgram program(ProgramUnderTest());
    ASSERT_TRUE(program.Start());
    RECT button;
    GetWindowRect(GetDlgItem(program.window(), 1), &button);
    ClickMouse({(button.left + button.right) / 2, (button.top + button.bottom) / 2});
    bool boxSeen = false;
    EXPECT_TRUE(WaitUntil(
        [&] {
            boxSeen = boxSeen || FindMessageBox(program.processId()) != nullptr;
            return WaitForSingleObject(program.process(), 0) == WAIT_OBJECT_0;
        },
        5000));
    EXPECT_FALSE(boxSeen);
}

// The system's request to close, at the session's end or from an installer
// through the Restart Manager, with the program idle and with a box up:
// asked, it agrees and runs on; told that the end was called off, it runs
// on; told that the session ends, it ends.
TEST(SessionEnd, AnEndingSessionEndsTheProgramAndOnlyThat) {
    const struct {
        UINT message;
        WPARAM ending;
        LRESULT answer;
    } requests[] = {
        {WM_QUERYENDSESSION, 0, TRUE},
        {WM_ENDSESSION, FALSE, 0},
        {WM_ENDSESSION, TRUE, 0},
    };
    for (const bool withBox : {false, true}) {
        SCOPED_TRACE(withBox ? "a box up" : "idle");
        RunningProgram program(ProgramUnderTest());
        ASSERT_TRUE(program.Start());
        if (withBox) {
            ClickMouse(ClientPointOnScreen(program.window(), 216, 128));
            ASSERT_TRUE(WaitForMessageBox(program.processId(), "About!!!"));
        }
        for (const auto& request : requests) {
            const bool ends = request.message == WM_ENDSESSION && request.ending;
            DWORD_PTR answer = 99;
            const LRESULT delivered = SendMessageTimeoutA(program.window(), request.message, request.ending,
                                                          ENDSESSION_CLOSEAPP, SMTO_NORMAL, 5000, &answer);
            EXPECT_EQ(program.WaitForExit(ends ? 5000 : 0), ends) << request.message;
            if (ends) break;
            EXPECT_TRUE(delivered);
            EXPECT_EQ(answer, static_cast<DWORD_PTR>(request.answer)) << request.message;
            EXPECT_EQ(FindMessageBox(program.processId()) != nullptr, withBox) << "the box stays";
        }
    }
}

} // namespace

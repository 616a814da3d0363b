// The commands of the real program, driven with real mouse input: APPLY and
// the registry it writes, the boxes it shows, the link, EXiT and the pressed
// look of the label buttons.
#include <gtest/gtest.h>

#include <aclapi.h>
#include <oleacc.h>
#include <sddl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <string>
#include <thread>
#include <vector>

#include "support/program_driver.h"
#include "support/registry_test_support.h"
#include "support/window_test_support.h"
#include "ui/layout.h"

namespace {

constexpr char kDwmKey[] = "Software\\Microsoft\\Windows\\DWM";
constexpr char kAddress[] = "http://www.example.com/nuv/";

struct DwordValue {
    DWORD type = REG_NONE;
    DWORD value = 0;
};

DwordValue ReadDwmValue(const char* name) {
    const StoredValue stored = ReadValue(kDwmKey, name);
    DwordValue result{stored.type, 0};
    for (std::size_t i = 0; i < stored.data.size() && i < 4; ++i)
        result.value |= DWORD{stored.data[i]} << (8 * i);
    return result;
}

bool DwmKeyExists() { return KeyExists(kDwmKey); }

// These tests change the current user's desktop settings, so they run where
// the registry is the test set-up's own: under Wine, in the private prefix.
class Commands : public testing::Test {
protected:
    void SetUp() override {
        if (!RunningUnderWine())
            GTEST_SKIP() << "changes the current user's DWM settings; runs under Wine only";
        if (RequestedDpi()) {
            ASSERT_EQ(ScreenDpi(), RequestedDpi()) << "the display was not set to that scale";
        }
        RestoreAccess();
        RegDeleteTreeA(HKEY_CURRENT_USER, kDwmKey);
    }
    void TearDown() override {
        RestoreAccess();
        RegDeleteTreeA(HKEY_CURRENT_USER, kDwmKey);
    }

    // A DWM key whose security refuses the current user what the program asks.
    static void DenyAccess() {
        HKEY key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kDwmKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                  nullptr),
                  ERROR_SUCCESS);
        PSECURITY_DESCRIPTOR security = nullptr;
        ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(
            "D:(D;;KA;;;WD)(A;;KR;;;WD)", SDDL_REVISION_1, &security, nullptr));
        EXPECT_EQ(RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, security), ERROR_SUCCESS);
        LocalFree(security);
        RegCloseKey(key);
    }
    static void RestoreAccess() {
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kDwmKey, 0, WRITE_DAC, &key) != ERROR_SUCCESS) return;
        PSECURITY_DESCRIPTOR security = nullptr;
        ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(A;;KA;;;WD)", SDDL_REVISION_1, &security,
                                                             nullptr);
        RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, security);
        LocalFree(security);
        RegCloseKey(key);
    }

    HWND Frame(const RunningProgram& program) { return GetDlgItem(program.window(), 2); }
    // APPLY on the screen, at the display's scale (57 x 17 at 96 dpi).
    RECT ApplyOnScreen(const RunningProgram& program) {
        const PixelRect r = ToPixels(FindControl(ControlId::Label2)->rect, ScreenDpi());
        const POINT topLeft = ClientPointOnScreen(Frame(program), r.left, r.top);
        return {topLeft.x, topLeft.y, topLeft.x + r.right - r.left, topLeft.y + r.bottom - r.top};
    }
    POINT Apply(const RunningProgram& program) { return LabelOnScreen(program, ControlId::Label2); }
    // The middle of a label on the screen, at the display's scale.
    POINT LabelOnScreen(const RunningProgram& program, ControlId label) {
        const ControlRecord& record = *FindControl(label);
        const PixelRect r = ToPixels(record.rect, ScreenDpi());
        const HWND container = record.container == ControlId::Frame1 ? Frame(program) : program.window();
        return ClientPointOnScreen(container, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }

    // Runs every command that opens or starts something: the link, then
    // APPLY, the description and About, each box closed.
    void UseEveryCommand(const RunningProgram& program) {
        ClickMouse(LabelOnScreen(program, ControlId::Label3));
        for (ControlId label : {ControlId::Label2, ControlId::Label1, ControlId::Label4}) {
            ClickMouse(LabelOnScreen(program, label));
            HWND box = nullptr;
            ASSERT_TRUE(WaitUntil([&] { return (box = FindMessageBox(program.processId())) != nullptr; }));
            CloseMessageBox(box);
        }
    }

    // Presses APPLY, expects the box of that title, checks it, closes it.
    void ApplyAndExpectBox(const RunningProgram& program, const char* title, const char* text,
                           const char* icon) {
        ClickMouse(Apply(program));
        const HWND box = WaitForMessageBox(program.processId(), title);
        ASSERT_TRUE(box) << "no '" << title << "' box";
        EXPECT_EQ(MessageBoxText(box), text);
        EXPECT_TRUE(MessageBoxShowsIcon(box, icon)) << title;
        EXPECT_EQ(GetWindow(box, GW_OWNER), program.window());
        CloseMessageBox(box);
    }
};

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
    ASSERT_FALSE(DwmKeyExists());
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

TEST_F(Commands, ApplyLooksPressedWhileHeldAndIsFlatWhenTheBoxOpens) {
    RunningProgram program(ProgramUnderTest());
    ASSERT_TRUE(program.Start());
    const RECT label = ApplyOnScreen(program);
    const Snapshot flat = Snapshot::OfScreen(label);

    PressMouse(Apply(program), MouseButton::Left);
    Sleep(150);
    const Snapshot pressed = Snapshot::OfScreen(label);
    EXPECT_FALSE(pressed == flat) << "no border while the button is held";
    EXPECT_EQ(FindMessageBox(program.processId()), nullptr) << "the click waits for the release";
    ReleaseMouse(Apply(program), MouseButton::Left);

    const HWND box = WaitForMessageBox(program.processId(), "Needed!!!");
    ASSERT_TRUE(box);
    SetWindowPos(box, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Sleep(200);
    EXPECT_TRUE(Snapshot::OfScreen(label) == flat) << "the label is flat again";
    CloseMessageBox(box);
}

TEST_F(Commands, TheRightButtonPressesTooButClicksNothing) {
    RunningProgram program(ProgramUnderTest());
    ASSERT_TRUE(program.Start());
    const RECT label = ApplyOnScreen(program);
    const Snapshot flat = Snapshot::OfScreen(label);

    PressMouse(Apply(program), MouseButton::Right);
    Sleep(150);
    EXPECT_FALSE(Snapshot::OfScreen(label) == flat);
    ReleaseMouse(Apply(program), MouseButton::Right);
    Sleep(300);
    EXPECT_TRUE(Snapshot::OfScreen(label) == flat);
    EXPECT_EQ(FindMessageBox(program.processId()), nullptr);
    EXPECT_EQ(ReadDwmValue("Composition").type, static_cast<DWORD>(REG_NONE));
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
        CloseMessageBox(box);
    }
}

// The DLLs the program loads at start and on its commands, as Wine's loader
// lists them (WINEDEBUG=+pid,+loaddll), 64-bit and 32-bit. Most are the
// system's known DLLs, which Windows always takes from the system folder,
// and Wine's own dependencies of them: Wine 8 looks for those beside the
// program too, but loads its own under the name it found there. The rest
// are loaded by name while the program runs, and the search for them must
// not reach the program's folder at all.
const std::vector<std::string> kKnownLibraries = {
    "advapi32.dll",   "combase.dll", "coml2.dll",   "gdi32.dll",  "imm32.dll",  "kernel32.dll",
    "kernelbase.dll", "msvcrt.dll",  "ntdll.dll",   "ole32.dll",  "rpcrt4.dll", "sechost.dll",
    "ucrtbase.dll",   "user32.dll",  "version.dll", "win32u.dll", "zlib1.dll"};
const std::vector<std::string> kLibrariesLoadedByName = {"uxtheme.dll", "winex11.drv"};

bool Listed(const std::vector<std::string>& list, const std::string& name) {
    return std::find(list.begin(), list.end(), name) != list.end();
}

// The full paths of the modules loaded in a process, lower-cased.
std::vector<std::string> LoadedModules(DWORD processId) {
    std::vector<std::string> paths;
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32, processId);
    MODULEENTRY32 module{};
    module.dwSize = sizeof module;
    for (BOOL more = Module32First(snapshot, &module); more; more = Module32Next(snapshot, &module))
        paths.push_back(module.szExePath);
    CloseHandle(snapshot);
    for (std::string& path : paths)
        std::transform(path.begin(), path.end(), path.begin(), [](char c) { return std::tolower(c); });
    return paths;
}

// Users unpack the program where their browser saves files, where any web
// page can leave files too: nothing of those names beside the program may run.
TEST_F(Commands, TheLinkStartsTheSystemShellAndNothingPlantedBesideTheProgramRuns) {
    std::vector<std::string> libraries = kKnownLibraries;
    libraries.insert(libraries.end(), kLibrariesLoadedByName.begin(), kLibrariesLoadedByName.end());
    RunningProgram program(ProgramUnderTest());
    const std::string record = program.folder() + "\\launch-record.txt";
    SystemShellStandIn shell(BesideTheTest("explorer.exe"), record);
    ASSERT_TRUE(shell.ready());
    ASSERT_TRUE(program.AddBeside(BesideTheTest("explorer.exe"), "explorer.exe"));
    for (const std::string& library : libraries)
        ASSERT_TRUE(program.AddBeside(BesideTheTest("planted_library.dll"), library)) << library;
    ASSERT_TRUE(program.Start());
    UseEveryCommand(program);

    std::string text;
    EXPECT_TRUE(WaitUntil([&] { return !(text = ReadWholeFile(record)).empty(); }, 5000));
    EXPECT_EQ(text, "program=" + shell.shell() + "\narguments=" + kAddress + "\nshow=2\n");
    for (const std::string& library : libraries)
        EXPECT_EQ(program.ReadBeside(library + ".loaded"), "") << library;
    // Wine loads its own DLL under the name of a planted one that the search
    // found first, so a module's path tells where the search went.
    std::string folder = program.folder() + "\\";
    std::transform(folder.begin(), folder.end(), folder.begin(), [](char c) { return std::tolower(c); });
    const std::vector<std::string> modules = LoadedModules(program.processId());
    EXPECT_GT(modules.size(), 5u);
    for (const std::string& path : modules) {
        const std::string name = path.substr(path.find_last_of('\\') + 1);
        if (name.find(".exe") != std::string::npos || Listed(kKnownLibraries, name)) continue;
        EXPECT_TRUE(Listed(kLibrariesLoadedByName, name)) << "loaded but not planted: " << path;
        EXPECT_NE(path.rfind(folder, 0), 0u) << "found beside the program: " << path;
    }
    EXPECT_FALSE(program.WaitForExit(300)) << "the program keeps running";
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

// ---- Without a mouse: a screen reader and the keyboard --------------------

// A COM reference of the test's, let go at the end.
template <typename Interface> struct Com {
    Interface* p = nullptr;
    Com() = default;
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    ~Com() {
        if (p) p->Release();
    }
    Interface* operator->() const { return p; }
    void** out() { return reinterpret_cast<void**>(&p); }
};

VARIANT ChildId(LONG id) {
    VARIANT variant{};
    variant.vt = VT_I4;
    variant.lVal = id;
    return variant;
}

// A BSTR answer as text, freed; "(none)" when there is none.
std::wstring TextOf(HRESULT result, BSTR text) {
    std::wstring value = SUCCEEDED(result) && text ? std::wstring(text, SysStringLen(text)) : L"(none)";
    SysFreeString(text);
    return value;
}

// Another program's window, as a screen reader's own may be in front while
// it runs a command. A thread of its own serves its messages.
class WindowInFront {
public:
    WindowInFront() : thread_([this] { Serve(); }) {
        WaitUntil([&] { return window_.load() != nullptr; });
    }
    ~WindowInFront() {
        PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }
    HWND window() const { return window_; }

private:
    void Serve() {
        threadId_ = GetCurrentThreadId();
        const HWND window = CreateWindowExA(0, "STATIC", "in front", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                            160, 80, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        window_ = window;
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
        DestroyWindow(window);
    }
    std::atomic<DWORD> threadId_{0};
    std::atomic<HWND> window_{nullptr};
    std::thread thread_;
};

// What a screen reader is told of each child of the window's two containers,
// in order: a child window (no name here: its own object speaks for it) or a
// label.
struct AccessibleChild {
    ControlId id;
    const wchar_t* name;
    LONG role, state;
    const wchar_t* action;
};
const struct {
    ControlId container;
    std::vector<AccessibleChild> children;
} kScreenReaderView[] = {
    {ControlId::Client,
     {{ControlId::Frame1, nullptr, 0, 0, nullptr},
      {ControlId::Command1, nullptr, 0, 0, nullptr},
      {ControlId::Label1, L"Effect Discription", ROLE_SYSTEM_PUSHBUTTON, 0, L"Press"},
      {ControlId::Label3, L"http://www.example.com/nuv/", ROLE_SYSTEM_LINK, STATE_SYSTEM_LINKED, L"Jump"},
      {ControlId::Label4, L"About!", ROLE_SYSTEM_PUSHBUTTON, 0, L"Press"}}},
    {ControlId::Frame1,
     {{ControlId::Option1, nullptr, 0, 0, nullptr},
      {ControlId::Option2, nullptr, 0, 0, nullptr},
      {ControlId::Label2, L"APPLY", ROLE_SYSTEM_PUSHBUTTON, 0, L"Press"},
      {ControlId::Label5, L"Flip3D : Windows Key + TAB Key", ROLE_SYSTEM_STATICTEXT, STATE_SYSTEM_READONLY,
       L"(none)"}}},
};

// The screen reader's calls come from this thread, as from any client.
class Accessibility : public Commands {
protected:
    void SetUp() override {
        Commands::SetUp();
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    }
    void TearDown() override {
        CoUninitialize();
        Commands::TearDown();
    }
    HWND ContainerOf(const RunningProgram& program, ControlId container) {
        return container == ControlId::Client ? program.window() : Frame(program);
    }
    // The object of a container's client area, asked of that window itself:
    // Wine 8's standard objects of child windows have no names or roles.
    void ClientObject(HWND window, Com<IAccessible>& object) {
        ASSERT_EQ(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                             object.out()),
                  S_OK);
        ASSERT_TRUE(object.p);
    }
};

TEST_F(Accessibility, EveryLabelIsFoundWithItsNameRoleActionStateAndPlace) {
    RunningProgram program(ProgramUnderTest());
    ASSERT_TRUE(program.Start());
    for (const auto& view : kScreenReaderView) {
        const HWND container = ContainerOf(program, view.container);
        SCOPED_TRACE(FindControl(view.container) ? FindControl(view.container)->name : "client area");
        Com<IAccessible> object;
        ClientObject(container, object);
        if (HasFatalFailure()) return;
        VARIANT role{};
        EXPECT_EQ(object->get_accRole(ChildId(CHILDID_SELF), &role), S_OK);
        EXPECT_EQ(role.lVal, ROLE_SYSTEM_CLIENT) << "the container is what the platform says it is";
        LONG count = 0;
        EXPECT_EQ(object->get_accChildCount(&count), S_OK);
        ASSERT_EQ(count, static_cast<LONG>(view.children.size()));

        for (LONG i = 1; i <= count; ++i) {
            const AccessibleChild& child = view.children[i - 1];
            SCOPED_TRACE(FindControl(child.id)->name);
            Com<IDispatch> dispatch;
            const HRESULT childResult =
                object->get_accChild(ChildId(i), reinterpret_cast<IDispatch**>(dispatch.out()));
            if (!child.name) { // a child window, an object of its own
                Com<IAccessible> window;
                ASSERT_EQ(childResult, S_OK);
                ASSERT_EQ(dispatch->QueryInterface(__uuidof(IAccessible), window.out()), S_OK);
                HWND found = nullptr;
                EXPECT_EQ(WindowFromAccessibleObject(window.p, &found), S_OK);
                EXPECT_EQ(found, GetDlgItem(container, static_cast<int>(child.id)));
                continue;
            }
            EXPECT_EQ(childResult, S_FALSE) << "a label is a simple element of its container";
            BSTR text = nullptr;
            HRESULT result = object->get_accName(ChildId(i), &text);
            EXPECT_EQ(TextOf(result, text), child.name);
            result = object->get_accDefaultAction(ChildId(i), &text);
            EXPECT_EQ(TextOf(result, text), child.action);
            VARIANT value{};
            EXPECT_EQ(object->get_accRole(ChildId(i), &value), S_OK);
            EXPECT_EQ(value.lVal, child.role);
            EXPECT_EQ(object->get_accState(ChildId(i), &value), S_OK);
            EXPECT_EQ(value.lVal, child.state) << "never focusable";

            const PixelRect r = ToPixels(FindControl(child.id)->rect, ScreenDpi());
            const POINT corner = ClientPointOnScreen(container, r.left, r.top);
            LONG left = 0, top = 0, width = 0, height = 0;
            EXPECT_EQ(object->accLocation(&left, &top, &width, &height, ChildId(i)), S_OK);
            EXPECT_EQ(std::vector<LONG>({left, top, width, height}),
                      std::vector<LONG>({corner.x, corner.y, r.right - r.left, r.bottom - r.top}));
            EXPECT_EQ(object->accHitTest(left + width / 2, top + height / 2, &value), S_OK);
            EXPECT_EQ(value.vt, VT_I4);
            EXPECT_EQ(value.lVal, i) << "hit at the label's centre";
        }
        VARIANT next{};
        EXPECT_EQ(object->accNavigate(NAVDIR_NEXT, ChildId(3), &next), S_OK);
        EXPECT_EQ(next.lVal, 4) << "the labels follow one another in tab order";
        BSTR text = nullptr;
        EXPECT_EQ(object->get_accName(ChildId(count + 1), &text), E_INVALIDARG) << "a child id out of range";
        EXPECT_EQ(text, nullptr);
    }
}

// Every label's command, from the keyboard alone through the window menu
// (Alt+Space and the item's key, the box closed with Enter), then by the
// labels' default actions, which return before the box they open is closed
// (a call that waited for it would never come back here).
TEST_F(Accessibility, EveryCommandRunsFromTheKeyboardAndByItsDefaultAction) {
    RunningProgram program(ProgramUnderTest());
    const std::string record = program.folder() + "\\launch-record.txt";
    SystemShellStandIn shell(BesideTheTest("explorer.exe"), record);
    ASSERT_TRUE(shell.ready());
    ASSERT_TRUE(program.Start());
    // Tab to the option group, then Down: the second option.
    TypeKey(VK_TAB);
    TypeKey(VK_DOWN);
    const HWND option2 = GetDlgItem(Frame(program), static_cast<int>(ControlId::Option2));
    ASSERT_TRUE(WaitUntil([&] { return SendMessageA(option2, BM_GETCHECK, 0, 0) == BST_CHECKED; }, 2000));
    WindowInFront other;
    ASSERT_TRUE(other.window());

    const struct {
        WORD key;
        ControlId container;
        LONG child;
        const char* title; // null: the web page is launched
    } commands[] = {
        {'P', ControlId::Frame1, 3, "Needed!!!"},
        {'E', ControlId::Client, 3, "Aero & Flip3D :: Effect Description"},
        {'B', ControlId::Client, 5, "About!!!"},
        {'W', ControlId::Client, 4, nullptr},
    };
    for (const bool fromKeyboard : {true, false}) {
        for (const auto& command : commands) {
            SCOPED_TRACE(std::string(fromKeyboard ? "Alt+Space, " : "default action of ") +
                         (fromKeyboard ? std::string(1, static_cast<char>(command.key))
                                       : std::to_string(command.child)));
            RegDeleteTreeA(HKEY_CURRENT_USER, kDwmKey);
            DeleteFileA(record.c_str());
            // The keys go to the window in front: the user is back in the
            // window, as after the web page opened (a box shown while another
            // program is in front does not come to the front, nor does the
            // window when it closes: Wine 10), and the program's own thread
            // has taken the activation too. A screen reader's action comes
            // while its own window is in front.
            const HWND front = fromKeyboard ? program.window() : other.window();
            SetForegroundWindow(front);
            ASSERT_TRUE(WaitUntil([&] {
                GUITHREADINFO info{};
                info.cbSize = sizeof info;
                return GetForegroundWindow() == front &&
                       GetGUIThreadInfo(GetWindowThreadProcessId(program.window(), nullptr), &info) &&
                       info.hwndActive == (fromKeyboard ? program.window() : nullptr);
            }));
            if (fromKeyboard) {
                TypeKey(VK_SPACE, VK_MENU);
                TypeKey(command.key);
            } else {
                Com<IAccessible> object;
                ClientObject(ContainerOf(program, command.container), object);
                ASSERT_FALSE(HasFatalFailure());
                // A call that waited for its box would hang here: after a while
                // the watchdog closes the box, and the box is then missed below.
                std::atomic<bool> returned{false};
                std::thread watchdog([&] {
                    if (WaitUntil([&] { return returned.load(); })) return;
                    if (const HWND box = FindMessageBox(program.processId()))
                        PostMessageA(box, WM_COMMAND, IDOK, 0);
                });
                EXPECT_EQ(object->accDoDefaultAction(ChildId(command.child)), S_OK);
                returned = true;
                watchdog.join();
            }
            if (command.title) {
                const HWND box = WaitForMessageBox(program.processId(), command.title);
                ASSERT_TRUE(box) << "no '" << command.title << "' box";
                if (!fromKeyboard) { // the box blocks the window behind the screen reader's:
                    // its labels take no action while it is up (it disables
                    // the window just after it appears)
                    ASSERT_TRUE(WaitUntil([&] { return !IsWindowEnabled(program.window()); }));
                    Com<IAccessible> object;
                    ClientObject(ContainerOf(program, command.container), object);
                    EXPECT_EQ(object->accDoDefaultAction(ChildId(command.child)), E_FAIL);
                    // Closed, the box gives the window back its input; whether
                    // it also gives it the front is Wine's own (Wine 10 may
                    // not, after a call from another process).
                    PostMessageA(box, WM_COMMAND, IDOK, 0);
                    EXPECT_TRUE(
                        WaitUntil([&] { return !IsWindow(box) && IsWindowEnabled(program.window()); }));
                } else {
                    EXPECT_TRUE(CloseMessageBox(box, true));
                }
            } else {
                std::string text;
                EXPECT_TRUE(WaitUntil([&] { return !(text = ReadWholeFile(record)).empty(); }));
                EXPECT_EQ(text, "program=" + shell.shell() + "\narguments=" + kAddress + "\nshow=2\n");
            }
            if (command.key == 'P') {
                EXPECT_EQ(ReadDwmValue("Composition").type, static_cast<DWORD>(REG_DWORD));
                EXPECT_EQ(ReadDwmValue("Composition").value, 0u);
                EXPECT_EQ(ReadDwmValue("CompositionPolicy").value, 0u);
            }
        }
    }
    Com<IAccessible> frame;
    ClientObject(Frame(program), frame);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(frame->accDoDefaultAction(ChildId(4)), DISP_E_MEMBERNOTFOUND) << "the hint text does nothing";
    EXPECT_EQ(FindMessageBox(program.processId()), nullptr);
}

} // namespace

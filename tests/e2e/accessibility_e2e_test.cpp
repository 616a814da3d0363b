// Without a mouse: what a screen reader finds in the real program's window,
// asked from this process as a reader asks, and every label's command run
// from the keyboard alone and by a reader's default action.
#include <gtest/gtest.h>

#include <oleacc.h>
#include <wrl/client.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "e2e/commands_fixture.h"
#include "support/input.h"
#include "support/message_boxes.h"
#include "support/registry_test_support.h"
#include "support/waiting.h"
#include "support/window_test_support.h"
#include "support/wine_settings.h"

namespace {

using Microsoft::WRL::ComPtr;

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
    void ClientObject(HWND window, ComPtr<IAccessible>& object) {
        ASSERT_EQ(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_PPV_ARGS(&object)),
                  S_OK);
        ASSERT_TRUE(object);
    }
};

TEST_F(Accessibility, EveryLabelIsFoundWithItsNameRoleActionStateAndPlace) {
    RunningProgram program(ProgramUnderTest());
    ASSERT_TRUE(program.Start());
    for (const auto& view : kScreenReaderView) {
        const HWND container = ContainerOf(program, view.container);
        SCOPED_TRACE(FindControl(view.container) ? FindControl(view.container)->name : "client area");
        ComPtr<IAccessible> object;
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
            ComPtr<IDispatch> dispatch;
            const HRESULT childResult = object->get_accChild(ChildId(i), dispatch.GetAddressOf());
            if (!child.name) { // a child window, an object of its own
                ComPtr<IAccessible> window;
                ASSERT_EQ(childResult, S_OK);
                ASSERT_EQ(dispatch.As(&window), S_OK);
                HWND found = nullptr;
                EXPECT_EQ(WindowFromAccessibleObject(window.Get(), &found), S_OK);
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
        ControlId label, container;
        LONG child;
        const char* title; // null: the web page is launched
    } commands[] = {
        {'P', ControlId::Label2, ControlId::Frame1, 3, "Needed!!!"},
        {'E', ControlId::Label1, ControlId::Client, 3, "Aero & Flip3D :: Effect Description"},
        {'B', ControlId::Label4, ControlId::Client, 5, "About!!!"},
        {'W', ControlId::Label3, ControlId::Client, 4, nullptr},
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
            // has taken the activation and given a control the focus too. A screen reader's action comes
            // while its own window is in front.
            const HWND front = fromKeyboard ? program.window() : other.window();
            SetForegroundWindow(front);
            ASSERT_TRUE(WaitUntil([&] {
                GUITHREADINFO info{};
                info.cbSize = sizeof info;
                return GetForegroundWindow() == front &&
                       GetGUIThreadInfo(GetWindowThreadProcessId(program.window(), nullptr), &info) &&
                       info.hwndActive == (fromKeyboard ? program.window() : nullptr) &&
                       (info.hwndFocus != nullptr) == fromKeyboard;
            }));
            if (fromKeyboard) {
                // The item's key counts only once the window menu is open.
                TypeKey(VK_SPACE, VK_MENU);
                ASSERT_TRUE(WaitUntil([&] {
                    GUITHREADINFO info{};
                    info.cbSize = sizeof info;
                    return GetGUIThreadInfo(GetWindowThreadProcessId(program.window(), nullptr), &info) &&
                           (info.flags & GUI_INMENUMODE) && info.hwndMenuOwner == program.window();
                })) << "the window menu did not open";
                TypeKey(command.key);
            } else {
                ComPtr<IAccessible> object;
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
                if (command.key == 'P') { // written before the box came
                    EXPECT_EQ(ReadDwmValue("Composition").type, static_cast<DWORD>(REG_DWORD));
                    EXPECT_EQ(ReadDwmValue("Composition").value, 0u);
                    EXPECT_EQ(ReadDwmValue("CompositionPolicy").value, 0u);
                }
                if (!fromKeyboard) { // the box blocks the window behind the screen reader's:
                    // its labels take no action while it is up (it disables
                    // the window just after it appears)
                    ASSERT_TRUE(WaitUntil([&] { return !IsWindowEnabled(program.window()); }));
                    ComPtr<IAccessible> object;
                    ClientObject(ContainerOf(program, command.container), object);
                    EXPECT_EQ(object->accDoDefaultAction(ChildId(command.child)), E_FAIL);
                    // Closed, the box gives the window back its input; whether
                    // it also gives it the front is Wine's own (Wine 10 may
                    // not, after a call from another process).
                    PostMessageA(box, WM_COMMAND, IDOK, 0);
                    EXPECT_TRUE(
                        WaitUntil([&] { return !IsWindow(box) && IsWindowEnabled(program.window()); }));
                } else {
                    // The window menu's command posted again while the box is
                    // up, as another program may post it, before the Enter
                    // key that closes the box: nothing opens behind the box,
                    // and a value that APPLY would write over stays.
                    const DWORD other = 7;
                    RegSetKeyValueA(HKEY_CURRENT_USER, kDwmKey, "Composition", REG_DWORD, &other,
                                    sizeof other);
                    const std::uint64_t written = LastWriteTime(kDwmKey);
                    PostMessageA(program.window(), WM_SYSCOMMAND, WindowMenuCommandOf(command.label), 0);
                    EXPECT_TRUE(CloseMessageBox(box, true));
                    EXPECT_EQ(FindMessageBox(program.processId()), nullptr) << "a second box";
                    EXPECT_EQ(LastWriteTime(kDwmKey), written) << "written again";
                }
            } else {
                std::string text;
                EXPECT_TRUE(WaitUntil([&] { return !(text = ReadWholeFile(record)).empty(); }));
                EXPECT_EQ(text, "program=" + shell.shell() + "\narguments=" + kAddress + "\nshow=2\n");
            }
        }
    }
    ComPtr<IAccessible> frame;
    ClientObject(Frame(program), frame);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(frame->accDoDefaultAction(ChildId(4)), DISP_E_MEMBERNOTFOUND) << "the hint text does nothing";
    EXPECT_EQ(FindMessageBox(program.processId()), nullptr);
}

} // namespace

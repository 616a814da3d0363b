#include "ui/main_window.h"

#include <windowsx.h>

#include <exception>
#include <string>

#include "platform/platform.h"
#include "platform/timing_marks.h"
#include "ui/accessibility.h"
#include "ui/handlers.h"
#include "ui/label_mouse.h"
#include "ui/painting.h"
#include "ui/window_builder.h"
#include "ui/window_state.h"

WindowState g_state;

namespace {

constexpr int kIconResource = 1;
constexpr DWORD kMainWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kMainWindowExStyle = WS_EX_APPWINDOW;

HINSTANCE ProgramInstance() { return GetModuleHandleA(nullptr); }

int ScreenDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

// No exception may leave a window procedure: what was not handled is told.
void ReportUnexpectedError(const char* what) {
    std::string text = "The command could not be completed.";
    if (what && *what) text += std::string("\r\n\r\n") + what;
    ShowMessageBox(text, kCriticalIcon, kMainWindow.caption);
}

template <typename Handler> LRESULT Guarded(Handler handler) {
    try {
        return handler();
    } catch (const std::exception& error) {
        ReportUnexpectedError(error.what());
    } catch (...) {
        ReportUnexpectedError(nullptr);
    }
    return 0;
}

// ---- The main window's messages -------------------------------------------

// A screen reader's request for a container's object: ours for its client
// area, the platform's for the rest.
LRESULT AnswerAccessibleObject(HWND hwnd, ControlId container, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    return AnswerGetObject(hwnd, container, wParam, lParam, &result)
               ? result
               : DefWindowProcA(hwnd, WM_GETOBJECT, wParam, lParam);
}

// The labels' commands in the window menu, after the platform's own items:
// there the keyboard reaches them, though the labels never take the focus.
void AddLabelCommandsToWindowMenu(HWND hwnd) {
    const HMENU menu = GetSystemMenu(hwnd, FALSE);
    if (!menu) return;
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    for (const ControlRecord* control : ControlsInTabOrder())
        if (control->windowMenuItem)
            AppendMenuA(menu, MF_STRING, WindowMenuCommandOf(control->id), control->windowMenuItem);
}

BOOL MainWindow_OnCreate(HWND hwnd, LPCREATESTRUCT) {
    g_state.window = hwnd;
    if (!BuildMainWindowContents()) return FALSE;
    AddLabelCommandsToWindowMenu(hwnd);
    g_state.created = true;
    return TRUE;
}

void MainWindow_OnCommand(HWND, int id, HWND, UINT code) {
    if (id == static_cast<int>(ControlId::Command1) && code == BN_CLICKED) RaiseClick(ControlId::Command1);
}

// A label's command asked for without the mouse: from the window menu, or by
// a screen reader's action, or posted by another program. A box that came up
// meanwhile has the window disabled: then nothing more opens behind it.
void RaiseLabelCommand(HWND hwnd, ControlId label) {
    if (IsWindowEnabled(hwnd)) RaiseClick(label);
}

void MainWindow_OnSysCommand(HWND hwnd, UINT command, int x, int y) {
    const ControlId label = LabelOfWindowMenuCommand(command);
    if (label != ControlId::None)
        RaiseLabelCommand(hwnd, label);
    else
        FORWARD_WM_SYSCOMMAND(hwnd, command, x, y, DefWindowProcA);
}

// A label's default action, asked for by a screen reader.
void MainWindow_OnLabelAction(HWND hwnd, ControlId label) {
    const ControlRecord* control = FindControl(label);
    if (control && control->access.defaultAction) RaiseLabelCommand(hwnd, label);
}

// Asked whether the session may end, or by an installer, through the Restart
// Manager, whether the program may close: it holds nothing to lose.
BOOL MainWindow_OnQueryEndSession(HWND) { return TRUE; }

// The session ends, or the Restart Manager closes the program: it ends at
// once, as EXiT ends it, with a box up too (the box's own loop delivers
// this). When the end was called off, it runs on.
void MainWindow_OnEndSession(HWND, BOOL ending) {
    if (ending) EndProgram();
}

// Keeps the focus on the control that had it when the window was left.
void MainWindow_OnActivate(HWND hwnd, UINT state, HWND, BOOL minimized) {
    if (state == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus && IsChild(hwnd, focus)) g_state.focus = focus;
    } else if (!minimized) {
        SetFocus(g_state.focus ? g_state.focus : FirstFocusableControl());
    }
}

void MainWindow_OnSetFocus(HWND, HWND) {
    const HWND target = g_state.focus ? g_state.focus : FirstFocusableControl();
    if (target) SetFocus(target);
}

// Only a window that was made ends the program. Windows destroys one whose
// WM_CREATE failed (WM_DESTROY, then WM_NCDESTROY) before CreateWindowEx
// returns, and a WM_QUIT posted then would close the "Problem :" box that
// tells of it as soon as it opened: a modal loop ends at WM_QUIT.
void MainWindow_OnDestroy(HWND) {
    if (g_state.created) PostQuitMessage(0);
}

void MainWindow_OnNCDestroy(HWND) { g_state = WindowState{}; }

LRESULT HandleMainWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (HandleLabelMouseMessage(hwnd, ControlId::Client, message, lParam)) return 0;
    switch (message) {
        HANDLE_MSG(hwnd, WM_CREATE, MainWindow_OnCreate);
        HANDLE_MSG(hwnd, WM_COMMAND, MainWindow_OnCommand);
        HANDLE_MSG(hwnd, WM_SYSCOMMAND, MainWindow_OnSysCommand);
        HANDLE_MSG(hwnd, WM_ACTIVATE, MainWindow_OnActivate);
        HANDLE_MSG(hwnd, WM_SETFOCUS, MainWindow_OnSetFocus);
        HANDLE_MSG(hwnd, WM_QUERYENDSESSION, MainWindow_OnQueryEndSession);
        HANDLE_MSG(hwnd, WM_ENDSESSION, MainWindow_OnEndSession);
        HANDLE_MSG(hwnd, WM_DESTROY, MainWindow_OnDestroy);
        HANDLE_MSG(hwnd, WM_NCDESTROY, MainWindow_OnNCDestroy);
    case WM_ERASEBKGND: return 1; // the paint fills the background
    case WM_PAINT: PaintContainer(hwnd, ControlId::Client); return 0;
    case WM_GETOBJECT: return AnswerAccessibleObject(hwnd, ControlId::Client, wParam, lParam);
    case kLabelActionMessage: MainWindow_OnLabelAction(hwnd, static_cast<ControlId>(wParam)); return 0;
    // The window has no default button. Without this answer the dialog
    // navigation would take Enter for IDOK, which is EXiT's id.
    case DM_GETDEFID: return MAKELRESULT(0, DC_HASDEFID);
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return Guarded([&] { return HandleMainWindowMessage(hwnd, message, wParam, lParam); });
}

// ---- The frame's messages -------------------------------------------------

// The option buttons draw on the frame's colours.
HBRUSH Frame_OnCtlColor(HWND, HDC dc, HWND child, int) {
    const ControlId id = static_cast<ControlId>(GetDlgCtrlID(child));
    const ControlRecord* control = FindControl(id);
    if (!control || !g_state.childBrushes[Slot(id)].get()) return nullptr;
    SetTextColor(dc, ToColorRef(control->foreColour));
    SetBkColor(dc, ToColorRef(control->backColour));
    return g_state.childBrushes[Slot(id)].brush();
}

LRESULT HandleFrameMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (HandleLabelMouseMessage(hwnd, ControlId::Frame1, message, lParam)) return 0;
    switch (message) {
        HANDLE_MSG(hwnd, WM_CTLCOLORSTATIC, Frame_OnCtlColor);
        HANDLE_MSG(hwnd, WM_CTLCOLORBTN, Frame_OnCtlColor);
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: PaintContainer(hwnd, ControlId::Frame1); return 0;
    case WM_GETOBJECT: return AnswerAccessibleObject(hwnd, ControlId::Frame1, wParam, lParam);
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

LRESULT CALLBACK FrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return Guarded([&] { return HandleFrameMessage(hwnd, message, wParam, lParam); });
}

// Registered once per process; a class that exists already is used as it is.
bool RegisterWindowClasses() {
    const HINSTANCE instance = ProgramInstance();
    WNDCLASSEXA main{};
    main.cbSize = sizeof(main);
    main.lpfnWndProc = MainWindowProc;
    main.hInstance = instance;
    main.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(kIconResource));
    main.hIconSm =
        static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(kIconResource), IMAGE_ICON,
                                      GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    main.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // IDC_ARROW
    main.lpszClassName = kMainWindow.name;

    WNDCLASSEXA frame{};
    frame.cbSize = sizeof(frame);
    frame.lpfnWndProc = FrameProc;
    frame.hInstance = instance;
    frame.hCursor = main.hCursor;
    frame.lpszClassName = kFrameClassName;

    for (const WNDCLASSEXA* windowClass : {&main, &frame}) {
        if (RegisterClassExA(windowClass)) continue;
        const DWORD error = GetLastError();
        // The small icon is the class's once registered, else still ours.
        if (windowClass == &main && main.hIconSm) DestroyIcon(main.hIconSm);
        if (error != ERROR_CLASS_ALREADY_EXISTS) return false;
    }
    return true;
}

} // namespace

bool LoadMainWindow() {
    if (g_state.window) return true;
    if (!RegisterWindowClasses()) return false;
    TimingMark("classes");

    g_state.dpi = ScreenDpi();
    RECT outer{0, 0, TwipsToPixels(kMainWindow.clientWidth, g_state.dpi),
               TwipsToPixels(kMainWindow.clientHeight, g_state.dpi)};
    AdjustWindowRectEx(&outer, kMainWindowStyle, FALSE, kMainWindowExStyle);
    const int width = outer.right - outer.left, height = outer.bottom - outer.top;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;

    const HWND window =
        CreateWindowExA(kMainWindowExStyle, kMainWindow.name, kMainWindow.caption, kMainWindowStyle, x, y,
                        width, height, nullptr, nullptr, ProgramInstance(), nullptr);
    if (!window) {
        g_state = WindowState{};
        return false;
    }
    if (window != g_state.window) { // a class of the same name that is not ours
        DestroyWindow(window);
        return false;
    }
    TimingMark("created");
    Form_Load();
    return true;
}

HWND MainWindowHandle() {
    if (!g_state.window) LoadMainWindow();
    return g_state.window;
}

bool ShowMainWindow() {
    const HWND window = MainWindowHandle();
    if (!window) return false;
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    if (!g_state.focus) g_state.focus = FirstFocusableControl();
    SetFocus(g_state.focus);
    return IsWindowVisible(window) != FALSE;
}

void UnloadMainWindow() {
    if (g_state.window) DestroyWindow(g_state.window);
}

int RunMessageLoop() {
    MSG message{};
    BOOL result;
    while ((result = GetMessageA(&message, nullptr, 0, 0)) != 0) {
        if (result == -1) return 1;
        if (g_state.window && IsDialogMessageA(g_state.window, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

HWND ControlWindow(ControlId id) {
    const int slot = Slot(id);
    return slot > 0 && slot < kSlots ? g_state.children[slot] : nullptr;
}

bool IsOptionSelected(ControlId option) {
    const HWND button = ControlWindow(option);
    return button && Button_GetCheck(button) == BST_CHECKED;
}

int LabelBorderStyle(ControlId label) {
    const int slot = Slot(label);
    return slot > 0 && slot < kSlots ? g_state.borderStyle[slot] : 0;
}

void SetLabelBorderStyle(ControlId label, int style) {
    const ControlRecord* control = FindControl(label);
    if (!control || control->kind != ControlKind::Label) return;
    if (g_state.borderStyle[Slot(label)] == style) return;
    g_state.borderStyle[Slot(label)] = style;
    const HWND container = ContainerWindow(control->container);
    if (!container) return;
    const RECT rect = ToRect(ControlPixelRect(label));
    InvalidateRect(container, &rect, FALSE);
    UpdateWindow(container);
}

int MainWindowDpi() { return g_state.dpi; }

PixelRect ControlPixelRect(ControlId id) {
    const ControlRecord* control = FindControl(id);
    return control ? ToPixels(control->rect, g_state.dpi) : PixelRect{0, 0, 0, 0};
}

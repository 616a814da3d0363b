#include "ui/main_window.h"

#include <windowsx.h>

#include <algorithm>
#include <exception>
#include <string>

#include "ui/handlers.h"

namespace {

constexpr char kFrameClassName[] = "NUVFrame";
constexpr int kIconResource = 1;
constexpr DWORD kMainWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kMainWindowExStyle = WS_EX_APPWINDOW;

// Owns one GDI object (font or brush) and deletes it at the end.
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(HGDIOBJ object) : object_(object) {}
    GdiObject(GdiObject&& other) noexcept : object_(other.object_) { other.object_ = nullptr; }
    GdiObject& operator=(GdiObject&& other) noexcept {
        std::swap(object_, other.object_);
        return *this;
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    ~GdiObject() {
        if (object_) DeleteObject(object_);
    }
    HGDIOBJ get() const { return object_; }
    HBRUSH brush() const { return static_cast<HBRUSH>(object_); }

private:
    HGDIOBJ object_ = nullptr;
};

constexpr int kSlots = kControlCount + 1; // indexed by ControlId

struct PressedLabel {
    ControlId label = ControlId::None;
    int button = 0;
    HWND container = nullptr;
};

// The one main window of the process and what it holds.
struct WindowState {
    HWND window = nullptr;
    HWND children[kSlots] = {};
    int dpi = 96;
    GdiObject fonts[static_cast<int>(FontId::Count)];
    GdiObject childBrushes[kSlots]; // background of the child windows that colour their own
    int borderStyle[kSlots] = {};
    PressedLabel pressed;
    HWND focus = nullptr; // the control that had the focus when the window was last active
};

WindowState g_state;

int Slot(ControlId id) { return static_cast<int>(id); }

COLORREF ToColorRef(StoredColour colour) {
    return IsSystemColour(colour) ? GetSysColor(SystemColourIndex(colour)) : static_cast<COLORREF>(colour);
}

HINSTANCE ProgramInstance() { return GetModuleHandleA(nullptr); }

int ScreenDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
    const COLORREF previous = SetBkColor(dc, colour);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    SetBkColor(dc, previous);
}

RECT ToRect(const PixelRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

HWND ContainerWindow(ControlId container) {
    return container == ControlId::Client ? g_state.window : g_state.children[Slot(ControlId::Frame1)];
}

// Child windows in tab order, so that the dialog keyboard navigation, which
// follows the windows' order, follows the tab indexes.
int ChildWindowsInTabOrder(const ControlRecord* ordered[]) {
    int count = 0;
    for (const ControlRecord& control : kControls)
        if (control.kind == ControlKind::PushButton || control.kind == ControlKind::GroupFrame ||
            control.kind == ControlKind::OptionButton)
            ordered[count++] = &control;
    std::stable_sort(ordered, ordered + count, [](const ControlRecord* a, const ControlRecord* b) {
        return a->tabIndex < b->tabIndex;
    });
    return count;
}

// ---- Painting -------------------------------------------------------------

void PaintLabel(HDC dc, const ControlRecord& label) {
    const RECT rect = ToRect(ControlPixelRect(label.id));
    if (label.opaque) FillSolid(dc, rect, ToColorRef(label.backColour));
    const bool bordered = g_state.borderStyle[Slot(label.id)] != 0;
    RECT textRect = rect;
    if (bordered) InflateRect(&textRect, -GetSystemMetrics(SM_CXEDGE), -GetSystemMetrics(SM_CYEDGE));
    SelectObject(dc, g_state.fonts[static_cast<int>(label.font)].get());
    SetTextColor(dc, ToColorRef(label.foreColour));
    SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, label.caption, -1, &textRect, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_HIDEPREFIX);
    if (bordered) {
        RECT edge = rect;
        DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT);
    }
}

void PaintShape(HDC dc, const ControlRecord& shape) {
    const RECT rect = ToRect(ControlPixelRect(shape.id));
    const GdiObject outline(CreateSolidBrush(ToColorRef(shape.foreColour)));
    FrameRect(dc, &rect, outline.brush());
}

// The etched border with the caption set into its top edge, as a group box.
void PaintFrameBox(HDC dc, const ControlRecord& frame, const RECT& client) {
    SelectObject(dc, g_state.fonts[static_cast<int>(frame.font)].get());
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    RECT box = client;
    box.top = metrics.tmHeight / 2;
    DrawEdge(dc, &box, EDGE_ETCHED, BF_RECT);

    const int indent = TwipsToPixels(120, g_state.dpi);
    RECT caption{indent, 0, indent, metrics.tmHeight};
    DrawTextA(dc, frame.caption, -1, &caption, DT_SINGLELINE | DT_CALCRECT | DT_HIDEPREFIX);
    RECT behind{caption.left - 2, 0, caption.right + 2, metrics.tmHeight};
    FillSolid(dc, behind, ToColorRef(frame.backColour));
    SetTextColor(dc, ToColorRef(frame.foreColour));
    SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, frame.caption, -1, &caption, DT_SINGLELINE | DT_LEFT | DT_TOP | DT_HIDEPREFIX);
}

// Paints a container: its background, then its labels and shapes from the
// back of the list to the front. Its child windows lie on top of all that.
void PaintContainer(HWND hwnd, ControlId container) {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(hwnd, &paint);
    const int saved = SaveDC(dc);
    RECT client;
    GetClientRect(hwnd, &client);
    if (container == ControlId::Client) {
        FillSolid(dc, paint.rcPaint, ToColorRef(kMainWindow.backColour));
    } else {
        const ControlRecord& frame = *FindControl(container);
        FillSolid(dc, paint.rcPaint, ToColorRef(frame.backColour));
        PaintFrameBox(dc, frame, client);
    }
    for (int i = kControlCount - 1; i >= 0; --i) {
        const ControlRecord& control = kControls[i];
        if (control.container != container) continue;
        if (control.kind == ControlKind::Label) PaintLabel(dc, control);
        if (control.kind == ControlKind::Shape) PaintShape(dc, control);
    }
    RestoreDC(dc, saved);
    EndPaint(hwnd, &paint);
}

// ---- Mouse input on the labels --------------------------------------------

int ShiftState() {
    return (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
           (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

MouseEventArgs LabelMouseArgs(ControlId label, int button, int x, int y) {
    const PixelRect rect = ControlPixelRect(label);
    return {button, ShiftState(), x - rect.left, y - rect.top};
}

// A press goes to the label under the pointer, which then keeps the mouse
// until that button is released.
void Container_OnMouseDown(HWND hwnd, ControlId container, int x, int y, int button) {
    if (g_state.pressed.label != ControlId::None) return;
    const ControlId label = LabelAt(container, x, y, g_state.dpi);
    if (label == ControlId::None) return;
    g_state.pressed = {label, button, hwnd};
    SetCapture(hwnd);
    RaiseMouseDown(label, LabelMouseArgs(label, button, x, y));
}

void Container_OnMouseUp(int x, int y, int button) {
    const PressedLabel pressed = g_state.pressed;
    if (pressed.label == ControlId::None || pressed.button != button) return;
    g_state.pressed = {};
    ReleaseCapture();
    RaiseMouseUp(pressed.label, LabelMouseArgs(pressed.label, button, x, y));
    if (button == kLeftButton && ControlPixelRect(pressed.label).Contains(x, y)) RaiseClick(pressed.label);
}

// The mouse was taken away (by another window or a box) before the release:
// the label still gets its mouse-up, but no click.
void Container_OnCaptureChanged(HWND hwnd) {
    const PressedLabel pressed = g_state.pressed;
    if (pressed.label == ControlId::None || pressed.container != hwnd) return;
    g_state.pressed = {};
    RaiseMouseUp(pressed.label, {pressed.button, ShiftState(), 0, 0});
}

bool HandleMouseMessage(HWND hwnd, ControlId container, UINT message, LPARAM lParam) {
    const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    switch (message) {
    case WM_LBUTTONDOWN: Container_OnMouseDown(hwnd, container, x, y, kLeftButton); return true;
    case WM_RBUTTONDOWN: Container_OnMouseDown(hwnd, container, x, y, kRightButton); return true;
    case WM_MBUTTONDOWN: Container_OnMouseDown(hwnd, container, x, y, kMiddleButton); return true;
    case WM_LBUTTONUP: Container_OnMouseUp(x, y, kLeftButton); return true;
    case WM_RBUTTONUP: Container_OnMouseUp(x, y, kRightButton); return true;
    case WM_MBUTTONUP: Container_OnMouseUp(x, y, kMiddleButton); return true;
    case WM_CAPTURECHANGED: Container_OnCaptureChanged(hwnd); return true;
    default: return false;
    }
}

// No exception may leave a window procedure: what was not handled is told.
void ReportUnexpectedError(const char* what) {
    std::string text = "The command could not be completed.";
    if (what && *what) text += std::string("\r\n\r\n") + what;
    MessageBoxA(GetActiveWindow(), text.c_str(), kMainWindow.caption, MB_OK | MB_ICONERROR);
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

// ---- Building -------------------------------------------------------------

bool CreateFonts() {
    for (int i = 0; i < static_cast<int>(FontId::Count); ++i) {
        const FontRecord& font = kFonts[i];
        g_state.fonts[i] = GdiObject(CreateFontA(
            FontHeight(font, g_state.dpi), 0, 0, 0, font.weight, FALSE, FALSE, FALSE, ANSI_CHARSET,
            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, font.face));
        if (!g_state.fonts[i].get()) return false;
    }
    return true;
}

DWORD ChildStyle(const ControlRecord& control, bool startsGroup) {
    DWORD style = WS_CHILD | WS_VISIBLE;
    switch (control.kind) {
    case ControlKind::PushButton: style |= BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP; break;
    case ControlKind::OptionButton:
        style |= BS_AUTORADIOBUTTON | BS_MULTILINE;
        if (startsGroup) style |= WS_GROUP | WS_TABSTOP;
        break;
    case ControlKind::GroupFrame: style |= WS_CLIPCHILDREN | WS_CLIPSIBLINGS; break;
    default: break;
    }
    return style;
}

bool CreateChildWindows() {
    const ControlRecord* ordered[kControlCount];
    const int count = ChildWindowsInTabOrder(ordered);
    ControlKind previousKind = ControlKind::Label;
    for (int i = 0; i < count; ++i) {
        const ControlRecord& control = *ordered[i];
        const bool startsGroup = control.kind != previousKind;
        previousKind = control.kind;
        const bool isFrame = control.kind == ControlKind::GroupFrame;
        const PixelRect r = ControlPixelRect(control.id);
        const HWND child = CreateWindowExA(
            isFrame ? WS_EX_CONTROLPARENT : 0, isFrame ? kFrameClassName : "BUTTON", control.caption,
            ChildStyle(control, startsGroup), r.left, r.top, r.right - r.left, r.bottom - r.top,
            ContainerWindow(control.container), reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)),
            ProgramInstance(), nullptr);
        if (!child) return false;
        g_state.children[Slot(control.id)] = child;
        SendMessageA(child, WM_SETFONT,
                     reinterpret_cast<WPARAM>(g_state.fonts[static_cast<int>(control.font)].get()), FALSE);
        if (control.kind == ControlKind::OptionButton)
            g_state.childBrushes[Slot(control.id)] =
                GdiObject(CreateSolidBrush(ToColorRef(control.backColour)));
    }
    Button_SetCheck(g_state.children[Slot(kInitiallySelectedOption)], BST_CHECKED);
    return true;
}

// The first control in tab order that can take the focus.
HWND FirstFocusableControl() {
    const ControlRecord* ordered[kControlCount];
    const int count = ChildWindowsInTabOrder(ordered);
    for (int i = 0; i < count; ++i) {
        const HWND child = g_state.children[Slot(ordered[i]->id)];
        if (child && (GetWindowLongA(child, GWL_STYLE) & WS_TABSTOP) && IsWindowEnabled(child)) return child;
    }
    return nullptr;
}

// ---- The main window's messages -------------------------------------------

BOOL MainWindow_OnCreate(HWND hwnd, LPCREATESTRUCT) {
    g_state.window = hwnd;
    return CreateFonts() && CreateChildWindows();
}

void MainWindow_OnCommand(HWND, int id, HWND, UINT code) {
    if (id == static_cast<int>(ControlId::Command1) && code == BN_CLICKED) RaiseClick(ControlId::Command1);
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

void MainWindow_OnDestroy(HWND) { PostQuitMessage(0); }

void MainWindow_OnNCDestroy(HWND) { g_state = WindowState{}; }

LRESULT HandleMainWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (HandleMouseMessage(hwnd, ControlId::Client, message, lParam)) return 0;
    switch (message) {
        HANDLE_MSG(hwnd, WM_CREATE, MainWindow_OnCreate);
        HANDLE_MSG(hwnd, WM_COMMAND, MainWindow_OnCommand);
        HANDLE_MSG(hwnd, WM_ACTIVATE, MainWindow_OnActivate);
        HANDLE_MSG(hwnd, WM_SETFOCUS, MainWindow_OnSetFocus);
        HANDLE_MSG(hwnd, WM_DESTROY, MainWindow_OnDestroy);
        HANDLE_MSG(hwnd, WM_NCDESTROY, MainWindow_OnNCDestroy);
    case WM_ERASEBKGND: return 1; // the paint fills the background
    case WM_PAINT: PaintContainer(hwnd, ControlId::Client); return 0;
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
    if (HandleMouseMessage(hwnd, ControlId::Frame1, message, lParam)) return 0;
    switch (message) {
        HANDLE_MSG(hwnd, WM_CTLCOLORSTATIC, Frame_OnCtlColor);
        HANDLE_MSG(hwnd, WM_CTLCOLORBTN, Frame_OnCtlColor);
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: PaintContainer(hwnd, ControlId::Frame1); return 0;
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

    for (const WNDCLASSEXA* windowClass : {&main, &frame})
        if (!RegisterClassExA(windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    return true;
}

} // namespace

bool LoadMainWindow() {
    if (g_state.window) return true;
    if (!RegisterWindowClasses()) return false;

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

PixelRect ControlPixelRect(ControlId id) {
    const ControlRecord* control = FindControl(id);
    return control ? ToPixels(control->rect, g_state.dpi) : PixelRect{0, 0, 0, 0};
}

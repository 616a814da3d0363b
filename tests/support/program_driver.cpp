#include "support/program_driver.h"

#include "support/window_test_support.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

std::string MakeScratchFolder() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    static int serial = 0;
    const std::string folder = std::string(temp) + "nuv-e2e-" + std::to_string(GetCurrentProcessId()) + "-" +
                               std::to_string(++serial);
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

void RemoveFolder(const std::string& folder) {
    WIN32_FIND_DATAA entry;
    const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA((folder + "\\" + entry.cFileName).c_str());
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

// A visible top-level window of the process, of the class and, unless null,
// with the title. The search by class is the system's own, so that a test
// polling for a window asks little of a machine that is busy drawing it.
HWND FindProcessWindow(DWORD processId, const char* className, const char* title) {
    for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, className, title)) != nullptr;) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != processId || !IsWindowVisible(window)) continue;
        char text[256] = ""; // the system's search ignores case; the title is exact
        if (!title || (GetWindowTextA(window, text, sizeof text) && std::strcmp(text, title) == 0)) return window;
    }
    return nullptr;
}

void SendMouse(POINT screen, DWORD flags, DWORD pause) {
    SetCursorPos(screen.x, screen.y);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = screen.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = screen.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    SendInput(1, &input, sizeof input);
    Sleep(pause);
}

INPUT KeyInput(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

} // namespace

RunningProgram::RunningProgram(const std::string& programFile) : folder_(MakeScratchFolder()) {
    const std::size_t slash = programFile.find_last_of("\\/");
    program_ = folder_ + "\\" + programFile.substr(slash == std::string::npos ? 0 : slash + 1);
    CopyFileA(programFile.c_str(), program_.c_str(), FALSE);
}

DWORD TimeScale() {
    static const DWORD scale = [] {
        char text[16] = "";
        const DWORD length = GetEnvironmentVariableA("NUV_TIME_SCALE", text, sizeof text);
        const long value = length > 0 && length < sizeof text ? std::strtol(text, nullptr, 10) : 1;
        return value >= 1 && value <= 100 ? static_cast<DWORD>(value) : DWORD{1};
    }();
    return scale;
}

RunningProgram::~RunningProgram() {
    if (process_.hProcess) {
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.hProcess, 1);
            WaitForSingleObject(process_.hProcess, 5000);
        }
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
    RemoveFolder(folder_);
}

bool RunningProgram::AddBeside(const std::string& file, const std::string& name) {
    return CopyFileA(file.c_str(), (folder_ + "\\" + name).c_str(), FALSE) != FALSE;
}

std::string RunningProgram::ReadBeside(const std::string& name) const {
    return ReadWholeFile(folder_ + "\\" + name);
}

bool RunningProgram::Start() {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string line = "\"" + program_ + "\"";
    std::vector<char> commandLine(line.begin(), line.end());
    commandLine.push_back('\0');
    if (!CreateProcessA(program_.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder_.c_str(), &startup, &process_))
        return false;
    WaitForInputIdle(process_.hProcess, 10000 * TimeScale());
    WaitUntil([&] { return (window_ = FindProcessWindow(process_.dwProcessId, "NUV2", nullptr)) != nullptr; },
              10000);
    if (!window_) return false;
    WaitForInputIdle(process_.hProcess, 5000 * TimeScale());
    Sleep(200); // the first paint
    return true;
}

bool RunningProgram::WaitForExit(DWORD milliseconds, DWORD* exitCode) {
    if (WaitForSingleObject(process_.hProcess, milliseconds * TimeScale()) != WAIT_OBJECT_0) return false;
    if (exitCode) GetExitCodeProcess(process_.hProcess, exitCode);
    return true;
}

ScopedEnvironmentVariable::ScopedEnvironmentVariable(const std::string& name, const std::string& value)
    : name_(name) {
    char previous[2048];
    const DWORD length = GetEnvironmentVariableA(name.c_str(), previous, sizeof previous);
    hadValue_ = length > 0 && length < sizeof previous;
    if (hadValue_) previous_ = previous;
    SetEnvironmentVariableA(name.c_str(), value.c_str());
}

ScopedEnvironmentVariable::~ScopedEnvironmentVariable() {
    SetEnvironmentVariableA(name_.c_str(), hadValue_ ? previous_.c_str() : nullptr);
}

std::string WineDllOverridesWith(const std::string& more) {
    char current[2048] = "";
    const DWORD length = GetEnvironmentVariableA("WINEDLLOVERRIDES", current, sizeof current);
    return length > 0 && length < sizeof current ? std::string(current) + ";" + more : more;
}

SystemShellStandIn::SystemShellStandIn(const std::string& recorder, const std::string& recordFile)
    : overrides_("WINEDLLOVERRIDES", WineDllOverridesWith("explorer.exe=n")),
      record_("NUV_LAUNCH_RECORD", recordFile) {
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    shell_ = std::string(windows) + "\\explorer.exe";
    saved_ = shell_ + ".nuv-saved";
    // A run that ended before it could put the shell back left it here.
    if (GetFileAttributesA(saved_.c_str()) != INVALID_FILE_ATTRIBUTES)
        MoveFileExA(saved_.c_str(), shell_.c_str(), MOVEFILE_REPLACE_EXISTING);
    ready_ = MoveFileExA(shell_.c_str(), saved_.c_str(), MOVEFILE_REPLACE_EXISTING) &&
             CopyFileA(recorder.c_str(), shell_.c_str(), FALSE);
}

SystemShellStandIn::~SystemShellStandIn() {
    if (GetFileAttributesA(saved_.c_str()) != INVALID_FILE_ATTRIBUTES)
        MoveFileExA(saved_.c_str(), shell_.c_str(), MOVEFILE_REPLACE_EXISTING);
}

// The setting is the 64-bit registry's, which a 32-bit test reaches too.
ScopedWineVersion::ScopedWineVersion(const std::string& version) {
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine", 0, nullptr, 0,
                        KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr, &key_,
                        nullptr) != ERROR_SUCCESS) {
        key_ = nullptr;
        return;
    }
    char previous[64];
    DWORD type = 0, size = sizeof previous;
    hadValue_ = RegQueryValueExA(key_, "Version", nullptr, &type, reinterpret_cast<BYTE*>(previous), &size) ==
                    ERROR_SUCCESS &&
                type == REG_SZ && size > 0;
    if (hadValue_) previous_.assign(previous, strnlen(previous, size));
    ready_ = RegSetValueExA(key_, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version.c_str()),
                            static_cast<DWORD>(version.size() + 1)) == ERROR_SUCCESS;
}

ScopedWineVersion::~ScopedWineVersion() {
    if (!key_) return;
    if (hadValue_)
        RegSetValueExA(key_, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(previous_.c_str()),
                       static_cast<DWORD>(previous_.size() + 1));
    else
        RegDeleteValueA(key_, "Version");
    RegCloseKey(key_);
}

std::string ProgramUnderTest() {
    char named[MAX_PATH] = "", full[MAX_PATH];
    const DWORD length = GetEnvironmentVariableA("NUV_PROGRAM", named, MAX_PATH);
    GetFullPathNameA(length > 0 && length < MAX_PATH ? named : NUV_PROGRAM_FILE_NAME, MAX_PATH, full,
                     nullptr);
    return full;
}

std::string BesideTheTest(const std::string& name) {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string self = path;
    return self.substr(0, self.find_last_of('\\') + 1) + name;
}

std::string ReadWholeFile(const std::string& path) {
    const HANDLE file =
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string text;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read) text.append(buffer, read);
    CloseHandle(file);
    return text;
}

bool RunningUnderWine() {
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

namespace {

// An icon drawn on a background of one colour, as pixels.
std::vector<COLORREF> IconPixels(HICON icon, int size, COLORREF background) {
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, size, size);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    const HBRUSH brush = CreateSolidBrush(background);
    RECT all{0, 0, size, size};
    FillRect(memory, &all, brush);
    DeleteObject(brush);
    DrawIconEx(memory, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) pixels.push_back(GetPixel(memory, x, y));
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// Compared on the screen: the icon's opaque pixels (the same on black and on
// white) must show at the top left of the box's icon control.
bool IconShownNow(HWND box, const char* systemIcon) {
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON || !IsWindowVisible(child)) continue;
        const int size = GetSystemMetrics(SM_CXICON);
        const HICON icon = LoadIconA(nullptr, systemIcon);
        const std::vector<COLORREF> onBlack = IconPixels(icon, size, RGB(0, 0, 0));
        const std::vector<COLORREF> onWhite = IconPixels(icon, size, RGB(255, 255, 255));
        RECT place;
        GetWindowRect(child, &place);
        const Snapshot shown =
            Snapshot::OfScreen({place.left, place.top, place.left + size, place.top + size});
        int opaque = 0;
        for (int i = 0; i < size * size; ++i) {
            if (onBlack[i] != onWhite[i]) continue;
            ++opaque;
            if (shown.pixels[i] != onBlack[i]) return false;
        }
        return opaque > 0;
    }
    return false;
}

} // namespace

// A box may show its icon a moment after the box itself.
bool MessageBoxShowsIcon(HWND box, const char* systemIcon) {
    return WaitUntil([&] { return IconShownNow(box, systemIcon); });
}

POINT ClientPointOnScreen(HWND window, int x, int y) {
    POINT point{x, y};
    ClientToScreen(window, &point);
    return point;
}

void PressMouse(POINT screen, MouseButton button, DWORD pause) {
    SendMouse(screen, button == MouseButton::Left ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_RIGHTDOWN, pause);
}

void ReleaseMouse(POINT screen, MouseButton button, DWORD pause) {
    SendMouse(screen, button == MouseButton::Left ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP, pause);
}

void ClickMouse(POINT screen, MouseButton button, DWORD pause) {
    PressMouse(screen, button, pause);
    ReleaseMouse(screen, button, pause);
}

void TypeKey(WORD key, WORD modifier) {
    std::vector<INPUT> inputs;
    if (modifier) inputs.push_back(KeyInput(modifier, false));
    inputs.push_back(KeyInput(key, false));
    inputs.push_back(KeyInput(key, true));
    if (modifier) inputs.push_back(KeyInput(modifier, true));
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    Sleep(100);
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

HWND WaitForMessageBox(DWORD processId, const std::string& title, DWORD milliseconds, DWORD settle) {
    HWND box = nullptr;
    WaitUntil([&] { return (box = FindProcessWindow(processId, "#32770", title.c_str())) != nullptr; },
              milliseconds);
    if (box) Sleep(settle);
    return box;
}

HWND FindMessageBox(DWORD processId) { return FindProcessWindow(processId, "#32770", nullptr); }

std::string MessageBoxText(HWND box) {
    // The text is the one static control that is neither the icon nor empty.
    std::string text;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[32];
        GetClassNameA(child, name, sizeof name);
        if (std::string(name) != "Static") continue;
        char buffer[2048] = "";
        GetWindowTextA(child, buffer, sizeof buffer);
        if (std::string(buffer).size() > text.size()) text = buffer;
    }
    return text;
}

bool CloseMessageBox(HWND box, bool withEnterKey) {
    const HWND owner = GetWindow(box, GW_OWNER);
    if (withEnterKey)
        TypeKey(VK_RETURN);
    else
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    return WaitUntil(
        [&] {
            return !IsWindow(box) && (!owner || (IsWindowEnabled(owner) && GetForegroundWindow() == owner));
        },
        5000);
}

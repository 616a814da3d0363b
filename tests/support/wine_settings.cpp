#include "support/wine_settings.h"

#include <cstring>

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
                            static_cast<DWORD>(version.size()) + 1) == ERROR_SUCCESS;
}

ScopedWineVersion::~ScopedWineVersion() {
    if (!key_) return;
    if (hadValue_)
        RegSetValueExA(key_, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(previous_.c_str()),
                       static_cast<DWORD>(previous_.size()) + 1);
    else
        RegDeleteValueA(key_, "Version");
    RegCloseKey(key_);
}

bool RunningUnderWine() {
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

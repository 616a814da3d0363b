#include "support/registry_test_support.h"

bool KeyExists(const std::string& path) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

StoredValue ReadValue(const std::string& path, const std::string& name) {
    StoredValue stored;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return stored;
    DWORD size = 0;
    if (RegQueryValueExA(key, name.c_str(), nullptr, &stored.type, nullptr, &size) == ERROR_SUCCESS) {
        stored.data.resize(size);
        RegQueryValueExA(key, name.c_str(), nullptr, &stored.type, stored.data.data(), &size);
        stored.data.resize(size);
    } else {
        stored.type = REG_NONE;
    }
    RegCloseKey(key);
    return stored;
}

DWORD CountValues(const std::string& path) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return 0;
    DWORD values = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
                     nullptr, nullptr);
    RegCloseKey(key);
    return values;
}

std::uint64_t LastWriteTime(const std::string& path) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return 0;
    FILETIME written{};
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr, &written);
    RegCloseKey(key);
    return std::uint64_t{written.dwHighDateTime} << 32 | written.dwLowDateTime;
}

// Reads the current user's registry back, for tests of what was written.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct StoredValue {
    DWORD type = REG_NONE;
    std::vector<std::uint8_t> data;
};

// Whether HKEY_CURRENT_USER\path exists.
bool KeyExists(const std::string& path);

// The value as stored under HKEY_CURRENT_USER\path, or type REG_NONE when
// there is none.
StoredValue ReadValue(const std::string& path, const std::string& name);

// The number of values under HKEY_CURRENT_USER\path.
DWORD CountValues(const std::string& path);

// When HKEY_CURRENT_USER\path was last written, in FILETIME units; 0 when
// it does not exist.
std::uint64_t LastWriteTime(const std::string& path);

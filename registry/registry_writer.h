// The program's registry access: creates or opens a key below a root given by
// name and writes one value given as text.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "registry/value_encoding.h"

// The handle value of the predefined root key of that name (compared exactly,
// case and blanks included), or 0 when the name is none of the seven.
std::uint32_t RootKeyValueFromName(const std::string& name);

// The predefined root key of that name, or null. The handle is the value above
// sign-extended, as the platform defines its predefined keys.
HKEY RootKeyFromName(const std::string& name);

// True exactly when status is ERROR_SUCCESS.
bool IsSuccess(LONG status);

// Creates or opens rootName\keyPath with full access and writes valueName as
// the type typeName names (see value_encoding.h). True when the registry
// accepted the value; false when the key could not be created or opened, the
// type name is unknown or the write was refused. A value text that does not
// convert throws ConversionError after the key has been closed; the key
// itself, once created, stays. All texts are in the ANSI code page.
bool WriteRegistryValue(const std::string& rootName, const std::string& keyPath, const std::string& valueName,
                        const std::string& value, const std::string& typeName);

#include "registry/registry_writer.h"

#include <string_view>

namespace {

struct RootKeyEntry {
    std::string_view name;
    std::uint32_t value;
};

// Searched in this order; the first exact match wins.
constexpr RootKeyEntry kRootKeys[] = {
    {"HKEY_CLASSES_ROOT", 0x80000000u},     {"HKEY_CURRENT_USER", 0x80000001u},
    {"HKEY_LOCAL_MACHINE", 0x80000002u},    {"HKEY_USERS", 0x80000003u},
    {"HKEY_PERFORMANCE_DATA", 0x80000004u}, {"HKEY_CURRENT_CONFIG", 0x80000005u},
    {"HKEY_DYN_DATA", 0x80000006u},
};

// Closes the key on every way out of WriteRegistryValue, a conversion error
// included.
class OpenKey {
public:
    OpenKey() = default;
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    ~OpenKey() {
        if (key_) RegCloseKey(key_);
    }
    HKEY get() const { return key_; }
    HKEY* receive() { return &key_; }

private:
    HKEY key_ = nullptr;
};

} // namespace

std::uint32_t RootKeyValueFromName(const std::string& name) {
    for (const RootKeyEntry& entry : kRootKeys)
        if (entry.name == name) return entry.value;
    return 0;
}

HKEY RootKeyFromName(const std::string& name) {
    const auto value = static_cast<LONG>(RootKeyValueFromName(name));
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(value));
}

bool IsSuccess(LONG status) { return status == ERROR_SUCCESS; }

bool WriteRegistryValue(const std::string& rootName, const std::string& keyPath, const std::string& valueName,
                        const std::string& value, const std::string& typeName) {
    const HKEY root = RootKeyFromName(rootName);

    SECURITY_ATTRIBUTES security{};
    security.nLength = sizeof(security);
    security.lpSecurityDescriptor = nullptr;
    security.bInheritHandle = -1;

    char emptyClass[] = "";
    OpenKey key;
    DWORD disposition = 0;
    LONG status = RegCreateKeyExA(root, keyPath.c_str(), 0, emptyClass, REG_OPTION_NON_VOLATILE,
                                  KEY_ALL_ACCESS, &security, key.receive(), &disposition);
    if (!IsSuccess(status)) return false;

    const std::optional<EncodedValue> encoded = EncodeRegistryValue(value, typeName);
    if (!encoded) return false;

    status = RegSetValueExA(key.get(), valueName.c_str(), 0, static_cast<DWORD>(encoded->type),
                            encoded->data.data(), static_cast<DWORD>(encoded->data.size()));
    return IsSuccess(status);
}

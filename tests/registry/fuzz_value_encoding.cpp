// Feeds arbitrary text and type names to the encoder. Besides the sanitizers'
// findings it checks the encoder's own promises: a known type either encodes
// or raises ConversionError, and what it encodes has the size its type says.
#include "registry/value_encoding.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    static constexpr std::string_view kTypes[] = {"string", "binary", "dword", "DWORD", " dword", "x"};
    const std::string_view type = kTypes[data[0] % std::size(kTypes)];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    try {
        const auto encoded = EncodeRegistryValue(text, type);
        if (!encoded) {
            if (type == "string" || type == "binary" || type == "dword" || type == "DWORD") std::abort();
            return 0;
        }
        const std::size_t trimmed = TrimBlanks(text).size();
        switch (encoded->type) {
        case RegistryType::String:
            if (encoded->data.size() != trimmed + 1 || encoded->data.back() != 0) std::abort();
            break;
        case RegistryType::Binary:
            if (encoded->data.size() != (trimmed + 1) / 2) std::abort();
            break;
        case RegistryType::Dword:
            if (encoded->data.size() != 4) std::abort();
            break;
        }
    } catch (const ConversionError&) {
        if (type == "string") std::abort(); // any text is a string
    }
    return 0;
}

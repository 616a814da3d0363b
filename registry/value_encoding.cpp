#include "registry/value_encoding.h"

namespace {

using Kind = ConversionError::Kind;

[[noreturn]] void ThrowMismatch() { throw ConversionError(Kind::TypeMismatch, "Type mismatch"); }
[[noreturn]] void ThrowOverflow() { throw ConversionError(Kind::Overflow, "Overflow"); }

bool IsDecimalDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsLowered(std::string_view typeName, std::string_view lowerName) {
    if (typeName.size() != lowerName.size()) return false;
    for (std::size_t i = 0; i < typeName.size(); ++i)
        if (LowerAscii(typeName[i]) != lowerName[i]) return false;
    return true;
}

void AppendLittleEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

std::int32_t ParseHexDword(std::string_view digits) {
    if (digits.empty()) ThrowMismatch();
    std::uint32_t value = 0;
    int significant = 0;
    for (char c : digits) {
        int digit = HexDigitValue(c);
        if (digit < 0) ThrowMismatch();
        if (significant > 0 || digit != 0) ++significant;
        value = (value << 4) | static_cast<std::uint32_t>(digit);
    }
    // Checked after the loop so that a bad digit anywhere is a mismatch.
    if (significant > 8) ThrowOverflow();
    return static_cast<std::int32_t>(value);
}

std::int32_t ParseDecimalDword(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    if (point != std::string_view::npos && fraction.empty()) ThrowMismatch();
    if (whole.empty() && fraction.empty()) ThrowMismatch();
    for (char c : whole)
        if (!IsDecimalDigit(c)) ThrowMismatch();
    for (char c : fraction)
        if (!IsDecimalDigit(c)) ThrowMismatch();

    // The magnitude may not exceed 2^31 (for -2147483648); anything past that
    // is an overflow whatever the fraction does.
    constexpr std::uint64_t limit = std::uint64_t{1} << 31;
    std::uint64_t magnitude = 0;
    for (char c : whole) {
        magnitude = magnitude * 10 + static_cast<std::uint64_t>(c - '0');
        if (magnitude > limit) ThrowOverflow();
    }

    // Round half to even: only the first fraction digit and whether anything
    // non-zero follows it decide.
    if (!fraction.empty()) {
        const int first = fraction[0] - '0';
        const bool restNonZero = fraction.find_first_not_of('0', 1) != std::string_view::npos;
        const bool roundUp = first > 5 || (first == 5 && (restNonZero || (magnitude & 1) != 0));
        if (roundUp) ++magnitude;
    }

    if (negative) {
        if (magnitude > limit) ThrowOverflow();
        return static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude));
    }
    if (magnitude > limit - 1) ThrowOverflow();
    return static_cast<std::int32_t>(magnitude);
}

std::vector<std::uint8_t> EncodeBinary(std::string_view text) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve((text.size() + 1) / 2);
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const int high = HexDigitValue(text[i]);
        if (high < 0) ThrowMismatch();
        if (i + 1 == text.size()) {
            bytes.push_back(static_cast<std::uint8_t>(high));
            break;
        }
        const int low = HexDigitValue(text[i + 1]);
        if (low < 0) ThrowMismatch();
        bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    return bytes;
}

} // namespace

std::string_view TrimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

std::int32_t ParseDword(std::string_view text) {
    if (text.size() >= 2 && text[0] == '&' && (text[1] == 'H' || text[1] == 'h'))
        return ParseHexDword(text.substr(2));
    return ParseDecimalDword(text);
}

std::optional<EncodedValue> EncodeRegistryValue(std::string_view valueText, std::string_view typeName) {
    const std::string_view text = TrimBlanks(valueText);
    if (EqualsLowered(typeName, "string")) {
        EncodedValue value{RegistryType::String, {text.begin(), text.end()}};
        value.data.push_back(0);
        return value;
    }
    if (EqualsLowered(typeName, "binary")) return EncodedValue{RegistryType::Binary, EncodeBinary(text)};
    if (EqualsLowered(typeName, "dword")) {
        EncodedValue value{RegistryType::Dword, {}};
        AppendLittleEndian(value.data, static_cast<std::uint32_t>(ParseDword(text)));
        return value;
    }
    return std::nullopt;
}

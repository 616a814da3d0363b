// Turns a registry value given as text into the bytes the registry stores.
//
// This unit has no platform dependency: it knows the three type names, the
// registry type codes they stand for and the byte layout of each, and nothing
// else. The writer in registry_writer.h hands the result to the registry.
//
// Type names ("string", "binary", "dword") are matched after lower-casing and
// are not trimmed. The value text is trimmed of leading and trailing spaces
// (the space character only; tabs and other white space stay) and encoded:
//
//   string  REG_SZ: the text's bytes followed by one terminating NUL, which is
//           counted in the size, so an empty text stores a single NUL.
//
//   binary  REG_BINARY: one byte per pair of hexadecimal digits, read from the
//           left; a text of odd length ends in a one-digit pair ("0a1" gives
//           0A 01). Only 0-9, a-f and A-F are digits. An empty text gives an
//           empty value.
//
//   dword   REG_DWORD: a signed 32-bit integer, 4 bytes little-endian. The
//           grammar accepts exactly two forms and nothing else:
//             decimal      [+|-] digits [ "." digits ]   or   [+|-] "." digits
//                          A fraction is rounded to the nearest integer, a tie
//                          to the even neighbour ("2.5" is 2, "3.5" is 4,
//                          "-2.5" is -2). The rounded number must lie in
//                          -2147483648..2147483647. Leading zeros are fine;
//                          "5." (a point with no digits after it) is not.
//             hexadecimal  "&H" or "&h" followed by hex digits, at most 8 of
//                          them after any leading zeros, taken as the 32-bit
//                          pattern: "&HFFFFFFFF" is -1. No sign.
//           Blanks inside the text, group separators, exponents, currency
//           signs and locale decimal separators are not numbers.
//
// A text that is not a number of its type raises ConversionError with kind
// TypeMismatch; a number too large for its type raises it with kind Overflow.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <vector>

// Registry type codes, with the platform's values.
enum class RegistryType : std::uint32_t {
    String = 1, // REG_SZ
    Binary = 3, // REG_BINARY
    Dword = 4,  // REG_DWORD
};

struct EncodedValue {
    RegistryType type;
    std::vector<std::uint8_t> data;
};

class ConversionError : public std::runtime_error {
public:
    enum class Kind { TypeMismatch, Overflow };

    ConversionError(Kind kind, const char* what) : std::runtime_error(what), kind_(kind) {}
    Kind kind() const noexcept { return kind_; }

private:
    Kind kind_;
};

// The value text without leading and trailing spaces.
std::string_view TrimBlanks(std::string_view text);

// Encodes valueText as the type typeName names. Returns no value when the type
// name is none of the three; throws ConversionError when the text does not
// convert.
std::optional<EncodedValue> EncodeRegistryValue(std::string_view valueText, std::string_view typeName);

// The dword grammar above, on text that is already trimmed.
std::int32_t ParseDword(std::string_view text);

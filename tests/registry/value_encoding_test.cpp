#include "registry/value_encoding.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Kind = ConversionError::Kind;

struct EncodeCase {
    const char* text;
    const char* type;
    RegistryType expectedType;
    Bytes expected;
};

class EncodesValue : public testing::TestWithParam<EncodeCase> {};

TEST_P(EncodesValue, GivesTypeAndBytes) {
    const EncodeCase& c = GetParam();
    const auto encoded = EncodeRegistryValue(c.text, c.type);
    ASSERT_TRUE(encoded.has_value());
    EXPECT_EQ(encoded->type, c.expectedType);
    EXPECT_EQ(encoded->data, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Dword, EncodesValue,
    testing::Values(
        // Type names in any case.
        EncodeCase{"1", "Dword", RegistryType::Dword, {1, 0, 0, 0}},
        EncodeCase{"1", "DWORD", RegistryType::Dword, {1, 0, 0, 0}},
        EncodeCase{"1", "dword", RegistryType::Dword, {1, 0, 0, 0}},
        EncodeCase{"0", "dWoRd", RegistryType::Dword, {0, 0, 0, 0}},
        // Blanks around the text go; only spaces count as blanks.
        EncodeCase{" 2 ", "dword", RegistryType::Dword, {2, 0, 0, 0}},
        EncodeCase{"-1", "dword", RegistryType::Dword, {0xFF, 0xFF, 0xFF, 0xFF}},
        EncodeCase{"+7", "dword", RegistryType::Dword, {7, 0, 0, 0}},
        EncodeCase{"000123", "dword", RegistryType::Dword, {123, 0, 0, 0}},
        EncodeCase{"305419896", "dword", RegistryType::Dword, {0x78, 0x56, 0x34, 0x12}},
        // Hexadecimal is the 32-bit pattern.
        EncodeCase{"&H10", "dword", RegistryType::Dword, {0x10, 0, 0, 0}},
        EncodeCase{"&hff", "dword", RegistryType::Dword, {0xFF, 0, 0, 0}},
        EncodeCase{"&HFFFFFFFF", "dword", RegistryType::Dword, {0xFF, 0xFF, 0xFF, 0xFF}},
        EncodeCase{"&H80000000", "dword", RegistryType::Dword, {0, 0, 0, 0x80}},
        EncodeCase{"&H000012345678", "dword", RegistryType::Dword, {0x78, 0x56, 0x34, 0x12}},
        // Range ends.
        EncodeCase{"2147483647", "dword", RegistryType::Dword, {0xFF, 0xFF, 0xFF, 0x7F}},
        EncodeCase{"-2147483648", "dword", RegistryType::Dword, {0, 0, 0, 0x80}},
        // Fractions round half to even.
        EncodeCase{"2.5", "dword", RegistryType::Dword, {2, 0, 0, 0}},
        EncodeCase{"3.5", "dword", RegistryType::Dword, {4, 0, 0, 0}},
        EncodeCase{"2.5000001", "dword", RegistryType::Dword, {3, 0, 0, 0}},
        EncodeCase{"2.4999999", "dword", RegistryType::Dword, {2, 0, 0, 0}},
        EncodeCase{"2.50000", "dword", RegistryType::Dword, {2, 0, 0, 0}},
        EncodeCase{"-2.5", "dword", RegistryType::Dword, {0xFE, 0xFF, 0xFF, 0xFF}},
        EncodeCase{"-3.5", "dword", RegistryType::Dword, {0xFC, 0xFF, 0xFF, 0xFF}},
        EncodeCase{".5", "dword", RegistryType::Dword, {0, 0, 0, 0}},
        EncodeCase{".51", "dword", RegistryType::Dword, {1, 0, 0, 0}},
        EncodeCase{"2147483647.4", "dword", RegistryType::Dword, {0xFF, 0xFF, 0xFF, 0x7F}},
        EncodeCase{"-2147483648.5", "dword", RegistryType::Dword, {0, 0, 0, 0x80}},
        EncodeCase{"-0", "dword", RegistryType::Dword, {0, 0, 0, 0}}));

INSTANTIATE_TEST_SUITE_P(
    String, EncodesValue,
    testing::Values(
        // Stored with one terminating NUL, counted in the size.
        EncodeCase{"  Hello  ", "string", RegistryType::String, {'H', 'e', 'l', 'l', 'o', 0}},
        EncodeCase{"", "String", RegistryType::String, {0}},
        EncodeCase{"    ", "STRING", RegistryType::String, {0}},
        EncodeCase{"\tA b\t", "string", RegistryType::String, {'\t', 'A', ' ', 'b', '\t', 0}},
        EncodeCase{"\xE9t\xE9", "string", RegistryType::String, {0xE9, 't', 0xE9, 0}}));

INSTANTIATE_TEST_SUITE_P(
    Binary, EncodesValue,
    testing::Values(EncodeCase{"FF00", "binary", RegistryType::Binary, {0xFF, 0x00}},
                    EncodeCase{"0a1", "Binary", RegistryType::Binary, {0x0A, 0x01}},
                    EncodeCase{"", "binary", RegistryType::Binary, {}},
                    EncodeCase{"  ", "binary", RegistryType::Binary, {}},
                    EncodeCase{" 7 ", "BINARY", RegistryType::Binary, {0x07}},
                    EncodeCase{"deadBEEF", "binary", RegistryType::Binary, {0xDE, 0xAD, 0xBE, 0xEF}}));

struct ErrorCase {
    const char* text;
    const char* type;
    Kind expected;
};

class RejectsValue : public testing::TestWithParam<ErrorCase> {};

TEST_P(RejectsValue, RaisesConversionErrorOfItsKind) {
    const ErrorCase& c = GetParam();
    try {
        EncodeRegistryValue(c.text, c.type);
        FAIL() << "no error for '" << c.text << "' as " << c.type;
    } catch (const ConversionError& error) {
        EXPECT_EQ(error.kind(), c.expected) << "'" << c.text << "' as " << c.type;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Dword, RejectsValue,
    testing::Values(
        ErrorCase{"", "dword", Kind::TypeMismatch}, ErrorCase{"   ", "dword", Kind::TypeMismatch},
        ErrorCase{"abc", "dword", Kind::TypeMismatch}, ErrorCase{"\t2", "dword", Kind::TypeMismatch},
        ErrorCase{"1 2", "dword", Kind::TypeMismatch}, ErrorCase{"1,000", "dword", Kind::TypeMismatch},
        ErrorCase{"1e3", "dword", Kind::TypeMismatch}, ErrorCase{"$5", "dword", Kind::TypeMismatch},
        ErrorCase{"5.", "dword", Kind::TypeMismatch}, ErrorCase{".", "dword", Kind::TypeMismatch},
        ErrorCase{"-", "dword", Kind::TypeMismatch}, ErrorCase{"+-1", "dword", Kind::TypeMismatch},
        ErrorCase{"1.2.3", "dword", Kind::TypeMismatch}, ErrorCase{"2,5", "dword", Kind::TypeMismatch},
        ErrorCase{"&H", "dword", Kind::TypeMismatch}, ErrorCase{"&HG", "dword", Kind::TypeMismatch},
        ErrorCase{"-&H1", "dword", Kind::TypeMismatch}, ErrorCase{"0x10", "dword", Kind::TypeMismatch}));

// A number too wide, whatever its form; a bad digit anywhere still counts as
// a mismatch first.
INSTANTIATE_TEST_SUITE_P(DwordRange, RejectsValue,
                         testing::Values(ErrorCase{"2147483648", "dword", Kind::Overflow},
                                         ErrorCase{"-2147483649", "dword", Kind::Overflow},
                                         ErrorCase{"2147483647.5", "dword", Kind::Overflow},
                                         ErrorCase{"-2147483648.6", "dword", Kind::Overflow},
                                         ErrorCase{"99999999999999999999999", "dword", Kind::Overflow},
                                         ErrorCase{"&H100000000", "dword", Kind::Overflow},
                                         ErrorCase{"99999999999999x", "dword", Kind::TypeMismatch},
                                         ErrorCase{"&H1000000000G", "dword", Kind::TypeMismatch}));

INSTANTIATE_TEST_SUITE_P(Binary, RejectsValue,
                         testing::Values(ErrorCase{"0x12", "binary", Kind::TypeMismatch},
                                         ErrorCase{"G1", "binary", Kind::TypeMismatch},
                                         ErrorCase{"x4", "binary", Kind::TypeMismatch},
                                         ErrorCase{"AB CD", "binary", Kind::TypeMismatch},
                                         ErrorCase{"ABC-", "binary", Kind::TypeMismatch},
                                         ErrorCase{"-1", "binary", Kind::TypeMismatch}));

TEST(EncodeRegistryValue, UnknownTypeNameGivesNoValueEvenForBadText) {
    for (const char* type : {" dword", "dword ", "dw0rd", "", "sz", "REG_DWORD", "strings"}) {
        EXPECT_FALSE(EncodeRegistryValue("abc", type).has_value()) << "'" << type << "'";
        EXPECT_FALSE(EncodeRegistryValue("1", type).has_value()) << "'" << type << "'";
    }
}

TEST(EncodeRegistryValue, ErrorsSayWhatWentWrong) {
    try {
        EncodeRegistryValue("x", "dword");
        FAIL();
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "Type mismatch");
    }
    try {
        EncodeRegistryValue("4294967296", "dword");
        FAIL();
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "Overflow");
    }
}

TEST(TrimBlanks, RemovesSpacesOnlyAtTheEnds) {
    EXPECT_EQ(TrimBlanks("  a b  "), "a b");
    EXPECT_EQ(TrimBlanks("\t a \t"), "\t a \t");
    EXPECT_EQ(TrimBlanks("     "), "");
    EXPECT_EQ(TrimBlanks(""), "");
}

// Every 32-bit pattern written in hexadecimal comes back as itself, and every
// decimal in range as its own value: a sweep across the range in big steps.
TEST(ParseDword, RoundTripsAcrossTheRange) {
    char text[32];
    for (std::int64_t v = INT32_MIN; v <= INT32_MAX; v += std::int64_t{104729} * 97) {
        std::snprintf(text, sizeof text, "%lld", static_cast<long long>(v));
        EXPECT_EQ(ParseDword(text), v) << text;
        std::snprintf(text, sizeof text, "&H%X", static_cast<unsigned>(static_cast<std::uint32_t>(v)));
        EXPECT_EQ(ParseDword(text), static_cast<std::int32_t>(v)) << text;
    }
}

} // namespace

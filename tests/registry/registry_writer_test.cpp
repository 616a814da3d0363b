// The registry writer against the real registry, in a scratch key under
// HKEY_CURRENT_USER that each test creates and removes.
#include "registry/registry_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/handle_count.h"
#include "support/registry_test_support.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr char kRoot[] = "HKEY_CURRENT_USER";

class RegistryWriter : public testing::Test {
protected:
    void SetUp() override {
        scratch_ = "Software\\NUV Veldmark tests\\" + std::to_string(GetCurrentProcessId()) + "-" +
                   testing::UnitTest::GetInstance()->current_test_info()->name();
        RegDeleteTreeA(HKEY_CURRENT_USER, scratch_.c_str());
    }
    void TearDown() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, scratch_.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\NUV Veldmark tests");
    }
    std::string scratch_;
};

TEST(RootKeyFromName, GivesThePlatformsPredefinedKeys) {
    const struct {
        const char* name;
        HKEY key;
    } cases[] = {
        {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
        {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
        {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
        {"HKEY_USERS", HKEY_USERS},
        {"HKEY_PERFORMANCE_DATA", HKEY_PERFORMANCE_DATA},
        {"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG},
        {"HKEY_DYN_DATA", HKEY_DYN_DATA},
        {"hkey_current_user", nullptr},
        {" HKEY_CURRENT_USER", nullptr},
        {"HKEY_CURRENT_USER ", nullptr},
        {"HKCU", nullptr},
        {"", nullptr},
    };
    for (const auto& c : cases) EXPECT_EQ(RootKeyFromName(c.name), c.key) << "'" << c.name << "'";
    EXPECT_EQ(RootKeyValueFromName("HKEY_CURRENT_USER"), 0x80000001u);
}

TEST(IsSuccess, OnlyErrorSuccessIsSuccess) {
    EXPECT_TRUE(IsSuccess(ERROR_SUCCESS));
    for (LONG status : {1L, 2L, 5L, 87L, -1L, static_cast<LONG>(0x80000000)})
        EXPECT_FALSE(IsSuccess(status)) << status;
}

TEST_F(RegistryWriter, WritesEachTypeAsItsBytes) {
    const struct {
        const char* name;
        const char* value;
        const char* type;
        DWORD expectedType;
        Bytes expected;
    } cases[] = {
        {"one", "1", "Dword", REG_DWORD, {1, 0, 0, 0}},
        {"two", " 2 ", "DWORD", REG_DWORD, {2, 0, 0, 0}},
        {"minus", "-1", "dword", REG_DWORD, {0xFF, 0xFF, 0xFF, 0xFF}},
        {"hex", "&H10", "dword", REG_DWORD, {0x10, 0, 0, 0}},
        {"half", "2.5", "dword", REG_DWORD, {2, 0, 0, 0}},
        {"hello", "  Hello  ", "string", REG_SZ, {'H', 'e', 'l', 'l', 'o', 0}},
        {"empty string", "   ", "String", REG_SZ, {0}},
        {"bytes", "FF00", "binary", REG_BINARY, {0xFF, 0x00}},
        {"odd bytes", "0a1", "Binary", REG_BINARY, {0x0A, 0x01}},
        {"no bytes", "", "binary", REG_BINARY, {}},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(WriteRegistryValue(kRoot, scratch_, c.name, c.value, c.type)) << c.name;
        const StoredValue stored = ReadValue(scratch_, c.name);
        EXPECT_EQ(stored.type, c.expectedType) << c.name;
        EXPECT_EQ(stored.data, c.expected) << c.name;
    }
}

TEST_F(RegistryWriter, OverwritesDataAndTypeAndLeavesTheRestAlone) {
    ASSERT_TRUE(WriteRegistryValue(kRoot, scratch_, "Composition", "old text", "string"));
    ASSERT_TRUE(WriteRegistryValue(kRoot, scratch_, "Sibling", "&H1234", "dword"));
    ASSERT_TRUE(WriteRegistryValue(kRoot, scratch_ + "\\Child", "Inner", "AB", "binary"));

    EXPECT_TRUE(WriteRegistryValue(kRoot, scratch_, "Composition", "0", "Dword"));

    const StoredValue overwritten = ReadValue(scratch_, "Composition");
    EXPECT_EQ(overwritten.type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(overwritten.data, (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(ReadValue(scratch_, "Sibling").data, (Bytes{0x34, 0x12, 0, 0}));
    EXPECT_EQ(ReadValue(scratch_ + "\\Child", "Inner").data, (Bytes{0xAB}));
    EXPECT_EQ(CountValues(scratch_), 2u);
}

TEST_F(RegistryWriter, CreatesEveryMissingLevel) {
    const std::string deep = scratch_ + "\\a\\b\\c";
    ASSERT_FALSE(KeyExists(scratch_));
    EXPECT_TRUE(WriteRegistryValue(kRoot, deep, "v", "7", "dword"));
    EXPECT_EQ(ReadValue(deep, "v").data, (Bytes{7, 0, 0, 0}));
}

TEST_F(RegistryWriter, UnknownRootNameCreatesNothing) {
    for (const char* root : {"hkey_current_user", " HKEY_CURRENT_USER", "HKCU", ""}) {
        EXPECT_FALSE(WriteRegistryValue(root, scratch_, "v", "1", "dword")) << "'" << root << "'";
        EXPECT_FALSE(KeyExists(scratch_)) << "'" << root << "'";
    }
}

TEST_F(RegistryWriter, UnknownTypeNameLeavesTheKeyWithoutTheValue) {
    for (const char* type : {" dword", "dword ", "REG_DWORD", ""}) {
        EXPECT_FALSE(WriteRegistryValue(kRoot, scratch_, "v", "1", type)) << "'" << type << "'";
        EXPECT_TRUE(KeyExists(scratch_));
        EXPECT_EQ(CountValues(scratch_), 0u);
    }
}

TEST_F(RegistryWriter, RefusedSetGivesFalse) {
    // The registry refuses value names longer than 16383 characters.
    const std::string tooLong(16384, 'n');
    EXPECT_FALSE(WriteRegistryValue(kRoot, scratch_, tooLong, "1", "dword"));
    EXPECT_TRUE(KeyExists(scratch_));
    EXPECT_EQ(CountValues(scratch_), 0u);
}

TEST_F(RegistryWriter, ConversionErrorRaisesAndWritesNothing) {
    const struct {
        const char* value;
        const char* type;
        ConversionError::Kind kind;
    } cases[] = {
        {"", "dword", ConversionError::Kind::TypeMismatch},
        {"abc", "dword", ConversionError::Kind::TypeMismatch},
        {"2147483648", "dword", ConversionError::Kind::Overflow},
        {"0x12", "binary", ConversionError::Kind::TypeMismatch},
    };
    for (const auto& c : cases) {
        try {
            WriteRegistryValue(kRoot, scratch_, "v", c.value, c.type);
            ADD_FAILURE() << "no error for '" << c.value << "'";
        } catch (const ConversionError& error) {
            EXPECT_EQ(error.kind(), c.kind) << "'" << c.value << "'";
        }
        EXPECT_TRUE(KeyExists(scratch_));
        EXPECT_EQ(CountValues(scratch_), 0u);
    }
}

// The handle counter itself must see a key left open, or the next test
// proves nothing.
TEST_F(RegistryWriter, HandleCounterSeesAKeyLeftOpen) {
    const long before = CountOwnHandles();
    ASSERT_GE(before, 0);
    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(CountOwnHandles(), before + 1);
    RegCloseKey(key);
    EXPECT_EQ(CountOwnHandles(), before);
}

TEST_F(RegistryWriter, LeavesNoHandleOpenOnAnyPath) {
    const std::string tooLong(16384, 'n');
    ASSERT_TRUE(WriteRegistryValue(kRoot, scratch_, "warm", "1", "dword"));
    const long before = CountOwnHandles();
    ASSERT_GE(before, 0);
    for (int i = 0; i < 200; ++i) {
        WriteRegistryValue(kRoot, scratch_, "ok", "1", "dword");
        WriteRegistryValue("HKCU", scratch_, "v", "1", "dword");
        WriteRegistryValue(kRoot, scratch_, "v", "1", "qword");
        WriteRegistryValue(kRoot, scratch_, tooLong, "1", "dword");
        try {
            WriteRegistryValue(kRoot, scratch_, "v", "abc", "dword");
        } catch (const ConversionError&) {
        }
    }
    EXPECT_EQ(CountOwnHandles(), before);
}

} // namespace

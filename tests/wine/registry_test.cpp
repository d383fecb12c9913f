#include "platform/win32/registry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "tests/wine/support/wine_test_support.h"

namespace plumeta::win32 {
namespace {

using platform::ErrorCode;
using platform::RegistryKey;
using platform::RegistryValue;
using platform::RootKey;
using platform::ValueType;

std::vector<std::string> Sorted(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  return names;
}

// Every case runs under HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE.
class RegistryTest : public ::testing::TestWithParam<RootKey> {
 protected:
  RegistryTest() : scratch_(RootKeyHandle(GetParam()), "registry") {}

  std::unique_ptr<RegistryKey> CreateKey(const std::string& path) {
    std::unique_ptr<RegistryKey> key;
    EXPECT_EQ(registry_.OpenKey(GetParam(), path, true, &key), 0u) << path;
    return key;
  }
  // A key with two levels of subkeys and values on each.
  void CreateTree(const std::string& path) {
    for (const char* sub : {"", "\\A", "\\A\\Deep", "\\B"}) {
      auto key = CreateKey(path + sub);
      ASSERT_NE(key, nullptr);
      ASSERT_EQ(key->WriteString("Name", "text"), 0u);
    }
  }

  Win32Registry registry_;
  wine_test::ScratchKey scratch_;
};

TEST_P(RegistryTest, ValuesRoundTripWithTheirTypes) {
  const std::string binary("\x00\x01\xfe\xff\x00", 5);
  struct Row {
    const char* name;
    RegistryValue value;
  } rows[] = {
      {"String", RegistryValue::String("C:\\Temp\\1024.pdf")},
      {"Empty", RegistryValue::String("")},
      {"Expand", RegistryValue::ExpandString("%windir%\\system32")},
      {"Dword", RegistryValue::FromDword(300)},
      {"DwordMax", RegistryValue::FromDword(0xffffffffu)},
      {"Binary", {ValueType::kBinary, binary}},
      {"LargeBinary", {ValueType::kBinary, std::string(100000, 'b')}},
      {"", RegistryValue::String("default value")},
  };
  auto key = CreateKey(scratch_.path());
  ASSERT_NE(key, nullptr);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ASSERT_EQ(key->WriteValue(row.name, row.value), 0u);
    RegistryValue read;
    ASSERT_EQ(key->ReadValue(row.name, &read), 0u);
    EXPECT_EQ(read.type, row.value.type);
    EXPECT_EQ(read.data, row.value.data);
  }
  RegistryValue dword;
  ASSERT_EQ(key->ReadValue("Dword", &dword), 0u);
  EXPECT_EQ(dword.Dword(), 300u);
}

TEST_P(RegistryTest, StringsAreStoredWithTheirTerminatingNul) {
  auto key = CreateKey(scratch_.path());
  ASSERT_NE(key, nullptr);
  ASSERT_EQ(key->WriteString("Written", "abc"), 0u);
  // Written raw without a NUL: the registry still gets one.
  ASSERT_EQ(key->WriteValue("Raw", {ValueType::kString, "abc"}), 0u);
  HKEY raw = nullptr;
  ASSERT_EQ(::RegOpenKeyExA(RootKeyHandle(GetParam()), scratch_.path().c_str(),
                            0, KEY_READ, &raw),
            ERROR_SUCCESS);
  for (const char* name : {"Written", "Raw"}) {
    SCOPED_TRACE(name);
    char data[16] = {};
    DWORD size = sizeof(data);
    DWORD type = 0;
    EXPECT_EQ(::RegQueryValueExA(raw, name, nullptr, &type,
                                 reinterpret_cast<BYTE*>(data), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, 4u);
    EXPECT_STREQ(data, "abc");
  }
  ::RegCloseKey(raw);
}

TEST_P(RegistryTest, MissingValuesAndKeysGiveFileNotFound) {
  std::unique_ptr<RegistryKey> key;
  EXPECT_EQ(registry_.OpenKey(GetParam(), scratch_.path(), false, &key), 2u);
  EXPECT_EQ(key, nullptr);
  key = CreateKey(scratch_.path());
  ASSERT_NE(key, nullptr);
  RegistryValue value;
  EXPECT_EQ(key->ReadValue("Missing", &value), 2u);
  EXPECT_EQ(key->DeleteValue("Missing"), 2u);
  ASSERT_EQ(key->WriteDword("Present", 1), 0u);
  EXPECT_EQ(key->DeleteValue("Present"), 0u);
  EXPECT_EQ(key->ReadValue("Present", &value), 2u);
}

// The administrator's auto-save values are read this way: it must read
// without asking for the right to write, which a standard user lacks.
TEST_P(RegistryTest, KeysOpenedToReadAreReadOnly) {
  std::unique_ptr<RegistryKey> key;
  EXPECT_EQ(registry_.OpenKeyToRead(GetParam(), scratch_.path(), &key), 2u);
  ASSERT_EQ(CreateKey(scratch_.path())->WriteString("Folder", "C:\\PDF"), 0u);
  ASSERT_EQ(registry_.OpenKeyToRead(GetParam(), scratch_.path(), &key), 0u);
  RegistryValue value;
  ASSERT_EQ(key->ReadValue("Folder", &value), 0u);
  EXPECT_EQ(value.Text(), "C:\\PDF");
  EXPECT_EQ(key->WriteString("Folder", "D:\\"), 5u);  // access denied
}

TEST_P(RegistryTest, EnumeratesValueAndSubkeyNames) {
  const std::string long_name(300, 'n');  // past the first name buffer
  auto key = CreateKey(scratch_.path());
  ASSERT_NE(key, nullptr);
  for (const std::string& name :
       {std::string("One"), std::string("Two"), long_name}) {
    ASSERT_EQ(key->WriteDword(name, 1), 0u);
  }
  CreateKey(scratch_.path() + "\\Sub1");
  CreateKey(scratch_.path() + "\\Sub2");
  std::vector<std::string> names;
  ASSERT_EQ(key->ValueNames(&names), 0u);
  EXPECT_EQ(Sorted(names), (std::vector<std::string>{"One", "Two", long_name}));
  ASSERT_EQ(key->SubkeyNames(&names), 0u);
  EXPECT_EQ(Sorted(names), (std::vector<std::string>{"Sub1", "Sub2"}));
}

TEST_P(RegistryTest, DeletesAKeyTree) {
  HKEY root = RootKeyHandle(GetParam());
  struct Row {
    const char* name;
    ErrorCode (*delete_tree)(Win32Registry*, RootKey, const std::string&);
  } rows[] = {
      {"through the interface",
       [](Win32Registry* registry, RootKey root, const std::string& path) {
         return registry->DeleteKeyTree(root, path);
       }},
      {"by hand, as without RegDeleteTreeA",
       [](Win32Registry*, RootKey root, const std::string& path) {
         return static_cast<ErrorCode>(
             DeleteKeyTreeByHand(RootKeyHandle(root), path));
       }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string path = scratch_.path() + "\\Tree";
    CreateTree(path);
    ASSERT_TRUE(wine_test::KeyExists(root, path + "\\A\\Deep"));
    EXPECT_EQ(row.delete_tree(&registry_, GetParam(), path), 0u);
    EXPECT_FALSE(wine_test::KeyExists(root, path));
    EXPECT_TRUE(wine_test::KeyExists(root, scratch_.path()));
    EXPECT_EQ(row.delete_tree(&registry_, GetParam(), path), 2u);
  }
}

TEST_P(RegistryTest, RefusesToDeleteTheWholeRoot) {
  for (const char* path : {"", "\\", "\\\\"}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(registry_.DeleteKeyTree(GetParam(), path), 87u);
    EXPECT_EQ(DeleteKeyTreeByHand(RootKeyHandle(GetParam()), path),
              ERROR_INVALID_PARAMETER);
  }
  EXPECT_TRUE(wine_test::KeyExists(RootKeyHandle(GetParam()), "Software"));
}

INSTANTIATE_TEST_SUITE_P(BothRoots, RegistryTest,
                         ::testing::Values(RootKey::kCurrentUser,
                                           RootKey::kLocalMachine),
                         [](const auto& info) {
                           return info.param == RootKey::kCurrentUser
                                      ? "CurrentUser"
                                      : "LocalMachine";
                         });

}  // namespace
}  // namespace plumeta::win32

// What every registry does: the box's hives and Win32's, under both roots.
#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "tests/contract/beds.h"

namespace plumeta::contract {
namespace {

using platform::ErrorCode;
using platform::RegistryValue;
using platform::ValueType;

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(c));
  return text;
}

TEST_P(RegistryContract, NamesAreFoundInAnyCaseAndKeepTheirOwn) {
  auto key = Open(Path("Settings"));
  ASSERT_EQ(key->WriteString("Quality", "Printer"), platform::kSuccess);

  auto again = Open(Upper(Path("Settings")), false);
  ASSERT_TRUE(again);
  ASSERT_EQ(again->WriteString("QUALITY", "Screen"), platform::kSuccess);
  RegistryValue value;
  ASSERT_EQ(again->ReadValue("quality", &value), platform::kSuccess);
  EXPECT_EQ(value.Text(), "Screen");

  std::vector<std::string> names;
  ASSERT_EQ(key->ValueNames(&names), platform::kSuccess);
  EXPECT_EQ(names, std::vector<std::string>{"Quality"});
  ASSERT_EQ(Open(Path(""))->SubkeyNames(&names), platform::kSuccess);
  EXPECT_EQ(names, std::vector<std::string>{"Settings"});
}

TEST_P(RegistryContract, ListsValueAndSubkeyNames) {
  const std::string long_name(300, 'n');  // past a first name buffer
  auto key = Open(Path(""));
  for (const std::string& name : {std::string("Zeta"), std::string("alpha"),
                                  std::string("Mid"), long_name}) {
    ASSERT_EQ(key->WriteDword(name, 1), platform::kSuccess);
  }
  for (const char* name : {"b", "C", "a"}) Open(Path(name));
  std::vector<std::string> names;
  ASSERT_EQ(key->ValueNames(&names), platform::kSuccess);
  // Windows and the box list values in the order written; Wine keeps them
  // sorted by name.
  const std::vector<std::string> written{"Zeta", "alpha", "Mid", long_name};
  const std::vector<std::string> sorted{"alpha", "Mid", long_name, "Zeta"};
  EXPECT_EQ(names, UnderWine() ? sorted : written);
  ASSERT_EQ(key->SubkeyNames(&names), platform::kSuccess);
  EXPECT_EQ(names, (std::vector<std::string>{"a", "b", "C"}));
}

TEST_P(RegistryContract, MissingKeysAndValuesAreNotFound) {
  std::unique_ptr<platform::RegistryKey> missing;
  EXPECT_EQ(registry().OpenKey(root(), Path(""), false, &missing),
            platform::kErrorFileNotFound);
  EXPECT_EQ(missing, nullptr);
  auto key = Open(Path(""));
  RegistryValue value;
  EXPECT_EQ(key->ReadValue("Missing", &value), platform::kErrorFileNotFound);
  EXPECT_EQ(key->DeleteValue("Missing"), platform::kErrorFileNotFound);
  ASSERT_EQ(key->WriteDword("Present", 1), platform::kSuccess);
  EXPECT_EQ(key->DeleteValue("Present"), platform::kSuccess);
  EXPECT_EQ(key->ReadValue("Present", &value), platform::kErrorFileNotFound);
  // The two roots are apart.
  const platform::RootKey other = root() == platform::RootKey::kCurrentUser
                                      ? platform::RootKey::kLocalMachine
                                      : platform::RootKey::kCurrentUser;
  EXPECT_EQ(registry().OpenKey(other, Path(""), false, &missing),
            platform::kErrorFileNotFound);
}

TEST_P(RegistryContract, ValuesComeBackWithTheirTypes) {
  const struct {
    const char* name;
    RegistryValue value;
  } kRows[] = {
      {"String", RegistryValue::String("C:\\Temp\\\"1024\".pdf")},
      {"Empty", RegistryValue::String("")},
      {"Expand", RegistryValue::ExpandString("%windir%\\system32")},
      {"Dword", RegistryValue::FromDword(0xDEADBEEF)},
      {"DwordMax", RegistryValue::FromDword(0xffffffffu)},
      {"Binary", {ValueType::kBinary, std::string("\x00\x01\xfe\xff\x00", 5)}},
      {"LargeBinary", {ValueType::kBinary, std::string(100000, 'b')}},
      {"NulInside", {ValueType::kString, std::string("cut\0here\0", 9)}},
      {"", RegistryValue::String("default value")},
  };
  auto key = Open(Path(""));
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.name);
    ASSERT_EQ(key->WriteValue(row.name, row.value), platform::kSuccess);
    RegistryValue read;
    ASSERT_EQ(Open(Path(""), false)->ReadValue(row.name, &read),
              platform::kSuccess);
    EXPECT_EQ(read.type, row.value.type);
    EXPECT_EQ(read.data, row.value.data);
  }
  RegistryValue dword;
  ASSERT_EQ(key->ReadValue("Dword", &dword), platform::kSuccess);
  EXPECT_EQ(dword.Dword(), 0xDEADBEEFu);
}

TEST_P(RegistryContract, DeleteKeyTreeTakesEverythingBelow) {
  for (const char* below : {"Tree\\A\\Deep", "Tree\\B", "Sibling"}) {
    ASSERT_EQ(Open(Path(below))->WriteString("Name", "text"),
              platform::kSuccess);
  }
  auto inner = Open(Path("Tree\\A\\Deep"), false);

  ASSERT_EQ(registry().DeleteKeyTree(root(), Upper(Path("Tree"))),
            platform::kSuccess);
  EXPECT_EQ(OpenCode(Path("Tree"), false), platform::kErrorFileNotFound);
  EXPECT_EQ(OpenCode(Path("Sibling"), false), platform::kSuccess);

  // A key held open across the deletion is a deleted key.
  RegistryValue value;
  EXPECT_EQ(inner->ReadValue("Name", &value), platform::kErrorKeyDeleted);
  EXPECT_EQ(inner->WriteString("Name", "c"), platform::kErrorKeyDeleted);
  EXPECT_EQ(OpenCode(Path("Tree"), false), platform::kErrorFileNotFound);

  EXPECT_EQ(registry().DeleteKeyTree(root(), Path("Tree")),
            platform::kErrorFileNotFound);
}

// The box refuses with access denied; the Win32 code refuses before it asks
// Windows, which would empty the whole root.
TEST_P(RegistryContract, RefusesToDeleteTheWholeRoot) {
  ASSERT_TRUE(Open(Path("Kept")));
  EXPECT_EQ(
      registry().DeleteKeyTree(root(), ""),
      OnSide(platform::kErrorAccessDenied, platform::kErrorInvalidParameter));
  if (ThisSide() == Side::kWin32) {
    for (const char* path : {"\\", "\\\\"}) {
      SCOPED_TRACE(path);
      EXPECT_EQ(registry().DeleteKeyTree(root(), path),
                platform::kErrorInvalidParameter);
    }
  }
  EXPECT_EQ(OpenCode(Path("Kept"), false), platform::kSuccess);
}

// The box keeps no access rights on keys: a key opened to read writes too.
TEST_P(RegistryContract, KeysOpenedToReadAreReadOnly) {
  std::unique_ptr<platform::RegistryKey> key;
  EXPECT_EQ(registry().OpenKeyToRead(root(), Path(""), &key),
            platform::kErrorFileNotFound);
  ASSERT_EQ(Open(Path(""))->WriteString("Folder", "C:\\PDF"),
            platform::kSuccess);
  ASSERT_EQ(registry().OpenKeyToRead(root(), Path(""), &key),
            platform::kSuccess);
  RegistryValue value;
  ASSERT_EQ(key->ReadValue("Folder", &value), platform::kSuccess);
  EXPECT_EQ(value.Text(), "C:\\PDF");
  EXPECT_EQ(key->WriteString("Folder", "D:\\"),
            OnSide(platform::kSuccess, platform::kErrorAccessDenied));
}

TEST_P(RegistryContract, RefusesPathsAndNamesAHiveCannotKeep) {
  std::string leading = "\\";
  leading += Path("");
  EXPECT_EQ(OpenCode(leading, true), platform::kErrorBadPathname);
  EXPECT_EQ(OpenCode(Path("Trailing") + "\\", true), platform::kSuccess);
  EXPECT_EQ(OpenCode(Path("Trailing"), false), platform::kSuccess);
  if (ThisSide() == Side::kHost) {
    // Windows keeps these; the box's REGEDIT4 files cannot.
    for (const std::string& path : {Path("") + "\\\\X", Path("A\nB")}) {
      SCOPED_TRACE(path);
      EXPECT_EQ(OpenCode(path, true), platform::kErrorBadPathname);
    }
    EXPECT_EQ(Open(Path("Trailing"), false)->WriteString("two\nlines", "x"),
              platform::kErrorInvalidParameter);
  }
}

}  // namespace
}  // namespace plumeta::contract

// The registry as Win32 stores it: what the contract (tests/contract) cannot
// see through the interface.
#include "platform/win32/registry.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/wine/support/wine_test_support.h"

namespace plumeta::win32 {
namespace {

using platform::RegistryKey;
using platform::RegistryValue;
using platform::RootKey;
using platform::ValueType;

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

// Where RegDeleteTreeA is missing (before Vista), the tree goes by hand.
TEST_P(RegistryTest, DeletesAKeyTreeByHand) {
  HKEY root = RootKeyHandle(GetParam());
  const std::string path = scratch_.path() + "\\Tree";
  CreateTree(path);
  ASSERT_TRUE(wine_test::KeyExists(root, path + "\\A\\Deep"));
  EXPECT_EQ(DeleteKeyTreeByHand(root, path), ERROR_SUCCESS);
  EXPECT_FALSE(wine_test::KeyExists(root, path));
  EXPECT_TRUE(wine_test::KeyExists(root, scratch_.path()));
  EXPECT_EQ(DeleteKeyTreeByHand(root, path), ERROR_FILE_NOT_FOUND);
  for (const char* whole_root : {"", "\\", "\\\\"}) {
    SCOPED_TRACE(whole_root);
    EXPECT_EQ(DeleteKeyTreeByHand(root, whole_root), ERROR_INVALID_PARAMETER);
  }
  EXPECT_TRUE(wine_test::KeyExists(root, "Software"));
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

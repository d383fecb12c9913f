// The WOW64 entry points called through Win32System. The 64-bit build checks
// what a 64-bit process sees; the 32-bit build checks WOW64 itself on 64-bit
// Windows (or Wine's 64-bit prefix).
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/win32/libraries.h"
#include "platform/win32/system.h"
#include "tests/wine/support/wine_test_support.h"

namespace plumeta::win32 {
namespace {

// Where a file written to %windir%\system32 ended up, seen from the Unix
// side of Wine, which no redirection touches.
enum class Landing { kNowhere, kSystem32, kSysWow64, kBoth };

class Wow64Test : public ::testing::Test {
 protected:
  void SetUp() override {
    kernel32_ = libraries_.Load("kernel32.dll");
    ASSERT_NE(kernel32_, 0u);
    is_wow64_process_ = libraries_.Find(kernel32_, "IsWow64Process");
    disable_ = libraries_.Find(kernel32_, "Wow64DisableWow64FsRedirection");
    revert_ = libraries_.Find(kernel32_, "Wow64RevertWow64FsRedirection");
  }
  void TearDown() override { libraries_.Free(kernel32_); }

  // The Unix system folders through drive Z:; false when not under Wine or
  // without drive Z:.
  bool FindUnixSystemFolders() {
    const auto windir = system_.Environment("windir");
    if (!windir) return false;
    const auto unix_windir = wine_test::UnixPath(*windir);
    if (!unix_windir) return false;
    const std::string through_z = wine_test::ThroughDriveZ(*unix_windir);
    const DWORD attributes = ::GetFileAttributesA(through_z.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      return false;
    }
    windir_ = *windir;
    unix_system32_ = through_z + "\\system32";
    unix_syswow64_ = through_z + "\\syswow64";
    return true;
  }

  bool HasSysWow64() {
    const DWORD attributes = ::GetFileAttributesA(unix_syswow64_.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  }

  // Writes %windir%\system32\<name> as the process sees it, then removes it
  // again through the Unix side.
  Landing WriteToSystem32(const std::string& name) {
    EXPECT_TRUE(
        wine_test::WriteWholeFile(windir_ + "\\system32\\" + name, "x"));
    const std::string native = unix_system32_ + "\\" + name;
    const std::string wow64 = unix_syswow64_ + "\\" + name;
    const bool in_native = ::DeleteFileA(native.c_str()) != FALSE;
    const bool in_wow64 = ::DeleteFileA(wow64.c_str()) != FALSE;
    if (in_native && in_wow64) return Landing::kBoth;
    if (in_native) return Landing::kSystem32;
    return in_wow64 ? Landing::kSysWow64 : Landing::kNowhere;
  }

  static std::string Unique(const char* stem) {
    return std::string(stem) + "-" + std::to_string(::GetCurrentProcessId()) +
           ".tmp";
  }

  Win32Libraries libraries_;
  Win32System system_;
  platform::Libraries::Handle kernel32_ = 0;
  platform::EntryPoint is_wow64_process_ = nullptr;
  platform::EntryPoint disable_ = nullptr;
  platform::EntryPoint revert_ = nullptr;
  std::string windir_;
  std::string unix_system32_;
  std::string unix_syswow64_;
};

TEST_F(Wow64Test, MissingEntryPointsAreNotCalled) {
  bool wow64 = true;
  void* old_value = &wow64;
  EXPECT_FALSE(system_.CallIsWow64Process(nullptr, &wow64));
  EXPECT_TRUE(wow64);
  EXPECT_FALSE(system_.CallWow64DisableFsRedirection(nullptr, &old_value));
  EXPECT_EQ(old_value, &wow64);
  EXPECT_FALSE(system_.CallWow64RevertFsRedirection(nullptr, old_value));
}

#ifdef _WIN64

TEST_F(Wow64Test, A64BitProcessIsNotUnderWow64) {
  ASSERT_NE(is_wow64_process_, nullptr);
  bool wow64 = true;
  EXPECT_TRUE(system_.CallIsWow64Process(is_wow64_process_, &wow64));
  EXPECT_FALSE(wow64);
}

TEST_F(Wow64Test, A64BitProcessWritesTheNativeSystemFolderEitherWay) {
  if (!FindUnixSystemFolders()) GTEST_SKIP() << "needs Wine and its drive Z:";
  ASSERT_NE(disable_, nullptr);
  ASSERT_NE(revert_, nullptr);
  void* old_value = nullptr;
  // Wine refuses the switch in a 64-bit process (ERROR_INVALID_FUNCTION);
  // Windows may accept it. Either way nothing may move.
  const bool disabled =
      system_.CallWow64DisableFsRedirection(disable_, &old_value);
  EXPECT_EQ(WriteToSystem32(Unique("plumeta-off")), Landing::kSystem32);
  if (disabled) {
    EXPECT_TRUE(system_.CallWow64RevertFsRedirection(revert_, old_value));
  }
  EXPECT_EQ(WriteToSystem32(Unique("plumeta-on")), Landing::kSystem32);
}

#else  // 32-bit

TEST_F(Wow64Test, A32BitProcessOn64BitWindowsIsUnderWow64) {
  if (!FindUnixSystemFolders()) GTEST_SKIP() << "needs Wine and its drive Z:";
  if (!HasSysWow64()) GTEST_SKIP() << "a 32-bit Wine prefix has no WOW64";
  ASSERT_NE(is_wow64_process_, nullptr);
  bool wow64 = false;
  EXPECT_TRUE(system_.CallIsWow64Process(is_wow64_process_, &wow64));
  EXPECT_TRUE(wow64);
}

TEST_F(Wow64Test, TheSwitchChoosesTheNativeOr32BitSystemFolder) {
  if (!FindUnixSystemFolders()) GTEST_SKIP() << "needs Wine and its drive Z:";
  if (!HasSysWow64()) GTEST_SKIP() << "a 32-bit Wine prefix has no WOW64";
  ASSERT_NE(disable_, nullptr);
  ASSERT_NE(revert_, nullptr);
  void* old_value = nullptr;
  ASSERT_TRUE(system_.CallWow64DisableFsRedirection(disable_, &old_value));
  const Landing off = WriteToSystem32(Unique("plumeta-off"));
  ASSERT_TRUE(system_.CallWow64RevertFsRedirection(revert_, old_value));
  EXPECT_EQ(off, Landing::kSystem32);
  EXPECT_EQ(WriteToSystem32(Unique("plumeta-on")), Landing::kSysWow64);
}

#endif

}  // namespace
}  // namespace plumeta::win32

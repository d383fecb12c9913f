// plumeta.exe itself: started with stored settings it writes its Run value
// and the argument file in the native system folder, its main window
// hidden; WM_CLOSE to that window stores the six values; "E&xit" answered
// Yes ends it; a second copy ends by itself and leaves the first running.
#include <gtest/gtest.h>

#include "platform/win32/windows_api.h"
// <aclapi.h> needs the types <windows.h> declares.
#include <aclapi.h>

#include "platform/win32/scoped_handle.h"
#include "tests/wine/support/window_finder.h"
#include "tests/wine/support/wine_test_support.h"

namespace plumeta::win32 {
namespace {

using wine_test::DeleteValue;

constexpr char kSettingsKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\ShellExt";
constexpr char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kSettingNames[] = {"Version", "Quality",    "UPwd",
                                         "OPwd",    "Resolution", "Permission"};

std::string ReadString(HKEY root, const char* path, const char* name) {
  char value[512] = {};
  DWORD size = sizeof(value);
  if (::RegGetValueA(root, path, name, RRF_RT_REG_SZ, nullptr, value, &size) !=
      ERROR_SUCCESS) {
    return "<missing>";
  }
  return value;
}

void WriteString(HKEY root, const char* path, const char* name,
                 const std::string& text) {
  ScopedRegistryKey key;
  ASSERT_EQ(::RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, key.Receive(), nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(::RegSetValueExA(key.Get(), name, 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(text.c_str()),
                             static_cast<DWORD>(text.size() + 1)),
            ERROR_SUCCESS);
}

std::string TempFolderWithoutBackslash() {
  char folder[MAX_PATH + 1] = {};
  ::GetTempPathA(sizeof(folder), folder);
  std::string path = folder;
  if (!path.empty() && path.back() == '\\') path.pop_back();
  return path;
}

// Whether the file's DACL allows anything to that well-known group.
bool Grants(const std::string& path, WELL_KNOWN_SID_TYPE group) {
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (::GetNamedSecurityInfoA(path.c_str(), SE_FILE_OBJECT,
                              DACL_SECURITY_INFORMATION, nullptr, nullptr,
                              &dacl, nullptr, &descriptor) != ERROR_SUCCESS) {
    return true;  // unknown counts as granted
  }
  ScopedLocalMemory owned(descriptor);
  if (dacl == nullptr) return true;  // a NULL DACL grants everybody all
  BYTE sid[SECURITY_MAX_SID_SIZE];
  DWORD size = sizeof(sid);
  if (!::CreateWellKnownSid(group, nullptr, sid, &size)) return true;
  for (DWORD i = 0; i < dacl->AceCount; ++i) {
    ACE_HEADER* ace = nullptr;
    if (!::GetAce(dacl, i, reinterpret_cast<void**>(&ace))) continue;
    if (ace->AceType != ACCESS_ALLOWED_ACE_TYPE) continue;
    auto* allowed = reinterpret_cast<ACCESS_ALLOWED_ACE*>(ace);
    if (::EqualSid(&allowed->SidStart, sid) && allowed->Mask != 0) return true;
  }
  return false;
}

class MonitorProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : kSettingNames) {
      DeleteValue(HKEY_CURRENT_USER, kSettingsKey, name);
    }
    DeleteValue(HKEY_LOCAL_MACHINE, kRunKey, "Plumeta");
    ::DeleteFileA(response_file_.c_str());
    // Under WOW64 the monitor keeps a copy in SysWOW64 too.
    ::DeleteFileA((wine_test::SystemFolder() + "\\plum.rsp").c_str());
  }
  void TearDown() override {
    if (process_) {
      ::TerminateProcess(process_.Get(), 1);
      ::WaitForSingleObject(process_.Get(), 5000);
    }
    SetUp();
  }

  // Starts a plumeta.exe.
  static ScopedKernelHandle Launch(const std::string& exe) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started = {};
    std::string command = "\"" + exe + "\"";
    if (!::CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE,
                          0, nullptr, nullptr, &startup, &started)) {
      return ScopedKernelHandle();
    }
    ::CloseHandle(started.hThread);
    return ScopedKernelHandle(started.hProcess);
  }
  // Starts plumeta.exe and waits until its start-up has run and its message
  // loop waits; its main window, which stays hidden, or null.
  HWND Start() {
    process_ = Launch(exe_);
    if (!process_) return nullptr;
    if (::WaitForInputIdle(process_.Get(), 30000) != 0) return nullptr;
    const DWORD process_id = ::GetProcessId(process_.Get());
    return wine_test::WaitForWindow(
        [&] {
          return wine_test::FindAnyWindow("TMain", "Plumeta", process_id);
        },
        10000);
  }
  static bool Ended(ScopedKernelHandle& process, DWORD timeout_ms,
                    DWORD* exit_code) {
    if (::WaitForSingleObject(process.Get(), timeout_ms) != WAIT_OBJECT_0) {
      return false;
    }
    ::GetExitCodeProcess(process.Get(), exit_code);
    process.Reset();
    return true;
  }
  bool Ended(DWORD timeout_ms, DWORD* exit_code) {
    return Ended(process_, timeout_ms, exit_code);
  }

  const std::string exe_ = wine_test::ThroughDriveZ(PLUMETA_EXE);
  const std::string response_file_ =
      wine_test::NativeSystemFolder() + "\\plum.rsp";
  ScopedKernelHandle process_;
};

TEST_F(MonitorProgramTest, StartWritesTheFileCloseStoresTheSix) {
  WriteString(HKEY_CURRENT_USER, kSettingsKey, "Version", "1.4");
  WriteString(HKEY_CURRENT_USER, kSettingsKey, "Quality", "Ebook");
  WriteString(HKEY_CURRENT_USER, kSettingsKey, "Resolution", "300");
  WriteString(HKEY_CURRENT_USER, kSettingsKey, "UPwd", "two words");
  WriteString(HKEY_CURRENT_USER, kSettingsKey, "Permission", "11111110");
  HWND main_window = Start();
  ASSERT_NE(main_window, nullptr) << "no main window from " << exe_;
  // The monitor lives in the tray: its window stays hidden.
  EXPECT_FALSE(::IsWindowVisible(main_window));

  // Wine says Windows 7, where the scheduled task starts the monitor at
  // log-on: no Run value.
  EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kRunKey, "Plumeta"), "<missing>");
  // The application window that the single-instance guard looks for.
  EXPECT_NE(::FindWindowA("Plumeta", "Plumeta"), nullptr);

  const auto file = wine_test::ReadWholeFile(response_file_);
  ASSERT_TRUE(file.has_value()) << response_file_;
  const std::string head =
      "-ID:\\build\\plumeta\\gs\\system32\\lib;D:\\build\\plumeta\\gs\\fonts"
      "\r\n\r\n-sDEVICE=pdfwrite\r\n\r\n-sOutputFile=" +
      TempFolderWithoutBackslash() +
      "\\1024.pdf\r\n\r\n-sstdout=" + TempFolderWithoutBackslash() +
      "\\1024.log\r\n\r\n-q\r\n\r\n"
      "-dNOPAUSE\r\n\r\n-dSAFER\r\n\r\n-dBATCH\r\n\r\n"
      "-r300\r\n\r\n-dCompatibilityLevel=1.4\r\n\r\n"
      "-dPDFSETTINGS=/ebook\r\n\r\n-sOwnerPassword=";
  ASSERT_EQ(file->substr(0, head.size()), head);
  const std::string owner = file->substr(head.size(), 32);
  EXPECT_EQ(owner.find_first_not_of("0123456789abcdef"), std::string::npos);
  // Then the PostScript that runs the job (-c ... -f).
  const std::string tail =
      "\r\n\r\n-sUserPassword=\"two words\"\r\n\r\n-dEncryptionR#3\r\n"
      "\r\n-dKeyLength#128\r\n\r\n-dPermissions#-2052\r\n\r\n-c\r\n\r\n\"";
  EXPECT_EQ(file->substr(head.size() + 32, tail.size()), tail);
  EXPECT_TRUE(file->ends_with("\"\r\n\r\n-f\r\n\r\n")) << *file;
  EXPECT_FALSE(wine_test::ReadWholeFile(response_file_ + ".new").has_value());
  // Nobody but administrators and the system reads the passwords. (Wine
  // keeps no access list of its own; it shows one made from the Unix mode,
  // which the protected write leaves without any grant to others.)
  EXPECT_FALSE(Grants(response_file_, WinWorldSid));
  EXPECT_FALSE(Grants(response_file_, WinBuiltinUsersSid));

  EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kSettingsKey, "OPwd"), "<missing>");
  // Sent, so the close has been handled when the call returns.
  DWORD_PTR result = 0;
  ASSERT_NE(::SendMessageTimeoutA(main_window, WM_CLOSE, 0, 0, SMTO_NORMAL,
                                  10000, &result),
            0);
  EXPECT_FALSE(::IsWindowVisible(main_window));
  EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kSettingsKey, "Version"), "1.4");
  EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kSettingsKey, "Quality"), "Ebook");
  EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kSettingsKey, "UPwd"), "two words");
  EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kSettingsKey, "OPwd"), "");
  EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kSettingsKey, "Resolution"), "300");
  EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kSettingsKey, "Permission"),
            "11111110");
  // Closing the window never ends the program.
  DWORD exit_code = 0;
  EXPECT_FALSE(Ended(500, &exit_code));
}

// The "Menu" button, "E&xit" by its access key, then Yes in the warning.
TEST_F(MonitorProgramTest, ExitFromTheMenuAnsweredYesEndsTheProgram) {
  HWND main_window = Start();
  ASSERT_NE(main_window, nullptr);
  HWND button = ::FindWindowExA(main_window, nullptr, "BUTTON", "Menu");
  ASSERT_NE(button, nullptr);
  ::PostMessageA(button, BM_CLICK, 0, 0);
  const DWORD process_id = ::GetProcessId(process_.Get());
  HWND menu = wine_test::WaitForWindow(
      [&] {
        return wine_test::FindVisibleWindow("#32768", nullptr, process_id);
      },
      10000);
  ASSERT_NE(menu, nullptr);
  ::PostMessageA(menu, WM_CHAR, 'x', 0);
  HWND warning = wine_test::WaitForWindow(
      [&] {
        return wine_test::FindVisibleWindow("#32770", "Warning", process_id);
      },
      10000);
  ASSERT_NE(warning, nullptr);
  EXPECT_EQ(::GetWindow(warning, GW_OWNER), main_window);
  ::PostMessageA(::GetDlgItem(warning, IDYES), BM_CLICK, 0, 0);
  DWORD exit_code = 1;
  ASSERT_TRUE(Ended(10000, &exit_code));
  EXPECT_EQ(exit_code, 0u);
  EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kSettingsKey, "Version"), "1.3");
  EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kSettingsKey, "Permission"),
            "11111111");
}

TEST_F(MonitorProgramTest, ASecondCopyEndsAndTheFirstStays) {
  ASSERT_NE(Start(), nullptr);
  ScopedKernelHandle second = Launch(exe_);
  ASSERT_TRUE(second);
  DWORD exit_code = 1;
  ASSERT_TRUE(Ended(second, 30000, &exit_code)) << "the second copy runs on";
  EXPECT_EQ(exit_code, 0u);
  EXPECT_FALSE(Ended(500, &exit_code)) << "the first copy ended";
  EXPECT_NE(wine_test::FindAnyWindow("TMain", "Plumeta",
                                     ::GetProcessId(process_.Get())),
            nullptr);
}

}  // namespace
}  // namespace plumeta::win32

namespace plumeta::win32 {
namespace {

struct DataModuleTraits {
  using Handle = HMODULE;
  static Handle Invalid() { return nullptr; }
  static bool Close(Handle module) { return ::FreeLibrary(module) != FALSE; }
};

// What plumeta.exe carries: the manifest that asks for administrator rights,
// the version, the pictures and icons.
TEST(MonitorResourcesTest, ManifestPicturesIconsAndVersion) {
  ScopedHandle<DataModuleTraits> exe(
      ::LoadLibraryExA(wine_test::ThroughDriveZ(PLUMETA_EXE).c_str(), nullptr,
                       LOAD_LIBRARY_AS_DATAFILE));
  ASSERT_TRUE(exe);
  HRSRC manifest =
      ::FindResourceA(exe.Get(), MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
  ASSERT_NE(manifest, nullptr);
  const std::string text(static_cast<const char*>(::LockResource(
                             ::LoadResource(exe.Get(), manifest))),
                         ::SizeofResource(exe.Get(), manifest));
  EXPECT_NE(text.find("level=\"requireAdministrator\" uiAccess=\"false\""),
            std::string::npos);
  EXPECT_NE(::FindResourceA(exe.Get(), MAKEINTRESOURCEA(1), RT_VERSION),
            nullptr);

  const struct {
    const char* name;
    LONG width;
    LONG height;
  } kBitmaps[] = {{"IMAGE1", 462, 205}, {"IMAGE2", 96, 138}};
  for (const auto& row : kBitmaps) {
    SCOPED_TRACE(row.name);
    HRSRC found = ::FindResourceA(exe.Get(), row.name, RT_BITMAP);
    ASSERT_NE(found, nullptr);
    const auto* header = static_cast<const BITMAPINFOHEADER*>(
        ::LockResource(::LoadResource(exe.Get(), found)));
    EXPECT_EQ(header->biWidth, row.width);
    EXPECT_EQ(header->biHeight, row.height);
    EXPECT_EQ(header->biBitCount, 24);
  }
  for (const char* icon :
       {"MAINICON", "TRAY0", "TRAY1", "TRAY2", "TRAY3", "TRAY4", "TRAY5"}) {
    SCOPED_TRACE(icon);
    EXPECT_NE(::FindResourceA(exe.Get(), icon, RT_GROUP_ICON), nullptr);
  }
}

}  // namespace
}  // namespace plumeta::win32

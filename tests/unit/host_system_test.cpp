#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <thread>

#include "common/module_list.h"
#include "common/system_utils.h"
#include "platform/host/base/error_from_errno.h"
#include "platform/host/box/box.h"
#include "platform/host/box/box_provisioning.h"
#include "platform/host/box/windows_editions.h"
#include "platform/host/kernel/files.h"
#include "platform/host/kernel/libraries.h"
#include "platform/host/kernel/locale.h"
#include "platform/host/kernel/system.h"
#include "tests/support/temp_folder.h"

namespace plumeta::host {
namespace {

using platform::PlatformId;
using platform::ProductType;

TEST(SystemIniTest, FactsComeBackAsWritten) {
  SystemFacts facts = FindWindowsEdition("98se")->facts;
  facts.version_fails = true;
  facts.has_wow64_revert_fs_redirection = false;
  facts.windows_folder = "D:\\WIN";
  facts.user_name = " spaced ";
  facts.screen_width = 800;
  facts.SetEnvironment("QUOTED", "\"a\" \\ b ");

  SystemFacts read;
  read.environment.clear();
  std::string error;
  ASSERT_TRUE(ParseSystemIni(WriteSystemIni(facts), &read, &error)) << error;
  EXPECT_EQ(read.version.platform, PlatformId::kWindows9x);
  EXPECT_EQ(read.version.build, 0x040A08AEu);
  EXPECT_EQ(read.version.service_pack, " A ");
  EXPECT_EQ(read.version.product_type, ProductType::kNotAvailable);
  EXPECT_TRUE(read.version_fails);
  EXPECT_TRUE(read.has_wow64_disable_fs_redirection == false &&
              read.has_wow64_revert_fs_redirection == false);
  EXPECT_EQ(read.windows_folder, "D:\\WIN");
  EXPECT_EQ(read.user_name, " spaced ");
  EXPECT_EQ(read.screen_width, 800);
  EXPECT_EQ(read.environment, facts.environment);
}

TEST(SystemIniTest, KeysNotGivenKeepTheirDefaults) {
  SystemFacts facts;
  std::string error;
  ASSERT_TRUE(ParseSystemIni(
      "[version]\nmajor = 5\n[Environment]\nwindir = C:\\WINNT\n", &facts,
      &error))
      << error;
  EXPECT_EQ(facts.version.major, 5u);
  EXPECT_EQ(facts.version.minor, 1u);
  EXPECT_EQ(facts.version.platform, PlatformId::kNt);
  EXPECT_EQ(facts.Environment("WINDIR"), "C:\\WINNT");
  EXPECT_EQ(facts.Environment("TEMP"), std::nullopt);
}

TEST(SystemIniTest, RefusesWhatItDoesNotUnderstand) {
  const struct {
    const char* text;
    const char* line;
  } kRows[] = {
      {"[version]\nplatform = NT5\n", "line 2:"},
      {"[version]\n\nbuild = 12x\n", "line 3:"},
      {"[version]\nmajor = -1\n", "line 2:"},
      {"[wow64]\nis_wow64 = maybe\n", "line 2:"},
      {"[kernel32]\nGetProcAddress = yes\n", "line 2:"},
      {"[colours]\nred = 1\n", "line 2:"},
      {"[screen]\nwidth = 0\n", "line 2:"},
      {"[system]\nno equals sign\n", "line 2:"},
      {"windir = C:\\WINDOWS\n", "line 1:"},
      {"[environment]\nX = \"unclosed\n", "line 2:"},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.text);
    SystemFacts facts;
    std::string error;
    EXPECT_FALSE(ParseSystemIni(row.text, &facts, &error));
    EXPECT_EQ(error.rfind(row.line, 0), 0u) << error;
  }
}

TEST(WindowsEditionsTest, EachVersionReportsWhatWindowsReports) {
  const struct {
    const char* name;
    PlatformId platform;
    std::uint32_t major, minor, build;
    const char* service_pack;
    ProductType type;
    bool is_wow64_process, redirection_switch, is_wow64;
    const char* windir;
    const char* temp;
  } kRows[] = {
      {"95", PlatformId::kWindows9x, 4, 0, 0x040003B6, "",
       ProductType::kNotAvailable, false, false, false, "C:\\WINDOWS",
       "C:\\WINDOWS\\TEMP"},
      {"98", PlatformId::kWindows9x, 4, 10, 0x040A07CE, " ",
       ProductType::kNotAvailable, false, false, false, "C:\\WINDOWS",
       "C:\\WINDOWS\\TEMP"},
      {"98se", PlatformId::kWindows9x, 4, 10, 0x040A08AE, " A ",
       ProductType::kNotAvailable, false, false, false, "C:\\WINDOWS",
       "C:\\WINDOWS\\TEMP"},
      {"me", PlatformId::kWindows9x, 4, 90, 0x045A0BB8, " ",
       ProductType::kNotAvailable, false, false, false, "C:\\WINDOWS",
       "C:\\WINDOWS\\TEMP"},
      {"nt4", PlatformId::kNt, 4, 0, 1381, "Service Pack 6a",
       ProductType::kNotAvailable, false, false, false, "C:\\WINNT",
       "C:\\TEMP"},
      {"nt4server", PlatformId::kNt, 4, 0, 1381, "Service Pack 6a",
       ProductType::kNotAvailable, false, false, false, "C:\\WINNT",
       "C:\\TEMP"},
      {"2000", PlatformId::kNt, 5, 0, 2195, "Service Pack 4",
       ProductType::kWorkstation, false, false, false, "C:\\WINNT",
       "C:\\Documents and Settings\\User\\Local Settings\\Temp"},
      {"xp", PlatformId::kNt, 5, 1, 2600, "Service Pack 3",
       ProductType::kWorkstation, true, false, false, "C:\\WINDOWS",
       "C:\\Documents and Settings\\User\\Local Settings\\Temp"},
      {"2003", PlatformId::kNt, 5, 2, 3790, "Service Pack 2",
       ProductType::kServer, true, true, false, "C:\\WINDOWS",
       "C:\\Documents and Settings\\User\\Local Settings\\Temp"},
      {"vista", PlatformId::kNt, 6, 0, 6002, "Service Pack 2",
       ProductType::kWorkstation, true, true, false, "C:\\WINDOWS",
       "C:\\Users\\User\\AppData\\Local\\Temp"},
      {"7", PlatformId::kNt, 6, 1, 7601, "Service Pack 1",
       ProductType::kWorkstation, true, true, false, "C:\\WINDOWS",
       "C:\\Users\\User\\AppData\\Local\\Temp"},
      {"7X64", PlatformId::kNt, 6, 1, 7601, "Service Pack 1",
       ProductType::kWorkstation, true, true, true, "C:\\WINDOWS",
       "C:\\Users\\User\\AppData\\Local\\Temp"},
      {"8", PlatformId::kNt, 6, 2, 9200, "", ProductType::kWorkstation, true,
       true, false, "C:\\WINDOWS", "C:\\Users\\User\\AppData\\Local\\Temp"},
      {"10", PlatformId::kNt, 6, 2, 9200, "", ProductType::kWorkstation, true,
       true, false, "C:\\WINDOWS", "C:\\Users\\User\\AppData\\Local\\Temp"},
  };
  ASSERT_EQ(WindowsNames().size(), std::size(kRows));
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.name);
    std::optional<WindowsEdition> edition = FindWindowsEdition(row.name);
    ASSERT_TRUE(edition);
    const SystemFacts& facts = edition->facts;
    EXPECT_EQ(facts.version.platform, row.platform);
    EXPECT_EQ(facts.version.major, row.major);
    EXPECT_EQ(facts.version.minor, row.minor);
    EXPECT_EQ(facts.version.build, row.build);
    EXPECT_EQ(facts.version.service_pack, row.service_pack);
    EXPECT_EQ(facts.version.product_type, row.type);
    EXPECT_EQ(facts.has_is_wow64_process, row.is_wow64_process);
    EXPECT_EQ(facts.has_wow64_disable_fs_redirection, row.redirection_switch);
    EXPECT_EQ(facts.has_wow64_revert_fs_redirection, row.redirection_switch);
    EXPECT_EQ(facts.is_wow64, row.is_wow64);
    EXPECT_EQ(facts.windows_folder, row.windir);
    EXPECT_EQ(facts.Environment("windir"), row.windir);
    EXPECT_EQ(facts.Environment("TEMP"), row.temp);
    EXPECT_EQ(facts.Environment("TMP"), row.temp);
  }
  EXPECT_FALSE(FindWindowsEdition("11"));
}

// A System over a box whose facts a test sets.
class HostSystemTest : public ::testing::Test {
 protected:
  HostSystem& SystemWith(const SystemFacts& facts) {
    process_ = std::make_shared<BoxProcess>(box_.path(), facts);
    system_ = std::make_unique<HostSystem>(process_);
    return *system_;
  }

  testing::TempFolder box_;
  std::shared_ptr<BoxProcess> process_;
  std::unique_ptr<HostSystem> system_;
};

TEST_F(HostSystemTest, TempPathTakesTheFirstOfTmpTempUserProfileWindir) {
  const struct {
    const char* what;
    std::vector<std::pair<std::string, std::string>> environment;
    const char* path;
  } kRows[] = {
      {"TMP first", {{"TEMP", "C:\\B"}, {"TMP", "C:\\A"}}, "C:\\A\\"},
      {"then TEMP", {{"TEMP", "C:\\B\\"}, {"USERPROFILE", "C:\\U"}}, "C:\\B\\"},
      {"then USERPROFILE", {{"USERPROFILE", "C:\\Users\\U"}}, "C:\\Users\\U\\"},
      {"then the Windows folder", {{"windir", "C:\\ignored"}}, "C:\\WINDOWS\\"},
      {"an empty TMP is no TMP", {{"TMP", ""}, {"TEMP", "C:\\B"}}, "C:\\B\\"},
      {"names in any case", {{"tmp", "C:\\lower"}}, "C:\\lower\\"},
      {"made a full path", {{"TMP", "\\temp\\.\\x\\.."}}, "C:\\temp\\"},
      {"blanks kept inside",
       {{"TMP", "C:\\Documents and Settings\\U\\Temp"}},
       "C:\\Documents and Settings\\U\\Temp\\"},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.what);
    SystemFacts facts;
    facts.environment = row.environment;
    EXPECT_EQ(SystemWith(facts).TempPath(255), row.path);
  }
}

// The texts of errors, the thread's last error and the temporary folder's
// fit are the system contract's (tests/contract).
TEST_F(HostSystemTest, VersionAndEnvironmentFollowTheFacts) {
  SystemFacts facts = FindWindowsEdition("nt4")->facts;
  HostSystem& system = SystemWith(facts);
  ASSERT_TRUE(system.Version());
  EXPECT_EQ(system.Version()->service_pack, "Service Pack 6a");
  EXPECT_EQ(system.Environment("WINDIR"), "C:\\WINNT");

  facts.version_fails = true;
  EXPECT_EQ(SystemWith(facts).Version(), std::nullopt);
}

TEST_F(HostSystemTest, ProgramPathNamesTheProgramItDeclares) {
  HostSystem& system = SystemWith(SystemFacts{});
  const std::string own = system.ProgramPath();
  const std::string folder = own.substr(0, own.find_last_of('\\'));
  DeclareProgramFileName("plumeta.exe");
  EXPECT_EQ(system.ProgramPath(), folder + "\\plumeta.exe");
  DeclareProgramFileName("");
  EXPECT_EQ(system.ProgramPath(), own);
}

// The WOW64 entry points through the stand-in kernel32, on boxes made for
// each kind of Windows, as the programs' own system utilities use them.
class Wow64Test : public ::testing::Test {
 protected:
  void MakeBox(const char* windows) {
    std::string error;
    ASSERT_TRUE(CreateBox(box_.path(), *FindWindowsEdition(windows), &error))
        << error;
    process_ = BoxProcess::Open(box_.path(), &error);
    ASSERT_TRUE(process_) << error;
    system_ = std::make_unique<HostSystem>(process_);
    libraries_ = std::make_unique<HostLibraries>(process_);
    files_ = std::make_unique<HostFiles>(process_);
  }

  bool LandsIn(const std::string& windows_path, const std::string& linux) {
    files_->WriteTextFile(windows_path, "x",
                          platform::FileProtection::kInherited);
    bool there = std::filesystem::exists(box_ / linux);
    std::filesystem::remove(box_ / linux);
    return there;
  }

  testing::TempFolder box_;
  std::shared_ptr<BoxProcess> process_;
  std::unique_ptr<HostSystem> system_;
  std::unique_ptr<HostLibraries> libraries_;
  std::unique_ptr<HostFiles> files_;
};

TEST_F(Wow64Test, ThirtyTwoBitProgramsOnA64BitBoxSeeSysWow64UntilTheySwitch) {
  MakeBox("7x64");
  const std::string rsp = "C:\\WINDOWS\\system32\\plum.rsp";
  EXPECT_TRUE(LandsIn(rsp, "drive_c/WINDOWS/SysWOW64/plum.rsp"));
  EXPECT_TRUE(LandsIn("C:\\WINDOWS\\system32\\spool\\PRINTERS\\1.SPL",
                      "drive_c/WINDOWS/system32/spool/PRINTERS/1.SPL"));

  {
    ModuleList modules(*libraries_);
    SystemUtils utils(*system_, modules);
    EXPECT_TRUE(utils.IsWow64());
    void* old_value = nullptr;
    ASSERT_TRUE(utils.DisableFsRedirection(&old_value));
    EXPECT_TRUE(LandsIn(rsp, "drive_c/WINDOWS/system32/plum.rsp"));
    void* inner = nullptr;
    ASSERT_TRUE(utils.DisableFsRedirection(&inner));
    ASSERT_TRUE(utils.RevertFsRedirection(inner));
    EXPECT_TRUE(LandsIn(rsp, "drive_c/WINDOWS/system32/plum.rsp"));
    ASSERT_TRUE(utils.RevertFsRedirection(old_value));
    EXPECT_TRUE(LandsIn(rsp, "drive_c/WINDOWS/SysWOW64/plum.rsp"));
    EXPECT_EQ(libraries_->load_count(), 1);
  }
  EXPECT_EQ(libraries_->load_count(), 0);
  EXPECT_EQ(libraries_->loads(), 1);
}

TEST_F(Wow64Test, ThirtyTwoBitWindowsHasNoRedirection) {
  MakeBox("7");
  ModuleList modules(*libraries_);
  SystemUtils utils(*system_, modules);
  EXPECT_FALSE(utils.IsWow64());
  void* old_value = nullptr;
  system_->SetLastError(0);
  EXPECT_FALSE(utils.DisableFsRedirection(&old_value));
  EXPECT_EQ(system_->LastError(), platform::kErrorInvalidFunction);
  EXPECT_TRUE(LandsIn("C:\\WINDOWS\\system32\\plum.rsp",
                      "drive_c/WINDOWS/system32/plum.rsp"));
}

TEST_F(Wow64Test, EntryPointsExistAsSystemIniSays) {
  const struct {
    const char* windows;
    bool is_wow64_process;
    bool redirection;
  } kRows[] = {
      {"2000", false, false}, {"xp", true, false}, {"vista", true, true}};
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.windows);
    MakeBox(row.windows);
    auto handle = libraries_->Load("KERNEL32");
    ASSERT_NE(handle, 0u);
    EXPECT_EQ(libraries_->Find(handle, "IsWow64Process") != nullptr,
              row.is_wow64_process);
    system_->SetLastError(0);
    EXPECT_EQ(
        libraries_->Find(handle, "Wow64DisableWow64FsRedirection") != nullptr,
        row.redirection);
    if (!row.redirection) {
      EXPECT_EQ(system_->LastError(), platform::kErrorProcedureNotFound);
    }
    libraries_->Free(handle);

    ModuleList modules(*libraries_);
    SystemUtils utils(*system_, modules);
    system_->SetLastError(0);
    EXPECT_FALSE(utils.IsWow64());
    if (!row.is_wow64_process) {
      EXPECT_EQ(system_->LastError(), platform::kErrorNotSupported);
    }
  }
}

TEST_F(Wow64Test, OnlyKernel32LoadsAndOnlyItsOwnEntryPointsCall) {
  MakeBox("7x64");
  EXPECT_EQ(libraries_->Load("user32.dll"), 0u);
  EXPECT_EQ(system_->LastError(), platform::kErrorModuleNotFound);
  auto handle = libraries_->Load("C:\\WINDOWS\\system32\\Kernel32.DLL");
  EXPECT_NE(handle, 0u);
  EXPECT_EQ(libraries_->Find(handle, "iswow64process"), nullptr);
  platform::EntryPoint entry = libraries_->Find(handle, "IsWow64Process");
  bool wow64 = false;
  EXPECT_TRUE(system_->CallIsWow64Process(entry, &wow64));
  EXPECT_TRUE(wow64);

  int not_an_entry = 0;
  system_->SetLastError(0);
  EXPECT_FALSE(system_->CallIsWow64Process(&not_an_entry, &wow64));
  EXPECT_FALSE(system_->CallIsWow64Process(nullptr, &wow64));
  EXPECT_EQ(system_->LastError(), platform::kErrorInvalidParameter);
  void* old_value = nullptr;
  EXPECT_FALSE(system_->CallWow64DisableFsRedirection(entry, &old_value));

  libraries_->Free(handle);
  EXPECT_EQ(libraries_->Find(handle, "IsWow64Process"), nullptr);
  EXPECT_EQ(system_->LastError(), platform::kErrorInvalidHandle);
}

TEST(HostLocaleTest, LeadBytesFollowTheBoxsCodePage) {
  const struct {
    int code_page;
    char byte;
    bool lead;
  } kRows[] = {
      {1252, '\x95', false}, {932, '\x95', true}, {932, '\xA5', false},
      {932, '\xE0', true},   {936, '\xA5', true}, {949, '\xFE', true},
      {950, '\x80', false},  {932, 'A', false},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.code_page);
    HostLocale locale(".", "M/d/yyyy", "h:mm:ss tt", row.code_page);
    EXPECT_EQ(locale.IsLeadByte(row.byte), row.lead);
  }
}

}  // namespace
}  // namespace plumeta::host

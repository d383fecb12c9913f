#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/host/box/box_paths.h"
#include "tests/support/temp_folder.h"

namespace plumeta::host {
namespace {

namespace fs = std::filesystem;

class BoxPathsTest : public ::testing::Test {
 protected:
  BoxPathsTest() : paths_(box_.path()) {
    for (const char* folder :
         {"drive_c/WINDOWS/system32/spool/PRINTERS", "drive_c/WINDOWS/SysWOW64",
          "drive_c/Users/User/AppData/Local/Temp", "drive_c/Program Files",
          "drive_c/Dup", "drive_c/dup"}) {
      fs::create_directories(box_ / folder);
    }
  }

  // Keeps the working folder of the test program as it was.
  class WorkingFolder {
   public:
    explicit WorkingFolder(const std::string& folder)
        : saved_(fs::current_path()) {
      fs::current_path(folder);
    }
    ~WorkingFolder() { fs::current_path(saved_); }

   private:
    fs::path saved_;
  };

  testing::TempFolder box_;
  BoxPaths paths_;
};

TEST_F(BoxPathsTest, WindowsPathsFindExistingNamesInAnyCase) {
  const struct {
    const char* windows;
    std::string linux_path;
  } kRows[] = {
      {"C:\\WINDOWS\\system32\\plum.rsp",
       box_ / "drive_c/WINDOWS/system32/plum.rsp"},
      {"c:\\windows\\SYSTEM32\\Plum.RSP",
       box_ / "drive_c/WINDOWS/system32/Plum.RSP"},
      {"C:/Windows/System32", box_ / "drive_c/WINDOWS/system32"},
      {"c:\\users\\user\\appdata\\local\\temp\\1024.pdf",
       box_ / "drive_c/Users/User/AppData/Local/Temp/1024.pdf"},
      {"\\system32\\plum.rsp", box_ / "drive_c/system32/plum.rsp"},
      {"C:\\New Folder\\Sub\\File.txt",
       box_ / "drive_c/New Folder/Sub/File.txt"},
      {"C:\\WINDOWS\\..\\..\\..\\etc\\passwd", box_ / "drive_c/etc/passwd"},
      {"C:\\Program Files\\.\\x", box_ / "drive_c/Program Files/x"},
      {"C:\\WINDOWS\\plum.rsp. ", box_ / "drive_c/WINDOWS/plum.rsp"},
      {"C:\\WINDOWS\\\\system32\\", box_ / "drive_c/WINDOWS/system32"},
      {"\\\\?\\C:\\WINDOWS", box_ / "drive_c/WINDOWS"},
      {"C:\\DUP", box_ / "drive_c/Dup"},
      {"C:\\dup", box_ / "drive_c/dup"},
      {"D:\\x", box_ / "drive_d/x"},
      {"Z:\\etc\\passwd", "/etc/passwd"},
      {"z:\\ETC\\PASSWD", "/etc/passwd"},
      {"Z:\\", "/"},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.windows);
    EXPECT_EQ(paths_.ToLinux(row.windows), row.linux_path);
  }
}

TEST_F(BoxPathsTest, PathsWindowsRefusesHaveNoLinuxPath) {
  for (const char* windows :
       {"", "\\\\server\\share\\x", "\\\\.\\COM1", "C:\\a<b", "C:\\what?",
        "C:\\x\\*.pdf", "C:\\a|b", "C:\\a\"b", "C:\\a\tb"}) {
    SCOPED_TRACE(windows);
    EXPECT_EQ(paths_.ToLinux(windows), std::nullopt);
  }
}

TEST_F(BoxPathsTest, LinuxPathsShowOnTheBoxDrivesElseOnZ) {
  fs::create_directories(box_ / "drive_d/data");
  fs::create_directory_symlink(box_.path(), box_ / "link");
  const struct {
    std::string linux_path;
    std::string windows;
  } kRows[] = {
      {box_ / "drive_c/WINDOWS/system32/plum.rsp",
       "C:\\WINDOWS\\system32\\plum.rsp"},
      {box_ / "drive_c", "C:\\"},
      {box_ / "drive_c/", "C:\\"},
      {box_ / "drive_c/WINDOWS/../Users", "C:\\Users"},
      {box_ / "drive_d/data", "D:\\data"},
      {box_ / "link/drive_c/WINDOWS", "C:\\WINDOWS"},
      {box_ / "system.ini", "Z:" + box_.path() + "\\system.ini"},
      {"/etc/passwd", "Z:\\etc\\passwd"},
      {"/", "Z:\\"},
  };
  for (auto row : kRows) {
    SCOPED_TRACE(row.linux_path);
    for (char& c : row.windows) {
      if (c == '/') c = '\\';
    }
    EXPECT_EQ(paths_.ToWindows(row.linux_path), row.windows);
  }
}

TEST_F(BoxPathsTest, RelativePathsStartInTheWorkingFolder) {
  WorkingFolder working(box_ / "drive_c/WINDOWS");
  EXPECT_EQ(paths_.FullPath("plum.rsp"), "C:\\WINDOWS\\plum.rsp");
  EXPECT_EQ(paths_.FullPath("..\\Users"), "C:\\Users");
  EXPECT_EQ(paths_.FullPath("C:plum.rsp"), "C:\\WINDOWS\\plum.rsp");
  EXPECT_EQ(paths_.FullPath("D:plum.rsp"), "D:\\plum.rsp");
  EXPECT_EQ(paths_.ToLinux("system32\\x"), box_ / "drive_c/WINDOWS/system32/x");
  EXPECT_EQ(paths_.ToWindows("system32"), "C:\\WINDOWS\\system32");
}

TEST(RedirectForWow64Test, System32BecomesSysWow64ExceptWhereWindowsExempts) {
  const struct {
    const char* path;
    const char* reached;
  } kRows[] = {
      {"C:\\WINDOWS\\system32\\plum.rsp", "C:\\WINDOWS\\SysWOW64\\plum.rsp"},
      {"C:\\WINDOWS\\SYSTEM32", "C:\\WINDOWS\\SysWOW64"},
      {"c:\\windows\\system32\\lib\\gs_init.ps",
       "C:\\WINDOWS\\SysWOW64\\lib\\gs_init.ps"},
      {"C:\\WINDOWS\\system32\\spool\\PRINTERS\\00001.SPL",
       "C:\\WINDOWS\\system32\\spool\\PRINTERS\\00001.SPL"},
      {"C:\\WINDOWS\\system32\\spool", "C:\\WINDOWS\\system32\\spool"},
      {"C:\\WINDOWS\\system32\\drivers\\etc\\hosts",
       "C:\\WINDOWS\\system32\\drivers\\etc\\hosts"},
      {"C:\\WINDOWS\\system32\\drivers\\x.sys",
       "C:\\WINDOWS\\SysWOW64\\drivers\\x.sys"},
      {"C:\\WINDOWS\\system32\\CatRoot\\x",
       "C:\\WINDOWS\\system32\\CatRoot\\x"},
      {"C:\\WINDOWS\\system32\\catroot2\\x",
       "C:\\WINDOWS\\system32\\catroot2\\x"},
      {"C:\\WINDOWS\\system32\\catroot3\\x",
       "C:\\WINDOWS\\SysWOW64\\catroot3\\x"},
      {"C:\\WINDOWS\\system32\\LogFiles\\x",
       "C:\\WINDOWS\\system32\\LogFiles\\x"},
      {"C:\\WINDOWS\\system32x\\y", "C:\\WINDOWS\\system32x\\y"},
      {"C:\\WINDOWS\\Sysnative\\plum.rsp", "C:\\WINDOWS\\system32\\plum.rsp"},
      {"C:\\Other\\system32\\x", "C:\\Other\\system32\\x"},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.path);
    EXPECT_EQ(RedirectForWow64(row.path, "C:\\WINDOWS"), row.reached);
  }
  EXPECT_EQ(RedirectForWow64("C:\\WINNT\\system32\\x", "C:\\WINNT\\"),
            "C:\\WINNT\\SysWOW64\\x");
}

}  // namespace
}  // namespace plumeta::host

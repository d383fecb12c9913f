#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <thread>
#include <vector>

#include "monitor/pdf_delivery.h"
#include "platform/host/base/unique_fd.h"
#include "platform/host/box/box_provisioning.h"
#include "platform/host/box/windows_editions.h"
#include "platform/host/kernel/files.h"
#include "tests/support/temp_folder.h"

namespace plumeta::host {
namespace {

using platform::FileProtection;

constexpr char kTemp[] = "C:\\Users\\User\\AppData\\Local\\Temp\\";
constexpr char kLinuxTemp[] = "drive_c/Users/User/AppData/Local/Temp/";

// Holds a file as a Windows program holds the file it writes (the
// Ghostscript stand-in holds its output file so).
class Holder {
 public:
  explicit Holder(const std::string& path)
      : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
    EXPECT_TRUE(fd_.valid() && ::flock(fd_.get(), LOCK_EX | LOCK_NB) == 0);
  }

 private:
  UniqueFd fd_;
};

class HostFilesTest : public ::testing::Test {
 protected:
  HostFilesTest() {
    std::string error;
    EXPECT_TRUE(CreateBox(box_.path(), *FindWindowsEdition("7"), &error))
        << error;
    files_ = std::make_unique<HostFiles>(BoxProcess::Open(box_.path(), &error));
  }

  // A file in the user's temporary folder: its Windows and Linux paths.
  std::string Win(const std::string& name) { return kTemp + name; }
  std::string Linux(const std::string& name) {
    return box_ / kLinuxTemp + name;
  }
  std::string Make(const std::string& name, const std::string& text) {
    testing::WriteText(Linux(name), text);
    return Win(name);
  }
  mode_t Mode(const std::string& name) {
    struct stat info {};
    ::stat(Linux(name).c_str(), &info);
    return info.st_mode & 07777;
  }
  void MakeReadOnly(const std::string& name) {
    ::chmod(Linux(name).c_str(), 0444);
  }

  testing::TempFolder box_;
  std::unique_ptr<HostFiles> files_;
};

TEST_F(HostFilesTest, WriteTextFileProtectsAsAsked) {
  ASSERT_EQ(files_->WriteTextFile(Win("open.txt"), "a\r\nb",
                                  FileProtection::kInherited),
            platform::kSuccess);
  EXPECT_EQ(testing::ReadText(Linux("open.txt")), "a\r\nb");
  EXPECT_EQ(
      Mode("open.txt"), 0666 & ~[] {
        mode_t mask = ::umask(0);
        ::umask(mask);
        return mask;
      }());

  Make("plum.rsp", "an older, longer text");
  ::chmod(Linux("plum.rsp").c_str(), 0644);
  ASSERT_EQ(files_->WriteTextFile(Win("PLUM.RSP"), "new",
                                  FileProtection::kAdministratorsAndSystemOnly),
            platform::kSuccess);
  EXPECT_EQ(testing::ReadText(Linux("plum.rsp")), "new");
  EXPECT_EQ(Mode("plum.rsp"), 0600);
}

TEST_F(HostFilesTest, WriteTextFileReportsWhyItCannot) {
  EXPECT_EQ(files_->WriteTextFile("C:\\No Such Folder\\x.txt", "x",
                                  FileProtection::kInherited),
            platform::kErrorPathNotFound);
  Make("ro.txt", "kept");
  MakeReadOnly("ro.txt");
  EXPECT_EQ(
      files_->WriteTextFile(Win("ro.txt"), "x", FileProtection::kInherited),
      platform::kErrorAccessDenied);
  EXPECT_EQ(
      files_->WriteTextFile("C:\\WINDOWS", "x", FileProtection::kInherited),
      platform::kErrorAccessDenied);
  Make("held.pdf", "kept");
  Holder holder(Linux("held.pdf"));
  EXPECT_EQ(
      files_->WriteTextFile(Win("held.pdf"), "x", FileProtection::kInherited),
      platform::kErrorSharingViolation);
  EXPECT_EQ(testing::ReadText(Linux("held.pdf")), "kept");
  EXPECT_EQ(testing::ReadText(Linux("ro.txt")), "kept");
  EXPECT_EQ(
      files_->WriteTextFile("C:\\bad|name", "x", FileProtection::kInherited),
      platform::kErrorInvalidName);
}

TEST_F(HostFilesTest, AHeldFileIsInUseAndCannotBeDeletedReplacedOrRead) {
  std::string pdf = Make("1024.pdf", "%PDF-1.4");
  std::string other = Make("other.pdf", "other");
  EXPECT_FALSE(files_->InUse(pdf));
  EXPECT_FALSE(files_->InUse(Win("missing.pdf")));
  {
    Holder holder(Linux("1024.pdf"));
    EXPECT_TRUE(files_->InUse(pdf));
    EXPECT_EQ(files_->Delete(pdf), platform::kErrorSharingViolation);
    EXPECT_EQ(files_->Replace(other, pdf), platform::kErrorSharingViolation);
    EXPECT_EQ(files_->Replace(pdf, Win("moved.pdf")),
              platform::kErrorSharingViolation);
    EXPECT_EQ(files_->Copy(pdf, Win("copy.pdf"), false),
              platform::kErrorSharingViolation);
    EXPECT_EQ(files_->ReadFile(pdf), std::nullopt);
    EXPECT_EQ(files_->Size(pdf), 8u);
  }
  EXPECT_FALSE(files_->InUse(pdf));
  EXPECT_EQ(files_->ReadFile(pdf), "%PDF-1.4");
  EXPECT_EQ(testing::ReadText(Linux("other.pdf")), "other");
  EXPECT_EQ(files_->Delete(pdf), platform::kSuccess);
  EXPECT_FALSE(files_->Exists(pdf));
}

TEST_F(HostFilesTest, DeleteAnswersAsDeleteFileA) {
  Make("ro.txt", "x");
  MakeReadOnly("ro.txt");
  EXPECT_EQ(files_->Delete(Win("ro.txt")), platform::kErrorAccessDenied);
  EXPECT_TRUE(files_->Exists(Win("ro.txt")));
  EXPECT_EQ(files_->Delete(Win("missing.txt")), platform::kErrorFileNotFound);
  EXPECT_EQ(files_->Delete("C:\\Missing Folder\\x.txt"),
            platform::kErrorPathNotFound);
  EXPECT_EQ(files_->Delete("C:\\WINDOWS"), platform::kErrorAccessDenied);
}

TEST_F(HostFilesTest, CopyAnswersAsCopyFileA) {
  std::string from = Make("from.txt", "new text");
  std::string to = Make("to.txt", "old");
  EXPECT_EQ(files_->Copy(from, to, true), platform::kErrorFileExists);
  EXPECT_EQ(testing::ReadText(Linux("to.txt")), "old");
  EXPECT_EQ(files_->Copy(from, to, false), platform::kSuccess);
  EXPECT_EQ(testing::ReadText(Linux("to.txt")), "new text");
  EXPECT_EQ(files_->Copy(Win("missing.txt"), to, false),
            platform::kErrorFileNotFound);
  EXPECT_EQ(files_->Copy(from, "C:\\Missing Folder\\x.txt", false),
            platform::kErrorPathNotFound);

  // Onto itself, under another case: the text must survive.
  EXPECT_EQ(files_->Copy(from, Win("FROM.TXT"), false),
            platform::kErrorSharingViolation);
  EXPECT_EQ(testing::ReadText(Linux("from.txt")), "new text");

  MakeReadOnly("to.txt");
  EXPECT_EQ(files_->Copy(from, to, false), platform::kErrorAccessDenied);
  // The read-only attribute travels with the copy.
  EXPECT_EQ(files_->Copy(to, Win("copy.txt"), true), platform::kSuccess);
  EXPECT_TRUE(files_->IsReadOnly(Win("copy.txt")));
}

TEST_F(HostFilesTest, ReplacePutsOneFileInTheOthersPlace) {
  std::string fresh = Make("fresh.tmp", "fresh");
  std::string target = Make("target.txt", "stale");
  ASSERT_EQ(files_->Replace(fresh, target), platform::kSuccess);
  EXPECT_EQ(testing::ReadText(Linux("target.txt")), "fresh");
  EXPECT_FALSE(files_->Exists(fresh));

  EXPECT_EQ(files_->Replace(fresh, target), platform::kErrorFileNotFound);
  Make("fresh.tmp", "again");
  ASSERT_EQ(files_->Replace(fresh, Win("new.txt")), platform::kSuccess);
  EXPECT_EQ(testing::ReadText(Linux("new.txt")), "again");

  Make("fresh.tmp", "third");
  MakeReadOnly("target.txt");
  EXPECT_EQ(files_->Replace(fresh, target), platform::kErrorAccessDenied);
  EXPECT_EQ(testing::ReadText(Linux("target.txt")), "fresh");
}

TEST_F(HostFilesTest, AttributesSizesAndFolders) {
  std::string file = Make("a.txt", "12345");
  EXPECT_TRUE(files_->Exists("c:\\users\\USER\\appdata\\local\\temp\\A.TXT"));
  EXPECT_FALSE(files_->Exists("C:\\WINDOWS\\SYSTEM32"));  // a folder
  EXPECT_EQ(files_->Size(file), 5u);
  EXPECT_EQ(files_->Size("C:\\WINDOWS"), std::nullopt);
  EXPECT_FALSE(files_->IsReadOnly(file));
  ASSERT_EQ(files_->SetReadOnly(file, true), platform::kSuccess);
  EXPECT_TRUE(files_->IsReadOnly(file));
  ASSERT_EQ(files_->SetReadOnly(file, false), platform::kSuccess);
  EXPECT_FALSE(files_->IsReadOnly(file));
  EXPECT_EQ(files_->SetReadOnly(Win("missing"), true),
            platform::kErrorFileNotFound);

  EXPECT_EQ(files_->CreateFolder("C:\\Output"), platform::kSuccess);
  EXPECT_TRUE(std::filesystem::is_directory(box_ / "drive_c/Output"));
  EXPECT_EQ(files_->CreateFolder("c:\\OUTPUT"), platform::kErrorAlreadyExists);
  EXPECT_EQ(files_->CreateFolder("C:\\No\\Such"), platform::kErrorPathNotFound);
}

// Two deliveries at once into one folder never take the same name, and each
// PDF arrives whole.
TEST_F(HostFilesTest, DeliveriesAtOnceTakeNamesOnlyWhereNothingIs) {
  constexpr int kEach = 20;
  const std::string folder = std::string(kTemp) + "Out";
  ASSERT_EQ(files_->CreateFolder(folder), platform::kSuccess);
  const std::string sources[] = {Make("a.pdf", std::string(100000, 'a')),
                                 Make("b.pdf", std::string(100000, 'b'))};
  std::vector<std::string> delivered[2];
  std::vector<std::thread> jobs;
  for (int job = 0; job < 2; ++job) {
    jobs.emplace_back([&, job] {
      std::string error;
      HostFiles files(BoxProcess::Open(box_.path(), &error));
      for (int i = 0; i < kEach; ++i) {
        std::string path;
        EXPECT_EQ(
            DeliverPdfAsNew(files, sources[job], folder, "Letter", {}, &path),
            platform::kSuccess);
        delivered[job].push_back(path);
      }
    });
  }
  for (std::thread& job : jobs) job.join();
  std::set<std::string> names(delivered[0].begin(), delivered[0].end());
  names.insert(delivered[1].begin(), delivered[1].end());
  EXPECT_EQ(names.size(), 2u * kEach);
  EXPECT_TRUE(names.count(folder + "\\Letter.pdf"));
  EXPECT_TRUE(names.count(folder + "\\Letter (40).pdf"));
  for (int job = 0; job < 2; ++job) {
    for (const std::string& path : delivered[job]) {
      EXPECT_EQ(files_->ReadFile(path), files_->ReadFile(sources[job]));
    }
  }
  EXPECT_TRUE(files_->IsFolder(folder));
  EXPECT_FALSE(files_->IsFolder(sources[0]));
}

}  // namespace
}  // namespace plumeta::host

// The box's files beyond their contract (tests/contract): the Linux modes
// of a protected file, and deliveries from two threads at once.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <thread>
#include <vector>

#include "monitor/pdf_delivery.h"
#include "platform/host/box/box_provisioning.h"
#include "platform/host/box/windows_editions.h"
#include "platform/host/kernel/files.h"
#include "tests/support/temp_folder.h"

namespace plumeta::host {
namespace {

using platform::FileProtection;

constexpr char kTemp[] = "C:\\Users\\User\\AppData\\Local\\Temp\\";
constexpr char kLinuxTemp[] = "drive_c/Users/User/AppData/Local/Temp/";

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

// A box for the road of a print job: made with plumbox, the printer
// "Plumeta" installed by plumsetup, sample PostScript documents, and the
// box's queue and files looked at from the test.
#ifndef TESTS_HOST_SUPPORT_ROAD_BOX_H_
#define TESTS_HOST_SUPPORT_ROAD_BOX_H_

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/host/box/box.h"
#include "platform/host/box/box_paths.h"
#include "platform/host/print/spool_jobs.h"
#include "platform/host/registry/store_registry.h"
#include "tests/host/support/background_program.h"
#include "tests/host/support/child_process.h"
#include "tests/host/support/program_run.h"
#include "tests/support/temp_folder.h"
#include "tests/support/wait_until.h"

namespace plumeta::testing {

inline constexpr char kPortKey[] =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Redirected "
    "Port\\Ports\\PLUM:";

// scripts/sample-postscript: a document of `pages` pages.
inline std::string SamplePostScript(int pages) {
  return ShellOutput(Quoted(SAMPLE_POSTSCRIPT_PATH) + " " +
                     std::to_string(pages));
}

// A PostScript job Ghostscript stops on: an undefined name on page 1.
inline constexpr char kBrokenPostScript[] =
    "%!PS-Adobe-3.0\n%%Pages: 1\n%%Page: 1 1\n"
    "/Helvetica findfont 12 scalefont setfont 72 700 moveto\n"
    "(Broken) show nosuchoperator showpage\n";

class RoadBox {
 public:
  explicit RoadBox(const std::string& windows = "7") {
    ProgramResult init =
        RunProgram(PLUMBOX_PATH, {"init", "--windows", windows, folder()});
    EXPECT_EQ(init.exit_code, 0) << init.err;
    paths_ = std::make_unique<host::BoxPaths>(folder());
    registry_ =
        std::make_unique<host::FileRegistry>(host::RegistryFolder(folder()));
  }

  std::string folder() const { return temp_ / "box"; }
  std::map<std::string, std::string> Environment() const {
    return {{host::kBoxVariable, folder()}};
  }
  host::BoxPaths& paths() { return *paths_; }
  platform::Registry& registry() { return *registry_; }

  std::string Linux(const std::string& windows_path) const {
    return paths_->ToLinux(windows_path).value_or("");
  }
  std::string SpoolFolder() const {
    return Linux("C:\\WINDOWS\\system32\\spool\\PRINTERS");
  }
  std::vector<platform::PrintJob> Jobs(const std::string& printer = "Plumeta") {
    return host::ReadSpoolJobs(SpoolFolder(), printer);
  }
  // Job files of any printer left in the spool folder.
  int SpoolFiles() const {
    int count = 0;
    std::error_code error;
    for (const auto& entry :
         std::filesystem::directory_iterator(SpoolFolder(), error)) {
      const std::string extension = entry.path().extension().string();
      if (extension == ".SHD" || extension == ".SPL") ++count;
    }
    return count;
  }

  // Installs the printer with plumsetup; its work is done once the start at
  // log-on is registered (the Run value, or from Vista on the task), so the
  // five seconds it then waits before it ends are cut short.
  void InstallPrinter() {
    BackgroundProgram setup(PLUMSETUP_PATH, {}, Environment());
    ASSERT_TRUE(WaitUntil([this] { return StartAtLogOnRegistered(); },
                          std::chrono::seconds(10)))
        << "plumsetup did not install in time";
  }

  void SetString(const std::string& path, const std::string& name,
                 const std::string& text) {
    std::unique_ptr<platform::RegistryKey> key;
    ASSERT_EQ(
        registry_->OpenKey(platform::RootKey::kLocalMachine, path, true, &key),
        0);
    ASSERT_EQ(key->WriteString(name, text), 0);
  }
  void SetDword(const std::string& path, const std::string& name,
                std::uint32_t number) {
    std::unique_ptr<platform::RegistryKey> key;
    ASSERT_EQ(
        registry_->OpenKey(platform::RootKey::kLocalMachine, path, true, &key),
        0);
    ASSERT_EQ(key->WriteDword(name, number), 0);
  }

  ProgramResult Print(const std::vector<std::string>& arguments,
                      const std::string& input = "") {
    return RunProgram(PLUMPRINT_PATH, arguments, Environment(), input);
  }

 private:
  bool StartAtLogOnRegistered() {
    if (std::filesystem::exists(
            Linux("C:\\WINDOWS\\system32\\Tasks\\Plumeta"))) {
      return true;
    }
    std::unique_ptr<platform::RegistryKey> key;
    platform::RegistryValue value;
    return registry_->OpenKey(
               platform::RootKey::kLocalMachine,
               "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", false,
               &key) == 0 &&
           key->ReadValue("Plumeta", &value) == 0;
  }

  TempFolder temp_;
  std::unique_ptr<host::BoxPaths> paths_;
  std::unique_ptr<host::FileRegistry> registry_;
};

// pdfinfo's "Pages:" figure, -1 when it cannot read the file.
inline int PdfPages(const std::string& path, const std::string& password = "") {
  const std::string info = ShellOutput(
      "pdfinfo " + (password.empty() ? "" : "-opw " + Quoted(password) + " ") +
      Quoted(path) + " 2>/dev/null");
  const std::size_t at = info.find("Pages:");
  return at == std::string::npos ? -1 : std::stoi(info.substr(at + 6));
}

inline std::string PdfText(const std::string& path,
                           const std::string& password = "") {
  return ShellOutput(
      "pdftotext " +
      (password.empty() ? "" : "-opw " + Quoted(password) + " ") +
      Quoted(path) + " - 2>/dev/null");
}

}  // namespace plumeta::testing

#endif  // TESTS_HOST_SUPPORT_ROAD_BOX_H_

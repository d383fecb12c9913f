// large_pdf_benchmark: the monitor's peak memory while it delivers one very
// large PDF. A job is queued straight into a fresh box's spool folder, the
// save dialog is answered, and the job's output is a sparse file of the
// given size with a PDF's head and end, as Ghostscript would leave it; the
// monitor checks it, sets it aside and copies it to the chosen place.
//
// Usage: large_pdf_benchmark [--megabytes N]   (default 1024)
// Not a test: ctest does not run it.
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/host/box/box.h"
#include "platform/host/box/box_paths.h"
#include "platform/host/print/spool_jobs.h"
#include "platform/host/registry/store_registry.h"
#include "tests/host/support/console_program.h"
#include "tests/host/support/program_run.h"
#include "tests/support/temp_folder.h"
#include "tests/support/wait_until.h"

namespace plumeta::bench {
namespace {

namespace fs = std::filesystem;
using std::chrono::seconds;

// The figure of a line of /proc/<pid>/status, in KB.
long StatusKb(pid_t pid, const std::string& name) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(name + ":", 0) == 0) {
      return std::stol(line.substr(name.size() + 1));
    }
  }
  return -1;
}

[[noreturn]] void Fail(const std::string& why) {
  std::fprintf(stderr, "large_pdf_benchmark: %s\n", why.c_str());
  std::exit(1);
}

// A PDF's head, a hole, and a PDF's end: `bytes` long, and few of them
// written.
void WriteSparsePdf(const std::string& path, std::uint64_t bytes) {
  const std::string head = "%PDF-1.4\n";
  const std::string end = "\nstartxref\n9\n%%EOF\n";
  const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
  if (fd < 0 ||
      ::pwrite(fd, head.data(), head.size(), 0) !=
          static_cast<ssize_t>(head.size()) ||
      ::pwrite(fd, end.data(), end.size(),
               static_cast<off_t>(bytes - end.size())) !=
          static_cast<ssize_t>(end.size()) ||
      ::close(fd) != 0) {
    Fail("cannot write " + path);
  }
}

}  // namespace
}  // namespace plumeta::bench

int main(int argc, char** argv) {
  using namespace plumeta;
  using namespace plumeta::bench;
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  std::uint64_t megabytes = 1024;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::string(argv[i]) == "--megabytes")
      megabytes = std::stoull(argv[i + 1]);
  }
  testing::TempFolder temp;
  const std::string box = temp / "box";
  testing::ProgramResult init =
      testing::RunProgram(PLUMBOX_PATH, {"init", box});
  if (init.exit_code != 0) Fail("plumbox init: " + init.err);
  {
    host::FileRegistry registry(host::RegistryFolder(box));
    std::unique_ptr<platform::RegistryKey> key;
    if (registry.OpenKey(platform::RootKey::kLocalMachine,
                         "SYSTEM\\CurrentControlSet\\Control\\Print\\Printers"
                         "\\Plumeta",
                         true, &key) != platform::kSuccess ||
        key->WriteString("Name", "Plumeta") != platform::kSuccess) {
      Fail("cannot add the printer");
    }
  }
  host::BoxPaths paths(box);
  std::string error;
  auto facts = host::LoadSystemFacts(box, &error);
  if (!facts) Fail(error);
  const std::string last_result =
      *paths.ToLinux(facts->Environment("TEMP").value_or("") + "\\1024.pdf");
  const std::string spool =
      *paths.ToLinux("C:\\WINDOWS\\system32\\spool\\PRINTERS");
  fs::create_directories(spool);
  fs::create_directories(*paths.ToLinux("C:\\Out"));
  const std::string target = *paths.ToLinux("C:\\Out\\Large.pdf");

  testing::ConsoleProgram monitor(PLUMETA_PATH, {},
                                  {{host::kBoxVariable, box}});
  if (!monitor.WaitFor("tray", seconds(10))) Fail("plumeta did not start");
  const pid_t pid = monitor.pid();
  std::printf("plumeta started: resident %ld KB, peak %ld KB\n",
              StatusKb(pid, "VmRSS"), StatusKb(pid, "VmHWM"));

  platform::PrintJob job;
  job.printer_name = "Plumeta";
  job.machine_name = "\\\\PLUMBOX";
  job.user_name = "User";
  job.document = "Large";
  job.status = 0x08;
  const std::uint32_t id = host::AddSpoolJob(spool, job, "%!PS\n");
  if (id == 0) Fail("cannot queue the job");
  if (!monitor.WaitFor("save", seconds(10))) Fail("no save dialog");
  const std::uint64_t bytes = megabytes << 20;
  WriteSparsePdf(last_result, bytes);
  host::RemoveSpoolJob(spool, id);
  const auto start = std::chrono::steady_clock::now();
  monitor.Send("ok C:\\Out\\Large.pdf");
  std::error_code size_error;
  if (!testing::WaitUntil(
          [&] {
            return !fs::exists(last_result) &&
                   fs::file_size(target, size_error) == bytes;
          },
          seconds(600), std::chrono::milliseconds(20))) {
    Fail("the PDF did not arrive");
  }
  const double took =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start)
          .count();
  const long peak = StatusKb(pid, "VmHWM");
  std::printf(
      "Delivered a PDF of %llu MB in %.1f s; plumeta's peak resident memory "
      "%ld KB (%.1f MB; the limit is 64 MB: %s)\n",
      static_cast<unsigned long long>(megabytes), took, peak, peak / 1024.0,
      peak < 64 * 1024 ? "under" : "OVER");
  fs::remove(target);
  return peak < 64 * 1024 ? 0 : 1;
}

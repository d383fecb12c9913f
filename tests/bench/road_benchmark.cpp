// road_benchmark: figures of the whole road on a fresh box, in one run.
//
//   - the time from starting plumprint to the PDF at its chosen place (the
//     monitor's save dialog answered at once), against bare Ghostscript on
//     the same file with the same settings, for 1 and 50 pages;
//   - the same with auto-save (no dialog: the PDF goes into a folder under
//     its template's name), for a large document (--large-pages, 2000),
//     also against Ghostscript reading the job on standard input as the
//     port gives it;
//   - the monitor's CPU use while idle and while it waits for a conversion;
//   - its resident memory before and after 1,000 jobs (queued straight into
//     the box's spool folder, each seen by the monitor and its save dialog
//     cancelled).
//
// Usage: road_benchmark [--idle-seconds N] [--runs N] [--jobs N]
//                       [--large-pages N]
// Not a test: ctest does not run it.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/host/box/box.h"
#include "platform/host/box/box_paths.h"
#include "platform/host/console/console_events.h"
#include "platform/host/print/spool_jobs.h"
#include "tests/host/support/child_process.h"
#include "tests/host/support/console_program.h"
#include "tests/host/support/program_run.h"
#include "tests/support/temp_folder.h"
#include "tests/support/wait_until.h"

namespace plumeta::bench {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using std::chrono::seconds;

// Waits look often: their end is part of what is timed.
constexpr milliseconds kPoll(2);

double Seconds(Clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n == 0  ? 0
         : n % 2 ? values[n / 2]
                 : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// CPU time a process has used, in seconds (the scheduler's nanoseconds).
double CpuSeconds(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/schedstat");
  double nanoseconds = 0;
  stat >> nanoseconds;
  return nanoseconds / 1e9;
}

// Resident memory in KB (VmRSS).
long ResidentKb(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

[[noreturn]] void Fail(const std::string& why) {
  std::fprintf(stderr, "road_benchmark: %s\n", why.c_str());
  std::exit(1);
}

struct Options {
  int idle_seconds = 30;
  int runs = 5;
  int jobs = 1000;
  int large_pages = 2000;
};

class Road {
 public:
  explicit Road(const Options& options) : options_(options) {
    box_ = temp_ / "box";
    environment_ = {{host::kBoxVariable, box_}};
    testing::ProgramResult init =
        testing::RunProgram(PLUMBOX_PATH, {"init", box_});
    if (init.exit_code != 0) Fail("plumbox init: " + init.err);
    std::printf("Installing the printer with plumsetup (5 s) ...\n");
    testing::ProgramResult setup =
        testing::RunProgram(PLUMSETUP_PATH, {}, environment_);
    if (setup.exit_code != 0) Fail("plumsetup: " + setup.err);
    paths_.emplace(box_);
    fs::create_directories(Linux("C:\\Out"));
    std::string error;
    auto facts = host::LoadSystemFacts(box_, &error);
    if (!facts) Fail(error);
    last_result_ = facts->Environment("TEMP").value_or("") + "\\1024.pdf";
    spool_folder_ = Linux("C:\\WINDOWS\\system32\\spool\\PRINTERS");
  }

  std::string Linux(const std::string& windows) {
    return paths_->ToLinux(windows).value_or("");
  }

  void StartMonitor() {
    monitor_.emplace(PLUMETA_PATH, std::vector<std::string>{}, environment_);
    const std::string rsp = Linux("C:\\WINDOWS\\system32\\plum.rsp");
    if (!testing::WaitUntil(
            [&] {
              return testing::ReadText(rsp).find(
                         "-sOutputFile=" + last_result_) != std::string::npos;
            },
            seconds(10), kPoll)) {
      Fail("plumeta did not write its argument file");
    }
  }

  void Run() {
    // Before the monitor starts the argument file is setup's first one;
    // with no monitor the port's own time is plumprint's whole run.
    WriteArgumentFile();
    std::printf("\n%-7s %12s %14s %7s\n", "pages", "bare gs (s)",
                "plumprint (s)", "ratio");
    for (int pages : {1, 50, options_.large_pages}) TimePortAlone(pages);
    std::printf(
        "(no monitor: the job through the port and the box's "
        "Ghostscript, Delay 300 ms included)\n\n");

    StartMonitor();
    const pid_t pid = monitor_->pid();
    std::printf("plumeta started; resident memory %ld KB\n", ResidentKb(pid));

    std::printf("Idle for %d s ...\n", options_.idle_seconds);
    const double idle_cpu_start = CpuSeconds(pid);
    std::this_thread::sleep_for(seconds(options_.idle_seconds));
    const double idle_cpu =
        (CpuSeconds(pid) - idle_cpu_start) / options_.idle_seconds;

    std::printf("\n%-7s %12s %14s %7s %16s\n", "pages", "bare gs (s)",
                "plumprint to", "ratio", "monitor CPU in");
    std::printf("%-7s %12s %14s %7s %16s\n", "", "", "PDF placed (s)", "",
                "conversion wait");
    for (int pages : {1, 50}) TimeRoad(pages);
    std::printf(
        "(medians of %d runs; the road includes the port's Delay of 300 ms\n"
        " that lets the monitor's 200 ms poll see each job before its PDF)\n",
        options_.runs);
    TimeAutoSave(options_.large_pages);
    std::printf("\nMonitor CPU while idle %d s: %.3f%% of one core\n",
                options_.idle_seconds, idle_cpu * 100);

    const long before = ResidentKb(pid);
    const auto start = Clock::now();
    ManyJobs(options_.jobs);
    const double took = Seconds(Clock::now() - start);
    const long after = ResidentKb(pid);
    std::printf(
        "Monitor resident memory: %ld KB before %d jobs, %ld KB after "
        "(%+ld KB, %.1f bytes a job; %.1f s for the jobs)\n",
        before, options_.jobs, after, after - before,
        (after - before) * 1024.0 / options_.jobs, took);
  }

 private:
  std::string Sample(int pages) {
    const std::string file =
        temp_ / ("sample-" + std::to_string(pages) + ".ps");
    if (!fs::exists(file)) {
      std::ofstream(file) << testing::ShellOutput(
          testing::Quoted(SAMPLE_POSTSCRIPT_PATH) + " " +
          std::to_string(pages));
    }
    return file;
  }

  // The monitor's default settings, written as the monitor writes them.
  void WriteArgumentFile() {
    std::string text;
    const std::vector<std::string> lines = {"-sDEVICE=pdfwrite",
                                            "-sOutputFile=" + last_result_,
                                            "-dNOPAUSE",
                                            "-dSAFER",
                                            "-dBATCH",
                                            "-r1200",
                                            "-dCompatibilityLevel=1.3",
                                            "-dPDFSETTINGS=/default"};
    for (const std::string& line : lines) {
      text += line + "\r\n\r\n";
    }
    std::ofstream(Linux("C:\\WINDOWS\\system32\\plum.rsp"), std::ios::binary)
        << text;
  }

  void TimePortAlone(int pages) {
    const std::string file = Sample(pages);
    std::vector<double> bare, port;
    for (int run = 0; run < options_.runs; ++run) {
      bare.push_back(BareGhostscript(file));
      const auto start = Clock::now();
      testing::ProgramResult print =
          testing::RunProgram(PLUMPRINT_PATH, {file}, environment_);
      port.push_back(Seconds(Clock::now() - start));
      if (print.exit_code != 0) Fail("plumprint: " + print.err);
    }
    std::printf("%-7d %12.3f %14.3f %6.2fx\n", pages, Median(bare),
                Median(port), Median(port) / Median(bare));
  }

  // Bare Ghostscript with the monitor's default settings, from the file, or
  // from standard input as the port hands it the job.
  double BareGhostscript(const std::string& file, bool from_input = false) {
    const std::string out = temp_ / "bare.pdf";
    const std::string input =
        from_input ? testing::ReadText(file) : std::string();
    const auto start = Clock::now();
    testing::ProgramResult gs = testing::RunProgram(
        "/usr/bin/gs",
        {"-q", "-sDEVICE=pdfwrite", "-sOutputFile=" + out, "-dNOPAUSE",
         "-dSAFER", "-dBATCH", "-r1200", "-dCompatibilityLevel=1.3",
         "-dPDFSETTINGS=/default", from_input ? "-" : file},
        {}, input);
    const double took = Seconds(Clock::now() - start);
    if (gs.exit_code != 0) Fail("gs: " + gs.err);
    return took;
  }

  void TimeRoad(int pages) {
    const std::string file = Sample(pages);
    std::vector<double> bare, road, wait_cpu;
    for (int run = 0; run < options_.runs; ++run) {
      bare.push_back(BareGhostscript(file));
      const std::string target = "C:\\Out\\bench-" + std::to_string(pages) +
                                 "-" + std::to_string(run) + ".pdf";
      const auto start = Clock::now();
      testing::ProgramResult print;
      std::thread printing([&] {
        print = testing::RunProgram(PLUMPRINT_PATH, {file}, environment_);
      });
      if (!monitor_->WaitFor("save", seconds(20))) Fail("no save dialog");
      monitor_->Send("ok " + target);
      const auto answered = Clock::now();
      const double cpu_start = CpuSeconds(monitor_->pid());
      const bool placed = testing::WaitUntil(
          [&] {
            return fs::exists(Linux(target)) &&
                   !fs::exists(Linux(last_result_));
          },
          seconds(60), kPoll);
      const auto done = Clock::now();
      const double cpu = CpuSeconds(monitor_->pid()) - cpu_start;
      printing.join();
      if (!placed || print.exit_code != 0) {
        Fail("the PDF did not arrive: " + print.err);
      }
      road.push_back(Seconds(done - start));
      wait_cpu.push_back(cpu / std::max(1e-6, Seconds(done - answered)));
    }
    std::printf("%-7d %12.3f %14.3f %6.2fx %15.1f%%\n", pages, Median(bare),
                Median(road), Median(road) / Median(bare),
                Median(wait_cpu) * 100);
  }

  // The road with auto-save set through the menu, then turned off again.
  void TimeAutoSave(int pages) {
    const std::string folder = "C:\\Out\\Auto";
    fs::create_directories(Linux(folder));
    ChooseAutoSaveFolder(folder);
    const std::string file = Sample(pages);
    std::vector<double> bare, piped, road;
    for (int run = 0; run < options_.runs; ++run) {
      bare.push_back(BareGhostscript(file));
      piped.push_back(BareGhostscript(file, /*from_input=*/true));
      const std::string document = "auto " + std::to_string(run);
      const std::string target = Linux(folder + "\\" + document + ".pdf");
      const auto start = Clock::now();
      testing::ProgramResult print = testing::RunProgram(
          PLUMPRINT_PATH, {"--document", document, file}, environment_);
      const bool placed = testing::WaitUntil(
          [&] {
            return fs::exists(target) && !fs::exists(Linux(last_result_));
          },
          seconds(120), kPoll);
      const auto done = Clock::now();
      if (!placed || print.exit_code != 0) {
        Fail("the auto-saved PDF did not arrive: " + print.err);
      }
      road.push_back(Seconds(done - start));
    }
    ChooseAutoSaveFolder("");
    // The port hands Ghostscript the job on standard input, which it reads
    // more slowly than a file: the second baseline is that much of the road.
    std::printf(
        "\nAuto-save, %d pages (medians of %d runs): plumprint to PDF saved "
        "%.3f s\n",
        pages, options_.runs, Median(road));
    for (const auto& [name, base] :
         {std::pair{"bare gs on the file", Median(bare)},
          std::pair{"bare gs on standard input", Median(piped)}}) {
      const double budget = 1.10 * base + 0.250;
      std::printf(
          "  against %-26s %.3f s: %.2fx; 1.10x + 250 ms = %.3f s (%s)\n", name,
          base, Median(road) / base, budget,
          Median(road) <= budget ? "within" : "over");
    }
  }

  void ChooseAutoSaveFolder(const std::string& folder) {
    monitor_->Send("click SaveAutomatically1");
    if (!monitor_->WaitFor("input", seconds(10))) Fail("no folder question");
    monitor_->Send(folder.empty() ? "ok" : "ok " + folder);
    monitor_->seen.clear();
  }

  // Queues `count` jobs in batches straight into the spool folder, as the
  // spooler would; the monitor sees each and its save dialog is cancelled.
  void ManyJobs(int count) {
    constexpr int kBatch = 25;
    int done = 0;
    while (done < count) {
      const int batch = std::min(kBatch, count - done);
      std::vector<std::uint32_t> ids;
      for (int i = 0; i < batch; ++i) {
        platform::PrintJob job;
        job.printer_name = "Plumeta";
        job.machine_name = "\\\\PLUMBOX";
        job.user_name = "User";
        job.document = "job " + std::to_string(done + i + 1);
        job.datatype = "RAW";
        job.status = 0x10;
        ids.push_back(host::AddSpoolJob(spool_folder_, job, "%!PS\n"));
      }
      for (int i = 0; i < batch; ++i) {
        if (!monitor_->WaitFor("save", seconds(20))) {
          Fail("no save dialog for job " + std::to_string(done + i + 1));
        }
        monitor_->Send("cancel");
      }
      for (std::uint32_t id : ids) host::RemoveSpoolJob(spool_folder_, id);
      done += batch;
      monitor_->seen.clear();
    }
  }

  Options options_;
  testing::TempFolder temp_;
  std::string box_;
  std::map<std::string, std::string> environment_;
  std::optional<host::BoxPaths> paths_;
  std::string last_result_;
  std::string spool_folder_;
  std::optional<testing::ConsoleProgram> monitor_;
};

}  // namespace
}  // namespace plumeta::bench

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  plumeta::bench::Options options;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    const int value = std::atoi(argv[i + 1]);
    if (name == "--idle-seconds") options.idle_seconds = value;
    if (name == "--runs") options.runs = std::max(1, value);
    if (name == "--jobs") options.jobs = value;
    if (name == "--large-pages") options.large_pages = std::max(1, value);
  }
  plumeta::bench::Road road(options);
  road.Run();
  return 0;
}

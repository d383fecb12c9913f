// "Save Combined PDF...": the monitor's in-process merge (its own arguments,
// MergeArguments, through CallGS with libgs.so.10 on a worker thread, as
// the monitor runs it) against the gs program merging the same files with
// the same arguments. Prints the median times, their ratio (aim: at most
// 1.05) and the peak memory of each: this process's peak resident memory
// (reset before each merge) against the gs process's. Not a test: run it
// by hand.
//
//   combine_bench [--runs N] [--copies N] [--pages N] [--gs gs]
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "gsbridge/gsbridge.h"
#include "monitor/combined_pdf.h"
#include "tests/host/support/child_process.h"
#include "tests/support/temp_folder.h"

extern char** environ;

namespace {

struct Run {
  double seconds = -1;
  long peak_kb = 0;
};

std::vector<char*> Argv(std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  return argv;
}

void GSBRIDGE_CALL DropOutput(const char*, int) {}

// This process's peak resident memory in KB since the last reset.
long PeakKb() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
  }
  return 0;
}

void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

// One merge, timed, with its peak resident memory.
Run Merge(bool in_process, const std::string& gs,
          std::vector<std::string> args) {
  const auto start = std::chrono::steady_clock::now();
  bool succeeded = false;
  long peak_kb = 0;
  if (in_process) {
    ResetPeak();
    std::thread worker([&] {
      InstallCallBacks(nullptr, &DropOutput, nullptr);
      std::vector<char*> argv = Argv(args);
      succeeded = CallGS("libgs.so.10", static_cast<int>(args.size()),
                         argv.data()) == 1;
    });
    worker.join();
    peak_kb = PeakKb();
  } else {
    args[0] = gs;
    std::vector<char*> argv = Argv(args);
    pid_t child = -1;
    if (posix_spawnp(&child, gs.c_str(), nullptr, nullptr, argv.data(),
                     environ) != 0) {
      return {};
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    succeeded = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    peak_kb = usage.ru_maxrss;
  }
  if (!succeeded) return {};
  return {
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start)
          .count(),
      peak_kb};
}

// The median time and the highest peak of `runs` merges each way after one
// warm-up each, the two ways taking turns so that both meet the same load.
bool Measure(int runs, const std::string& gs,
             const std::vector<std::string>& args, Run* in_process,
             Run* program) {
  // The gs program's peak first: a process started while this one shares
  // its memory (posix_spawn) inherits this one's peak at exec, and this
  // one's peak is still small before the first in-process merge.
  const Run first = Merge(false, gs, args);
  if (first.seconds < 0 || Merge(true, gs, args).seconds < 0) return false;
  program->peak_kb = first.peak_kb;
  std::vector<double> seconds[2];
  Run* results[2] = {in_process, program};
  for (int i = 0; i < runs; ++i) {
    for (int way = 0; way < 2; ++way) {
      const Run run = Merge(way == 0, gs, args);
      if (run.seconds < 0) return false;
      seconds[way].push_back(run.seconds);
      if (way == 0) {
        in_process->peak_kb = std::max(in_process->peak_kb, run.peak_kb);
      }
    }
  }
  for (int way = 0; way < 2; ++way) {
    std::sort(seconds[way].begin(), seconds[way].end());
    results[way]->seconds = seconds[way][seconds[way].size() / 2];
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 5;
  int copies = 10;
  int pages = 50;
  std::string gs = "gs";
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--runs")
      runs = std::max(1, std::atoi(argv[i + 1]));
    else if (option == "--copies")
      copies = std::max(1, std::atoi(argv[i + 1]));
    else if (option == "--pages")
      pages = std::max(1, std::atoi(argv[i + 1]));
    else if (option == "--gs")
      gs = argv[i + 1];
  }
  using plumeta::testing::Quoted;
  using plumeta::testing::ShellOutput;
  plumeta::testing::TempFolder temp;
  const std::string document = temp / "document.pdf";
  ShellOutput(Quoted(SAMPLE_POSTSCRIPT_PATH) + " " + std::to_string(pages) +
              " | " + gs +
              " -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=pdfwrite "
              "-sOutputFile=" +
              Quoted(document) + " -");
  std::vector<std::string> inputs;
  for (int copy = 1; copy <= copies; ++copy) {
    inputs.push_back(temp / ("copy" + std::to_string(copy) + ".pdf"));
    ShellOutput("cp " + Quoted(document) + " " + Quoted(inputs.back()));
  }
  // The settings a user may well have: printer quality, passwords.
  const plumeta::ConversionSettings settings{"1.4",   "Print", "user",
                                             "owner", "600",   "01111111"};
  const std::vector<std::string> args =
      plumeta::MergeArguments(settings, inputs, temp / "combined.pdf", "");
  const std::string size =
      ShellOutput("du -k " + Quoted(document) + " | cut -f1");
  std::printf(
      "Merging %d copies of a %d-page PDF (%ld KB each), median of "
      "%d runs:\n",
      copies, pages, std::atol(size.c_str()), runs);
  Run in_process;
  Run program;
  if (!Measure(runs, gs, args, &in_process, &program)) {
    std::fprintf(stderr, "combine_bench: a merge failed\n");
    return 1;
  }
  std::printf("  in-process (CallGS)  %7.3f s   peak %6ld KB\n",
              in_process.seconds, in_process.peak_kb);
  std::printf("  %-20s %7.3f s   peak %6ld KB\n", gs.c_str(), program.seconds,
              program.peak_kb);
  std::printf("  ratio in-process / program: %.3f (aim: at most 1.05)\n",
              in_process.seconds / program.seconds);
  return 0;
}

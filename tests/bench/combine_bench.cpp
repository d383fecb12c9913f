// "Save Combined PDF...": the monitor's in-process merge (its own arguments,
// MergeArguments, through CallGS with libgs.so.10) against the gs program
// merging the same files with the same arguments. Each merge runs in a
// child process of its own, so that its peak memory can be read; the
// in-process one never execs. Prints the median times, their ratio (aim:
// at most 1.05) and the peak memory of each. Not a test: run it by hand.
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
#include <string>
#include <vector>

#include "gsbridge/gsbridge.h"
#include "monitor/combined_pdf.h"
#include "tests/host/support/child_process.h"
#include "tests/unit/support/temp_folder.h"

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

// One merge in a child; its time and its peak resident memory.
Run Merge(bool in_process, const std::string& gs,
          std::vector<std::string> args) {
  const auto start = std::chrono::steady_clock::now();
  pid_t child = -1;
  if (in_process) {
    child = fork();
    if (child == 0) {
      InstallCallBacks(nullptr, &DropOutput, nullptr);
      std::vector<char*> argv = Argv(args);
      _exit(CallGS("libgs.so.10", static_cast<int>(args.size()), argv.data()) ==
                    1
                ? 0
                : 1);
    }
  } else {
    args[0] = gs;
    std::vector<char*> argv = Argv(args);
    if (posix_spawnp(&child, gs.c_str(), nullptr, nullptr, argv.data(),
                     environ) != 0) {
      return {};
    }
  }
  if (child < 0) return {};
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  Run run;
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
    run.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start)
            .count();
    run.peak_kb = usage.ru_maxrss;
  }
  return run;
}

// Median time and the highest peak of `runs` merges after one warm-up.
Run Median(int runs, bool in_process, const std::string& gs,
           const std::vector<std::string>& args) {
  if (Merge(in_process, gs, args).seconds < 0) return {};
  std::vector<double> seconds;
  long peak = 0;
  for (int i = 0; i < runs; ++i) {
    const Run run = Merge(in_process, gs, args);
    if (run.seconds < 0) return {};
    seconds.push_back(run.seconds);
    peak = std::max(peak, run.peak_kb);
  }
  std::sort(seconds.begin(), seconds.end());
  return {seconds[seconds.size() / 2], peak};
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
  const Run in_process = Median(runs, true, gs, args);
  const Run program = Median(runs, false, gs, args);
  if (in_process.seconds < 0 || program.seconds < 0) {
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

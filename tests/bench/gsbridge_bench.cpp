// Times one PostScript-to-PDF conversion through CallGS (Ghostscript inside
// this process, the job coming from the input callback) against the same
// conversion by the gs program, once reading the job from standard input and
// once from the job file named as its argument. Prints the median of several
// runs and the ratios. Not a test: run it by hand.
//
//   gsbridge_bench [--runs N] [--library libgs.so.10] [--gs gs]
//                  [--stdin-switch -|-_] [job.ps ...]
//
// Without job files it generates a 1-page and a 50-page job (text, shapes
// and an image on every page). Ghostscript 10.0 reads standard input one
// byte per call after "-" and 1024 bytes per call after "-_"; the switch
// chosen is used on both standard-input roads.
#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "gsbridge/gsbridge.h"
#include "tests/host/support/child_process.h"
#include "tests/support/temp_folder.h"

extern char** environ;

namespace {

struct Job {
  std::string name;
  std::string postscript;
};

// Page `page` of the generated job: a heading, lines of text, a few shapes
// and a 32 x 32 RGB image whose colours change from page to page.
void AppendPage(std::ostringstream& out, int page) {
  out << "%%Page: " << page << ' ' << page << "\n"
      << "/Helvetica-Bold findfont 20 scalefont setfont\n"
      << "72 740 moveto (Benchmark page " << page << ") show\n"
      << "/Times-Roman findfont 11 scalefont setfont\n";
  for (int line = 0; line < 30; ++line) {
    out << "72 " << 710 - line * 14 << " moveto (Line " << line + 1
        << " of page " << page
        << ": the quick brown fox jumps over the lazy dog 0123456789) show\n";
  }
  out << "gsave 0.8 0.1 0.1 setrgbcolor 72 200 100 60 rectfill grestore\n"
      << "gsave 0.1 0.5 0.2 setrgbcolor 3 setlinewidth newpath 300 230 50 0 "
         "360 arc stroke grestore\n"
      << "gsave 0 0 1 setrgbcolor newpath 400 180 moveto 500 280 lineto 520 "
         "180 lineto closepath fill grestore\n"
      << "gsave 72 60 translate 120 120 scale\n"
      << "32 32 8 [32 0 0 -32 0 32] currentfile /ASCIIHexDecode filter "
         "false 3 colorimage\n";
  static const char kHex[] = "0123456789abcdef";
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const int rgb[3] = {(x * 8 + page * 5) & 255, (y * 8 + page * 3) & 255,
                          ((x ^ y) * 8 + page) & 255};
      for (int c : rgb) out << kHex[c >> 4] << kHex[c & 15];
    }
    out << '\n';
  }
  out << ">\ngrestore\nshowpage\n";
}

Job GeneratedJob(int pages) {
  std::ostringstream out;
  out << "%!PS-Adobe-3.0\n%%Pages: " << pages << "\n%%EndComments\n";
  for (int page = 1; page <= pages; ++page) AppendPage(out, page);
  out << "%%EOF\n";
  return {
      "generated, " + std::to_string(pages) + " page" + (pages == 1 ? "" : "s"),
      out.str()};
}

// The in-process road: the job comes from the input callback.
const std::string* feed_job = nullptr;
std::size_t feed_position = 0;

int GSBRIDGE_CALL FeedJob(char* buffer, int length) {
  const std::size_t count = std::min(static_cast<std::size_t>(length),
                                     feed_job->size() - feed_position);
  std::memcpy(buffer, feed_job->data() + feed_position, count);
  feed_position += count;
  return static_cast<int>(count);
}

std::string ghostscript_output;
void GSBRIDGE_CALL KeepOutput(const char* text, int length) {
  if (length == 0) {
    ghostscript_output += text;
    ghostscript_output += '\n';
  } else {
    ghostscript_output.append(text, length);
  }
}

// `input` is the standard-input switch or the job file.
std::vector<std::string> Arguments(const std::string& program,
                                   const std::string& pdf,
                                   const std::string& input) {
  return {program,
          "-q",
          "-dNOPAUSE",
          "-dBATCH",
          "-dSAFER",
          "-sDEVICE=pdfwrite",
          "-sOutputFile=" + pdf,
          input};
}

std::vector<char*> Argv(std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  return argv;
}

bool ConvertInProcess(const std::string& library, const Job& job,
                      const std::string& pdf, const std::string& input) {
  feed_job = &job.postscript;
  feed_position = 0;
  ghostscript_output.clear();
  std::vector<std::string> args = Arguments("gs", pdf, input);
  std::vector<char*> argv = Argv(args);
  return CallGS(library.c_str(), static_cast<int>(args.size()), argv.data()) ==
         1;
}

bool ConvertWithProgram(const std::string& gs, const std::string& job_file,
                        const std::string& pdf, const std::string& input) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, job_file.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  std::vector<std::string> args = Arguments(gs, pdf, input);
  std::vector<char*> argv = Argv(args);
  pid_t child;
  const int error =
      posix_spawnp(&child, gs.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) return false;
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The page count pdfinfo reports, or "?".
std::string Pages(const std::string& pdf) {
  std::istringstream info(
      plumeta::testing::ShellOutput("pdfinfo '" + pdf + "' 2>/dev/null"));
  std::string pages = "?";
  for (std::string line; std::getline(info, line);) {
    unsigned count = 0;
    if (std::sscanf(line.c_str(), "Pages: %u", &count) == 1) {
      pages = std::to_string(count);
    }
  }
  return pages;
}

// Median seconds of `runs` conversions after one untimed warm-up; -1 when
// one fails.
template <typename Convert>
double MedianSeconds(int runs, Convert convert) {
  if (!convert()) return -1;
  std::vector<double> seconds;
  for (int run = 0; run < runs; ++run) {
    const auto start = std::chrono::steady_clock::now();
    if (!convert()) return -1;
    seconds.push_back(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start)
            .count());
  }
  std::sort(seconds.begin(), seconds.end());
  return seconds[seconds.size() / 2];
}

int Usage() {
  std::fprintf(stderr,
               "usage: gsbridge_bench [--runs N] [--library NAME] [--gs "
               "PROGRAM] [--stdin-switch -|-_] [job.ps ...]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 9;
  std::string library = "libgs.so.10";
  std::string gs = "gs";
  std::string stdin_switch = "-";
  std::vector<Job> jobs;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--runs" && i + 1 < argc) {
      runs = std::max(1, std::atoi(argv[++i]));
    } else if (arg == "--library" && i + 1 < argc) {
      library = argv[++i];
    } else if (arg == "--gs" && i + 1 < argc) {
      gs = argv[++i];
    } else if (arg == "--stdin-switch" && i + 1 < argc) {
      stdin_switch = argv[++i];
    } else if (!arg.empty() && arg[0] == '-') {
      return Usage();
    } else {
      std::ifstream in(arg, std::ios::binary);
      if (!in) {
        std::fprintf(stderr, "cannot read %s\n", arg.c_str());
        return 1;
      }
      std::ostringstream text;
      text << in.rdbuf();
      jobs.push_back(
          {std::filesystem::path(arg).filename().string(), text.str()});
    }
  }
  if (jobs.empty()) jobs = {GeneratedJob(1), GeneratedJob(50)};

  const plumeta::testing::TempFolder temp;
  if (temp.path().empty()) return 1;
  const std::string& folder = temp.path();
  const std::string job_file = folder + "/job.ps";
  const std::string bridge_pdf = folder + "/bridge.pdf";
  const std::string program_pdf = folder + "/program.pdf";

  InstallCallBacks(FeedJob, KeepOutput, nullptr);
  std::printf(
      "Median of %d runs, seconds. CallGS: %s in this process, the job from "
      "the input callback after \"%s\". gs: the program, the job on standard "
      "input after \"%s\" or the job file as its argument.\n",
      runs, library.c_str(), stdin_switch.c_str(), stdin_switch.c_str());
  std::printf("%-22s %7s %5s %8s %8s %8s %10s %10s\n", "job", "KB", "pages",
              "CallGS", "gs stdin", "gs file", "stdin/Call", "file/Call");
  int status = 0;
  for (const Job& job : jobs) {
    std::ofstream(job_file, std::ios::binary) << job.postscript;
    const double in_process = MedianSeconds(runs, [&] {
      return ConvertInProcess(library, job, bridge_pdf, stdin_switch);
    });
    const double from_stdin = MedianSeconds(runs, [&] {
      return ConvertWithProgram(gs, job_file, program_pdf, stdin_switch);
    });
    const double from_file = MedianSeconds(runs, [&] {
      return ConvertWithProgram(gs, job_file, program_pdf, job_file);
    });
    if (in_process < 0 || from_stdin < 0 || from_file < 0) {
      std::fprintf(stderr, "%s: a conversion failed\n%s", job.name.c_str(),
                   ghostscript_output.c_str());
      status = 1;
      continue;
    }
    const std::string pages = Pages(bridge_pdf);
    if (pages != Pages(program_pdf)) {
      std::fprintf(stderr, "%s: the two roads made different page counts\n",
                   job.name.c_str());
      status = 1;
    }
    std::printf("%-22s %7zu %5s %8.3f %8.3f %8.3f %9.2fx %9.2fx\n",
                job.name.c_str(), job.postscript.size() / 1024, pages.c_str(),
                in_process, from_stdin, from_file, from_stdin / in_process,
                from_file / in_process);
  }
  return status;
}

// plumgs: the box's Ghostscript console program. `plumbox init` puts it into
// a box as %windir%\system32\gswin32c.exe, where the printer's port runs it.
// It reads its argument files as Ghostscript does, turns the box's Windows
// paths into Linux paths, and runs the host's own Ghostscript (`gs`, or the
// program named by PLUMETA_GS) with them, its standard streams passed on.
//
// The output file is held in use the way the box's programs see a file
// that a Windows program is writing (an exclusive flock,
// platform/host/kernel/files.h): before Ghostscript starts the file is put in
// place already locked, and the lock goes only when Ghostscript has ended.
// Where Ghostscript failed without ever opening it, the file is taken away
// again, as if it had never been made. Ghostscript's exit code becomes this
// program's.
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/host/base/unique_fd.h"
#include "platform/host/box/box.h"
#include "platform/host/box/box_paths.h"
#include "platform/host/print/ghostscript_command.h"

namespace plumeta::plumgs {
namespace {

namespace fs = std::filesystem;

constexpr int kFatal = 1;  // Ghostscript's code for a fatal error

std::string program_name = "gswin32c.exe";
volatile sig_atomic_t ghostscript_pid = 0;

void PassSignalOn(int signal_number) {
  if (ghostscript_pid > 0) ::kill(ghostscript_pid, signal_number);
}

// The box this program lives in (its file is inside the box's drive C:),
// else the box of PLUMETA_BOX.
std::string FindBox() {
  std::error_code error;
  fs::path self = fs::read_symlink("/proc/self/exe", error);
  if (!error) {
    for (fs::path folder = self.parent_path();
         !folder.empty() && folder != folder.root_path();
         folder = folder.parent_path()) {
      if (fs::exists(folder / "system.ini", error) &&
          fs::is_directory(folder / "registry", error)) {
        return folder.string();
      }
    }
  }
  return host::BoxFolder();
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

// The output file, put in place already locked so that no one sees it
// unlocked before Ghostscript is done.
class HeldOutput {
 public:
  explicit HeldOutput(const std::string& path) : path_(path) {
    std::string temporary =
        (fs::path(path).parent_path() / ".gswin32c-XXXXXX").string();
    fd_.Reset(::mkostemp(temporary.data(), O_CLOEXEC));
    if (!fd_.valid()) return;
    if (::flock(fd_.get(), LOCK_EX) != 0 || ::fchmod(fd_.get(), 0644) != 0 ||
        ::rename(temporary.c_str(), path.c_str()) != 0) {
      ::unlink(temporary.c_str());
      fd_.Reset();
      return;
    }
    ::fstat(fd_.get(), &placed_);
  }

  // After Ghostscript: a file it never opened (still empty, its change time
  // as placed) goes away when Ghostscript failed.
  void Release(bool failed) {
    if (!fd_.valid()) return;
    struct stat now;
    struct stat at_path;
    if (failed && ::fstat(fd_.get(), &now) == 0 && now.st_size == 0 &&
        now.st_ctim.tv_sec == placed_.st_ctim.tv_sec &&
        now.st_ctim.tv_nsec == placed_.st_ctim.tv_nsec &&
        ::stat(path_.c_str(), &at_path) == 0 && at_path.st_ino == now.st_ino) {
      ::unlink(path_.c_str());
    }
    fd_.Reset();
  }

 private:
  std::string path_;
  host::UniqueFd fd_;
  struct stat placed_ {};
};

int Main(int argc, char** argv) {
  if (argc > 0) program_name = fs::path(argv[0]).filename().string();
  const std::string box = FindBox();
  host::BoxPaths paths(box);
  host::GhostscriptCommand command;
  std::string error;
  if (!host::TranslateGhostscriptArguments(
          std::vector<std::string>(argv + 1, argv + argc), paths, ReadWholeFile,
          &command, &error)) {
    std::fprintf(stderr, "%s: %s\n", program_name.c_str(), error.c_str());
    return kFatal;
  }

  const char* ghostscript = std::getenv("PLUMETA_GS");
  if (ghostscript == nullptr || *ghostscript == '\0') ghostscript = "gs";
  std::optional<HeldOutput> output;
  if (command.output_file) output.emplace(*command.output_file);

  std::vector<char*> gs_argv = {const_cast<char*>(ghostscript)};
  for (std::string& argument : command.arguments) {
    gs_argv.push_back(argument.data());
  }
  gs_argv.push_back(nullptr);

  struct sigaction pass_on {};
  pass_on.sa_handler = PassSignalOn;
  ::sigaction(SIGTERM, &pass_on, nullptr);
  ::sigaction(SIGHUP, &pass_on, nullptr);
  const pid_t child = ::fork();
  if (child == 0) {
    ::execvp(ghostscript, gs_argv.data());
    std::fprintf(stderr, "%s: cannot run the host's Ghostscript (%s): %s\n",
                 program_name.c_str(), ghostscript, std::strerror(errno));
    ::_exit(kFatal);
  }
  if (child < 0) {
    std::fprintf(stderr, "%s: cannot start Ghostscript: %s\n",
                 program_name.c_str(), std::strerror(errno));
    if (output) output->Release(true);
    return kFatal;
  }
  ghostscript_pid = child;
  int status = 0;
  while (::waitpid(child, &status, 0) != child) {
    if (errno != EINTR) break;
  }
  const int code = WIFEXITED(status)     ? WEXITSTATUS(status)
                   : WIFSIGNALED(status) ? 128 + WTERMSIG(status)
                                         : kFatal;
  if (output) output->Release(code != 0);
  return code;
}

}  // namespace
}  // namespace plumeta::plumgs

int main(int argc, char** argv) { return plumeta::plumgs::Main(argc, argv); }

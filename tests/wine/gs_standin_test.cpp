// The Ghostscript stand-in the wine suite installs at the port's "Command"
// path: Ghostscript's argument-file rules, the translation to the native
// command, and the program itself running a job under Wine.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/scoped_handle.h"
#include "platform/win32/windows_api.h"
#include "tests/wine/gs_standin/argument_file.h"
#include "tests/wine/support/screen_capture.h"
#include "tests/wine/support/wine_test_support.h"

namespace plumeta::gs_standin {
namespace {

using Arguments = std::vector<std::string>;

TEST(GsStandinArgumentFile, TranslatesPathsAndArgumentFiles) {
  const std::map<std::string, std::string> files = {
      {"C:\\w\\plum.rsp",
       "-IC:\\gs\\lib;C:\\gs\\fonts\r\n\r\n-sOutputFile=C:\\T\\1024.pdf\r\n"
       "\r\n-sUserPassword=\"two words\"\r\n"},
      {"C:\\w\\loop.rsp", "@C:\\w\\loop.rsp\n"},
  };
  const PathMap map =
      [](const std::string& path) -> std::optional<std::string> {
    if (path.rfind("C:\\", 0) != 0) return std::nullopt;
    std::string mapped = "/c/" + path.substr(3);
    for (char& c : mapped) c = c == '\\' ? '/' : c;
    return mapped;
  };
  const FileReader read = [&](const std::string& path) {
    auto found = files.find(path);
    return found == files.end() ? std::nullopt
                                : std::optional<std::string>(found->second);
  };
  const struct {
    const char* name;
    Arguments arguments;
    Arguments expected;
    std::string output;
    bool refused;
  } kRows[] = {
      {"the port's command",
       {"@C:\\w\\plum.rsp", "-"},
       {"-sOutputFile=/c/T/1024.pdf", "-sUserPassword=two words", "-"},
       "C:\\T\\1024.pdf",
       false},
      {"an input file", {"-q", "C:\\j.ps"}, {"-q", "/c/j.ps"}, "", false},
      {"the log and the PostScript that runs the job",
       {"-sstdout=C:\\T\\1024.log", "-c", "(%stdin) (r) file", "-f"},
       {"-sstdout=/c/T/1024.log", "-c", "(%stdin) (r) file", "-f"},
       "",
       false},
      {"pipe output", {"-sOutputFile=%pipe%sh"}, {}, "", true},
      {"unmappable output", {"-sOutputFile=Q:\\x.pdf"}, {}, "", true},
      {"missing argument file", {"@C:\\w\\none.rsp"}, {}, "", true},
      {"argument file naming itself", {"@C:\\w\\loop.rsp"}, {}, "", true},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.name);
    const Translation result = Translate(row.arguments, map, read);
    EXPECT_EQ(!result.error.empty(), row.refused) << result.error;
    if (row.refused) continue;
    EXPECT_EQ(result.arguments, row.expected);
    EXPECT_EQ(result.output_file, row.output);
  }
}

// Whether another program holds the file without sharing.
bool InUse(const std::string& path) {
  win32::ScopedFileHandle file(
      ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return !file && ::GetLastError() == ERROR_SHARING_VIOLATION;
}

struct Run {
  DWORD exit_code = 0;
  bool seen_in_use = false;
};

// Runs the stand-in as the port does: the argument file, "-", the job on
// standard input; watches the output file while it runs.
std::optional<Run> RunStandin(const std::string& job_path,
                              const std::string& argument_file,
                              const std::string& output) {
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  win32::ScopedFileHandle job(::CreateFileA(job_path.c_str(), GENERIC_READ,
                                            FILE_SHARE_READ, &inherit,
                                            OPEN_EXISTING, 0, nullptr));
  if (!job) return std::nullopt;
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = job.Get();
  startup.hStdOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
  // Built by appending: GCC 12 warns wrongly about "\"" + std::string.
  std::string command = "\"";
  command += wine_test::ThroughDriveZ(PLUMETA_GS_STANDIN);
  command += "\" @" + argument_file + " -";
  PROCESS_INFORMATION started{};
  if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0,
                        nullptr, nullptr, &startup, &started)) {
    return std::nullopt;
  }
  win32::ScopedKernelHandle process(started.hProcess);
  win32::ScopedKernelHandle thread(started.hThread);
  Run run;
  while (::WaitForSingleObject(process.Get(), 20) == WAIT_TIMEOUT) {
    run.seen_in_use = run.seen_in_use || InUse(output);
  }
  ::GetExitCodeProcess(process.Get(), &run.exit_code);
  return run;
}

TEST(GsStandinProgram, RunsTheNativeGhostscriptOnAJob) {
  if (!wine_test::RunsUnderWine()) GTEST_SKIP() << "needs Wine";
  if (wine_test::RunLinuxShell("command -v gs >/dev/null") != 0) {
    GTEST_SKIP() << "no native Ghostscript (gs)";
  }
  wine_test::ScratchFolder folder;
  const std::string output = folder.File("1024.pdf");
  const std::string arguments = folder.File("plum.rsp");
  ASSERT_TRUE(wine_test::WriteWholeFile(
      arguments,
      "-ID:\\gs\\lib;D:\\gs\\fonts\r\n\r\n-sDEVICE=pdfwrite\r\n\r\n"
      "-sOutputFile=" +
          output +
          "\r\n\r\n-dNOPAUSE\r\n\r\n-dSAFER\r\n\r\n-dBATCH\r\n\r\n"
          "-dCompatibilityLevel=1.4\r\n\r\n"
          "-sOwnerPassword=\"owner\"\r\n\r\n"
          "-sUserPassword=\"two words\"\r\n\r\n"
          "-dEncryptionR#3\r\n\r\n-dKeyLength#128\r\n\r\n"
          "-dPermissions#-8\r\n\r\n"));
  const struct {
    const char* name;
    std::string job;
    DWORD exit_code;  // what the native gs gives for it
    bool pdf;
  } kRows[] = {
      // Busy for about a second, so that the test sees the file in use.
      {"a page",
       "%!PS\n/t usertime def { usertime t sub 1000 gt { exit } if } loop\n"
       "/Helvetica findfont 20 scalefont setfont 72 700 moveto (Plumeta) "
       "show showpage\n",
       0, true},
      {"a PostScript error", "%!PS\nnosuchoperator\n", 1, false},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.name);
    const std::string job = folder.File("job.ps");
    ASSERT_TRUE(wine_test::WriteWholeFile(job, row.job));
    const auto run = RunStandin(job, arguments, output);
    ASSERT_TRUE(run);
    EXPECT_EQ(run->exit_code, row.exit_code);
    EXPECT_TRUE(run->seen_in_use);
    EXPECT_FALSE(InUse(output));
    if (!row.pdf) continue;
    const auto pdf = wine_test::ReadWholeFile(output);
    ASSERT_TRUE(pdf);
    EXPECT_EQ(pdf->substr(0, 5), "%PDF-");
    // qpdf: 0 when a password is needed to open it.
    const auto unix_output = wine_test::UnixPath(output);
    ASSERT_TRUE(unix_output);
    EXPECT_EQ(wine_test::RunLinuxShell("qpdf --requires-password '" +
                                       *unix_output + "'"),
              0);
    EXPECT_EQ(wine_test::RunLinuxShell("qpdf --password='two words' --check '" +
                                       *unix_output + "' >/dev/null"),
              0);
  }
  // The copy of standard input does not stay behind.
  char temp[MAX_PATH + 1] = {};
  ::GetTempPathA(sizeof(temp), temp);
  WIN32_FIND_DATAA found;
  win32::ScopedFindHandle search(
      ::FindFirstFileA((std::string(temp) + "gsi*.tmp").c_str(), &found));
  EXPECT_FALSE(search) << found.cFileName;
}

}  // namespace
}  // namespace plumeta::gs_standin

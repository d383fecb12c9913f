// The argument file follows the user in front of the computer: the monitor
// rewrites it when Windows says its session became the active one. The
// window's answers and messages are Windows' own, from a fake.
#include "monitor/session_watch.h"

#include <gtest/gtest.h>

#include "platform/window_messages.h"
#include "tests/unit/support/monitor_test_bed.h"

namespace plumeta {
namespace {

TEST(SessionWatchTest, TheSessionComingToTheFrontRewritesTheArgumentFile) {
  testing::MonitorTestBed bed;
  auto main = bed.Start();
  EXPECT_TRUE(bed.window().session_registered);
  const struct {
    std::uintptr_t change;
    bool rewrites;
  } kRows[] = {
      {platform::kWtsConsoleConnect, true},
      {platform::kWtsRemoteConnect, true},
      {platform::kWtsSessionLogon, true},
      {platform::kWtsSessionUnlock, true},
      {platform::kWtsConsoleDisconnect, false},
      {platform::kWtsRemoteDisconnect, false},
      {platform::kWtsSessionLogoff, false},
      {platform::kWtsSessionLock, false},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.change);
    // Another user's monitor wrote the file meanwhile.
    bed.files->files[testing::kResponseFile] = "-sOutputFile=C:\\Bob\\1024.pdf";
    const int writes = bed.ResponseFileWrites();
    bed.window().Send(platform::kWmWtsSessionChange, row.change, 2);
    EXPECT_EQ(bed.ResponseFileWrites() - writes, row.rewrites ? 1 : 0);
    EXPECT_EQ(
        bed.ResponseFile().find("C:\\Temp\\1024.pdf") != std::string::npos,
        row.rewrites);
  }
  EXPECT_TRUE(bed.ui->messages.empty());
}

TEST(SessionWatchTest, AsksAgainOnlyWhileWindowsCouldNotYetAnswer) {
  const struct {
    const char* name;
    std::deque<platform::ErrorCode> answers;
    int requests;
    bool watching;
  } kRows[] = {
      // RPC_S_INVALID_BINDING: Terminal Services still starting at log-on.
      {"services starting", {1702, 1702}, 3, true},
      {"refused for good", std::deque<platform::ErrorCode>(500, 1702),
       1 + SessionWatch::kRetries, false},
      {"Windows 2000: no such call",
       {platform::kErrorProcedureNotFound},
       1,
       false},
      {"Windows 95: no wtsapi32.dll",
       {platform::kErrorModuleNotFound},
       1,
       false},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.name);
    testing::MonitorTestBed bed;
    auto main = bed.NewMain();
    bed.window().session_answers = row.answers;
    main->Create();
    bed.application->Advance(10 * 60'000);
    EXPECT_EQ(bed.window().session_requests, row.requests);
    EXPECT_EQ(bed.window().session_registered, row.watching);
  }
}

}  // namespace
}  // namespace plumeta

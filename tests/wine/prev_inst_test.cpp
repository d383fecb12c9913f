#include "widgets/prev_inst.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/win32/scoped_handle.h"
#include "platform/win32/top_level_windows.h"
#include "platform/win32/win32_application.h"
#include "tests/wine/support/window_finder.h"

namespace plumeta::win32 {
namespace {

constexpr char kGuardClass[] = "PlumetaGuardTest";
constexpr char kGuardTitle[] = "Plumeta Guard Test";
// The environment variable that gives the second copy its parent's id.
constexpr char kParentVariable[] = "PLUMETA_GUARD_TEST_PARENT";

std::string EventName(const char* what, DWORD parent) {
  return std::string("PlumetaGuardTest") + what + std::to_string(parent);
}

// The application window of a copy: class and title of its own, as the
// first title names the class.
void NameApplication(Win32Application& application) {
  application.SetTitle(kGuardClass);
  application.SetTitle(kGuardTitle);
}

// The second copy: this test program started again with a filter that runs
// only the disabled test below.
class SecondCopy {
 public:
  SecondCopy()
      : ready_(::CreateEventA(
            nullptr, TRUE, FALSE,
            EventName("Ready", ::GetCurrentProcessId()).c_str())),
        quit_(::CreateEventA(
            nullptr, TRUE, FALSE,
            EventName("Quit", ::GetCurrentProcessId()).c_str())) {
    char program[MAX_PATH];
    ::GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string command_line =
        std::string("\"") + program +
        "\" --gtest_also_run_disabled_tests "
        "--gtest_filter=PrevInstSecondCopy.DISABLED_HoldsAnApplicationWindow";
    ::SetEnvironmentVariableA(kParentVariable,
                              std::to_string(::GetCurrentProcessId()).c_str());
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (::CreateProcessA(nullptr, command_line.data(), nullptr, nullptr, FALSE,
                         0, nullptr, nullptr, &startup, &process)) {
      process_.Reset(process.hProcess);
      ::CloseHandle(process.hThread);
      id_ = process.dwProcessId;
    }
    ::SetEnvironmentVariableA(kParentVariable, nullptr);
  }
  ~SecondCopy() { Stop(); }
  SecondCopy(const SecondCopy&) = delete;
  SecondCopy& operator=(const SecondCopy&) = delete;

  bool WaitUntilReady() {
    return process_ && ::WaitForSingleObject(ready_.Get(), 20000) == 0;
  }
  void Stop() {
    if (!process_) return;
    ::SetEvent(quit_.Get());
    if (::WaitForSingleObject(process_.Get(), 10000) != WAIT_OBJECT_0) {
      ::TerminateProcess(process_.Get(), 1);
    }
    process_.Reset();
  }
  DWORD id() const { return id_; }

 private:
  ScopedKernelHandle ready_;
  ScopedKernelHandle quit_;
  ScopedKernelHandle process_;
  DWORD id_ = 0;
};

// Runs in the second copy only.
TEST(PrevInstSecondCopy, DISABLED_HoldsAnApplicationWindow) {
  const char* parent = std::getenv(kParentVariable);
  ASSERT_NE(parent, nullptr);
  const DWORD parent_id = static_cast<DWORD>(std::strtoul(parent, nullptr, 10));
  Win32Application application;
  NameApplication(application);
  ScopedKernelHandle ready(::OpenEventA(EVENT_MODIFY_STATE, FALSE,
                                        EventName("Ready", parent_id).c_str()));
  ScopedKernelHandle quit(
      ::OpenEventA(SYNCHRONIZE, FALSE, EventName("Quit", parent_id).c_str()));
  ASSERT_TRUE(ready && quit);
  ::SetEvent(ready.Get());
  wine_test::PumpUntil(
      [&] { return ::WaitForSingleObject(quit.Get(), 0) == 0; }, 30000);
}

class PrevInstTest : public ::testing::Test {
 protected:
  PrevInstTest()
      : windows_([this] { return app_.Handle(); }), guard_(app_, windows_) {
    NameApplication(app_);
  }

  Win32Application app_;
  Win32TopLevelWindows windows_;
  widgets::TPrevInst guard_;
};

TEST_F(PrevInstTest, AloneItMayRun) {
  EXPECT_FALSE(guard_.CheckPrevInst());
  EXPECT_FALSE(app_.Terminated());
}

TEST_F(PrevInstTest, FindsTheOtherCopysWindowAndEnds) {
  SecondCopy second;
  ASSERT_TRUE(second.WaitUntilReady()) << "the second copy did not start";

  int copies = 0;
  bool other_process_found = false;
  for (const platform::TopLevelWindow& window : windows_.EnumWindows()) {
    if (window.class_name != kGuardClass || window.title != kGuardTitle) {
      continue;
    }
    ++copies;
    DWORD process = 0;
    ::GetWindowThreadProcessId(reinterpret_cast<HWND>(window.handle), &process);
    if (process == second.id()) other_process_found = true;
  }
  EXPECT_EQ(copies, 2);
  EXPECT_TRUE(other_process_found);

  guard_.SetAllowedInst(2);
  EXPECT_FALSE(guard_.CheckPrevInst());
  guard_.SetAllowedInst(1);
  EXPECT_TRUE(guard_.CheckPrevInst());
  EXPECT_TRUE(app_.Terminated());

  second.Stop();
  EXPECT_FALSE(guard_.CheckPrevInst()) << "the other copy has ended";
}

TEST_F(PrevInstTest, ReadsClassAndTitleOfItsOwnWindow) {
  platform::TopLevelWindow own = windows_.ApplicationWindow();
  EXPECT_EQ(own.handle,
            reinterpret_cast<platform::WindowHandle>(app_.Handle()));
  EXPECT_EQ(own.class_name, kGuardClass);
  EXPECT_EQ(own.title, kGuardTitle);
  ::SetWindowTextA(app_.Handle(), std::string(300, 'x').c_str());
  EXPECT_EQ(windows_.ApplicationWindow().title, std::string(255, 'x'));
}

}  // namespace
}  // namespace plumeta::win32

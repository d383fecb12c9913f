// platform/win32: Win32 calls only, in their ANSI ("A") forms.
#include "platform/win32/worker_threads.h"

#include "platform/win32/scoped_handle.h"
#include "platform/win32/windows_api.h"

namespace plumeta::win32 {
namespace {

DWORD WINAPI RunWork(LPVOID parameter) {
  auto* work = static_cast<std::function<void()>*>(parameter);
  try {
    (*work)();
  } catch (...) {
    // The work reports its own failures; nothing may leave the thread.
  }
  return 0;
}

class Win32WorkerThread : public platform::WorkerThread {
 public:
  explicit Win32WorkerThread(std::function<void()> work)
      : work_(std::move(work)) {
    DWORD id = 0;
    thread_.Reset(::CreateThread(nullptr, 0, &RunWork, &work_, 0, &id));
  }
  ~Win32WorkerThread() override {
    if (thread_) ::WaitForSingleObject(thread_.Get(), INFINITE);
  }
  bool started() const { return static_cast<bool>(thread_); }
  bool Done() override {
    return !thread_ || ::WaitForSingleObject(thread_.Get(), 0) == WAIT_OBJECT_0;
  }

 private:
  std::function<void()> work_;
  ScopedKernelHandle thread_;
};

}  // namespace

std::unique_ptr<platform::WorkerThread> Win32WorkerThreads::Start(
    std::function<void()> work) {
  auto thread = std::make_unique<Win32WorkerThread>(std::move(work));
  if (!thread->started()) return nullptr;
  return thread;
}

}  // namespace plumeta::win32

#include "platform/host/kernel/worker_threads.h"

#include <atomic>
#include <system_error>
#include <thread>

namespace plumeta::host {
namespace {

class HostWorkerThread : public platform::WorkerThread {
 public:
  explicit HostWorkerThread(std::function<void()> work)
      : work_(std::move(work)) {}
  ~HostWorkerThread() override {
    if (thread_.joinable()) thread_.join();
  }
  bool Begin() {
    try {
      thread_ = std::thread([this] {
        try {
          work_();
        } catch (...) {
          // The work reports its own failures; nothing may leave the thread.
        }
        done_.store(true, std::memory_order_release);
      });
    } catch (const std::system_error&) {
      return false;
    }
    return true;
  }
  bool Done() override { return done_.load(std::memory_order_acquire); }

 private:
  std::function<void()> work_;
  std::atomic<bool> done_{false};
  std::thread thread_;
};

}  // namespace

std::unique_ptr<platform::WorkerThread> HostWorkerThreads::Start(
    std::function<void()> work) {
  auto thread = std::make_unique<HostWorkerThread>(std::move(work));
  if (!thread->Begin()) return nullptr;
  return thread;
}

}  // namespace plumeta::host

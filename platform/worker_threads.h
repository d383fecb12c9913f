// One piece of work on a thread of its own, so that the message loop goes on
// while it runs. The work never touches what the message loop's thread uses;
// that thread reads what the work left only once Done() has said true.
#ifndef PLATFORM_WORKER_THREADS_H_
#define PLATFORM_WORKER_THREADS_H_

#include <functional>
#include <memory>

namespace plumeta::platform {

class WorkerThread {
 public:
  // Waits for the work to end.
  virtual ~WorkerThread() = default;
  // True once the work has returned; what it wrote is then visible.
  virtual bool Done() = 0;
};

class WorkerThreads {
 public:
  virtual ~WorkerThreads() = default;
  // Runs `work` on a new thread; null when no thread could be started.
  virtual std::unique_ptr<WorkerThread> Start(std::function<void()> work) = 0;
};

}  // namespace plumeta::platform

#endif  // PLATFORM_WORKER_THREADS_H_

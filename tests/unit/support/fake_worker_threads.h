// Worker threads that run their work at once, on the caller's thread.
#ifndef TESTS_UNIT_SUPPORT_FAKE_WORKER_THREADS_H_
#define TESTS_UNIT_SUPPORT_FAKE_WORKER_THREADS_H_

#include "platform/worker_threads.h"

namespace plumeta::testing {

class FakeWorkerThreads : public platform::WorkerThreads {
 public:
  int started = 0;
  std::unique_ptr<platform::WorkerThread> Start(
      std::function<void()> work) override {
    ++started;
    work();
    return std::make_unique<Finished>();
  }

 private:
  struct Finished : platform::WorkerThread {
    bool Done() override { return true; }
  };
};

}  // namespace plumeta::testing

#endif  // TESTS_UNIT_SUPPORT_FAKE_WORKER_THREADS_H_

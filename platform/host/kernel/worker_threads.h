// Host stand-in (Linux only). Worker threads as std::thread.
#ifndef PLATFORM_HOST_KERNEL_WORKER_THREADS_H_
#define PLATFORM_HOST_KERNEL_WORKER_THREADS_H_

#include "platform/worker_threads.h"

namespace plumeta::host {

class HostWorkerThreads : public platform::WorkerThreads {
 public:
  std::unique_ptr<platform::WorkerThread> Start(
      std::function<void()> work) override;
};

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_KERNEL_WORKER_THREADS_H_

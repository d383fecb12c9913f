// platform/win32: Win32 calls only, in their ANSI ("A") forms. Worker
// threads made with CreateThread: the shipped programs' compilers bring no
// std::thread, and CreateThread exists on every Windows they run on.
#ifndef PLATFORM_WIN32_WORKER_THREADS_H_
#define PLATFORM_WIN32_WORKER_THREADS_H_

#include "platform/worker_threads.h"

namespace plumeta::win32 {

class Win32WorkerThreads : public platform::WorkerThreads {
 public:
  std::unique_ptr<platform::WorkerThread> Start(
      std::function<void()> work) override;
};

}  // namespace plumeta::win32

#endif  // PLATFORM_WIN32_WORKER_THREADS_H_

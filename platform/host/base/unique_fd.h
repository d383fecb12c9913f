// Host stand-in (Linux only). Owns a POSIX file descriptor and closes it.
#ifndef PLATFORM_HOST_BASE_UNIQUE_FD_H_
#define PLATFORM_HOST_BASE_UNIQUE_FD_H_

#include <unistd.h>

#include <utility>

namespace plumeta::host {

class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.fd_, -1));
    return *this;
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  ~UniqueFd() { Reset(); }

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  // Closes now; ::close's result (-1 with errno when the data may be lost).
  int Close() { return ::close(std::exchange(fd_, -1)); }
  void Reset(int fd = -1) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }

 private:
  int fd_ = -1;
};

}  // namespace plumeta::host

#endif  // PLATFORM_HOST_BASE_UNIQUE_FD_H_

#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace setup {

/// An open host file descriptor, closed with its owner.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() { Close(); }
  int get() const { return fd_; }
  /// 0, or -1 with errno set; a write the system deferred can fail only here.
  int Close();

 private:
  int fd_;
};

/// Reads to the end: 0, an errno, or EFBIG once more than `limit` bytes arrive.
int ReadAll(int fd, std::string& out, std::size_t limit);

/// Writes all the bytes: 0 or the errno of the failure.
int WriteAll(int fd, std::string_view data);

/// Copies everything from one descriptor to another, in the kernel where it
/// can; 0 or the errno of the failure.
int CopyContent(int input, int output);

}  // namespace setup

#include "platform/portable/portable_file_io.h"

#include <unistd.h>

#include <cerrno>
#include <string_view>

namespace setup {
int WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    ssize_t put = ::write(fd, data.data(), data.size());
    if (put < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    data.remove_prefix(static_cast<std::size_t>(put));
  }
  return 0;
}

int Descriptor::Close() {
  int result = fd_ >= 0 ? ::close(fd_) : 0;
  fd_ = -1;
  return result;
}

int ReadAll(int fd, std::string& out, std::size_t limit) {
  char buffer[65536];
  for (;;) {
    ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got == 0) return 0;
    if (got < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (static_cast<std::size_t>(got) > limit - out.size()) return EFBIG;
    out.append(buffer, static_cast<std::size_t>(got));
  }
}

int CopyContent(int input, int output) {
  for (;;) {
    ssize_t moved = ::copy_file_range(input, nullptr, output, nullptr, 1 << 30, 0);
    if (moved == 0) return 0;
    if (moved > 0) continue;
    if (errno == EINTR) continue;
    if (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) return errno;
    break;
  }
  char buffer[1 << 16];
  for (;;) {
    ssize_t got = ::read(input, buffer, sizeof buffer);
    if (got == 0) return 0;
    if (got < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (int error = WriteAll(output, std::string_view(buffer, static_cast<std::size_t>(got)))) return error;
  }
}

}  // namespace setup

#include "AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

#include "../OdError.h"

namespace {
std::atomic<int> gFailWrite{0};
std::atomic<int> gWrites{0};

std::string directoryOf(const std::string& path) {
  auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}
}  // namespace

void AtomicFile::failWriteNumber(int n) {
  gWrites = 0;
  gFailWrite = n;
}

AtomicFile::AtomicFile(std::string target) : target_(std::move(target)) {
  temp_ = target_ + ".XXXXXX";
  fd_ = ::mkstemp(temp_.data());
  if (fd_ < 0) {
    int e = errno;
    temp_.clear();
    fail("cannot create a file in " + directoryOf(target_), e);
  }
  // The new file gets the permissions of the one it replaces, or the usual ones.
  struct stat st;
  mode_t mode;
  if (::stat(target_.c_str(), &st) == 0) {
    mode = st.st_mode & 07777;
  } else {
    mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  ::fchmod(fd_, mode);
}

AtomicFile::~AtomicFile() {
  if (fd_ >= 0) ::close(fd_);
  if (!committed_ && !temp_.empty()) ::unlink(temp_.c_str());
}

void AtomicFile::fail(const std::string& what, int error) {
  throw OdError(eFileWriteError,
                OdString::fromUtf8("Cannot save \"" + target_ + "\": " + what + ": " + std::strerror(error)));
}

void AtomicFile::write(std::string_view data) {
  if (gFailWrite > 0 && ++gWrites == gFailWrite) fail("write failed", ENOSPC);
  while (!data.empty()) {
    ssize_t n = ::write(fd_, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      fail("write failed", errno);
    }
    data.remove_prefix(static_cast<std::size_t>(n));
  }
}

void AtomicFile::commit() {
  if (::fsync(fd_) != 0) fail("flush failed", errno);
  int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) fail("close failed", errno);
  if (::rename(temp_.c_str(), target_.c_str()) != 0) fail("rename failed", errno);
  committed_ = true;
  // Make the rename itself durable.
  int dir = ::open(directoryOf(target_).c_str(), O_RDONLY | O_DIRECTORY);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}

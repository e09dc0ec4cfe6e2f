#include "dxf/AtomicFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <ctime>

#include "zrdwg/OdError.h"

namespace {
std::atomic<int> gFailWrite{0};
std::atomic<int> gWrites{0};

constexpr const char* kTempMark = ".zrsave-";
constexpr std::size_t kRandomPart = 6;  // the XXXXXX of mkostemp
// A file name holds at most NAME_MAX bytes: a long target name is cut in the
// temporary file's name so that ".", the mark and the random part still fit.
constexpr std::size_t kMaxNameInTemp = NAME_MAX - 1 - 8 - kRandomPart;

std::string directoryOf(const std::string& path) {
  auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string baseNameOf(const std::string& path) {
  auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// ".<name>.zrsave-": every temporary file of one target starts so.
std::string temporaryPrefix(const std::string& file) {
  std::string prefix(1, '.');
  prefix += baseNameOf(file).substr(0, kMaxNameInTemp);
  return prefix += kTempMark;
}

// Follows symbolic links (at most 40, as the kernel does) to the file they
// name. A dangling link gives the path it points to, so that the save
// creates that file. *error is ELOOP when the links go round.
std::string followLinks(std::string path, int* error) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    std::string link(PATH_MAX, '\0');
    ssize_t n = ::readlink(path.c_str(), link.data(), link.size());
    if (n <= 0) return path;
    link.resize(static_cast<std::size_t>(n));
    // A relative link is taken from the link's own folder.
    path = link.front() == '/' ? link : directoryOf(path) + "/" + link;
  }
  *error = ELOOP;
  return path;
}

// Removes the temporary files that earlier saves of the same target left when
// their process died. A save in progress holds its file's lock, so only
// abandoned files can be locked here. Best effort: what cannot be removed
// stays, and the new temporary file gets a name of its own anyway.
void removeAbandonedTemporaries(const std::string& dir, const std::string& prefix) {
  DIR* folder = ::opendir(dir.c_str());
  if (!folder) return;
  while (const dirent* entry = ::readdir(folder)) {
    const std::string_view name = entry->d_name;
    if (name.size() != prefix.size() + kRandomPart || name.substr(0, prefix.size()) != prefix) continue;
    const std::string path = dir + "/" + std::string(name);
    int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) continue;
    struct stat st;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
      ::unlink(path.c_str());
    ::close(fd);
  }
  ::closedir(folder);
}

// Blocks SIGXFSZ in this thread while it writes: past the file size limit,
// write() then fails with EFBIG instead of the signal ending the host
// process. The signal raised meanwhile is taken off the thread before the
// mask is restored.
class FileSizeSignalHeld {
 public:
  FileSizeSignalHeld() {
    sigemptyset(&set_);
    sigaddset(&set_, SIGXFSZ);
    pthread_sigmask(SIG_BLOCK, &set_, &old_);
  }
  ~FileSizeSignalHeld() {
    if (!sigismember(&old_, SIGXFSZ)) {
      const timespec now{0, 0};
      while (sigtimedwait(&set_, nullptr, &now) > 0) {
      }
    }
    pthread_sigmask(SIG_SETMASK, &old_, nullptr);
  }
  FileSizeSignalHeld(const FileSizeSignalHeld&) = delete;
  FileSizeSignalHeld& operator=(const FileSizeSignalHeld&) = delete;

 private:
  sigset_t set_;
  sigset_t old_;
};

}  // namespace

void AtomicFile::failWriteNumber(int n) {
  gWrites = 0;
  gFailWrite = n;
}

AtomicFile::AtomicFile(std::string target) : target_(std::move(target)) {
  if (target_.empty()) fail("no file name", ENOENT);
  int loop = 0;
  file_ = followLinks(target_, &loop);
  if (loop) fail("cannot follow its links", loop);
  if (baseNameOf(file_).empty()) fail("the name is a folder", EISDIR);

  // Refused before anything is written: the rename would fail (a folder), or
  // replace something that is no drawing (a device, a pipe), or overrule the
  // read-only flag that the user set on the file.
  struct stat st;
  const bool exists = ::stat(file_.c_str(), &st) == 0;
  if (!exists && errno != ENOENT) fail("cannot reach the file", errno);
  if (exists && S_ISDIR(st.st_mode)) fail("it is a folder", EISDIR);
  if (exists && !S_ISREG(st.st_mode)) fail("it is not a regular file", 0);
  if (exists && ::faccessat(AT_FDCWD, file_.c_str(), W_OK, AT_EACCESS) != 0) fail("the file is read-only", errno);

  removeAbandonedTemporaries(directoryOf(file_), temporaryPrefix(file_));
  createTemporary();

  // The new file gets the permissions of the one it replaces, or the usual ones.
  mode_t mode;
  if (exists) {
    mode = st.st_mode & 07777;
  } else {
    mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  ::fchmod(fd_, mode);
}

void AtomicFile::createTemporary() {
  // Another save's clean-up may remove a new file before this one locks it:
  // the file then has no name any more (no links) and another is made.
  for (int attempt = 0; attempt < 8; ++attempt) {
    temp_ = directoryOf(file_) + "/" + temporaryPrefix(file_) + std::string(kRandomPart, 'X');
    fd_ = ::mkostemp(temp_.data(), O_CLOEXEC);
    if (fd_ < 0) {
      int e = errno;
      temp_.clear();
      fail("cannot create a file in " + directoryOf(file_), e);
    }
    // The constructor is left by an exception here, so the destructor will not
    // remove what was made.
    auto dropTemporary = [this](bool remove) {
      ::close(fd_);
      fd_ = -1;
      if (remove) ::unlink(temp_.c_str());
      temp_.clear();
    };
    struct stat st;
    if (::flock(fd_, LOCK_EX) != 0 || ::fstat(fd_, &st) != 0) {
      int e = errno;
      dropTemporary(true);
      fail("cannot lock the temporary file", e);
    }
    if (st.st_nlink > 0) {
      // A second descriptor keeps the lock after the file is closed for commit.
      lockFd_ = ::fcntl(fd_, F_DUPFD_CLOEXEC, 0);
      if (lockFd_ >= 0) return;
      int e = errno;
      dropTemporary(true);
      fail("cannot lock the temporary file", e);
    }
    dropTemporary(false);
  }
  fail("cannot create a file in " + directoryOf(file_), EEXIST);
}

AtomicFile::~AtomicFile() {
  if (fd_ >= 0) ::close(fd_);
  // Removed while still locked, so that no clean-up of another save races it.
  if (!committed_ && !temp_.empty()) ::unlink(temp_.c_str());
  if (lockFd_ >= 0) ::close(lockFd_);
}

void AtomicFile::fail(const std::string& what, int error) {
  std::string text = "Cannot save \"" + target_ + "\": " + what;
  if (error) text += std::string(": ") + std::strerror(error);
  throw OdError(eFileWriteError, OdString::fromUtf8(text));
}

void AtomicFile::write(std::string_view data) {
  if (gFailWrite > 0 && ++gWrites == gFailWrite) fail("write failed", ENOSPC);
  FileSizeSignalHeld held;
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
  if (::rename(temp_.c_str(), file_.c_str()) != 0) fail("rename failed", errno);
  committed_ = true;
  ::close(lockFd_);
  lockFd_ = -1;
  // Make the rename itself durable.
  int dir = ::open(directoryOf(file_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}

#pragma once
// Writes a file so that it is either wholly replaced or left as it was: the data
// goes to a temporary file beside the target, which is flushed to disk and then
// renamed over the target. If anything fails (or commit() is never reached) the
// temporary file is removed and the target is untouched.
//
// The temporary file is ".<name>.zrsave-XXXXXX" in the target's folder, locked
// (flock) while it is written. A process killed during a save leaves its
// temporary file behind, unlocked; the next save of the same target removes it.
//
// A target that is a symbolic link is followed: the file the link points to is
// replaced and the link stays a link, as a user who saves through a link expects.

#include <string>
#include <string_view>

class AtomicFile {
 public:
  // Refuses a target that is a folder, not a regular file or read-only, and
  // throws OdError(eFileWriteError) naming it and the reason; also when the
  // temporary file cannot be created (missing or read-only folder, ...).
  explicit AtomicFile(std::string target);
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // Throws OdError(eFileWriteError) with the reason (disk full, file size
  // limit, ...). A file size limit fails the write instead of killing the
  // process with SIGXFSZ.
  void write(std::string_view data);
  // Flushes, closes and renames over the target. Throws like write().
  void commit();

  // The file that is replaced: the target with its symbolic links followed.
  const std::string& destination() const { return file_; }

  // For tests: the write call numbered n (from 1) after this is set fails as if
  // the disk were full; 0 turns the fault off.
  static void failWriteNumber(int n);

 private:
  [[noreturn]] void fail(const std::string& what, int error);
  void createTemporary();

  std::string target_;  // as named by the caller, for messages
  std::string file_;    // target_ with symbolic links followed
  std::string temp_;
  int fd_ = -1;
  int lockFd_ = -1;  // holds the temporary file's lock until it is renamed or removed
  bool committed_ = false;
};

#pragma once
// Writes a file so that it is either wholly replaced or left as it was: the data
// goes to a temporary file beside the target, which is flushed to disk and then
// renamed over the target. If anything fails (or commit() is never reached) the
// temporary file is removed and the target is untouched.

#include <string>
#include <string_view>

class AtomicFile {
 public:
  // Throws OdError(eFileWriteError) when the temporary file cannot be created.
  explicit AtomicFile(std::string target);
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // Throws OdError(eFileWriteError) with the reason (disk full, ...).
  void write(std::string_view data);
  // Flushes, closes and renames over the target.
  void commit();

  // For tests: the write call numbered n (from 1) after this is set fails as if
  // the disk were full; 0 turns the fault off.
  static void failWriteNumber(int n);

 private:
  [[noreturn]] void fail(const std::string& what, int error);

  std::string target_;
  std::string temp_;
  int fd_ = -1;
  bool committed_ = false;
};

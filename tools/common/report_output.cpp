#include "report_output.h"

#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>

namespace fs = std::filesystem;

void reportBrokenPipes() { std::signal(SIGPIPE, SIG_IGN); }

std::string finishStandardOutput() {
  errno = 0;
  std::cout.flush();
  const bool streamFailed = std::cout.fail();
  const int flushed = std::fflush(stdout);
  const int error = errno;
  if (!streamFailed && flushed == 0 && !std::ferror(stdout)) return {};
  return std::string("cannot write to standard output: ") + (error ? std::strerror(error) : "write error");
}

ReportOutput::ReportOutput(std::string path) : path_(std::move(path)) {
  if (path_.empty() || path_ == "-") return;
  std::error_code ec;
  if (fs::is_directory(path_, ec)) {
    openError_ = path_ + ": is a folder; give the name of the report file";
    return;
  }
  // A device or a pipe (-o /dev/null, a named pipe) is written in place:
  // renaming a file over it would replace the device, not write to it.
  const fs::file_status status = fs::status(path_, ec);
  if (!ec && fs::exists(status) && !fs::is_regular_file(status)) {
    file_.open(path_, std::ios::binary);
    if (!file_) openError_ = "cannot write " + path_ + ": " + std::strerror(errno);
    direct_ = true;
    return;
  }
  // The temporary name sits in the same folder, so that the rename is atomic.
  temporary_ = path_ + ".part" + std::to_string(::getpid());
  file_.open(temporary_, std::ios::binary | std::ios::trunc);
  if (!file_) {
    openError_ = "cannot write " + path_ + ": " + std::strerror(errno);
    temporary_.clear();
  }
}

ReportOutput::~ReportOutput() {
  if (!temporary_.empty() && !done_) {
    std::error_code ec;
    fs::remove(temporary_, ec);
  }
}

std::ostream& ReportOutput::stream() { return temporary_.empty() && !direct_ ? std::cout : file_; }

std::string ReportOutput::finish() {
  if (!openError_.empty()) return openError_;
  if (temporary_.empty() && !direct_) return finishStandardOutput();
  errno = 0;
  file_.flush();
  const bool failed = file_.fail();
  const int error = errno;
  file_.close();
  if (failed || file_.fail())
    return "cannot write " + path_ + ": " + (error ? std::strerror(error) : "write error");
  if (direct_) return {};
  if (std::rename(temporary_.c_str(), path_.c_str()) != 0)
    return "cannot write " + path_ + ": " + std::strerror(errno);
  done_ = true;
  return {};
}

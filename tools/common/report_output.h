#pragma once
// Where a tool writes its report, and whether it got there. A report that
// could not be written (a full disk, a closed pipe) is a failure of the run,
// never a silent success.

#include <fstream>
#include <ostream>
#include <string>

// Makes a closed pipe a write error (EPIPE) that the program reports, instead
// of a death by SIGPIPE that a pipeline may not notice. Call once at start.
void reportBrokenPipes();

// Flushes standard output. Returns "" when everything written to it arrived,
// else what went wrong ("cannot write to standard output: No space left on
// device").
std::string finishStandardOutput();

class ReportOutput {
 public:
  // "-" or "" is standard output. A file is written beside itself and renamed
  // over `path` by finish(), so a failed run never leaves half a report (nor
  // spoils an older one). A path that exists and is no regular file (a
  // device such as /dev/null, a named pipe) is opened and written in place.
  explicit ReportOutput(std::string path);
  // Removes the unfinished file when finish() was not reached or failed.
  ~ReportOutput();
  ReportOutput(const ReportOutput&) = delete;
  ReportOutput& operator=(const ReportOutput&) = delete;

  // "" when the output was opened, else why not (checked before any work).
  const std::string& openError() const { return openError_; }
  std::ostream& stream();
  // Flushes and closes. Returns "" when every byte arrived, else the reason.
  std::string finish();

 private:
  std::string path_;
  std::string temporary_;
  std::ofstream file_;
  std::string openError_;
  bool done_ = false;
  bool direct_ = false;  // written in place: a device or a pipe
};

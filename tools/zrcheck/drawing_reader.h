#pragma once
// The drawings of a run read and checked on worker threads, ahead of their
// reports, in the order given.

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "parallel.h"
#include "zrdwg/OdDbDatabase.h"

// A drawing as read and checked on a worker thread, before its report is
// judged on the main thread.
struct ReadDrawing {
  OdDbDatabasePtr db;
  std::string error;       // why it could not be read; empty when it was
  std::string checkError;  // why its check stopped; empty when it ran to its end
  bool catalogueFailed = false;  // a catalogue statement the check needed failed
  std::string fingerprint;
  std::unordered_map<std::string, std::size_t> insertLines;  // when asked for
};

// Checks drawing i once it is read, on the worker thread that read it (the
// reading and the check are most of a run).
using CheckOne = std::function<void(std::size_t i, ReadDrawing& drawing)>;

// The drawings read and checked ahead of their reports on `jobs` threads:
// each drawing is handed to the main thread, in the order given, as soon as
// it is read and checked, while the next ones are. Each drawing is two
// parts, run apart: 0 reads it (to be inspected, not written back) and runs
// `check` on it, 1 takes a regular file's fingerprint (and with `lines` the
// line of each INSERT) from the file. Only the drawings in flight are held,
// not all of them (and of those only what `check` keeps). The workers start
// at once; with one job nothing runs on another thread (see ReadAhead).
// Standard input ("-") is read once, when made.
class DrawingReader {
 public:
  DrawingReader(const std::vector<std::string>& paths, bool lines, unsigned jobs, CheckOne check);

  // Drawing i, read and checked; the caller takes what it needs from it,
  // then calls done(i). Called in the order given, on one thread.
  ReadDrawing& get(std::size_t i);
  // The caller is through with drawing i: the next drawing may be read.
  void done(std::size_t i);

  // Takes the fingerprint of the first drawing whose fingerprint nobody has
  // taken or is taking, for its own part to find taken: for a check that
  // would otherwise wait (for the catalogue) while a processor is idle. A
  // fingerprint holds a few bytes, whichever drawing it is. The last `jobs`
  // drawings' fingerprints are not taken so: at the end of the run their
  // own parts run beside the last drawings' reading and checks. True when
  // it took one. Safe from any thread.
  bool fingerprintOneAhead();

 private:
  enum Fingerprinted : char { kNotYet, kTaking, kTaken };
  bool claimFingerprint(std::size_t i);
  void takeFingerprint(std::size_t i);
  void fingerprintPart(std::size_t i);
  void fingerprint(std::size_t i);
  void readAndCheck(std::size_t i);
  void read(std::size_t i);

  const std::vector<std::string>& paths_;
  const bool lines_;
  const unsigned jobs_;
  CheckOne check_;
  std::string standardInput_;
  std::vector<ReadDrawing> read_;
  std::vector<char> apart_;  // fingerprinted in a part of its own (a regular file)
  std::mutex fingerprintMutex_;
  std::condition_variable fingerprintTaken_;
  std::vector<Fingerprinted> fingerprinted_;
  std::atomic<std::size_t> firstNotYet_{0};  // no fingerprint before it is left to take
  std::optional<ReadAhead> ahead_;  // last: its threads stop before the rest goes
};

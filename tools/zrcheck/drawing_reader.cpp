#include "drawing_reader.h"

#include <algorithm>
#include <exception>
#include <sstream>

#include "drawing_input.h"
#include "findings.h"
#include "insert_lines.h"
#include "zrdwg/OdError.h"

namespace {

// The check only looks at a drawing, and never writes it: read so, a large
// drawing takes some 90 bytes less memory per pin symbol.
constexpr OdDbReadPurpose kCheckRead = OdDbReadPurpose::kInspect;

}  // namespace

DrawingReader::DrawingReader(const std::vector<std::string>& paths, bool lines, unsigned jobs, CheckOne check)
    : paths_(paths),
      lines_(lines),
      jobs_(jobs),
      check_(std::move(check)),
      read_(paths.size()),
      apart_(paths.size(), 0),
      fingerprinted_(paths.size(), kNotYet) {
  // Standard input is read once, here, before the workers start.
  if (std::find(paths.begin(), paths.end(), "-") != paths.end()) {
    try {
      standardInput_ = readStandardInput();
    } catch (const std::exception& e) {
      for (std::size_t i = 0; i < paths.size(); ++i)
        if (paths[i] == "-") read_[i].error = e.what();
    }
  }
  // What can be read only once (a pipe) is fingerprinted after it is read.
  for (std::size_t i = 0; i < paths.size(); ++i) apart_[i] = paths[i] != "-" && isRegularFile(paths[i]);
  ahead_.emplace(paths.size(), 2, jobs, [this](std::size_t i, std::size_t part) {
    if (part == 0) readAndCheck(i);
    else fingerprintPart(i);
  });
}

ReadDrawing& DrawingReader::get(std::size_t i) {
  ahead_->wait(i);
  return read_[i];
}

void DrawingReader::done(std::size_t i) {
  read_[i] = ReadDrawing{};
  ahead_->release(i);
}

bool DrawingReader::fingerprintOneAhead() {
  // Not the last drawings': their own parts fill the end of the run.
  const std::size_t end = paths_.size() - std::min<std::size_t>(paths_.size(), jobs_);
  for (std::size_t i = firstNotYet_.load(); i < end; ++i) {
    if (!claimFingerprint(i)) continue;
    firstNotYet_ = i + 1;
    takeFingerprint(i);
    return true;
  }
  return false;
}

bool DrawingReader::claimFingerprint(std::size_t i) {
  std::lock_guard<std::mutex> lock(fingerprintMutex_);
  if (fingerprinted_[i] != kNotYet) return false;
  fingerprinted_[i] = kTaking;
  return true;
}

void DrawingReader::takeFingerprint(std::size_t i) {
  fingerprint(i);
  {
    std::lock_guard<std::mutex> lock(fingerprintMutex_);
    fingerprinted_[i] = kTaken;
  }
  fingerprintTaken_.notify_all();
}

// Drawing i's own part: its fingerprint, unless taken ahead (waiting for it
// while it is being taken), and with `lines` the line of each INSERT, which a
// large drawing holds by the hundred thousand: never taken ahead, so that
// only the drawings in flight hold them.
void DrawingReader::fingerprintPart(std::size_t i) {
  if (claimFingerprint(i)) {
    takeFingerprint(i);
  } else {
    std::unique_lock<std::mutex> lock(fingerprintMutex_);
    fingerprintTaken_.wait(lock, [&] { return fingerprinted_[i] == kTaken; });
  }
  if (!lines_ || !apart_[i]) return;
  try {
    read_[i].insertLines = insertLinesOfFile(paths_[i]);
  } catch (...) {
    // Out of memory: the findings are reported without their lines.
  }
}

void DrawingReader::fingerprint(std::size_t i) {
  try {
    if (apart_[i]) read_[i].fingerprint = fileFingerprint(paths_[i]).value_or("");
  } catch (...) {
    // Out of memory: the report says the fingerprint is unknown.
  }
}

void DrawingReader::readAndCheck(std::size_t i) {
  read(i);
  if (read_[i].error.empty()) check_(i, read_[i]);
}

void DrawingReader::read(std::size_t i) {
  ReadDrawing& drawing = read_[i];
  if (!drawing.error.empty()) return;
  try {
    if (paths_[i] == "-") {
      drawing.db = OdDbDatabase::readDxfText(standardInput_, OdString::fromUtf8(drawingName("-")), kCheckRead);
      drawing.fingerprint = "sha256:" + sha256Hex(standardInput_);
      if (lines_) {
        std::istringstream text(standardInput_);
        drawing.insertLines = insertLines(text);
      }
    } else {
      drawing.db = readDrawing(paths_[i], kCheckRead);
      if (!apart_[i]) drawing.fingerprint = fileFingerprint(paths_[i]).value_or("");
    }
  } catch (const OdError& e) {
    drawing.error = e.description().toUtf8();
  } catch (const std::exception& e) {
    drawing.error = e.what();
  } catch (...) {
    drawing.error = drawingName(paths_[i]) + ": the drawing could not be read";
  }
}

#pragma once
// The catalogue as a run of zrcheck reads it: one cache of answers for the
// whole run, and a view of it per drawing checked.

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "catalog/PinCatalogue.h"
#include "zrdwg/OdString.h"

// The answers of the catalogue for a whole run: each code's pin rows and the
// codes that mate with it are asked of the database once, however many
// drawings use the code. The checks of several drawings running at once on
// several threads share it. The database is asked one statement at a time
// (its connection runs one); meanwhile answers already read are served to
// the other threads, and a thread that needs the answer being read waits
// for it. An answer, once read, never moves nor changes. A code's pin rows
// are parsed (zr::PinRows) once, as they are read, and every check gets
// the same.
//
// With read-ahead, pin rows asked for ahead of time (prefetch) are queued,
// and read together, many codes a statement, where the catalogue can
// (zr::PinCatalogue::LinhasPinosJuntas; their mating codes then too, by one
// more statement when the first of them is needed,
// zr::PinCatalogue::ContraPecasJuntas): on a thread of the run's own, in
// the order asked, while the checks go on reading their drawings (the
// codes queued while one statement runs are asked by the next; see also
// readMatesAhead); or, where the run may not take another thread, by the
// first check that needs a queued code, which reads it with the codes
// queued before it.
class RunCatalogue {
 public:
  // Whether, and where, the pin rows that checks will need are read ahead.
  enum class ReadAhead {
    kNone,      // prefetch declines: each code is asked when needed, alone
    kOnAsk,     // prefetch queues; a check that needs a queued code reads it, with the queue's head
    kOnThread,  // prefetch queues; a thread of the run's own reads the queue
  };

  // A code's answer, and whether the statement that read it failed (the
  // catalogue then shows an error and answers nothing).
  struct Answer {
    // Mating codes only: the codes.
    std::vector<OdString> items;
    // Pin rows only: the rows, parsed once for every check that uses them
    // (never null once ready); they keep each row's text as read.
    std::shared_ptr<const zr::PinRows> parsed;
    bool failed = false;
    bool ready = false;   // false while it is queued or being read
    bool queued = false;  // pin rows only: in the queue, nobody reading them yet
    // Pin rows read together only: the codes read with them, whose mating
    // codes are to be read together when the first is needed; null once
    // they are (or are being) read.
    std::shared_ptr<const std::vector<OdString>> matesBatch;
  };

  // inner: where the answers come from. errors: the number of catalogue
  // errors shown so far in the process (a failed statement shows one), or
  // null when failures need not be told apart from empty answers. Both must
  // outlive this object.
  // readAhead: whether and where prefetched rows are read (kOnThread only
  // where inner may be used, and its errors shown, from any thread).
  explicit RunCatalogue(zr::PinCatalogue& inner, const std::atomic<int>* errors = nullptr,
                        ReadAhead readAhead = ReadAhead::kNone);
  // Stops reading ahead: codes not yet read are left to be asked again.
  ~RunCatalogue();
  RunCatalogue(const RunCatalogue&) = delete;
  RunCatalogue& operator=(const RunCatalogue&) = delete;

  // Work that a check may do rather than wait for an answer another thread
  // is reading: called, without the catalogue's lock, by a check about to
  // wait; true when it did some (the check then looks again), false when
  // there is none (the check waits). It must not ask this catalogue. Set
  // before any check starts.
  void whileWaiting(std::function<bool()> work) { whileWaiting_ = std::move(work); }

  // With read-ahead on the thread: whether the thread, when no rows are
  // queued, reads the mating codes of the rows it read, before the checks
  // ask (which they do once they have compared their records, a statement
  // each batch that the other checks would wait for). Off by default: the
  // statements then run while the checks still hold their drawings, some
  // 300 KB more at a large drawing's peak. Set before any check starts.
  void readMatesAhead(bool on) { readMatesAhead_ = on; }

  // Has the pin rows of code read ahead, unless they are read or asked for
  // already: true when they will be (rows then reads or waits for them),
  // false without read-ahead.
  bool prefetch(const OdString& code);

  // The pin rows of code, parsed (as zr::PinCatalogue::LinhasPinos gives
  // them).
  const Answer& rows(const OdString& code);
  // The codes that mate with code. An error that the catalogue throws
  // reaches the caller, and nothing is kept: the next call asks again.
  const Answer& mates(const OdString& code);

 private:
  // An answer stays where it is while others are added: a reference to it
  // is held across the mutex's release, never an iterator (a rehash leaves
  // the elements in place but invalidates iterators).
  using Answers = std::unordered_map<std::u16string, Answer>;
  template <class Ask>
  const Answer& answer(Answers& answers, const OdString& code, Ask ask);
  // Reads one code's answer for its waiting entry in answers, which it
  // makes ready, or removes when the catalogue threw; pin rows
  // (answers is rows_) are parsed as well. Called without mutex_.
  template <class Ask>
  void read(Answers& answers, Answer& entry, const OdString& code, Ask ask, bool rethrow);
  // The read-ahead thread: reads the queued codes in turn, those queued
  // meanwhile together.
  void readAhead();
  // Takes from the queue the codes its next statement reads: first, when it
  // is queued, wanted (the code a check waits for), then the queue's head,
  // up to kCodesAStatement codes. Called with mutex_ held.
  std::vector<OdString> takeQueued(const OdString* wanted);
  // Reads the pin rows of codes taken from the queue (their entries in rows_
  // wait): by one statement when there are several and inner can, else
  // each by its own (read); read so, each keeps the codes read with it
  // (Answer::matesBatch). Called without mutex_.
  void readTogether(const std::vector<OdString>& codes);
  // When code's mating codes are not asked yet and its rows were read with
  // others: the codes of that batch whose mates nobody asked for, each now
  // with a waiting entry in mates_ (readMatesTogether reads them). Else
  // none. Called without mutex_.
  std::vector<OdString> takeMatesBatch(const OdString& code);
  // The codes of batch (rows read together) whose mating codes nobody has
  // taken yet, each now with a waiting entry in mates_. Called with mutex_
  // held.
  std::vector<OdString> takeMatesOf(const std::vector<OdString>& batch);
  // Reads the mating codes of codes taken (takeMatesBatch) by one
  // statement, where inner can, and makes their entries ready; else removes
  // the entries, for each code to be asked by itself. Called without mutex_.
  void readMatesTogether(const std::vector<OdString>& taken);

  zr::PinCatalogue& inner_;
  const std::atomic<int>* errors_;
  std::function<bool()> whileWaiting_;
  std::mutex mutex_;  // guards the maps and each answer's `ready`
  std::condition_variable read_;  // an answer became ready, or its reading failed
  std::mutex database_;  // held while a statement runs
  Answers rows_, mates_;
  // Read-ahead: the codes queued (their entries in rows_ wait; an entry no
  // longer queued was taken out of turn, and is passed over), the thread.
  const ReadAhead readAhead_;
  std::deque<OdString> queue_;
  // With readMatesAhead: the batches of rows read, whose mating codes the
  // thread reads when no rows are queued.
  bool readMatesAhead_ = false;
  std::deque<std::shared_ptr<const std::vector<OdString>>> matesAhead_;
  std::condition_variable queued_;
  bool stopping_ = false;
  // The most codes read ahead by one statement: the codes a check meets
  // while the one before runs are read together, so that the reading keeps
  // up with the check rather than spend most of its time starting
  // statements. A statement's rows are held whole until read (the
  // recordset, then a list per code): 200 codes a statement added 1.4 MB
  // to a large drawing's peak, 50 add 0.4 MB and take 3 % more time.
  static constexpr std::size_t kCodesAStatement = 50;
  // Answers read ahead since the checks waiting were last woken.
  static constexpr int kAnswersAWake = 16;
  int unannounced_ = 0;
  std::thread reader_;  // started by the first prefetch
};

// The catalogue as the check of one drawing reads it, from the run's: it
// remembers whether an answer it used came from a failed statement, so that
// a drawing is judged by its own codes, whatever was checked before it or
// beside it. Used by one thread at a time.
class CheckCatalogue : public zr::PinCatalogue {
 public:
  // run must outlive this object.
  explicit CheckCatalogue(RunCatalogue& run) : run_(run) {}
  std::unique_ptr<CStringList> LinhasPinos(const OdString& code) override;
  // The run's parsed rows of code, shared with every other check.
  std::shared_ptr<const zr::PinRows> Rows(const OdString& code) override;
  std::unique_ptr<CStringList> ContraPecas(const OdString& code) override;
  bool Prefetch(const OdString& code) override { return run_.prefetch(code); }

  // True when the code's pin rows are empty (asking for them if need be).
  bool unknownCode(const OdString& code);
  // The codes that mate with code (see RunCatalogue::mates).
  const std::vector<OdString>& mates(const OdString& code);
  // True when an answer this check used came from a failed statement.
  bool failed() const { return failed_; }

 private:
  const RunCatalogue::Answer& used(const RunCatalogue::Answer& answer);

  RunCatalogue& run_;
  bool failed_ = false;
};

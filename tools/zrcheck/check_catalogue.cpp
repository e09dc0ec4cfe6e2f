#include "check_catalogue.h"

#include "processor_spread.h"

namespace {

std::unique_ptr<CStringList> listOf(const std::vector<OdString>& items) {
  auto list = std::make_unique<CStringList>(10);
  for (const OdString& item : items) list->AddTail(CString(item.str()));
  return list;
}

std::unique_ptr<CStringList> listOf(const zr::PinRows& rows) {
  auto list = std::make_unique<CStringList>(10);
  for (std::size_t r = 0; r < rows.Size(); ++r) list->AddTail(CString(rows.Row(r)));
  return list;
}

std::vector<OdString> itemsOf(const std::unique_ptr<CStringList>& list) {
  std::vector<OdString> items;
  for (POSITION pos = list ? list->GetHeadPosition() : nullptr; pos;) items.emplace_back(list->GetNext(pos).str());
  return items;
}

}  // namespace

RunCatalogue::RunCatalogue(zr::PinCatalogue& inner, const std::atomic<int>* errors, ReadAhead readAhead)
    : inner_(inner), errors_(errors), readAhead_(readAhead) {}

RunCatalogue::~RunCatalogue() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  queued_.notify_all();
  if (reader_.joinable()) reader_.join();
}

template <class Ask>
void RunCatalogue::read(Answers& answers, Answer& entry, const OdString& code, Ask ask, bool rethrow) {
  Answer read;
  std::unique_ptr<CStringList> answer;
  try {
    {
      std::lock_guard<std::mutex> statement(database_);
      // Statements run one at a time, so an error shown meanwhile is this one's.
      const int before = errors_ ? errors_->load() : 0;
      answer = ask(code);
      read.failed = errors_ && errors_->load() != before;
    }
    if (&answers == &rows_)
      read.parsed = std::make_shared<const zr::PinRows>(answer.get());
    else
      read.items = itemsOf(answer);
  } catch (...) {
    // Nothing is kept: whoever needs the answer asks again.
    std::lock_guard<std::mutex> lock(mutex_);
    answers.erase(code.str());
    read_.notify_all();
    if (rethrow) throw;
    return;
  }
  std::lock_guard<std::mutex> lock(mutex_);
  entry.items = std::move(read.items);
  entry.parsed = std::move(read.parsed);
  entry.failed = read.failed;
  entry.ready = true;
  // Read ahead, the checks waiting are woken a few answers at a time, and
  // when the queue runs dry: a check that compares faster than the rows
  // come would otherwise be woken (a switch of threads each time) for
  // every code.
  if (rethrow || queue_.empty() || ++unannounced_ >= kAnswersAWake) {
    unannounced_ = 0;
    read_.notify_all();
  }
}

template <class Ask>
const RunCatalogue::Answer& RunCatalogue::answer(Answers& answers, const OdString& code, Ask ask) {
  std::unique_lock<std::mutex> lock(mutex_);
  auto it = answers.find(code.str());
  while (it != answers.end() && !it->second.ready) {
    if (whileWaiting_) {
      lock.unlock();
      const bool worked = whileWaiting_();
      lock.lock();
      // The answer may have come (and its wake-up gone by) while the lock
      // was let go: looked at again before any wait.
      it = answers.find(code.str());
      if (worked || it == answers.end() || it->second.ready) continue;
    }
    read_.wait(lock);
    it = answers.find(code.str());  // gone again when its reading failed
  }
  if (it != answers.end()) return it->second;
  Answer& entry = answers.emplace(code.str(), Answer{}).first->second;
  lock.unlock();
  read(answers, entry, code, ask, true);
  return entry;  // ready: nobody changes it any more
}

bool RunCatalogue::prefetch(const OdString& code) {
  if (readAhead_ == ReadAhead::kNone) return false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (rows_.count(code.str())) return true;  // read, being read or queued
    rows_.emplace(code.str(), Answer{}).first->second.queued = true;
    queue_.push_back(code);
    if (readAhead_ == ReadAhead::kOnAsk) return true;
    // Off the processor of the check that starts it, which goes on reading
    // its drawing.
    if (!reader_.joinable()) reader_ = helperThread([this] { readAhead(); });
  }
  queued_.notify_one();
  return true;
}

std::vector<OdString> RunCatalogue::takeQueued(const OdString* wanted) {
  std::vector<OdString> codes;
  if (wanted) {
    auto it = rows_.find(wanted->str());
    if (it == rows_.end() || !it->second.queued) return codes;
    it->second.queued = false;
    codes.push_back(*wanted);
  }
  while (!queue_.empty() && codes.size() < kCodesAStatement) {
    OdString code = std::move(queue_.front());
    queue_.pop_front();
    // Taken out of turn, and read (or gone again, when its reading threw).
    const auto entry = rows_.find(code.str());
    if (entry == rows_.end() || !entry->second.queued) continue;
    entry->second.queued = false;
    codes.push_back(std::move(code));
  }
  return codes;
}

void RunCatalogue::readAhead() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    queued_.wait(lock, [this] { return stopping_ || !queue_.empty() || !matesAhead_.empty(); });
    if (!stopping_ && queue_.empty()) {
      // No rows to read: the mating codes of rows read before, which the
      // checks ask for once they have compared their records (a check that
      // asked first would run the statement while the others wait for it).
      const std::shared_ptr<const std::vector<OdString>> batch = std::move(matesAhead_.front());
      matesAhead_.pop_front();
      std::vector<OdString> taken = takeMatesOf(*batch);
      lock.unlock();
      readMatesTogether(taken);
      lock.lock();
      continue;
    }
    if (stopping_) {
      // Codes still queued are asked again by whoever needs them.
      for (const OdString& code : queue_)
        if (auto it = rows_.find(code.str()); it != rows_.end() && it->second.queued) rows_.erase(it);
      queue_.clear();
      matesAhead_.clear();
      read_.notify_all();
      return;
    }
    const std::vector<OdString> codes = takeQueued(nullptr);
    if (codes.empty()) continue;
    lock.unlock();
    readTogether(codes);
    lock.lock();
  }
}

void RunCatalogue::readTogether(const std::vector<OdString>& codes) {
  std::vector<std::unique_ptr<CStringList>> lists;
  bool together = false;
  if (codes.size() > 1) {
    try {
      std::lock_guard<std::mutex> statement(database_);
      together = inner_.LinhasPinosJuntas(codes, lists) && lists.size() == codes.size();
    } catch (...) {
      together = false;  // each code is asked by itself below, which tells what failed
    }
  }
  if (!together) {
    for (const OdString& code : codes) {
      Answer* entry;
      {
        std::lock_guard<std::mutex> lock(mutex_);
        entry = &rows_.find(code.str())->second;
      }
      read(rows_, *entry, code, [this](const OdString& c) { return inner_.LinhasPinos(c); }, false);
    }
    return;
  }
  std::vector<std::shared_ptr<const zr::PinRows>> parsed;
  parsed.reserve(codes.size());
  for (const std::unique_ptr<CStringList>& list : lists) parsed.push_back(std::make_shared<const zr::PinRows>(list.get()));
  // Their mating codes are read together too, when the first of them is
  // needed (by then the checks that read these rows may have let their
  // drawings go).
  const auto batch = std::make_shared<const std::vector<OdString>>(codes);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    for (std::size_t c = 0; c < codes.size(); ++c) {
      Answer& answer = rows_.find(codes[c].str())->second;
      answer.parsed = std::move(parsed[c]);
      answer.matesBatch = batch;
      answer.ready = true;
    }
    unannounced_ = 0;
    if (readAhead_ == ReadAhead::kOnThread && readMatesAhead_) matesAhead_.push_back(batch);
  }
  read_.notify_all();
}

std::vector<OdString> RunCatalogue::takeMatesBatch(const OdString& code) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (mates_.count(code.str())) return {};  // read, being read, or asked alone
  const auto it = rows_.find(code.str());
  if (it == rows_.end() || !it->second.matesBatch) return {};
  const std::shared_ptr<const std::vector<OdString>> batch = it->second.matesBatch;
  return takeMatesOf(*batch);
}

std::vector<OdString> RunCatalogue::takeMatesOf(const std::vector<OdString>& batch) {
  std::vector<OdString> taken;
  for (const OdString& c : batch) {
    const auto rows = rows_.find(c.str());
    // Taken already, by a check or the reader: each batch is read once.
    if (rows == rows_.end() || !rows->second.matesBatch || rows->second.matesBatch.get() != &batch) continue;
    rows->second.matesBatch.reset();
    // The codes whose mates were asked meanwhile (each alone) are left out.
    if (mates_.emplace(c.str(), Answer{}).second) taken.push_back(c);
  }
  return taken;
}

void RunCatalogue::readMatesTogether(const std::vector<OdString>& asked) {
  if (asked.empty()) return;
  std::vector<std::unique_ptr<CStringList>> lists;
  bool together = false;
  try {
    std::lock_guard<std::mutex> statement(database_);
    together = inner_.ContraPecasJuntas(asked, lists) && lists.size() == asked.size();
  } catch (...) {
    together = false;
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    for (std::size_t c = 0; c < asked.size(); ++c) {
      const auto entry = mates_.find(asked[c].str());
      if (!together) {
        mates_.erase(entry);  // each asked by itself when needed, which tells what failed
        continue;
      }
      entry->second.items = itemsOf(lists[c]);
      entry->second.ready = true;
    }
  }
  read_.notify_all();
}

const RunCatalogue::Answer& RunCatalogue::rows(const OdString& code) {
  if (readAhead_ == ReadAhead::kOnAsk) {
    std::vector<OdString> codes;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      codes = takeQueued(&code);
    }
    if (!codes.empty()) readTogether(codes);
  }
  return answer(rows_, code, [this](const OdString& c) { return inner_.LinhasPinos(c); });
}

const RunCatalogue::Answer& RunCatalogue::mates(const OdString& code) {
  readMatesTogether(takeMatesBatch(code));
  return answer(mates_, code, [this](const OdString& c) { return inner_.ContraPecas(c); });
}

const RunCatalogue::Answer& CheckCatalogue::used(const RunCatalogue::Answer& answer) {
  failed_ = failed_ || answer.failed;
  return answer;
}

std::unique_ptr<CStringList> CheckCatalogue::LinhasPinos(const OdString& code) {
  return listOf(*used(run_.rows(code)).parsed);
}

std::shared_ptr<const zr::PinRows> CheckCatalogue::Rows(const OdString& code) {
  return used(run_.rows(code)).parsed;
}

std::unique_ptr<CStringList> CheckCatalogue::ContraPecas(const OdString& code) { return listOf(mates(code)); }

const std::vector<OdString>& CheckCatalogue::mates(const OdString& code) { return used(run_.mates(code)).items; }

bool CheckCatalogue::unknownCode(const OdString& code) { return used(run_.rows(code)).parsed->Size() == 0; }

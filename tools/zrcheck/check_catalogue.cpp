#include "check_catalogue.h"

namespace {

std::unique_ptr<CStringList> listOf(const std::vector<OdString>& items) {
  auto list = std::make_unique<CStringList>(10);
  for (const OdString& item : items) list->AddTail(CString(item.str()));
  return list;
}

std::vector<OdString> itemsOf(const std::unique_ptr<CStringList>& list) {
  std::vector<OdString> items;
  for (POSITION pos = list ? list->GetHeadPosition() : nullptr; pos;) items.emplace_back(list->GetNext(pos).str());
  return items;
}

}  // namespace

RunCatalogue::RunCatalogue(zr::PinCatalogue& inner, const std::atomic<int>* errors)
    : inner_(inner), errors_(errors) {}

template <class Ask>
const RunCatalogue::Answer& RunCatalogue::answer(Answers& answers, const OdString& code, Ask ask) {
  std::unique_lock<std::mutex> lock(mutex_);
  auto it = answers.find(code.str());
  while (it != answers.end() && !it->second.ready) {
    read_.wait(lock);
    it = answers.find(code.str());  // gone again when its reading failed
  }
  if (it != answers.end()) return it->second;
  it = answers.emplace(code.str(), Answer{}).first;
  lock.unlock();
  Answer read;
  try {
    std::lock_guard<std::mutex> statement(database_);
    // Statements run one at a time, so an error shown meanwhile is this one's.
    const int before = errors_ ? errors_->load() : 0;
    read.items = itemsOf(ask(code));
    read.failed = errors_ && errors_->load() != before;
  } catch (...) {
    lock.lock();
    answers.erase(it);
    read_.notify_all();
    throw;
  }
  lock.lock();
  it->second.items = std::move(read.items);
  it->second.failed = read.failed;
  it->second.ready = true;
  read_.notify_all();
  return it->second;
}

const RunCatalogue::Answer& RunCatalogue::rows(const OdString& code) {
  return answer(rows_, code, [this](const OdString& c) { return inner_.LinhasPinos(c); });
}

const RunCatalogue::Answer& RunCatalogue::mates(const OdString& code) {
  return answer(mates_, code, [this](const OdString& c) { return inner_.ContraPecas(c); });
}

const RunCatalogue::Answer& CheckCatalogue::used(const RunCatalogue::Answer& answer) {
  failed_ = failed_ || answer.failed;
  return answer;
}

std::unique_ptr<CStringList> CheckCatalogue::LinhasPinos(const OdString& code) {
  return listOf(used(run_.rows(code)).items);
}

std::unique_ptr<CStringList> CheckCatalogue::ContraPecas(const OdString& code) { return listOf(mates(code)); }

const std::vector<OdString>& CheckCatalogue::mates(const OdString& code) { return used(run_.mates(code)).items; }

bool CheckCatalogue::unknownCode(const OdString& code) { return used(run_.rows(code)).items.empty(); }

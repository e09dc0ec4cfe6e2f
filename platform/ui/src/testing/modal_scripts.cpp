// Modal scripts: one-off actions that the next modal loops run when they are
// first idle. The modal loop knows them only through the action source hook,
// installed here the first time a script is queued.
#include <deque>
#include <mutex>

#include "core/hooks.h"
#include "zrui/testing.h"

namespace zrui {
namespace {

std::mutex g_scriptMutex;
std::deque<ModalScript>& scripts() {
  static auto* d = new std::deque<ModalScript>;
  return *d;
}

std::function<void(HWND)> TakeScript() {
  std::lock_guard lock(g_scriptMutex);
  if (scripts().empty()) return nullptr;
  ModalScript s = std::move(scripts().front());
  scripts().pop_front();
  return s;
}

}  // namespace

void OnNextModal(ModalScript script) {
  detail::SetModalActionSource(&TakeScript);
  std::lock_guard lock(g_scriptMutex);
  scripts().push_back(std::move(script));
}

size_t PendingModalScripts() {
  std::lock_guard lock(g_scriptMutex);
  return scripts().size();
}

void ClearModalScripts() {
  std::lock_guard lock(g_scriptMutex);
  scripts().clear();
}

}  // namespace zrui

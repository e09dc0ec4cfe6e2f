// The screen's change counter and the descriptor that wakes a front end
// when it moves (see zrui::ScreenChangeDescriptor).
#include <sys/eventfd.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>

#include "core/window_store.h"

namespace zrui::detail {

namespace {

std::atomic<unsigned long long> g_screenGeneration{0};
// True while nobody has been told of a change since the last arming: only the
// first change writes, so a burst of invalidations costs one write.
std::atomic<bool> g_armed{true};

}  // namespace

int ScreenChangeFd() {
  static const int fd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  return fd;
}

void NoteScreenChange() {
  g_screenGeneration.fetch_add(1, std::memory_order_relaxed);
  if (g_armed.exchange(false, std::memory_order_acq_rel)) {
    const std::uint64_t one = 1;
    // Nothing to do when it fails: the counter is at its limit, so the
    // descriptor is readable anyway.
    [[maybe_unused]] const ssize_t n = write(ScreenChangeFd(), &one, sizeof one);
  }
}

unsigned long long ScreenGeneration() { return g_screenGeneration.load(std::memory_order_relaxed); }

void ArmScreenChange() {
  // Drained before arming: a change in between finds the descriptor unarmed
  // and writes nothing, but the caller updates after this call and sees it;
  // every change after the arming writes.
  std::uint64_t value = 0;
  [[maybe_unused]] const ssize_t n = read(ScreenChangeFd(), &value, sizeof value);
  g_armed.store(true, std::memory_order_release);
}

}  // namespace zrui::detail

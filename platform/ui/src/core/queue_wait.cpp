// Waiting for the thread's next event: messages posted or sent to it, due
// timers, and the descriptors a front end watches. Without watched
// descriptors the wait sleeps on the queue's condition variable; with them it
// polls them together with the queue's eventfd, which every post, send and
// quit from any thread writes.
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <vector>

#include "core/message_queue.h"
#include "zrui/eventloop.h"

namespace zrui::detail {
namespace {

struct Watch {
  int id = 0;
  int fd = -1;
  short events = 0;
  DescriptorCallback callback;
};

std::atomic<int> g_nextWatchId{1};
thread_local std::vector<Watch> tl_watches;

bool Ready(const ThreadQueue& q) { return !q.posted.empty() || !q.sent.empty() || q.quit; }

std::chrono::steady_clock::time_point Deadline(const ThreadQueue& q, std::chrono::milliseconds timeout) {
  auto deadline = std::chrono::steady_clock::time_point::max();
  if (timeout.count() >= 0) deadline = std::chrono::steady_clock::now() + timeout;
  for (const Timer& t : q.timers) deadline = std::min(deadline, t.due);
  return deadline;
}

// Milliseconds for poll(2), rounded up so that a timer is due on waking.
int PollTimeout(std::chrono::steady_clock::time_point deadline) {
  if (deadline == std::chrono::steady_clock::time_point::max()) return -1;
  auto left = deadline - std::chrono::steady_clock::now();
  if (left <= std::chrono::steady_clock::duration::zero()) return 0;
  auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
  return static_cast<int>(std::min<long long>(ms, 1 << 30));
}

bool WaitOnCondition(ThreadQueue& q, std::chrono::milliseconds timeout) {
  std::unique_lock lock(q.m);
  auto ready = [&] { return Ready(q); };
  auto deadline = Deadline(q, timeout);
  if (deadline == std::chrono::steady_clock::time_point::max()) {
    q.cv.wait(lock, ready);
    return true;
  }
  return q.cv.wait_until(lock, deadline, ready);
}

// Runs the callbacks of the ready descriptors. A callback may change the
// watches, so each is looked up again by id before it runs.
void RunReadyCallbacks(const std::vector<pollfd>& fds, const std::vector<int>& ids) {
  for (size_t i = 0; i < ids.size(); ++i) {
    short revents = fds[i + 1].revents;
    if (!revents) continue;
    auto it = std::find_if(tl_watches.begin(), tl_watches.end(), [&](const Watch& w) { return w.id == ids[i]; });
    if (it == tl_watches.end()) continue;
    DescriptorCallback cb = it->callback;  // a copy: the watch may go away inside
    cb(it->fd, revents);
  }
}

bool WaitPolling(ThreadQueue& q, std::chrono::milliseconds timeout) {
  int wake;
  std::chrono::steady_clock::time_point deadline;
  {
    std::lock_guard lock(q.m);
    if (q.wakeFd < 0) q.wakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    // Anything queued before this point is seen here; anything after writes
    // the eventfd, so the poll below cannot miss it.
    if (Ready(q)) return true;
    wake = q.wakeFd;
    deadline = Deadline(q, timeout);
  }
  std::vector<pollfd> fds;
  std::vector<int> ids;
  fds.push_back(pollfd{wake, POLLIN, 0});
  for (const Watch& w : tl_watches) {
    fds.push_back(pollfd{w.fd, w.events, 0});
    ids.push_back(w.id);
  }
  int n = poll(fds.data(), fds.size(), PollTimeout(deadline));
  if (n > 0) {
    if (fds[0].revents & POLLIN) {
      uint64_t count;
      while (read(wake, &count, sizeof count) > 0) {
      }
    }
    RunReadyCallbacks(fds, ids);
  }
  return HasPendingMessages();
}

}  // namespace

ThreadQueue::~ThreadQueue() {
  if (wakeFd >= 0) close(wakeFd);
}

void WakeQueue(ThreadQueue& q) {
  int fd;
  {
    std::lock_guard lock(q.m);
    fd = q.wakeFd;
  }
  q.cv.notify_all();
  if (fd >= 0) {
    uint64_t one = 1;
    // A full counter already wakes the waiter; nothing to do on EAGAIN.
    [[maybe_unused]] ssize_t r = write(fd, &one, sizeof one);
  }
}

bool WaitForMessage(std::chrono::milliseconds timeout) {
  auto q = CurrentQueue();
  if (tl_watches.empty()) return WaitOnCondition(*q, timeout);
  return WaitPolling(*q, timeout);
}

}  // namespace zrui::detail

namespace zrui {

using detail::tl_watches;

int WatchDescriptor(int fd, short events, DescriptorCallback callback) {
  int id = detail::g_nextWatchId++;
  tl_watches.push_back(detail::Watch{id, fd, events, std::move(callback)});
  return id;
}

void UnwatchDescriptor(int watchId) {
  std::erase_if(tl_watches, [watchId](const detail::Watch& w) { return w.id == watchId; });
}

size_t WatchedDescriptorCount() { return tl_watches.size(); }

}  // namespace zrui

// Per-thread message queues: posted messages, messages sent from other
// threads (delivered when the owner pumps), timers and the input state that
// travels with queued keyboard and mouse messages.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "zrui/winapi.h"

namespace zrui::detail {

struct ThreadQueue;

// A message sent across threads; `done` and `result` are guarded by the
// sender's queue mutex.
struct SentCall {
  HWND h = nullptr;
  UINT msg = 0;
  WPARAM w = 0;
  LPARAM l = 0;
  LRESULT result = 0;
  bool done = false;
  std::shared_ptr<ThreadQueue> sender;
};

// Modifier bits carried by queued input messages.
constexpr BYTE kModShift = 1;
constexpr BYTE kModControl = 2;
constexpr BYTE kModAlt = 4;

struct QueuedMsg {
  MSG msg;
  BYTE mods = 0;
  bool input = false;
  // Keyboard input: goes to the window that has the focus (else the active
  // window) when it is taken from the queue, as a press queued before it may
  // move the focus. Dropped when there is none.
  bool toFocus = false;
};

struct Timer {
  HWND h = nullptr;
  UINT_PTR id = 0;
  std::chrono::milliseconds interval{0};
  std::chrono::steady_clock::time_point due;
};

struct ThreadQueue {
  ThreadQueue() = default;
  ThreadQueue(const ThreadQueue&) = delete;
  ThreadQueue& operator=(const ThreadQueue&) = delete;
  ~ThreadQueue();
  std::mutex m;
  std::condition_variable cv;
  std::deque<QueuedMsg> posted;
  std::deque<std::shared_ptr<SentCall>> sent;
  bool quit = false;
  int quitCode = 0;
  std::vector<Timer> timers;  // only touched by the owning thread
  // An eventfd written whenever something arrives, so that a wait that
  // polls descriptors wakes too. Made by the owner's first such wait (-1
  // before); guarded by m, closed with the queue.
  int wakeFd = -1;
};

// Wakes the queue's owner: its condition variable, and its eventfd when it
// has one. Call after adding to the queue, without holding q.m.
void WakeQueue(ThreadQueue& q);

std::shared_ptr<ThreadQueue> QueueOf(std::thread::id id);
std::shared_ptr<ThreadQueue> CurrentQueue();

// Delivers every message that other threads sent to this thread.
void ProcessSentMessages();
LRESULT SendAcrossThreads(std::thread::id target, HWND h, UINT msg, WPARAM w, LPARAM l);
BOOL PostToThread(std::thread::id target, const QueuedMsg& qm);
// Posts an input message with the modifier state it was produced with.
BOOL PostInput(HWND h, UINT msg, WPARAM w, LPARAM l, BYTE mods);
// Posts keyboard input to this thread, for its focus at the time the
// message is taken from the queue.
BOOL PostKeyboardInput(UINT msg, WPARAM w, LPARAM l, BYTE mods);
// Waits until a message arrives, a timer is due, a watched descriptor is
// ready (its callback then runs here) or the timeout passes (negative =
// forever). Returns true when something is pending.
bool WaitForMessage(std::chrono::milliseconds timeout);
bool HasPendingMessages();
BYTE CurrentModifiers();
// The MK_ button flags of the last mouse message taken from the queue.
WPARAM CurrentMouseButtons();
void KillTimersOf(HWND h);
void SetCurrentModifiers(BYTE mods);

}  // namespace zrui::detail

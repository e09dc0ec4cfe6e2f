#pragma once
// Runs part of a test in a forked child: for cases that need another user
// (root reads and writes any file, so permission failures only show for an
// unprivileged user) or a process that may die (limits, signals).

#include <functional>
#include <string>

namespace testing_support {

struct ChildOutcome {
  bool exited = false;  // ended by _exit, not by a signal
  std::string text;     // what the child's body returned
};

// Runs body in a forked child and returns what it reported. The child never
// returns into the test framework.
ChildOutcome runInChild(const std::function<std::string()>& body);

// In a child: gives up root for the unprivileged user "nobody" (uid and gid
// 65534), so that permissions apply. Empty when done, else why not.
std::string becomeUnprivileged();

// Runs body as the unprivileged user in a child. The text starts with
// "skip: " when the child could not give up root.
ChildOutcome runUnprivileged(const std::function<std::string()>& body);

constexpr unsigned kUnprivilegedId = 65534;

}  // namespace testing_support

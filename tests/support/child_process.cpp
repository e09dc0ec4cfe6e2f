#include "child_process.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace testing_support {

ChildOutcome runInChild(const std::function<std::string()>& body) {
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) return {false, std::string("pipe failed: ") + std::strerror(errno)};
  const pid_t pid = ::fork();
  if (pid < 0) return {false, std::string("fork failed: ") + std::strerror(errno)};
  if (pid == 0) {
    ::close(pipeFds[0]);
    const std::string text = body();
    (void)!::write(pipeFds[1], text.data(), text.size());
    ::_exit(0);
  }
  ::close(pipeFds[1]);
  ChildOutcome outcome;
  char buffer[4096];
  for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;)
    outcome.text.append(buffer, static_cast<std::size_t>(n));
  ::close(pipeFds[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  outcome.exited = WIFEXITED(status);
  return outcome;
}

std::string becomeUnprivileged() {
  if (::setgroups(0, nullptr) != 0 || ::setgid(kUnprivilegedId) != 0 || ::setuid(kUnprivilegedId) != 0)
    return std::string("cannot become an unprivileged user: ") + std::strerror(errno);
  return {};
}

ChildOutcome runUnprivileged(const std::function<std::string()>& body) {
  return runInChild([&] {
    const std::string refused = becomeUnprivileged();
    return refused.empty() ? body() : "skip: " + refused;
  });
}

}  // namespace testing_support

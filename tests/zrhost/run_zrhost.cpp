#include "run_zrhost.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <stdexcept>

#include "temp_dir.h"

extern char** environ;

namespace zrhost_testing {

Outcome runZrhost(const std::string& folder, const Invocation& invocation) {
  const std::string inPath = folder + "/.stdin", outPath = folder + "/.stdout", errPath = folder + "/.stderr";
  testing_support::writeFile(inPath, invocation.input);

  std::vector<std::string> args;
  // setpriv drops the privileges and then runs the program in its place.
  if (invocation.unprivileged) args = {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--"};
  args.push_back(ZRHOST_PROGRAM);
  args.insert(args.end(), invocation.args.begin(), invocation.args.end());
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    const std::string name = entry.substr(0, entry.find('='));
    if (name != "ZRHOST_MODULE" && name != "HOME" && !invocation.env.count(name)) env.push_back(entry);
  }
  env.push_back("HOME=" + folder);
  for (const auto& [name, value] : invocation.env) env.push_back(name + "=" + value);
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, inPath.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) throw std::runtime_error(std::string("cannot start zrhost: ") + std::strerror(spawned));

  int wstatus = 0;
  while (waitpid(pid, &wstatus, 0) < 0) {
    if (errno != EINTR) throw std::runtime_error(std::string("waitpid: ") + std::strerror(errno));
  }
  Outcome outcome;
  outcome.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
  outcome.out = testing_support::readFile(outPath);
  outcome.err = testing_support::readFile(errPath);
  return outcome;
}

Outcome runWithTestModule(const std::string& folder, std::vector<std::string> args, const std::string& input) {
  Invocation invocation;
  invocation.args = {"--module", ZRHOST_TEST_MODULE};
  invocation.args.insert(invocation.args.end(), args.begin(), args.end());
  invocation.input = input;
  return runZrhost(folder, invocation);
}

std::string describe(const Outcome& outcome) {
  return "exit status " + std::to_string(outcome.status) + "\n--- stdout:\n" + outcome.out + "--- stderr:\n" +
         outcome.err;
}

}  // namespace zrhost_testing

#include "tmux_terminal.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace testing_support {

namespace {

// Quotes a word for sh.
std::string quoted(const std::string& word) {
  std::string q = "'";
  for (char c : word) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// Runs a command line through sh; its standard output, and whether it
// succeeded.
std::string run(const std::string& line, bool* ok) {
  std::string out;
  FILE* pipe = popen(line.c_str(), "r");
  if (!pipe) {
    *ok = false;
    return out;
  }
  std::array<char, 4096> buffer{};
  std::size_t n = 0;
  while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) out.append(buffer.data(), n);
  const int status = pclose(pipe);
  *ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return out;
}

template <typename Pred>
bool poll(double seconds, Pred done) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  for (;;) {
    if (done()) return true;
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(40));
  }
}

std::string readAll(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

bool TmuxTerminal::available() {
  bool ok = false;
  run("tmux -V >/dev/null 2>&1", &ok);
  return ok;
}

TmuxTerminal::TmuxTerminal(const std::vector<std::string>& command, const std::string& folder, int columns,
                           int rows, const std::map<std::string, std::string>& env, const std::string& term,
                           bool jobControl)
    : folder_(folder), statusFile_(folder + "/.tmux-status") {
  // A server of its own per terminal: a socket just given up may still be
  // in use by the server that is ending.
  static int serial = 0;
  socket_ = folder + "/.tmux-" + std::to_string(getpid()) + "-" + std::to_string(++serial);
  std::remove(statusFile_.c_str());
  std::remove((folder + "/.tmux-stopped-stty").c_str());
  // The program runs under sh, which writes its exit status and the
  // terminal's modes when it ends, then stays so that the screen can be read.
  std::string line;
  for (const auto& [name, value] : env) line += name + "=" + quoted(value) + " ";
  line += "TERM=" + quoted(term) + " ";
  for (const std::string& word : command) line += quoted(word) + " ";
  // Keys such as Ctrl-C signal the whole foreground group, sh included; sh
  // catches them (a handler, so that the program starts with the default).
  // With job control, a stopped job leaves the shell waiting for the test
  // to resume it (status 148: stopped by SIGTSTP).
  const std::string run = jobControl ? "set -m; " + line + "; s=$?; while [ $s -eq 148 ]; do stty -a > " +
                                           quoted(folder + "/.tmux-stopped-stty") + "; while [ ! -e " +
                                           quoted(folder + "/.tmux-resume") + " ]; do sleep 0.05; done; rm -f " +
                                           quoted(folder + "/.tmux-resume") + "; fg >/dev/null; s=$?; done"
                                     : line + "; s=$?";
  const std::string script = "trap : INT QUIT; cd " + quoted(folder) + " && " + run + "; stty -a > " +
                             quoted(folder + "/.tmux-stty") + " 2>&1; echo $s > " + quoted(statusFile_) +
                             ".tmp && mv " + quoted(statusFile_) + ".tmp " + quoted(statusFile_) +
                             "; exec sleep 3600";
  tmux({"-f", "/dev/null", "new-session", "-d", "-x", std::to_string(columns), "-y", std::to_string(rows),
        jobControl ? "bash" : "sh", "-c", script});
  tmux({"set-option", "-g", "status", "off"});
  tmux({"resize-window", "-x", std::to_string(columns), "-y", std::to_string(rows)});
}

TmuxTerminal::~TmuxTerminal() { tmux({"kill-server"}, false); }

std::string TmuxTerminal::tmux(const std::vector<std::string>& args, bool check) const {
  // The tmux client needs a terminal type of its own, also where the tests
  // run without one (CI).
  std::string line = "TERM=xterm-256color tmux -S " + quoted(socket_);
  for (const std::string& a : args) line += " " + quoted(a);
  line += " 2>&1";
  bool ok = false;
  std::string out = run(line, &ok);
  if (check && !ok) throw std::runtime_error("tmux failed: " + line + ": " + out);
  return out;
}

void TmuxTerminal::keys(const std::vector<std::string>& names) {
  std::vector<std::string> args{"send-keys", "-t", "0"};
  args.insert(args.end(), names.begin(), names.end());
  tmux(args);
}

void TmuxTerminal::type(const std::string& text) { tmux({"send-keys", "-t", "0", "-l", text}); }

void TmuxTerminal::raw(const std::string& bytes) {
  std::vector<std::string> args{"send-keys", "-t", "0", "-H"};
  char hex[3];
  for (unsigned char c : bytes) {
    std::snprintf(hex, sizeof hex, "%02x", c);
    args.emplace_back(hex);
  }
  tmux(args);
}

std::string TmuxTerminal::screen(bool escapes) const {
  std::vector<std::string> args{"capture-pane", "-p", "-t", "0"};
  if (escapes) args.push_back("-e");
  std::string text = tmux(args, false);
  // Trailing blank lines are no part of what a person reads.
  while (text.size() >= 2 && text[text.size() - 1] == '\n' && text[text.size() - 2] == '\n') text.pop_back();
  return text;
}

void TmuxTerminal::recordOutput(const std::string& path) {
  tmux({"pipe-pane", "-o", "-t", "0", "cat >> " + quoted(path)});
}

std::pair<int, int> TmuxTerminal::cursor() const {
  const std::string text = tmux({"display-message", "-p", "-t", "0", "#{cursor_flag} #{cursor_x} #{cursor_y}"}, false);
  std::istringstream in(text);
  int visible = 0, x = -1, y = -1;
  in >> visible >> x >> y;
  return visible ? std::make_pair(x, y) : std::make_pair(-1, -1);
}

bool TmuxTerminal::waitFor(const std::string& text, double seconds) const {
  return poll(seconds, [&] { return screen().find(text) != std::string::npos; });
}

bool TmuxTerminal::waitForGone(const std::string& text, double seconds) const {
  return poll(seconds, [&] { return screen().find(text) == std::string::npos; });
}

std::optional<int> TmuxTerminal::waitForExit(double seconds) const {
  std::optional<int> status;
  poll(seconds, [&] {
    const std::string text = readAll(statusFile_);
    if (text.empty()) return false;
    status = std::stoi(text);
    return true;
  });
  return status;
}

int TmuxTerminal::pid() const {
  // The pane runs sh, whose child is the program.
  const std::string shell = tmux({"display-message", "-p", "-t", "0", "#{pane_pid}"}, false);
  bool ok = false;
  const std::string child = run("pgrep -P " + std::to_string(std::atoi(shell.c_str())) + " | head -1", &ok);
  const int id = std::atoi(child.c_str());
  if (id <= 0 || !readAll(statusFile_).empty()) return 0;
  return id;
}

void TmuxTerminal::resize(int columns, int rows) {
  tmux({"resize-window", "-t", "0", "-x", std::to_string(columns), "-y", std::to_string(rows)});
}

std::string TmuxTerminal::sttyAfterExit() const { return readAll(folder_ + "/.tmux-stty"); }

std::string TmuxTerminal::sttyWhileStopped() const { return readAll(folder_ + "/.tmux-stopped-stty"); }

void TmuxTerminal::resumeJob() {
  std::remove((folder_ + "/.tmux-stopped-stty").c_str());
  std::ofstream(folder_ + "/.tmux-resume") << "resume\n";
}

}  // namespace testing_support

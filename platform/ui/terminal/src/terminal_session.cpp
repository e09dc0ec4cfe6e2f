#include "zrterm/terminal_session.h"

#include <fcntl.h>
#include <ncursesw/curses.h>
#include <ncursesw/term.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

namespace zrterm {

namespace {

// State the signal handlers read: set up before any handler is installed.
std::atomic<bool> active{false};
termios savedModes{};
// Leaving the alternate screen wipes it first: a terminal resized while the
// session ran may carry rows of that screen over to the console's own
// (tmux pulls them back into view), and blank rows carry nothing.
std::string leaveScreenSequence;  // clear, then leave the alternate screen
std::string resetSequence;        // mouse off, colours off, cursor on
int wakePipe[2] = {-1, -1};
std::atomic<bool> resumed{false};
std::atomic<bool> interrupted{false};
std::atomic<bool> resized{false};
struct sigaction previousActions[NSIG];
struct sigaction cursesWindowChange {};  // what newterm put in place, if anything
std::terminate_handler previousTerminate = nullptr;

constexpr int kLeavingSignals[] = {SIGTERM, SIGHUP, SIGQUIT};

void writeRaw(const std::string& bytes) {
  if (!bytes.empty()) [[maybe_unused]] ssize_t n = write(STDOUT_FILENO, bytes.data(), bytes.size());
}

// Async-signal-safe: termios and raw writes only. leaveScreen when curses
// has not left the alternate screen itself.
void restoreTerminalNow(bool leaveScreen) {
  if (leaveScreen) writeRaw(leaveScreenSequence);
  writeRaw(resetSequence);
  tcsetattr(STDIN_FILENO, TCSADRAIN, &savedModes);
}

// Through curses, before endwin leaves the alternate screen.
void wipeAlternateScreen() {
  if (leaveScreenSequence.empty()) return;
  clear();
  refresh();
}

void wake() {
  const char byte = 'w';
  [[maybe_unused]] ssize_t n = write(wakePipe[1], &byte, 1);
}

void onLeavingSignal(int signal) {
  if (active.exchange(false)) restoreTerminalNow(true);
  sigaction(signal, &previousActions[signal], nullptr);
  raise(signal);
}

void onInterrupt(int) {
  interrupted = true;
  wake();
}

void onSuspend(int) {
  const int saved = errno;
  if (active) restoreTerminalNow(true);
  struct sigaction stop {};
  stop.sa_handler = SIG_DFL;
  sigemptyset(&stop.sa_mask);
  sigaction(SIGTSTP, &stop, nullptr);
  sigset_t unblock;
  sigemptyset(&unblock);
  sigaddset(&unblock, SIGTSTP);
  sigprocmask(SIG_UNBLOCK, &unblock, nullptr);
  raise(SIGTSTP);
  // Running again.
  struct sigaction again {};
  again.sa_handler = onSuspend;
  sigemptyset(&again.sa_mask);
  sigaction(SIGTSTP, &again, nullptr);
  resumed = true;
  wake();
  errno = saved;
}

// curses' own handler (it notes the new size for its next read), then ours:
// the owner's loop waits on descriptors, and a signal alone would not wake it.
void onWindowChange(int signal) {
  const int saved = errno;
  const struct sigaction& curses = cursesWindowChange;
  if (!(curses.sa_flags & SA_SIGINFO) && curses.sa_handler != SIG_DFL && curses.sa_handler != SIG_IGN)
    curses.sa_handler(signal);
  resized = true;
  wake();
  errno = saved;
}

void onContinue(int) {
  // A stop that did not pass through onSuspend (SIGSTOP) also leaves the
  // screen to redraw.
  resumed = true;
  wake();
}

void restoreAtExit() {
  if (active.exchange(false)) {
    wipeAlternateScreen();
    endwin();
    restoreTerminalNow(false);
  }
}

[[noreturn]] void restoreOnTerminate() {
  restoreAtExit();
  if (previousTerminate) previousTerminate();
  std::abort();
}

// The handlers of the process before the session (curses puts its own in
// place of default ones: a signal passed on must reach the process's own).
void rememberPrevious(int signal) { sigaction(signal, nullptr, &previousActions[signal]); }

void install(int signal, void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(signal, &action, nullptr);
}

std::string capability(const char* name) {
  const char* value = tigetstr(name);
  return value && value != reinterpret_cast<const char*>(-1) ? value : "";
}

}  // namespace

bool TerminalSession::available() { return isatty(STDIN_FILENO) == 1 && isatty(STDOUT_FILENO) == 1; }

TerminalSession::TerminalSession() {
  if (!available()) throw NoTerminal("standard input and output are not a terminal");
  if (active) throw NoTerminal("the terminal is already in use by a session");
  tcgetattr(STDIN_FILENO, &savedModes);
  if (wakePipe[0] < 0) {
    if (pipe(wakePipe) != 0) throw NoTerminal(std::string("no pipe: ") + std::strerror(errno));
    fcntl(wakePipe[0], F_SETFL, O_NONBLOCK);
    fcntl(wakePipe[1], F_SETFL, O_NONBLOCK);
    fcntl(wakePipe[0], F_SETFD, FD_CLOEXEC);
    fcntl(wakePipe[1], F_SETFD, FD_CLOEXEC);
  }
  for (int s : kLeavingSignals) rememberPrevious(s);
  for (int s : {SIGINT, SIGTSTP, SIGCONT, SIGWINCH}) rememberPrevious(s);
  // The size from the terminal itself: LINES and COLUMNS in the environment
  // (readline sets them at the console) may be older than the last resize.
  use_env(TRUE);
  use_tioctl(TRUE);
  // Escape alone must not wait a second to be told from Alt+key.
  set_escdelay(25);
  SCREEN* screen = newterm(nullptr, stdout, stdin);
  screen_ = screen;
  if (!screen) {
    throw NoTerminal(std::string("curses cannot drive the terminal \"") + (std::getenv("TERM") ? std::getenv("TERM") : "") + "\"");
  }
  raw();
  noecho();
  nonl();
  keypad(stdscr, TRUE);
  // Home and End as terminals send them whatever their description says.
  for (const char* home : {"\033[1~", "\033[7~", "\033[H", "\033OH"}) define_key(home, KEY_HOME);
  for (const char* end : {"\033[4~", "\033[8~", "\033[F", "\033OF"}) define_key(end, KEY_END);
  nodelay(stdscr, TRUE);
  curs_set(0);
  // curses notes a new size in its own handler (when it installed one):
  // ours calls it first.
  sigaction(SIGWINCH, nullptr, &cursesWindowChange);
  if (cursesWindowChange.sa_handler == previousActions[SIGWINCH].sa_handler) cursesWindowChange.sa_handler = SIG_DFL;
  int colours = 0;
  if (has_colors()) {
    start_color();
    use_default_colors();
    colours = COLORS;
  }
  painter_ = std::make_unique<ScreenPainter>(chooseDepth(std::getenv("NO_COLOR"), colours));
  mouseinterval(0);
  mousemask(BUTTON1_PRESSED | BUTTON1_RELEASED | BUTTON2_PRESSED | BUTTON2_RELEASED | BUTTON3_PRESSED |
                BUTTON3_RELEASED | BUTTON4_PRESSED | BUTTON5_PRESSED | REPORT_MOUSE_POSITION | BUTTON_SHIFT |
                BUTTON_CTRL | BUTTON_ALT,
            nullptr);
  // Button-event tracking (1002): moves are reported while a button is held,
  // which is what dragging a frame needs.
  std::fputs("\033[?1002h", stdout);
  std::fflush(stdout);
  const std::string leave = capability("rmcup");
  leaveScreenSequence = leave.empty() ? "" : capability("clear") + leave;
  resetSequence = "\033[?1002l\033[?1000l\033[?1006l" + capability("sgr0") + capability("cnorm");
  resumed = false;
  interrupted = false;
  resized = false;
  active = true;
  for (int s : kLeavingSignals) install(s, onLeavingSignal);
  install(SIGINT, onInterrupt);
  install(SIGTSTP, onSuspend);
  install(SIGCONT, onContinue);
  install(SIGWINCH, onWindowChange);
  static bool registered = false;
  if (!registered) {
    std::atexit(restoreAtExit);
    registered = true;
  }
  previousTerminate = std::set_terminate(restoreOnTerminate);
}

TerminalSession::~TerminalSession() {
  for (int s : kLeavingSignals) sigaction(s, &previousActions[s], nullptr);
  for (int s : {SIGINT, SIGTSTP, SIGCONT, SIGWINCH}) sigaction(s, &previousActions[s], nullptr);
  std::set_terminate(previousTerminate);
  if (active.exchange(false)) {
    std::fputs("\033[?1002l", stdout);
    std::fflush(stdout);
    mousemask(0, nullptr);
    wipeAlternateScreen();
    endwin();
    tcsetattr(STDIN_FILENO, TCSADRAIN, &savedModes);
  }
  delscreen(static_cast<SCREEN*>(screen_));
}

int TerminalSession::inputDescriptor() const { return STDIN_FILENO; }

int TerminalSession::wakeDescriptor() const { return wakePipe[0]; }

Size TerminalSession::size() const { return {COLS, LINES}; }

bool TerminalSession::syncSize() {
  winsize w{};
  if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &w) != 0 || w.ws_col == 0 || w.ws_row == 0) return false;
  if (w.ws_col == COLS && w.ws_row == LINES) return false;
  resize_term(w.ws_row, w.ws_col);
  painter_->invalidate();
  return true;
}

InputEvent TerminalSession::read(int timeoutMs) {
  for (;;) {
    // Keys curses already holds come first.
    InputEvent event = readKey();
    if (event.kind != InputEvent::kNone) return event;
    char drained[16];
    while (::read(wakePipe[0], drained, sizeof drained) > 0) {
    }
    if (interrupted.exchange(false)) {
      event.kind = InputEvent::kInterrupt;
      return event;
    }
    if (resized.exchange(false)) {
      // Now, not at curses' next read of a key: nothing more is written at
      // the old size.
      syncSize();
      painter_->invalidate();
      event.kind = InputEvent::kResize;
      return event;
    }
    if (resumed.exchange(false)) {
      // Back from a suspension: curses' modes again, everything redrawn.
      reset_prog_mode();
      std::fputs("\033[?1002h", stdout);
      std::fflush(stdout);
      painter_->invalidate();
      event.kind = InputEvent::kResize;
      return event;
    }
    pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {wakePipe[0], POLLIN, 0}};
    const int ready = poll(fds, 2, timeoutMs);
    if (ready == 0) return {};
    if (ready < 0 && errno != EINTR) return {};
    if (ready < 0 && timeoutMs >= 0) timeoutMs = 0;  // a signal: look once more, then return
  }
}

InputEvent TerminalSession::readKey() {
  if (!pending_.empty()) {
    InputEvent e = pending_.front();
    pending_.pop_front();
    return e;
  }
  wint_t code = 0;
  int kind = wget_wch(stdscr, &code);
  if (kind == ERR) return {};
  if (kind == KEY_CODE_YES && code == KEY_MOUSE) {
    // Reports that came in one read are queued by curses behind one
    // KEY_MOUSE, and getmouse gives the newest first: take them all, then
    // decode them in the order they happened.
    std::vector<MEVENT> reports;
    MEVENT m{};
    while (getmouse(&m) == OK) reports.push_back(m);
    for (auto r = reports.rbegin(); r != reports.rend(); ++r) {
      InputEvent e = mouse_.decode({r->x, r->y, static_cast<unsigned long>(r->bstate)});
      if (e.kind != InputEvent::kNone) pending_.push_back(e);
    }
    if (pending_.empty()) return {};
    InputEvent first = pending_.front();
    pending_.pop_front();
    return first;
  }
  if (kind == KEY_CODE_YES && code == KEY_RESIZE) painter_->invalidate();
  if (kind == OK && code == 27) {
    // Alt+key comes as Escape and the key at once; Escape alone comes alone.
    wtimeout(stdscr, 25);
    wint_t next = 0;
    const int nextKind = wget_wch(stdscr, &next);
    nodelay(stdscr, TRUE);
    // A resize noted by curses is no key: Escape stays Escape, the resize
    // comes next.
    if (nextKind == KEY_CODE_YES && next == KEY_RESIZE) {
      painter_->invalidate();
      pending_.push_back(decodeKey(KEY_RESIZE, true));
      return decodeKey(27, false);
    }
    if (nextKind == OK && next != 27) return decodeKey(static_cast<int>(next), false, true);
    if (nextKind == KEY_CODE_YES) return decodeKey(static_cast<int>(next), true, true);
  }
  return decodeKey(static_cast<int>(code), kind == KEY_CODE_YES);
}

}  // namespace zrterm

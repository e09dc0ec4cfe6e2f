#pragma once
// A program run in a real terminal for a test: a tmux server of its own (its
// socket in the test's folder), one pane of a given size, keys sent as a
// person types them, and the screen read back as text.

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace testing_support {

class TmuxTerminal {
 public:
  // True when tmux can be run (tests skip otherwise).
  static bool available();

  // Starts command in folder (which must outlive this object) in a terminal
  // of columns x rows; env is added to the environment. TERM is the given
  // terminal type. Throws std::runtime_error when tmux does not start.
  // With jobControl the program runs as a job of a shell with job control,
  // as from a person's shell: Ctrl-Z and SIGTSTP stop it and the shell takes
  // the terminal back until resumeJob().
  TmuxTerminal(const std::vector<std::string>& command, const std::string& folder, int columns, int rows,
               const std::map<std::string, std::string>& env = {}, const std::string& term = "xterm-256color",
               bool jobControl = false);
  // Ends the server and with it the program if it still runs.
  ~TmuxTerminal();
  TmuxTerminal(const TmuxTerminal&) = delete;
  TmuxTerminal& operator=(const TmuxTerminal&) = delete;

  // Sends keys by tmux's names ("Enter", "C-c", "Up", "M-o", "BTab") or text
  // that is none of them.
  void keys(const std::vector<std::string>& names);
  // Types text literally.
  void type(const std::string& text);
  // Sends raw bytes to the program (escape sequences of mouse reports).
  void raw(const std::string& bytes);

  // The visible screen, one line per row with trailing blanks removed;
  // with escapes, the colours and attributes as escape sequences.
  std::string screen(bool escapes = false) const;
  // Where the terminal's cursor is (column, row), or (-1, -1) when hidden.
  std::pair<int, int> cursor() const;
  // Waits until the screen shows text; false after seconds.
  bool waitFor(const std::string& text, double seconds = 30) const;
  // Waits until the screen no longer shows text.
  bool waitForGone(const std::string& text, double seconds = 30) const;
  // Appends everything the program writes to its terminal from now on to
  // the file at path (what a person's terminal would receive).
  void recordOutput(const std::string& path);

  // The program's exit status once it has ended (128 + signal when killed),
  // or nothing after seconds.
  std::optional<int> waitForExit(double seconds = 30) const;
  // The program's process id (0 once it ended).
  int pid() const;
  // Resizes the terminal.
  void resize(int columns, int rows);
  // The terminal's modes as `stty -a` prints them, read from the pane's
  // device once the program has ended.
  std::string sttyAfterExit() const;
  // With job control: the modes while the program is stopped (empty until
  // it stopped), and bringing it back to the foreground.
  std::string sttyWhileStopped() const;
  void resumeJob();

 private:
  std::string tmux(const std::vector<std::string>& args, bool check = true) const;

  std::string folder_;
  std::string socket_;
  std::string statusFile_;
};

}  // namespace testing_support

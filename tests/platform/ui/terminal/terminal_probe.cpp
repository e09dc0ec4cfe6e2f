// A small program that shows a screen larger than 80 x 24 through the
// terminal front end and logs every event it reads, for the tests that drive
// it in a real terminal:
//   zrterm_probe LOG
// Keys: Tab and Shift+Tab move the focus among four fields (the last one at
// the far bottom-right, so that a small terminal pans to it); typing goes to
// the focused field, whose caret is the terminal's cursor; "q" ends (status
// 0), "!" throws out of main (std::terminate), "E" throws and is caught after
// the session ended (status 4); an interrupt ends with status 3.

#include <clocale>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>

#include "zrterm/terminal_session.h"
#include "zrterm/viewport.h"

namespace {

using namespace zrterm;

constexpr Rgb kFace = rgb(192, 192, 192);
constexpr Rgb kBlack = rgb(0, 0, 0);

struct Field {
  int x, y;
  std::u32string label;
  std::u32string text;
};

CellGrid draw(const std::vector<Field>& fields, int focus) {
  CellGrid grid(100, 30, Cell{U' ', kBlack, kFace, 0});
  grid.text(1, 0, U"Probe screen 100x30", kBlack, kFace, kBold);
  grid.text(2, 2, U"\u25CF ok", rgb(0, 160, 0), kFace);
  grid.text(2, 3, U"\u25CF missing", rgb(230, 200, 0), kFace);
  grid.text(2, 4, U"\u25CF wrong", rgb(220, 0, 0), kFace);
  grid.text(2, 5, U"\u25CF absent", rgb(128, 128, 128), kFace);
  grid.text(20, 2, U"link cell", rgb(0, 0, 255), rgb(255, 255, 255), kUnderline);
  grid.text(20, 3, U"dimmed cell", rgb(128, 128, 128), kFace);
  grid.text(20, 4, U"   ", kBlack, rgb(0, 0, 255));
  grid.text(24, 4, U"colour cell", kBlack, kFace);
  grid.text(20, 5, U"selected row", rgb(255, 255, 255), rgb(0, 0, 128));
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const Field& f = fields[i];
    const bool focused = static_cast<int>(i) == focus;
    grid.text(f.x, f.y, (focused ? U">" : U" ") + f.label + U":", kBlack, kFace, focused ? static_cast<unsigned>(kBold) : 0u);
    std::u32string box = f.text;
    box.resize(10, U' ');
    grid.text(f.x + static_cast<int>(f.label.size()) + 3, f.y, box, kBlack, rgb(255, 255, 255));
  }
  return grid;
}

Box boxOf(const Field& f) {
  return {f.x, f.y, f.x + static_cast<int>(f.label.size()) + 13, f.y + 1};
}

int run(const std::string& logPath) {
  std::ofstream log(logPath, std::ios::app);
  std::vector<Field> fields{{2, 8, U"first", U""}, {40, 12, U"second", U""}, {60, 20, U"third", U""},
                            {80, 28, U"far", U""}};
  int focus = 0;
  TerminalSession session;
  log << "depth " << static_cast<int>(session.depth()) << std::endl;
  Point pan{};
  for (;;) {
    const CellGrid grid = draw(fields, focus);
    const Field& f = fields[static_cast<std::size_t>(focus)];
    pan = panToShow(boxOf(f), grid.size(), session.size(), pan);
    session.painter().paint(grid, pan,
                            Point{f.x + static_cast<int>(f.label.size()) + 3 + static_cast<int>(f.text.size()), f.y});
    const InputEvent e = session.read(-1);
    if (e.kind == InputEvent::kNone) continue;
    log << describe(e) << std::endl;
    if (e.kind == InputEvent::kInterrupt) return 3;
    if (e.kind != InputEvent::kKey) continue;
    const KeyEvent& k = e.key;
    if (k.vk == 0x09) {
      focus = (focus + ((k.mods & kShift) ? 3 : 1)) % 4;
    } else if (k.vk == 0 && k.ch == U'q') {
      return 0;
    } else if (k.vk == 0 && k.ch == U'!') {
      throw std::logic_error("thrown through main");
    } else if (k.vk == 0 && k.ch == U'E') {
      throw std::runtime_error("caught after the session");
    } else if (k.vk == 0 && k.ch >= U' ') {
      fields[static_cast<std::size_t>(focus)].text += k.ch;
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: zrterm_probe LOG\n";
    return 2;
  }
  std::setlocale(LC_ALL, "");
  if (std::string(argv[1]) == "--terminate") std::terminate();
  try {
    return run(argv[1]);
  } catch (const std::runtime_error& e) {
    std::cout << "error: " << e.what() << std::endl;
    return 4;
  }
}

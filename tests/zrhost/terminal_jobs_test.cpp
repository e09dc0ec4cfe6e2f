// The module's dialogs finished by a person in a real terminal (tmux), each
// job once with the keyboard alone and once with the mouse alone where the
// mouse can do it: what the job must change is checked (the calls to the
// suite's "atualizarMacros", the drawing, the answer at the prompt), not only
// the screen. zrhost runs the module on the example drawing and catalogue
// with the suite's script, whose "atualizarMacros" prints the handles of the
// symbols it receives.

#include <algorithm>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "terminal_fixture.h"

namespace {

#ifdef ZRHOST_REAL_MODULE
// Keys one at a time, each given time to be handled: the screen's own
// updates (a folder loading, a list refilled) come between them.
void press(TmuxTerminal& t, const std::vector<std::string>& keys) {
  for (const std::string& k : keys) {
    t.keys({k});
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
  }
}

// Repeats a key.
std::vector<std::string> times(int n, const std::string& key) { return std::vector<std::string>(n, key); }

// The row of the vertical scroll bar's thumb in a terminal `columns` wide:
// the line with "#" in its last column; -1 when none has.
int thumbRow(const std::string& screen, int columns = 80) {
  std::istringstream lines(screen);
  int row = 0;
  for (std::string line; std::getline(lines, line); ++row) {
    // Columns counted as characters (UTF-8 lead bytes; the screen's are one column wide).
    const auto width = std::count_if(line.begin(), line.end(), [](char c) { return (c & 0xC0) != 0x80; });
    if (width == columns && line.back() == '#') return row;
  }
  return -1;
}

// What the suite's atualizarMacros prints for the symbols of X2 renamed
// (40 46 4C 52) and of X6's pin 1 changed (6A).
const char* const kRenamed = "atualizarMacros: 4 changed pin symbol(s) 40 46 4C 52\n";
const char* const kRenamedAndPin = "atualizarMacros: 5 changed pin symbol(s) 40 46 4C 52 6A\n";

// In the connector list (its focus at the start): X2, the seventh; Tab to
// the pin list, Tab to the grid (no row selected yet), Alt+Down opens the
// first row's editor, the name, with its list dropped (the terminal sends
// Alt+Down as a modified key of its own), Down to the suite's proposal J1,
// Enter; Tab to Aplicar, Enter.
void renameX2ByKeys(TmuxTerminal& t) {
  press(t, times(7, "Down"));
  press(t, {"Tab", "Tab", "M-Down"});
  ASSERT_TRUE(t.waitFor("J1  (nome sugerido)")) << t.screen();
  press(t, {"Down", "Enter", "Tab", "Enter"});
}

TEST_F(DialogsInTerminal, ConnectorsScreenAtTheKeyboardAloneHandsTheChangesToAtualizarMacros) {
  // At 80 x 24 the screen (93 x 31 cells) shows through the viewport, from
  // its caption.
  auto t = startModule(80, 24);
  call(*t, "(zrConectores)", "+- Conectores do desenho");
  renameX2ByKeys(*t);
  // After the apply, the focus went on from the disabled Aplicar: back
  // around to the connector list (Tab), X6 (the third), Tab to its pins, pin
  // 1 (the first), Tab to the grid, the identifier row, F4 drops its list
  // (1 2 3 4 5 M12 on 1), Down three times to 4, Enter chooses, Tab keeps it,
  // Tab to Aplicar, Enter.
  press(*t, {"Tab"});
  press(*t, times(3, "Down"));
  press(*t, {"Tab", "Down", "Tab", "Down", "F4"});
  press(*t, times(3, "Down"));
  press(*t, {"Enter", "Tab", "Tab", "Enter"});
  // Alt+F4: the window close command.
  press(*t, {"M-F4"});
  ASSERT_TRUE(t->waitFor(std::string("(zrConectores)\n") + kRenamedAndPin + "zrhost>")) << t->screen();
  call(*t, "(drawing-connector-names)", "(\"X1\" \"J1\" \"X3\" \"X4\"");

  // Escape and Fechar cancel: an applied change is in the drawing, nothing
  // is handed over.
  t->keys({"C-l"});
  call(*t, "(zrConectores)", "+- Conectores do desenho");
  press(*t, {"Down", "Tab", "Tab", "Down", "F2"});
  t->type("K7");
  press(*t, {"Enter", "Tab", "Enter", "Escape"});
  ASSERT_TRUE(t->waitFor("(zrConectores)\nzrhost>")) << t->screen();
  call(*t, "(drawing-connector-names)", "(\"K7\" \"J1\"");
  t->keys({"C-l"});
  call(*t, "(zrConectores)", "+- Conectores do desenho");
  press(*t, {"Down", "Tab", "Tab", "Down", "F2"});
  t->type("K8");
  // From Aplicar, once it has disabled itself, the focus is on Fechar.
  press(*t, {"Enter", "Tab", "Enter", "Enter"});
  ASSERT_TRUE(t->waitFor("(zrConectores)\nzrhost>")) << t->screen();
  call(*t, "(drawing-connector-names)", "(\"K8\" \"J1\"");
  EXPECT_EQ(t->screen().find("atualizarMacros"), std::string::npos) << t->screen();
}

TEST_F(DialogsInTerminal, ConnectorsScreenClosedWithTheCloseBoxHandsTheChangesToAtualizarMacros) {
  auto t = startModule(120, 40);
  call(*t, "(zrConectores)", "Pinos faltando");
  renameX2ByKeys(*t);
  ASSERT_TRUE(t->waitFor("|● J1 ")) << t->screen();
  const auto box = cellOf(t->screen(), "[x]");
  ASSERT_GE(box.first, 0) << t->screen();
  click(*t, {box.first + 1, box.second});
  ASSERT_TRUE(t->waitFor(std::string("(zrConectores)\n") + kRenamed + "zrhost>")) << t->screen();
}

// The cell where `text` first shows on the row of `label`, right of it.
std::pair<int, int> cellBeside(const std::string& screen, const std::string& label, const std::string& text) {
  std::istringstream lines(screen);
  int row = 0;
  for (std::string line; std::getline(lines, line); ++row) {
    const std::size_t l = line.find(label);
    if (l == std::string::npos) continue;
    const std::size_t at = line.find(text, l + label.size());
    if (at == std::string::npos) return {-1, -1};
    int column = 0;
    for (std::size_t i = 0; i < at; ++i) column += (static_cast<unsigned char>(line[i]) & 0xC0) != 0x80;
    return {column, row};
  }
  return {-1, -1};
}

// The rename with the mouse alone at 80 x 24, where the screen (93 x 31
// cells) shows through the viewport: X2 in the list, a click on the first
// character of its name in the grid opens the name's editor (its drop
// button kept in view with it), "v" drops the list, a click on the suite's
// proposal chooses it and ends the edit, Aplicar writes it, the close box
// hands the renamed symbols to atualizarMacros.
TEST_F(DialogsInTerminal, ConnectorsScreenAtTheMouseAloneRenamesAConnector) {
  auto t = startModule(80, 24);
  call(*t, "(zrConectores)", "+- Conectores do desenho");
  const auto x2 = cellOf(t->screen(), "● X2 ");
  ASSERT_GE(x2.first, 0) << t->screen();
  click(*t, {x2.first + 2, x2.second});
  ASSERT_TRUE(t->waitFor("Motor 4 vias")) << t->screen();
  const auto name = cellBeside(t->screen(), "Nome ", "X2");
  ASSERT_GE(name.first, 0) << t->screen();
  click(*t, name);
  ASSERT_TRUE(t->waitFor("X2___")) << "the click on the name's first character opens its editor\n" << t->screen();
  const auto drop = cellBeside(t->screen(), "Nome ", "_v");
  ASSERT_GE(drop.first, 0) << "the drop button shows with the editor\n" << t->screen();
  click(*t, {drop.first + 1, drop.second});
  ASSERT_TRUE(t->waitFor("J1  (nome sugerido)")) << t->screen();
  click(*t, cellOf(t->screen(), "J1  (nome sugerido)"));
  ASSERT_TRUE(t->waitFor("Nome               J1")) << t->screen();
  EXPECT_EQ(t->screen().find("J1___"), std::string::npos) << "the choice ended the edit\n" << t->screen();
  const auto apply = cellOf(t->screen(), "Aplicar");
  ASSERT_GE(apply.first, 0) << t->screen();
  click(*t, apply);
  // Applied: Aplicar turns itself off and the focus goes on to Fechar,
  // which the view follows to the screen's right-hand side, where the close
  // box ends the caption row, out of view but for its "[": a press on the
  // right half of the horizontal scroll bar pans the view to the dialog's
  // right edge.
  ASSERT_TRUE(t->waitFor("<  Fechar  >")) << t->screen();
  EXPECT_EQ(t->screen().find("[x]"), std::string::npos) << t->screen();
  // The corner that the two scroll bars leave blank belongs to neither: a
  // press there moves nothing (the vertical bar's thumb stays on its row).
  const int thumb = thumbRow(t->screen());
  ASSERT_GE(thumb, 0) << "a vertical scroll bar at 80 x 24\n" << t->screen();
  click(*t, {79, 23});
  click(*t, {70, 23});
  ASSERT_TRUE(t->waitFor("[x]")) << t->screen();
  EXPECT_EQ(thumbRow(t->screen()), thumb) << t->screen();
  // The wheel on the vertical bar still scrolls: up moves the thumb up,
  // down brings it back.
  wheel(*t, {79, 12}, false);
  for (int i = 0; i < 100 && thumbRow(t->screen()) == thumb; ++i) usleep(20000);
  EXPECT_LT(thumbRow(t->screen()), thumb) << t->screen();
  wheel(*t, {79, 12}, true);
  for (int i = 0; i < 100 && thumbRow(t->screen()) != thumb; ++i) usleep(20000);
  ASSERT_EQ(thumbRow(t->screen()), thumb) << t->screen();
  const auto box = cellOf(t->screen(), "[x]");
  ASSERT_EQ(box.second, 0) << t->screen();
  click(*t, {box.first + 1, box.second});
  ASSERT_TRUE(t->waitFor(std::string("(zrConectores)\n") + kRenamed + "zrhost>")) << t->screen();
  call(*t, "(drawing-connector-names)", "(\"X1\" \"J1\" \"X3\" \"X4\"");
}

// (SelecaoConector "M16") on its creation page: the catalogue's folders
// Conectores, Circulares and Circulares industriais M12 load when first
// opened; the 4-way plug is chosen, its name taken from the suite's proposal
// in the name's list (XC1, after the empty entry of the typed text).
const char* const kAnswer = "(SelecaoConector \"M16\")\n(\"XC1\" \"CI04M\" \"1\" \"S\")\nzrhost>";

// What a new user does first: the new-connector dialog on the example
// drawing, its proposal taken with Enter; a name placed in the drawing is
// refused with a tooltip and Escape cancels. Then the creation page.
TEST_F(DialogsInTerminal, ANewConnectorIsNamedOrPickedOnTheCreationPageWithTheKeyboardAlone) {
  auto t = startModule(80, 24);
  call(*t, "(NovoConector \"BOR001\")", "Nome do novo conector:");
  ASSERT_TRUE(t->waitFor("X8___")) << t->screen();
  EXPECT_NE(t->screen().find("+- Novo conector ---"), std::string::npos) << t->screen();
  t->keys({"Enter"});
  ASSERT_TRUE(t->waitFor("(NovoConector \"BOR001\")\n(\"X8\" \"S\")\nzrhost>")) << t->screen();
  call(*t, "(NovoConector \"BOR001\")", "Nome do novo conector:");
  t->type("X1");
  ASSERT_TRUE(t->waitFor("em uso")) << t->screen();
  t->keys({"Escape"});
  ASSERT_TRUE(t->waitFor("(NovoConector \"BOR001\")\n()\nzrhost>")) << t->screen();
  t->keys({"C-l"});

  call(*t, "(SelecaoConector \"M16\")", "[Selecionar] Criar");
  // The tab strip has the focus: Right shows the creation page.
  press(*t, {"Right"});
  ASSERT_TRUE(t->waitFor("+ ▭ Conectores")) << t->screen();
  // Tab to the name, Tab to the tree (the pin list is disabled): Down Down
  // to Conectores, Right opens it; the tree keeps the focus.
  press(*t, {"Tab", "Tab", "Down", "Down", "Right"});
  ASSERT_TRUE(t->waitFor("+ ▭ Circulares ")) << t->screen();
  press(*t, {"Down", "Down", "Right"});
  ASSERT_TRUE(t->waitFor("+ ▭ Circulares industriais M12")) << t->screen();
  press(*t, {"Down", "Right"});
  ASSERT_TRUE(t->waitFor("◘ Circular M12 4 vias macho (plugue)")) << t->screen();
  // The arrows only select: the next folder stays closed.
  press(*t, {"Down", "Down"});
  ASSERT_TRUE(t->waitFor("Pino:        1")) << t->screen();
  EXPECT_NE(t->screen().find("+ ▭ Circulares militares"), std::string::npos) << t->screen();
  // Back to the name (through the pin list), its list dropped: the empty
  // entry of the typed text, then the proposal; Down, Enter chooses it.
  press(*t, {"BTab", "BTab", "F4"});
  ASSERT_TRUE(t->waitFor("XC1                (nome sugerido)")) << t->screen();
  press(*t, {"Down", "Enter"});
  ASSERT_TRUE(t->waitFor("Nome:        XC1___")) << t->screen();
  press(*t, {"Enter"});
  ASSERT_TRUE(t->waitFor(kAnswer)) << t->screen();
}

TEST_F(DialogsInTerminal, ANewConnectorIsPickedOnTheCreationPageWithTheMouseAlone) {
  auto t = startModule(120, 40);
  call(*t, "(SelecaoConector \"M16\")", "[Selecionar] Criar");
  click(*t, cellOf(t->screen(), "Criar"));
  ASSERT_TRUE(t->waitFor("+ ▭ Conectores")) << t->screen();
  // Each folder by its "+", loaded at its first opening.
  for (const char* folder : {"+ ▭ Conectores", "+ ▭ Circulares ", "+ ▭ Circulares industriais M12"}) {
    SCOPED_TRACE(folder);
    const auto plus = cellOf(t->screen(), folder);
    ASSERT_GE(plus.first, 0) << t->screen();
    click(*t, plus);
    const std::string open = "- " + std::string(folder).substr(2);
    ASSERT_TRUE(t->waitFor(open)) << t->screen();
  }
  ASSERT_TRUE(t->waitFor("◘ Circular M12 4 vias macho (plugue)")) << t->screen();
  click(*t, cellOf(t->screen(), "Circular M12 4 vias macho"));
  ASSERT_TRUE(t->waitFor("Pino:        1")) << t->screen();
  // The name's drop button, then the proposal in the list.
  const auto name = cellOf(t->screen(), "Nome:");
  const std::string screen = t->screen();
  std::istringstream lines(screen);
  std::string line;
  for (int row = 0; row <= name.second; ++row) std::getline(lines, line);
  const std::size_t button = line.find("v ", static_cast<std::size_t>(name.first));
  ASSERT_NE(button, std::string::npos) << screen;
  int column = 0;
  for (std::size_t i = 0; i < button; ++i) column += (static_cast<unsigned char>(line[i]) & 0xC0) != 0x80;
  click(*t, {column, name.second});
  ASSERT_TRUE(t->waitFor("XC1                (nome sugerido)")) << t->screen();
  click(*t, cellOf(t->screen(), "XC1                (nome sugerido)"));
  ASSERT_TRUE(t->waitFor("Nome:        XC1___")) << t->screen();
  click(*t, cellOf(t->screen(), "OK "));
  ASSERT_TRUE(t->waitFor(kAnswer)) << t->screen();
}
#endif

}  // namespace

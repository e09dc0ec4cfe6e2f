// Dialogs in the terminal as a person meets them: zrhost runs in a real
// terminal (tmux) at 80 x 24 and 120 x 40, a message box or a dialog of the
// test module opens, keys and mouse finish it, the result comes back at the
// prompt and the console has the terminal again.

#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <sstream>

#include "terminal_fixture.h"

namespace {

// Centred at 80 x 24.
const char* const kBox =
    "                 +- zrhost -------------------------------[x]+\n"
    "                 |                                           |\n"
    "                 |  Save the changes to the drawing?         |\n"
    "                 |                                           |\n"
    "                 |  <   Yes    > [    No     ] [  Cancel  ]  |\n"
    "                 |                                           |\n"
    "                 |                                           |\n"
    "                 +-------------------------------------------+";

TEST_F(DialogsInTerminal, AMessageBoxIsAnsweredWithKeysOrTheMouse) {
  auto t = start(80, 24);
  const std::string box = "(message-box \"Save the changes to the drawing?\" \"zrhost\" 3)";
  call(*t, box, "|  Save the changes to the drawing?");
  EXPECT_NE(t->screen().find(kBox), std::string::npos) << t->screen();
  // The console's lines are not shown while the box is.
  EXPECT_EQ(t->screen().find("zrhost>"), std::string::npos) << t->screen();

  // Tab to No, Enter: IDNO at the prompt, the console back.
  t->keys({"Tab", "Enter"});
  ASSERT_TRUE(t->waitFor(box + "\n7\nzrhost>")) << t->screen();

  // Escape cancels.
  call(*t, box, "|  Save the changes to the drawing?");
  t->keys({"Escape"});
  ASSERT_TRUE(t->waitFor(box + "\n2\nzrhost>")) << t->screen();

  // A click on Yes.
  call(*t, box, "|  Save the changes to the drawing?");
  const auto yes = cellOf(t->screen(), "Yes");
  ASSERT_GE(yes.first, 0) << t->screen();
  click(*t, yes);
  ASSERT_TRUE(t->waitFor(box + "\n6\nzrhost>")) << t->screen();

  t->keys({"C-d"});
  EXPECT_EQ(t->waitForExit(), 0) << t->screen();
  expectSane(t->sttyAfterExit());
}

TEST_F(DialogsInTerminal, ADialogOfTheModuleIsFilledInAndConfirmed) {
  auto t = start(120, 40);
  call(*t, "(zrtAskName \"X1\")", "Connector name");
  std::string screen = t->screen();
  EXPECT_NE(screen.find("|  Name:      X1_______________________  |"), std::string::npos) << screen;
  EXPECT_NE(screen.find("|  Colour:    red                     v  |"), std::string::npos) << screen;
  EXPECT_NE(screen.find("|            <    OK    > [  Cancel   ]  |"), std::string::npos) << screen;

  // The name's text is selected when the dialog opens: typing replaces it,
  // and the terminal's cursor stands where the next character goes.
  t->type("J12");
  ASSERT_TRUE(t->waitFor("Name:      J12______")) << t->screen();
  const auto name = cellOf(t->screen(), "J12___");
  for (int i = 0; i < 100 && t->cursor() != std::make_pair(name.first + 3, name.second); ++i) usleep(20000);
  EXPECT_EQ(t->cursor(), std::make_pair(name.first + 3, name.second)) << t->screen();
  t->keys({"BSpace"});
  t->type("3");
  ASSERT_TRUE(t->waitFor("Name:      J13______")) << t->screen();
  // Tab to the colours, Down to the next one.
  t->keys({"Tab"});
  t->keys({"Down"});
  ASSERT_TRUE(t->waitFor("Colour:    green")) << t->screen();
  // No caret outside an edit.
  EXPECT_EQ(t->cursor(), std::make_pair(-1, -1));
  t->keys({"Enter"});
  ASSERT_TRUE(t->waitFor("(zrtAskName \"X1\")\n(\"J13\" \"green\")\nzrhost>")) << t->screen();

  // Cancel with the mouse gives nil.
  call(*t, "(zrtAskName \"X2\")", "Connector name");
  const auto cancel = cellOf(t->screen(), "Cancel");
  ASSERT_GE(cancel.first, 0);
  click(*t, cancel);
  ASSERT_TRUE(t->waitFor("(zrtAskName \"X2\")\n()\nzrhost>")) << t->screen();
}

TEST_F(DialogsInTerminal, TheColourPickerShowsItsSwatchesInColourAndIsDrivenByKeysAndTheMouse) {
  auto t = start(120, 40);
  call(*t, "(zrtColour 5)", "Index 5 (0,0,255)");
  EXPECT_NE(t->screen().find("+- Colour "), std::string::npos) << t->screen();
  // The swatches have their colours: blue (5) and red (1) backgrounds, in
  // the terminal's 256 colours.
  const std::string coloured = t->screen(true);
  EXPECT_NE(coloured.find("48;5;21m"), std::string::npos) << "blue swatch";
  EXPECT_NE(coloured.find("48;5;196m"), std::string::npos) << "red swatch";
  // Right moves to 6, Enter chooses it.
  t->keys({"Right"});
  ASSERT_TRUE(t->waitFor("Index 6 (255,0,255)")) << t->screen();
  t->keys({"Enter"});
  ASSERT_TRUE(t->waitFor("(zrtColour 5)\n(5100 6)\nzrhost>")) << t->screen();

  // A click on the swatch below the selection (21), then on OK.
  call(*t, "(zrtColour 5)", "Index 5 (0,0,255)");
  const auto selected = cellOf(t->screen(), "[]");
  ASSERT_GE(selected.first, 0) << t->screen();
  click(*t, {selected.first, selected.second + 1});
  ASSERT_TRUE(t->waitFor("Index 21 (")) << t->screen();
  click(*t, cellOf(t->screen(), "OK"));
  ASSERT_TRUE(t->waitFor("(zrtColour 5)\n(5100 21)\nzrhost>")) << t->screen();

  // Escape cancels.
  call(*t, "(zrtColour 300)", "Index 256 (by layer)");
  t->keys({"Escape"});
  ASSERT_TRUE(t->waitFor("(zrtColour 300)\n(-5001 -1)\nzrhost>")) << t->screen();
}

TEST_F(DialogsInTerminal, TheFileChooserListsDrawingsAndFoldersAndIsDrivenByTyping) {
  std::filesystem::create_directories(file("drawings/old"));
  for (const char* name : {"drawings/notes.txt", "drawings/old/relay.dwg"}) write(name, "x");
  auto t = start(120, 40);
  call(*t, "(zrtFile \"" + file("drawings") + "\")", "old/");
  EXPECT_EQ(t->screen().find("notes.txt"), std::string::npos) << t->screen();
  // The name field has the focus: a folder's name opens it, a file's ends.
  t->type("old");
  t->keys({"Enter"});
  ASSERT_TRUE(t->waitFor("relay.dwg")) << t->screen();
  t->type("relay.dwg");
  t->keys({"Enter"});
  ASSERT_TRUE(t->waitFor("(1 \"" + file("drawings/old/relay.dwg") + "\")\nzrhost>")) << t->screen();
}

TEST_F(DialogsInTerminal, ASmallTerminalPansAndAResizeRedraws) {
  auto t = start(80, 24);
  t->resize(40, 10);
  call(*t, "(zrtAskName \"X1\")", "Name:");
  // 40 x 10 is smaller than the dialog: the focused name field is in view.
  std::string screen = t->screen();
  EXPECT_NE(screen.find("X1____"), std::string::npos) << screen;
  // Focus to OK, at the dialog's bottom: the view pans to it.
  t->keys({"Tab", "Tab"});
  ASSERT_TRUE(t->waitFor("<    OK    >")) << t->screen();
  // Grown to 120 x 40, the whole dialog shows.
  t->resize(120, 40);
  ASSERT_TRUE(t->waitFor("+- Connector name ---")) << t->screen();
  screen = t->screen();
  EXPECT_NE(screen.find("Name:      X1___"), std::string::npos) << screen;
  EXPECT_NE(screen.find("<    OK    > [  Cancel   ]"), std::string::npos) << screen;
  t->keys({"Enter"});
  ASSERT_TRUE(t->waitFor("(\"X1\" \"red\")\nzrhost>")) << t->screen();
}

TEST_F(DialogsInTerminal, CtrlCInADialogCancelsItAndKeepsTheSession) {
  auto t = start(80, 24);
  call(*t, "(begin (zrtAskName \"X1\") (display \"not reached\") (newline))", "Connector name");
  t->keys({"C-c"});
  ASSERT_TRUE(t->waitFor("zrhost: interrupted\nzrhost>")) << t->screen();
  EXPECT_EQ(t->screen().find("\nnot reached"), std::string::npos) << t->screen();
  call(*t, "(drawings)", "(\"a.dxf\")\nzrhost>");
  t->keys({"C-d"});
  EXPECT_EQ(t->waitForExit(), 0) << t->screen();
  expectSane(t->sttyAfterExit());
}

TEST_F(DialogsInTerminal, TheTerminalComesBackWhenZrhostIsEndedInADialog) {
  auto t = start(80, 24);
  call(*t, "(zrtAskName \"X1\")", "Connector name");
  ASSERT_GT(t->pid(), 0);
  kill(t->pid(), SIGTERM);
  EXPECT_EQ(t->waitForExit(), 128 + SIGTERM);
  expectSane(t->sttyAfterExit());
  EXPECT_EQ(t->screen().find("Connector name"), std::string::npos) << t->screen();
}

#ifdef ZRHOST_REAL_MODULE
// What a new user does: zrhost on the example drawing and catalogue, the
// module's new-connector dialog called, seen, answered with the keyboard.
TEST_F(DialogsInTerminal, TheNewConnectorDialogOfTheModuleOnTheExampleDrawing) {
  auto terminal = startModule(80, 24);
  TmuxTerminal& t = *terminal;
  call(t, "(NovoConector \"BOR001\")", "Nome do novo conector:");
  ASSERT_TRUE(t.waitFor("X8___")) << t.screen();
  EXPECT_NE(t.screen().find("+- Novo conector ---"), std::string::npos) << t.screen();
  t.keys({"Enter"});
  ASSERT_TRUE(t.waitFor("(NovoConector \"BOR001\")\n(\"X8\" \"S\")\nzrhost>")) << t.screen();

  // A name placed in the drawing is refused with a tooltip; Escape cancels.
  call(t, "(NovoConector \"BOR001\")", "Nome do novo conector:");
  t.type("X1");
  ASSERT_TRUE(t.waitFor("em uso")) << t.screen();
  t.keys({"Escape"});
  ASSERT_TRUE(t.waitFor("(NovoConector \"BOR001\")\n()\nzrhost>")) << t.screen();
  t.keys({"C-d"});
  EXPECT_EQ(t.waitForExit(), 0) << t.screen();
  expectSane(t.sttyAfterExit());
}
#endif

}  // namespace

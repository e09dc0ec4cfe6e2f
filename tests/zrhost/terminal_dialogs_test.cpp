// Dialogs in the terminal as a person meets them: zrhost runs in a real
// terminal (tmux) at 80 x 24 and 120 x 40, a message box or a dialog of the
// test module opens, keys and mouse finish it, the result comes back at the
// prompt and the console has the terminal again.

#include <signal.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

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

// A message box answered every way a person answers it: Tab and Enter,
// Escape, its buttons' letters alone or with Alt, Enter on the button the
// focus (and the default marker) moved to, a click.
TEST_F(DialogsInTerminal, AMessageBoxIsAnsweredWithKeysLettersOrTheMouse) {
  auto t = start(80, 24);
  const std::string box = "(message-box \"Save the changes to the drawing?\" \"zrhost\" 3)";
  call(*t, box, "|  Save the changes to the drawing?");
  EXPECT_NE(t->screen().find(kBox), std::string::npos) << t->screen();
  // The console's lines are not shown while the box is.
  EXPECT_EQ(t->screen().find("zrhost>"), std::string::npos) << t->screen();
  // The marker shows on the focused button.
  t->keys({"Right"});
  ASSERT_TRUE(t->waitFor("[   Yes    ] <    No     > [  Cancel  ]")) << t->screen();
  t->keys({"Enter"});
  ASSERT_TRUE(t->waitFor(box + "\n7\nzrhost>")) << t->screen();

  struct Answer {
    std::vector<std::string> keys;
    const char* answer;  // IDYES 6, IDNO 7, IDCANCEL 2
  };
  const Answer answers[] = {{{"Tab", "Enter"}, "7"},          {{"Escape"}, "2"}, {{"n"}, "7"}, {{"y"}, "6"},
                            {{"M-n"}, "7"},                   {{"Right", "Right", "Enter"}, "2"},
                            {{}, "6"} /* a click on Yes */};
  for (const Answer& a : answers) {
    SCOPED_TRACE(a.keys.empty() ? "click on Yes" : a.keys.front());
    t->keys({"C-l"});
    ASSERT_TRUE(t->waitForGone(box)) << t->screen();
    call(*t, box, "|  Save the changes to the drawing?");
    if (a.keys.empty()) {
      const auto yes = cellOf(t->screen(), "Yes");
      ASSERT_GE(yes.first, 0) << t->screen();
      click(*t, yes);
    } else {
      t->keys(a.keys);
    }
    ASSERT_TRUE(t->waitFor(box + "\n" + a.answer + "\nzrhost>")) << t->screen();
  }

  t->keys({"C-d"});
  EXPECT_EQ(t->waitForExit(), 0) << t->screen();
  expectSane(t->sttyAfterExit());
}

TEST_F(DialogsInTerminal, ADialogOfTheModuleIsFilledInByKeysAltLettersAndTheMouse) {
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
  EXPECT_TRUE(waitForCursor(*t, {name.first + 3, name.second})) << t->screen();
  // Nothing but the caret changes: the terminal's cursor still follows.
  t->keys({"Home"});
  EXPECT_TRUE(waitForCursor(*t, name)) << t->cursor().first << "\n" << t->screen();
  t->keys({"Right"});
  EXPECT_TRUE(waitForCursor(*t, {name.first + 1, name.second})) << t->cursor().first << "\n" << t->screen();
  // Typed where the caret is.
  t->type("x");
  ASSERT_TRUE(t->waitFor("Name:      Jx12_____")) << t->screen();
  EXPECT_TRUE(waitForCursor(*t, {name.first + 2, name.second})) << t->cursor().first << "\n" << t->screen();
  t->keys({"End", "BSpace"});
  t->type("3");
  ASSERT_TRUE(t->waitFor("Name:      Jx13_____")) << t->screen();
  // Tab to the colours, Down to the next one.
  t->keys({"Tab"});
  t->keys({"Down"});
  ASSERT_TRUE(t->waitFor("Colour:    green")) << t->screen();
  // No caret outside an edit.
  EXPECT_EQ(t->cursor(), std::make_pair(-1, -1));
  t->keys({"Enter"});
  ASSERT_TRUE(t->waitFor("(zrtAskName \"X1\")\n(\"Jx13\" \"green\")\nzrhost>")) << t->screen();

  // Cancel with the mouse gives nil.
  call(*t, "(zrtAskName \"X2\")", "Connector name");
  const auto cancel = cellOf(t->screen(), "Cancel");
  ASSERT_GE(cancel.first, 0);
  click(*t, cancel);
  ASSERT_TRUE(t->waitFor("(zrtAskName \"X2\")\n()\nzrhost>")) << t->screen();

  // The marked letters show underlined, and only they. Alt+C: the colours;
  // Down chooses the next. Alt+N: the name again, its text selected, so
  // typing replaces it.
  call(*t, "(zrtAskName \"X3\")", "Connector name");
  const std::string coloured = t->screen(true);
  EXPECT_EQ(underlines(coloured, "Name:"), "_    ") << coloured;
  EXPECT_EQ(underlines(coloured, "Colour:"), "_      ") << coloured;
  EXPECT_EQ(underlines(coloured, "Cancel"), "      ") << coloured;
  t->keys({"M-c"});
  t->keys({"Down"});
  ASSERT_TRUE(t->waitFor("Colour:    green")) << t->screen();
  t->keys({"M-n"});
  t->type("J7");
  ASSERT_TRUE(t->waitFor("Name:      J7____")) << t->screen();
  t->keys({"Enter"});
  ASSERT_TRUE(t->waitFor("(zrtAskName \"X3\")\n(\"J7\" \"green\")\nzrhost>")) << t->screen();
}

TEST_F(DialogsInTerminal, TheColourPickerShowsItsSwatchesInTheTerminalsColours) {
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

  // The mouse on the swatches, Escape and opening clamped are the picker's
  // own tests (colour_picker_test.cpp, dialog_driving_test.cpp).
}

// Ctrl+C in a dialog cancels it and the session goes on; ended by a signal
// in a dialog, zrhost gives the terminal back as it found it.
TEST_F(DialogsInTerminal, CtrlCInADialogCancelsItAndASignalGivesTheTerminalBack) {
  auto t = start(80, 24);
  call(*t, "(begin (zrtAskName \"X1\") (display \"not reached\") (newline))", "Connector name");
  t->keys({"C-c"});
  ASSERT_TRUE(t->waitFor("zrhost: interrupted\nzrhost>")) << t->screen();
  EXPECT_EQ(t->screen().find("\nnot reached"), std::string::npos) << t->screen();
  call(*t, "(drawings)", "(\"a.dxf\")\nzrhost>");

  call(*t, "(zrtAskName \"X2\")", "Connector name");
  ASSERT_GT(t->pid(), 0);
  kill(t->pid(), SIGTERM);
  EXPECT_EQ(t->waitForExit(), 128 + SIGTERM);
  expectSane(t->sttyAfterExit());
  EXPECT_EQ(t->screen().find("Connector name"), std::string::npos) << t->screen();
}

}  // namespace

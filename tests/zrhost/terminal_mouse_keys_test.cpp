// The mouse and the keys that go beyond Tab and Enter, end to end in a real
// terminal (tmux) at 80 x 24 and 120 x 40: the wheel over a list, double
// clicks, tree folders opened and closed with + - Right Left, dragging a
// resizable dialog's frame; and an idle dialog writes nothing to the
// terminal. (Alt+underlined letter and the caret: terminal_dialogs_test.cpp.)

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "terminal_fixture.h"

namespace {

// The list of the file dialog for a folder of 30 drawings, as it shows
// scrolled to its top and three rows further (80 x 24: the dialog's list
// holds eight rows of 31; the scroll indicator's thumb moves a cell for
// about every three rows of the 23 it can scroll, so three rows down it has
// not moved yet).
const char* const kListTop =
    "|  |../                                                    #  |\n"
    "        |  |d01.dwg                                                |  |\n"
    "        |  |d02.dwg                                                |  |";
const char* const kListScrolled =
    "|  |d03.dwg                                                #  |\n"
    "        |  |d04.dwg                                                |  |\n"
    "        |  |d05.dwg                                                |  |\n"
    "        |  |d06.dwg                                                |  |\n"
    "        |  |d07.dwg                                                |  |\n"
    "        |  |d08.dwg                                                |  |\n"
    "        |  |d09.dwg                                                |  |\n"
    "        |  |d10.dwg                                                |  |";

TEST_F(DialogsInTerminal, TheFileChooserScrollsByTheWheelAndIsAnsweredByADoubleClickOrByTyping) {
  const std::string many = file("many");
  ASSERT_EQ(mkdir(many.c_str(), 0755), 0);
  for (int i = 1; i <= 30; ++i) {
    char name[24];
    std::snprintf(name, sizeof name, "/d%02d.dwg", i);
    std::ofstream(many + name) << "0\nEOF\n";
  }
  auto t = start(80, 24);
  const std::string call = "(zrtFile \"" + many + "\")";
  DialogsInTerminal::call(*t, call, "d07.dwg");
  ASSERT_NE(t->screen().find(kListTop), std::string::npos) << t->screen();

  wheel(*t, cellOf(t->screen(), "d04.dwg"), true);
  ASSERT_TRUE(t->waitFor(kListScrolled)) << t->screen();
  // Turned away from the user, back to the top; the top stops it.
  wheel(*t, cellOf(t->screen(), "d04.dwg"), false);
  wheel(*t, cellOf(t->screen(), "d04.dwg"), false);
  ASSERT_TRUE(t->waitFor(kListTop)) << t->screen();

  doubleClick(*t, cellOf(t->screen(), "d02.dwg"));
  ASSERT_TRUE(t->waitFor(call + "\n(1 \"" + many + "/d02.dwg\")\nzrhost>")) << t->screen();

  // Driven by typing alone: drawings and folders are listed, other files
  // not; the name field has the focus, a folder's name opens it, a file's
  // ends the dialog.
  std::filesystem::create_directories(file("drawings/old"));
  for (const char* name : {"drawings/notes.txt", "drawings/old/relay.dwg"}) write(name, "x");
  t->keys({"C-l"});
  DialogsInTerminal::call(*t, "(zrtFile \"" + file("drawings") + "\")", "old/");
  EXPECT_EQ(t->screen().find("notes.txt"), std::string::npos) << t->screen();
  t->type("old");
  t->keys({"Enter"});
  ASSERT_TRUE(t->waitFor("relay.dwg")) << t->screen();
  t->type("relay.dwg");
  t->keys({"Enter"});
  ASSERT_TRUE(t->waitFor("(1 \"" + file("drawings/old/relay.dwg") + "\")\nzrhost>")) << t->screen();
}

// The size of a file (0 when there is none yet).
long long sizeOf(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 ? static_cast<long long>(st.st_size) : 0;
}

TEST_F(DialogsInTerminal, AnIdleDialogWritesNothingAndAKeyOnlyWhatChanged) {
  auto t = start(80, 24);
  call(*t, "(zrtAskName \"X1\")", "Connector name");
  const std::string output = file("output");
  t->recordOutput(output);
  t->type("A");
  ASSERT_TRUE(t->waitFor("Name:      A_____")) << t->screen();
  // Once what the key changed has arrived, a second with nothing to do.
  long long before = -1;
  for (int i = 0; i < 50 && before != sizeOf(output); ++i) {
    before = sizeOf(output);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  ASSERT_GT(before, 0) << "the recording works: the key's change was recorded";
  std::this_thread::sleep_for(std::chrono::seconds(1));
  EXPECT_EQ(sizeOf(output), before) << "an idle dialog writes nothing";

  // One more character: a cell or two and the cursor, not the screen.
  t->type("B");
  ASSERT_TRUE(t->waitFor("Name:      AB____")) << t->screen();
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_LT(sizeOf(output) - before, 200) << "a whole screen is thousands of bytes";
  t->keys({"Escape"});
  ASSERT_TRUE(t->waitFor("()\nzrhost>")) << t->screen();
}

#ifdef ZRHOST_REAL_MODULE
// The selection dialog's tree of the drawing's connectors missing pins of
// code M12: X6 and X11, both open.
TEST_F(DialogsInTerminal, TreeFoldersOpenAndCloseWithKeysAndADoubleClick) {
  for (const auto& [columns, rows] : {std::pair{80, 24}, std::pair{120, 40}}) {
    SCOPED_TRACE(std::to_string(columns) + " x " + std::to_string(rows));
    auto t = startModule(columns, rows);
    call(*t, "(SelecaoConector \"M12\")", "- ◘ X11");
    const std::string x6Open = "|- ◘ X6                                          |";
    const std::string x6Closed = "|+ ◘ X6                                          |";
    const std::string afterX6Closed = "|+ ◘ X6                                          |  ||\n";
    ASSERT_NE(t->screen().find(x6Open), std::string::npos) << t->screen();
    click(*t, cellOf(t->screen(), "X6"));
    t->keys({"Left"});
    ASSERT_TRUE(t->waitFor(x6Closed)) << t->screen();
    // X11 and its pins move up to the row under X6.
    EXPECT_NE(t->screen().find(afterX6Closed), std::string::npos) << t->screen();
    EXPECT_NE(t->screen().find("|- ◘ X11"), std::string::npos) << t->screen();
    t->keys({"Right"});
    ASSERT_TRUE(t->waitFor(x6Open)) << t->screen();
    t->type("-");
    ASSERT_TRUE(t->waitFor(x6Closed)) << t->screen();
    t->type("+");
    ASSERT_TRUE(t->waitFor(x6Open)) << t->screen();
    // A double click on a folder's name closes it, another opens it.
    doubleClick(*t, cellOf(t->screen(), "X11"));
    ASSERT_TRUE(t->waitFor("|+ ◘ X11    ")) << t->screen();
    EXPECT_NE(t->screen().find(x6Open), std::string::npos) << t->screen();
    doubleClick(*t, cellOf(t->screen(), "X11"));
    ASSERT_TRUE(t->waitFor("|- ◘ X11    ")) << t->screen();
    t->keys({"Escape"});
    ASSERT_TRUE(t->waitFor("(SelecaoConector \"M12\")\n()\nzrhost>")) << t->screen();
  }
}

// The selection dialog keeps its first size as its smallest: its frame
// dragged wider grows it, dragged past that size it stops there.
TEST_F(DialogsInTerminal, DraggingTheSelectionDialogsFrameStopsAtItsSmallestSize) {
  auto t = startModule(120, 40);
  call(*t, "(SelecaoConector \"M12\")", "- ◘ X11");
  const std::string first = t->screen();
  const auto caption = cellOf(first, "+- Seleção de conector ---");
  ASSERT_GE(caption.first, 10) << first;
  // The left edge, on the tree's first row.
  const auto edge = std::make_pair(caption.first, cellOf(first, "X6").second);
  drag(*t, edge, {edge.first - 8, edge.second});
  // Eight columns wider to the left: the caption starts there, and the tree
  // grew with the dialog.
  const std::string wider = std::string(static_cast<std::size_t>(caption.first - 8), ' ') + "+- Seleção de conector ---";
  ASSERT_TRUE(t->waitFor("\n" + wider)) << t->screen();
  EXPECT_NE(t->screen().find("|- ◘ X6                                                  |"), std::string::npos)
      << t->screen();
  // Dragged far to the right: pushed back to the first size, the screen as
  // it was.
  drag(*t, {edge.first - 8, edge.second}, {edge.first + 20, edge.second});
  ASSERT_TRUE(t->waitForGone("\n" + wider)) << t->screen();
  ASSERT_TRUE(t->waitFor(first.substr(first.find("+- Seleção")))) << t->screen();
  t->keys({"Escape"});
  ASSERT_TRUE(t->waitFor("(SelecaoConector \"M12\")\n()\nzrhost>")) << t->screen();
}
#endif

}  // namespace

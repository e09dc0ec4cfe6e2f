// zrhost drives dialogs from Scheme: actions queued before a call are used
// by the dialogs that the call opens (the test module's message boxes, its
// file dialog and its small parts dialog), as a person would use them.

#include <filesystem>
#include <fstream>
#include <sstream>

#include "drawings_fixture.h"

namespace {

using zrhost_testing::describe;
using zrhost_testing::Invocation;
using zrhost_testing::Outcome;

class DialogDriving : public ZrhostRun {
 protected:
  // Runs a script with the test module; dialogs wait at most `waitMs` for
  // a queued action.
  Outcome run(const std::string& script, int waitMs = 3000) {
    write("drive.scm", script);
    Invocation inv;
    inv.args = {"--module", ZRHOST_TEST_MODULE, "--script", "drive.scm", "a.dxf"};
    inv.env["ZRHOST_DIALOG_WAIT_MS"] = std::to_string(waitMs);
    return zrhost_testing::runZrhost(folder(), inv);
  }
  std::string read(const std::string& name) const {
    std::ifstream in(file(name));
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
};

TEST_F(DialogDriving, QueuedClicksAndKeysAnswerMessageBoxesAndTheRestArePrinted) {
  Outcome o = run(
      "(define (show x) (write x) (newline))\n"
      "(dialog-click 6)\n"
      "(show (zrtMessage \"Delete X1?\" \"Question\" 4))\n"   // MB_YESNO: Yes clicked
      "(dialog-key \"Escape\")\n"
      "(show (zrtMessage \"Go on?\" \"Question\" 3))\n"       // MB_YESNOCANCEL: Escape cancels
      "(dialog-key \"Right\") (dialog-key \"Enter\")\n"
      "(show (message-box \"Retry?\" \"Box\" 5))\n"           // MB_RETRYCANCEL: Right moves to Cancel
      "(show (dialog-pending))\n"
      "(show (zrtMessage \"Delete X2?\" \"Question\" 4))\n"); // nothing queued: printed, No
  EXPECT_EQ(o.status, 0) << describe(o);
  EXPECT_EQ(o.out,
            "(6)\n(2)\n2\n()\n[Question]\n  Delete X2?\n  -> No\n(7)\n")
      << describe(o);
}

TEST_F(DialogDriving, TheSmallDialogIsFilledInAsAPersonWouldAndItsSnapshotSaved) {
  Outcome o = run(
      "(dialog-type 101 \"J12\")\n"
      "(dialog-choose 102 \"Socket\")\n"
      "(dialog-choose 103 \"Parts/J2\")\n"
      "(dialog-click 104)\n"
      "(dialog-check 102 (lambda (state)\n"
      "  (unless (equal? (assq-ref state 'items) '(\"Plug\" \"Socket\" \"Terminal\")) (error \"items\" state))\n"
      "  (unless (eqv? (assq-ref state 'selection) 1) (error \"selection\" state))))\n"
      "(dialog-snapshot \"parts.txt\")\n"
      "(dialog-key \"Enter\")\n"
      "(write (zrtDialog)) (newline)\n");
  EXPECT_EQ(o.status, 0) << describe(o);
  EXPECT_EQ(o.out, "(1 \"J12\" \"Socket\" \"J2\" \"checked\")\n") << describe(o);
  std::string snap = read("parts.txt");
  EXPECT_NE(snap.find("Parts"), std::string::npos) << snap;
  EXPECT_NE(snap.find("J12"), std::string::npos) << snap;
  EXPECT_NE(snap.find("J2"), std::string::npos) << snap;  // the folder was opened on the way
}

TEST_F(DialogDriving, APictureOfTheScreenIsAPngOfTheBoxShown) {
  Outcome o = run("(dialog-picture \"box.png\") (dialog-click 1) (write (message-box \"Hi\" \"T\" 1))\n");
  EXPECT_EQ(o.status, 0) << describe(o);
  EXPECT_EQ(o.out, "1") << describe(o);
  const std::string png = read("box.png");
  ASSERT_GT(png.size(), 8u) << describe(o);
  EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
}

TEST_F(DialogDriving, NestedBoxOfADialogTakesTheNextActionsInOrder) {
  Outcome o = run(
      "(dialog-click 1)\n"   // OK with an empty name: the dialog asks
      "(dialog-click 7)\n"   // No: back to the dialog
      "(dialog-type 101 \"X9\")\n"
      "(dialog-click 1)\n"
      "(write (zrtDialog)) (newline)\n");
  EXPECT_EQ(o.status, 0) << describe(o);
  EXPECT_EQ(o.out, "(1 \"X9\" \"\" \"\" \"unchecked\")\n") << describe(o);
}

TEST_F(DialogDriving, AnActionThatCannotApplyNamesDialogAndControlAndCancelsTheCall) {
  Outcome o = run(
      "(dialog-type 555 \"x\") (dialog-click 1)\n"
      "(catch 'dialog-error (lambda () (zrtDialog))\n"
      "  (lambda (key subr fmt args rest) (display (apply format #f fmt args)) (newline)))\n"
      "(write (dialog-pending)) (newline)\n"
      // The next call is not affected: its dialog is driven normally.
      "(dialog-click 2)\n"
      "(write (zrtDialog)) (newline)\n");
  EXPECT_EQ(o.status, 0) << describe(o);
  EXPECT_NE(o.out.find("zrtDialog: dialog \"Parts\": (dialog-type 555 \"x\"): has no control 555\n"), std::string::npos)
      << describe(o);
  EXPECT_NE(o.out.find("()\n(2)\n"), std::string::npos) << describe(o);
}

TEST_F(DialogDriving, TabsCellsAndSnapshotsRefuseWhatTheyCannotDo) {
  struct Case {
    std::string actions, error;
  };
  const Case cases[] = {
      {"(dialog-tab 101 0)", "(dialog-tab 101 0): control 101 (Edit) is not a tab control"},
      {"(dialog-cell 103 0 1)", "(dialog-cell 103 0 1): control 103 (SysTreeView32) is not a list view"},
      {"(dialog-choose 104 0)", "(dialog-choose 104 0): control 104 (Button) has no entries to choose from"},
      {"(dialog-snapshot \"no-such-folder/s.txt\")",
       "(dialog-snapshot \"no-such-folder/s.txt\"): the snapshot cannot be written to no-such-folder/s.txt"},
  };
  for (const Case& c : cases) {
    Outcome o = run(c.actions + "\n(zrtDialog)\n");
    EXPECT_EQ(o.status, 1) << describe(o);
    EXPECT_NE(o.err.find("zrtDialog: dialog \"Parts\": " + c.error), std::string::npos) << c.actions << describe(o);
  }
}

TEST_F(DialogDriving, ADialogLeftWaitingEndsTheCallWithAnErrorNotAHang) {
  Outcome o = run(
      "(dialog-type 101 \"only this\")\n"
      "(zrtDialog)\n"
      "(display \"not reached\")\n",
      300);
  EXPECT_EQ(o.status, 1) << describe(o);
  EXPECT_NE(o.err.find("dialog \"Parts\": was left waiting with no action queued"), std::string::npos) << describe(o);
  EXPECT_EQ(o.out.find("not reached"), std::string::npos) << describe(o);
}

TEST_F(DialogDriving, TheFileDialogIsAnsweredByTypingAName) {
  std::filesystem::create_directories(file("sub"));
  write("sub/part.dxf", "0\nEOF\n");
  Outcome o = run(
      "(dialog-type 1152 \"missing.dxf\") (dialog-key \"Enter\")\n"  // refused with a box
      "(dialog-key \"Enter\")\n"                                       // the box's OK
      "(dialog-type 1152 \"sub\") (dialog-key \"Enter\")\n"          // opens the folder
      "(dialog-choose 1120 \"part.dxf\") (dialog-click 1)\n"
      "(write (zrtOpenFile \"Pick\")) (newline)\n");
  EXPECT_EQ(o.status, 0) << describe(o);
  EXPECT_EQ(o.out, "(1 \"" + file("sub/part.dxf") + "\")\n") << describe(o);
}

TEST_F(DialogDriving, TheColourPickerOpensClampedAndIsAnsweredByKeysChoicesAndCancel) {
  Outcome o = run(
      "(define (show x) (write x) (newline))\n"
      // 300 opens at 256 (by layer); Left and Enter choose 255.
      "(dialog-check 100 (lambda (s) (unless (eqv? (assq-ref s 'selection) 256) (error \"opened at\" s))))\n"
      "(dialog-check 101 (lambda (s) (unless (equal? (assq-ref s 'text) \"Index 256 (by layer)\") (error \"label\" s))))\n"
      "(dialog-key \"Left\") (dialog-key \"Enter\")\n"
      "(show (zrtColour 300))\n"
      // A swatch chosen by index (a click on it), then OK.
      "(dialog-choose 100 5) (dialog-snapshot \"picker.txt\") (dialog-click 1)\n"
      "(show (zrtColour 7))\n"
      // Chosen by its text, then cancelled.
      "(dialog-choose 100 \"30\") (dialog-click 2)\n"
      "(show (zrtColour 7))\n"
      // Nothing queued and no colour-dialog: nobody answers; printed, not
      // confirmed.
      "(show (zrtColour 7))\n"
      // colour-dialog answers before the picker: the queued click stays.
      "(define (colour-dialog initial) (+ initial 1))\n"
      "(dialog-click 1)\n"
      "(show (zrtColour 7))\n"
      "(show (dialog-pending))\n");
  EXPECT_EQ(o.status, 0) << describe(o);
  EXPECT_EQ(o.out, "(5100 255)\n(5100 5)\n(-5001 -1)\n[Colour]\n  Index 7 (255,255,255)\n  -> Cancel\n(-5001 -1)\n(5100 8)\n(\"(dialog-click 1)\")\n") << describe(o);
  const std::string snap = read("picker.txt");
  EXPECT_NE(snap.find("Index 5 (0,0,255)"), std::string::npos) << snap;
  EXPECT_NE(snap.find("+- Colour "), std::string::npos) << snap;
  EXPECT_NE(snap.find("[]"), std::string::npos) << snap;
}

TEST_F(DialogDriving, AColourThatIsNoneOfThePickersFailsTheCall) {
  for (const char* colour : {"300", "red"}) {
    Outcome o = run(std::string("(dialog-choose 100 \"") + colour + "\")\n(zrtColour 7)\n");
    EXPECT_EQ(o.status, 1) << describe(o);
    EXPECT_NE(o.err.find(std::string("dialog \"Colour\": (dialog-choose 100 \"") + colour +
                         "\"): control 100 (ZrColourSwatches) has no colour"),
              std::string::npos)
        << describe(o);
  }
}

TEST_F(DialogDriving, TheFileChooserListsTheFiltersDrawingsAndFoldersAndGivesTheChosenPath) {
  std::filesystem::create_directories(file("drawings/old"));
  for (const char* name : {"drawings/relay.dwg", "drawings/relay.dxf", "drawings/notes.txt", "drawings/old/relay.dwg"})
    write(name, "x");
  Outcome o = run(
      "(dialog-check 1120 (lambda (s)\n"
      "  (unless (equal? (assq-ref s 'items) '(\"../\" \"old/\" \"relay.dwg\")) (error \"entries\" s))))\n"
      // The test module's dialog does not hide the read-only box.
      "(dialog-check 1040 (lambda (s) (unless (assq-ref s 'visible) (error \"read-only box\" s))))\n"
      "(dialog-choose 1120 \"relay.dwg\") (dialog-click 1)\n"
      "(write (zrtFile \"" + file("drawings") + "\")) (newline)\n"
      // Into the folder by choosing it and OK, then by typing its name.
      "(dialog-choose 1120 \"old/\") (dialog-click 1)\n"
      "(dialog-check 1120 (lambda (s) (unless (equal? (assq-ref s 'items) '(\"../\" \"relay.dwg\")) (error \"in old\" s))))\n"
      "(dialog-choose 1120 \"relay.dwg\") (dialog-click 1)\n"
      "(write (zrtFile \"" + file("drawings") + "\")) (newline)\n"
      "(dialog-type 1152 \"old\") (dialog-key \"Enter\") (dialog-type 1152 \"relay.dwg\") (dialog-key \"Enter\")\n"
      "(write (zrtFile \"" + file("drawings") + "\")) (newline)\n"
      // Without actions, file-dialog still answers.
      "(define (file-dialog folder filter title) (string-append folder \"/x.dwg\"))\n"
      "(write (zrtFile \"/d\")) (newline)\n");
  EXPECT_EQ(o.status, 0) << describe(o);
  EXPECT_EQ(o.out, "(1 \"" + file("drawings/relay.dwg") + "\")\n(1 \"" + file("drawings/old/relay.dwg") + "\")\n(1 \"" +
                       file("drawings/old/relay.dwg") + "\")\n(1 \"/d/x.dwg\")\n")
      << describe(o);
}

TEST_F(DialogDriving, BadArgumentsAreRefusedWhenQueuedAndAPictureThatCannotBeWrittenSaysWhy) {
  Outcome o = run("(dialog-key \"Hyper\")\n");
  EXPECT_EQ(o.status, 1) << describe(o);
  EXPECT_NE(o.err.find("no key is named \"Hyper\""), std::string::npos) << describe(o);
  o = run("(dialog-picture \"no/such/folder/p.png\") (message-box \"Hi\")\n");
  EXPECT_EQ(o.status, 1) << describe(o);
  EXPECT_NE(o.err.find("the picture cannot be written to no/such/folder/p.png"), std::string::npos) << describe(o);
  o = run("(dialog-click 1) (dialog-clear) (write (dialog-pending)) (write (message-box \"Hi\" \"T\" 1))\n");
  EXPECT_EQ(o.status, 0) << describe(o);
  EXPECT_EQ(o.out, "()[T]\n  Hi\n  -> OK\n1") << describe(o);
}

TEST_F(DialogDriving, HelpDocumentsTheDrivingProcedures) {
  Outcome o = run("(zrhost-help 'host)\n");
  EXPECT_EQ(o.status, 0) << describe(o);
  for (const char* name : {"(dialog-click ID)", "(dialog-type ID TEXT)", "(dialog-key KEY)", "(dialog-close)",
                           "(dialog-choose ID ITEM)", "(dialog-tab ID INDEX)", "(dialog-cell ID ROW COLUMN)",
                           "(dialog-snapshot PATH)", "(dialog-picture PATH)", "(dialog-check ID PROC)",
                           "(dialog-pending)", "(dialog-clear)", "(message-box TEXT [CAPTION] [STYLE])"})
    EXPECT_NE(o.out.find(name), std::string::npos) << name;
  EXPECT_NE(o.out.find("(zrhost-help 'keys)"), std::string::npos) << o.out;
  // The keys of the dialogs, each with what it does.
  o = run("(zrhost-help 'keys)\n");
  EXPECT_EQ(o.status, 0) << describe(o);
  for (const char* keys : {"  Alt+F4, a click on [x]: the window close command", "  F2, Space, Enter: in the property grid",
                           "  Alt+Down, F4: drops a combo box's list", "  Tab, Shift+Tab: the next or previous control"})
    EXPECT_NE(o.out.find(keys), std::string::npos) << keys << "\n" << o.out;
}

}  // namespace

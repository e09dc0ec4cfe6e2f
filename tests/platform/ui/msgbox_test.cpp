// Message boxes and the file dialog answered by responders.
#include "ui_test_support.h"
#include "zrui/afx.h"

namespace {

TEST(MessageBoxes, TheDefaultResponderRecordsAndGivesTheDefaultButton) {
  zrui::TakeShownMessageBoxes();
  EXPECT_EQ(MessageBoxW(nullptr, u"SQL ERROR: select", u"Erro", MB_OK | MB_ICONERROR), IDOK);
  EXPECT_EQ(MessageBoxW(nullptr, u"Continuar?", u"Q", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2), IDNO);
  auto shown = zrui::TakeShownMessageBoxes();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].text, u"SQL ERROR: select");
  EXPECT_EQ(shown[0].caption, u"Erro");
  EXPECT_EQ(shown[0].icon(), MB_ICONERROR);
  EXPECT_EQ(shown[1].buttons(), MB_YESNO);
  EXPECT_EQ(shown[1].answers(), (std::vector<int>{IDYES, IDNO}));
  EXPECT_TRUE(zrui::TakeShownMessageBoxes().empty());
}

TEST(MessageBoxes, AScriptedResponderAnswersInOrder) {
  zrui::ScriptedMessageBoxes boxes;
  boxes.answer(IDYES);
  zrui::SetAppName(u"zrhost");
  EXPECT_EQ(AfxMessageBox(u"Fatal Error", MB_YESNO), IDYES);
  EXPECT_EQ(AfxMessageBox(u"again", MB_OKCANCEL), IDOK) << "default answer once the queue is empty";
  ASSERT_EQ(boxes.shown().size(), 2u);
  EXPECT_EQ(boxes.shown()[0].text, u"Fatal Error");
  EXPECT_EQ(boxes.shown()[0].caption, u"zrhost");
}

TEST(FileDialog, TheResponderChoosesAFileAndThePartsAreReadBack) {
  zrui::TakeShownFileDialogs();
  zrui::SetFileDialogResponder([](const zrui::FileDialogRequest& r) {
    EXPECT_TRUE(r.open);
    return zrui::FileDialogAnswer{IDOK, r.initialDirectory + u"/relay.dwg"};
  });
  CFileDialog dlg(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, u"Drawings|*.dwg||");
  dlg.m_ofn.lpstrInitialDir = u"/proj/blocos";
  ASSERT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(dlg.GetPathName(), u"/proj/blocos/relay.dwg");
  EXPECT_EQ(dlg.GetFileName(), u"relay.dwg");
  EXPECT_EQ(dlg.GetFileTitle(), u"relay");
  EXPECT_EQ(dlg.GetFileExt(), u"dwg");
  EXPECT_EQ(dlg.GetFolderPath(), u"/proj/blocos");
  auto shown = zrui::TakeShownFileDialogs();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].filter, u"Drawings|*.dwg||");
  EXPECT_EQ(shown[0].flags, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
  zrui::SetFileDialogResponder(nullptr);
  CFileDialog none(TRUE);
  EXPECT_EQ(none.DoModal(), IDCANCEL) << "without a responder the dialog is cancelled";
  EXPECT_EQ(none.GetPathName(), u"");
}

}  // namespace

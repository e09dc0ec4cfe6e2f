// CITexto: interface texts by code for the running program.

#include <gtest/gtest.h>

#include <fstream>

#include "settings/CITexto.h"
#include "program_environment.h"

namespace {

using zrtest::MissingClass;
using zrtest::ProgramEnvironment;

class Texto : public testing::Test {
 protected:
  void SetUp() override { CoInitialize(nullptr); }
  void TearDown() override { CoUninitialize(); }

  void WriteTexts(const std::string& text) { std::ofstream(env.settingsFolder() / "textos.ini") << text; }

  ProgramEnvironment env{"zrtxt-test"};
};

TEST_F(Texto, EveryCodeInUseHasTheShippedText) {
  CITexto texts;
  EXPECT_EQ(texts.GetModuleKey(), u"ZRCONECTOR");
  EXPECT_EQ(texts.GetPrograma(), u"zrtxt-test");
  for (int code = 1; code <= 44; ++code) {
    SCOPED_TRACE(code);
    CString text = texts.GetTexto(code);
    EXPECT_FALSE(text.IsEmpty());
    EXPECT_NE(text.GetAt(0), u'#') << text.ToUtf8();
  }
  EXPECT_EQ(texts.GetTexto(10).ToUtf8(), "Seleção de conector");
}

TEST_F(Texto, TheProgramNameSelectsItsOwnTexts) {
  WriteTexts(
      "[ZRCONECTOR]\n"
      "9 = Gravar\n"
      "[zrtxt-outro/ZRCONECTOR]\n"
      "9 = Gravar no outro\n");
  EXPECT_EQ(CITexto().GetTexto(9).ToUtf8(), "Gravar");
  env.SetProgram("zrtxt-outro");
  EXPECT_EQ(CITexto().GetTexto(9).ToUtf8(), "Gravar no outro");
}

TEST_F(Texto, TextsAreTheComponentsAnswerUnchanged) {
  WriteTexts("[ZRCONECTOR]\n36 = Linha 1\\nLinha 2\n");
  IUnknownPtr unknown;
  ASSERT_EQ(CoCreateInstance(CLSID_ZrTexts, nullptr, CLSCTX_ALL, ZrUuidOf<IUnknown>(),
                             reinterpret_cast<void**>(&unknown)),
            S_OK);
  IZrTextsPtr direct(unknown);
  ASSERT_TRUE(direct);
  CITexto texts;
  for (int code = 1; code <= 44; ++code) {
    SCOPED_TRACE(code);
    _bstr_t expected = direct->GetText(u"zrtxt-test", u"ZRCONECTOR", _bstr_t(std::to_string(code)));
    EXPECT_EQ(texts.GetTexto(code).str(), expected.str());
  }
  EXPECT_EQ(texts.GetTexto(36).ToUtf8(), "Linha 1\nLinha 2");
}

TEST_F(Texto, CodesTravelAsDecimalTextWhateverTheirValue) {
  CITexto texts;
  // The component marks codes it does not know with the code it was sent.
  EXPECT_EQ(texts.GetTexto(45).ToUtf8(), "#ZRCONECTOR.45");
  EXPECT_EQ(texts.GetTexto(0).ToUtf8(), "#ZRCONECTOR.0");
  EXPECT_EQ(texts.GetTexto(-7).ToUtf8(), "#ZRCONECTOR.-7");
  EXPECT_EQ(CITexto(u"OUTRO").GetTexto(1).ToUtf8(), "#OUTRO.1");
}

TEST_F(Texto, WithoutTheComponentEveryLookupIsAPointerError) {
  MissingClass missing(CLSID_ZrTexts);
  CITexto texts;
  try {
    texts.GetTexto(1);
    ADD_FAILURE() << "GetTexto returned without a texts component";
  } catch (const _com_error& e) {
    EXPECT_EQ(e.Error(), E_POINTER);
    EXPECT_NE(e.Description().utf8().find("PRMSET"), std::string::npos) << e.Description().utf8();
    // The cause found when the component was created.
    EXPECT_NE(e.Description().utf8().find("zr-missing-library.so"), std::string::npos) << e.Description().utf8();
  }
}

}  // namespace

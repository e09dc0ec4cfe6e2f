// Texts by (program, module key, code): the shipped table and overrides.

#include <set>

#include "component_fixture.h"

namespace {

using Texts = Components;

TEST_F(Texts, EveryCodeOfTheModuleHasAText) {
  IZrTextsPtr texts = Create<IZrTexts>(CLSID_ZrTexts);
  ASSERT_TRUE(texts);
  std::set<std::u16string> distinct;
  for (int code = 1; code <= 44; ++code) {
    SCOPED_TRACE(code);
    BSTR text = nullptr;
    std::u16string number = ZrUtf8ToUtf16(std::to_string(code));
    ASSERT_EQ(texts->raw_GetText(_bstr_t(u"zrhost"), _bstr_t(u"ZRCONECTOR"), _bstr_t(number), &text), S_OK);
    _bstr_t owned(text, false);
    EXPECT_GT(owned.length(), 0u);
    EXPECT_NE(owned.view().front(), u'#');
    distinct.insert(owned.str());
  }
  EXPECT_GT(distinct.size(), 35u);  // texts for different uses differ
}

TEST_F(Texts, KnownTextsReadAsShipped) {
  IZrTextsPtr texts = Create<IZrTexts>(CLSID_ZrTexts);
  EXPECT_EQ(texts->GetText(u"zrhost", u"ZRCONECTOR", u"10").view(), u"Seleção de conector");
  EXPECT_EQ(texts->GetText(u"zrhost", u"ZRCONECTOR", u"40").view(), u"Conectado a %s");  // a format with one argument
  EXPECT_EQ(texts->GetText(u"outro", u"zrconector", u" 13 ").view(), u"Carregando...");
}

TEST_F(Texts, UnknownCodeOrModuleGivesAMarkedPlaceholder) {
  IZrTextsPtr texts = Create<IZrTexts>(CLSID_ZrTexts);
  BSTR text = nullptr;
  EXPECT_EQ(texts->raw_GetText(_bstr_t(u"zrhost"), _bstr_t(u"ZRCONECTOR"), _bstr_t(u"45"), &text), S_FALSE);
  EXPECT_EQ(ZrBstrView(text), u"#ZRCONECTOR.45");
  SysFreeString(text);
  EXPECT_EQ(texts->GetText(u"zrhost", u"OUTRO", u"1").view(), u"#OUTRO.1");
  EXPECT_EQ(texts->raw_GetText(_bstr_t(u"zrhost"), _bstr_t(u"ZRCONECTOR"), _bstr_t(u"1"), nullptr), E_POINTER);
}

TEST_F(Texts, SettingsFoldersOverrideTheShippedTexts) {
  Write(settings() / "textos.ini",
        "[ZRCONECTOR]\n"
        "9 = Gravar\n"
        "[zrhost/ZRCONECTOR]\n"
        "7 = Sair do zrhost\n"
        "36 = Primeira linha\\nSegunda linha\n"
        "this line is malformed\n"
        "17 = Desistir\n");
  IZrTextsPtr texts = Create<IZrTexts>(CLSID_ZrTexts);
  EXPECT_EQ(texts->GetText(u"qualquer", u"ZRCONECTOR", u"9").view(), u"Gravar");
  EXPECT_EQ(texts->GetText(u"ZRHOST", u"ZRCONECTOR", u"7").view(), u"Sair do zrhost");
  EXPECT_EQ(texts->GetText(u"outro", u"ZRCONECTOR", u"7").view(), u"Fechar");  // shipped
  EXPECT_EQ(texts->GetText(u"zrhost", u"ZRCONECTOR", u"36").view(), u"Primeira linha\nSegunda linha");
  EXPECT_EQ(texts->GetText(u"zrhost", u"ZRCONECTOR", u"17").view(), u"Desistir");  // after the bad line
  EXPECT_EQ(texts->GetText(u"zrhost", u"ZRCONECTOR", u"16").view(), u"OK");
}

}  // namespace

// Settings and texts files that are there but cannot be used: a folder or a
// pipe in their place, no permission to read them, text that is not UTF-8,
// NUL bytes, lines too long for the reader. A settings file says which file,
// which line and why; a texts file is passed over (or its bad lines are).

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "child_process.h"
#include "component_fixture.h"

namespace {

using BadFiles = Components;

struct BadSettings {
  const char* what;
  std::string text;
  std::string reason;  // in LoadError, after the file's name
};

const BadSettings kBadSettings[] = {
    {"a line without a separator", "[database]\ntype = MDB\nthis line has no separator\nname = x.db\n",
     "zrhost.ini:3"},
    {"Latin-1 text", "[database]\ntype = MDB\nname = cat\xE1logo.db\n", "zrhost.ini:3: not UTF-8 text"},
    {"UTF-16 text", std::string("\xFF\xFE[\0d\0]\0", 8), "zrhost.ini:1: UTF-16 text"},
    {"a NUL byte", std::string("[database]\nname = a\0b.db\n", 25), "zrhost.ini:2: a NUL byte"},
    {"a stray continuation byte", "[database]\nuser = \x80x\n", "zrhost.ini:2: not UTF-8 text"},
    {"an overlong form", "[database]\n\nuser = \xC0\xAF\n", "zrhost.ini:3: not UTF-8 text"},
    {"a surrogate", "[database]\nuser = \xED\xA0\x80\n", "zrhost.ini:2: not UTF-8 text"},
    {"a cut sequence at the end", "[database]\nuser = \xE2\x82", "zrhost.ini:2: not UTF-8 text"},
    {"a line too long for the reader", "[database]\npassword = " + std::string(200, 'x') + "\n",
     "zrhost.ini:2: longer than 199 bytes"},
};

// The example settings of "zrhost" exist as the last resort; a bad file of the
// user's own must be reported, not passed over for them.
TEST_F(BadFiles, BadSettingsFileFailsWithItsLineAndCause) {
  IZrSettingsPtr s = Create<IZrSettings>(CLSID_ZrSettings);
  for (const BadSettings& c : kBadSettings) {
    SCOPED_TRACE(c.what);
    Write(settings() / "zrhost.ini", c.text);
    EXPECT_EQ(s->Load(u"zrhost"), VARIANT_FALSE);
    const std::string why = s->GetLoadError().utf8();
    EXPECT_NE(why.find(c.reason), std::string::npos) << why;
    EXPECT_EQ(s->GetDatabaseName()->GetValue().utf8(), "");
    EXPECT_EQ(s->GetDatabaseType()->GetValue().utf8(), "");
    EXPECT_EQ(s->GetSettingsFile().utf8(), "");
  }
}

TEST_F(BadFiles, UsualTextFormsAreAccepted) {
  // A byte order mark, CRLF line ends, accented UTF-8, a line of 199 bytes.
  const std::string password(199 - std::strlen("password = "), 'p');
  Write(settings() / "zrhost.ini",
        "\xEF\xBB\xBF[database]\r\nname = cat\xC3\xA1logo.db\r\nuser = \xF0\x9F\x94\x8C\r\npassword = " + password +
            "\n");
  IZrSettingsPtr s = Create<IZrSettings>(CLSID_ZrSettings);
  ASSERT_EQ(s->Load(u"zrhost"), VARIANT_TRUE) << s->GetLoadError().utf8();
  EXPECT_EQ(s->GetDatabaseName()->GetValue().utf8(), "cat\xC3\xA1logo.db");
  EXPECT_EQ(s->GetUser()->GetValue().utf8(), "\xF0\x9F\x94\x8C");
  EXPECT_EQ(s->GetPassword()->GetValue().utf8(), password);
}

TEST_F(BadFiles, SomethingOtherThanAFileInTheSettingsFilesPlace) {
  IZrSettingsPtr s = Create<IZrSettings>(CLSID_ZrSettings);
  std::filesystem::create_directory(settings() / "zrhost.ini");
  EXPECT_EQ(s->Load(u"zrhost"), VARIANT_FALSE);
  std::string why = s->GetLoadError().utf8();
  EXPECT_NE(why.find((settings() / "zrhost.ini").string() + ": cannot be read: Is a directory"), std::string::npos)
      << why;
  std::filesystem::remove(settings() / "zrhost.ini");

  // A pipe with no writer: reading it must not wait for one.
  ASSERT_EQ(::mkfifo((settings() / "zrhost.ini").c_str(), 0644), 0);
  EXPECT_EQ(s->Load(u"zrhost"), VARIANT_FALSE);
  why = s->GetLoadError().utf8();
  EXPECT_NE(why.find("zrhost.ini: cannot be read: not a regular file"), std::string::npos) << why;
  EXPECT_EQ(s->GetDatabaseType()->GetValue().utf8(), "");
}

// Root reads any file: the load runs in a child that gives up its privileges.
TEST_F(BadFiles, FilesThatTheUserMayNotRead) {
  Write(settings() / "zrhost.ini", "[database]\nname = segredo.db\n");
  ::chmod((settings() / "zrhost.ini").c_str(), 0600);
  // A texts file the user may not read leaves the shipped texts.
  const std::string shipped7 = Create<IZrTexts>(CLSID_ZrTexts)->GetText(u"zrhost", u"ZRCONECTOR", u"7").utf8();
  Write(settings() / "textos.ini", "[ZRCONECTOR]\n7 = Sair\n");
  ::chmod((settings() / "textos.ini").c_str(), 0600);
  ::chmod(root().c_str(), 0755);
  const testing_support::ChildOutcome child = testing_support::runUnprivileged([this] {
    IZrSettingsPtr s = Create<IZrSettings>(CLSID_ZrSettings);
    std::string report = s ? (s->Load(u"zrhost") == VARIANT_TRUE ? "loaded" : s->GetLoadError().utf8()) + "|" +
                                 s->GetDatabaseName()->GetValue().utf8()
                           : "no component";
    return report + "|" + Create<IZrTexts>(CLSID_ZrTexts)->GetText(u"zrhost", u"ZRCONECTOR", u"7").utf8();
  });
  const std::string& report = child.text;
  ASSERT_TRUE(child.exited) << report;
  if (report.rfind("skip: ", 0) == 0) GTEST_SKIP() << report;
  EXPECT_EQ(report,
            (settings() / "zrhost.ini").string() + ": cannot be read: " + std::strerror(EACCES) + "||" + shipped7);
}

// A textos.ini that cannot be used leaves the shipped texts; in one that can,
// only its bad lines are passed over.
TEST_F(BadFiles, TextsFilesThatCannotBeUsedLeaveTheShippedTexts) {
  IZrTextsPtr texts = Create<IZrTexts>(CLSID_ZrTexts);
  const std::u16string shipped7(texts->GetText(u"zrhost", u"ZRCONECTOR", u"7").view());
  const std::u16string shipped9(texts->GetText(u"zrhost", u"ZRCONECTOR", u"9").view());
  ASSERT_NE(shipped7, u"Sair");

  std::filesystem::create_directory(settings() / "textos.ini");
  EXPECT_EQ(texts->GetText(u"zrhost", u"ZRCONECTOR", u"7").view(), shipped7);
  std::filesystem::remove(settings() / "textos.ini");

  Write(settings() / "textos.ini", std::string("\xFF\xFE[\0Z\0R\0]\0\n\0" "7\0=\0X\0", 18));
  EXPECT_EQ(texts->GetText(u"zrhost", u"ZRCONECTOR", u"7").view(), shipped7);

  Write(settings() / "textos.ini",
        "[ZRCONECTOR]\n"
        "9 = Aplica\xE7\xE3o\n"  // Latin-1
        "7 = Sair\n"
        "8 = " + std::string(300, 'a') + "\n");
  EXPECT_EQ(texts->GetText(u"zrhost", u"ZRCONECTOR", u"9").view(), shipped9);
  EXPECT_EQ(texts->GetText(u"zrhost", u"ZRCONECTOR", u"7").view(), u"Sair");
  const std::u16string eight(texts->GetText(u"zrhost", u"ZRCONECTOR", u"8").view());
  EXPECT_EQ(eight.find(u"aaaa"), std::u16string::npos) << "a line cut by the reader must not count";
}

}  // namespace

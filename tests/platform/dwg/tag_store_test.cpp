// How a read drawing keeps its tags: packed lists (in the drawing's arena or
// in blocks of their own) give back every code and value as added, and the
// reader's two ways through a line (the common plain tag, anything else) read
// the same tags wherever the file's buffer happens to end.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "zrdwg/OdDbBlockTableRecord.h"
#include "zrdwg/OdDbDatabase.h"
#include "zrdwg/OdDbHandle.h"
#include "zrdwg/OdDbText.h"
#include "zrdwg/OdError.h"
#include "store/TagArena.h"
#include "zrdwg/TagList.h"
#include "drawing_builder.h"
#include "dxf_text_edits.h"
#include "temp_dir.h"

using namespace testing_support;

namespace {

struct Tag {
  int code;
  std::string value;
  bool operator==(const Tag&) const = default;
};

std::vector<Tag> tagsOf(const TagList& list) {
  std::vector<Tag> out;
  for (const DxfTag& t : list) out.push_back({t.code, std::string(t.value)});
  return out;
}

// Codes at each edge of the packing (one byte, the subclass byte, two bytes),
// known and unknown subclass names, and value lengths at each edge of the
// length's encoding.
std::vector<Tag> edgeTags() {
  std::vector<Tag> tags = {
      {0, "LINE"},      {-32768, "lowest"},    {-1, ""},          {100, "AcDbEntity"},  {100, "AcDbEntityX"},
      {100, "AcDb"},    {100, "AcDbLine"},     {253, "253"},      {254, "254"},         {255, "255"},
      {1001, "ZR_PINO"}, {1000, std::string("a\0b", 3)}, {32767, "highest"}, {100, ""},
      // The codes on either side of those packed in one byte as common ones,
      // some of them, and a file's own codes where their bytes lie.
      {239, "239"},     {240, "240"},          {245, ""},         {252, "252"},         {330, "1F"},
      {281, "1"},       {1070, "3"},           {1071, "4"},       {370, "-1"},          {1040, "1.5"},
  };
  for (std::size_t n : {127u, 128u, 16383u, 16384u, 300000u}) tags.push_back({1, std::string(n, 'x')});
  return tags;
}

TEST(TagStore, PackedListsGiveBackEveryTagInOrder) {
  const std::vector<Tag> tags = edgeTags();
  TagArena arena;
  TagListBuilder b;
  // Met once before, so that both lists below hold the tags a process keeps
  // once alike (they take their places the second time they are met).
  for (const Tag& t : tags) b.add(t.code, t.value);
  b.clear();
  for (const Tag& t : tags) b.add(t.code, t.value);
  const TagList own = b.finish();
  EXPECT_TRUE(b.empty());
  for (const Tag& t : tags) b.add(t.code, t.value);
  const TagList inArena = b.finish(arena);
  EXPECT_FALSE(own.inArena());
  EXPECT_TRUE(inArena.inArena());
  EXPECT_EQ(tagsOf(own), tags);
  EXPECT_EQ(tagsOf(inArena), tags);
  EXPECT_EQ(own.byteSize(), inArena.byteSize());
  // Nothing added, nothing kept.
  EXPECT_TRUE(b.finish(arena).empty());
}

// A list keeps its size and its extended-data mark whatever its size, in an
// arena or not, and its copies too: lists up to 32 KB keep them in the
// list's word, longer ones in a header.
TEST(TagStore, ListsOfEverySizeKeepTheirSizeAndExtendedData) {
  TagArena arena;
  TagListBuilder b;
  for (std::size_t value : {1u, 32000u, 32759u, 32760u, 32763u, 32764u, 40000u}) {
    for (bool extended : {false, true}) {
      SCOPED_TRACE(std::to_string(value) + (extended ? " with extended data" : ""));
      std::vector<Tag> tags = {{1, std::string(value, 'v')}};
      if (extended) tags.push_back({1001, "ZR"});
      // Met once before, so that every list below holds the tags a process
      // keeps once alike (they take their places the second time they are met).
      for (const Tag& t : tags) b.add(t.code, t.value);
      b.clear();
      for (const Tag& t : tags) b.add(t.code, t.value);
      const std::size_t size = b.size();
      const TagList own = b.finish();
      for (const Tag& t : tags) b.add(t.code, t.value);
      TagList inArena = b.finish(arena);
      const TagList copy = inArena;
      for (const TagList* list : {&own, static_cast<const TagList*>(&inArena), &copy}) {
        EXPECT_EQ(list->byteSize(), size);
        EXPECT_EQ(list->hasExtendedData(), extended);
        EXPECT_EQ(tagsOf(*list), tags);
      }
      inArena.makeOwned();
      EXPECT_FALSE(inArena.inArena());
      EXPECT_EQ(inArena.byteSize(), size);
      EXPECT_EQ(inArena.hasExtendedData(), extended);
      EXPECT_EQ(tagsOf(inArena), tags);
    }
  }
}

// Each known class's subclass marker takes two bytes and reads back as its
// name; a name one byte off, longer or shorter is kept as text.
TEST(TagStore, EveryKnownClassTakesTwoBytesAndNoOtherName) {
  auto sizeOf = [](const std::string& name) { return TagList::fromTags({{100, name}}).byteSize(); };
  for (std::string_view known : TagList::kKnownClasses) {
    const std::string name(known);
    EXPECT_EQ(sizeOf(name), 2u) << name;
    EXPECT_EQ(tagsOf(TagList::fromTags({{100, name}})), (std::vector<Tag>{{100, name}})) << name;
    std::string changed = name;
    changed.back() = static_cast<char>(changed.back() ^ 0x20);  // the last letter's case
    for (const std::string& other : {changed, name + "s", name.substr(0, name.size() - 1)}) {
      if (std::find(std::begin(TagList::kKnownClasses), std::end(TagList::kKnownClasses), other) !=
          std::end(TagList::kKnownClasses))
        continue;  // another known class (a shorter name may be one)
      // Another name reads back as itself (kept once for the process, or in
      // full once every place is taken).
      EXPECT_EQ(tagsOf(TagList::fromTags({{100, other}})), (std::vector<Tag>{{100, other}})) << other;
    }
  }
}

// The owner and extended-data codes, which every object repeats, pack in one
// byte like the small codes.
TEST(TagStore, OwnersAndExtendedDataTakeOneByteForTheirCode) {
  auto sizeOf = [](int code) { return TagList::fromTags({{code, "1F"}}).byteSize(); };
  for (int code : {330, 340, 360, 1000, 1005, 1070}) EXPECT_EQ(sizeOf(code), sizeOf(5)) << code;
  EXPECT_GT(sizeOf(240), sizeOf(5));  // a file's own code 240 is given in full
}

TEST(TagStore, FindingSeveralCodesInOneWalkAgreesWithFindingEach) {
  // Codes before any marker, in two subclasses, repeated (the first counts),
  // inside an application group (skipped) and in extended data (not data).
  const TagList list = TagList::fromTags({{5, "1A"},
                                          {102, "{ACAD_REACTORS"},
                                          {10, "99"},
                                          {102, "}"},
                                          {100, "AcDbEntity"},
                                          {8, "0"},
                                          {10, "7"},
                                          {100, "AcDbBlockReference"},
                                          {20, "2"},
                                          {10, "1"},
                                          {10, "3"},
                                          {30, "4"},
                                          {1001, "APP"},
                                          {40, "5"}});
  const std::vector<std::string_view> subclasses = {"", "AcDbEntity", "AcDbBlockReference", "AcDbText"};
  const std::vector<std::vector<int>> requests = {{10, 20, 30}, {30, 10}, {5, 8, 40}, {100, 10}, {10, 10}, {}};
  for (std::string_view subclass : subclasses) {
    for (const std::vector<int>& codes : requests) {
      std::vector<std::optional<std::string_view>> each(codes.size(), std::string_view("stale"));
      tags::findEach(list, subclass, codes.data(), codes.size(), each.data());
      for (std::size_t i = 0; i < codes.size(); ++i)
        EXPECT_EQ(each[i], tags::find(list, subclass, codes[i])) << "subclass \"" << subclass << "\", code " << codes[i];
    }
  }
  std::optional<std::string_view> point[3];
  const int xyz[] = {10, 20, 30};
  tags::findEach(list, "AcDbBlockReference", xyz, 3, point);
  EXPECT_EQ(point[0], std::optional<std::string_view>("1"));
  EXPECT_EQ(point[1], std::optional<std::string_view>("2"));
  EXPECT_EQ(point[2], std::optional<std::string_view>("4"));
}

TEST(TagStore, CopiesOfArenaListsOutliveTheArena) {
  TagList copy, owned;
  {
    TagArena arena;
    TagListBuilder b;
    // Many lists, so that the arena takes more than one block.
    std::vector<TagList> lists;
    for (int i = 0; i < 40000; ++i) {
      b.add(5, std::to_string(i));
      b.add(1, std::string(64, 'v'));
      lists.push_back(b.finish(arena));
    }
    EXPECT_EQ(tagsOf(lists[39999]), (std::vector<Tag>{{5, "39999"}, {1, std::string(64, 'v')}}));
    copy = lists[12345];
    owned = std::move(lists[20000]);
    owned.makeOwned();
    EXPECT_FALSE(copy.inArena());
    EXPECT_FALSE(owned.inArena());
  }
  EXPECT_EQ(tagsOf(copy), (std::vector<Tag>{{5, "12345"}, {1, std::string(64, 'v')}}));
  EXPECT_EQ(tagsOf(owned), (std::vector<Tag>{{5, "20000"}, {1, std::string(64, 'v')}}));
}

// `text` with every group-code line written by `pad` in turn.
std::string repadded(const std::string& text, const std::vector<std::string (*)(const std::string&)>& pads) {
  std::string out;
  std::size_t i = 0, n = 0;
  while (i < text.size()) {
    const std::size_t codeEnd = text.find('\n', i), valueEnd = text.find('\n', codeEnd + 1);
    std::string code = text.substr(i, codeEnd - i);
    code.erase(0, code.find_first_not_of(' '));
    out += pads[n++ % pads.size()](code) + "\n" + text.substr(codeEnd + 1, valueEnd - codeEnd);
    i = valueEnd + 1;
  }
  return out;
}

TEST(TagStore, PlainAndPaddedCodesReadAlikeAcrossTheReadersBuffer) {
  // Some 3 MB of entities: the file is read in pieces of 1 MB, so tags fall
  // across the end of each piece.
  std::string entities;
  for (int h = 0x100; h < 0x100 + 24000; ++h) {
    char handle[16];
    std::snprintf(handle, sizeof handle, "%X", static_cast<unsigned>(h));
    entities += lineEntity(handle, "17", "1001\nZR_PINO\n1000\nX" + std::to_string(h) + "\n");
  }
  std::string text = withEntities(roomyDrawingText("AC1015"), entities);
  text = replaced(text, "$HANDSEED\n  5\n100\n", "$HANDSEED\n  5\n6000\n");
  const std::string canonical = OdDbDatabase::readDxfText(text, u("in"))->dxfText();
  const std::vector<std::string (*)(const std::string&)> pads = {
      [](const std::string& c) { return std::string(c.size() < 3 ? 3 - c.size() : 0, ' ') + c; },
      [](const std::string& c) { return c; },
      [](const std::string& c) { return "\t" + c + " "; },
      [](const std::string& c) { return "000" + c; },
      [](const std::string& c) { return c + "\r"; },
      [](const std::string& c) { return "          " + c; },
      // A line end of CR LF after codes of three and of four characters.
      [](const std::string& c) { return std::string(c.size() < 3 ? 3 - c.size() : 0, ' ') + c + "\r"; },
  };
  TempDir dir;
  for (const std::string& variant : {canonical, repadded(canonical, pads)}) {
    const std::string path = dir.file("in.dxf");
    writeFile(path, variant);
    EXPECT_EQ(OdDbDatabase::readDxf(u(path.c_str()))->dxfText(), canonical);
    EXPECT_EQ(OdDbDatabase::readDxfText(variant, u("in"))->dxfText(), canonical);
  }
  // A code line that is a number too long for a group code is refused on
  // either way, naming its line.
  const std::size_t at = canonical.find("  5\n1FF\n");
  ASSERT_NE(at, std::string::npos);
  const std::size_t line = static_cast<std::size_t>(std::count(canonical.begin(), canonical.begin() + at, '\n')) + 1;
  for (const char* code : {"1234567", "99999999999999", "-40000"}) {
    std::string bad = canonical;
    bad.replace(at, 3, code);
    try {
      OdDbDatabase::readDxfText(bad, u("in"));
      ADD_FAILURE() << code << " was read";
    } catch (const OdError& e) {
      EXPECT_NE(e.description().toUtf8().find("in:" + std::to_string(line) + ": group code"), std::string::npos)
          << e.description().toUtf8();
    }
  }
}

}  // namespace

// The entities of a read drawing live in its arena; one held past the
// drawing (and what it shows: tags, extended data, attributes held too)
// stays readable until its last holder lets go, in any order, and a drawing
// that ends with nothing held frees them all.
TEST(TagStore, EntitiesOfAReadDrawingHeldPastItStayUntilTheirLastHolderGoes) {
  std::string text;
  {
    OdDbDatabasePtr made = OdDbDatabase::createNew();
    addBlock(*made, "PIN-A", {{"ID_PINO", "Pino"}});
    addPin(*made, "PIN-A", "X1", "CON-00001", "1", 0, 0);
    addPin(*made, "PIN-A", "X2", "CON-00002", "7", 10, 0, "N");
    text = made->dxfText();
  }
  for (bool insertGoesFirst : {true, false}) {
    SCOPED_TRACE(insertGoesFirst ? "the reference let go first" : "the attribute let go first");
    OdDbBlockReferencePtr reference;
    OdDbAttributePtr attribute;
    {
      OdDbDatabasePtr db = OdDbDatabase::readDxfText(text, u("held.dxf"));
      OdDbBlockTableRecordPtr space = db->getModelSpaceId().safeOpenObject();
      std::vector<OdDbBlockReferencePtr> references;
      for (OdDbObjectIteratorPtr it = space->newIterator(); !it->done(); it->step())
        references.push_back(OdDbBlockReference::cast(it->entity().get()));
      ASSERT_EQ(references.size(), 2u);
      reference = references[1];
      OdDbObjectIteratorPtr attributes = reference->attributeIterator();
      ASSERT_FALSE(attributes->done());
      attribute = OdDbAttribute::cast(attributes->entity().get());
      ASSERT_TRUE(attribute);
    }
    EXPECT_EQ(reference->database(), nullptr);
    EXPECT_EQ(reference->dxfName(), "INSERT");
    std::vector<OdString> values;
    EXPECT_TRUE(reference->xDataTexts(u("ZR_PINO"), values));
    EXPECT_EQ(values, (std::vector<OdString>{u("ZR_PINO"), u("X2"), u("CON-00002"), u("N")}));
    EXPECT_EQ(attribute->tag(), u("ID_PINO"));
    EXPECT_EQ(attribute->textString(), u("7"));
    if (insertGoesFirst) {
      reference.release();
      EXPECT_EQ(attribute->textString(), u("7"));
      attribute.release();
    } else {
      attribute.release();
      EXPECT_EQ(reference->position().x, 10.0);
      reference.release();
    }
  }
}

// An entity read from a drawing and held past it is outside every drawing:
// another drawing refuses it and stays as it was. One made by the program
// and held past its drawing may join another.
TEST(TagStore, AnEntityHeldPastItsDrawingJoinsAnotherOnlyWhenTheProgramMadeIt) {
  OdDbDatabasePtr made = OdDbDatabase::createNew();
  addBlock(*made, "PIN-A", {{"ID_PINO", "Pino"}});
  addPin(*made, "PIN-A", "X1", "CON-00001", "1", 0, 0);
  const std::string text = made->dxfText();
  OdDbEntityPtr read, madeHere;
  {
    OdDbDatabasePtr db = OdDbDatabase::readDxfText(text, u("held.dxf"));
    OdDbBlockTableRecordPtr space = db->getModelSpaceId().safeOpenObject(OdDb::kForWrite);
    OdDbObjectIteratorPtr it = space->newIterator();
    ASSERT_FALSE(it->done());
    read = it->entity();
    madeHere = OdDbText::createObject();
    space->appendOdDbEntity(madeHere.get());
    EXPECT_NE(read->database(), nullptr);
    EXPECT_NE(madeHere->database(), nullptr);
  }
  EXPECT_EQ(read->database(), nullptr);
  EXPECT_EQ(madeHere->database(), nullptr);

  OdDbDatabasePtr other = OdDbDatabase::createNew();
  const std::string before = other->dxfText();
  OdDbBlockTableRecordPtr space = other->getModelSpaceId().safeOpenObject(OdDb::kForWrite);
  try {
    space->appendOdDbEntity(read.get());
    ADD_FAILURE() << "an entity of a closed drawing joined another";
  } catch (const OdError& e) {
    EXPECT_EQ(e.code(), eNotApplicable);
  }
  EXPECT_EQ(read->database(), nullptr);
  EXPECT_EQ(other->dxfText(), before);
  space->appendOdDbEntity(madeHere.get());
  EXPECT_EQ(madeHere->database(), other.get());
}

// The entities of a drawing read into several blocks of its arena each find
// their drawing (through their block), and lose it when the drawing ends.
TEST(TagStore, EveryEntityOfALargeReadDrawingKnowsItsDrawingUntilItEnds) {
  std::string entities;
  constexpr int kLines = 60000;  // some 5 MB in the arena: three blocks
  for (int i = 0; i < kLines; ++i) entities += lineEntity(OdDbHandle(uint64_t(0x1000 + i)).hex());
  OdDbEntityPtr first, last;
  {
    OdDbDatabasePtr db = OdDbDatabase::readDxfText(withEntities(roomyDrawingText(), entities), u("large.dxf"));
    OdDbBlockTableRecordPtr space = db->getModelSpaceId().safeOpenObject();
    int seen = 0;
    for (OdDbObjectIteratorPtr it = space->newIterator(); !it->done(); it->step(), ++seen) {
      OdDbEntityPtr entity = it->entity();
      ASSERT_EQ(entity->database(), db.get()) << "entity " << seen;
      ASSERT_EQ(db->getOdDbObjectId(entity->getDbHandle()), entity->objectId()) << "entity " << seen;
      if (seen == 0) first = entity;
      last = entity;
    }
    EXPECT_EQ(seen, kLines);
  }
  EXPECT_EQ(first->database(), nullptr);
  EXPECT_EQ(last->database(), nullptr);
  EXPECT_EQ(last->dxfName(), "LINE");
}

// The tags a drawing repeats object after object (layers, block names,
// applications, flags) are kept once for the process from the second time
// they are met: a list then holds two bytes for each, and gives back the
// code and value exactly, at every length a place holds and just beyond it,
// the same value under different codes apart. A value viewed there outlives
// the list it was read from.
TEST(TagStore, RepeatedNamesAndFlagsAreKeptOnceAndReadBackExactly) {
  const std::string longest(TagList::kLongestInterned, 'L');
  const std::vector<Tag> kept = {{8, "PINOS"}, {2, "PIN-A"},  {1001, "ZR_PINO"}, {70, "0"},  {8, ""},
                                 {2, "PINOS"}, {8, longest}, {100, "ZrPinSymbol"}, {62, "256"}, {280, "1"}};
  const std::vector<Tag> plain = {{5, "1F"}, {330, "1F"}, {1, "PINOS"}, {10, "0.0"}, {8, longest + "L"}};
  // The places this test takes are free (CTest runs each test in a process
  // of its own; in one run of the whole file the test filling them comes last).
  ASSERT_LE(TagList::internedTaken() + kept.size(), TagList::kInternedCount);
  std::vector<Tag> all = kept;
  all.insert(all.end(), plain.begin(), plain.end());
  TagArena arena;
  TagListBuilder b;
  {
    // Met the first time: written in full.
    for (const Tag& t : all) b.add(t.code, t.value);
    const TagList first = b.finish();
    EXPECT_EQ(tagsOf(first), all);
    EXPECT_TRUE(first.hasExtendedData());
  }
  std::string_view layer;
  {
    // Met again: the places taken now.
    for (const Tag& t : all) b.add(t.code, t.value);
    const TagList second = b.finish();
    EXPECT_EQ(tagsOf(second), all);
    EXPECT_TRUE(second.hasExtendedData());
    layer = second.begin()->value;
  }
  EXPECT_EQ(layer, "PINOS");  // kept once: the list it came from is gone
  // And once more, in an arena, and copied out of it.
  for (const Tag& t : all) b.add(t.code, t.value);
  const TagList again = b.finish(arena);
  EXPECT_EQ(tagsOf(again), all);
  EXPECT_TRUE(again.hasExtendedData());
  EXPECT_EQ(tagsOf(TagList(again)), all);
  std::size_t plainBytes = 0;
  for (const Tag& t : plain) plainBytes += TagList::fromTags({{t.code, t.value}}).byteSize();
  EXPECT_EQ(again.byteSize(), 2 * kept.size() + plainBytes);
}

// Lists made on several threads at once, of tags that take places and tags
// that find them, each read back as made.
TEST(TagStore, TagsKeptOnceAreSharedByThreadsReadingAtOnce) {
  auto make = [](int thread, std::vector<std::vector<Tag>>& made, std::vector<TagList>& lists) {
    TagListBuilder b;
    for (int i = 0; i < 200; ++i) {
      std::vector<Tag> tags = {{8, "LAYER" + std::to_string(i % 7)},
                               {2, "BLOCK" + std::to_string((i + thread) % 5)},
                               {1001, "APP"},
                               {1000, std::to_string(i)}};
      for (const Tag& t : tags) b.add(t.code, t.value);
      lists.push_back(b.finish());
      made.push_back(std::move(tags));
    }
  };
  std::vector<std::vector<Tag>> made[4];
  std::vector<TagList> lists[4];
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) threads.emplace_back(make, t, std::ref(made[t]), std::ref(lists[t]));
  for (std::thread& t : threads) t.join();
  for (int t = 0; t < 4; ++t) {
    ASSERT_EQ(lists[t].size(), made[t].size());
    for (std::size_t i = 0; i < lists[t].size(); ++i) ASSERT_EQ(tagsOf(lists[t][i]), made[t][i]) << t << " " << i;
  }
}

// Once every place is taken, further tags are written in full and read back
// as before; those already kept stay kept. (Last: it fills the process's
// places.)
TEST(TagStore, TagsBeyondThePlacesAreWrittenInFull) {
  // Met twice by one builder: kept once; a builder meeting it later finds it.
  ASSERT_EQ(TagList::fromTags({{8, "STAYS"}, {8, "STAYS"}}).byteSize(), 7u + 2u);
  ASSERT_EQ(TagList::fromTags({{8, "STAYS"}}).byteSize(), 2u);
  // A name met once takes no place.
  const std::size_t taken = TagList::internedTaken();
  TagList::fromTags({{8, "ONCE"}});
  EXPECT_EQ(TagList::internedTaken(), taken);
  for (std::size_t i = 0; TagList::internedTaken() < TagList::kInternedCount; ++i) {
    ASSERT_LT(i, 2 * TagList::kInternedCount) << "the places never fill";
    const std::string fill = "FILL" + std::to_string(i);
    TagList::fromTags({{8, fill}, {8, fill}});
  }
  const std::vector<Tag> tags = {{8, "AFTER"}, {2, "AFTER"}, {1001, "LATE_APP"}, {8, "STAYS"}};
  TagListBuilder b;
  for (const Tag& t : tags) b.add(t.code, t.value);
  const TagList list = b.finish();
  EXPECT_EQ(tagsOf(list), tags);
  EXPECT_TRUE(list.hasExtendedData());
  // Met twice now, still in full: no place is left.
  EXPECT_EQ(TagList::fromTags({{8, "AFTER"}, {8, "AFTER"}}).byteSize(), 2 * (2 + std::string("AFTER").size()));
  EXPECT_EQ(TagList::fromTags({{8, "STAYS"}}).byteSize(), 2u);
  EXPECT_EQ(TagList::internedTaken(), TagList::kInternedCount);
}

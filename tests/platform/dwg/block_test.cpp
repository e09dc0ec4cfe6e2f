// Block table, block definitions, references and their attributes.
#include <gtest/gtest.h>

#include <numeric>

#include "drawing_builder.h"
#include "dxf_text_edits.h"

using namespace testing_support;

namespace {

class Blocks : public ::testing::Test {
 protected:
  OdDbDatabasePtr db = OdDbDatabase::createNew();
};

std::vector<std::string> blockNames(OdDbDatabase& db) {
  std::vector<std::string> names;
  OdDbBlockTablePtr table = db.getBlockTableId().safeOpenObject();
  for (OdDbSymbolTableIteratorPtr it = table->newIterator(); !it->done(); it->step())
    names.push_back(it->getRecord()->getName().toUtf8());
  return names;
}

TEST_F(Blocks, TableIteratesInFileOrderAndFindsNamesIgnoringCase) {
  addBlock(*db, "PIN-B", {});
  addBlock(*db, "PIN-A", {});
  EXPECT_EQ(blockNames(*db), (std::vector<std::string>{"*Model_Space", "*Paper_Space", "PIN-B", "PIN-A"}));
  OdDbBlockTablePtr table = db->getBlockTableId().safeOpenObject();
  EXPECT_FALSE(table->getAt(u("pin-a")).isNull());
  EXPECT_TRUE(table->getAt(u("PIN-C")).isNull());
}

TEST_F(Blocks, AddingANameTwiceIsRefused) {
  addBlock(*db, "PIN-A", {});
  OdDbBlockTablePtr table = db->getBlockTableId().safeOpenObject(OdDb::kForWrite);
  OdDbBlockTableRecordPtr again = OdDbBlockTableRecord::createObject();
  again->setName(u("Pin-a"));
  EXPECT_THROW(table->add(again), OdError);
  OdDbBlockTableRecordPtr nameless = OdDbBlockTableRecord::createObject();
  EXPECT_THROW(table->add(nameless), OdError);
}

TEST_F(Blocks, ReferencesComeInHandleOrderFromEverySpaceAndBlock) {
  addBlock(*db, "PIN-A", {{"ID_PINO", "Pino"}});
  addBlock(*db, "HOLDER", {});
  OdDbObjectId first = addReference(*db, at("PIN-A", 1, 1));
  OdDbObjectId inPaper = addReference(*db, at("PIN-A", 2, 2), db->getPaperSpaceId());
  OdDbBlockTablePtr table = db->getBlockTableId().safeOpenObject();
  OdDbObjectId inBlock = addReference(*db, at("PIN-A", 3, 3), table->getAt(u("HOLDER")));
  OdDbObjectId last = addReference(*db, at("pin-a", 4, 4));

  OdDbBlockTableRecordPtr pinBlock = table->getAt(u("PIN-A"), OdDb::kForRead);
  OdDbObjectIdArray ids;
  pinBlock->getBlockReferenceIds(ids);
  EXPECT_EQ(ids, (OdDbObjectIdArray{first, inPaper, inBlock, last}));
  for (std::size_t i = 1; i < ids.size(); ++i) EXPECT_LT(ids[i - 1].getHandle().value(), ids[i].getHandle().value());

  // Erased references are still listed; the caller skips them when opening.
  inPaper.openObject(OdDb::kForWrite)->erase();
  pinBlock->getBlockReferenceIds(ids);
  EXPECT_EQ(ids.size(), 4u);
  EXPECT_TRUE(ids[1].openObject().isNull());
}

TEST_F(Blocks, ReferencesComeInHandleOrderAfterOneIsRepointed) {
  // A reference pointed at the block after a newer one was placed joins its
  // list out of handle order.
  addBlock(*db, "PIN-A", {});
  addBlock(*db, "PIN-B", {});
  OdDbObjectId a = addReference(*db, at("PIN-A", 1, 0));
  OdDbObjectId b = addReference(*db, at("PIN-B", 2, 0));
  OdDbObjectId c = addReference(*db, at("PIN-A", 3, 0));
  OdDbBlockTablePtr table = db->getBlockTableId().safeOpenObject();
  {
    OdDbBlockReferencePtr moved = b.safeOpenObject(OdDb::kForWrite);
    moved->setBlockTableRecord(table->getAt(u("PIN-A")));
  }
  OdDbBlockTableRecordPtr pinBlock = table->getAt(u("PIN-A"), OdDb::kForRead);
  OdDbObjectIdArray ids;
  pinBlock->getBlockReferenceIds(ids);
  EXPECT_EQ(ids, (OdDbObjectIdArray{a, b, c}));
  OdDbBlockTableRecordPtr other = table->getAt(u("PIN-B"), OdDb::kForRead);
  other->getBlockReferenceIds(ids);
  EXPECT_TRUE(ids.empty());
}

TEST_F(Blocks, EntityIteratorFollowsOrderAndSkipsErased) {
  addBlock(*db, "PIN-A", {});
  OdDbObjectId a = addReference(*db, at("PIN-A", 1, 0));
  OdDbObjectId b = addReference(*db, at("PIN-A", 2, 0));
  OdDbObjectId c = addReference(*db, at("PIN-A", 3, 0));
  b.openObject(OdDb::kForWrite)->erase();
  OdDbBlockTableRecordPtr ms = db->getModelSpaceId().safeOpenObject();
  std::vector<OdDbObjectId> seen;
  for (OdDbObjectIteratorPtr it = ms->newIterator(); !it->done(); it->step()) seen.push_back(it->objectId());
  EXPECT_EQ(seen, (std::vector<OdDbObjectId>{a, c}));
  seen.clear();
  for (OdDbObjectIteratorPtr it = ms->newIterator(true, false); !it->done(); it->step(true, false))
    seen.push_back(it->objectId());
  EXPECT_EQ(seen, (std::vector<OdDbObjectId>{a, b, c}));
}

// An iterator walks the entities its block had when it was made: entities
// added during the walk (enough that the block's list moves in memory) are
// not met, forward or backward, and one erased meanwhile is skipped.
TEST_F(Blocks, EntityIteratorKeepsToTheEntitiesOfItsMaking) {
  addBlock(*db, "PIN-A", {});
  std::vector<OdDbObjectId> before;
  for (int i = 0; i < 3; ++i) before.push_back(addReference(*db, at("PIN-A", i, 0)));
  OdDbBlockTableRecordPtr ms = db->getModelSpaceId().safeOpenObject();
  OdDbObjectIteratorPtr forward = ms->newIterator();
  OdDbObjectIteratorPtr backward = ms->newIterator(false);
  std::vector<OdDbObjectId> seen, seenBackward;
  for (int steps = 0; !forward->done() && steps < 10; forward->step(), ++steps) {
    seen.push_back(forward->objectId());
    for (int i = 0; i < 200; ++i) addReference(*db, at("PIN-A", 10 + i, 0));
  }
  before[1].openObject(OdDb::kForWrite)->erase();
  for (; !backward->done(); backward->step(false)) seenBackward.push_back(backward->objectId());
  EXPECT_EQ(seen, before);
  EXPECT_EQ(seenBackward, (std::vector<OdDbObjectId>{before[2], before[0]}));
  // A new iterator meets them all.
  std::size_t all = 0;
  for (OdDbObjectIteratorPtr it = ms->newIterator(); !it->done(); it->step()) ++all;
  EXPECT_EQ(all, 3u - 1 + 3 * 200);
}

TEST_F(Blocks, ReferenceReadsPositionBlockAndAttributesInOrder) {
  addBlock(*db, "PIN-A", {{"K", "Constant", true}, {"B", "Prompt B"}, {"C", ""}});
  OdDbObjectId id = addReference(*db, at("PIN-A", 12.5, -3.25, {{"C", "  c text  "}, {"B", "b"}}));
  OdDbBlockReferencePtr ref = id.safeOpenObject();
  EXPECT_EQ(ref->position(), OdGePoint3d(12.5, -3.25, 0.0));
  OdDbBlockTableRecordPtr block = ref->blockTableRecord().safeOpenObject();
  EXPECT_EQ(block->getName().toUtf8(), "PIN-A");

  std::vector<std::pair<std::string, std::string>> attributes;
  for (OdDbObjectIteratorPtr it = ref->attributeIterator(); !it->done(); it->step()) {
    OdDbAttributePtr a = it->entity();
    attributes.emplace_back(a->tag().toUtf8(), a->textString().toUtf8());
    EXPECT_FALSE(a->isInvisible());
    EXPECT_EQ(a->ownerId(), id);
  }
  EXPECT_EQ(attributes, (decltype(attributes){{"C", "  c text  "}, {"B", "b"}}));

  // Definitions in the block's order, with their prompts and constant flags.
  std::vector<std::tuple<std::string, std::string, bool>> defs;
  for (OdDbObjectIteratorPtr it = block->newIterator(); !it->done(); it->step()) {
    OdDbAttributeDefinitionPtr d = it->entity();
    defs.emplace_back(d->tag().toUtf8(), d->prompt().toUtf8(), d->isConstant());
  }
  EXPECT_EQ(defs, (decltype(defs){{"K", "Constant", true}, {"B", "Prompt B", false}, {"C", "", false}}));
}

// References of none to four attributes list them in order, forward and
// backward, past an erased one unless asked for it.
TEST_F(Blocks, AttributesOfAnyNumberAreWalkedBothWays) {
  addBlock(*db, "PIN-A", {{"A", ""}, {"B", ""}, {"C", ""}, {"D", ""}});
  const std::vector<std::string> tags = {"A", "B", "C", "D"};
  auto walk = [](const OdDbBlockReference& ref, bool forward, bool skipErased) {
    std::string out;
    OdDbObjectIteratorPtr it = ref.attributeIterator();
    for (it->start(forward, skipErased); !it->done(); it->step(forward, skipErased))
      out += OdDbAttributePtr(it->entity(OdDb::kForRead, true))->tag().toUtf8();
    return out;
  };
  for (std::size_t n = 0; n <= tags.size(); ++n) {
    SCOPED_TRACE(std::to_string(n) + " attributes");
    std::vector<std::pair<std::string, std::string>> values;
    for (std::size_t i = 0; i < n; ++i) values.emplace_back(tags[i], "v");
    OdDbObjectId id = addReference(*db, at("PIN-A", 0, 0, values));
    OdDbBlockReferencePtr ref = id.safeOpenObject();
    const std::string all = std::accumulate(tags.begin(), tags.begin() + static_cast<std::ptrdiff_t>(n), std::string());
    EXPECT_EQ(walk(*ref, true, true), all);
    EXPECT_EQ(walk(*ref, false, true), std::string(all.rbegin(), all.rend()));
    if (n < 2) continue;
    OdDbObjectId second = [&] {
      OdDbObjectIteratorPtr it = ref->attributeIterator();
      it->step();
      return it->objectId();
    }();
    OdDbObjectPtr(second.safeOpenObject(OdDb::kForWrite))->erase();
    std::string rest = all;
    rest.erase(1, 1);
    EXPECT_EQ(walk(*ref, true, true), rest);
    EXPECT_EQ(walk(*ref, false, true), std::string(rest.rbegin(), rest.rend()));
    EXPECT_EQ(walk(*ref, true, false), all);
  }
}

// An attribute's tag and text as UTF-8 are their text whatever the
// drawing's encoding: viewed in the tags when it reads as itself, converted
// into the scratch text otherwise (an escape, code page 1252 bytes, UTF-8
// bytes).
TEST(AttributeTag, AsUtf8IsTheTagViewedInPlaceOrConverted) {
  struct Case {
    const char* version;
    std::string tag;
    bool inPlace;
  };
  const Case cases[] = {
      {"AC1015", "ID_PINO", true},
      {"AC1015", "id_pino", true},
      {"AC1015", "A\\B", false},                 // a backslash of its own
      {"AC1015", "P\xC3\x8DNO", false},            // a code page 1252 letter
      {"AC1015", "\xCE\xA9", false},               // no such letter there: an escape
      {"AC1032", "P\xC3\x8DNO", false},            // UTF-8 bytes
      {"AC1032", "", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.version) + " " + c.tag);
    std::string text;
    {
      OdDbDatabasePtr made = OdDbDatabase::createNew(u(c.version));
      addBlock(*made, "PIN-A", {{c.tag, ""}});
      addReference(*made, at("PIN-A", 0, 0, {{c.tag, c.tag}}));
      text = made->dxfText();
    }
    OdDbDatabasePtr db = OdDbDatabase::readDxfText(text, u("tag.dxf"));
    OdDbBlockTableRecordPtr space = db->getModelSpaceId().safeOpenObject();
    OdDbBlockReferencePtr ref = space->newIterator()->entity();
    OdDbAttributePtr attribute = ref->attributeIterator()->entity();
    std::string scratch = "left from before";
    const std::string_view tag = attribute->tagUtf8(scratch);
    EXPECT_EQ(std::string(tag), c.tag);
    EXPECT_EQ(std::string(tag), attribute->tag().toUtf8());
    const bool inScratch = !scratch.empty() && tag.data() >= scratch.data() && tag.data() < scratch.data() + scratch.size();
    EXPECT_EQ(inScratch, !c.inPlace && !c.tag.empty());
    if (c.inPlace) {
      EXPECT_TRUE(scratch.empty());
    }
    // The attribute's text is the same text, read alike.
    const std::string_view value = attribute->textStringUtf8(scratch);
    EXPECT_EQ(std::string(value), c.tag);
    EXPECT_EQ(std::string(value), attribute->textString().toUtf8());
    EXPECT_EQ(!scratch.empty() && value.data() == scratch.data(), !c.inPlace && !c.tag.empty());
  }
}

TEST_F(Blocks, AttributeTextAndFlagsCanBeEdited) {
  addBlock(*db, "PIN-A", {{"ID_PINO", "Pino"}});
  OdDbObjectId id = addReference(*db, at("PIN-A", 0, 0, {{"ID_PINO", "1"}}));
  OdDbBlockReferencePtr ref = id.safeOpenObject();
  OdDbObjectIteratorPtr it = ref->attributeIterator();
  OdDbObjectId attId = it->objectId();
  {
    OdDbAttributePtr a = attId.safeOpenObject(OdDb::kForWrite);
    a->setTextString(u("Ação 2"));
    a->setInvisible(true);
  }
  OdDbAttributePtr a = attId.safeOpenObject();
  EXPECT_EQ(a->textString().toUtf8(), "Ação 2");
  EXPECT_TRUE(a->isInvisible());
}

TEST_F(Blocks, PaperSpaceEntitiesAreMarkedAsSuch) {
  addBlock(*db, "PIN-A", {});
  OdDbObjectId inPaper = addReference(*db, at("PIN-A", 0, 0), db->getPaperSpaceId());
  OdDbObjectId inModel = addReference(*db, at("PIN-A", 0, 0));
  EXPECT_TRUE(OdDbEntityPtr(inPaper.safeOpenObject())->isInPaperSpace());
  EXPECT_FALSE(OdDbEntityPtr(inModel.safeOpenObject())->isInPaperSpace());
  EXPECT_EQ(OdDbEntityPtr(inPaper.safeOpenObject())->blockId(), db->getPaperSpaceId());
}

TEST_F(Blocks, AnEntityJoinsOnlyOneDrawing) {
  addBlock(*db, "PIN-A", {});
  OdDbBlockReferencePtr ref = OdDbBlockReference::createObject();
  OdDbBlockTableRecordPtr ms = db->getModelSpaceId().safeOpenObject(OdDb::kForWrite);
  ms->appendOdDbEntity(ref);
  EXPECT_THROW(ms->appendOdDbEntity(ref), OdError);
}

}  // namespace

namespace {

// A 2D POLYLINE of two VERTEXes in model space, closed by its SEQEND.
const char* const kPolyline =
    "  0\nPOLYLINE\n  5\n40\n330\n17\n100\nAcDbEntity\n  8\n0\n100\nAcDb2dPolyline\n 66\n1\n 10\n0\n 20\n0\n 30\n0\n"
    "  0\nVERTEX\n  5\n41\n330\n40\n100\nAcDbEntity\n  8\n0\n100\nAcDbVertex\n100\nAcDb2dVertex\n 10\n1\n 20\n2\n"
    " 30\n0\n  0\nVERTEX\n  5\n42\n330\n40\n100\nAcDbEntity\n  8\n0\n100\nAcDbVertex\n100\nAcDb2dVertex\n 10\n3\n"
    " 20\n4\n 30\n0\n  0\nSEQEND\n  5\n43\n330\n40\n100\nAcDbEntity\n  8\n0\n";

std::vector<std::string> ownedHandles(const OdDbEntity& entity) {
  std::vector<std::string> handles;
  for (OdDbObjectIteratorPtr it = entity.subEntityIterator(); !it->done(); it->step())
    handles.push_back(it->objectId().getHandle().ascii().toUtf8() + " " + it->entity()->dxfName());
  return handles;
}

}  // namespace

TEST(OwnedEntities, APolylineGivesItsVertexesAReferenceItsAttributesAnythingElseNothing) {
  std::string text = withEntities(roomyDrawingText(), kPolyline + lineEntity("44"));
  OdDbDatabasePtr db = OdDbDatabase::readDxfText(text, u("polyline"));
  OdDbEntityPtr polyline = db->getOdDbObjectId(OdDbHandle(u("40"))).safeOpenObject();
  EXPECT_EQ(ownedHandles(*polyline), (std::vector<std::string>{"41 VERTEX", "42 VERTEX"}));
  OdDbEntityPtr line = db->getOdDbObjectId(OdDbHandle(u("44"))).safeOpenObject();
  EXPECT_TRUE(ownedHandles(*line).empty());

  OdDbDatabasePtr pins = OdDbDatabase::createNew();
  addBlock(*pins, "PIN-A", {{"ID_PINO", "Pino"}, {"SIDE", "Lado"}});
  OdDbEntityPtr reference = addReference(*pins, at("PIN-A", 1, 1, {{"ID_PINO", "1"}, {"SIDE", "L"}})).safeOpenObject();
  EXPECT_EQ(ownedHandles(*reference).size(), 2u);
  for (const std::string& owned : ownedHandles(*reference)) EXPECT_NE(owned.find(" ATTRIB"), std::string::npos);
}

TEST(BlockOrigin, IsTheBasePointOfTheBlockEntityAndTheOriginWhenUnset) {
  OdDbDatabasePtr db = OdDbDatabase::createNew();
  addBlock(*db, "PIN-A", {});
  OdDbBlockTablePtr table = db->getBlockTableId().safeOpenObject();
  OdDbBlockTableRecordPtr block = table->getAt(u("PIN-A"), OdDb::kForRead);
  EXPECT_EQ(block->origin(), OdGePoint3d(0, 0, 0));

  // The block's BLOCK entity is the one named PIN-A in the BLOCKS section.
  const std::string text = db->dxfText();
  const std::string name = "AcDbBlockBegin\n  2\nPIN-A\n 70\n0\n 10\n0.0\n 20\n0.0\n 30\n0.0\n";
  OdDbDatabasePtr moved = OdDbDatabase::readDxfText(
      replaced(text, name, "AcDbBlockBegin\n  2\nPIN-A\n 70\n0\n 10\n2.5\n 20\n-4\n 30\n1\n"), u("moved"));
  OdDbBlockTablePtr movedTable = moved->getBlockTableId().safeOpenObject();
  EXPECT_EQ(OdDbBlockTableRecordPtr(movedTable->getAt(u("PIN-A"), OdDb::kForRead))->origin(),
            OdGePoint3d(2.5, -4, 1));
}

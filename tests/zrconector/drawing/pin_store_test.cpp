// The pins of one check's records, made in the store they share: each pin
// keeps what it was given across the store's blocks, and the pins last as
// long as the last record that holds them.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "drawing/CEPino.h"

namespace {

OdString text(const std::string& s) { return OdString::fromUtf8(s); }

TEST(PinStore, PinsOfRecordsSharingAStoreLastAsLongAsTheLastRecord) {
  auto store = std::make_shared<zr::PinStore>();
  auto first = std::make_unique<zr::CEConectorPinos>(text("X1"), text("C"), true, store);
  auto second = std::make_unique<zr::CEConectorPinos>(text("X2"), text("D"), false, store);
  // Enough pins for several blocks, the last ones taken in huge pages;
  // identifiers long enough to be held outside the pin, which the store must
  // free with its pins.
  const int kPins = 40000;
  for (int i = 0; i < kPins; ++i) {
    zr::CEConectorPinos& record = i % 3 ? *second : *first;
    const zr::CEPino* pin = record.AddPino(text("identifier number " + std::to_string(i)), text(std::to_string(i)),
                                           text("pin " + std::to_string(i)), i % 4, i, -i);
    ASSERT_EQ(pin->owner, &record);
  }
  EXPECT_EQ(store->Size(), static_cast<std::size_t>(kPins));
  store.reset();
  first.reset();  // the second record still holds the store

  int i = 1;
  for (const auto& pin : second->GetPinos()) {
    SCOPED_TRACE(i);
    EXPECT_EQ(pin->identifier.toUtf8(), "identifier number " + std::to_string(i));
    EXPECT_EQ(pin->handle.toUtf8(), std::to_string(i));
    EXPECT_EQ(pin->pin.toUtf8(), "pin " + std::to_string(i));
    EXPECT_EQ(pin->status, i % 4);
    EXPECT_EQ(pin->x, i);
    EXPECT_EQ(pin->y, -i);
    EXPECT_EQ(pin->owner, second.get());
    EXPECT_EQ(pin->mate, nullptr);
    i += i % 3 == 1 ? 1 : 2;  // 1, 2, 4, 5, 7, ...
  }
  EXPECT_EQ(second->GetPinos().size(), static_cast<std::size_t>(kPins - (kPins + 2) / 3));
  EXPECT_EQ(second->GetEstado(), zr::CONECTOR_PINO_DESCONHECIDO);  // status 2 among its pins
}

// A record made without a store makes its own, which goes with it.
TEST(PinStore, ARecordWithoutAStoreMakesItsOwn) {
  zr::CEConectorPinos record(text("X1"), text("C"), true);
  for (int i = 0; i < 100; ++i)
    record.AddPino(text("identifier number " + std::to_string(i)), text("A"), OdString(), 0, i, 0);
  ASSERT_EQ(record.GetPinos().size(), 100u);
  for (int i = 0; i < 100; ++i) {
    zr::CEPino* found = nullptr;
    ASSERT_TRUE(record.FindPino(text("identifier number " + std::to_string(i)), found)) << i;
    EXPECT_EQ(found->x, i);
    EXPECT_EQ(found->owner, &record);
  }
}

// A reader of many symbols makes their pins first and lists them in their
// records at the end: each record then holds its own pins in the order made,
// whatever the order of the records, and a pin added after follows them.
// Pins made after the store took room for them lie in one block.
TEST(PinStore, PinsMadeFirstAreListedInTheirRecordsInTheOrderMade) {
  auto store = std::make_shared<zr::PinStore>();
  auto a = std::make_unique<zr::CEConectorPinos>(text("A"), text("C"), true, store);
  auto b = std::make_unique<zr::CEConectorPinos>(text("B"), text("D"), false, store);
  const int kPins = 1000;
  store->Reserve(kPins);
  std::vector<zr::CEPino*> made;
  for (int i = 0; i < kPins; ++i) {
    zr::CEConectorPinos& record = i % 3 == 0 ? *a : *b;
    made.push_back(record.MakePino(text(std::to_string(i)), text("H" + std::to_string(i)), OdString(),
                                   i == 7 ? zr::PINO_DESCONHECIDO : zr::PINO_OK, i, 2 * i));
    ASSERT_EQ(made.back()->owner, &record);
  }
  for (int i = 1; i < kPins; ++i) ASSERT_EQ(made[i], made[i - 1] + 1) << "pin " << i << " left the reserved block";
  EXPECT_TRUE(a->GetPinos().empty());  // nothing listed yet
  EXPECT_TRUE(b->GetPinos().empty());
  EXPECT_EQ(b->GetEstado(), zr::CONECTOR_PINO_DESCONHECIDO);  // known as the pin is made
  EXPECT_EQ(a->GetEstado(), zr::CONECTOR_OK);

  zr::CEConectorPinos::ListMadePins(*store);
  a->AddPino(text("added after"), OdString(), OdString(), zr::PINO_FALTANTE, 0, 0);
  ASSERT_EQ(a->GetPinos().size(), static_cast<std::size_t>((kPins + 2) / 3 + 1));
  ASSERT_EQ(b->GetPinos().size(), static_cast<std::size_t>(kPins - (kPins + 2) / 3));
  std::size_t inA = 0, inB = 0;
  for (int i = 0; i < kPins; ++i) {
    const zr::CEPino* pin = (i % 3 == 0 ? a->GetPinos()[inA++] : b->GetPinos()[inB++]).get();
    ASSERT_EQ(pin, made[i]);
    EXPECT_EQ(pin->identifier.toUtf8(), std::to_string(i));
    EXPECT_EQ(pin->handle.toUtf8(), "H" + std::to_string(i));
    EXPECT_EQ(pin->y, 2 * i);
  }
  EXPECT_EQ(a->GetPinos().back()->identifier.toUtf8(), "added after");
  EXPECT_EQ(a->GetPinos().back()->status, zr::PINO_FALTANTE);
}

}  // namespace

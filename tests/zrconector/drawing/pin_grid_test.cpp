// Pairing by grid gives what the plain scan of every record and pin gives.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "drawing/PinGrid.h"

namespace {

// The reference: the first pin, scanning records and pins in order, that is
// not the pin, has a handle other than the pin's, and lies strictly within the
// tolerance on both axes.
zr::CEPino* scan(const zr::ConectoresPinos& records, const zr::CEPino* pin) {
  for (const auto& r : records)
    for (const auto& c : r->GetPinos())
      if (c.get() != pin && !c->handle.isEmpty() && c->handle != pin->handle &&
          std::fabs(c->x - pin->x) < 0.00001 && std::fabs(c->y - pin->y) < 0.00001)
        return c.get();
  return nullptr;
}

// Random drawings: pins on a coarse lattice, nudged by amounts around the
// tolerance, on cell borders, stacked three and more deep, some without a
// handle, some sharing a handle, some far out or not finite.
zr::ConectoresPinos randomDrawing(std::mt19937& rng, int connectors) {
  std::uniform_int_distribution<int> lattice(0, 12), pins(1, 8), pick(0, 99), step(0, 1);
  const double nudges[] = {0.0, 0.000009999, 0.00001, 0.0000100001, -0.000009, 0.00002, 0.00004, 1e-12, -1e-12};
  std::uniform_int_distribution<int> nudge(0, 8);
  zr::ConectoresPinos records;
  int handle = 1;
  for (int c = 0; c < connectors; ++c) {
    records.push_back(std::make_unique<zr::CEConectorPinos>(OdString::fromUtf8("X" + std::to_string(c)),
                                                            OdString(u"C"), true));
    int n = pins(rng);
    for (int p = 0; p < n; ++p) {
      const int kind = pick(rng);
      // Points on a fine lattice or on multiples of 0.0005 (cell borders of
      // one grid size or another).
      const double unit = step(rng) ? 0.0005 : 0.00002;
      double x = lattice(rng) * unit, y = lattice(rng) * unit;
      if (kind < 60) {
        x += nudges[nudge(rng)];
        y += nudges[nudge(rng)];
      } else if (kind < 65) {
        x = 1e10 + lattice(rng) * 7.62939453125e-06;  // neighbouring doubles this far out
      } else if (kind < 67) {
        x = std::nan("");
      } else if (kind < 68) {
        y = 1e300;
      }
      OdString h;
      if (kind >= 70 && kind < 80) {
        h = OdString();  // a catalogue pin without a symbol
      } else if (kind >= 80 && kind < 85 && handle > 1) {
        h = OdString::fromUtf8(std::to_string(handle - 1));  // two pins of one symbol
      } else {
        h = OdString::fromUtf8(std::to_string(handle++));
      }
      records.back()->AddPino(OdString(u"1"), h, OdString(), zr::PINO_OK, x, y);
    }
  }
  return records;
}

TEST(PinGrid, AgreesWithThePlainScanOnRandomDrawings) {
  std::mt19937 rng(20261206);
  int paired = 0;
  for (int round = 0; round < 300; ++round) {
    zr::ConectoresPinos records = randomDrawing(rng, 1 + round % 40);
    zr::PinGrid grid(records);
    for (const auto& r : records) {
      for (const auto& p : r->GetPinos()) {
        zr::CEPino* expected = scan(records, p.get());
        ASSERT_EQ(grid.Find(p.get()), expected)
            << "round " << round << ", pin at " << p->x << "," << p->y << " handle " << p->handle.toUtf8();
        if (expected) ++paired;
      }
    }
  }
  // The drawings must actually exercise pairing.
  EXPECT_GT(paired, 1000);
}

TEST(PinGrid, ThreeWayCoincidenceFindsTheFirstInOrder) {
  zr::ConectoresPinos records;
  for (const char* name : {"A", "B", "C"}) {
    records.push_back(std::make_unique<zr::CEConectorPinos>(OdString::fromUtf8(name), OdString(u"C"), true));
    records.back()->AddPino(OdString(u"1"), OdString::fromUtf8(name), OdString(), zr::PINO_OK, 1.0, 1.0);
  }
  zr::PinGrid grid(records);
  EXPECT_EQ(grid.Find(records[0]->GetPinos()[0].get()), records[1]->GetPinos()[0].get());
  EXPECT_EQ(grid.Find(records[1]->GetPinos()[0].get()), records[0]->GetPinos()[0].get());
  EXPECT_EQ(grid.Find(records[2]->GetPinos()[0].get()), records[0]->GetPinos()[0].get());
}

// Asking for every pin at once gives what asking for each gives, on small
// drawings and on one large enough for the grid to fetch its table ahead.
TEST(PinGrid, FindingEveryPinAtOnceAgreesWithFindingEach) {
  auto agree = [](const zr::ConectoresPinos& records) {
    zr::PinGrid grid(records);
    const LargeArray<zr::CEPino*> found = grid.FindEach();
    std::size_t k = 0, paired = 0;
    for (const auto& r : records)
      for (const auto& p : r->GetPinos()) {
        EXPECT_EQ(found.at(k), grid.Find(p.get())) << "pin " << k;
        paired += found[k++] != nullptr;
      }
    EXPECT_EQ(k, found.size());
    return paired;
  };
  std::mt19937 rng(20261208);
  for (int round = 0; round < 20; ++round) agree(randomDrawing(rng, 1 + round * 2));

  // 40,000 pins in columns, one in four on the one before (some of those
  // nudged out of reach), one in fifty without a symbol, one in a thousand
  // not finite.
  zr::ConectoresPinos large;
  for (int i = 0; i < 40000; ++i) {
    if (i % 20 == 0)
      large.push_back(std::make_unique<zr::CEConectorPinos>(OdString::fromUtf8("X" + std::to_string(i / 20)),
                                                          OdString(u"C"), true));
    const int at = i % 4 == 3 ? i - 1 : i;
    double x = (at / 400) * 2.5, y = (at % 400) * 2.5;
    if (i % 8 == 7) x += 0.00002;
    if (i % 1000 == 999) y = std::nan("");
    const OdString handle = i % 50 == 49 ? OdString() : OdString::fromUtf8(std::to_string(i + 1));
    large.back()->AddPino(OdString(u"1"), handle, OdString(), zr::PINO_OK, x, y);
  }
  EXPECT_GT(agree(large), 8000u);
}

}  // namespace

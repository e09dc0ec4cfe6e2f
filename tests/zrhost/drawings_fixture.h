#pragma once
// A temporary folder with the drawings that the end-to-end tests open:
// a.dxf (pin symbols of X1 and X2), b.dxf and c.dxf (empty).

#include <gtest/gtest.h>

#include "drawing_builder.h"
#include "run_zrhost.h"
#include "temp_dir.h"

class ZrhostRun : public ::testing::Test {
 protected:
  void SetUp() override {
    OdDbDatabasePtr a = OdDbDatabase::createNew();
    testing_support::addPin(*a, "PIN-M", "X1", "AM04M", "1", 0, 0);
    testing_support::addPin(*a, "PIN-M", "X1", "AM04M", "2", 0, -5);
    testing_support::addPin(*a, "PIN-F", "X2", "AM04F", "1", 0, 0, "N");
    a->writeDxf(testing_support::u(file("a.dxf").c_str()));
    OdDbDatabase::createNew()->writeDxf(testing_support::u(file("b.dxf").c_str()));
    OdDbDatabase::createNew()->writeDxf(testing_support::u(file("c.dxf").c_str()));
  }

  std::string file(const std::string& name) const { return dir_.file(name); }
  const std::string folder() const { return dir_.path().string(); }
  void write(const std::string& name, const std::string& content) const {
    testing_support::writeFile(file(name), content);
  }

  testing_support::TempDir dir_;
};

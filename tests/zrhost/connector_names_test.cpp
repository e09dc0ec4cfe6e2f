#include <gtest/gtest.h>

#include "connector_names.h"
#include "drawing_builder.h"

namespace {

using testing_support::addPin;
using testing_support::addReference;

std::vector<std::string> utf8(const std::vector<OdString>& names) {
  std::vector<std::string> out;
  for (const OdString& n : names) out.push_back(n.toUtf8());
  return out;
}

TEST(ConnectorNames, EachNameOnceInModelSpaceOrder) {
  OdDbDatabasePtr db = OdDbDatabase::createNew();
  addPin(*db, "PIN-M", "X2", "AM04M", "1", 0, 0);
  addPin(*db, "PIN-M", "X1", "AM04M", "1", 5, 0);
  addPin(*db, "PIN-M", "X2", "AM04M", "2", 0, 5);
  EXPECT_EQ(utf8(zrhost::connectorNames(*db)), (std::vector<std::string>{"X2", "X1"}));
}

TEST(ConnectorNames, SkipsReferencesWithoutConnectorData) {
  OdDbDatabasePtr db = OdDbDatabase::createNew();
  testing_support::addBlock(*db, "PLAIN", {});
  addReference(*db, testing_support::at("PLAIN", 0, 0));  // no extended data
  testing_support::Reference other = testing_support::at("PLAIN", 1, 0);
  other.application = "OTHER_APP";
  other.xdata = {"Y1"};
  addReference(*db, other);
  addPin(*db, "PIN-F", "X9", "AM04F", "1", 3, 0);
  EXPECT_EQ(utf8(zrhost::connectorNames(*db)), (std::vector<std::string>{"X9"}));
}

TEST(ConnectorNames, OnlyModelSpaceCounts) {
  OdDbDatabasePtr db = OdDbDatabase::createNew();
  addPin(*db, "PIN-M", "X1", "AM04M", "1", 0, 0);
  testing_support::Reference inPaper = testing_support::at("PIN-M", 0, 0, {{"ID_PINO", "1"}});
  inPaper.xdata = {"X5", "AM04M", "S"};
  addReference(*db, inPaper, db->getPaperSpaceId());
  EXPECT_EQ(utf8(zrhost::connectorNames(*db)), (std::vector<std::string>{"X1"}));
}

TEST(ConnectorNames, ReferencesInsideBlocksDoNotCount) {
  OdDbDatabasePtr db = OdDbDatabase::createNew();
  addPin(*db, "PIN-M", "X1", "AM04M", "1", 0, 0);
  const OdDbObjectId harness = testing_support::addBlock(*db, "CHICOTE", {});
  testing_support::Reference inBlock = testing_support::at("PIN-M", 0, 0, {{"ID_PINO", "1"}});
  inBlock.xdata = {"X8", "CM03F", "S"};
  addReference(*db, inBlock, harness);
  addReference(*db, testing_support::at("CHICOTE", 10, 0));
  EXPECT_EQ(utf8(zrhost::connectorNames(*db)), (std::vector<std::string>{"X1"}));
}

}  // namespace

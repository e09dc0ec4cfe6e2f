#pragma once
// Builds test drawings through the object model: blocks with attribute
// definitions, references with attributes and extended data.

#include <string>
#include <utility>
#include <vector>

#include "zrdwg/OdDbBlockReference.h"
#include "zrdwg/OdDbBlockTableRecord.h"
#include "zrdwg/OdDbDatabase.h"
#include "zrdwg/OdDbText.h"

namespace testing_support {

inline OdString u(const char* utf8) { return OdString::fromUtf8(utf8); }

struct AttDef {
  std::string tag;
  std::string prompt;
  bool constant = false;
};

// A new block definition with the given attribute definitions, in order.
OdDbObjectId addBlock(OdDbDatabase& db, const std::string& name, const std::vector<AttDef>& definitions);

struct Reference {
  std::string block;
  double x = 0, y = 0;
  std::vector<std::pair<std::string, std::string>> attributes;  // tag, text
  std::vector<std::string> xdata;  // strings after the application name
  std::string application = "ZR_PINO";
  std::string layer = "0";
};

// A reference of block at (x, y) with the given attributes.
Reference at(const std::string& block, double x, double y,
             std::vector<std::pair<std::string, std::string>> attributes = {});

// A new reference in the given block (model space when null).
OdDbObjectId addReference(OdDbDatabase& db, const Reference& r, OdDbObjectId space = OdDbObjectId());

// A pin symbol as the suite places it: reference of a "PIN-…" block with the
// identifier attribute and "ZR_PINO" extended data (name, code, flag).
OdDbObjectId addPin(OdDbDatabase& db, const std::string& block, const std::string& name, const std::string& code,
                    const std::string& identifier, double x, double y, const std::string& flag = "S");

}  // namespace testing_support

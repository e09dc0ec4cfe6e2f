#pragma once
// What `zrdxf info` reports about a drawing, gathered through the object model.

#include <cstddef>
#include <map>
#include <string>
#include <vector>

class OdDbDatabase;

struct DrawingSummary {
  struct Block {
    std::string name;
    std::size_t entities = 0;
    std::size_t references = 0;
  };
  struct Dictionary {
    std::string path;  // entry names from the named-objects dictionary, joined by "/"
    std::size_t entries = 0;
  };

  std::string version;
  std::string codePage;
  std::map<std::string, std::size_t> modelSpace;  // entity counts by type
  std::map<std::string, std::size_t> paperSpace;  // every paper-space layout together
  std::vector<Block> blocks;                      // block definitions (not spaces)
  std::vector<Dictionary> dictionaries;
  std::map<std::string, std::size_t> applications;  // objects carrying each application's extended data
};

DrawingSummary summarize(const OdDbDatabase& db);

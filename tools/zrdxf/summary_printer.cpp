#include "summary_printer.h"




namespace {


nlohmann::ordered_json jsonCounts(const std::map<std::string, std::size_t>& counts) {
  nlohmann::ordered_json out = nlohmann::ordered_json::object();
  for (const auto& [name, n] : counts) out[name] = n;
  return out;
}

void textCounts(const char* title, const std::map<std::string, std::size_t>& counts, std::ostream& out) {
  std::size_t total = 0;
  for (const auto& [name, n] : counts) total += n;
  out << title << ": " << total << " entities\n";
  for (const auto& [name, n] : counts) out << "  " << name << ": " << n << "\n";
}

}  // namespace

void printSummary(const DrawingSummary& s, std::ostream& out) {
  out << "version: " << s.version << "\n";
  out << "code page: " << s.codePage << "\n";
  textCounts("model space", s.modelSpace, out);
  textCounts("paper space", s.paperSpace, out);
  out << "blocks: " << s.blocks.size() << "\n";
  for (const auto& b : s.blocks)
    out << "  " << b.name << ": " << b.entities << " entities, " << b.references << " references\n";
  out << "dictionaries: " << s.dictionaries.size() << "\n";
  for (const auto& d : s.dictionaries) out << "  " << d.path << ": " << d.entries << " entries\n";
  out << "applications with extended data: " << s.applications.size() << "\n";
  for (const auto& [name, n] : s.applications) out << "  " << name << ": " << n << " objects\n";
}

nlohmann::ordered_json summaryJson(const DrawingSummary& s) {
  using Json = nlohmann::ordered_json;
  Json blocks = Json::array(), dictionaries = Json::array();
  for (const auto& b : s.blocks)
    blocks.push_back({{"name", b.name}, {"entities", b.entities}, {"references", b.references}});
  for (const auto& d : s.dictionaries) dictionaries.push_back({{"path", d.path}, {"entries", d.entries}});
  return {{"version", s.version},
          {"codePage", s.codePage},
          {"entities", {{"model", jsonCounts(s.modelSpace)}, {"paper", jsonCounts(s.paperSpace)}}},
          {"blocks", blocks},
          {"dictionaries", dictionaries},
          {"applications", jsonCounts(s.applications)}};
}

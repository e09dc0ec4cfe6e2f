#include "summary_printer.h"

#include "json_text.h"


namespace {


void jsonCounts(const std::map<std::string, std::size_t>& counts, std::ostream& out) {
  out << "{";
  bool first = true;
  for (const auto& [name, n] : counts) {
    out << (first ? "" : ",") << jsonString(name) << ":" << n;
    first = false;
  }
  out << "}";
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

void printSummaryJson(const DrawingSummary& s, std::ostream& out) {
  out << "{\"version\":" << jsonString(s.version) << ",\"codePage\":" << jsonString(s.codePage);
  out << ",\"entities\":{\"model\":";
  jsonCounts(s.modelSpace, out);
  out << ",\"paper\":";
  jsonCounts(s.paperSpace, out);
  out << "},\"blocks\":[";
  for (std::size_t i = 0; i < s.blocks.size(); ++i) {
    const auto& b = s.blocks[i];
    out << (i ? "," : "") << "{\"name\":" << jsonString(b.name) << ",\"entities\":" << b.entities
        << ",\"references\":" << b.references << "}";
  }
  out << "],\"dictionaries\":[";
  for (std::size_t i = 0; i < s.dictionaries.size(); ++i) {
    const auto& d = s.dictionaries[i];
    out << (i ? "," : "") << "{\"path\":" << jsonString(d.path) << ",\"entries\":" << d.entries << "}";
  }
  out << "],\"applications\":";
  jsonCounts(s.applications, out);
  out << "}\n";
}

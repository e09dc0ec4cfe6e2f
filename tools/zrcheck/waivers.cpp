#include "waivers.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <set>

#include "drawing_path.h"
#include "json_file.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

bool isDate(const std::string& text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
  for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
    if (text[i] < '0' || text[i] > '9') return false;
  const std::chrono::year_month_day day{std::chrono::year(std::stoi(text.substr(0, 4))),
                                        std::chrono::month(static_cast<unsigned>(std::stoi(text.substr(5, 2)))),
                                        std::chrono::day(static_cast<unsigned>(std::stoi(text.substr(8, 2))))};
  return day.ok();
}

Waiver waiverOf(const json& entry, const std::string& path, int number) {
  const std::string where = path + ": waiver " + std::to_string(number);
  if (!entry.is_object()) throw WaiverError(where + ": not an object");
  static const std::set<std::string> keys = {"fingerprint", "drawing",  "rule",   "connector",
                                             "identifier",  "reason",   "expires"};
  Waiver w;
  w.file = path;
  w.folder = folderOf(path);
  w.entry = number;
  for (const auto& [key, value] : entry.items()) {
    if (!keys.count(key))
      throw WaiverError(where + ": unknown key \"" + key +
                        "\" (a waiver has fingerprint, drawing, rule, connector, identifier, reason, expires)");
    if (key == "expires" && value.is_null()) continue;
    if (!value.is_string()) throw WaiverError(where + ": \"" + key + "\" is not a string");
  }
  auto text = [&](const char* key) { return entry.contains(key) && entry[key].is_string() ? entry[key].get<std::string>() : ""; };
  w.fingerprint = text("fingerprint");
  w.drawing = text("drawing");
  w.rule = text("rule");
  w.connector = text("connector");
  w.identifier = text("identifier");
  w.reason = text("reason");
  w.expires = text("expires");
  if (w.reason.empty()) throw WaiverError(where + ": no reason (say why the finding is accepted)");
  if (w.fingerprint.empty() && (w.rule.empty() || w.connector.empty()))
    throw WaiverError(where + ": names no finding (give a fingerprint, or a rule and a connector)");
  const auto& rules = ruleNames();
  if (!w.rule.empty() && std::find(rules.begin(), rules.end(), w.rule) == rules.end())
    throw WaiverError(where + ": no rule \"" + w.rule + "\"");
  if (entry.contains("expires") && !isDate(w.expires))
    throw WaiverError(where + ": \"expires\" is a date as YYYY-MM-DD, not " + entry["expires"].dump());
  return w;
}

// named: the waiver's "drawing"; resolved: the drawing's resolved path.
bool sameDrawing(const Waiver& w, const std::string& resolved) {
  if (w.drawing.empty()) return true;
  if (namesDrawing(w.drawing, w.folder, resolved)) return true;
  // A bare file name stands for the drawing of that name in any folder.
  const fs::path named(w.drawing);
  return resolved != "-" && !named.has_parent_path() && named == fs::path(resolved).filename();
}

bool matches(const Waiver& w, const Finding& f, const std::string& resolved) {
  if (!sameDrawing(w, resolved)) return false;
  if (!w.fingerprint.empty() && w.fingerprint != f.fingerprint) return false;
  if (!w.rule.empty() && w.rule != f.rule) return false;
  if (!w.connector.empty() && w.connector != f.connector) return false;
  return w.identifier.empty() || w.identifier == f.identifier;
}

}  // namespace

std::vector<Waiver> readWaiverFile(const std::string& path) {
  json document;
  try {
    document = readJsonFile(path, "waiver file");
  } catch (const std::runtime_error& e) {
    throw WaiverError(e.what());
  }
  if (!document.is_object() || !document.contains("waivers"))
    throw WaiverError(path + ": not a waiver file (an object with a list \"waivers\")");
  for (const auto& [key, value] : document.items())
    if (key != "waivers" && key != "$schema") throw WaiverError(path + ": unknown key \"" + key + "\"");
  if (!document["waivers"].is_array()) throw WaiverError(path + ": \"waivers\" is not a list");
  std::vector<Waiver> waivers;
  int number = 0;
  for (const json& entry : document["waivers"]) waivers.push_back(waiverOf(entry, path, ++number));
  return waivers;
}

std::string waiverFileBeside(const std::string& drawing) { return drawing + ".waivers.json"; }

bool expired(const Waiver& waiver, const std::string& today) {
  // ISO dates compare as text.
  return !waiver.expires.empty() && waiver.expires < today;
}

void applyWaivers(Findings& findings, const std::string& drawing, const std::vector<Waiver*>& waivers,
                  const std::string& today) {
  const std::string resolved = resolvedDrawingPath(drawing);
  for (Finding& f : findings) {
    for (Waiver* w : waivers) {
      if (!matches(*w, f, resolved)) continue;
      ++w->matched;
      if (!f.waived && !expired(*w, today)) f.waived = Finding::Waived{w->file, w->entry, w->reason, w->expires};
    }
  }
}

std::string waiverState(const Waiver& waiver, const std::string& today) {
  if (expired(waiver, today)) return "expired";
  return waiver.matched ? "used" : "unmatched";
}

#include "findings.h"

#include <nettle/sha2.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

// Lower-case hex of bytes.
std::string hexOf(const unsigned char* bytes, unsigned int length) {
  static const char* hex = "0123456789abcdef";
  std::string out(2 * std::size_t{length}, '0');
  for (unsigned int i = 0; i < length; ++i) {
    out[2 * i] = hex[bytes[i] >> 4];
    out[2 * i + 1] = hex[bytes[i] & 15];
  }
  return out;
}

}  // namespace

const std::vector<std::string>& ruleNames() {
  static const std::vector<std::string> names = {"pin.missing",   "pin.unknown",         "pin.invalid-mate",
                                                 "pin.self-mate", "connector.unchecked", "connector.unknown-code"};
  return names;
}

std::string setSeverity(const std::string& rule, const std::string& level, const std::string& where,
                        Severities& severities) {
  const auto& rules = ruleNames();
  if (std::find(rules.begin(), rules.end(), rule) == rules.end()) {
    std::string known;
    for (const std::string& r : rules) known += (known.empty() ? "" : ", ") + r;
    return where + ": no rule \"" + rule + "\" (the rules: " + known + ")";
  }
  if (level != "error" && level != "warning" && level != "ignore")
    return where + ": the level is error, warning or ignore, not \"" + level + "\"";
  severities[rule] = level;
  return {};
}

std::string addSeverity(const std::string& assignment, Severities& severities) {
  const std::size_t equals = assignment.find('=');
  if (equals == std::string::npos) return "--severity takes RULE=LEVEL, not \"" + assignment + "\"";
  const std::string rule = assignment.substr(0, equals), level = assignment.substr(equals + 1);
  const auto& rules = ruleNames();
  if (std::find(rules.begin(), rules.end(), rule) == rules.end()) return setSeverity(rule, level, "--severity", severities);
  return setSeverity(rule, level, "--severity " + rule, severities);
}

std::string severityOf(const std::string& rule, const Severities& severities) {
  auto it = severities.find(rule);
  return it == severities.end() ? std::string("error") : it->second;
}

std::string ruleDescription(const std::string& rule) {
  if (rule == "pin.missing") return "A catalogue pin of the connector's code that no pin symbol carries.";
  if (rule == "pin.unknown") return "A pin symbol whose identifier the catalogue does not know for the connector's code.";
  if (rule == "pin.invalid-mate")
    return "A pin touching a pin of another connector that the catalogue does not allow it to mate with.";
  if (rule == "pin.self-mate") return "A pin touching another pin of its own connector.";
  if (rule == "connector.unchecked")
    return "A connector placed in model space whose pin symbols were not read as pins, so it was not checked.";
  if (rule == "connector.unknown-code")
    return "A connector whose code the catalogue does not know, so none of its pins could be checked.";
  return {};
}

std::string findingMessage(const Finding& f, const std::string& attrTag) {
  if (f.rule == "connector.unchecked")
    return f.connector + ": placed in model space but not checked (no pin symbol with attribute " + attrTag + ")";
  if (f.rule == "connector.unknown-code") {
    std::string symbols;
    for (const std::string& h : f.symbols) symbols += (symbols.empty() ? "" : ", ") + h;
    return f.connector + " (" + f.code + "): the code " + f.code + " is not in the catalogue; " +
           std::to_string(f.symbols.size()) + (f.symbols.size() == 1 ? " pin symbol" : " pin symbols") +
           " not checked [" + symbols + "]";
  }
  std::string pin = "pin " + f.identifier;
  if (!f.handle.empty()) pin += " [" + f.handle + "]";
  const std::string head = f.connector + " (" + f.code + "): " + pin;
  if (f.rule == "pin.missing") return head + " is missing";
  if (f.rule == "pin.unknown") return head + " is not in the catalogue";
  std::string other = f.related ? f.related->connector + " pin " + f.related->identifier + " [" + f.related->handle + "]"
                                : std::string("another pin");
  if (f.rule == "pin.self-mate") return head + " touches " + other + " of its own connector";
  return head + " touches " + other + ", which it may not connect to";
}

void applySeverities(Findings& findings, const Severities& severities) {
  // In place: a large drawing's 10,000 findings are not copied to drop the
  // ignored ones, which keep their order.
  std::size_t kept = 0;
  for (std::size_t i = 0; i < findings.size(); ++i) {
    Finding& f = findings[i];
    auto it = severities.find(f.rule);
    if (it != severities.end()) {
      if (it->second == "ignore") continue;
      f.severity = it->second;
    }
    if (kept != i) findings[kept] = std::move(f);
    ++kept;
  }
  findings.erase(findings.begin() + static_cast<std::ptrdiff_t>(kept), findings.end());
}

std::string sha256Hex(const std::string& bytes) {
  sha256_ctx context;
  sha256_init(&context);
  sha256_update(&context, bytes.size(), reinterpret_cast<const uint8_t*>(bytes.data()));
  uint8_t digest[SHA256_DIGEST_SIZE];
  sha256_digest(&context, SHA256_DIGEST_SIZE, digest);
  return hexOf(digest, SHA256_DIGEST_SIZE);
}

std::optional<std::string> fileFingerprint(const std::string& path) {
  // Digested as it is read, a block at a time: a drawing may be hundreds of
  // megabytes, and a copy of it in memory would only cost time and room.
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!in) return std::nullopt;
  sha256_ctx context;
  sha256_init(&context);
  // 128 KB a read: as fast as larger reads, and few pages to fault in and
  // keep in the processor's caches.
  std::vector<uint8_t> block(std::size_t(128) << 10);
  for (;;) {
    const std::size_t n = std::fread(block.data(), 1, block.size(), in.get());
    if (n > 0) sha256_update(&context, n, block.data());
    if (n < block.size()) break;
  }
  if (std::ferror(in.get())) return std::nullopt;
  uint8_t digest[SHA256_DIGEST_SIZE];
  sha256_digest(&context, SHA256_DIGEST_SIZE, digest);
  return "sha256:" + hexOf(digest, SHA256_DIGEST_SIZE);
}

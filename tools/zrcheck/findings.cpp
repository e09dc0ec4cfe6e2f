#include "findings.h"

#include <openssl/evp.h>

#include <cmath>
#include <fstream>
#include <iterator>

#include "check_report.h"

namespace {

std::string utf8(const OdString& s) { return s.toUtf8(); }

std::optional<double> finiteOrNone(double v) { return std::isfinite(v) ? std::optional<double>(v) : std::nullopt; }

const char* ruleOf(const zr::CEPino& pin, const zr::CEConectorPinos& record) {
  switch (pin.status) {
    case zr::PINO_FALTANTE: return "pin.missing";
    case zr::PINO_DESCONHECIDO: return "pin.unknown";
    case zr::PINO_LIGACAO_INVALIDA:
      return pin.mate && pin.mate->owner == &record ? "pin.self-mate" : "pin.invalid-mate";
    default: return nullptr;
  }
}

void fingerprint(Finding& f) {
  // Fields joined by a unit separator, which no field holds.
  std::string key = f.rule + '\x1f' + f.connector + '\x1f' + f.code + '\x1f' + f.identifier + '\x1f' + f.pin;
  if (f.related) key += '\x1f' + f.related->connector + '\x1f' + f.related->identifier;
  f.fingerprint = sha256Hex(key).substr(0, 32);
}

}  // namespace

std::string sha256Hex(const std::string& bytes) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_sha256(), nullptr) != 1) return {};
  static const char* hex = "0123456789abcdef";
  std::string out;
  for (unsigned int i = 0; i < length; ++i) {
    out += hex[digest[i] >> 4];
    out += hex[digest[i] & 15];
  }
  return out;
}

std::optional<std::string> fileFingerprint(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes(std::istreambuf_iterator<char>(in), {});
  if (in.bad()) return std::nullopt;
  return "sha256:" + sha256Hex(bytes);
}

std::vector<Finding> findingsOf(const CheckReport& report) {
  std::vector<Finding> out;
  for (const auto& record : report.records) {
    for (const auto& pin : record->GetPinos()) {
      const char* rule = ruleOf(*pin, *record);
      if (!rule) continue;
      Finding f;
      f.rule = rule;
      f.connector = utf8(record->GetNome());
      f.code = utf8(record->GetCodigo());
      f.identifier = utf8(pin->identifier);
      f.pin = utf8(pin->pin);
      f.handle = utf8(pin->handle);
      if (!pin->handle.isEmpty()) {
        f.x = finiteOrNone(pin->x);
        f.y = finiteOrNone(pin->y);
      }
      if (pin->mate)
        f.related = Finding::Related{utf8(pin->mate->owner->GetNome()), utf8(pin->mate->handle),
                                     utf8(pin->mate->identifier)};
      fingerprint(f);
      out.push_back(std::move(f));
    }
  }
  for (const std::string& name : report.unchecked) {
    Finding f;
    f.rule = "connector.unchecked";
    f.connector = name;
    fingerprint(f);
    out.push_back(std::move(f));
  }
  return out;
}

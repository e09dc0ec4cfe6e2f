#include "check_report.h"

#include "json_text.h"

#include <cmath>
#include <cstdio>

#include "OdResBuf.h"

namespace {

std::string utf8(const OdString& s) { return s.toUtf8(); }
// Drawing texts in the report for people.
std::string shown(const OdString& s) { return printable(s.toUtf8()); }

// JSON has no infinities or NaN: those coordinates are written as null.
std::string number(double v) { return std::isfinite(v) ? odFormatDouble(v) : std::string("null"); }

const char* stateText(int state) {
  switch (state) {
    case zr::CONECTOR_OK: return "ok";
    case zr::CONECTOR_PINO_DESCONHECIDO: return "unknown pin";
    case zr::CONECTOR_LIGACAO_INVALIDA: return "invalid connection";
    default: return "?";
  }
}

}  // namespace

std::string printable(const std::string& utf8) {
  std::string out;
  out.reserve(utf8.size());
  char buf[8];
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    const auto next = i + 1 < utf8.size() ? static_cast<unsigned char>(utf8[i + 1]) : 0;
    if (c < 0x20 || c == 0x7F) {
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      out += buf;
    } else if (c == 0xC2 && next >= 0x80 && next <= 0x9F) {  // U+0080..U+009F
      std::snprintf(buf, sizeof buf, "\\u%04X", next);
      out += buf;
      ++i;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

CheckReport::Summary CheckReport::summary() const {
  Summary s;
  for (const auto& r : records) {
    ++s.connectors;
    if (r->GetEstado() == zr::CONECTOR_PINO_DESCONHECIDO || r->GetEstado() == zr::CONECTOR_LIGACAO_INVALIDA) ++s.errors;
    for (const auto& p : r->GetPinos()) {
      ++s.pins;
      if (p->status == zr::PINO_DESCONHECIDO || p->status == zr::PINO_LIGACAO_INVALIDA) ++s.errors;
      if (p->status == zr::PINO_FALTANTE) ++s.missing;
    }
  }
  return s;
}

bool CheckReport::clean() const {
  for (const auto& r : records) {
    if (r->GetEstado() != zr::CONECTOR_OK) return false;
    for (const auto& p : r->GetPinos())
      if (p->status != zr::PINO_OK) return false;
  }
  return true;
}

void printText(const CheckReport& report, std::ostream& out) {
  out << printable(report.drawing) << "\n";
  for (const auto& r : report.records) {
    out << "  " << shown(r->GetNome()) << " (" << shown(r->GetCodigo()) << ", flag " << shown(r->GetFlagTexto())
        << "): " << stateText(r->GetEstado()) << "\n";
    for (const auto& p : r->GetPinos()) {
      if (p->status == zr::PINO_OK) continue;
      out << "    pin " << shown(p->identifier);
      if (!p->handle.isEmpty()) out << " [" << shown(p->handle) << "]";
      switch (p->status) {
        case zr::PINO_FALTANTE: out << ": missing"; break;
        case zr::PINO_DESCONHECIDO: out << ": not in the catalogue"; break;
        case zr::PINO_LIGACAO_INVALIDA: out << ": may not connect"; break;
      }
      if (p->mate) {
        out << ", touches " << shown(p->mate->owner->GetNome()) << " pin " << shown(p->mate->identifier) << " ["
            << shown(p->mate->handle) << "]";
      }
      out << "\n";
    }
  }
  const CheckReport::Summary s = report.summary();
  out << "  connectors: " << s.connectors << ", pins: " << s.pins << ", errors: " << s.errors
      << ", missing: " << s.missing << "\n";
}

void printJson(const CheckReport& report, std::ostream& out) {
  out << "{\"connectors\":[";
  bool firstRecord = true;
  for (const auto& r : report.records) {
    out << (firstRecord ? "" : ",") << "{\"name\":" << jsonString(utf8(r->GetNome())) << ",\"code\":"
        << jsonString(utf8(r->GetCodigo())) << ",\"flag\":" << jsonString(utf8(r->GetFlagTexto())) << ",\"state\":"
        << r->GetEstado() << ",\"pins\":[";
    firstRecord = false;
    bool firstPin = true;
    for (const auto& p : r->GetPinos()) {
      out << (firstPin ? "" : ",") << "{\"handle\":" << jsonString(utf8(p->handle)) << ",\"identifier\":"
          << jsonString(utf8(p->identifier)) << ",\"pin\":" << jsonString(utf8(p->pin)) << ",\"status\":" << p->status
          << ",\"x\":" << number(p->x) << ",\"y\":" << number(p->y) << ",\"mate\":";
      firstPin = false;
      if (p->mate) {
        out << "{\"connector\":" << jsonString(utf8(p->mate->owner->GetNome())) << ",\"handle\":"
            << jsonString(utf8(p->mate->handle)) << ",\"identifier\":" << jsonString(utf8(p->mate->identifier)) << "}";
      } else {
        out << "null";
      }
      out << "}";
    }
    out << "]}";
  }
  out << "],\"names\":[";
  for (std::size_t i = 0; i < report.names.size(); ++i) out << (i ? "," : "") << jsonString(report.names[i]);
  const CheckReport::Summary s = report.summary();
  out << "],\"summary\":{\"connectors\":" << s.connectors << ",\"pins\":" << s.pins << ",\"errors\":" << s.errors
      << ",\"missing\":" << s.missing << "}}";
}

#include "zrdwg/OdResBuf.h"

#include <charconv>
#include <cmath>

#include "zrdwg/DxfValues.h"

ODRX_DEFINE_MEMBERS(OdResBuf, OdRxObject, "OdResBuf")

OdResBuf::Kind OdResBuf::kindOf(int c) {
  if (c == kRtNone) return Kind::kNone;
  if (c >= 1010 && c <= 1013) return Kind::kPoint;
  if (c == 1004) return Kind::kBinary;
  if (c == 1005) return Kind::kHandle;
  if (c >= 1000 && c <= 1009) return Kind::kString;
  if (c >= 1014 && c <= 1059) return Kind::kDouble;
  if (c >= 1060 && c <= 1070) return Kind::kInt16;
  if (c == 1071) return Kind::kInt32;
  if (c == 5 || c == 105) return Kind::kHandle;
  if (c >= 0 && c <= 9) return Kind::kString;
  if (c >= 10 && c <= 18) return Kind::kPoint;
  if (c >= 19 && c <= 59) return Kind::kDouble;
  if (c >= 60 && c <= 79) return Kind::kInt16;
  if (c >= 90 && c <= 99) return Kind::kInt32;
  if (c >= 100 && c <= 102) return Kind::kString;
  if (c >= 110 && c <= 112) return Kind::kPoint;
  if (c >= 113 && c <= 149) return Kind::kDouble;
  if (c >= 160 && c <= 169) return Kind::kInt64;
  if (c >= 170 && c <= 179) return Kind::kInt16;
  if (c == 210) return Kind::kPoint;
  if (c >= 211 && c <= 239) return Kind::kDouble;
  if (c >= 270 && c <= 289) return Kind::kInt16;
  if (c >= 290 && c <= 299) return Kind::kBool;
  if (c >= 300 && c <= 309) return Kind::kString;
  if (c >= 310 && c <= 319) return Kind::kBinary;
  if (c >= 320 && c <= 369) return Kind::kHandle;
  if (c >= 370 && c <= 389) return Kind::kInt16;
  if (c >= 390 && c <= 399) return Kind::kHandle;
  if (c >= 400 && c <= 409) return Kind::kInt16;
  if (c >= 410 && c <= 419) return Kind::kString;
  if (c >= 420 && c <= 429) return Kind::kInt32;
  if (c >= 430 && c <= 439) return Kind::kString;
  if (c >= 440 && c <= 459) return Kind::kInt32;
  if (c >= 460 && c <= 469) return Kind::kDouble;
  if (c >= 470 && c <= 479) return Kind::kString;
  if (c >= 480 && c <= 481) return Kind::kHandle;
  if (c == 999) return Kind::kString;
  return Kind::kString;
}

OdResBufPtr OdResBuf::newRb(int restype) {
  OdResBufPtr rb(new OdResBuf);
  rb->restype_ = restype;
  return rb;
}

OdResBufPtr OdResBuf::newRb(int restype, const OdString& value) {
  OdResBufPtr rb = newRb(restype);
  rb->setString(value);
  return rb;
}

OdResBufPtr OdResBuf::newRb(int restype, int32_t value) {
  OdResBufPtr rb = newRb(restype);
  rb->setInt32(value);
  return rb;
}

OdResBufPtr OdResBuf::newRb(int restype, double value) {
  OdResBufPtr rb = newRb(restype);
  rb->setDouble(value);
  return rb;
}

OdResBufPtr OdResBuf::newRb(int restype, const OdGePoint3d& value) {
  OdResBufPtr rb = newRb(restype);
  rb->setPoint3d(value);
  return rb;
}

OdResBufPtr OdResBuf::copy() const {
  OdResBufPtr rb = newRb(restype_);
  rb->value_ = value_;
  return rb;
}

OdResBufPtr OdResBuf::setNext(OdResBuf* rb) {
  next_ = rb;
  return next_;
}

OdResBuf* OdResBuf::last() {
  OdResBuf* p = this;
  while (p->next_) p = p->next_.get();
  return p;
}

const OdString& OdResBuf::getString() const {
  if (auto* s = std::get_if<OdString>(&value_)) return *s;
  return OdString::kEmpty;
}

int64_t OdResBuf::getInt64() const {
  if (auto* i = std::get_if<int64_t>(&value_)) return *i;
  if (auto* d = std::get_if<double>(&value_)) return std::isfinite(*d) ? static_cast<int64_t>(*d) : 0;
  if (auto* h = std::get_if<OdDbHandle>(&value_)) return static_cast<int64_t>(h->value());
  return 0;
}

double OdResBuf::getDouble() const {
  if (auto* d = std::get_if<double>(&value_)) return *d;
  if (auto* i = std::get_if<int64_t>(&value_)) return static_cast<double>(*i);
  return 0.0;
}

OdGePoint3d OdResBuf::getPoint3d() const {
  if (auto* p = std::get_if<OdGePoint3d>(&value_)) return *p;
  return {};
}

OdDbHandle OdResBuf::getHandle() const {
  if (auto* h = std::get_if<OdDbHandle>(&value_)) return *h;
  return {};
}

const std::vector<uint8_t>& OdResBuf::getBinaryChunk() const {
  static const std::vector<uint8_t> kNone;
  if (auto* b = std::get_if<std::vector<uint8_t>>(&value_)) return *b;
  return kNone;
}

std::string odFormatDouble(double value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  char buf[64];
  auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, value);
  std::string s(buf, ptr);
  if (s.find_first_of(".e") == std::string::npos) s += ".0";
  return s;
}

OdString OdResBuf::valueAsText() const {
  struct Visitor {
    std::string operator()(std::monostate) const { return {}; }
    std::string operator()(const OdString&) const { return {}; }
    std::string operator()(int64_t i) const { return std::to_string(i); }
    std::string operator()(double d) const { return odFormatDouble(d); }
    std::string operator()(const OdGePoint3d& p) const {
      return odFormatDouble(p.x) + "," + odFormatDouble(p.y) + "," + odFormatDouble(p.z);
    }
    std::string operator()(const OdDbHandle& h) const { return h.hex(); }
    std::string operator()(const std::vector<uint8_t>& b) const { return dxfv::hexOf(b); }
  };
  if (auto* s = std::get_if<OdString>(&value_)) return *s;
  return OdString::fromUtf8(std::visit(Visitor{}, value_));
}

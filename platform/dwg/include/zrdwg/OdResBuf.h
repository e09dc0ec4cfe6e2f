#pragma once
// OdResBuf: one typed value of a chain, as extended data, system variables and
// records carry them. The type is a DXF group code; the value's kind follows
// from the code (see OdResBuf::kindOf).

#include <cstdint>
#include <variant>
#include <vector>

#include "zrdwg/OdDbHandle.h"
#include "zrdwg/OdGePoint3d.h"
#include "zrdwg/OdRxObject.h"

class OdResBuf;
typedef OdSmartPtr<OdResBuf> OdResBufPtr;

class OdResBuf : public OdRxObject {
  ODRX_DECLARE_MEMBERS(OdResBuf)
 public:
  enum {
    kRtNone = 5000,
    kDxfText = 1,
    kDxfXdAsciiString = 1000,
    kDxfRegAppName = 1001,
    kDxfXdControlString = 1002,
    kDxfXdLayerName = 1003,
    kDxfXdBinaryChunk = 1004,
    kDxfXdHandle = 1005,
    kDxfXdXCoord = 1010,
    kDxfXdWorldXCoord = 1011,
    kDxfXdWorldXDisp = 1012,
    kDxfXdWorldXDir = 1013,
    kDxfXdReal = 1040,
    kDxfXdDist = 1041,
    kDxfXdScale = 1042,
    kDxfXdInteger16 = 1070,
    kDxfXdInteger32 = 1071,
  };

  // What a value of a group code holds.
  enum class Kind { kNone, kString, kPoint, kDouble, kInt16, kInt32, kInt64, kBool, kHandle, kBinary };
  // The kind of value that group code holds (kNone for codes it does not know).
  static Kind kindOf(int restype);

  // A new buffer of that type without a value. The caller holds the only reference.
  static OdResBufPtr newRb(int restype = kRtNone);
  // A new buffer of that type holding the text.
  static OdResBufPtr newRb(int restype, const OdString& value);
  // A new buffer of that type holding the integer.
  static OdResBufPtr newRb(int restype, int32_t value);
  // A new buffer of that type holding the real.
  static OdResBufPtr newRb(int restype, double value);
  // A new buffer of that type holding the point.
  static OdResBufPtr newRb(int restype, const OdGePoint3d& value);

  // A new buffer with the same type and value, not linked to any other.
  OdResBufPtr copy() const;

  // The type (group code) and its change; the value stays as it is.
  int restype() const { return restype_; }
  void setRestype(int restype) { restype_ = restype; }

  // The next buffer of the chain, or null. A buffer holds its successor: the
  // chain lives as long as someone holds its head.
  OdResBufPtr next() const { return next_; }
  // Links rb after this one and returns it.
  OdResBufPtr setNext(OdResBuf* rb);
  // The last buffer of the chain that starts here (this one when alone);
  // valid while the chain is held.
  OdResBuf* last();

  // Getters convert between the numeric kinds; getString of a non-string is empty.
  // The reference lasts until the value changes.
  const OdString& getString() const;
  // The integer value cut to 16 bits.
  int16_t getInt16() const { return static_cast<int16_t>(getInt64()); }
  // The integer value cut to 32 bits.
  int32_t getInt32() const { return static_cast<int32_t>(getInt64()); }
  // An integer, a real truncated (0 when not finite) or a handle's number; else 0.
  int64_t getInt64() const;
  // True for a non-zero integer value.
  bool getBool() const { return getInt64() != 0; }
  // A real, or an integer converted; else 0.
  double getDouble() const;
  // A point; the origin for any other value.
  OdGePoint3d getPoint3d() const;
  // A handle; the null handle for any other value.
  OdDbHandle getHandle() const;
  // Binary data; empty for any other value. The reference lasts until the value changes.
  const std::vector<uint8_t>& getBinaryChunk() const;

  // Each setter replaces the value, whatever kind it held; the type stays.
  void setString(const OdString& value) { value_ = value; }
  // Kept as a 64-bit integer, as every integer kind is.
  void setInt16(int16_t value) { value_ = static_cast<int64_t>(value); }
  // Kept as a 64-bit integer.
  void setInt32(int32_t value) { value_ = static_cast<int64_t>(value); }
  // Holds the integer.
  void setInt64(int64_t value) { value_ = value; }
  // Kept as the integer 0 or 1.
  void setBool(bool value) { value_ = static_cast<int64_t>(value); }
  // Holds the real.
  void setDouble(double value) { value_ = value; }
  // Holds the point.
  void setPoint3d(const OdGePoint3d& value) { value_ = value; }
  // Holds the handle.
  void setHandle(const OdDbHandle& value) { value_ = value; }
  // Takes the bytes over.
  void setBinaryChunk(std::vector<uint8_t> value) { value_ = std::move(value); }

  // The value as text: a string as it is, an integer in decimal, a real in its
  // shortest exact form, a handle in hexadecimal, a point as "x,y,z".
  OdString valueAsText() const;

 private:
  int restype_ = kRtNone;
  std::variant<std::monostate, OdString, int64_t, double, OdGePoint3d, OdDbHandle, std::vector<uint8_t>> value_;
  OdResBufPtr next_;
};

// Shortest text that reads back as the same double; always has a '.' or exponent.
std::string odFormatDouble(double value);

#pragma once
// OdResBuf: one typed value of a chain, as extended data, system variables and
// records carry them. The type is a DXF group code; the value's kind follows
// from the code (see OdResBuf::kindOf).

#include <cstdint>
#include <variant>
#include <vector>

#include "OdDbHandle.h"
#include "OdGePoint3d.h"
#include "OdRxObject.h"

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
  static Kind kindOf(int restype);

  static OdResBufPtr newRb(int restype = kRtNone);
  static OdResBufPtr newRb(int restype, const OdString& value);
  static OdResBufPtr newRb(int restype, int32_t value);
  static OdResBufPtr newRb(int restype, double value);
  static OdResBufPtr newRb(int restype, const OdGePoint3d& value);

  // A new buffer with the same type and value, not linked to any other.
  OdResBufPtr copy() const;

  int restype() const { return restype_; }
  void setRestype(int restype) { restype_ = restype; }

  OdResBufPtr next() const { return next_; }
  // Links rb after this one and returns it.
  OdResBufPtr setNext(OdResBuf* rb);
  OdResBuf* last();

  // Getters convert between the numeric kinds; getString of a non-string is empty.
  const OdString& getString() const;
  int16_t getInt16() const { return static_cast<int16_t>(getInt64()); }
  int32_t getInt32() const { return static_cast<int32_t>(getInt64()); }
  int64_t getInt64() const;
  bool getBool() const { return getInt64() != 0; }
  double getDouble() const;
  OdGePoint3d getPoint3d() const;
  OdDbHandle getHandle() const;
  const std::vector<uint8_t>& getBinaryChunk() const;

  void setString(const OdString& value) { value_ = value; }
  void setInt16(int16_t value) { value_ = static_cast<int64_t>(value); }
  void setInt32(int32_t value) { value_ = static_cast<int64_t>(value); }
  void setInt64(int64_t value) { value_ = value; }
  void setBool(bool value) { value_ = static_cast<int64_t>(value); }
  void setDouble(double value) { value_ = value; }
  void setPoint3d(const OdGePoint3d& value) { value_ = value; }
  void setHandle(const OdDbHandle& value) { value_ = value; }
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

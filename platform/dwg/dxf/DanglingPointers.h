#pragma once
// The pointers of one object that name handles the drawing does not hold:
// reactors, the extension dictionary, pointers of extended data (1005) and
// every other pointer group code (330-369, 390-399, 480-481) of known and
// unknown kinds alike. Shared by the audit, which reports them, and the
// repair, which removes what it can. Internal to the object model.
//
// The owner tag (the first 330 outside groups) is not listed: the reader
// records dangling owners itself. A dictionary's entries are not in its tags
// and are not listed either.

#include <cstdint>
#include <functional>
#include <string>

class OdDbObject;
struct DatabaseImpl;

struct DanglingPointer {
  enum class Kind { kReactor, kExtensionDictionary, kExtendedData, kOther };
  Kind kind = Kind::kOther;
  std::size_t tagIndex = 0;  // index among the object's tags
  int code = 0;              // group code of the pointer
  uint64_t handle = 0;       // the missing handle
  std::string application;   // kExtendedData: the application's name as in the file

  // "reactor 9A does not exist", "pointer 9A (group code 340) does not exist", ...
  std::string message() const;
};

// Calls `found` for each dangling pointer of `object`, in tag order.
void forEachDanglingPointer(const DatabaseImpl& drawing, const OdDbObject& object,
                            const std::function<void(const DanglingPointer&)>& found);

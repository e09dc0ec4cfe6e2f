#include "dxf/DanglingPointers.h"

#include "model/DatabaseImpl.h"
#include "zrdwg/OdDbBlockTableRecord.h"
#include "zrdwg/OdDbDictionary.h"
#include "zrdwg/OdDbSymbolTable.h"
#include "zrdwg/DxfValues.h"
#include "dxf/DxfTagReader.h"

namespace {

// Group codes whose values are handles of other objects. 320-329 are handles
// that need not name an object of this drawing, and are not followed.
bool isPointerCode(int code) {
  return (code >= 330 && code <= 369) || (code >= 390 && code <= 399) || code == 480 || code == 481;
}

}  // namespace

std::string DanglingPointer::message() const {
  const std::string h = OdDbHandle(handle).hex();
  switch (kind) {
    case Kind::kReactor: return "reactor " + h + " does not exist";
    case Kind::kExtensionDictionary: return "extension dictionary " + h + " does not exist";
    case Kind::kExtendedData:
      return "extended data of application \"" + DxfTagReader::shown(application) + "\" points to handle " + h +
             ", which does not exist";
    case Kind::kOther: break;
  }
  return "pointer " + h + " (group code " + std::to_string(code) + ") does not exist";
}

void forEachDanglingPointer(const DatabaseImpl& drawing, const OdDbObject& object,
                            const std::function<void(const DanglingPointer&)>& found) {
  const tags::OwnerTag owner = tags::ownerTagOf(object.dxfTags());
  std::string_view group;  // the application group open at this tag, or empty
  std::string_view application;
  bool inXdata = false;
  std::size_t i = 0;
  for (const DxfTag& t : object.dxfTags()) {
    const std::size_t index = i++;
    if (t.code == 1001) {
      inXdata = true;
      application = t.value;
      continue;
    }
    if (!inXdata && t.code == 102) {
      group = (!t.value.empty() && t.value[0] == '{') ? t.value.substr(1) : std::string_view();
      continue;
    }
    const bool pointer = inXdata ? t.code == 1005 : isPointerCode(t.code);
    if (!pointer || (owner.found && index == owner.index)) continue;
    const std::optional<uint64_t> h = dxfv::toHandle(t.value);
    if (!h || *h == 0 || drawing.lookup(*h)) continue;
    DanglingPointer p;
    p.tagIndex = index;
    p.code = t.code;
    p.handle = *h;
    if (inXdata) {
      p.kind = DanglingPointer::Kind::kExtendedData;
      p.application = std::string(application);
    } else if (group == "ACAD_REACTORS") {
      p.kind = DanglingPointer::Kind::kReactor;
    } else if (group == "ACAD_XDICTIONARY") {
      p.kind = DanglingPointer::Kind::kExtensionDictionary;
    }
    found(p);
  }
}

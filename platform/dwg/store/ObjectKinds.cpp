#include "store/ObjectKinds.h"

#include <atomic>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "zrdwg/StoredObject.h"

namespace objectkinds {

namespace {

// Kinds numbered alike in every process: those the model makes and those
// most drawings hold. The order is the numbering; new names go at the end.
const char* const kFixedKinds[] = {
    "TABLE", "BLOCK_RECORD", "LAYER", "LTYPE", "STYLE", "VIEW", "UCS", "VPORT", "APPID", "DIMSTYLE",
    "BLOCK", "ENDBLK", "INSERT", "ATTRIB", "ATTDEF", "SEQEND", "TEXT", "MTEXT", "LINE", "POLYLINE",
    "VERTEX", "LWPOLYLINE", "CIRCLE", "ARC", "ELLIPSE", "SPLINE", "POINT", "SOLID", "HATCH", "DIMENSION",
    "LEADER", "MLEADER", "VIEWPORT", "3DFACE", "IMAGE", "WIPEOUT", "XLINE", "RAY", "TRACE", "REGION",
    "3DSOLID", "BODY", "TOLERANCE", "SHAPE", "OLE2FRAME", "DICTIONARY", "ACDBDICTIONARYWDFLT", "XRECORD",
    "LAYOUT", "PLOTSETTINGS", "GROUP", "MLINESTYLE", "MLINE", "ACDBPLACEHOLDER", "DICTIONARYVAR",
    "SCALE", "VISUALSTYLE", "MATERIAL", "TABLESTYLE", "MLEADERSTYLE", "CELLSTYLEMAP", "SUNSTUDY",
    "SUN", "LAYER_INDEX", "SPATIAL_INDEX", "LAYER_FILTER", "SPATIAL_FILTER", "IDBUFFER", "IMAGEDEF",
    "IMAGEDEF_REACTOR", "RASTERVARIABLES", "WIPEOUTVARIABLES", "FIELD", "FIELDLIST", "GEODATA",
    "SORTENTSTABLE", "DATATABLE", "DIMASSOC", "TABLEGEOMETRY", "ACAD_PROXY_OBJECT", "ACAD_PROXY_ENTITY",
    "ACAD_TABLE", "PDFDEFINITION", "DWFDEFINITION", "DGNDEFINITION", "UNDERLAYDEFINITION", "XREF",
    "ACDBDETAILVIEWSTYLE", "ACDBSECTIONVIEWSTYLE", "SECTION", "HELIX", "SURFACE", "MESH", "LIGHT",
    "ARC_DIMENSION", "EXTRUDEDSURFACE", "LOFTEDSURFACE", "REVOLVEDSURFACE", "SWEPTSURFACE",
    "PLANESURFACE", "NURBSSURFACE", "VBA_PROJECT", "OBJECT_PTR", "PLACEHOLDER",
};
constexpr std::size_t kFixedCount = sizeof kFixedKinds / sizeof kFixedKinds[0];

// Built once, then only read: no lock.
const std::unordered_map<std::string_view, uint16_t>& fixedIndex() {
  static const std::unordered_map<std::string_view, uint16_t> index = [] {
    std::unordered_map<std::string_view, uint16_t> m;
    for (std::size_t i = 0; i < kFixedCount; ++i) m.emplace(kFixedKinds[i], static_cast<uint16_t>(i));
    return m;
  }();
  return index;
}
const std::vector<std::string>& fixedNames() {
  static const std::vector<std::string> names(std::begin(kFixedKinds), std::end(kFixedKinds));
  return names;
}

// Kinds of objects that outlived their drawing, kept for the process. Entries
// are written once and never move, so reading an index handed out earlier
// needs no lock.
constexpr std::size_t kMaxKeptKinds = StoredObject::kFirstDrawingKind - kFixedCount;
std::atomic<const std::string*> gKeptNames[kMaxKeptKinds];
std::mutex gKeptMutex;
std::unordered_map<std::string, uint16_t> gKeptIndex;
const std::string kUnnamedKind = "ACDBPLACEHOLDER";

}  // namespace

std::optional<uint16_t> fixed(std::string_view name) {
  const auto& index = fixedIndex();
  auto it = index.find(name);
  if (it == index.end()) return std::nullopt;
  return it->second;
}

uint16_t intern(std::string_view name) {
  if (auto kind = fixed(name)) return *kind;
  std::lock_guard<std::mutex> lock(gKeptMutex);
  auto it = gKeptIndex.find(std::string(name));
  if (it != gKeptIndex.end()) return it->second;
  // Only objects kept past their drawing come here; should a process keep
  // that many kinds, the rest are named as placeholders.
  if (gKeptIndex.size() >= kMaxKeptKinds) return *fixed(kUnnamedKind);
  const std::size_t slot = gKeptIndex.size();
  auto* stored = new std::string(name);  // lives for the process
  gKeptNames[slot].store(stored, std::memory_order_release);
  const auto type = static_cast<uint16_t>(kFixedCount + slot);
  gKeptIndex.emplace(*stored, type);
  return type;
}


const std::string& name(uint16_t type) {
  if (type < kFixedCount) return fixedNames()[type];
  return *gKeptNames[type - kFixedCount].load(std::memory_order_acquire);
}

}  // namespace objectkinds

#pragma once
// Kinds of objects (DXF type names) numbered alike in every process: those the
// model makes and most drawings hold come from a fixed list; a kind kept past
// its drawing is numbered for the process. Kinds that a drawing numbers itself
// (from StoredObject::kFirstDrawingKind) are kept by its ObjectStore.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace objectkinds {

// The index of a fixed kind, or none.
std::optional<uint16_t> fixed(std::string_view name);
// The index of a fixed kind; for another name (the kind of an object that
// outlives its drawing) one kept for the process, below
// StoredObject::kFirstDrawingKind. Thread-safe. Should a process keep more
// kinds than fit, the rest are named "ACDBPLACEHOLDER".
uint16_t intern(std::string_view name);
// The name of a kind numbered by fixed or intern (type below
// StoredObject::kFirstDrawingKind); the reference lives for the process.
const std::string& name(uint16_t type);

}  // namespace objectkinds

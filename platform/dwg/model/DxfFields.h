#pragma once
// The DXF format as data: the fields of each subclass the object model reads,
// edits or makes, with their group codes and the values a new object starts
// with, listed in the order a writer emits them. The accessors of the object
// classes, the tags of new objects (NewObjectTags) and the writer read these
// tables; group codes do not appear as bare numbers there.
//
// A field is found after its subclass marker (100); the fields of a table's or
// a record's head (name, handle, owner) come before any marker (subclass "").
// What no table lists is kept as read and written back in its place.

#include <span>
#include <string_view>

// The group code of a subclass marker ("100\nAcDbEntity").
inline constexpr int kSubclassMarkerCode = 100;

struct DxfField {
  std::string_view subclass;  // the marker the field follows; "" before any marker
  std::string_view name;      // what the field means, for readers of the table
  int code;                   // the group code
  std::string_view initial;   // the value a new object is written with
  bool inNew = true;          // false: a new object does not carry the field
};

// One subclass: its marker and its fields, in writing order.
struct DxfSubclass {
  std::string_view marker;
  std::span<const DxfField> fields;
};

namespace fields {

namespace entity {
inline constexpr std::string_view kMarker = "AcDbEntity";
inline constexpr DxfField kLayer{kMarker, "layer", 8, "0"};
inline constexpr DxfField kPaperSpace{kMarker, "in paper space (1)", 67, "0", false};
inline constexpr DxfField kAll[] = {kLayer, kPaperSpace};
inline constexpr DxfSubclass kSubclass{kMarker, kAll};
}  // namespace entity

namespace text {
inline constexpr std::string_view kMarker = "AcDbText";
inline constexpr DxfField kX{kMarker, "position x", 10, "0.0"};
inline constexpr DxfField kY{kMarker, "position y", 20, "0.0"};
inline constexpr DxfField kZ{kMarker, "position z", 30, "0.0"};
inline constexpr DxfField kHeight{kMarker, "height", 40, "2.5"};
inline constexpr DxfField kString{kMarker, "text", 1, ""};
inline constexpr DxfField kAll[] = {kX, kY, kZ, kHeight, kString};
inline constexpr DxfSubclass kSubclass{kMarker, kAll};
// A TEXT's second AcDbText part (alignment); a new text carries none of its fields.
inline constexpr DxfSubclass kAlignment{kMarker, {}};
}  // namespace text

// Flags (group 70) of attributes and their definitions.
inline constexpr long kInvisibleFlag = 1;
inline constexpr long kConstantFlag = 2;

namespace attribute {
inline constexpr std::string_view kMarker = "AcDbAttribute";
inline constexpr DxfField kTag{kMarker, "tag", 2, ""};
inline constexpr DxfField kFlags{kMarker, "flags", 70, "0"};
inline constexpr DxfField kAll[] = {kTag, kFlags};
inline constexpr DxfSubclass kSubclass{kMarker, kAll};
}  // namespace attribute

namespace attdef {
inline constexpr std::string_view kMarker = "AcDbAttributeDefinition";
inline constexpr DxfField kPrompt{kMarker, "prompt", 3, ""};
inline constexpr DxfField kTag{kMarker, "tag", 2, ""};
inline constexpr DxfField kFlags{kMarker, "flags", 70, "0"};
inline constexpr DxfField kAll[] = {kPrompt, kTag, kFlags};
inline constexpr DxfSubclass kSubclass{kMarker, kAll};
}  // namespace attdef

namespace reference {
inline constexpr std::string_view kMarker = "AcDbBlockReference";
inline constexpr DxfField kAttributesFollow{kMarker, "attributes follow (1)", 66, "0", false};
inline constexpr DxfField kBlockName{kMarker, "block name", 2, ""};
inline constexpr DxfField kX{kMarker, "position x", 10, "0.0"};
inline constexpr DxfField kY{kMarker, "position y", 20, "0.0"};
inline constexpr DxfField kZ{kMarker, "position z", 30, "0.0"};
inline constexpr DxfField kAll[] = {kAttributesFollow, kBlockName, kX, kY, kZ};
inline constexpr DxfSubclass kSubclass{kMarker, kAll};
}  // namespace reference

namespace blockBegin {
inline constexpr std::string_view kMarker = "AcDbBlockBegin";
inline constexpr DxfField kName{kMarker, "block name", 2, ""};
inline constexpr DxfField kFlags{kMarker, "flags", 70, "0"};
inline constexpr DxfField kX{kMarker, "base point x", 10, "0.0"};
inline constexpr DxfField kY{kMarker, "base point y", 20, "0.0"};
inline constexpr DxfField kZ{kMarker, "base point z", 30, "0.0"};
inline constexpr DxfField kNameAgain{kMarker, "block name (again)", 3, ""};
inline constexpr DxfField kXrefPath{kMarker, "external reference path", 1, ""};
inline constexpr DxfField kAll[] = {kName, kFlags, kX, kY, kZ, kNameAgain, kXrefPath};
inline constexpr DxfSubclass kSubclass{kMarker, kAll};
// A BLOCK's name as read before any marker (files that leave the markers out).
inline constexpr DxfField kAnyName{"", "block name", 2, ""};
}  // namespace blockBegin

namespace blockEnd {
inline constexpr DxfSubclass kSubclass{"AcDbBlockEnd", {}};
}  // namespace blockEnd

namespace symbolTable {
// The head of every TABLE: its name, then handle and owner.
inline constexpr DxfField kName{"", "table name", 2, ""};
inline constexpr DxfField kHandle{"", "handle", 5, "0"};
inline constexpr DxfField kOwner{"", "owner", 330, "0"};
inline constexpr DxfField kHead[] = {kName, kHandle, kOwner};
inline constexpr std::string_view kMarker = "AcDbSymbolTable";
inline constexpr DxfField kCount{kMarker, "number of records", 70, "0"};
inline constexpr DxfField kAll[] = {kCount};
inline constexpr DxfSubclass kSubclass{kMarker, kAll};
}  // namespace symbolTable

namespace symbolRecord {
inline constexpr DxfSubclass kSubclass{"AcDbSymbolTableRecord", {}};
// The record's name, read wherever it stands and written after the record's
// own subclass marker.
inline constexpr DxfField kName{"", "name", 2, ""};
}  // namespace symbolRecord

namespace blockRecord {
inline constexpr std::string_view kMarker = "AcDbBlockTableRecord";
inline constexpr DxfField kName{kMarker, "block name", 2, ""};
inline constexpr DxfField kLayout{kMarker, "layout", 340, "0"};
inline constexpr DxfField kAll[] = {kName, kLayout};
inline constexpr DxfSubclass kSubclass{kMarker, kAll};
}  // namespace blockRecord

namespace regApp {
inline constexpr std::string_view kMarker = "AcDbRegAppTableRecord";
inline constexpr DxfField kName{kMarker, "application name", 2, ""};
inline constexpr DxfField kFlags{kMarker, "flags", 70, "0"};
inline constexpr DxfField kAll[] = {kName, kFlags};
inline constexpr DxfSubclass kSubclass{kMarker, kAll};
}  // namespace regApp

namespace dictionary {
inline constexpr std::string_view kMarker = "AcDbDictionary";
inline constexpr DxfField kHardOwner{kMarker, "hard owner (1)", 280, "0", false};
inline constexpr DxfField kCloning{kMarker, "duplicate record cloning", 281, "1"};
inline constexpr DxfField kAll[] = {kHardOwner, kCloning};
inline constexpr DxfSubclass kSubclass{kMarker, kAll};
// Each entry: its key, then the handle of its object, soft or hard owned.
inline constexpr DxfField kEntryKey{kMarker, "entry key", 3, ""};
inline constexpr DxfField kEntrySoft{kMarker, "entry, soft owned", 350, "0"};
inline constexpr DxfField kEntryHard{kMarker, "entry, hard owned", 360, "0"};
}  // namespace dictionary

namespace xrecord {
inline constexpr std::string_view kMarker = "AcDbXrecord";
inline constexpr DxfField kCloning{kMarker, "duplicate record cloning", 280, "1"};
inline constexpr DxfField kAll[] = {kCloning};
inline constexpr DxfSubclass kSubclass{kMarker, kAll};
}  // namespace xrecord

namespace header {
// A header variable's handle value ($HANDSEED).
inline constexpr DxfField kHandle{"", "handle", 5, "0"};
}  // namespace header

}  // namespace fields

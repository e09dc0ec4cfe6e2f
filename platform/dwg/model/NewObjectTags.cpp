#include "NewObjectTags.h"

namespace newtags {

namespace {
TagList of(std::initializer_list<DxfTag> tags) { return TagList::fromTags(std::vector<DxfTag>(tags)); }
}  // namespace

TagList dictionary() { return of({{100, "AcDbDictionary"}, {281, "1"}}); }

TagList namedObjectsDictionary() { return of({{100, "AcDbDictionary"}, {281, "1"}}); }

TagList xrecord() { return of({{100, "AcDbXrecord"}, {280, "1"}}); }

TagList insert() {
  return of({{100, "AcDbEntity"},
             {8, "0"},
             {100, "AcDbBlockReference"},
             {2, ""},
             {10, "0.0"},
             {20, "0.0"},
             {30, "0.0"}});
}

// An entity's layer, then a single-line text's position, height and text: the
// part that TEXT, ATTRIB and ATTDEF share, followed by their own subclass.
static TagList textWith(std::initializer_list<DxfTag> own) {
  std::vector<DxfTag> tags = {{100, "AcDbEntity"}, {8, "0"},   {100, "AcDbText"}, {10, "0.0"},
                              {20, "0.0"},         {30, "0.0"}, {40, "2.5"},      {1, ""}};
  tags.insert(tags.end(), own.begin(), own.end());
  return TagList::fromTags(tags);
}

TagList attribute() { return textWith({{100, "AcDbAttribute"}, {2, ""}, {70, "0"}}); }

TagList attributeDefinition() { return textWith({{100, "AcDbAttributeDefinition"}, {3, ""}, {2, ""}, {70, "0"}}); }

TagList text() { return textWith({{100, "AcDbText"}}); }

TagList blockRecord() {
  return of({{100, "AcDbSymbolTableRecord"}, {100, "AcDbBlockTableRecord"}, {2, ""}, {340, "0"}});
}

TagList blockBegin() {
  return of({{100, "AcDbEntity"},
             {8, "0"},
             {100, "AcDbBlockBegin"},
             {2, ""},
             {70, "0"},
             {10, "0.0"},
             {20, "0.0"},
             {30, "0.0"},
             {3, ""},
             {1, ""}});
}

TagList blockEnd() { return of({{100, "AcDbEntity"}, {8, "0"}, {100, "AcDbBlockEnd"}}); }

TagList sequenceEnd() { return of({{100, "AcDbEntity"}, {8, "0"}}); }

TagList regApp() { return of({{100, "AcDbSymbolTableRecord"}, {100, "AcDbRegAppTableRecord"}, {2, ""}, {70, "0"}}); }

TagList regAppTable(std::string_view handle) {
  return of({{2, "APPID"}, {5, handle}, {330, "0"}, {100, "AcDbSymbolTable"}, {70, "0"}});
}

}  // namespace newtags

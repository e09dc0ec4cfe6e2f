#include "model/NewObjectTags.h"

#include <initializer_list>

#include "model/DxfFields.h"

namespace newtags {

namespace {

// The tags of a new object: each subclass's marker, then the fields a new
// object carries with their initial values, in the tables' order.
TagList of(std::initializer_list<DxfSubclass> subclasses) {
  TagListBuilder b;
  for (const DxfSubclass& subclass : subclasses) {
    b.add(kSubclassMarkerCode, subclass.marker);
    for (const DxfField& field : subclass.fields)
      if (field.inNew) b.add(field.code, field.initial);
  }
  return b.finish();
}

}  // namespace

TagList dictionary() { return of({fields::dictionary::kSubclass}); }

TagList namedObjectsDictionary() { return of({fields::dictionary::kSubclass}); }

TagList xrecord() { return of({fields::xrecord::kSubclass}); }

TagList insert() { return of({fields::entity::kSubclass, fields::reference::kSubclass}); }

// TEXT, ATTRIB and ATTDEF share an entity's layer and a single-line text's
// position, height and text, followed by their own subclass.
TagList attribute() { return of({fields::entity::kSubclass, fields::text::kSubclass, fields::attribute::kSubclass}); }

TagList attributeDefinition() {
  return of({fields::entity::kSubclass, fields::text::kSubclass, fields::attdef::kSubclass});
}

TagList text() { return of({fields::entity::kSubclass, fields::text::kSubclass, fields::text::kAlignment}); }

TagList blockRecord() { return of({fields::symbolRecord::kSubclass, fields::blockRecord::kSubclass}); }

TagList blockBegin() { return of({fields::entity::kSubclass, fields::blockBegin::kSubclass}); }

TagList blockEnd() { return of({fields::entity::kSubclass, fields::blockEnd::kSubclass}); }

TagList sequenceEnd() { return of({fields::entity::kSubclass}); }

TagList regApp() { return of({fields::symbolRecord::kSubclass, fields::regApp::kSubclass}); }

TagList regAppTable(std::string_view handle) {
  namespace table = fields::symbolTable;
  TagListBuilder b;
  b.add(table::kName.code, "APPID");
  b.add(table::kHandle.code, handle);
  b.add(table::kOwner.code, table::kOwner.initial);
  b.add(kSubclassMarkerCode, table::kMarker);
  b.add(table::kCount.code, table::kCount.initial);
  return b.finish();
}

}  // namespace newtags

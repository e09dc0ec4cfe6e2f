#pragma once
// The tags that a new object of each kind starts with, in the order a writer
// emits them. Handle (5) and owner (330) come first and are added when the object
// joins a drawing.

#include "zrdwg/TagList.h"

namespace newtags {

TagList dictionary();
TagList xrecord();
TagList insert();
TagList attribute();
TagList attributeDefinition();
TagList text();
TagList blockRecord();
TagList blockBegin();
TagList blockEnd();
TagList sequenceEnd();
TagList regApp();
// An APPID table: its name first, as every TABLE starts; handle and owner follow.
TagList regAppTable(std::string_view handle);
TagList namedObjectsDictionary();

}  // namespace newtags

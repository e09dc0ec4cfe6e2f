#pragma once
// Enumerations shared by the object model's classes.

namespace OdDb {
enum OpenMode { kNotOpen = -1, kForRead = 0, kForWrite = 1, kForNotify = 2 };
}

namespace OdRx {
enum DictIterType { kDictCollated = 0, kDictSorted = 1 };
}

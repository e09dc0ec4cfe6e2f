#include "zrdwg/StoredObject.h"

bool StoredObject::isDictionary() const { return false; }

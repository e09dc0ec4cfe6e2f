#pragma once
// EntityList: a block's entities in order, as the block, the drawing's
// ENTITIES section and the reader keep them. Model space lists a large
// drawing's entities by the hundred thousand: as a large array, a list
// reserved from the file's size is filled in huge pages.

#include "zrdwg/LargeArray.h"

class OdDbEntity;

using EntityList = LargeArray<OdDbEntity*>;

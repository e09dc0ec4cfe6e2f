#include "drawing_builder.h"

namespace testing_support {

OdDbObjectId addBlock(OdDbDatabase& db, const std::string& name, const std::vector<AttDef>& definitions) {
  OdDbBlockTablePtr table = db.getBlockTableId().safeOpenObject(OdDb::kForWrite);
  OdDbBlockTableRecordPtr block = OdDbBlockTableRecord::createObject();
  block->setName(u(name.c_str()));
  OdDbObjectId id = table->add(block);
  for (const AttDef& d : definitions) {
    OdDbAttributeDefinitionPtr def = OdDbAttributeDefinition::createObject();
    def->setTag(u(d.tag.c_str()));
    def->setPrompt(u(d.prompt.c_str()));
    def->setConstant(d.constant);
    block->appendOdDbEntity(def);
  }
  return id;
}

Reference at(const std::string& block, double x, double y,
             std::vector<std::pair<std::string, std::string>> attributes) {
  Reference r;
  r.block = block;
  r.x = x;
  r.y = y;
  r.attributes = std::move(attributes);
  return r;
}

OdDbObjectId addReference(OdDbDatabase& db, const Reference& r, OdDbObjectId space) {
  if (space.isNull()) space = db.getModelSpaceId();
  OdDbBlockTablePtr table = db.getBlockTableId().safeOpenObject();
  OdDbObjectId blockId = table->getAt(u(r.block.c_str()));
  OdDbBlockReferencePtr ref = OdDbBlockReference::createObject();
  ref->setBlockTableRecord(blockId);
  ref->setPosition(OdGePoint3d(r.x, r.y, 0.0));
  ref->setLayer(u(r.layer.c_str()));
  for (const auto& [tag, text] : r.attributes) {
    OdDbAttributePtr attribute = OdDbAttribute::createObject();
    attribute->setTag(u(tag.c_str()));
    attribute->setTextString(u(text.c_str()));
    attribute->setPosition(OdGePoint3d(r.x, r.y, 0.0));
    ref->appendAttribute(attribute);
  }
  OdDbBlockTableRecordPtr target = space.safeOpenObject(OdDb::kForWrite);
  OdDbObjectId id = target->appendOdDbEntity(ref);
  if (!r.xdata.empty()) {
    OdResBufPtr head = OdResBuf::newRb(OdResBuf::kDxfRegAppName, u(r.application.c_str()));
    OdResBuf* tail = head.get();
    for (const std::string& value : r.xdata)
      tail = tail->setNext(OdResBuf::newRb(OdResBuf::kDxfXdAsciiString, u(value.c_str())));
    ref->setXData(head);
  }
  return id;
}

OdDbObjectId addPin(OdDbDatabase& db, const std::string& block, const std::string& name, const std::string& code,
                    const std::string& identifier, double x, double y, const std::string& flag) {
  OdDbBlockTablePtr table = db.getBlockTableId().safeOpenObject();
  if (!table->has(u(block.c_str()))) addBlock(db, block, {{"ID_PINO", "Pino", false}});
  Reference r;
  r.block = block;
  r.x = x;
  r.y = y;
  r.attributes = {{"ID_PINO", identifier}};
  r.xdata = {name, code, flag};
  return addReference(db, r);
}

}  // namespace testing_support

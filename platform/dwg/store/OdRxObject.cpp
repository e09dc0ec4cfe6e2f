#include "OdRxObject.h"

const OdRxClass* OdRxObject::desc() {
  static const OdRxClass cls("OdRxObject", nullptr);
  return &cls;
}

OdRxObject* OdRxObject::x(const OdRxClass* cls) const {
  OdRxObject* p = queryX(cls);
  if (!p) throw OdError_NotThatKindOfClass(className(), cls);
  return p;
}

#include "OdRxModule.h"

const OdRxClass* OdRxModule::desc() {
  static const OdRxClass cls("OdRxModule", OdRxObject::desc());
  return &cls;
}

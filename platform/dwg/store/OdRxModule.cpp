#include "zrdwg/OdRxModule.h"

const OdRxClass* OdRxModule::desc() {
  static const OdRxClass cls("OdRxModule", OdRxObject::desc());
  return &cls;
}

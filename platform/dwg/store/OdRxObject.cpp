#include "zrdwg/OdRxObject.h"

const OdRxClass* OdRxObject::desc() {
  static const OdRxClass cls("OdRxObject", nullptr);
  return &cls;
}

OdRxObject* OdRxObject::x(const OdRxClass* cls) const {
  OdRxObject* p = queryX(cls);
  if (!p) throw OdError_NotThatKindOfClass(className(), cls);
  return p;
}

// The error of a failed cast names run-time classes: defined with them, so that
// errors stand below the classes.
namespace {
OdString castText(const OdString& from, const OdRxClass* to) {
  return OdString::fromUtf8("Object of class " + from.toUtf8() + " can't be cast to " +
                            (to ? to->name() : "(null)") + ".");
}
}  // namespace

OdError_NotThatKindOfClass::OdError_NotThatKindOfClass(const OdRxClass* from, const OdRxClass* to)
    : OdError(eNotThatKindOfClass, castText(OdString::fromUtf8(from ? from->name() : "(null)"), to)) {}

OdError_NotThatKindOfClass::OdError_NotThatKindOfClass(const OdString& fromName, const OdRxClass* to)
    : OdError(eNotThatKindOfClass, castText(fromName, to)) {}

#include "connector_names.h"

#include <set>

#include "zrdwg/OdDbBlockReference.h"
#include "zrdwg/OdDbBlockTableRecord.h"

namespace zrhost {

std::vector<OdString> connectorNames(const OdDbDatabase& db) {
  std::vector<OdString> names;
  std::set<OdString> seen;
  OdDbBlockTableRecordPtr modelSpace = db.getModelSpaceId().safeOpenObject();
  for (OdDbObjectIteratorPtr it = modelSpace->newIterator(); !it->done(); it->step()) {
    OdDbObjectPtr object = it->objectId().openObject();
    OdDbBlockReference* reference = OdDbBlockReference::cast(object.get());
    if (!reference) continue;
    OdResBufPtr xdata = reference->xData(OdString(u"ZR_PINO"));
    if (xdata.isNull() || xdata->next().isNull()) continue;
    const OdString name = xdata->next()->valueAsText();
    if (seen.insert(name).second) names.push_back(name);
  }
  return names;
}

}  // namespace zrhost

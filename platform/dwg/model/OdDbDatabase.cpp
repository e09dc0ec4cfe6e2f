#include "OdDbDatabase.h"

#include <algorithm>
#include <map>
#include <mutex>

#include "DatabaseImpl.h"
#include "DxfValues.h"
#include "ExtendedData.h"
#include "dxf/DxfLoader.h"
#include "dxf/DxfWriter.h"

ODRX_DEFINE_MEMBERS(OdDbDatabase, OdRxObject, "AcDbDatabase")

namespace {

std::mutex& hostVarsMutex() {
  static std::mutex m;
  return m;
}

std::map<std::u16string, OdResBufPtr>& hostVars() {
  static std::map<std::u16string, OdResBufPtr> vars;
  return vars;
}

}  // namespace

OdDbDatabase::OdDbDatabase() : impl_(std::make_unique<DatabaseImpl>(this)) {}

OdDbDatabase::~OdDbDatabase() = default;

OdDbDatabasePtr OdDbDatabase::readDxf(const OdString& path) {
  OdDbDatabasePtr db(new OdDbDatabase);
  DxfLoader(*db, path).loadFile();
  return db;
}

OdDbDatabasePtr OdDbDatabase::readDxfText(const std::string& text, const OdString& name) {
  OdDbDatabasePtr db(new OdDbDatabase);
  DxfLoader(*db, name).loadText(text);
  return db;
}

OdDbDatabasePtr OdDbDatabase::createNew(const OdString& version) {
  OdDbDatabasePtr db(new OdDbDatabase);
  DxfLoader(*db, OdString(u"(new drawing)")).loadNew(version.toUtf8());
  return db;
}

void OdDbDatabase::writeDxf(const OdString& path) const { DxfWriter(*this).writeFile(path); }

std::string OdDbDatabase::dxfText() const { return DxfWriter(*this).text(); }

void OdDbDatabase::setHostSysVar(const OdString& name, const OdResBuf* value) {
  std::lock_guard<std::mutex> lock(hostVarsMutex());
  std::u16string key = DatabaseImpl::nameKey(name);
  if (value) {
    hostVars()[key] = value;
  } else {
    hostVars().erase(key);
  }
}

OdResBufPtr OdDbDatabase::getSysVar(const OdString& name) const {
  {
    std::lock_guard<std::mutex> lock(hostVarsMutex());
    auto it = hostVars().find(DatabaseImpl::nameKey(name));
    if (it != hostVars().end()) {
      // A copy, so that callers cannot change the host's value.
      return it->second->copy();
    }
  }
  std::string want("$");
  want += OdString(DatabaseImpl::nameKey(name)).toUtf8();
  for (const HeaderVariable& var : impl_->header) {
    std::string have = var.name;
    std::transform(have.begin(), have.end(), have.begin(), [](unsigned char c) { return std::toupper(c); });
    if (have != want) continue;
    std::vector<DxfTag> tags = var.tags.toVector();
    return xdata::groupToChain(tags, 0, tags.size(), *impl_->codec);
  }
  return OdResBufPtr();
}

OdString OdDbDatabase::version() const { return OdString::fromUtf8(impl_->version); }

OdString OdDbDatabase::codePage() const {
  return OdString::fromUtf8(impl_->codec->isUtf8() ? std::string("UTF-8") : impl_->codePage);
}

OdDbObjectId OdDbDatabase::getBlockTableId() const { return OdDbObjectId::fromObject(impl_->blockTable); }
OdDbObjectId OdDbDatabase::getLayerTableId() const { return OdDbObjectId::fromObject(impl_->layerTable); }
OdDbObjectId OdDbDatabase::getRegAppTableId() const { return OdDbObjectId::fromObject(impl_->regAppTable); }
OdDbObjectId OdDbDatabase::getModelSpaceId() const { return OdDbObjectId::fromObject(impl_->modelSpace); }
OdDbObjectId OdDbDatabase::getPaperSpaceId() const { return OdDbObjectId::fromObject(impl_->paperSpace); }

OdDbObjectId OdDbDatabase::getNamedObjectsDictionaryId() const {
  impl_->ensureObjectsSection();
  return OdDbObjectId::fromObject(impl_->namedObjects);
}

OdDbObjectId OdDbDatabase::getOdDbObjectId(const OdDbHandle& handle, bool) const {
  return OdDbObjectId::fromObject(impl_->lookup(handle.value()));
}

OdDbHandle OdDbDatabase::handseed() const { return OdDbHandle(impl_->nextHandle); }

const TextCodec& OdDbDatabase::codec() const { return *impl_->codec; }

#include "drawing/CICad.h"

#include <vector>

#include "support/HostProgram.h"
#include "zrfx/FxDocumentManager.h"
#include "zrdwg/OdDbBlockReference.h"
#include "zrdwg/OdDbText.h"

OdDbDatabasePtr CICad::GetDatabase() { return ActiveDrawing(); }

OdString CICad::GetPrograma() { return HostProgram(); }

OdString CICad::GetVariavel(const OdString& name, const OdString& dflt) {
  CFxDocument* doc = ACTIVE_DOCUMENT();
  if (!doc) return dflt;
  CFxFunctionInterface* functions = doc->GetFunctionInterface();
  resbuf* chain = nullptr;
  const int status = functions->GetVariable(name.c_str(), &chain);
  if (status != RTNORM || !chain) {
    if (chain) functions->ReleaseChain(chain);
    return dflt;
  }
  OdString result = dflt;
  if (chain->restype == RTSTR && chain->resval.rstring) result = OdString(chain->resval.rstring);
  functions->ReleaseChain(chain);
  return result;
}

OdString CICad::ProximaReferencia(const OdString& prefixo) {
  CFxDocument* doc = ACTIVE_DOCUMENT();
  if (!doc) return OdString();
  CFxFunctionInterface* functions = doc->GetFunctionInterface();
  resbuf* call = fxNewNode(RTSTR);
  call->resval.rstring = fxNewString(OdString(u"buscaProximaRelAuto"));
  call->rbnext = fxNewNode(RTSTR);
  call->rbnext->resval.rstring = fxNewString(prefixo);
  resbuf* answer = nullptr;
  const int status = functions->InvokeFunction(call, &answer);
  fxReleaseChain(call);
  OdString name;
  if (status == RTNORM && answer && answer->restype == RTSTR && answer->resval.rstring)
    name = OdString(answer->resval.rstring);
  if (answer) functions->ReleaseChain(answer);
  return name;
}

namespace {

// Prompts of a block's non-constant attribute definitions, in the block's
// order. A reference's attributes pair with them by position; collecting them
// in one walk keeps reading a reference linear in its attributes and the
// block's entities, where asking for each position anew would walk the block
// once per attribute.
std::vector<OdString> promptsOf(const OdDbBlockTableRecord* block) {
  std::vector<OdString> prompts;
  for (OdDbObjectIteratorPtr it = block->newIterator(true, true); !it->done(); it->step(true, true)) {
    OdDbEntityPtr entity = it->entity();
    auto* definition = OdDbAttributeDefinition::cast(entity.get());
    if (definition && !definition->isConstant()) prompts.push_back(definition->prompt());
  }
  return prompts;
}

}  // namespace

OdString CICad::GetPromptAtributo(const OdDbBlockTableRecord* block, int n) {
  if (n < 0) return OdString();
  const std::vector<OdString> prompts = promptsOf(block);
  return static_cast<std::size_t>(n) < prompts.size() ? prompts[static_cast<std::size_t>(n)] : OdString();
}

OdDbAttributePtr CICad::AbrirAtributo(OdDbObjectIterator& it) {
  OdDbAttributePtr attribute;
  try {
    attribute = it.objectId().openObject(OdDb::kForRead);
  } catch (...) {
    attribute = nullptr;
  }
  if (attribute.isNull()) attribute = it.entity(OdDb::kForRead);  // a failed cast here reaches the caller
  return attribute;
}

int CICad::GetAtributos(const OdDbObjectId& referenceId, zr::CEListaAtributos*& out, bool useDefinitions) {
  OdDbObjectPtr object = referenceId.openObject(OdDb::kForRead);
  if (object.isNull()) return ATRIBUTOS_SEM_OBJETO;
  OdDbBlockReferencePtr reference = object;  // throws for another class

  OdDbBlockTableRecordPtr block;
  if (useDefinitions) {
    try {
      block = OdDbBlockTableRecord::cast(reference->blockTableRecord().openObject(OdDb::kForRead).get());
    } catch (const OdError&) {
      block = nullptr;
    }
    if (block.isNull()) useDefinitions = false;
  }

  OdDbObjectIteratorPtr it = reference->attributeIterator();
  if (it.isNull()) {
    out = nullptr;
    return ATRIBUTOS_OK;
  }
  const std::vector<OdString> prompts = useDefinitions ? promptsOf(block.get()) : std::vector<OdString>();
  auto* list = new zr::CEListaAtributos;
  std::size_t position = 0;
  try {
    for (; !it->done(); it->step()) {
      OdDbAttributePtr attribute = AbrirAtributo(*it);
      if (attribute.isNull()) continue;

      const OdString tag = attribute->tag();
      OdString prompt;
      if (useDefinitions) {
        if (position < prompts.size()) prompt = prompts[position];
        if (prompt.isEmpty()) prompt = tag;
      }
      ++position;
      OdString value = attribute->textString();
      value.trim();
      list->Add(new zr::CEAtributo(tag, prompt, value, attribute->objectId(), attribute->isInvisible()));
    }
  } catch (...) {
    list->FreeRecords();
    delete list;
    throw;
  }
  out = list;
  return ATRIBUTOS_OK;
}

bool CICad::SetAtributo(const OdDbObjectId& referenceId, const OdString& tag, const OdString& value) {
  OdDbObjectPtr object = referenceId.openObject(OdDb::kForWrite);
  if (object.isNull()) return false;
  OdDbBlockReferencePtr reference = object;  // throws for another class
  for (OdDbObjectIteratorPtr it = reference->attributeIterator(); !it->done(); it->step()) {
    OdDbObjectPtr opened = it->objectId().openObject(OdDb::kForWrite);
    if (opened.isNull()) continue;
    OdDbAttributePtr attribute = opened;  // throws for another class
    if (attribute->tag() == tag) {
      attribute->setTextString(value);
      break;
    }
  }
  return true;
}

bool CICad::SetTextoAtributo(const OdDbObjectId& attributeId, const OdString& text) {
  if (attributeId.isNull()) return false;
  OdDbObjectPtr object = attributeId.openObject(OdDb::kForWrite);
  if (object.isNull()) return false;
  OdDbAttributePtr attribute = object;  // throws for another class
  attribute->setTextString(text);
  return true;
}

// A small module for testing zrhost end to end: it registers a few functions
// with every document (those open at initialisation and, through its reactor,
// every later one) that exercise each way values cross the function
// interface. It records the document notifications it gets.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "FxDocumentManager.h"
#include "OdDbBlockReference.h"
#include "OdDbBlockTableRecord.h"
#include "OdDbDictionary.h"
#include "OdRxModule.h"
#ifdef ZRT_WITH_TOOLKIT
#include "zrui/msgbox.h"
#endif

namespace {

std::vector<std::string> events;  // "ready PATH", "closing PATH", in order

CFxFunctionInterface* functions() { return ACTIVE_DOCUMENT()->GetFunctionInterface(); }

resbuf* stringNode(const std::string& text) {
  resbuf* rb = fxNewNode(RTSTR);
  rb->resval.rstring = fxNewString(OdString::fromUtf8(text));
  return rb;
}

resbuf* longNode(int32_t value) {
  resbuf* rb = fxNewNode(RTLONG);
  rb->resval.rlong = value;
  return rb;
}

// Returns (status value ...) as a list and frees the chain.
void returnStatusAnd(int status, resbuf* chain) {
  resbuf* head = longNode(status);
  head->rbnext = chain;
  functions()->ReturnList(head);
  fxReleaseChain(head);
}

// Its arguments as a list; nil without arguments.
int echo() {
  resbuf* args = functions()->GetArguments();
  if (args) {
    functions()->ReturnList(args);
  } else {
    functions()->ReturnNil();
  }
  functions()->ReleaseChain(args);
  return 1;
}

int nil() {
  functions()->ReturnNil();
  return 1;
}

int voidResult() {
  functions()->ReturnVoid();
  return 1;
}

// The entity name of the first block reference in model space; nil if none.
int firstReference() {
  OdDbDatabase* db = ACTIVE_DOCUMENT()->GetFxDatabase()->database();
  OdDbBlockTableRecordPtr space = db->getModelSpaceId().safeOpenObject();
  for (OdDbObjectIteratorPtr it = space->newIterator(); !it->done(); it->step()) {
    if (!OdDbBlockReference::cast(it->objectId().openObject().get())) continue;
    ads_name name;
    CFxAPI::GetADSName(it->objectId(), name);
    functions()->ReturnEntityName(name);
    return 1;
  }
  functions()->ReturnNil();
  return 1;
}

// (zrtAskHost NAME ARG ...): invokes the host function NAME; returns
// (status result ...).
int askHost() {
  resbuf* args = functions()->GetArguments();
  resbuf* result = nullptr;
  const int status = functions()->InvokeFunction(args, &result);
  functions()->ReleaseChain(args);
  returnStatusAnd(status, result);
  return 1;
}

// (zrtVariable NAME): reads a host variable; returns (status value ...).
int variable() {
  resbuf* args = functions()->GetArguments();
  resbuf* result = nullptr;
  int status = RTERROR;
  if (args && args->restype == RTSTR) status = functions()->GetVariable(args->resval.rstring, &result);
  functions()->ReleaseChain(args);
  returnStatusAnd(status, result);
  return 1;
}

// (zrtColour INITIAL): the colour dialog; returns (status chosen).
int colour() {
  resbuf* args = functions()->GetArguments();
  const int initial = args && args->restype == RTSHORT ? args->resval.rint : 7;
  functions()->ReleaseChain(args);
  int chosen = -1;
  const int status = functions()->ColorDialog(nullptr, initial, 0, &chosen);
  returnStatusAnd(status, longNode(chosen));
  return 1;
}

// The system variable PROGRAM as the drawing answers it.
int program() {
  OdResBufPtr value = ACTIVE_DOCUMENT()->GetFxDatabase()->database()->getSysVar(OdString(u"PROGRAM"));
  if (value.isNull()) {
    functions()->ReturnNil();
  } else {
    resbuf* rb = stringNode(value->getString().toUtf8());
    functions()->ReturnList(rb);
    fxReleaseChain(rb);
  }
  return 1;
}

// The notifications received so far, as strings.
int notifications() {
  resbuf* head = nullptr;
  resbuf** tail = &head;
  for (const std::string& e : events) {
    *tail = stringNode(e);
    tail = &(*tail)->rbnext;
  }
  if (head) {
    functions()->ReturnList(head);
  } else {
    functions()->ReturnNil();
  }
  fxReleaseChain(head);
  return 1;
}

// Reads the variable *ZRATTPINO* from another thread; returns (status).
int variableFromThread() {
  CFxFunctionInterface* fi = functions();
  int status = 0;
  std::thread worker([&] {
    resbuf* result = nullptr;
    status = fi->GetVariable(u"*ZRATTPINO*", &result);
    fi->ReleaseChain(result);
  });
  worker.join();
  returnStatusAnd(status, nullptr);
  return 1;
}

// (zrtTouch KEY): changes the active drawing (a new dictionary under KEY in
// the named-objects dictionary); returns void.
int touch() {
  resbuf* args = functions()->GetArguments();
  const OdString key = args && args->restype == RTSTR ? OdString(args->resval.rstring) : OdString(u"ZRT_TOUCH");
  functions()->ReleaseChain(args);
  OdDbDatabase* db = ACTIVE_DOCUMENT()->GetFxDatabase()->database();
  OdDbDictionaryPtr named = db->getNamedObjectsDictionaryId().safeOpenObject(OdDb::kForWrite);
  OdDbDictionaryPtr entry = OdDbDictionary::createObject();
  named->setAt(key, entry.get());
  functions()->ReturnVoid();
  return 1;
}

int failure() { throw OdError(eInvalidInput, OdString(u"zrtFail always fails")); }

#ifdef ZRT_WITH_TOOLKIT
// (zrtMessage TEXT CAPTION TYPE): shows a message box; returns (answer).
int message() {
  resbuf* args = functions()->GetArguments();
  std::u16string text, caption;
  UINT type = MB_OK;
  if (args && args->restype == RTSTR) text = args->resval.rstring;
  if (args && args->rbnext && args->rbnext->restype == RTSTR) caption = args->rbnext->resval.rstring;
  if (args && args->rbnext && args->rbnext->rbnext && args->rbnext->rbnext->restype == RTSHORT)
    type = static_cast<UINT>(args->rbnext->rbnext->resval.rint);
  functions()->ReleaseChain(args);
  const int answer = MessageBoxW(nullptr, text.c_str(), caption.c_str(), type);
  returnStatusAnd(answer, nullptr);
  return 1;
}
#endif

struct Registration {
  const char16_t* name;
  FxFunctionHandler handler;
};

const Registration kFunctions[] = {
    {u"zrtEcho", echo},
    {u"zrtNil", nil},
    {u"zrtVoid", voidResult},
    {u"zrtFirstReference", firstReference},
    {u"zrtAskHost", askHost},
    {u"zrtVariable", variable},
    {u"zrtColour", colour},
    {u"zrtProgram", program},
    {u"zrtNotifications", notifications},
    {u"zrtFail", failure},
    {u"zrtVariableFromThread", variableFromThread},
    {u"zrtTouch", touch},
#ifdef ZRT_WITH_TOOLKIT
    {u"zrtMessage", message},
#endif
};

void registerWith(CFxDocument* doc) {
  for (const Registration& r : kFunctions) doc->GetFunctionInterface()->AddFunction(r.name, r.handler);
}

void unregisterFrom(CFxDocument* doc) {
  for (const Registration& r : kFunctions) doc->GetFunctionInterface()->RemoveFunction(r.name);
}

class Reactor : public CFxDocumentManagerReactor {
 public:
  void DocumentReady(CFxDocument* doc) override {
    events.push_back("ready " + doc->GetPathName().toUtf8());
    registerWith(doc);
  }
  void DocumentClosing(CFxDocument* doc) override {
    events.push_back("closing " + doc->GetPathName().toUtf8());
    unregisterFrom(doc);
  }
};

class TestModule : public OdRxModule {
 public:
  explicit TestModule(void* handle) : handle_(handle) {}
  void* moduleHandle() const override { return handle_; }
  void deleteModule() override;
  void initApp() override {
    CFxDocumentManager* manager = GetFxSystemServices()->GetDocumentManager();
    manager->AddReactor(&reactor_);
    for (int i = 0; i < manager->DocumentCount(); ++i) registerWith(manager->GetDocument(i));
  }
  void uninitApp() override { GetFxSystemServices()->GetDocumentManager()->RemoveReactor(&reactor_); }
  OdString moduleName() const override { return OdString(u"zrhost test module"); }

 private:
  void* handle_;
  Reactor reactor_;
};

TestModule* theModule = nullptr;

void TestModule::deleteModule() {
  theModule = nullptr;
  delete this;
}

}  // namespace

extern "C" {

#ifndef ZRT_WITHOUT_CREATE
__attribute__((visibility("default"))) OdRxModule* odrxCreateModuleObject(void** loaderHandle) {
  if (!theModule) {
    theModule = new TestModule(*loaderHandle);
    *loaderHandle = nullptr;
  }
  return theModule;
}
#endif

#ifndef ZRT_WITHOUT_VERSION
__attribute__((visibility("default"))) void odrxGetAPIVersion(int32_t* major, int32_t* minor, int32_t* build,
                                                              int32_t* patch) {
  *major = ZRT_API_MAJOR;
  *minor = 2;
  *build = 0;
  *patch = 0;
}
#endif
}

// A small module for testing zrhost end to end: it registers a few functions
// with every document (those open at initialisation and, through its reactor,
// every later one) that exercise each way values cross the function
// interface. It records the document notifications it gets.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "zrfx/FxDocumentManager.h"
#include "zrdwg/OdDbBlockReference.h"
#include "zrdwg/OdDbBlockTableRecord.h"
#include "zrdwg/OdDbDictionary.h"
#include "zrdwg/OdRxModule.h"
#ifdef ZRT_WITH_TOOLKIT
#include "zrui/commctrl.h"
#include "zrui/dialog.h"
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

// (zrtOpenFile TITLE): the file-open dialog; returns (status path).
int openFile() {
  resbuf* args = functions()->GetArguments();
  zrui::FileDialogRequest request;
  if (args && args->restype == RTSTR) request.title = args->resval.rstring;
  functions()->ReleaseChain(args);
  request.filter = u"Drawings (*.dxf)|*.dxf|All files|*.*|";
  request.flags = 0x00001000;  // the file must exist
  zrui::FileDialogAnswer answer = zrui::ShowFileDialog(request);
  returnStatusAnd(answer.result, stringNode(OdString(answer.path).toUtf8()));
  return 1;
}

// A small dialog: a name (edit 101), a kind (combo 102), a tree of parts
// (103) whose folder "Parts" fills its children when first opened, a
// check box (104), OK and Cancel. OK asks for confirmation with a Yes/No box
// when the name is empty.
constexpr int kName = 101, kKind = 102, kTree = 103, kCheck = 104;

std::u16string treeSelection(HWND tree) {
  HTREEITEM sel = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
  if (!sel) return u"";
  char16_t buf[128] = {0};
  TVITEMW item;
  item.mask = TVIF_TEXT;
  item.hItem = sel;
  item.pszText = buf;
  item.cchTextMax = 128;
  SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  return buf;
}

HTREEITEM insertItem(HWND tree, HTREEITEM parent, const char16_t* text, int children) {
  TVINSERTSTRUCTW ins;
  ins.hParent = parent;
  ins.hInsertAfter = TVI_LAST;
  ins.item.mask = TVIF_TEXT | TVIF_CHILDREN;
  ins.item.pszText = const_cast<char16_t*>(text);
  ins.item.cChildren = children;
  return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins)));
}

struct DialogOutcome {
  std::u16string name, kind, part;
  bool checked = false;
};

INT_PTR CALLBACK partsDialog(HWND h, UINT msg, WPARAM w, LPARAM l) {
  switch (msg) {
    case WM_INITDIALOG: {
      SetWindowLongPtrW(h, DWLP_USER, l);
      for (const char16_t* k : {u"Plug", u"Socket", u"Terminal"})
        SendDlgItemMessageW(h, kKind, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(k));
      HWND tree = GetDlgItem(h, kTree);
      insertItem(tree, TVI_ROOT, u"Parts", 1);
      insertItem(tree, TVI_ROOT, u"Spares", 0);
      return TRUE;
    }
    case WM_NOTIFY: {
      auto* nm = reinterpret_cast<NMTREEVIEWW*>(l);
      if (nm->hdr.code == TVN_ITEMEXPANDINGW && nm->action == TVE_EXPAND &&
          !SendMessageW(nm->hdr.hwndFrom, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(nm->itemNew.hItem))) {
        insertItem(nm->hdr.hwndFrom, nm->itemNew.hItem, u"J1", 0);
        insertItem(nm->hdr.hwndFrom, nm->itemNew.hItem, u"J2", 0);
      }
      return FALSE;
    }
    case WM_COMMAND:
      if (LOWORD(w) == IDOK) {
        auto* out = reinterpret_cast<DialogOutcome*>(GetWindowLongPtrW(h, DWLP_USER));
        out->name = GetWindowTextString(GetDlgItem(h, kName));
        if (out->name.empty() &&
            MessageBoxW(h, u"The name is empty. Keep it empty?", u"Parts", MB_YESNO | MB_ICONQUESTION) != IDYES)
          return TRUE;
        out->kind = GetWindowTextString(GetDlgItem(h, kKind));
        out->part = treeSelection(GetDlgItem(h, kTree));
        out->checked = IsDlgButtonChecked(h, kCheck) == BST_CHECKED;
        EndDialog(h, IDOK);
      } else if (LOWORD(w) == IDCANCEL) {
        EndDialog(h, IDCANCEL);
      }
      return TRUE;
  }
  return FALSE;
}

// (zrtDialog): runs the small dialog; returns (status name kind part checked)
// after OK, (status) otherwise.
int partsDialogFunction() {
  using namespace zrui::rc;
  DialogTemplate t;
  t.caption = u"Parts";
  t.cx = 200;
  t.cy = 120;
  t.items = {
      LTEXT(u"&Name:", -1, 7, 9, 40, 8),
      EDITTEXT(kName, 50, 7, 100, 12, ES_AUTOHSCROLL),
      LTEXT(u"&Kind:", -1, 7, 25, 40, 8),
      COMBOBOX(kKind, 50, 23, 100, 60, CBS_DROPDOWNLIST | WS_TABSTOP),
      CONTROL(u"", kTree, WC_TREEVIEWW, TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | WS_BORDER | WS_TABSTOP, 7,
              40, 143, 55),
      CHECKBOX(u"&Spare", kCheck, 7, 100, 60, 10, WS_TABSTOP),
      DEFPUSHBUTTON(u"OK", IDOK, 155, 7, 40, 14),
      PUSHBUTTON(u"Cancel", IDCANCEL, 155, 24, 40, 14),
  };
  DialogOutcome out;
  INT_PTR r = DialogBoxIndirectParamW(nullptr, &t, nullptr, partsDialog, reinterpret_cast<LPARAM>(&out));
  resbuf* chain = nullptr;
  if (r == IDOK) {
    chain = stringNode(OdString(out.name).toUtf8());
    chain->rbnext = stringNode(OdString(out.kind).toUtf8());
    chain->rbnext->rbnext = stringNode(OdString(out.part).toUtf8());
    chain->rbnext->rbnext->rbnext = stringNode(out.checked ? "checked" : "unchecked");
  }
  returnStatusAnd(static_cast<int>(r), chain);
  return 1;
}

// (zrtFile FOLDER): the file-open dialog for drawings in FOLDER; returns
// (answer path).
int file() {
  resbuf* args = functions()->GetArguments();
  zrui::FileDialogRequest request;
  if (args && args->restype == RTSTR) request.initialDirectory = args->resval.rstring;
  functions()->ReleaseChain(args);
  request.filter = u"Drawings|*.dwg";
  request.title = u"Abrir";
  const zrui::FileDialogAnswer answer = zrui::ShowFileDialog(request);
  returnStatusAnd(answer.result, stringNode(OdString(answer.path).toUtf8()));
  return 1;
}

// (zrtAskName PROPOSAL): a small dialog as the module's are built (a
// template in dialog units): a name in an edit, a colour in a drop-down
// list, OK and Cancel. Returns (NAME COLOUR) on OK, nil on cancel.
constexpr int kNameEdit = 100;
constexpr int kColourList = 101;

struct NameAnswer {
  std::u16string proposal, name, colour;
};

INT_PTR CALLBACK nameDialogProc(HWND dlg, UINT msg, WPARAM w, LPARAM l) {
  static NameAnswer* answer = nullptr;
  switch (msg) {
    case WM_INITDIALOG:
      answer = reinterpret_cast<NameAnswer*>(l);
      SetDlgItemTextW(dlg, kNameEdit, answer->proposal.c_str());
      for (const char16_t* colour : {u"red", u"green", u"blue"})
        SendDlgItemMessageW(dlg, kColourList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(colour));
      SendDlgItemMessageW(dlg, kColourList, CB_SETCURSEL, 0, 0);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(w) == IDOK) {
        answer->name = GetWindowTextString(GetDlgItem(dlg, kNameEdit));
        answer->colour = GetWindowTextString(GetDlgItem(dlg, kColourList));
        EndDialog(dlg, IDOK);
        return TRUE;
      }
      if (LOWORD(w) == IDCANCEL) {
        EndDialog(dlg, IDCANCEL);
        return TRUE;
      }
      break;
    default: break;
  }
  return FALSE;
}

int askName() {
  resbuf* args = functions()->GetArguments();
  NameAnswer answer;
  if (args && args->restype == RTSTR) answer.proposal = args->resval.rstring;
  functions()->ReleaseChain(args);
  using namespace zrui::rc;
  DialogTemplate t;
  t.caption = u"Connector name";
  t.cx = 160;
  t.cy = 70;
  t.items = {LTEXT(u"&Name:", -1, 8, 10, 40, 8), EDITTEXT(kNameEdit, 50, 8, 100, 12, ES_AUTOHSCROLL),
             LTEXT(u"&Colour:", -1, 8, 28, 40, 8), COMBOBOX(kColourList, 50, 26, 100, 60, CBS_DROPDOWNLIST),
             DEFPUSHBUTTON(u"OK", IDOK, 46, 50, 50, 14), PUSHBUTTON(u"Cancel", IDCANCEL, 100, 50, 50, 14)};
  if (DialogBoxIndirectParamW(nullptr, &t, nullptr, nameDialogProc, reinterpret_cast<LPARAM>(&answer)) == IDOK) {
    resbuf* head = stringNode(OdString(answer.name).toUtf8());
    head->rbnext = stringNode(OdString(answer.colour).toUtf8());
    functions()->ReturnList(head);
    fxReleaseChain(head);
  } else {
    functions()->ReturnNil();
  }
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
    {u"zrtAskName", askName},
    {u"zrtOpenFile", openFile},
    {u"zrtDialog", partsDialogFunction},

    {u"zrtFile", file},
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

#include "monkey_world.h"

#include <unistd.h>

#include <zrui/afx.h>
#include <zrui/metrics.h>
#include <zrui/msgbox.h>
#include <zrui/testing.h>
#include <zrui/textrender.h>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>

#include "zrdwg/OdDbBlockReference.h"
#include "zrdwg/OdDbBlockTableRecord.h"
#include "zrdwg/OdRxModule.h"
#include "catalog/CIBancoDados.h"
#include "colour_picker.h"
#include "dialogs/CITabCriar.h"
#include "controls/ListView/EditMessages.h"
#include "drawing_builder.h"
#include "fake_host.h"
#include "grid_dialog.h"
#include "module/CommandFrame.h"
#include "program_environment.h"
#include "test_catalogue.h"

extern "C" OdRxModule* odrxCreateModuleObject(void** loaderHandle);

namespace monkey {

namespace {

constexpr const char* kProgram = "zrmonkey";

// Ends the run: `kind` names the fault for the shrinker (which keeps only
// sequences that fail the same way), `what` says where and how.
[[noreturn]] void Fail(const std::string& kind, const std::string& what) {
  if (const char* path = std::getenv("ZR_MONKEY_FAILURE"))
    if (std::FILE* f = std::fopen(path, "w")) {
      std::fputs(kind.c_str(), f);
      std::fclose(f);
    }
  std::fprintf(stderr, "monkey: FAILED (%s): %s\n", kind.c_str(), what.c_str());
  std::fflush(stderr);
  std::_Exit(kFailed);
}

std::string Describe(HWND h) {
  std::string out = GetClassNameString(h).empty() ? "?" : CString(GetClassNameString(h).c_str()).ToUtf8();
  out += " id " + std::to_string(::GetDlgCtrlID(h)) + " \"" + CString(GetWindowTextString(h).c_str()).ToUtf8() + "\"";
  return out;
}

bool HasStyle(HWND h, DWORD style) { return (static_cast<DWORD>(::GetWindowLongW(h, GWL_STYLE)) & style) != 0; }

// ---- the drawing ----

// Pin symbols of model space, in the file's order.
std::vector<OdDbObjectId> PinSymbols(OdDbDatabase& db) {
  std::vector<OdDbObjectId> out;
  OdDbBlockTableRecordPtr space = db.getModelSpaceId().safeOpenObject();
  for (OdDbObjectIteratorPtr it = space->newIterator(); !it->done(); it->step()) {
    OdDbBlockReferencePtr ref = OdDbBlockReference::cast(it->entity());
    if (ref.isNull()) continue;
    OdDbBlockTableRecordPtr block = ref->blockTableRecord().openObject();
    if (!block.isNull() && block->getName().left(4) == OdString(u"PIN-")) out.push_back(it->objectId());
  }
  return out;
}

// A drawing with every light: complete, missing pins, an unknown pin, an
// invalid link, a valid link, two records of one name, an unknown code, an
// automatic name (flag N) and an empty name.
void BuildEveryLight(OdDbDatabase& db) {
  using testing_support::addPin;
  for (int i = 1; i <= 4; ++i) addPin(db, "PIN-M", "K1", "AM04M", std::to_string(i), 100 + 10 * i, 100, "S");
  addPin(db, "PIN-M", "K2", "AM04M", "1", 100, 150, "N");
  addPin(db, "PIN-M", "K2", "AM04M", "2", 110, 150, "N");
  addPin(db, "PIN-F", "K3", "CI04F", "1", 100, 200, "S");
  addPin(db, "PIN-F", "K3", "CI04F", "99", 110, 200, "S");
  addPin(db, "PIN-M", "K5", "AM04M", "1", 300, 100, "S");
  addPin(db, "PIN-M", "K4", "CI04M", "1", 300, 100, "S");
  addPin(db, "PIN-F", "K6", "AM04F", "1", 400, 100, "S");
  addPin(db, "PIN-M", "K7", "AM04M", "1", 400, 100, "N");
  addPin(db, "PIN-F", "K2", "CI04F", "2", 500, 100, "S");
  addPin(db, "PIN-M", "K8", "ZZ99", "1", 600, 100, "S");
  addPin(db, "PIN-M", "", "AM04M", "1", 700, 100, "S");
}

// What a script may do to the drawing while a dialog is open.
void ChangeDrawing(OdDbDatabase& db, int what, int which) {
  std::vector<OdDbObjectId> pins = PinSymbols(db);
  const char* names[] = {"K1", "K2", "X1", "J1", "NOVO", ""};
  const char* codes[] = {"AM04M", "CI04F", "CI04M", "AM04F", "ZZ99"};
  const char* ids[] = {"1", "2", "3", "4", "99", ""};
  if (what == 1 || pins.empty()) {
    // A new symbol, on an existing one now and then so that they touch.
    double x = 800 + which % 50, y = 300;
    if (!pins.empty() && which % 3 == 0) {
      OdDbBlockReferencePtr ref = pins[static_cast<size_t>(which) % pins.size()].openObject();
      if (!ref.isNull()) x = ref->position().x, y = ref->position().y;
    }
    testing_support::addPin(db, which % 2 ? "PIN-M" : "PIN-F", names[which % 6], codes[which % 5], ids[which % 6], x, y,
                            which % 4 ? "S" : "N");
    return;
  }
  OdDbObjectPtr o = pins[static_cast<size_t>(which) % pins.size()].openObject(OdDb::kForWrite);
  if (o.isNull()) return;
  switch (what) {
    case 0: o->erase(); break;
    case 2:
    case 3: {
      // The connector's name (value 1) or its flag (value 3) in ZR_PINO.
      OdResBufPtr xd = o->xData(OdString(u"ZR_PINO"));
      int n = 0;
      for (OdResBuf* rb = xd.get(); rb; rb = rb->next().get(), ++n) {
        if (what == 2 && n == 1) rb->setString(OdString::fromUtf8(names[which % 6]));
        if (what == 3 && n == 3) rb->setString(OdString(which % 2 ? u"S" : u"N"));
      }
      if (!xd.isNull()) o->setXData(xd.get());
      break;
    }
    default: {
      // The pin identifier attribute.
      OdDbBlockReferencePtr ref = OdDbBlockReference::cast(o);
      if (ref.isNull()) break;
      for (OdDbObjectIteratorPtr it = ref->attributeIterator(); !it->done(); it->step()) {
        OdDbAttributePtr a = it->objectId().openObject(OdDb::kForWrite);
        if (!a.isNull()) a->setTextString(OdString::fromUtf8(ids[which % 6]));
      }
      break;
    }
  }
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// ---- the driver ----

// One unit of input, queued when the loop is idle.
struct Action {
  enum Type { kPress, kRelease, kMove, kWheel, kKeyDown, kKeyUp, kChar, kClose, kDrawing, kCatalogue, kArm } type;
  POINT p{};
  zrui::MouseButton button = zrui::MouseButton::Left;
  bool dbl = false;
  UINT vk = 0;
  zrui::Keys keys{};
  int value = 0, which = 0;
};

class World {
 public:
  World(const RunConfig& config, const std::vector<Step>& steps) : config_(config), steps_(steps) {}

  void Run() {
    Setup();
    // The loops look again every few milliseconds while the handler waits.
    zrui::SetIdleHandler([this](HWND modal) { return Idle(modal); }, std::chrono::milliseconds(10));
    int idleOpens = 0;
    while (next_ < steps_.size() || !actions_.empty()) {
      const size_t before = next_;
      Open();
      // A dialog that would not open takes no input: pass over one step so
      // that the run still ends.
      if (next_ == before && ++idleOpens > 3) {
        ++next_;
        idleOpens = 0;
      }
    }
    zrui::SetIdleHandler(nullptr);
    CheckReadBack();
    Teardown();
  }

 private:
  void Setup() {
    if (config_.textProfile) zrui::SetMetricsProfile(zrui::MetricsProfile::Text);
    zrui::SetRealDialogPolicy([] { return true; });
    // A loop left waiting this long has lost its input: a fault.
    zrui::SetModalIdleTimeout(std::chrono::seconds(20));
    CIBancoDados::ResetInstanceForTesting();
    zr::ResetConnectionOpenedForTesting();
    env_ = std::make_unique<zrtest::ProgramEnvironment>(kProgram);
    catalogue_ = std::make_unique<zrtest::TestCatalogue>(zrtest::Backend::kSqlite);
    env_->WriteDatabaseSettings(kProgram, "MDB", catalogue_->folder(), catalogue_->file_name());
    auto& script = env_->host().script();
    script.setString("*NORMA_UTILIZADA*", "IEC");
    script.defineFunction("buscaProximaRelAuto", [this](const resbuf* args) -> resbuf* {
      RunArmed();
      std::vector<std::string> a = testing_support::chainStrings(args);
      if (a.empty() || a[0].empty()) return nullptr;
      return testing_support::stringChain({a[0] + std::to_string(++proposals_ % 3)});
    });
    script.defineFunction("atualizarMacros", [this](const resbuf*) -> resbuf* {
      RunArmed();
      return nullptr;
    });
    script.setColourDialog([](int initial, int* chosen) {
      std::optional<int> index = zrhost::runColourPicker(initial);
      if (!index) return RTERROR;
      *chosen = *index;
      return RTNORM;
    });

    if (config_.exampleDrawing) {
      db_ = OdDbDatabase::readDxf(OdString::fromUtf8(config_.examplesDir + "/drawing.dxf"));
    } else {
      db_ = OdDbDatabase::createNew();
      BuildEveryLight(*db_);
    }
    CFxDocument* doc = env_->host().open(db_, "monkey.dxf");
    env_->host().documents().SetActiveDocument(doc);
    void* handle = nullptr;
    module_ = odrxCreateModuleObject(&handle);
    module_->initApp();
    ListView::RegisterMessages();
  }

  void Teardown() {
    module_->uninitApp();
    module_->deleteModule();
    CIBancoDados::ResetInstanceForTesting();
    zr::ResetConnectionOpenedForTesting();
    db_ = OdDbDatabasePtr();
    catalogue_.reset();
    env_.reset();
  }

  // Opens the target dialog once; returns when it has ended.
  void Open() {
    ++opens_;
    if (config_.target == Target::kGrade) {
      listview_test::GridDialog dlg;
      dlg.DoModal();
      return;
    }
    const char* name = "zrConectores";
    std::vector<std::string> args;
    switch (config_.target) {
      case Target::kSelecao:
        switch (opens_ % 3) {
          case 0: name = "SelecaoConector", args = {"M12"}; break;
          case 1: name = "SelecaoConector", args = {"F16"}; break;
          default: name = "PerguntaInserirPinoConectado", args = {"M12", "CI04F"}; break;
        }
        break;
      case Target::kNovo: name = "NovoConector", args = {opens_ % 2 ? "CON-AM04M" : ""}; break;
      default: break;
    }
    resbuf* chain = args.empty() ? nullptr : testing_support::stringChain(args);
    auto result = ACTIVE_DOCUMENT()->GetFunctionInterface()->CallFunction(OdString::fromUtf8(name), chain);
    fxReleaseChain(chain);
    fxReleaseChain(result.list);
  }

  // ---- idle: check, then the next action ----

  bool Idle(HWND modal) {
    CheckInvariants(modal);
    if (actions_.empty()) {
      // The next step waits for the catalogue tree's worker, so that a run
      // is the same every time (unless the races are wanted).
      if (!config_.race && CITabCriar::AnyFillRunning()) return false;
      if (next_ >= steps_.size()) return CloseEverything(modal);
      current_ = next_;
      Expand(steps_[next_++], modal);
      if (config_.verbose)
        std::fprintf(stderr, "step %zu in %s, focus %s: %s\n", current_, Describe(modal).c_str(),
                     ::GetFocus() ? Describe(::GetFocus()).c_str() : "none", ToText(steps_[current_]).c_str());
      if (config_.renderEvery > 0 && current_ % static_cast<size_t>(config_.renderEvery) == 0) Render();
      if (actions_.empty()) return true;
    }
    Action a = actions_.front();
    actions_.pop_front();
    Do(a, modal);
    return true;
  }

  // Ends what is open as a person would: Escape, then the close command, a
  // few times a second (a dialog may first wait for its worker).
  bool CloseEverything(HWND modal) {
    const auto now = std::chrono::steady_clock::now();
    if (modal != lastClosing_) {
      lastClosing_ = modal;
      closeTries_ = 0;
      closingSince_ = now;
    } else if (now - lastTry_ < std::chrono::milliseconds(50)) {
      return false;
    }
    lastTry_ = now;
    ++closeTries_;
    if (now - closingSince_ > std::chrono::seconds(10))
      Fail("no-close", "after the last step: " + Describe(modal) +
                           " does not close with Escape or the window close command");
    if (config_.verbose)
      std::fprintf(stderr, "closing %s (try %d), focus %s\n", Describe(modal).c_str(), closeTries_,
                   ::GetFocus() ? Describe(::GetFocus()).c_str() : "none");
    if (closeTries_ % 2) {
      zrui::InputKeyDown(VK_ESCAPE);
      zrui::InputKeyUp(VK_ESCAPE);
    } else if (::GetDlgItem(modal, zrui::IDC_MESSAGE_TEXT) && closeTries_ % 4 == 0) {
      // A Yes/No box answers neither Escape nor the close command.
      zrui::InputKeyDown(VK_RETURN);
      zrui::InputKeyUp(VK_RETURN);
    } else {
      ::PostMessageW(modal, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    return true;
  }

  // The n-th visible control of a window (pages entered), counting round,
  // or the last one; the window itself when it has none.
  static HWND Control(HWND top, int n) {
    std::vector<HWND> all;
    std::function<void(HWND)> walk = [&](HWND parent) {
      for (HWND c = ::GetWindow(parent, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        if (!HasStyle(c, WS_VISIBLE)) continue;
        all.push_back(c);
        walk(c);
      }
    };
    walk(top);
    if (all.empty()) return top;
    // One time in four the newest: an editor just opened, its "..." button.
    if (n % 4 == 3) return all.back();
    return all[static_cast<size_t>(n) % all.size()];
  }

  static POINT At(HWND w, int a, int b) {
    RECT r{};
    ::GetWindowRect(w, &r);
    return POINT{r.left + (r.right - r.left) * a / 1000, r.top + (r.bottom - r.top) * b / 1000};
  }

  void Expand(const Step& s, HWND modal) {
    zrui::Keys keys{(s.mods & 1) != 0, (s.mods & 2) != 0, (s.mods & 4) != 0};
    Action a;
    switch (s.kind) {
      case Kind::kKey:
        a.type = Action::kKeyDown, a.vk = static_cast<UINT>(s.a), a.keys = keys;
        actions_.push_back(a);
        a.type = Action::kKeyUp;
        actions_.push_back(a);
        break;
      case Kind::kChar:
        a.type = Action::kChar, a.value = s.a;
        actions_.push_back(a);
        break;
      case Kind::kClick: {
        a.p = At(s.mods > 0 ? Control(modal, s.mods - 1) : modal, s.a, s.b);
        a.button = s.c == 1 ? zrui::MouseButton::Right : zrui::MouseButton::Left;
        a.type = Action::kMove;
        actions_.push_back(a);
        for (int n = 0; n < (s.c == 2 ? 2 : 1); ++n) {
          a.type = Action::kPress, a.dbl = n == 1;
          actions_.push_back(a);
          a.type = Action::kRelease;
          actions_.push_back(a);
        }
        break;
      }
      case Kind::kWheel:
        a.type = Action::kWheel, a.p = At(modal, s.a, s.b), a.value = s.c * WHEEL_DELTA;
        actions_.push_back(a);
        break;
      case Kind::kDrag: {
        // Press on the frame at the edge, move, release.
        RECT r{};
        ::GetWindowRect(modal, &r);
        const int e = s.c;
        const bool left = e == WMSZ_LEFT || e == WMSZ_TOPLEFT || e == WMSZ_BOTTOMLEFT;
        const bool right = e == WMSZ_RIGHT || e == WMSZ_TOPRIGHT || e == WMSZ_BOTTOMRIGHT;
        const bool top = e == WMSZ_TOP || e == WMSZ_TOPLEFT || e == WMSZ_TOPRIGHT;
        const bool bottom = e == WMSZ_BOTTOM || e == WMSZ_BOTTOMLEFT || e == WMSZ_BOTTOMRIGHT;
        POINT from{left ? r.left : right ? r.right - 1 : (r.left + r.right) / 2,
                   top ? r.top : bottom ? r.bottom - 1 : (r.top + r.bottom) / 2};
        POINT to{from.x + (r.right - r.left) * (s.a - 1000) / 1000, from.y + (r.bottom - r.top) * (s.b - 1000) / 1000};
        a.type = Action::kMove, a.p = from;
        actions_.push_back(a);
        a.type = Action::kPress;
        actions_.push_back(a);
        a.type = Action::kMove, a.p = to;
        actions_.push_back(a);
        a.type = Action::kRelease;
        actions_.push_back(a);
        break;
      }
      case Kind::kClose:
        a.type = Action::kClose;
        actions_.push_back(a);
        break;
      case Kind::kDrawing:
      case Kind::kCatalogue:
      case Kind::kArmScript:
        a.type = s.kind == Kind::kDrawing ? Action::kDrawing : s.kind == Kind::kCatalogue ? Action::kCatalogue : Action::kArm;
        a.value = s.a, a.which = s.b;
        actions_.push_back(a);
        break;
    }
  }

  void Do(const Action& a, HWND modal) {
    switch (a.type) {
      case Action::kPress: zrui::InputMousePress(a.p, a.button, a.keys, a.dbl); break;
      case Action::kRelease: zrui::InputMouseRelease(a.p, a.button, a.keys); break;
      case Action::kMove: zrui::InputMouseMove(a.p, a.keys); break;
      case Action::kWheel: zrui::InputMouseWheel(a.p, a.value, a.keys); break;
      case Action::kKeyDown: zrui::InputKeyDown(a.vk, a.keys); break;
      case Action::kKeyUp: zrui::InputKeyUp(a.vk, a.keys); break;
      case Action::kChar: zrui::InputChar(static_cast<char16_t>(a.value)); break;
      case Action::kClose: ::PostMessageW(modal, WM_SYSCOMMAND, SC_CLOSE, 0); break;
      case Action::kDrawing: ChangeDrawing(*db_, a.value, a.which); break;
      case Action::kCatalogue: ChangeCatalogue(a.value, a.which); break;
      case Action::kArm: armed_ = a; break;
    }
  }

  void RunArmed() {
    if (!armed_) return;
    Action a = *armed_;
    armed_.reset();
    ChangeDrawing(*db_, a.value, a.which);
  }

  // What a script may do to the catalogue's menu rows.
  void ChangeCatalogue(int what, int which) {
    if (!direct_) direct_ = catalogue_->Connect();
    std::u16string sql;
    const std::u16string n = CString::FromUtf8(std::to_string(which % 40)).str();
    switch (what) {
      case 0: sql = u"DELETE FROM BDMENUS WHERE rowid = (SELECT rowid FROM BDMENUS LIMIT 1 OFFSET " + n + u")"; break;
      case 1: sql = u"INSERT INTO BDMENUS (MENU_NIVEL, MENU_KEY, MENU_DESCR) VALUES ('" + n + u"', '9" + n + u"', 'Nova " + n + u"')"; break;
      case 2: sql = u"UPDATE BDMENUS SET MENU_DESCR = 'Renomeada " + n + u"' WHERE rowid = (SELECT rowid FROM BDMENUS LIMIT 1 OFFSET " + n + u")"; break;
      default: sql = u"UPDATE BDMENUS SET MENU_NIVEL = '" + n + u"' WHERE rowid = (SELECT rowid FROM BDMENUS LIMIT 1 OFFSET " + n + u")"; break;
    }
    try {
      direct_->Execute(sql, nullptr, adExecuteNoRecords);
    } catch (const _com_error& e) {
      Fail("catalogue-change", "the catalogue change " + CString(sql.c_str()).ToUtf8() + " failed: " + zrtest::Describe(e));
    }
  }

  void Render() {
    const int cols = ::GetSystemMetrics(SM_CXSCREEN) / 7 + 1, rows = ::GetSystemMetrics(SM_CYSCREEN) / 13 + 1;
    zrui::TextGrid g = zrui::RenderScreen(cols, rows);
    if (g.width() != cols || g.height() != rows) Fail("render", "the screen rendered at a wrong size");
  }

  std::string Where() const {
    return "after step " + std::to_string(current_) + " (" + (current_ < steps_.size() ? ToText(steps_[current_]) : "") +
           "), opening " + std::to_string(opens_);
  }

  // The screen model's invariants.
  void CheckInvariants(HWND modal) {
    if (!::IsWindow(modal)) Fail("modal-gone", Where() + ": the modal loop runs for a window that is gone");
    // The focus rests on an enabled, visible control, or nowhere.
    if (HWND f = ::GetFocus()) {
      for (HWND w = f; w; w = HasStyle(w, WS_CHILD) ? ::GetParent(w) : nullptr) {
        if (!::IsWindow(w)) Fail("focus-gone", Where() + ": the focus is on a window that is gone");
        if (!HasStyle(w, WS_VISIBLE))
          Fail("focus-hidden", Where() + ": the focus is on " + Describe(f) + ", inside the hidden " + Describe(w));
        if (!::IsWindowEnabled(w))
          Fail("focus-disabled", Where() + ": the focus is on " + Describe(f) + ", inside the disabled " + Describe(w));
      }
    }
    // Every control of a dialog lies inside its dialog.
    for (HWND top : zrui::TopLevelWindows()) {
      if (GetClassNameString(top) != WC_DIALOGW) continue;
      RECT outer{};
      ::GetWindowRect(top, &outer);
      CheckInside(top, top, outer);
    }
  }

  void CheckInside(HWND dialog, HWND parent, const RECT& outer) {
    for (HWND c = ::GetWindow(parent, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
      if (!HasStyle(c, WS_VISIBLE)) continue;
      RECT r{};
      ::GetWindowRect(c, &r);
      if (r.left < outer.left || r.top < outer.top || r.right > outer.right || r.bottom > outer.bottom)
        Fail("outside", Where() + ": " + Describe(c) + " lies outside its dialog " + Describe(dialog) + " (" +
             std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
             std::to_string(r.bottom) + " in " + std::to_string(outer.left) + "," + std::to_string(outer.top) + "," +
             std::to_string(outer.right) + "," + std::to_string(outer.bottom) + ")");
      // Pages of a dialog hold controls of their own.
      if (GetClassNameString(c) == WC_DIALOGW) CheckInside(dialog, c, outer);
    }
  }

  // The drawing, saved after everything the run did, reads back and saves
  // to the same bytes.
  void CheckReadBack() {
    // Named after the process: several runs may share the work folder.
    const std::string stem = config_.workDir + "/monkey-" + std::to_string(getpid());
    const std::string first = stem + "-1.dxf", second = stem + "-2.dxf";
    try {
      db_->writeDxf(OdString::fromUtf8(first));
      OdDbDatabasePtr back = OdDbDatabase::readDxf(OdString::fromUtf8(first));
      back->writeDxf(OdString::fromUtf8(second));
    } catch (const OdError& e) {
      Fail("read-back", "the drawing does not save and read back: " + e.description().toUtf8());
    }
    if (ReadFile(first) != ReadFile(second))
      Fail("read-back", "the drawing read back differs from the drawing saved (" + first + ", " + second + ")");
    std::remove(first.c_str());
    std::remove(second.c_str());
  }

  const RunConfig& config_;
  const std::vector<Step>& steps_;
  size_t next_ = 0, current_ = 0;
  int opens_ = 0, proposals_ = 0;
  std::deque<Action> actions_;
  std::optional<Action> armed_;
  HWND lastClosing_ = nullptr;
  int closeTries_ = 0;
  std::chrono::steady_clock::time_point closingSince_, lastTry_;
  std::unique_ptr<zrtest::ProgramEnvironment> env_;
  std::unique_ptr<zrtest::TestCatalogue> catalogue_;
  _ConnectionPtr direct_;
  OdDbDatabasePtr db_;
  OdRxModule* module_ = nullptr;
};

}  // namespace

void RunSteps(const RunConfig& config, const std::vector<Step>& steps) {
  World world(config, steps);
  world.Run();
}

}  // namespace monkey

#include "dialog_driver.h"

#include <deque>
#include <fstream>

#include "zrdwg/OdString.h"
#include "colour_swatches.h"
#include "dialog_controls.h"
#include "zrui/commctrl.h"
#include "zrui/eventloop.h"
#include "zrui/input.h"
#include "zrui/metrics.h"
#include "zrui/msgbox.h"
#include "zrui/picture.h"
#include "zrui/testing.h"
#include "zrui/textrender.h"

namespace zrhost {
namespace {

using Clock = std::chrono::steady_clock;
constexpr std::chrono::milliseconds kRecheck{25};

struct Driver {
  std::deque<DialogAction> queue;
  bool installed = false;
  bool frontEnd = false;
  std::chrono::milliseconds limit{5000};
  std::optional<std::string> failure;
  HWND waiting = nullptr;  // the dialog whose idle time is measured
  Clock::time_point waitingSince;
  Clock::time_point lastIdle;
};

Driver& driver() {
  static Driver* d = new Driver;  // modal loops may run while statics go away
  return *d;
}

std::string utf8(const std::u16string& s) { return OdString(s).toUtf8(); }

// The outcome of trying an action: done, not possible yet (retried until
// the wait limit), or impossible.
struct Outcome {
  enum Kind { kDone, kNotYet, kFailed } kind = kDone;
  std::string reason;
};
Outcome done() { return {}; }
Outcome notYet(std::string why) { return {Outcome::kNotYet, std::move(why)}; }
Outcome failed(std::string why) { return {Outcome::kFailed, std::move(why)}; }

std::string dialogName(HWND dlg) {
  std::u16string caption = GetWindowTextString(dlg);
  return caption.empty() ? "untitled dialog" : "dialog \"" + utf8(caption) + "\"";
}

std::string controlName(int id, HWND ctl = nullptr) {
  std::string name = "control " + std::to_string(id);
  if (ctl) name += " (" + utf8(GetClassNameString(ctl)) + ")";
  return name;
}

// The control with that id anywhere in the dialog (tab pages and other
// child dialogs included), a visible one before a hidden one.
HWND findControl(HWND parent, int id) {
  HWND hidden = nullptr;
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (GetDlgCtrlID(c) == id) {
      if (IsWindowVisible(c)) return c;
      if (!hidden) hidden = c;
    }
    if (HWND inner = findControl(c, id)) {
      if (IsWindowVisible(inner)) return inner;
      if (!hidden) hidden = inner;
    }
  }
  return hidden;
}

bool takesInput(HWND h) {
  if (!IsWindowVisible(h)) return false;
  for (HWND a = h; a; a = (GetWindowLongPtrW(a, GWL_STYLE) & WS_CHILD) ? GetParent(a) : nullptr)
    if (!IsWindowEnabled(a)) return false;
  return true;
}

// A person's click at a point of the control: through the screen when the
// control is what lies there, else aimed at the control itself.
void clickAt(HWND ctl, POINT client, bool twice = false) {
  POINT screen = client;
  ClientToScreen(ctl, &screen);
  HWND hit = zrui::HitTest(screen);
  if (hit && (hit == ctl || IsChild(ctl, hit))) {
    for (int i = 0; i < (twice ? 2 : 1); ++i) {
      zrui::InputMousePress(screen, zrui::MouseButton::Left, {}, i == 1);
      zrui::Pump();
      zrui::InputMouseRelease(screen, zrui::MouseButton::Left);
      zrui::Pump();
    }
    return;
  }
  if (twice) zrui::DoubleClickAt(ctl, client);
  else zrui::ClickAt(ctl, client);
}

POINT centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// ---- actions ----
Outcome chooseInCombo(HWND ctl, const DialogAction& a) {
  int i = a.index;
  if (i < 0) {
    LRESULT found = SendMessageW(ctl, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                 reinterpret_cast<LPARAM>(a.text.c_str()));
    if (found == CB_ERR) return notYet(controlName(a.id, ctl) + " has no entry \"" + utf8(a.text) + "\"");
    i = static_cast<int>(found);
  }
  if (i >= SendMessageW(ctl, CB_GETCOUNT, 0, 0)) return notYet(controlName(a.id, ctl) + " has no entry " + std::to_string(i));
  zrui::ChooseComboItem(ctl, i);
  return done();
}

Outcome chooseInList(HWND ctl, const DialogAction& a) {
  int n = static_cast<int>(SendMessageW(ctl, LVM_GETITEMCOUNT, 0, 0));
  int i = a.index;
  if (i < 0) {
    for (int k = 0; k < n && i < 0; ++k)
      if (listRowText(ctl, k) == a.text) i = k;
    if (i < 0) return notYet(controlName(a.id, ctl) + " has no row \"" + utf8(a.text) + "\"");
  }
  if (i >= n) return notYet(controlName(a.id, ctl) + " has no row " + std::to_string(i));
  SendMessageW(ctl, LVM_ENSUREVISIBLE, static_cast<WPARAM>(i), FALSE);
  RECT r{};
  r.left = LVIR_LABEL;
  if (!SendMessageW(ctl, LVM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r)))
    return failed(controlName(a.id, ctl) + ": row " + std::to_string(i) + " cannot be reached");
  clickAt(ctl, POINT{r.left + 1, (r.top + r.bottom) / 2});
  return done();
}

// The colour picker's swatches: a click on the swatch of the index (given as
// a number or as its text).
Outcome chooseSwatch(HWND ctl, const DialogAction& a) {
  int i = a.index;
  if (i < 0) {
    const std::string text = utf8(a.text);
    if (text.empty() || text.size() > 3 || text.find_first_not_of("0123456789") != std::string::npos)
      return failed(controlName(a.id, ctl) + " has no colour \"" + text + "\"");
    i = std::stoi(text);
  }
  RECT r{};
  if (!SendMessageW(ctl, kSwatchGetItemRect, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r)))
    return failed(controlName(a.id, ctl) + " has no colour " + std::to_string(i));
  clickAt(ctl, centre(r));
  return done();
}

bool itemRect(HWND tree, HTREEITEM item, RECT* r) {
  SendMessageW(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
  *reinterpret_cast<HTREEITEM*>(r) = item;
  return SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(r)) != 0;
}

// Walks the path from the root; a folder on the way that is closed is
// selected and opened as a person would (click, then the Right key).
Outcome chooseInTree(HWND ctl, const DialogAction& a) {
  std::vector<std::u16string> parts(1);
  for (char16_t c : a.text) {
    if (c == u'/') parts.emplace_back();
    else parts.back() += c;
  }
  HTREEITEM parent = TVI_ROOT;
  std::u16string walked;
  for (size_t k = 0; k < parts.size(); ++k) {
    HTREEITEM found = nullptr;
    for (HTREEITEM c = treeNext(ctl, TVGN_CHILD, parent); c && !found; c = treeNext(ctl, TVGN_NEXT, c))
      if (treeItemText(ctl, c) == parts[k]) found = c;
    walked += (k ? u"/" : u"") + parts[k];
    if (!found) return notYet(controlName(a.id, ctl) + " has no item \"" + utf8(walked) + "\"");
    RECT r;
    if (!itemRect(ctl, found, &r)) return failed(controlName(a.id, ctl) + ": item \"" + utf8(walked) + "\" cannot be reached");
    bool last = k + 1 == parts.size();
    UINT state = static_cast<UINT>(SendMessageW(ctl, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(found), TVIS_EXPANDED));
    if (last || !(state & TVIS_EXPANDED)) {
      clickAt(ctl, POINT{r.left + 1, (r.top + r.bottom) / 2});
      if (!last && !(SendMessageW(ctl, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(found), TVIS_EXPANDED) & TVIS_EXPANDED)) {
        zrui::PressKey(VK_RIGHT);
      }
    }
    parent = found;
  }
  return done();
}

// The part of the screen that the windows shown cover, as text: nested
// dialogs and their boxes lie over their owners, as a person sees them.
Outcome writeSnapshot(const std::string& path) {
  const int kCellWidth = zrui::GetMetrics().cellWidth, kCellHeight = zrui::GetMetrics().cellHeight;
  RECT covered{};
  for (HWND h : zrui::TopLevelWindows()) {
    RECT r;
    GetWindowRect(h, &r);
    UnionRect(&covered, &covered, &r);
  }
  std::string text;
  if (!IsRectEmpty(&covered)) {
    POINT pan{covered.left / kCellWidth, covered.top / kCellHeight};
    int columns = (covered.right + kCellWidth - 1) / kCellWidth - pan.x;
    int rows = (covered.bottom + kCellHeight - 1) / kCellHeight - pan.y;
    text = zrui::RenderScreen(columns, rows, pan).utf8() + "\n";
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  if (!out) return failed("the snapshot cannot be written to " + path);
  return done();
}

Outcome apply(HWND dlg, const DialogAction& a) {
  using K = DialogAction::Kind;
  switch (a.kind) {
    case K::Key: {
      auto key = parseKeyName(a.text);
      if (!key) return failed("no key is named \"" + utf8(a.text) + "\"");
      if (!zrui::InputKeyDown(key->first, key->second)) return failed("no window has the focus");
      zrui::Pump();
      zrui::InputKeyUp(key->first, key->second);
      return done();
    }
    case K::Close:
      PostMessageW(dlg, WM_SYSCOMMAND, SC_CLOSE, 0);
      return done();
    case K::Snapshot: return writeSnapshot(a.path);
    case K::Picture: {
      const zrui::PictureStatus status = zrui::SaveScreenPng(a.path);
      if (!status) return failed("the picture cannot be written to " + a.path + ": " + status.error);
      return done();
    }
    default: break;
  }
  HWND ctl = findControl(dlg, a.id);
  if (!ctl) return failed("has no " + controlName(a.id));
  if (a.kind == K::Check) {
    std::optional<std::string> error = a.check(readControl(ctl, a.id));
    if (error) return failed(controlName(a.id, ctl) + ": " + *error);
    return done();
  }
  if (!IsWindowVisible(ctl)) return notYet(controlName(a.id, ctl) + " is hidden");
  if (!takesInput(ctl)) return notYet(controlName(a.id, ctl) + " is disabled");
  std::u16string cls = GetClassNameString(ctl);
  RECT client;
  GetClientRect(ctl, &client);
  switch (a.kind) {
    case K::Click: clickAt(ctl, centre(client)); return done();
    case K::Type: {
      clickAt(ctl, POINT{1, std::min<LONG>(client.bottom / 2, 6)});
      HWND f = GetFocus();
      if (!f || (f != ctl && !IsChild(ctl, f))) {
        SetFocus(ctl);
        zrui::Pump();
      }
      zrui::PressKey('A', zrui::Keys{false, true, false});  // Ctrl+A: all of the text
      zrui::Type(a.text);
      return done();
    }
    case K::Choose:
      if (cls == WC_COMBOBOXW) return chooseInCombo(ctl, a);
      if (cls == WC_LISTVIEWW) return chooseInList(ctl, a);
      if (cls == WC_TREEVIEWW) return chooseInTree(ctl, a);
      if (cls == kColourSwatchesClass) return chooseSwatch(ctl, a);
      return failed(controlName(a.id, ctl) + " has no entries to choose from");
    case K::Tab: {
      if (cls != WC_TABCONTROLW) return failed(controlName(a.id, ctl) + " is not a tab control");
      if (a.index < 0 || a.index >= SendMessageW(ctl, TCM_GETITEMCOUNT, 0, 0))
        return failed(controlName(a.id, ctl) + " has no tab " + std::to_string(a.index));
      RECT r;
      SendMessageW(ctl, TCM_GETITEMRECT, static_cast<WPARAM>(a.index), reinterpret_cast<LPARAM>(&r));
      clickAt(ctl, centre(r));
      return done();
    }
    case K::Cell: {
      if (cls != WC_LISTVIEWW) return failed(controlName(a.id, ctl) + " is not a list view");
      if (a.row < 0 || a.row >= SendMessageW(ctl, LVM_GETITEMCOUNT, 0, 0))
        return notYet(controlName(a.id, ctl) + " has no row " + std::to_string(a.row));
      SendMessageW(ctl, LVM_ENSUREVISIBLE, static_cast<WPARAM>(a.row), FALSE);
      RECT r{};
      r.top = a.column;
      r.left = LVIR_BOUNDS;
      if (!SendMessageW(ctl, LVM_GETSUBITEMRECT, static_cast<WPARAM>(a.row), reinterpret_cast<LPARAM>(&r)))
        return failed(controlName(a.id, ctl) + " has no cell (" + std::to_string(a.row) + ", " +
                      std::to_string(a.column) + ")");
      clickAt(ctl, centre(r));
      return done();
    }
    default: break;
  }
  return failed("cannot be applied");
}

// Ends the call's dialogs: this one now, the ones below it as their loops
// come back to the idle handler.
bool fail(HWND dlg, const std::string& reason, const std::string& written) {
  Driver& d = driver();
  if (!d.failure) d.failure = dialogName(dlg) + ": " + (written.empty() ? "" : written + ": ") + reason;
  d.queue.clear();
  EndDialog(dlg, IDCANCEL);
  return true;
}

bool onIdle(HWND dlg) {
  Driver& d = driver();
  Clock::time_point now = Clock::now();
  if (d.failure) {
    EndDialog(dlg, IDCANCEL);
    return true;
  }
  // A loop that had work in between starts its wait again.
  if (dlg != d.waiting || now - d.lastIdle > 4 * kRecheck) {
    d.waiting = dlg;
    d.waitingSince = now;
  }
  d.lastIdle = now;
  bool overdue = now - d.waitingSince >= d.limit;
  if (d.queue.empty()) {
    if (d.frontEnd || !overdue) return false;
    return fail(dlg, "was left waiting with no action queued (" + std::to_string(d.limit.count()) + " ms)", "");
  }
  // Taken off the queue before it runs: a dialog it opens (a box asking
  // back) uses the actions after it.
  DialogAction action = std::move(d.queue.front());
  d.queue.pop_front();
  Outcome o = apply(dlg, action);
  switch (o.kind) {
    case Outcome::kDone:
      d.waiting = nullptr;
      return true;
    case Outcome::kNotYet:
      if (!overdue) {
        d.queue.push_front(std::move(action));
        return false;
      }
      return fail(dlg, o.reason, action.written);
    case Outcome::kFailed: return fail(dlg, o.reason, action.written);
  }
  return false;
}

}  // namespace

void queueDialogAction(DialogAction action) { driver().queue.push_back(std::move(action)); }

std::vector<std::string> pendingDialogActions() {
  std::vector<std::string> out;
  for (const DialogAction& a : driver().queue) out.push_back(a.written);
  return out;
}

void clearDialogActions() { driver().queue.clear(); }

void installDialogDriver(std::chrono::milliseconds waitLimit) {
  Driver& d = driver();
  d.limit = waitLimit;
  d.installed = true;
  zrui::SetIdleHandler(onIdle, kRecheck);
  zrui::SetRealDialogPolicy(dialogsAnswerable);
}

void removeDialogDriver() {
  Driver& d = driver();
  if (!d.installed) return;
  d.installed = false;
  zrui::SetIdleHandler(nullptr);
  zrui::SetRealDialogPolicy(nullptr);
  d.queue.clear();
}

bool dialogsAnswerable() {
  const Driver& d = driver();
  return d.installed && (d.frontEnd || (!d.queue.empty() && !d.failure));
}

void setDialogFrontEndAttached(bool attached) { driver().frontEnd = attached; }

void beginDialogCall() {
  Driver& d = driver();
  d.failure.reset();
  d.waiting = nullptr;
}

std::optional<std::string> endDialogCall() { return std::exchange(driver().failure, std::nullopt); }

bool validKeyName(const std::u16string& name) { return parseKeyName(name).has_value(); }

}  // namespace zrhost

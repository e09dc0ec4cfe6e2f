// Patterns the module's dialogs rely on, driven as a user drives them: a
// minimum size defended in WM_SIZING, an in-place editor that is a child of
// a list view, and a tree folder whose placeholder child is replaced when it
// is first opened.
#include <cstring>
#include <map>

#include "ui_test_support.h"
#include "zrui/commctrl.h"
#include "zrui/testing.h"

using namespace zrui::test;
using namespace zrui::rc;

namespace {

// ---- WM_SIZING push-back ----
constexpr int kMinWidth = 280, kMinHeight = 200;

// Pushes the dragged edge back so that the window keeps its minimum size,
// moving only that edge, as the connectors screen does.
LRESULT CALLBACK MinSizeProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_SIZING) {
    auto* r = reinterpret_cast<RECT*>(l);
    bool left = w == WMSZ_LEFT || w == WMSZ_TOPLEFT || w == WMSZ_BOTTOMLEFT;
    bool top = w == WMSZ_TOP || w == WMSZ_TOPLEFT || w == WMSZ_TOPRIGHT;
    if (r->right - r->left < kMinWidth) {
      if (left) r->left = r->right - kMinWidth;
      else r->right = r->left + kMinWidth;
    }
    if (r->bottom - r->top < kMinHeight) {
      if (top) r->top = r->bottom - kMinHeight;
      else r->bottom = r->top + kMinHeight;
    }
    return TRUE;
  }
  return DefWindowProcW(h, msg, w, l);
}

HWND MakeResizable() {
  static bool registered = [] {
    WNDCLASSW wc;
    wc.lpfnWndProc = MinSizeProc;
    wc.lpszClassName = u"ZrMinSize";
    return RegisterClassW(&wc) != 0;
  }();
  (void)registered;
  return CreateWindowExW(0, u"ZrMinSize", u"Sized", WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_VISIBLE, 100, 100, 400,
                         300, nullptr, nullptr, nullptr, nullptr);
}

TEST(SizingPushBack, TheDraggedEdgeStopsAtTheMinimumAndTheOppositeEdgeStays) {
  struct Case {
    UINT edge;
    int width, height;
    RECT expected;
  };
  const Case cases[] = {
      {WMSZ_BOTTOMRIGHT, 50, 40, RECT{100, 100, 100 + kMinWidth, 100 + kMinHeight}},
      {WMSZ_LEFT, 10, 300, RECT{500 - kMinWidth, 100, 500, 400}},
      {WMSZ_TOP, 400, 10, RECT{100, 400 - kMinHeight, 500, 400}},
      {WMSZ_TOPLEFT, 20, 20, RECT{500 - kMinWidth, 400 - kMinHeight, 500, 400}},
      {WMSZ_RIGHT, 600, 300, RECT{100, 100, 700, 400}},  // growing is not pushed back
  };
  for (const Case& c : cases) {
    HWND h = MakeResizable();
    ASSERT_TRUE(zrui::DragResize(h, c.edge, c.width, c.height));
    RECT r;
    GetWindowRect(h, &r);
    EXPECT_TRUE(EqualRect(&r, &c.expected)) << "edge " << c.edge << ": " << r.left << "," << r.top << "," << r.right
                                            << "," << r.bottom;
    DestroyWindow(h);
  }
}

// The same push-back when a person drags the frame with the mouse: a press
// on an edge or corner, moves with the button held, the release.
TEST(SizingPushBack, DraggingTheFrameWithTheMouseResizesWithinTheMinimum) {
  struct Case {
    const char* what;
    POINT press;             // on the frame of the window at 100,100 400 x 300
    std::vector<POINT> moves;
    RECT expected;
  };
  const Case cases[] = {
      {"bottom-right corner, shrunk too far", {499, 399}, {{450, 350}, {150, 120}}, RECT{100, 100, 100 + kMinWidth, 100 + kMinHeight}},
      {"bottom-right corner, grown", {499, 399}, {{560, 420}, {600, 450}}, RECT{100, 100, 601, 451}},
      {"left edge, pushed back", {101, 250}, {{300, 250}, {480, 260}}, RECT{500 - kMinWidth, 100, 500, 400}},
      {"bottom edge: the width stays", {300, 399}, {{350, 250}}, RECT{100, 100, 500, 100 + kMinHeight}},
      {"the caption does not size", {300, 101}, {{300, 300}}, RECT{100, 100, 500, 400}},
      {"inside the client area nothing sizes", {300, 250}, {{450, 350}}, RECT{100, 100, 500, 400}},
  };
  for (const Case& c : cases) {
    HWND h = MakeResizable();
    zrui::InputMousePress(c.press, zrui::MouseButton::Left);
    zrui::Pump();
    for (POINT p : c.moves) {
      zrui::InputMouseMove(p);
      zrui::Pump();
    }
    zrui::InputMouseRelease(c.moves.back(), zrui::MouseButton::Left);
    zrui::Pump();
    RECT r;
    GetWindowRect(h, &r);
    EXPECT_TRUE(EqualRect(&r, &c.expected)) << c.what << ": " << r.left << "," << r.top << "," << r.right << ","
                                            << r.bottom;
    EXPECT_EQ(GetCapture(), nullptr) << c.what << ": the release ends the drag";
    // Moves after the release size nothing.
    zrui::InputMouseMove(POINT{120, 120});
    zrui::Pump();
    RECT after;
    GetWindowRect(h, &after);
    EXPECT_TRUE(EqualRect(&after, &r)) << c.what;
    DestroyWindow(h);
  }
}

// ---- an in-place editor child of a list view ----
constexpr int kList = 40, kEditor = 41, kOther = 42;

struct FocusLog {
  std::vector<std::pair<std::string, UINT>> events;  // (window, WM_SETFOCUS / WM_KILLFOCUS)
  std::map<HWND, std::pair<std::string, WNDPROC>> watched;
};
FocusLog* g_focus = nullptr;

LRESULT CALLBACK WatchFocus(HWND h, UINT msg, WPARAM w, LPARAM l) {
  auto it = g_focus->watched.find(h);
  WNDPROC next = it->second.second;
  if (msg == WM_SETFOCUS || msg == WM_KILLFOCUS) g_focus->events.push_back({it->second.first, msg});
  // The editor ends itself when it loses the focus, as the property list's
  // editors do; it is gone before the new focus hears of it.
  if (msg == WM_KILLFOCUS && it->second.first == "editor") {
    LRESULT r = CallWindowProcW(next, h, msg, w, l);
    DestroyWindow(h);
    return r;
  }
  if (msg == WM_NCDESTROY) {
    g_focus->watched.erase(it);
    return CallWindowProcW(next, h, msg, w, l);
  }
  return CallWindowProcW(next, h, msg, w, l);
}

void Watch(HWND h, const std::string& name) {
  WNDPROC old = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(h, GWLP_WNDPROC));
  g_focus->watched[h] = {name, old};
  SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WatchFocus));
}

// A click on a cell of the second column opens an edit over it, a child of
// the list view with its own id, which takes the focus.
INT_PTR CALLBACK EditorDialog(HWND h, UINT msg, WPARAM, LPARAM l) {
  if (msg == WM_INITDIALOG) {
    HWND list = GetDlgItem(h, kList);
    for (int c = 0; c < 2; ++c) AddListColumn(list, c, 70);
    for (int i = 0; i < 3; ++i) AddListRow(list, i, u"row" + std::u16string(1, static_cast<char16_t>(u'0' + i)));
    Watch(list, "list");
    Watch(GetDlgItem(h, kOther), "other");
    return TRUE;
  }
  if (msg == WM_NOTIFY) {
    auto* nm = reinterpret_cast<NMHDR*>(l);
    if (nm->idFrom == kList && nm->code == NM_CLICK) {
      auto* act = reinterpret_cast<NMITEMACTIVATE*>(l);
      if (act->iItem < 0 || act->iSubItem != 1) return FALSE;
      RECT r{};
      r.top = 1;
      r.left = LVIR_BOUNDS;
      SendMessageW(nm->hwndFrom, LVM_GETSUBITEMRECT, static_cast<WPARAM>(act->iItem), reinterpret_cast<LPARAM>(&r));
      HWND editor = CreateWindowExW(0, WC_EDITW, u"old", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, r.left, r.top,
                                    r.right - r.left, r.bottom - r.top, nm->hwndFrom,
                                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kEditor)), nullptr, nullptr);
      Watch(editor, "editor");
      SetFocus(editor);
    }
  }
  return FALSE;
}

TEST(InPlaceEditor, TheListLosesTheFocusToItsEditorWhichEndsBeforeTheNextControlGetsIt) {
  FocusLog log;
  g_focus = &log;
  DialogTemplate t;
  t.caption = u"Properties";
  t.cx = 120;
  t.cy = 90;
  t.items = {CONTROL(u"", kList, WC_LISTVIEWW, LVS_REPORT | LVS_NOCOLUMNHEADER | WS_BORDER | WS_TABSTOP, 5, 5, 100, 50),
             EDITTEXT(kOther, 5, 60, 60, 12), DEFPUSHBUTTON(u"OK", IDOK, 70, 60, 40, 14)};
  HWND editorSeen = nullptr;
  bool editorGoneAfter = false;
  std::vector<std::pair<std::string, UINT>> seen;
  zrui::OnNextModal([&](HWND dlg) {
    // Focus starts in the list (first Tab stop).
    log.events.clear();
    HWND list = GetDlgItem(dlg, kList);
    RECT cell{};
    cell.top = 1;
    cell.left = LVIR_BOUNDS;
    SendMessageW(list, LVM_GETSUBITEMRECT, 1, reinterpret_cast<LPARAM>(&cell));
    POINT p{(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2};
    ClientToScreen(list, &p);
    zrui::InputMousePress(p, zrui::MouseButton::Left);
    zrui::InputMouseRelease(p, zrui::MouseButton::Left);
    zrui::Pump();
    editorSeen = GetFocus();
    EXPECT_EQ(GetDlgCtrlID(editorSeen), kEditor);
    EXPECT_EQ(GetParent(editorSeen), list);
    // A click elsewhere ends the editor.
    zrui::Click(GetDlgItem(dlg, kOther));
    editorGoneAfter = !IsWindow(editorSeen);
    seen = log.events;
    EndDialog(dlg, IDCANCEL);
  });
  DialogBoxIndirectParamW(nullptr, &t, nullptr, EditorDialog, 0);
  g_focus = nullptr;
  EXPECT_TRUE(editorGoneAfter);
  std::vector<std::pair<std::string, UINT>> expected{
      {"list", WM_KILLFOCUS}, {"editor", WM_SETFOCUS}, {"editor", WM_KILLFOCUS}, {"other", WM_SETFOCUS}};
  EXPECT_EQ(seen, expected);
}

// ---- a tree folder with a placeholder child ----
struct Expansions {
  int filled = 0;
  int notices = 0;
};

std::vector<std::u16string> Children(HWND tree, HTREEITEM parent) {
  std::vector<std::u16string> out;
  for (auto c = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(parent)));
       c; c = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(c))))
    out.push_back(TreeItemText(tree, c));
  return out;
}

INT_PTR CALLBACK PlaceholderDialog(HWND h, UINT msg, WPARAM, LPARAM l) {
  auto* counts = reinterpret_cast<Expansions*>(GetWindowLongPtrW(h, DWLP_USER));
  if (msg == WM_INITDIALOG) {
    SetWindowLongPtrW(h, DWLP_USER, l);
    HWND tree = GetDlgItem(h, 50);
    HTREEITEM folder = AddTreeItem(tree, TVI_ROOT, u"Connectors");
    AddTreeItem(tree, folder, u"(placeholder)");
    return TRUE;
  }
  if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(l)->code == TVN_ITEMEXPANDINGW) {
    auto* nm = reinterpret_cast<NMTREEVIEWW*>(l);
    ++counts->notices;
    HWND tree = nm->hdr.hwndFrom;
    auto first = reinterpret_cast<HTREEITEM>(
        SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(nm->itemNew.hItem)));
    if (nm->action == TVE_EXPAND && first && TreeItemText(tree, first) == u"(placeholder)") {
      SendMessageW(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(first));
      AddTreeItem(tree, nm->itemNew.hItem, u"AM04M");
      AddTreeItem(tree, nm->itemNew.hItem, u"AM04F");
      ++counts->filled;
    }
  }
  return FALSE;
}

TEST(TreePlaceholder, TheFolderIsFilledOnItsFirstOpeningOnlyWhateverOpensIt) {
  DialogTemplate t;
  t.caption = u"Tree";
  t.cx = 120;
  t.cy = 90;
  t.items = {CONTROL(u"", 50, WC_TREEVIEWW, TVS_HASBUTTONS | TVS_LINESATROOT | WS_BORDER | WS_TABSTOP, 5, 5, 100, 70)};
  Expansions counts;
  std::vector<std::u16string> afterFirst, afterSecond;
  zrui::OnNextModal([&](HWND dlg) {
    HWND tree = GetDlgItem(dlg, 50);
    auto folder = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    EXPECT_EQ(Children(tree, folder), std::vector<std::u16string>{u"(placeholder)"});
    // Opened with the keyboard: select it, Right.
    RECT r{};
    std::memcpy(static_cast<void*>(&r), &folder, sizeof folder);  // the item goes in, as TVM_GETITEMRECT takes it
    SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r));
    zrui::ClickAt(tree, POINT{r.left + 1, r.top + 1});
    zrui::PressKey(VK_RIGHT);
    afterFirst = Children(tree, folder);
    // Closed and opened again, by a double click.
    zrui::PressKey(VK_LEFT);
    zrui::DoubleClickAt(tree, POINT{r.left + 1, r.top + 1});
    afterSecond = Children(tree, folder);
    EndDialog(dlg, IDOK);
  });
  DialogBoxIndirectParamW(nullptr, &t, nullptr, PlaceholderDialog, reinterpret_cast<LPARAM>(&counts));
  std::vector<std::u16string> expected{u"AM04M", u"AM04F"};
  EXPECT_EQ(afterFirst, expected);
  EXPECT_EQ(afterSecond, expected);
  EXPECT_EQ(counts.filled, 1);
  EXPECT_GE(counts.notices, 2);
}

}  // namespace

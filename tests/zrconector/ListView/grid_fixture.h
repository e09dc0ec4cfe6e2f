// A fixture with the sample grid dialog created modeless and shown, driven
// through the toolkit's simulated input.
#pragma once

#include <gtest/gtest.h>

#include <zrui/afx.h>

#include <memory>

#include "grid_dialog.h"

namespace listview_test {

class GridTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dlg = std::make_unique<GridDialog>();
    ASSERT_TRUE(dlg->CreateIndirect(dlg->m_lpDialogTemplate));
    dlg->ShowWindow(SW_SHOW);
    zrui::Pump();
  }
  void TearDown() override { dlg.reset(); }

  ListView::CIListViewEdit& grid() { return dlg->grid; }
  // Takes the focus away from an open editor as a user would: a click on
  // the dialog's other button.
  void ClickElsewhere() { zrui::Click(::GetDlgItem(dlg->m_hWnd, IDC_OUTRO)); }
  CString EditorText() const {
    CString t;
    CWnd::FromHandle(dlg->Editor())->GetWindowText(t);
    return t;
  }
  // The rendered character of a grid cell's first letter.
  const zrui::TextCell& Rendered(const zrui::TextGrid& g, int row, int col) {
    CRect r;
    grid().GetSubItemRect(row, col, LVIR_LABEL, r);
    CPoint p(r.left + 1, (r.top + r.bottom) / 2);
    grid().ClientToScreen(&p);
    CRect d;
    dlg->GetWindowRect(&d);
    return g.at((p.x - d.left) / kCharWidth, (p.y - d.top) / kCharHeight);
  }

  std::unique_ptr<GridDialog> dlg;
};

}  // namespace listview_test

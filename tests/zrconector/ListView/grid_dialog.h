// A dialog holding a property grid, as an owner would: it fills the rows,
// counts the grid's notifications, and lets tests click cells and find the
// open editor.
#pragma once

#include <zrui/afx.h>
#include <zrui/afx/coll.h>

#include <memory>
#include <vector>

#include "controls/ListView/CIListViewEdit.h"

namespace listview_test {

constexpr int IDC_GRADE = 1001;
constexpr int IDC_OUTRO = 1002;  // a button that takes the focus away
constexpr int kIdTexto = 1021;
constexpr int kIdLista = 1020;
constexpr int kIdBotao = 1022;

// Rows of the sample grid (column 1 holds the property, column 2 a note).
enum Linha { rNome, rNumero, rTipo, rDesenho, rCor, rCodigo, rFixo, rVazio, kLinhas };

// Writes a PNG of the screen to docs/pictures/`name` when the snapshots are
// being updated (ZR_UPDATE_SNAPSHOTS=1); false when that failed.
bool KeepScreenPicture(const char* name);

class GridDialog : public CDialog {
 public:
  GridDialog();
  // The window goes first: an editor open in the grid reports to this
  // dialog while it closes.
  ~GridDialog() override;
  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM w, LPARAM l) override;
  // Counts the dialog's own OK and Cancel (Enter and Escape when nothing
  // else took them) before ending as usual.
  void OnOK() override;
  void OnCancel() override;

  // Centre of a cell's label, in grid client coordinates.
  CPoint CellPoint(int row, int col);
  // A user's click on a cell (with Ctrl when asked).
  bool ClickCell(int row, int col, bool control = false);
  // The open editor window (text-like or list), or null.
  HWND Editor() const;
  HWND Button() const;
  CString Text(int row, int col) { return grid.GetItemText(row, col); }

  ListView::CIListViewEdit grid;
  int begins = 0;
  int ends = 0;
  int selChanges = 0;
  int oks = 0;
  int cancels = 0;
  std::vector<WPARAM> commandWParams;
  std::vector<LPARAM> commandLParams;

 protected:
  void OnBegin();
  void OnEnd();
  void OnSelChange();
  DECLARE_MESSAGE_MAP()
};

}  // namespace listview_test

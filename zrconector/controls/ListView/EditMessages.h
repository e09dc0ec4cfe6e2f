// The registered window messages of the property list and the heap records
// its editors send with them.
//
// The numbers exist only after RegisterMessages(), which the module calls
// when it is loaded; before that every number is 0 and no message map entry
// that names one can match.
#pragma once

#include <cstdint>

#include <zrui/afx.h>

namespace ListView {

// Sent by the editors to the grid (SendMessage, lParam = a record below).
extern UINT WM_EDIT_ENDEDIT;      // text editor: TextResult
extern UINT WM_COMBO_ENDEDIT;     // list and editable-list editors: IndexResult
extern UINT WM_COMBO_SELCHANGE;   // list editor, list still open: IndexResult
extern UINT WM_COLOR_ENDEDIT;     // colour editor: TextResult
extern UINT WM_FINDFILE_ENDEDIT;  // file editor: TextResult
// Sent by the grid to its parent as WM_COMMAND notification codes (the low
// 16 bits of the number), with the grid's id and window.
extern UINT WM_LIST_PROPRIEDADE_BEGINEDIT;
extern UINT WM_LIST_PROPRIEDADE_ENDEDIT;
extern UINT WM_LIST_PROPRIEDADE_SELCHANGE;

// Registers the eight messages by their names. Idempotent: the registry
// gives the same number for the same name.
void RegisterMessages();

// The editor allocates a record with new (nothrow: a failed allocation sends
// null) and the receiver deletes it. A receiver that is not the grid owns
// the record it is given.
struct TextResult {
  int32_t row;
  int32_t column;
  CString text;
};

struct IndexResult {
  int32_t row;
  int32_t column;
  int32_t index;
};

}  // namespace ListView

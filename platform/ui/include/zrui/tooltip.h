// The HTML tooltip: a small popup window, owned by a dialog, that shows one
// text at a screen point until it is hidden or shown again. The text may use
// a small HTML subset: <b>, <i>, <br> and the entities &lt; &gt; &amp;
// &quot; &nbsp;; other tags are dropped. The text renderer shows it plain.
#pragma once

#include <string>
#include <vector>

#include "zrui/afx/cwnd.h"
#include "zrui/htmltext.h"

class CHtmlToolTip : public CWnd {
 public:
  // Creates the (hidden) tooltip window for a dialog; it is destroyed with
  // the dialog or with this object.
  BOOL Create(CWnd* dialog);
  // Shows `html` with its top-left corner at a screen point; replaces any
  // text shown before. Where ours differs: a point over a control of the
  // dialog shows the tip just below that control (above it when there is
  // no room below), at the point's column, and the tip is kept inside the
  // screen; it never covers the control it speaks of.
  void Show(LPCTSTR html, POINT screen);
  void Hide();
  bool IsShown() const;
  // The HTML last shown, and the same without markup.
  CString GetHtml() const;
  CString GetPlainText() const;
};

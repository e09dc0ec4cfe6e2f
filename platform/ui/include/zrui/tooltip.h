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
  // dialog shows the tip just below that control, and below its list while
  // it is a combo box with the list dropped (above the control when there
  // is no room below), at the point's column; it never covers the control
  // it speaks of. A tip that fits inside the dialog moves left as far as it
  // must to stay inside it, and one wider starts at the dialog's left edge;
  // every tip is kept inside the screen.
  void Show(LPCTSTR html, POINT screen);
  void Hide();
  // Shows the text again at the point last asked for, when the tip is shown:
  // after what lies there changed (a combo box's list dropped or closed).
  void ShowAgain();
  // The same once the messages posted so far are handled: for a change under
  // way (a combo box says that its list drops before it does).
  void ShowAgainSoon();
  bool IsShown() const;
  // The HTML last shown, and the same without markup.
  CString GetHtml() const;
  CString GetPlainText() const;

 protected:
  afx_msg LRESULT OnShowAgain(WPARAM, LPARAM);
  DECLARE_MESSAGE_MAP()

 private:
  POINT asked_{};  // the point of the last Show
};

#pragma once
// SelectionOwner: what a page of the selection dialog uses of the dialog that
// holds it — the window the page is a child of, the sources it reads, the
// lists and records the dialog was opened with, and ending the dialog. The
// pages know their dialog only through this.

#include "catalog/SelectionCatalogue.h"
#include "drawing/CEPino.h"
#include "zrui/afx.h"

class SelectionOwner {
 public:
  // The window the pages are children of.
  virtual CWnd* Window() = 0;
  // Where the pages read the drawing, the catalogue, the host and the texts.
  virtual zr::SelectionCatalogue& Sources() = 0;
  // The accepted pin codes (never empty).
  virtual const CStringList& AcceptedPins() const = 0;
  // The connector codes that may receive the pin; null: any.
  virtual const CStringList* MatingCodes() const = 0;
  // The drawing's connector instances, from the pin check run when the
  // dialog was made.
  virtual const zr::ConectoresPinos& Connectors() const = 0;
  // Ends the dialog with `result`, at once or, while a fill runs, when it ends.
  virtual void End(int result) = 0;
  // Called by the creation page when its worker has ended.
  virtual void FillEnded() = 0;

 protected:
  ~SelectionOwner() = default;
};

// The pages' layout when the dialog is resized: grows a control of `page`,
// or moves it, by (dx, dy). Nothing for a control without a window.
void GrowControl(CWnd* page, CWnd& control, int dx, int dy);
void MoveControl(CWnd* page, CWnd& control, int dx, int dy);

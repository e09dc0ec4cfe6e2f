#include "terminal_front_end.h"

#ifdef ZRHOST_HAVE_ZRTERM

#include <cstdlib>
#include <memory>

#include "dialog_driver.h"
#include "scheme_guard.h"
#include "zrui/input.h"
#include "zrterm/dialog_front_end.h"
#include "zrterm/terminal_session.h"

namespace zrhost {

namespace {
std::unique_ptr<zrterm::DialogFrontEnd> frontEnd;

void giveTerminalBack() {
  if (frontEnd) frontEnd->release();
}

// A window shows: the front end has the terminal (or takes it at the next
// repaint), and what Scheme writes would land on the dialogs' screen.
bool dialogsShowing() { return !zrui::TopLevelWindows().empty(); }
}  // namespace

bool attachTerminalFrontEnd() {
  // ZRHOST_NO_TERMINAL keeps dialogs headless on a terminal too.
  const char* off = std::getenv("ZRHOST_NO_TERMINAL");
  if ((off && *off) || !zrterm::TerminalSession::available() || frontEnd) return false;
  frontEnd = std::make_unique<zrterm::DialogFrontEnd>(requestInterrupt);
  setReturnToSchemeHook(giveTerminalBack);
  setHoldOutputDuringCalls(dialogsShowing);
  setDialogFrontEndAttached(true);
  return true;
}

void detachTerminalFrontEnd() {
  if (!frontEnd) return;
  setDialogFrontEndAttached(false);
  setReturnToSchemeHook(nullptr);
  setHoldOutputDuringCalls(nullptr);
  frontEnd.reset();
}

}  // namespace zrhost

#else

namespace zrhost {
bool attachTerminalFrontEnd() { return false; }
void detachTerminalFrontEnd() {}
}  // namespace zrhost

#endif

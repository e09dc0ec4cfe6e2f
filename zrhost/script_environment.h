#pragma once
// The host's script environment for the module, over the Scheme globals of
// the module (guile-user):
// - Invoke runs the global procedure of that name with the call's values and
//   turns its result into a chain ('() and #f: an RTNIL node; the unspecified
//   value: no chain);
// - GetVariable reads the global of that exact name as a one-item chain (so a
//   number or a list gives no string);
// - ColorDialog asks the Scheme procedure "colour-dialog" when defined, else
//   shows the colour picker (colour_picker.h) when a person at the terminal
//   or queued actions answer it, else prints it ("[Colour]", the initial
//   index, "-> Cancel") and answers "not confirmed".
// Errors of the Scheme code are printed and answered with RTERROR.
//
// REQUIRES: the calling thread is in Guile mode.

#include <libguile.h>

#include "zrfx/FxFunctionInterface.h"

namespace zrhost {

class GuileScriptEnvironment : public FxScriptEnvironment {
 public:
  GuileScriptEnvironment();

  int Invoke(const OdString& name, const resbuf* args, resbuf** result) override;
  int GetVariable(const OdString& name, resbuf** result) override;
  int ColorDialog(int initial, int* chosen) override;
  // Writes "zrhost: TEXT" on standard error, where a log or the person at the
  // console sees it beside the boxes (whose texts stay as the module sets them).
  void PrintMessage(const OdString& text) override;

 private:
  // The bound value of a global, or SCM_UNDEFINED.
  SCM global(const OdString& name) const;
  // The picker, when someone can answer it.
  int pickColour(int initial, int* chosen) const;

  SCM module_;
};

}  // namespace zrhost

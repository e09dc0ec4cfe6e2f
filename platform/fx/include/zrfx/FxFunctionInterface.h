#pragma once
// A document's function interface: the functions registered with the document,
// the argument and result of the function call that runs, calls back into the
// host's script environment, host variables, and the colour dialog.

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "zrfx/FxResBuf.h"

// A command function: no parameters; it reads its arguments and sets its
// result through the interface, and returns 1 to the host.
typedef int (*FxFunctionHandler)();

class FxScriptEnvironment;

class CFxFunctionInterface {
 public:
  // ---- Operations used by modules, in the order of the host's table.

  // Afterwards a call of that name in this document runs the handler.
  void AddFunction(const OdChar* name, FxFunctionHandler handler);
  // The name is no longer callable in this document.
  void RemoveFunction(const OdChar* name);
  // First node of the running call's argument chain, or null when there are
  // none. The chain belongs to the caller until handed to ReleaseChain.
  resbuf* GetArguments();
  void ReturnNil();
  void ReturnVoid();
  void ReturnEntityName(const ads_name name);
  // The running call yields a list of the chain's values, in order; the chain
  // is copied here, so it may live in the caller's own storage.
  void ReturnList(const resbuf* chain);
  // Calls a host-side function: the chain's first value is its name, the
  // others its arguments. RTNORM when it ran; *result then holds its result
  // chain (or null), which the caller releases with ReleaseChain.
  int InvokeFunction(const resbuf* call, resbuf** result);
  // A host variable: RTNORM when found; *result then holds a chain whose first
  // node carries the value, released by the caller.
  int GetVariable(const OdChar* name, resbuf** result);
  void ReleaseChain(resbuf* chain);
  // Lets the user pick a colour index (0..256) starting from initial; RTNORM
  // when confirmed, with the index written to *chosen.
  int ColorDialog(void* control, int initial, int flags, int* chosen);
  // Writes one line of text on the host's command line (the place where the
  // user types commands and reads their messages), as a host's print
  // function does. Nothing is written when the host keeps no command line.
  void PrintMessage(const OdChar* text);

  // ---- Host side.

  // What a call of a registered function yielded.
  struct CallResult {
    enum Kind { kNone, kNil, kVoid, kEntityName, kList } kind = kNone;
    uint32_t entity[2] = {0, 0};
    resbuf* list = nullptr;  // owned; release with fxReleaseChain
  };

  bool HasFunction(const OdString& name) const;
  // The registered names, in the order they were added.
  std::vector<OdString> FunctionNames() const;
  // Runs a registered function with the given arguments (copied). Throws
  // std::out_of_range when no function of that name is registered.
  CallResult CallFunction(const OdString& name, const resbuf* args);

  explicit CFxFunctionInterface(FxScriptEnvironment** environment) : environment_(environment) {}
  ~CFxFunctionInterface();

 private:
  void clearResult();
  FxScriptEnvironment** environment_;  // the kernel's current environment
  std::vector<std::pair<std::u16string, FxFunctionHandler>> functions_;  // in order of addition
  FxFunctionHandler find(const std::u16string& name) const;
  resbuf* arguments_ = nullptr;  // of the running call, until taken
  CallResult result_;
};

// What the host program provides for scripts: functions of the suite, its
// variables and the colour picker. Each method answers RTNORM or another status.
class FxScriptEnvironment {
 public:
  virtual ~FxScriptEnvironment() = default;
  // Runs the host-side function `name` with args; on RTNORM *result is a chain
  // made with fxNewNode/fxNewString (or null).
  virtual int Invoke(const OdString& name, const resbuf* args, resbuf** result) = 0;
  // On RTNORM *result is a one-node chain with the value.
  virtual int GetVariable(const OdString& name, resbuf** result) = 0;
  virtual int ColorDialog(int initial, int* chosen) = 0;
  // One line for the host's command line; a host without one ignores it.
  virtual void PrintMessage(const OdString& text) { (void)text; }
};

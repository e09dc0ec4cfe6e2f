#pragma once
// What the seven command functions have in common: they open the catalogue
// connection on first use (again after an opening that failed), run their own
// steps, and turn any failure into their failure result and a message box
// (the error's description for drawing errors, "Fatal Error" for anything
// else). Every function returns 1 to the host.

#include <functional>

#include "zrfx/FxFunctionInterface.h"

namespace zr {

enum class FailureResult { kVoid, kNil };

// Runs steps inside the frame with the active document's function interface.
int RunCommand(FailureResult failure, const std::function<void(CFxFunctionInterface&)>& steps);

// Whether the catalogue connection was opened by an earlier call (process-wide).
bool ConnectionOpened();
// For tests: forget that the connection was opened.
void ResetConnectionOpenedForTesting();

// The argument chain of the running call, released when it goes out of scope.
class Arguments {
 public:
  explicit Arguments(CFxFunctionInterface& functions) : m_functions(functions), m_chain(functions.GetArguments()) {}
  ~Arguments() {
    if (m_chain) m_functions.ReleaseChain(m_chain);
  }
  Arguments(const Arguments&) = delete;
  Arguments& operator=(const Arguments&) = delete;
  const resbuf* first() const { return m_chain; }
  // The first value when it is a string, else null (wrong types count as missing).
  const OdChar* firstString() const {
    return m_chain && m_chain->restype == RTSTR ? m_chain->resval.rstring : nullptr;
  }

 private:
  CFxFunctionInterface& m_functions;
  resbuf* m_chain;
};

}  // namespace zr

#pragma once
// The one way C++ code meets Scheme errors in both directions.
//
// Guile errors unwind with a non-local jump that skips C++ destructors, so:
// - a procedure written in C++ runs its body inside a lambda under try/catch
//   (schemeGuard); a failure becomes plain data (an error key and a message),
//   the C++ frames are left, and only then is the Scheme error raised;
// - C++ code that calls Scheme (schemeApply) catches every Scheme error at the
//   call, so none ever unwinds through C++ frames (the module's, for instance).

#include <libguile.h>

#include <stdexcept>
#include <string>

namespace zrhost {

// A failure in a C++ body that should reach Scheme under the given error key
// (a symbol name such as "wrong-type-arg" or "drawing-error").
class SchemeFailure : public std::runtime_error {
 public:
  SchemeFailure(const char* key, const std::string& message) : std::runtime_error(message), key_(key) {}
  const char* key() const { return key_; }

 private:
  const char* key_;
};

// Raises a Scheme error from subr with the message. Call it only from a frame
// that holds no C++ object with a destructor.
[[noreturn]] void raiseSchemeError(const char* subr, SCM key, SCM message);

// Turns the exception being handled into an error key and message.
void describeCurrentException(SCM* key, SCM* message);

// Interrupts (Ctrl-C at the console). Scheme's interrupt handler throws the
// key zrhost-interrupt wherever Scheme code runs; a throw must never cross a
// C++ frame, so while a C++ body of a procedure runs (a host frame) Scheme
// interrupts are held back, and an interrupt that happens inside a frame (in
// Scheme code that the module called, or noted by a front end) is raised
// when the outermost frame has returned, with no C++ object alive.
//
// Enters a host frame: Scheme interrupts are held until the matching leave.
void enterHostFrame();
// Leaves it. At the outermost frame this raises an interrupt that arrived
// meanwhile: call it only from a frame that holds no C++ object with a
// destructor.
void leaveHostFrame();
// True while some host frame runs.
bool insideHostFrame();
// Notes an interrupt to raise when the outermost host frame is left (a front
// end calls this for Ctrl-C in a dialog). Safe from any thread.
void requestInterrupt();
// The symbol that Scheme's interrupt throws.
SCM interruptKey();
// Runs whenever the outermost host frame is left, control going back to
// Scheme (the terminal front end gives the console its terminal back).
void setReturnToSchemeHook(void (*hook)());

// While a front end shows the module's dialogs on the terminal, what Scheme
// code called by the module writes ("atualizarMacros" reporting the changed
// symbols) would go to the dialogs' screen and be lost with it. With holding
// on (while `showing` says dialogs show), that text is kept (holdOutput) and
// printed on standard output when control returns to Scheme, after the
// terminal was given back. Null turns holding off.
void setHoldOutputDuringCalls(bool (*showing)());
bool holdingOutputDuringCalls();
void holdOutput(const std::string& text);

// Runs body (which returns SCM) for the Scheme procedure subr, inside a host
// frame. C++ exceptions thrown by body become Scheme errors: SchemeFailure
// with its key, OdError as drawing-error, anything else as host-error.
template <typename Body>
SCM schemeGuard(const char* subr, Body&& body) {
  SCM key = SCM_BOOL_F;
  SCM message = SCM_BOOL_F;
  SCM result = SCM_BOOL_F;
  bool done = false;
  enterHostFrame();
  try {
    result = body();
    done = true;
  } catch (...) {
    describeCurrentException(&key, &message);
  }
  leaveHostFrame();  // may unwind with an interrupt
  if (done) return result;
  raiseSchemeError(subr, key, message);
}

// Applies proc to the argument list, catching every Scheme error: on success
// stores the result and returns true; on an error prints it (prefixed with
// context) on the error port and returns false. A Scheme (exit) inside is
// reported the same way: it cannot leave through C++ frames. Inside a host
// frame, proc may be interrupted: that returns false without a message and
// the interrupt is raised when the frame is left.
bool schemeApply(SCM proc, SCM args, SCM* result, const std::string& context);

// Prints a caught error (key and arguments, as catch hands them) on the
// current error port after "zrhost: <context>: ".
void printSchemeError(const std::string& context, SCM key, SCM args);

// The thread that runs Scheme (set once at start). Code that the module may
// reach from another thread checks it before touching Scheme.
void markSchemeThread();
bool onSchemeThread();

// Flushes Guile's output and error ports so that text written by C++ through
// stdio appears after what Scheme wrote before it. Does nothing off the
// Scheme thread.
void flushSchemePorts();

}  // namespace zrhost

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

// Runs body (which returns SCM) for the Scheme procedure subr. C++ exceptions
// thrown by body become Scheme errors: SchemeFailure with its key, OdError as
// drawing-error, anything else as host-error.
template <typename Body>
SCM schemeGuard(const char* subr, Body&& body) {
  SCM key = SCM_BOOL_F;
  SCM message = SCM_BOOL_F;
  try {
    return body();
  } catch (...) {
    describeCurrentException(&key, &message);
  }
  raiseSchemeError(subr, key, message);
}

// Applies proc to the argument list, catching every Scheme error: on success
// stores the result and returns true; on an error prints it (prefixed with
// context) on the error port and returns false. A Scheme (exit) inside is
// reported the same way: it cannot leave through C++ frames.
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

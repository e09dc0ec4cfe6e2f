#include "scheme_guard.h"

#include <atomic>
#include <cstdio>
#include <thread>

#include "zrdwg/OdError.h"

namespace zrhost {

void raiseSchemeError(const char* subr, SCM key, SCM message) {
  scm_error(key, subr, "~A", scm_list_1(message), SCM_BOOL_F);
}

void describeCurrentException(SCM* key, SCM* message) {
  const char* keyName = "host-error";
  try {
    throw;
  } catch (const SchemeFailure& e) {
    keyName = e.key();
    *message = scm_from_utf8_string(e.what());
  } catch (const OdError& e) {
    keyName = "drawing-error";
    *message = scm_from_utf8_string(e.description().toUtf8().c_str());
  } catch (const std::exception& e) {
    *message = scm_from_utf8_string(e.what());
  } catch (...) {
    *message = scm_from_utf8_string("unknown failure");
  }
  *key = scm_from_utf8_symbol(keyName);
}

namespace {

struct Application {
  SCM proc;
  SCM args;
};

struct CaughtError {
  SCM key = SCM_BOOL_F;
  SCM args = SCM_BOOL_F;
};

SCM applyBody(void* data) {
  auto* a = static_cast<Application*>(data);
  return scm_apply_0(a->proc, a->args);
}

SCM keepError(void* data, SCM key, SCM args) {
  auto* caught = static_cast<CaughtError*>(data);
  caught->key = key;
  caught->args = args;
  return SCM_UNSPECIFIED;
}

SCM printBody(void* data) {
  auto* e = static_cast<CaughtError*>(data);
  SCM port = scm_current_error_port();
  if (scm_is_eq(e->key, scm_from_utf8_symbol("quit"))) {
    scm_puts("(exit) is not possible here: the call came from the module\n", port);
  } else {
    SCM print = scm_c_public_ref("guile", "print-exception");
    scm_call_4(print, port, SCM_BOOL_F, e->key, e->args);
  }
  return SCM_UNSPECIFIED;
}

SCM ignoreError(void*, SCM, SCM) { return SCM_UNSPECIFIED; }

SCM flushBody(void*) {
  scm_force_output(scm_current_output_port());
  scm_force_output(scm_current_error_port());
  return SCM_UNSPECIFIED;
}

}  // namespace

namespace {
std::thread::id schemeThread;
int hostFrames = 0;  // Scheme thread only
std::atomic<bool> interruptRequested{false};
}  // namespace

SCM interruptKey() { return scm_from_utf8_symbol("zrhost-interrupt"); }

namespace {
void leftHostFrame(void*) { --hostFrames; }
}  // namespace

void enterHostFrame() {
  scm_dynwind_begin(static_cast<scm_t_dynwind_flags>(0));
  scm_dynwind_block_asyncs();
  ++hostFrames;
  // Counted down however the frame is left (a Scheme error that a body let
  // through included).
  scm_dynwind_unwind_handler(leftHostFrame, nullptr, SCM_F_WIND_EXPLICITLY);
}

namespace {
void (*returnToScheme)() = nullptr;
bool (*dialogsShowing)() = nullptr;
std::string heldOutput;  // Scheme thread only

void printHeldOutput() {
  if (heldOutput.empty()) return;
  flushSchemePorts();
  std::fwrite(heldOutput.data(), 1, heldOutput.size(), stdout);
  std::fflush(stdout);
  heldOutput.clear();
}
}  // namespace

void setReturnToSchemeHook(void (*hook)()) { returnToScheme = hook; }
void setHoldOutputDuringCalls(bool (*showing)()) { dialogsShowing = showing; }
bool holdingOutputDuringCalls() { return hostFrames > 0 && dialogsShowing && dialogsShowing(); }
void holdOutput(const std::string& text) { heldOutput += text; }

void leaveHostFrame() {
  if (hostFrames == 1) {
    if (returnToScheme) returnToScheme();
    printHeldOutput();
  }
  // Unblocking runs a Scheme interrupt that came meanwhile: it throws from here.
  scm_dynwind_end();
  if (hostFrames == 0 && interruptRequested.exchange(false)) scm_throw(interruptKey(), SCM_EOL);
}

bool insideHostFrame() { return hostFrames > 0; }

void requestInterrupt() { interruptRequested = true; }

void markSchemeThread() { schemeThread = std::this_thread::get_id(); }
bool onSchemeThread() { return std::this_thread::get_id() == schemeThread; }

void flushSchemePorts() {
  if (!onSchemeThread()) return;
  scm_c_catch(SCM_BOOL_T, flushBody, nullptr, ignoreError, nullptr, nullptr, nullptr);
}

void printSchemeError(const std::string& context, SCM key, SCM args) {
  flushSchemePorts();
  std::fprintf(stderr, "zrhost: %s: ", context.c_str());
  std::fflush(stderr);
  CaughtError e{key, args};
  scm_c_catch(SCM_BOOL_T, printBody, &e, ignoreError, nullptr, nullptr, nullptr);
  flushSchemePorts();
}

namespace {

struct BarrierCall {
  Application application;
  CaughtError caught;
  SCM value = SCM_BOOL_F;
};

void* applyCatching(void* data) {
  auto* call = static_cast<BarrierCall*>(data);
  call->value = scm_c_catch(SCM_BOOL_T, applyBody, &call->application, keepError, &call->caught, nullptr, nullptr);
  return call;
}

// call-for-host of console.scm once it is loaded, else #f.
SCM hostCallWrapper() {
  static SCM wrapper = SCM_BOOL_F;
  if (scm_is_false(wrapper)) {
    SCM module = scm_c_resolve_module("zrhost console");
    SCM variable = scm_module_variable(module, scm_from_utf8_symbol("call-for-host"));
    if (scm_is_true(variable) && scm_is_true(scm_variable_bound_p(variable)))
      wrapper = scm_gc_protect_object(scm_variable_ref(variable));
  }
  return wrapper;
}

}  // namespace

bool schemeApply(SCM proc, SCM args, SCM* result, const std::string& context) {
  // The barrier stops full continuations from leaving or re-entering the call
  // (they would copy the C++ frames below it); call-for-host stops escapes.
  // Either attempt becomes an error.
  SCM wrapper = hostCallWrapper();
  // Inside a host frame interrupts are held; the wrapper lets them through
  // for the Scheme code it runs, which the person may want to stop.
  BarrierCall call{{scm_is_false(wrapper) ? proc : wrapper,
                    scm_is_false(wrapper) ? args : scm_list_3(proc, args, scm_from_bool(insideHostFrame()))},
                   {},
                   SCM_BOOL_F};
  scm_c_with_continuation_barrier(applyCatching, &call);
  if (scm_is_false(call.caught.key) && scm_is_true(wrapper)) {
    // (ok VALUE) or (error KEY . ARGS)
    if (scm_is_eq(scm_car(call.value), scm_from_utf8_symbol("ok"))) {
      *result = scm_cadr(call.value);
      return true;
    }
    call.caught.key = scm_cadr(call.value);
    call.caught.args = scm_cddr(call.value);
  } else if (scm_is_false(call.caught.key)) {
    *result = call.value;
    return true;
  }
  if (insideHostFrame() && scm_is_eq(call.caught.key, interruptKey())) {
    requestInterrupt();
    return false;
  }
  printSchemeError(context, call.caught.key, call.caught.args);
  return false;
}

}  // namespace zrhost

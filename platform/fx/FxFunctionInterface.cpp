#include "zrfx/FxFunctionInterface.h"

#include <stdexcept>

CFxFunctionInterface::~CFxFunctionInterface() {
  fxReleaseChain(arguments_);
  clearResult();
}

FxFunctionHandler CFxFunctionInterface::find(const std::u16string& name) const {
  for (const auto& [known, handler] : functions_)
    if (known == name) return handler;
  return nullptr;
}

void CFxFunctionInterface::AddFunction(const OdChar* name, FxFunctionHandler handler) {
  if (!name || !handler) return;
  for (auto& [known, existing] : functions_) {
    if (known == name) {
      existing = handler;
      return;
    }
  }
  functions_.emplace_back(name, handler);
}

void CFxFunctionInterface::RemoveFunction(const OdChar* name) {
  if (!name) return;
  for (auto it = functions_.begin(); it != functions_.end(); ++it) {
    if (it->first == name) {
      functions_.erase(it);
      return;
    }
  }
}

resbuf* CFxFunctionInterface::GetArguments() {
  resbuf* args = arguments_;
  arguments_ = nullptr;
  return args;
}

void CFxFunctionInterface::clearResult() {
  fxReleaseChain(result_.list);
  result_ = CallResult();
}

void CFxFunctionInterface::ReturnNil() {
  clearResult();
  result_.kind = CallResult::kNil;
}

void CFxFunctionInterface::ReturnVoid() {
  clearResult();
  result_.kind = CallResult::kVoid;
}

void CFxFunctionInterface::ReturnEntityName(const ads_name name) {
  clearResult();
  result_.kind = CallResult::kEntityName;
  result_.entity[0] = name[0];
  result_.entity[1] = name[1];
}

void CFxFunctionInterface::ReturnList(const resbuf* chain) {
  clearResult();
  result_.kind = CallResult::kList;
  result_.list = fxCopyChain(chain);
}

int CFxFunctionInterface::InvokeFunction(const resbuf* call, resbuf** result) {
  if (result) *result = nullptr;
  if (!call || call->restype != RTSTR || !call->resval.rstring || !*environment_) return RTERROR;
  resbuf* out = nullptr;
  int status = (*environment_)->Invoke(OdString(call->resval.rstring), call->rbnext, &out);
  if (result) {
    *result = out;
  } else {
    fxReleaseChain(out);
  }
  return status;
}

int CFxFunctionInterface::GetVariable(const OdChar* name, resbuf** result) {
  if (result) *result = nullptr;
  if (!name || !result || !*environment_) return RTERROR;
  return (*environment_)->GetVariable(OdString(name), result);
}

void CFxFunctionInterface::ReleaseChain(resbuf* chain) { fxReleaseChain(chain); }

int CFxFunctionInterface::ColorDialog(void*, int initial, int, int* chosen) {
  if (!chosen || !*environment_) return RTERROR;
  return (*environment_)->ColorDialog(initial, chosen);
}

void CFxFunctionInterface::PrintMessage(const OdChar* text) {
  if (text && *environment_) (*environment_)->PrintMessage(OdString(text));
}

bool CFxFunctionInterface::HasFunction(const OdString& name) const { return find(name.str()) != nullptr; }

std::vector<OdString> CFxFunctionInterface::FunctionNames() const {
  std::vector<OdString> names;
  for (const auto& [name, handler] : functions_) names.emplace_back(name);
  return names;
}

CFxFunctionInterface::CallResult CFxFunctionInterface::CallFunction(const OdString& name, const resbuf* args) {
  FxFunctionHandler handler = find(name.str());
  if (!handler) throw std::out_of_range("no function " + name.toUtf8() + " in this document");
  // A call inside a call (a handler invoking the host, which calls back) keeps
  // the outer call's argument and result.
  resbuf* outerArguments = arguments_;
  CallResult outerResult = result_;
  arguments_ = fxCopyChain(args);
  result_ = CallResult();
  try {
    handler();
  } catch (...) {
    fxReleaseChain(arguments_);
    clearResult();
    arguments_ = outerArguments;
    result_ = outerResult;
    throw;
  }
  CallResult out = result_;
  fxReleaseChain(arguments_);  // arguments the handler did not take
  arguments_ = outerArguments;
  result_ = outerResult;
  return out;
}

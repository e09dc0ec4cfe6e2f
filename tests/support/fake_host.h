#pragma once
// A host for tests: documents opened from drawings built in the test, and a
// script environment whose variables and functions the test sets.

#include <functional>
#include <map>
#include <string>

#include "zrfx/FxDocumentManager.h"

namespace testing_support {

class FakeScriptEnvironment : public FxScriptEnvironment {
 public:
  using Function = std::function<resbuf*(const resbuf* args)>;

  // A variable holding one value: a string, a number, or absent.
  void setString(const std::string& name, const std::string& value);
  void setNumber(const std::string& name, double value);
  void setList(const std::string& name, const std::vector<std::string>& values);
  void unset(const std::string& name);
  void defineFunction(const std::string& name, Function f) { functions_[name] = std::move(f); }
  // Colour dialog answer: the index chosen, or -1 for cancel; the initial
  // index asked with is kept.
  void setColourAnswer(int index) { colourAnswer_ = index; }
  // Or a real dialog: `dialog` answers (status, and the index in *chosen).
  void setColourDialog(std::function<int(int initial, int* chosen)> dialog) { colourDialog_ = std::move(dialog); }
  int lastColourInitial() const { return lastColourInitial_; }

  int Invoke(const OdString& name, const resbuf* args, resbuf** result) override;
  int GetVariable(const OdString& name, resbuf** result) override;
  int ColorDialog(int initial, int* chosen) override;

 private:
  std::map<std::string, std::function<resbuf*()>> variables_;
  std::map<std::string, Function> functions_;
  std::function<int(int, int*)> colourDialog_;
  int colourAnswer_ = -1;
  int lastColourInitial_ = -1;
};

// Installs the environment in the process's document manager for its lifetime
// and closes every document when it ends.
class FakeHost {
 public:
  FakeHost();
  ~FakeHost();
  FakeHost(const FakeHost&) = delete;
  FakeHost& operator=(const FakeHost&) = delete;

  CFxDocumentManager& documents() { return *GetFxSystemServices()->GetDocumentManager(); }
  CFxDocument* open(OdDbDatabasePtr db, const std::string& name = "drawing.dxf");
  FakeScriptEnvironment& script() { return environment_; }

 private:
  FakeScriptEnvironment environment_;
};

// A string chain of the given values (made with fxNewNode; release with
// fxReleaseChain).
resbuf* stringChain(const std::vector<std::string>& values);
// The strings of a chain, in order ("<type N>" for other nodes).
std::vector<std::string> chainStrings(const resbuf* chain);

}  // namespace testing_support

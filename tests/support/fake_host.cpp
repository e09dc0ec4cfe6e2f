#include "fake_host.h"

namespace testing_support {

void FakeScriptEnvironment::setString(const std::string& name, const std::string& value) {
  variables_[name] = [value] { return stringChain({value}); };
}

void FakeScriptEnvironment::setNumber(const std::string& name, double value) {
  variables_[name] = [value] {
    resbuf* rb = fxNewNode(RTREAL);
    rb->resval.rreal = value;
    return rb;
  };
}

void FakeScriptEnvironment::setList(const std::string& name, const std::vector<std::string>& values) {
  variables_[name] = [values] {
    resbuf* head = fxNewNode(RTLB);
    resbuf* tail = head;
    tail->rbnext = stringChain(values);
    while (tail->rbnext) tail = tail->rbnext;
    tail->rbnext = fxNewNode(RTLE);
    return head;
  };
}

void FakeScriptEnvironment::unset(const std::string& name) { variables_.erase(name); }

int FakeScriptEnvironment::Invoke(const OdString& name, const resbuf* args, resbuf** result) {
  auto it = functions_.find(name.toUtf8());
  if (it == functions_.end()) return RTERROR;
  *result = it->second(args);
  return RTNORM;
}

int FakeScriptEnvironment::GetVariable(const OdString& name, resbuf** result) {
  auto it = variables_.find(name.toUtf8());
  if (it == variables_.end()) return RTERROR;
  *result = it->second();
  return RTNORM;
}

int FakeScriptEnvironment::ColorDialog(int initial, int* chosen) {
  lastColourInitial_ = initial;
  if (colourDialog_) return colourDialog_(initial, chosen);
  if (colourAnswer_ < 0) return RTERROR;
  *chosen = colourAnswer_;
  return RTNORM;
}

FakeHost::FakeHost() { documents().SetScriptEnvironment(&environment_); }

FakeHost::~FakeHost() {
  documents().CloseAll();
  documents().SetScriptEnvironment(nullptr);
}

CFxDocument* FakeHost::open(OdDbDatabasePtr db, const std::string& name) {
  return documents().AddDocument(db, OdString::fromUtf8(name));
}

resbuf* stringChain(const std::vector<std::string>& values) {
  resbuf* head = nullptr;
  resbuf** tail = &head;
  for (const std::string& v : values) {
    resbuf* rb = fxNewNode(RTSTR);
    rb->resval.rstring = fxNewString(OdString::fromUtf8(v));
    *tail = rb;
    tail = &rb->rbnext;
  }
  return head;
}

std::vector<std::string> chainStrings(const resbuf* chain) {
  std::vector<std::string> out;
  for (; chain; chain = chain->rbnext) {
    if (chain->restype == RTSTR) {
      out.push_back(OdString(chain->resval.rstring).toUtf8());
    } else {
      out.push_back("<type " + std::to_string(chain->restype) + ">");
    }
  }
  return out;
}

}  // namespace testing_support

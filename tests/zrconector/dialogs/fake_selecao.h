#pragma once
// The selection dialog's sources in memory: the drawing's connector records,
// a catalogue (menus, components, pins with identifiers and codes, tags),
// the host's standard and next-name function, and the module's texts.
// The menu reads can be held at a gate, to catch the worker in mid-fill.

#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>

#include "catalog/SelectionCatalogue.h"
#include "controls/fake_menu_catalogue.h"

class FakeSelecao : public zr::SelectionCatalogue {
 public:
  struct Pin {
    std::string id;
    int status;
  };
  // A connector instance of the drawing with its pins (status 0 placed, 1 missing).
  void instance(const std::string& name, const std::string& code, std::vector<Pin> pins) {
    instances_.push_back({name, code, std::move(pins)});
  }
  // A catalogue pin: key, identifier and code.
  void pin(const std::string& connector, const std::string& key, const std::string& id, const std::string& code) {
    menus.pin(connector, key, code);
    ids_[key] = id;
  }
  void tag(const std::string& component, const std::string& tag) { tags_[component] = tag; }

  // Holds the next menu reads until open() (the worker waits there).
  void closeGate() {
    std::lock_guard lock(mutex_);
    gateClosed_ = true;
  }
  void openGate() {
    {
      std::lock_guard lock(mutex_);
      gateClosed_ = false;
    }
    cv_.notify_all();
  }
  bool workerWaiting() {
    std::lock_guard lock(mutex_);
    return waiting_;
  }
  int topLoads() {
    std::lock_guard lock(mutex_);
    return topLoads_;
  }

  std::unique_ptr<zr::CELstSimbolos> SimbolosNivel(zr::CESimbolo& todos, const CString& nivel) override {
    if (nivel == u"0") {
      std::unique_lock lock(mutex_);
      ++topLoads_;
      waiting_ = gateClosed_;
      cv_.wait(lock, [&] { return !gateClosed_; });
      waiting_ = false;
    }
    return menus.SimbolosNivel(todos, nivel);
  }
  std::unique_ptr<zr::CELstItens> ItensNivel(zr::CELstSimbolos& s, zr::CESimbolo& todos,
                                             const CString& nivel) override {
    return menus.ItensNivel(s, todos, nivel);
  }
  std::unique_ptr<CStringList> PinosConector(const CString& c) override { return menus.PinosConector(c); }
  CString NomePino(const CString& p) override { return menus.NomePino(p); }
  CString NivelMenu(const CString& m) override { return menus.NivelMenu(m); }

  zr::ConectoresPinos VerificarPinos() override {
    zr::ConectoresPinos records;
    for (const Instance& i : instances_) {
      auto r = std::make_unique<zr::CEConectorPinos>(OdString::fromUtf8(i.name), OdString::fromUtf8(i.code), true);
      for (const Pin& p : i.pins) r->AddPino(OdString::fromUtf8(p.id), OdString(), OdString(), p.status, 0, 0);
      records.push_back(std::move(r));
    }
    return records;
  }
  CString IdPino(const CString& p) override { return CString::FromUtf8(ids_[p.ToUtf8()]); }
  CString KeyTag(const CString& c, const CString& norma) override {
    lastStandard = norma.ToUtf8();
    return CString::FromUtf8(tags_[c.ToUtf8()]);
  }
  CString Norma() override { return u"IEC"; }
  CString ProximoNome(const CString& prefix) override {
    asked.push_back(prefix.ToUtf8());
    return next ? CString::FromUtf8(next(prefix.ToUtf8())) : CString();
  }
  CString Texto(int code) override {
    static const std::map<int, std::string> texts = {
        {10, "Seleção de conector"}, {11, "Selecionar"}, {12, "Criar"},     {13, "Carregando..."},
        {14, "Nome:"},               {15, "Conectores do catálogo:"},       {16, "OK"},
        {17, "Cancelar"},            {29, "Pino:"},  {30, "Este nome já está em uso por outro conector."},
        {44, "(nome sugerido)"}};
    auto it = texts.find(code);
    return CString::FromUtf8(it == texts.end() ? "?" + std::to_string(code) : it->second);
  }

  FakeMenuCatalogue menus;
  std::function<std::string(const std::string&)> next;  // the suite's next name; none: no answer
  std::vector<std::string> asked;
  std::string lastStandard;

 private:
  struct Instance {
    std::string name, code;
    std::vector<Pin> pins;
  };
  std::vector<Instance> instances_;
  std::map<std::string, std::string> ids_, tags_;
  std::mutex mutex_;
  std::condition_variable cv_;
  bool gateClosed_ = false;
  bool waiting_ = false;
  int topLoads_ = 0;
};

#pragma once
// A catalogue in memory for the catalogue tree: menu rows, component drawings
// and pins, answering the tree's reads as the database does and counting
// them. A level can be made to fail as a failed statement does.

#include <map>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "catalog/MenuCatalogue.h"

class FakeMenuCatalogue : public zr::MenuCatalogue {
 public:
  // A folder or component row of BDMENUS.
  void menu(const std::string& nivel, const std::string& key, const std::string& descr) {
    menus_.push_back({nivel, key, descr});
  }
  // A component row of BDZR (its drawing), with its menu row.
  void component(const std::string& nivel, const std::string& key, const std::string& descr,
                 const std::string& dwg) {
    menu(nivel, key, descr);
    dwgs_[key] = dwg;
  }
  // A pin of a connector: its key and code (PINO_PINO).
  void pin(const std::string& connector, const std::string& key, const std::string& code) {
    pins_[connector].push_back(key);
    codes_[key] = code;
  }
  // Reads of this level throw, as a failed statement does.
  void failLevel(const std::string& nivel) { failing_.insert(nivel); }

  std::unique_ptr<zr::CELstSimbolos> SimbolosNivel(zr::CESimbolo& todos, const CString& nivel) override {
    ++levelQueries;
    if (failing_.count(nivel.ToUtf8())) throw std::runtime_error("statement failed");
    auto map = std::make_unique<zr::CELstSimbolos>();
    for (const Row& r : menus_) {
      if (r.nivel != nivel.ToUtf8() || !dwgs_.count(r.key)) continue;
      auto s = std::make_shared<zr::CESimbolo>();
      s->m_key = CString::FromUtf8(r.key);
      auto rep = std::make_shared<zr::CESimboloVisual>(CString::FromUtf8(dwgs_[r.key]));
      s->m_reps[zr::kNormaTodas] = rep;
      todos.m_reps[s->m_key] = rep;
      (*map)[s->m_key] = s;
    }
    if (map->empty()) return nullptr;
    return map;
  }
  std::unique_ptr<zr::CELstItens> ItensNivel(zr::CELstSimbolos& simbolos, zr::CESimbolo& todos,
                                             const CString& nivel) override {
    ++levelQueries;
    auto list = std::make_unique<zr::CELstItens>();
    for (const Row& r : menus_) {
      if (r.nivel != nivel.ToUtf8()) continue;
      const CString key = CString::FromUtf8(r.key);
      auto found = simbolos.find(key);
      if (found != simbolos.end()) {
        if (!todos.m_reps.count(key)) continue;
        found->second->m_nome = CString::FromUtf8(r.descr);
        found->second->m_nivel = nivel;
        list->Add(found->second);
        continue;
      }
      auto p = std::make_shared<zr::CEPasta>();
      p->m_nome = CString::FromUtf8(r.descr);
      p->m_key = key;
      p->m_nivel = nivel;
      list->Add(p);
    }
    if (list->IsEmpty()) return nullptr;
    return list;
  }
  std::unique_ptr<CStringList> PinosConector(const CString& connector) override {
    ++pinQueries;
    auto list = std::make_unique<CStringList>(10);
    for (const std::string& k : pins_[connector.ToUtf8()]) list->AddTail(CString::FromUtf8(k));
    return list;
  }
  CString NomePino(const CString& pin) override {
    ++pinQueries;
    return CString::FromUtf8(codes_[pin.ToUtf8()]);
  }
  CString NivelMenu(const CString& menu) override {
    ++levelQueries;
    for (const Row& r : menus_)
      if (r.key == menu.ToUtf8()) return CString::FromUtf8(r.nivel);
    return CString();
  }

  // Reads of the top level, for the owner's part of a load.
  std::unique_ptr<zr::CELstItens> topLevel() {
    zr::CESimbolo todos;
    todos.m_key = u"-1";
    auto map = SimbolosNivel(todos, u"0");
    if (!map) map = std::make_unique<zr::CELstSimbolos>();
    return ItensNivel(*map, todos, u"0");
  }

  int levelQueries = 0;
  int pinQueries = 0;

 private:
  struct Row {
    std::string nivel, key, descr;
  };
  std::vector<Row> menus_;
  std::map<std::string, std::string> dwgs_;
  std::map<std::string, std::vector<std::string>> pins_;
  std::map<std::string, std::string> codes_;
  std::set<std::string> failing_;
};

#pragma once
// Component records of the catalogue tree: a component (CESimbolo) is a
// CEPasta with leaf flag 1 that carries its representations by standard.
// The menu loader gives every component one representation, under the
// pseudo-standard "-1", whose drawing name (ZR_DWG) decides whether the tree
// shows it.
//
// The pseudo-standard record of a load is itself a CESimbolo (key "-1",
// name "Todos") whose representation map is keyed by component key: it
// records which components the component loader has seen.

#include <map>
#include <memory>

#include "catalog/CEPasta.h"

namespace zr {

// The standard under which the loader files every representation.
inline constexpr const char16_t* kNormaTodas = u"-1";

class CESimboloVisual {
 public:
  explicit CESimboloVisual(const CString& dwg) : m_dwg(dwg) {}
  CString m_dwg;  // ZR_DWG
};

// Representations by standard (in the pseudo-standard record: by component key).
using CELstRep = std::map<CString, std::shared_ptr<CESimboloVisual>>;

class CESimbolo : public CEPasta {
 public:
  CESimbolo() { m_folha = 1; }
  // The representation under a standard, or null.
  CESimboloVisual* GetRep(const CString& norma) const {
    auto it = m_reps.find(norma);
    return it == m_reps.end() ? nullptr : it->second.get();
  }
  CELstRep m_reps;
};

// The components of one load, by component key.
using CELstSimbolos = std::map<CString, std::shared_ptr<CESimbolo>>;

}  // namespace zr

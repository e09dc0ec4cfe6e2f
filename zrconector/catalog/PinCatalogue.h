#pragma once
// The pin check's port for the catalogue (CIPinos reads pin rows and mating
// parts through it), and the process's catalogue database serving it.

#include <memory>
#include <vector>

#include "catalog/PinRows.h"
#include "zrdwg/OdString.h"
#include "zrui/afx/coll.h"

namespace zr {

// What the pin check reads from the catalogue.
class PinCatalogue {
 public:
  virtual ~PinCatalogue() = default;
  // Pin rows of a code, each "PINO_KEY\fPINO_ID\fPINO_PINO\f", in the
  // database's order; empty when none or when the query failed.
  virtual std::unique_ptr<CStringList> LinhasPinos(const OdString& code) = 0;
  // The same rows parsed: by default read (LinhasPinos) and parsed anew on
  // every call. A catalogue that serves many checks may read and parse a
  // code's rows once and hand each check the same.
  virtual std::shared_ptr<const PinRows> Rows(const OdString& code);
  // The pin rows of several codes (distinct) at once, for a catalogue that
  // can read them together: into rows one list per code, in the order of
  // codes, each as LinhasPinos gives it; true when read so. False when they
  // could not be read together (the default): nothing was shown, and the
  // caller asks LinhasPinos code by code.
  virtual bool LinhasPinosJuntas(const std::vector<OdString>& codes, std::vector<std::unique_ptr<CStringList>>& rows) {
    (void)codes;
    (void)rows;
    return false;
  }
  // Codes that mate with code; throws the database's error when the query fails.
  virtual std::unique_ptr<CStringList> ContraPecas(const OdString& code) = 0;
  // The mating codes of several codes (distinct) at once, for a catalogue
  // that can read them together: into mates one list per code, in the order
  // of codes, each with the codes ContraPecas gives (in any order); true
  // when read so. False when they could not be read together (the default):
  // nothing was shown, and the caller asks ContraPecas code by code.
  virtual bool ContraPecasJuntas(const std::vector<OdString>& codes, std::vector<std::unique_ptr<CStringList>>& mates) {
    (void)codes;
    (void)mates;
    return false;
  }
  // Asks for a code's pin rows ahead of LinhasPinos, for a catalogue that
  // reads them beside its caller (on a thread of its own): true when it
  // will, LinhasPinos then answering them (waiting for them if need be);
  // false when the caller is to ask LinhasPinos itself, now (the default:
  // the process's database is read on the caller's thread only).
  virtual bool Prefetch(const OdString& code) {
    (void)code;
    return false;
  }
};

// The process's catalogue database.
PinCatalogue& DefaultPinCatalogue();

}  // namespace zr

#pragma once
// zrcheck's pairing of coinciding pins, among placed symbols only.
//
// The module's CIPinos::VerificarPinos pairs every pin, the catalogue pins
// without a symbol too, which it places at 0, 0: a symbol drawn at the
// drawing's origin then "touches" the missing pins of every connector, gets
// pin.invalid-mate or pin.self-mate, and the missing pins it touched lose
// their own status. The module keeps that pairing (the scripts that call it
// depend on it); zrcheck undoes it and pairs again with the symbols alone,
// by the same rules otherwise: the first coinciding symbol in check order,
// strictly within 0.00001 on both axes, checked against the mating parts.

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "drawing/CEPino.h"
#include "drawing/CIPinos.h"

// The catalogue as the check reads it, each code asked once; remembers the
// codes whose pin rows came back empty (a code the catalogue does not know,
// or whose statement failed).
class CheckCatalogue : public zr::PinCatalogue {
 public:
  // inner: where the rows come from; must outlive this object.
  explicit CheckCatalogue(zr::PinCatalogue& inner) : inner_(inner) {}
  std::unique_ptr<CStringList> LinhasPinos(const OdString& code) override;
  std::unique_ptr<CStringList> ContraPecas(const OdString& code) override;

  // True when the code's pin rows are empty (asking for them if need be).
  bool unknownCode(const OdString& code);
  // True when one of the code's rows has PINO_ID equal to identifier.
  bool knowsPin(const OdString& code, const OdString& identifier);

 private:
  const std::vector<OdString>& rows(const OdString& code);

  zr::PinCatalogue& inner_;
  std::map<std::u16string, std::vector<OdString>> rows_;  // the rows of each code, as read
  std::map<std::u16string, std::vector<OdString>> mating_;
};

// Undoes the module's pairing of records (mates, status 3, connector states)
// and pairs the placed symbols again. A pin's status before pairing is
// known again from what is left: no symbol is missing (1); a symbol with a
// catalogue pin code, or whose identifier the record code's rows hold, is
// known (0); any other is unknown (2). The mating parts come from catalogue
// (whose error, as in the module, reaches the caller).
void pairPlacedSymbols(zr::ConectoresPinos& records, CheckCatalogue& catalogue);

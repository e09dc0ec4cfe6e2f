#pragma once
// The drawing's connector dictionary "TRV_ZR_DIC_CONECTORES" (in the
// named-objects dictionary): one empty dictionary per connector name, so that
// each connector owns a persistent object whose entity name and handle the
// suite's scripts use. Entries are only ever added.
//
// A drawing whose entries are not what the refresh writes gets a clear error
// and is left as it was: "TRV_ZR_DIC_CONECTORES" standing for anything but a
// dictionary of the named objects, or a connector's entry that is not a
// dictionary, is an OdError (code eNotThatKindOfClass or eInvalidOwnerObject)
// whose description names the entry. An entry whose handle names no object is
// treated as missing: the refresh gives it a new dictionary, the lookup and
// the listing pass it over.

#include "drawing/CIPinos.h"
#include "zrdwg/OdDbDictionary.h"

class CIDicConectores {
 public:
  // catalogue: where the pin check reads the catalogue (the process's database when null).
  explicit CIDicConectores(zr::PinCatalogue* catalogue = nullptr) : m_catalogue(catalogue) {}

  // Adds an entry for every connector of the drawing that has none; a
  // connector with an empty name gets none (a key cannot be empty). Nothing
  // is added when any entry it would reuse is of another class.
  void Atualizar();
  // The identifier of the entry object of that name (exact), or null.
  OdDbObjectId GetConector(const OdString& name);
  // One line per connector both in the dictionary and in the drawing, sorted
  // by name: name, "S"/"N", the entry's handle and the code, joined by U+000C.
  // A connector whose name or code holds U+000C is left out (its line could
  // not be split back into its fields).
  // The caller owns the list.
  CStringList* ListaConectores();

  // The child dictionary of that name in parent, created when missing; throws
  // OdError_NotThatKindOfClass when the entry is something else.
  static OdDbDictionaryPtr FindOrCreate(OdDbDictionary* parent, const OdString& name);

  static const OdChar* const kNome;  // "TRV_ZR_DIC_CONECTORES"

 private:
  zr::PinCatalogue* m_catalogue;
};

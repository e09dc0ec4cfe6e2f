#pragma once
// CICad: the module's thin layer over the current drawing and the host: the
// current database, the program name, host script variables, and reading and
// writing the attributes of block references. It keeps no state; errors of the
// object model (OdError) reach the caller.

#include "drawing/CEListaAtributos.h"
#include "zrdwg/OdDbBlockTableRecord.h"
#include "zrdwg/OdDbDatabase.h"
#include "zrdwg/OdDbObjectIterator.h"
#include "zrdwg/OdDbText.h"

class CICad {
 public:
  enum { ATRIBUTOS_OK = 0, ATRIBUTOS_SEM_OBJETO = 2 };

  // The drawing of the active document; empty when there is none.
  static OdDbDatabasePtr GetDatabase();
  // The system variable "PROGRAM", or empty text.
  OdString GetPrograma();
  // A host script variable ("*NORMA_UTILIZADA*", "*ZRATTPINO*"): its text when
  // it holds a string, otherwise (unset, a number, a list) dflt.
  OdString GetVariavel(const OdString& name, const OdString& dflt);
  // The suite's next automatic name for a reference prefix: what its script
  // function "buscaProximaRelAuto" answers when it runs and answers a
  // string; empty text otherwise (no active document, a failed call).
  OdString ProximaReferencia(const OdString& prefixo);
  // Reads the attributes of a block reference into a new list (the caller's;
  // it frees the records and the list). 0 when done (out is null when the
  // reference has no attribute iterator), 2 when the identifier opens nothing
  // (out untouched). Throws OdError_NotThatKindOfClass for another class.
  // With useDefinitions each record's prompt comes from the block's
  // non-constant attribute definition at the same position (its tag when that
  // prompt is empty).
  int GetAtributos(const OdDbObjectId& reference, zr::CEListaAtributos*& out, bool useDefinitions);
  // Sets the text of the reference's first attribute whose tag equals tag
  // (case-sensitive). False when the reference does not open; true otherwise,
  // also when no tag matched.
  bool SetAtributo(const OdDbObjectId& reference, const OdString& tag, const OdString& value);
  // Sets an attribute's text. False for a null identifier or one that opens
  // nothing; throws OdError_NotThatKindOfClass when it is not an attribute.
  bool SetTextoAtributo(const OdDbObjectId& attribute, const OdString& text);

  // The attribute at the iterator's position, opened for reading by its
  // identifier, or else taken from the iterator's entity; null when neither
  // opens. Throws OdError_NotThatKindOfClass when the entity there is not an
  // attribute. GetAtributos and the pin check open attributes alike through it.
  static OdDbAttributePtr AbrirAtributo(OdDbObjectIterator& it);

  // Prompt of the n-th (from 0) non-constant attribute definition of a block,
  // or empty text when the block has fewer.
  OdString GetPromptAtributo(const OdDbBlockTableRecord* block, int n);
};

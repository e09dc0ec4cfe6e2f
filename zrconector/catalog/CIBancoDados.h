#pragma once
// CIBancoDados: the process-wide catalogue database object. It owns the one
// ADO connection of the process, runs statements (bringing an older
// catalogue up to the current schema when a statement fails, then trying
// once more), turns fields into text, and offers the catalogue reads of the
// connector tables (pins, mating parts) and of the component and menu
// tables.
//
// Statement text is sent exactly as built: values are placed between single
// quotes unchanged. A value holding a quote therefore makes its statement
// fail (the data-access layer runs one statement per call, so nothing else
// ever runs); the user sees one box "SQL ERROR: " + the statement.
//
// Errors: connection failures and missing objects are COM errors
// (_com_error); E_POINTER (0x80004003) when a statement failed and the
// operation needs its rows. Nothing is caught for the caller except where a
// method says so. All calls come from the host's main thread (the catalogue
// tree may read from its one worker thread); there are no locks.

#include <memory>
#include <vector>

#include "catalog/CESimbolo.h"
#include "zrado/ado.h"
#include "zrui/afx/coll.h"
#include "zrui/afx/cstring.h"

class CIBancoDados {
 public:
  // The one database object of the process, created on the first call and
  // never destroyed.
  static CIBancoDados* Instance();

  // FOR TESTS ONLY: drops the connection of the process-wide object, so that
  // a test can open another catalogue from a clean state. The module never
  // calls it (its connection lives as long as the process).
  static void ResetInstanceForTesting();

  // Opens the catalogue named by the settings of the running program (the
  // host system variable "PROGRAM"), releasing any connection held first.
  // Returns 0 when connected; 2 when a framework exception (out of memory
  // and the like) ended it, the object then being without connection.
  // Throws _com_error when the settings are not available, the connection
  // object cannot be created (E_POINTER) or the connection fails (the
  // driver's diagnostic as description); the object is then without
  // connection and a later Open may succeed. The document manager's
  // resource module is this module's while Open runs.
  int Open();
  // Called when the module unloads. Does nothing: the connection stays open
  // for the life of the process.
  void Close() {}
  // True after a successful Open.
  bool IsConnected() const { return m_connection != nullptr; }
  // For programs that only read the catalogue (the pin check without the
  // host): the next Open asks the driver for a connection that refuses
  // changes ("Mode=Read"), and a failed statement never upgrades the schema.
  // The module itself never calls it; inside the host a failed statement
  // upgrades the schema as always. Call before Open.
  void SetReadOnly() { m_readOnly = true; }

  // Runs a statement and returns its rows (an owned reference), or null.
  // Null at once, without a message, when there is no connection. When the
  // statement fails and upgradeAndRetry is set, the schema is upgraded and
  // the statement tried once more without the flag. A statement that still
  // fails shows one box "SQL ERROR: " + the statement and gives null.
  // When the link to the catalogue broke during the statement (the server
  // restarted or went down), the statement is tried once more at once (the
  // connection reconnects first) and the schema is never upgraded: with the
  // server down the statement shows its one box and gives null; once the
  // server is back later statements work without a new Open.
  _RecordsetPtr OpenRecordset(LPCTSTR sql, bool upgradeAndRetry);
  // Runs a statement that returns no rows. Nothing without a connection;
  // throws _com_error E_POINTER when it failed (the box was shown).
  void Execute(LPCTSTR sql);
  // Field 0 of the first row as text (see FieldAsText); empty without a
  // connection or without rows. Throws _com_error E_POINTER when the
  // statement failed (the box was shown).
  CString QueryValue(LPCTSTR sql);
  // Field `index` (from 0) of the current row as text: trimmed of leading
  // and trailing white space; empty for SQL NULL, a null or exhausted
  // recordset, a negative index, or a value that cannot be read. Numbers
  // are converted to their text. Never throws.
  CString FieldAsText(_Recordset* recordset, int index);
  // The same for a field taken from a recordset, on the recordset's current
  // row (a Field object follows its recordset's cursor): empty for a null
  // field, and when the cursor is past the last row. Never throws.
  static CString FieldText(Field* field);

  // Whether the catalogue has a table, or a table a column (names compared
  // ignoring case). False without a connection. Throws _com_error when the
  // catalogue cannot be examined.
  bool TableExists(LPCTSTR table);
  bool ColumnExists(LPCTSTR table, LPCTSTR column);
  // Adds the tables and columns that older catalogues lack, each only when
  // missing. Its statements never start another upgrade: the first one that
  // fails (after its box) ends the upgrade with _com_error E_POINTER.
  void UpgradeSchema();

  // ---- Connector tables (BDPINOS, BDCONTRAPECAS). Codes and keys are put
  // into the statements unchanged. Lists are new, owned by the caller, in
  // the order the database returns the rows.

  // PINO_KEY of every pin of a connector. Empty list without a connection or
  // when the statement failed; never null.
  CStringList* GetPinosConector(LPCTSTR conector);
  // Every pin of a connector packed as PINO_KEY, U+000C, PINO_ID, U+000C,
  // PINO_PINO, U+000C (each field trimmed; NULL as empty). Empty list without
  // a connection or when the statement failed; never null.
  CStringList* GetLinhasPinosConector(LPCTSTR conector);
  // The pin rows of several connectors (distinct codes) read by one
  // statement, "... WHERE PINO_CONECTOR IN (...)": into linhas one list per
  // code, in the order of conectores, each as GetLinhasPinosConector gives
  // it (its rows in the order the database returns them). Quiet: no box and
  // no upgrade; false, linhas then unspecified, when there is no connection,
  // a code holds a quote (its own statement fails with its box), a code
  // comes twice, the statement failed, or a row came back whose code is not
  // exactly one asked (a catalogue comparing codes regardless of case or of
  // blanks at their ends). The caller then asks GetLinhasPinosConector code
  // by code, which shows what failed.
  bool GetLinhasPinosConectores(const std::vector<LPCTSTR>& conectores, std::vector<std::unique_ptr<CStringList>>& linhas);
  // PINO_ID / PINO_PINO of a pin key: the first row's value, empty when no
  // row matches or without a connection. Throw _com_error E_POINTER when the
  // statement failed.
  CString GetIdPino(LPCTSTR pino);
  CString GetNomePino(LPCTSTR pino);
  // The connectors that mate with a connector (pairs count in both
  // directions; each code once). Throws _com_error E_POINTER without a
  // connection or when the statement failed; never returns null.
  CStringList* GetContraPecas(LPCTSTR conector);
  // The mating connectors of several connectors (distinct codes) read by one
  // statement: into listas one list per code, in the order of conectores,
  // each with the codes GetContraPecas gives it (each once, in an order of
  // the database's). Quiet, and false when the codes cannot be read
  // together, as GetLinhasPinosConectores: the caller then asks
  // GetContraPecas code by code.
  bool GetContraPecasConectores(const std::vector<LPCTSTR>& conectores,
                                std::vector<std::unique_ptr<CStringList>>& listas);
  // Every distinct PINO_PINO of pins of other connectors, provided the
  // connector takes part in at least one mating pair (else an empty list).
  // Throws _com_error E_POINTER without a connection or when the statement
  // failed; never returns null.
  CStringList* GetPinosContraPecas(LPCTSTR conector);

  // ---- Component records (BDZR, BDMENUS).

  // Reads the first BDZR row of (component, standard) into the twelve
  // outputs, in this order. True when the statement ran, also when no row
  // matched (the outputs then keep their values); false without a
  // connection or when the statement failed (outputs untouched).
  bool GetDadosComponente(LPCTSTR componente, LPCTSTR norma, CString& keyTag, CString& keyOld, CString& dwg,
                          CString& dwg2d, CString& dwg3d, CString& dwgUn, CString& width, CString& explode,
                          CString& lista, CString& consist, CString& rotaAt, CString& equipo);
  // ZR_DWG of (component, standard); MENU_DESCR / MENU_NIVEL of a menu key.
  // Empty when no row matches or without a connection; throw _com_error
  // E_POINTER when the statement failed.
  CString GetDwgComponente(LPCTSTR componente, LPCTSTR norma);
  CString GetDescricaoMenu(LPCTSTR menu);
  CString GetNivelMenu(LPCTSTR menu);

  // ---- Menu loaders of the catalogue tree (BDZR joined with BDMENUS).

  // The components of the menu level nivel (every component when nivel is
  // empty), by key. Each row gives a component its representation under the
  // standard "-1" (the last row of a key wins), also registered in todos by
  // component key. Null without a connection, when the statement failed
  // (after its box) or when no row matched. The caller owns the map.
  std::unique_ptr<zr::CELstSimbolos> GetSimbolosNivel(zr::CESimbolo& todos, LPCTSTR nivel);
  // The records of the menu level nivel (every menu row when nivel is
  // empty), ordered by level and description: a component of simbolos that
  // todos knows becomes that CESimbolo (description, key and level copied
  // in); a component of simbolos that todos does not know is dropped; any
  // other row becomes a new folder. Null without a connection, when the
  // statement failed or when no row matched.
  std::unique_ptr<zr::CELstItens> GetItensNivel(zr::CELstSimbolos& simbolos, zr::CESimbolo& todos, LPCTSTR nivel);

 private:
  CIBancoDados() = default;
  ~CIBancoDados() = default;
  CIBancoDados(const CIBancoDados&) = delete;
  CIBancoDados& operator=(const CIBancoDados&) = delete;

  // Open without the resource module and the exception policy around it.
  void Connect();
  // Runs a statement that returns no rows, with or without the upgrade.
  void ExecuteStatement(LPCTSTR sql, bool upgradeAndRetry);
  // Runs a statement without a box and without the upgrade (once more when
  // the link broke during it): its rows, or null when there is no
  // connection or it failed.
  _RecordsetPtr TryRecordset(LPCTSTR sql);
  // TryRecordset, with whatever it throws taken for a failed statement (null).
  _RecordsetPtr QuietRecordset(LPCTSTR sql);
  // Raises E_POINTER for a statement that gave no recordset.
  [[noreturn]] void RaiseNoRecordset() const;
  // A new list with one entry per row: field 0, or with packed set fields 0
  // to 2 each ended by U+000C. For a statement that gave no recordset: an
  // empty list, or E_POINTER when failedIsError (those reads also close the
  // recordset before releasing it).
  CStringList* ReadList(const CString& sql, bool packed, bool failedIsError);

  _ConnectionPtr m_connection;
  bool m_readOnly = false;
};

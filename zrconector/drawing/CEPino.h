#pragma once
// The pin check's records: one connector instance of the drawing (CEConectorPinos)
// and its pins (CEPino), with their statuses.

#include <memory>
#include <vector>

#include "drawing/BlockStore.h"
#include "drawing/PinText.h"
#include "zrdwg/OdString.h"

namespace zr {

// Pin statuses.
enum {
  PINO_OK = 0,                // a catalogue pin of the code, with a symbol
  PINO_FALTANTE = 1,          // a catalogue pin that no symbol of the instance carries
  PINO_DESCONHECIDO = 2,      // a symbol whose identifier the catalogue lacks
  PINO_LIGACAO_INVALIDA = 3,  // touches a pin it may not be connected to
};

// Connector states.
enum {
  CONECTOR_OK = 0,
  CONECTOR_PINO_DESCONHECIDO = 1,
  CONECTOR_LIGACAO_INVALIDA = 2,
};

class CEConectorPinos;
class CEPino;

// Where the pins of one check's records are made (see BlockStore).
using PinStore = BlockStore<CEPino>;

class CEPino {
 public:
  PinText handle;      // handle text of the symbol; empty for a pin without one
  PinText identifier;  // the symbol's identifier, or PINO_ID for a missing pin
  PinText pin;         // PINO_PINO of the matching catalogue row; empty when none
  CEConectorPinos* owner = nullptr;
  CEPino* mate = nullptr;  // the coinciding pin of another symbol
  double x = 0.0;
  double y = 0.0;
  int status = PINO_OK;
};

// How a record lets go of a pin: nothing to do, the pin goes with its store.
struct PinRelease {
  void operator()(CEPino*) const noexcept {}
};
static_assert(sizeof(std::unique_ptr<CEPino, PinRelease>) == sizeof(CEPino*), "a record's list holds pointers only");

class CEConectorPinos {
 public:
  // store: where the record's pins are made, shared by the records of one
  // check; a record given none makes its own with its first pin.
  CEConectorPinos(const OdString& name, const OdString& code, bool flag, std::shared_ptr<PinStore> store = nullptr)
      : m_store(std::move(store)), m_name(name), m_code(code), m_flag(flag) {}
  CEConectorPinos(const CEConectorPinos&) = delete;
  CEConectorPinos& operator=(const CEConectorPinos&) = delete;

  // Appends a pin owned by this record; a status of PINO_DESCONHECIDO makes the
  // record's state CONECTOR_PINO_DESCONHECIDO. Returns the pin.
  CEPino* AddPino(const OdString& identifier, const OdString& handle, const OdString& pin, int status, double x,
                  double y);
  // A pin of this record made as AddPino makes it, but listed in the
  // record's pins only by ListMadePins: a reader of a drawing's symbols
  // makes them all first, so that each record's list is then taken once, at
  // its size, and not grown pin by pin (200,000 pins cost some 50,000
  // allocations and thousands of page faults so).
  CEPino* MakePino(const OdString& identifier, const OdString& handle, const OdString& pin, int status, double x,
                   double y);
  // Lists every pin of store made by MakePino in its record's pins, in the
  // order made, after the pins the records hold.
  // REQUIRES: every pin of store was made by MakePino and is not listed yet,
  // and the records that made them still exist.
  static void ListMadePins(PinStore& store);

  // The first pin whose identifier equals identifier (case-sensitive).
  bool FindPino(const OdString& identifier, CEPino*& pin) const;

  const OdString& GetNome() const { return m_name; }
  const OdString& GetCodigo() const { return m_code; }
  bool GetFlag() const { return m_flag; }
  // The flag as written to the symbols: "S" when set, "N" when not.
  OdString GetFlagTexto() const { return OdString(m_flag ? u"S" : u"N"); }
  void SetNome(const OdString& name) { m_name = name; }
  void SetCodigo(const OdString& code) { m_code = code; }
  void SetFlag(bool flag) { m_flag = flag; }

  int GetEstado() const { return m_state; }
  void SetEstado(int state) { m_state = state; }
  const std::vector<std::unique_ptr<CEPino, PinRelease>>& GetPinos() const { return m_pins; }

 private:
  // A pin of this record in its store, not listed.
  CEPino* Make(const OdString& identifier, const OdString& handle, const OdString& pin, int status, double x,
               double y);

  std::shared_ptr<PinStore> m_store;  // before the pins: they go first
  std::vector<std::unique_ptr<CEPino, PinRelease>> m_pins;  // in the order found
  std::size_t m_made = 0;  // pins made by MakePino, not yet listed
  OdString m_name;
  OdString m_code;
  bool m_flag;
  int m_state = CONECTOR_OK;
};

// The records of one check, owned by the caller.
using ConectoresPinos = std::vector<std::unique_ptr<CEConectorPinos>>;

}  // namespace zr

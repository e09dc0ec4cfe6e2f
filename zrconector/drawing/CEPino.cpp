#include "drawing/CEPino.h"

namespace zr {

CEPino* CEConectorPinos::AddPino(const OdString& identifier, const OdString& handle, const OdString& pin, int status,
                                 double x, double y) {
  // A pin that the record fails to hold stays in the store, which destroys
  // it with the rest.
  m_pins.emplace_back(Make(identifier, handle, pin, status, x, y));
  return m_pins.back().get();
}

CEPino* CEConectorPinos::MakePino(const OdString& identifier, const OdString& handle, const OdString& pin, int status,
                                  double x, double y) {
  CEPino* p = Make(identifier, handle, pin, status, x, y);
  ++m_made;
  return p;
}

CEPino* CEConectorPinos::Make(const OdString& identifier, const OdString& handle, const OdString& pin, int status,
                              double x, double y) {
  if (!m_store) m_store = std::make_shared<PinStore>();
  CEPino* p = m_store->Make();
  p->identifier = identifier;
  p->handle = handle;
  p->pin = pin;
  p->owner = this;
  p->status = status;
  p->x = x;
  p->y = y;
  if (status == PINO_DESCONHECIDO) m_state = CONECTOR_PINO_DESCONHECIDO;
  return p;
}

void CEConectorPinos::ListMadePins(PinStore& store) {
  // Each record's list takes its room once (a failure leaves every list as
  // it was); then the pins go in, in the order made.
  store.ForEach([](CEPino& pin) {
    CEConectorPinos& record = *pin.owner;
    record.m_pins.reserve(record.m_pins.size() + record.m_made);
  });
  store.ForEach([](CEPino& pin) {
    CEConectorPinos& record = *pin.owner;
    record.m_pins.emplace_back(&pin);
    record.m_made = 0;
  });
}

bool CEConectorPinos::FindPino(const OdString& identifier, CEPino*& pin) const {
  for (const auto& p : m_pins) {
    if (p->identifier == identifier) {
      pin = p.get();
      return true;
    }
  }
  return false;
}

}  // namespace zr

#include "placed_pairing.h"

#include "drawing/PinGrid.h"

namespace {

std::unique_ptr<CStringList> listOf(const std::vector<OdString>& items) {
  auto list = std::make_unique<CStringList>(10);
  for (const OdString& item : items) list->AddTail(CString(item.str()));
  return list;
}

std::vector<OdString> itemsOf(const std::unique_ptr<CStringList>& list) {
  std::vector<OdString> items;
  for (POSITION pos = list ? list->GetHeadPosition() : nullptr; pos;) items.emplace_back(list->GetNext(pos).str());
  return items;
}

// The second form-feed-ended field of a packed pin row (PINO_ID), taking a
// run of separators as one, as the module's tokenizer does.
OdString identifierOf(const OdString& row) {
  const std::u16string& text = row.str();
  std::size_t field = 0, i = 0;
  while (i < text.size()) {
    while (i < text.size() && text[i] == u'\f') ++i;
    if (i >= text.size()) break;
    std::size_t end = text.find(u'\f', i);
    if (end == std::u16string::npos) end = text.size();
    if (++field == 2) return OdString(text.substr(i, end - i));
    i = end;
  }
  return OdString();
}

}  // namespace

const std::vector<OdString>& CheckCatalogue::rows(const OdString& code) {
  auto it = rows_.find(code.str());
  if (it == rows_.end()) it = rows_.emplace(code.str(), itemsOf(inner_.LinhasPinos(code))).first;
  return it->second;
}

std::unique_ptr<CStringList> CheckCatalogue::LinhasPinos(const OdString& code) { return listOf(rows(code)); }

std::unique_ptr<CStringList> CheckCatalogue::ContraPecas(const OdString& code) {
  auto it = mating_.find(code.str());
  if (it == mating_.end()) it = mating_.emplace(code.str(), itemsOf(inner_.ContraPecas(code))).first;
  return listOf(it->second);
}

bool CheckCatalogue::unknownCode(const OdString& code) { return rows(code).empty(); }

bool CheckCatalogue::knowsPin(const OdString& code, const OdString& identifier) {
  for (const OdString& row : rows(code))
    if (identifierOf(row) == identifier) return true;
  return false;
}

void pairPlacedSymbols(zr::ConectoresPinos& records, CheckCatalogue& catalogue) {
  // Undo: each pin's status before the pairing, each record's state from
  // its own pins.
  for (auto& record : records) {
    record->SetEstado(zr::CONECTOR_OK);
    for (const auto& pin : record->GetPinos()) {
      pin->mate = nullptr;
      if (pin->status == zr::PINO_LIGACAO_INVALIDA) {
        if (pin->handle.isEmpty()) pin->status = zr::PINO_FALTANTE;
        else if (!pin->pin.isEmpty() || catalogue.knowsPin(record->GetCodigo(), pin->identifier))
          pin->status = zr::PINO_OK;
        else pin->status = zr::PINO_DESCONHECIDO;
      }
      if (pin->status == zr::PINO_DESCONHECIDO) record->SetEstado(zr::CONECTOR_PINO_DESCONHECIDO);
    }
  }
  // Pair again, symbols only, in check order; a record's state is settled
  // after its own pins, as in the module.
  std::map<std::u16string, std::set<std::u16string>> mating;
  const zr::PinGrid grid(records);
  for (auto& record : records) {
    for (const auto& pin : record->GetPinos()) {
      if (pin->handle.isEmpty()) continue;
      zr::CEPino* other = grid.Find(pin.get());
      if (!other) continue;
      pin->mate = other;
      other->mate = pin.get();
      if (pin->status == zr::PINO_LIGACAO_INVALIDA) continue;
      const OdString& code = pin->owner->GetCodigo();
      auto it = mating.find(code.str());
      if (it == mating.end()) {
        std::set<std::u16string> codes;
        for (const OdString& c : itemsOf(catalogue.ContraPecas(code))) codes.insert(c.str());
        it = mating.emplace(code.str(), std::move(codes)).first;
      }
      // As the module compares: the code up to its first U+0000.
      const bool mayMate = it->second.count(std::u16string(other->owner->GetCodigo().c_str())) != 0;
      if (!mayMate || other->owner->GetNome() == pin->owner->GetNome()) {
        pin->status = zr::PINO_LIGACAO_INVALIDA;
        other->status = zr::PINO_LIGACAO_INVALIDA;
      }
    }
    for (const auto& pin : record->GetPinos())
      if (pin->status == zr::PINO_LIGACAO_INVALIDA) {
        record->SetEstado(zr::CONECTOR_LIGACAO_INVALIDA);
        break;
      }
  }
}

#include "placed_pairing.h"

#include <map>
#include <set>
#include <string>
#include <vector>

#include "drawing/PinGrid.h"

void pairPlacedSymbols(zr::ConectoresPinos& records, CheckCatalogue& catalogue) {
  std::map<std::u16string, std::set<std::u16string>> mating;
  const LargeArray<zr::CEPino*> found = zr::PinGrid(records).FindEach();
  std::size_t next = 0;
  for (auto& record : records) {
    for (const auto& pin : record->GetPinos()) {
      zr::CEPino* other = found[next++];
      if (pin->handle.isEmpty()) continue;
      if (!other) continue;
      pin->mate = other;
      other->mate = pin.get();
      if (pin->status == zr::PINO_LIGACAO_INVALIDA) continue;
      const OdString& code = pin->owner->GetCodigo();
      auto it = mating.find(code.str());
      if (it == mating.end()) {
        std::set<std::u16string> codes;
        for (const OdString& c : catalogue.mates(code)) codes.insert(c.str());
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

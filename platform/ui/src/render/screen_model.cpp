// The screen model: re-renders the screen and reports the changed cells.
#include "core/window_store.h"
#include "zrui/textrender.h"

namespace zrui {

ScreenModel::ScreenModel(int columns, int rows) : columns_(columns), rows_(rows), grid_(columns, rows) {}

void ScreenModel::Resize(int columns, int rows) {
  columns_ = columns;
  rows_ = rows;
  full_ = true;
}

void ScreenModel::SetPan(POINT pan) {
  if (pan.x != pan_.x || pan.y != pan_.y) full_ = true;
  pan_ = pan;
}

bool ScreenModel::NeedsUpdate() const { return full_ || detail::ScreenGeneration() != generation_; }

std::vector<CellSpan> ScreenModel::Update() {
  // The generation is read before painting: a change made while painting
  // shows at the next update.
  generation_ = detail::ScreenGeneration();
  TextGrid next = RenderScreen(columns_, rows_, pan_);
  std::vector<CellSpan> spans;
  bool all = full_ || grid_.width() != next.width() || grid_.height() != next.height();
  for (int r = 0; r < next.height(); ++r) {
    CellSpan run{r, -1, 0};
    for (int c = 0; c <= next.width(); ++c) {
      bool changed = c < next.width() && (all || !(next.at(c, r) == grid_.at(c, r)));
      if (changed && run.col < 0) run.col = c;
      if (!changed && run.col >= 0) {
        run.count = c - run.col;
        spans.push_back(run);
        run = CellSpan{r, -1, 0};
      }
    }
  }
  grid_ = std::move(next);
  full_ = false;
  return spans;
}

int ScreenChangeDescriptor() { return detail::ScreenChangeFd(); }

void AcknowledgeScreenChange() { detail::ArmScreenChange(); }

}  // namespace zrui

// Painting of top-level windows onto any surface, shared by the text
// renderer, the screen model and the pictures.
#pragma once

#include <vector>

#include "gdi/gdi_objects.h"
#include "render/grid_surface.h"

namespace zrui::detail {

// Paints a top-level window with its frame, children and container frames.
// `origin`: the screen point at the surface's (0, 0).
void PaintTopLevel(HWND top, Surface* surface, POINT origin);
// Visible top-level windows, bottom to top: z-order, topmost windows last.
std::vector<HWND> VisibleTopLevelWindows();
// Visible top-level windows owned by `owner` or by one of its children.
std::vector<HWND> OwnedPopups(HWND owner);

}  // namespace zrui::detail

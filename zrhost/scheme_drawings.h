#pragma once
// Drawings in Scheme: open, close, list, make active, save, save as; entity
// names and handles; system variables; the connector names of a drawing.
//
// A drawing is named by its index in (drawings) (from 0, in opening order)
// or by its path as opened; where the argument is optional the active
// drawing is meant. Failures (a drawing that does not load, a failed save)
// are Scheme errors with the object model's description.

namespace zrhost {

// Defines the procedures in the current module.
void initDrawingProcedures();

}  // namespace zrhost

#pragma once
// Figures of the zrhost process itself, for long sessions that must stay
// flat: its memory (from /proc/self/status) and its open file descriptors
// (from /proc/self/fd). Linux only; elsewhere the procedures fail with a
// host-error.

namespace zrhost {

// Defines (process-memory) and (process-open-files) in the current module.
void initProcessProcedures();

}  // namespace zrhost

#pragma once
// The picture of the active drawing in Scheme: (check-picture PATH) runs the
// module's pin check on it, as zrcheck does, and writes its model space with
// the findings marked, as SVG or (".html", ".htm") an HTML page with the
// table of findings. See tools/picture.

namespace zrhost {

// Defines the procedures in the current module.
void initPictureProcedures();

}  // namespace zrhost

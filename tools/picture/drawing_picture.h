#pragma once
// A picture of a drawing's model space with the findings of its pin check
// marked where they are: an SVG document, or an HTML page holding the SVG
// and the table of findings, linked both ways. Both are self-contained (no
// file, font or script from elsewhere).
//
// The SVG's root carries the map from drawing to pixel coordinates:
//   pixel x = data-offset-x + data-scale * x,  pixel y = data-offset-y - data-scale * y
// (width and height are pixels, the viewBox the same size), so that tools
// and tests find a drawing point in a rendering of it.

#include <string>
#include <vector>

#include "zrdwg/OdDbDatabase.h"
#include "findings.h"

namespace picture {

// The SVG document. `title` names the drawing (its path, say). With
// `rowLinks`, each finding's mark links to "#row-ID" of a table beside it
// (as drawingHtml makes). REQUIRES: db stays open and unchanged meanwhile.
std::string drawingSvg(const OdDbDatabase& db, const Findings& findings, const std::string& title,
                       bool rowLinks = false);

// The HTML page: the title, the SVG inline, and the table of findings (one
// row "row-ID" per finding, in order) whose rows link to their marks
// ("#f-ID") while the marks link back.
std::string drawingHtml(const OdDbDatabase& db, const Findings& findings, const std::string& title);

enum class PictureFormat { kSvg, kHtml };
// kHtml when `path` ends in ".html" or ".htm" (any case), else kSvg.
PictureFormat formatOf(const std::string& path);

// Writes the picture to `path`: whole beside it, then renamed into place, so
// a failure leaves no half picture (nor spoils an older one). Returns "" when
// written, else why not ("-", standard output, is refused).
std::string writePicture(const std::string& path, PictureFormat format, const OdDbDatabase& db,
                         const Findings& findings, const std::string& title);

// Where the picture of `drawing` goes when `count` drawings are checked and
// the picture option named `path`: `path` itself for one drawing; for
// several, the drawing's file stem joined to it ("out/report.svg" and
// "sheets/s1.dxf" give "out/report-s1.svg"; standard input, "-", is "stdin").
std::string picturePathFor(const std::string& path, const std::string& drawing, std::size_t count);

}  // namespace picture

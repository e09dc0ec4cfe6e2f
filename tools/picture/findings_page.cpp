// The HTML page of a picture: the SVG inline and the table of findings.
#include "drawing_picture.h"
#include "finding_marks.h"
#include "svg_text.h"

namespace picture {
namespace {

constexpr const char* kPageStyle =
    "body { font-family: 'DejaVu Sans', sans-serif; margin: 1em; color: #111827 }\n"
    // The whole picture, drawing and legend, scaled to the window.
    ".picture { border: 1px solid #d1d5db }\n"
    ".picture svg { display: block; width: 100%; height: auto; max-height: 85vh }\n"
    "table { border-collapse: collapse; margin-top: 1em }\n"
    "th, td { border: 1px solid #d1d5db; padding: 2px 8px; text-align: left }\n"
    "tr:target { background: #fef3c7 }\n"
    ".swatch { display: inline-block; width: 0.8em; height: 0.8em; border-radius: 50%; margin-right: 0.4em }\n"
    ".zr-picture g:target circle.at { stroke-width: 6 }\n";

std::string cell(const std::string& text) { return "<td>" + xmlText(text) + "</td>"; }

}  // namespace

std::string drawingHtml(const OdDbDatabase& db, const Findings& findings, const std::string& title) {
  const std::vector<std::string> ids = findingIds(findings);
  int errors = 0;
  for (const Finding& f : findings) errors += f.severity != "warning";
  std::string out = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>" +
                    xmlText(title) + "</title>\n<style>\n" + kPageStyle + "</style>\n</head>\n<body>\n";
  out += "<h1>" + xmlText(title) + "</h1>\n<p>" + std::to_string(findings.size()) + " findings, " +
         std::to_string(errors) + " of them errors. A row leads to its mark; a mark to its row.</p>\n";
  out += "<div class=\"picture\">\n" + drawingSvg(db, findings, title, true) + "</div>\n";
  out += "<table id=\"findings\">\n<thead><tr><th>#</th><th>Rule</th><th>Severity</th><th>Connector</th>"
         "<th>Code</th><th>Pin</th><th>Pin code</th><th>Symbol</th><th>Position</th><th>Touches</th>"
         "</tr></thead>\n<tbody>\n";
  for (std::size_t i = 0; i < findings.size(); ++i) {
    const Finding& f = findings[i];
    const std::string& id = ids[i];
    out += "<tr id=\"row-" + id.substr(2) + "\" class=\"finding\">";
    out += "<td><a href=\"#" + id + "\">" + std::to_string(i + 1) + "</a></td>";
    out += "<td><span class=\"swatch\" style=\"background: " + markColour(f.rule, f.severity) + "\"></span>" +
           xmlText(f.rule) + "</td>";
    out += cell(f.severity) + cell(f.connector) + cell(f.code) + cell(f.identifier) + cell(f.pin) + cell(f.handle);
    out += cell(f.x && f.y ? number(*f.x) + ", " + number(*f.y) : "");
    out += cell(f.related ? f.related->connector + ":" + f.related->identifier : "");
    out += "</tr>\n";
  }
  out += "</tbody>\n</table>\n</body>\n</html>\n";
  return out;
}

}  // namespace picture

// zrdxf: looks into DXF drawings through the object model.
//   zrdxf info DRAWING... [--json] [-o FILE]    what each drawing holds
//   zrdxf roundtrip IN OUT                      read into the model and write back
//   zrdxf audit DRAWING... [--json] [-o FILE]   numbered findings (see audit_printer.h)
//   zrdxf audit DRAWING --fix OUT              and a repaired copy (see audit_command.h)
// Exit status: 0 on success, 2 on bad input, usage or output (the reason on
// stderr); audit: 0 no findings, 1 findings, 2 a drawing cannot be read.

#include <nlohmann/json.hpp>

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "zrdwg/DrawingAudit.h"
#include "zrdwg/OdDbDatabase.h"
#include "audit_command.h"
#include "audit_printer.h"
#include "command_line.h"
#include "drawing_input.h"
#include "parallel.h"
#include "report_output.h"
#include "summary_printer.h"

namespace {

struct Options {
  std::vector<std::string> drawings;
  bool json = false;
  std::string output = "-";
  std::string in, out;
  std::string fix;  // audit: the repaired copy to write, if any
};

// What one drawing gave: its part of the report, or why it could not be read.
struct Outcome {
  std::string text;            // the text report
  nlohmann::ordered_json json;  // or the JSON one
  std::string error;
  bool findings = false;
};

// Runs `one` on every drawing on all cores; standard input ("-") is read
// first, once. `one` fills the outcome's text (or throws).
template <class One>
std::vector<Outcome> overDrawings(const std::vector<std::string>& paths, One one) {
  std::vector<Outcome> outcomes(paths.size());
  std::string input;
  for (std::size_t i = 0; i < paths.size(); ++i) {
    if (paths[i] != "-") continue;
    try {
      input = readStandardInput();
    } catch (const std::exception& e) {
      outcomes[i].error = e.what();
    }
  }
  forEachInParallel(paths.size(), [&](std::size_t i) {
    if (!outcomes[i].error.empty()) return;
    try {
      checkDrawingPath(paths[i]);
      one(paths[i], input, outcomes[i]);
    } catch (const OdError& e) {
      outcomes[i].error = e.description().toUtf8();
    } catch (const std::exception& e) {
      outcomes[i].error = e.what();
    } catch (...) {
      outcomes[i].error = drawingName(paths[i]) + ": the drawing could not be read";
    }
  });
  return outcomes;
}

// Prints the outcomes in the order given, the errors on stderr. Text: each
// drawing's part under "== PATH" when there are several. JSON: one document
// {"tool", "version", "drawings": [{"path", "error", KEY: part}]}.
int print(const Options& o, const std::vector<Outcome>& outcomes, const char* key) {
  ReportOutput output(o.output);
  if (!output.openError().empty()) {
    std::cerr << "zrdxf: " << output.openError() << "\n";
    return 2;
  }
  std::ostream& out = output.stream();
  int status = 0;
  nlohmann::ordered_json drawings = nlohmann::ordered_json::array();
  for (std::size_t i = 0; i < outcomes.size(); ++i) {
    const Outcome& r = outcomes[i];
    if (!r.error.empty()) {
      std::cerr << "zrdxf: " << r.error << "\n";
      status = 2;
    } else if (r.findings && status == 0) {
      status = 1;
    }
    if (o.json) {
      drawings.push_back({{"path", drawingName(o.drawings[i])},
                          {"error", r.error.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(r.error)},
                          {key, r.error.empty() ? r.json : nlohmann::ordered_json()}});
    } else if (outcomes.size() > 1) {
      out << "== " << drawingName(o.drawings[i]) << "\n" << (r.error.empty() ? r.text : "not read: " + r.error + "\n");
    } else {
      out << r.text;  // empty when the drawing was not read: the reason is on stderr
    }
  }
  if (o.json) {
    const nlohmann::ordered_json document = {{"tool", "zrdxf"}, {"version", toolVersion()}, {"drawings", drawings}};
    // Texts of a drawing need not be UTF-8: replaced, not refused.
    out << document.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << "\n";
  }
  if (std::string why = output.finish(); !why.empty()) {
    std::cerr << "zrdxf: " << why << "\n";
    return 2;
  }
  return status;
}

// The one drawing of `zrdxf info`, never freed (see info()). Volatile: the
// store is kept although nothing reads it, so the drawing stays reachable.
OdDbDatabase* volatile gKeptUntilExit = nullptr;

int info(const Options& o) {
  auto outcomes = overDrawings(o.drawings, [&](const std::string& path, const std::string& input, Outcome& r) {
    // The summary only looks: the drawing is read to be inspected, without
    // what only a writer needs (the summary counts no SEQEND).
    constexpr OdDbReadPurpose kLook = OdDbReadPurpose::kInspect;
    OdDbDatabasePtr db = path == "-" ? OdDbDatabase::readDxfText(input, OdString::fromUtf8(drawingName(path)), kLook)
                                     : OdDbDatabase::readDxf(OdString::fromUtf8(path), kLook);
    if (o.json) {
      r.json = summaryJson(summarize(*db));
    } else {
      std::ostringstream text;
      printSummary(summarize(*db), text);
      r.text = text.str();
    }
    // The drawing of a run over one drawing is left for the end of the
    // process to reclaim at once: freeing its objects one by one would cost
    // a tenth of the run. It stays reachable, so a leak check does not report
    // it. Several drawings are freed each as it is done, to bound memory.
    if (o.drawings.size() == 1) gKeptUntilExit = db.detach();
  });
  return print(o, outcomes, "info");
}

int audit(const Options& o) {
  auto outcomes = overDrawings(o.drawings, [&](const std::string& path, const std::string& input, Outcome& r) {
    const std::vector<AuditFinding> findings =
        path == "-" ? auditDxfText(input, OdString::fromUtf8(drawingName(path))) : auditDxfFile(OdString::fromUtf8(path));
    if (o.json) {
      r.json = findingsJson(findings);
    } else {
      std::ostringstream text;
      printFindings(findings, text);
      r.text = text.str();
    }
    r.findings = !findings.empty();
  });
  return print(o, outcomes, "findings");
}

// One drawing audited and repaired into a copy; the drawing itself is never
// written.
int auditAndFix(const Options& o) {
  if (o.drawings.size() != 1 || o.drawings[0] == "-" || o.json || o.output != "-") {
    std::cerr << "zrdxf: audit --fix takes one drawing file, without --json or -o\n";
    return 2;
  }
  const int status = runAudit(o.drawings[0], &o.fix, std::cout);
  std::cout.flush();
  if (!std::cout) {
    std::cerr << "zrdxf: the report could not be written to standard output\n";
    return 2;
  }
  return status;
}

int roundtrip(const Options& o) {
  OdDbDatabasePtr db = readDrawing(o.in);
  if (o.out == "-") {
    std::cerr << "zrdxf: roundtrip writes a file; give its name instead of -\n";
    return 2;
  }
  db->writeDxf(OdString::fromUtf8(o.out));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  reportBrokenPipes();
  Options o;
  CLI::App app{"zrdxf: looks into DXF drawings through the project's object model"};
  setUpCommandLine(app, "zrdxf");
  app.require_subcommand(1);

  auto addReportOptions = [&](CLI::App* sub) {
    sub->add_option("drawings", o.drawings, "DXF drawings, reported in the order given; - reads standard input")
        ->required()
        ->option_text("DRAWING...");
    sub->add_flag("--json", o.json, "write one JSON document");
    sub->add_option("-o,--output", o.output, "write to FILE instead of standard output")->option_text("FILE");
  };
  CLI::App* infoCommand = app.add_subcommand(
      "info", "what each drawing holds: version, code page, entities by type and space, blocks, dictionaries, "
              "applications with extended data");
  addReportOptions(infoCommand);
  CLI::App* auditCommand = app.add_subcommand(
      "audit", "numbered findings other CAD programs may stumble on (\"N. line L: KIND HANDLE: what\"), then a "
               "count; the drawings are not changed");
  addReportOptions(auditCommand);
  auditCommand
      ->add_option("--fix", o.fix,
                   "write a repaired copy to OUT (dangling entries removed, owners set to their container) and list "
                   "the changes; one drawing")
      ->option_text("OUT");
  CLI::App* roundtripCommand = app.add_subcommand("roundtrip", "read a drawing into the object model and write it back");
  roundtripCommand->add_option("in", o.in, "the drawing to read; - reads standard input")->required()->option_text("IN");
  roundtripCommand->add_option("out", o.out, "the DXF file to write")->required()->option_text("OUT");
  app.footer("Each subcommand has its own --help. Drawings are read on every core and reported in the\n"
             "order given.\n\n"
             "Exit status: 0 done (audit: no findings); 1 audit found something; 2 a drawing could not be\n"
             "read, the output could not be written, or bad usage.\n\n"
             "Examples:\n  zrdxf info --json drawing.dxf\n  zrdxf audit sheet1.dxf sheet2.dxf\n"
             "  zrdxf audit --fix repaired.dxf sheet1.dxf\n  zrdxf roundtrip in.dxf out.dxf");
  if (std::optional<int> done = parseCommandLine(app, argc, argv)) return *done;
  if (std::count(o.drawings.begin(), o.drawings.end(), "-") > 1) {
    std::cerr << "zrdxf: standard input (-) can be given once\n";
    return 2;
  }
  try {
    if (*infoCommand) return info(o);
    if (*auditCommand) return o.fix.empty() ? audit(o) : auditAndFix(o);
    return roundtrip(o);
  } catch (const OdError& e) {
    std::cerr << "zrdxf: " << e.description().toUtf8() << "\n";
    return 2;
  } catch (const std::exception& e) {
    std::cerr << "zrdxf: " << e.what() << "\n";
    return 2;
  }
}

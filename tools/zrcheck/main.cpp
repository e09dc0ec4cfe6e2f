// zrcheck: checks the pin symbols of drawings against the catalogue, without
// the host, for pipelines. See README.md for the command line, the report and
// the exit status (0 clean, 1 problems, 2 could not check).

#include <algorithm>
#include <atomic>
#include <functional>
#include <future>
#include <chrono>
#include <ctime>
#include <iostream>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "zrfx/FxDocumentManager.h"
#include "zrdwg/BackgroundFaults.h"
#include "zrdwg/KeptMemory.h"
#include "zrdwg/OdResBuf.h"
#include "catalog/CIBancoDados.h"
#include "catalog/PinCatalogue.h"
#include "check_catalogue.h"
#include "catalogue_choice.h"
#include "catalogue_settings.h"
#include "check_policy.h"
#include "check_report.h"
#include "command_line.h"
#include "drawing_check.h"
#include "drawing_picture.h"
#include "drawing_reader.h"
#include "drawing_input.h"
#include "findings.h"
#include "junit_report.h"
#include "report_output.h"
#include "sarif_report.h"
#include "severity_settings.h"
#include "sqlite_locks.h"
#include "zrcom/com_error.h"
#include "zrui/msgbox.h"

namespace {

constexpr const char* kDefaultTag = "ID_PINO";

struct Options {
  std::string program = "zrhost";
  std::optional<std::string> settings, catalogue, attrTag;
  std::string output = "-";
  std::vector<std::string> severities;
  bool json = false;
  bool quiet = false;
  std::string format;  // text, json, sarif or junit; empty: text, or json with --json
  std::vector<std::string> waivers;
  std::optional<std::string> baseline;
  std::string base;  // SARIF URIs relative to it; empty: the working folder
  std::vector<std::string> drawings;
  std::optional<std::string> svg, html;  // pictures of the drawings with their findings
  unsigned jobs = std::max(1u, std::thread::hardware_concurrency());  // drawings read at once
};

// The picture files of every drawing (empty when not asked for). Returns ""
// or why they cannot be written: standard output, or two drawings of one
// file stem that would write the same file.
std::string picturePaths(const std::optional<std::string>& option, const char* name,
                         const std::vector<std::string>& drawings, std::vector<std::string>& paths) {
  paths.assign(drawings.size(), std::string());
  if (!option) return {};
  if (option->empty() || *option == "-") return std::string(name) + " names a file; a picture does not go to standard output";
  std::set<std::string> seen;
  for (std::size_t i = 0; i < drawings.size(); ++i) {
    paths[i] = picture::picturePathFor(*option, drawings[i], drawings.size());
    if (!seen.insert(paths[i]).second)
      return std::string(name) + ": two drawings would write " + paths[i] + " (the file stem of each drawing is " +
             "added to the name); check them one at a time";
  }
  return {};
}

// A catalogue that cannot serve the check, as one message.
struct CatalogueError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The tables and columns the pin check reads.
void requireCatalogueTables(CIBancoDados& db, const std::string& catalogue) {
  struct Need {
    const char16_t* table;
    std::vector<const char16_t*> columns;
  };
  const Need needs[] = {{u"BDPINOS", {u"PINO_KEY", u"PINO_CONECTOR", u"PINO_PINO", u"PINO_ID"}},
                        {u"BDCONTRAPECAS", {u"CONTRA_CON_A", u"CONTRA_CON_B"}}};
  for (const Need& need : needs) {
    const std::string table = OdString(need.table).toUtf8();
    if (!db.TableExists(need.table))
      throw CatalogueError("the catalogue " + catalogue + " has no table " + table +
                           " (is it a connector catalogue? see docs/catalogue.md)");
    for (const char16_t* column : need.columns)
      if (!db.ColumnExists(need.table, column))
        throw CatalogueError("the catalogue " + catalogue + " has no column " + OdString(column).toUtf8() +
                             " in table " + table);
  }
}

// Opens the catalogue read-only with a blank drawing active (the program
// name is read from the active drawing) and checks its tables.
void openCatalogue(CFxDocumentManager* documents, const std::string& catalogue) {
  CFxDocument* blank = documents->AddDocument(OdDbDatabase::createNew(), OdString(u"(catalogue check)"));
  struct Close {
    CFxDocumentManager* documents;
    CFxDocument* doc;
    ~Close() { documents->CloseDocument(doc); }
  } close{documents, blank};
  CIBancoDados* db = CIBancoDados::Instance();
  db->SetReadOnly();
  try {
    if (db->Open() != 0) throw CatalogueError("the catalogue " + catalogue + " could not be opened");
    requireCatalogueTables(*db, catalogue);
  } catch (const _com_error& e) {
    throw CatalogueError("the catalogue " + catalogue + " could not be opened: " + comErrorText(e));
  }
}

// The reports still held when the run is over, left for the end of the
// process to reclaim at once: freeing a large drawing's records (200,000
// pins, one by one) would cost more than the rest of the process's exit.
// They stay reachable, so a leak check does not report them.
std::vector<CheckReport>* volatile gKeptUntilExit = nullptr;

// Now, as "2026-12-07T04:50:00Z".
std::string isoDateNow() {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return text;
}

// Where the catalogue comes from, and what the pin symbols carry.
void addCatalogueOptions(CLI::App& app, Options& o) {
  app.add_option("-c,--catalogue", o.catalogue, "the catalogue file (SQLite) to check against, instead of settings")
      ->option_text("FILE");
  app.add_option("-s,--settings", o.settings,
                 "the folder holding PROGRAM.ini (default: $ZR_SETTINGS_DIR, then ~/.config/zrconector); with "
                 "--catalogue, only its [zrcheck] section is read")
      ->option_text("DIR");
  app.add_option("-p,--program", o.program, "the program whose settings name the catalogue (default zrhost)")
      ->option_text("NAME");
  app.add_option("-t,--attr-tag", o.attrTag, "tag of the pin identifier attribute (default ID_PINO)")
      ->option_text("TAG");
}

// The report's format and what decides which findings fail the run.
void addReportOptions(CLI::App& app, Options& o) {
  app.add_option("--format", o.format, "the report's format: text (the default), json, sarif (SARIF 2.1.0) or junit "
                 "(JUnit XML)")
      ->option_text("FORMAT")
      ->check(CLI::IsMember({"text", "json", "sarif", "junit"}));
  app.add_flag("--json", o.json, "the same as --format json");
  app.add_flag("-q,--quiet", o.quiet,
               "text report: only the findings that fail the run (new ones, with --baseline) and one summary line");
  app.add_option("--waivers", o.waivers,
                 "a waiver file (JSON) for every drawing; the file DRAWING.dxf.waivers.json beside a drawing is "
                 "read as well; repeatable")
      ->option_text("FILE")
      ->allow_extra_args(false);
  app.add_option("--baseline", o.baseline,
                 "an earlier JSON report: only findings not in it fail the run")
      ->option_text("FILE");
  app.add_option("--severity", o.severities,
                 "severity of a rule's findings: error (the default), warning or ignore; repeatable; over the "
                 "settings file's [zrcheck] severity.RULE keys. The exit status follows unwaived errors only. Rules: "
                 "pin.missing, pin.unknown, pin.invalid-mate, pin.self-mate, connector.unchecked, connector.unknown-code")
      ->option_text("RULE=LEVEL")
      ->allow_extra_args(false);
}

// Where the report and the pictures go, and the drawings.
void addOutputOptions(CLI::App& app, Options& o) {
  app.add_option("--svg", o.svg,
                 "also draw each drawing's model space with its findings marked, as SVG, to FILE (with several "
                 "drawings, FILE-STEM.svg: the drawing's file stem added)")
      ->option_text("FILE");
  app.add_option("--html", o.html,
                 "the same picture in an HTML page with the table of findings, linked both ways (several drawings "
                 "as for --svg)")
      ->option_text("FILE");
  app.add_option("--base", o.base,
                 "SARIF: artifact URIs relative to DIR (default: the working folder); drawings outside it get file: "
                 "URIs")
      ->option_text("DIR")
      ->check(CLI::ExistingDirectory);
  app.add_option("-j,--jobs", o.jobs,
                 "read and check up to N drawings at once, on N threads (default: the number of processors); -j 1 "
                 "keeps to one thread; the report is the same whatever N")
      ->option_text("N")
      ->check(CLI::Range(1u, 1024u));
  app.add_option("-o,--output", o.output, "write the report to FILE instead of standard output")
      ->option_text("FILE");
  app.add_option("drawings", o.drawings, "DXF drawings to check, in the report's order; - reads standard input")
      ->required()
      ->option_text("DRAWING...");
}

// The command line: every option into o, then what --help ends with.
void describeCommandLine(CLI::App& app, Options& o) {
  setUpCommandLine(app, "zrcheck");
  addCatalogueOptions(app, o);
  addReportOptions(app, o);
  addOutputOptions(app, o);
  app.footer("Checks the pin symbols of DXF drawings against the connector catalogue: missing pins, pins the\n"
             "catalogue does not know, pins that touch a pin they may not be connected to, and connectors\n"
             "placed in model space whose pins were not read. The catalogue is only read. Without --catalogue\n"
             "or a settings file in the folders above, nothing is checked (the examples installed with the\n"
             "programs are never used). The catalogue and the settings file used head the report.\n\n"
             "Exit status: 0 no finding fails the run; 1 findings of error severity that no waiver accepts\n"
             "(and, with --baseline, that the baseline does not hold); 2 could not check (drawing, catalogue,\n"
             "settings, waivers, baseline, output or usage).\n\n"
             "Example:\n"
             "  zrcheck --catalogue catalogo.db --json -o report.json sheet1.dxf sheet2.dxf\n"
             "  zrcheck --settings ci --baseline main.json --quiet sheets/*.dxf\n"
             "  zrcheck --settings ci --baseline main.json --format sarif -o zrcheck.sarif sheets/*.dxf\n\n"
             "See zrcheck(1) and zrcheck-waivers(5).");
}

// Why the run stops before it checks anything (exit 2): the message that
// follows "zrcheck: " on standard error.
struct CannotCheck {
  std::string message;
};

// What the command line asks for beyond the options themselves: the
// report's format and the levels of --severity. Throws CannotCheck on
// options that do not go together.
struct Request {
  std::string format;  // text, json, sarif or junit
  Severities severities;
};

Request checkUsage(const Options& o) {
  if (std::count(o.drawings.begin(), o.drawings.end(), "-") > 1)
    throw CannotCheck{"standard input (-) can be given once"};
  if (o.json && !o.format.empty() && o.format != "json")
    throw CannotCheck{"--json and --format " + o.format + " ask for two formats"};
  Request request;
  request.format = o.json ? "json" : o.format.empty() ? "text" : o.format;
  for (const std::string& assignment : o.severities)
    if (std::string why = addSeverity(assignment, request.severities); !why.empty()) throw CannotCheck{why};
  if (o.program.empty()) throw CannotCheck{"the program name (--program) must not be empty"};
  if (o.attrTag && o.attrTag->empty()) throw CannotCheck{"the attribute tag (--attr-tag) must not be empty"};
  return request;
}

// The waivers and the baseline, read before anything is checked.
void readPolicy(const Options& o, std::optional<CheckPolicy>& policy) {
  try {
    policy.emplace(o.drawings, o.waivers, o.baseline);
  } catch (const std::exception& e) {
    throw CannotCheck{printableLines(e.what())};
  }
}

// The picture files of --svg and --html, one per drawing (empty when not
// asked for).
struct PictureFiles {
  std::vector<std::string> svg, html;
  // True when a picture of some drawing is asked for.
  bool any() const {
    auto named = [](const std::string& file) { return !file.empty(); };
    return std::any_of(svg.begin(), svg.end(), named) || std::any_of(html.begin(), html.end(), named);
  }
};

PictureFiles pictureFiles(const Options& o) {
  PictureFiles files;
  for (const std::string& why : {picturePaths(o.svg, "--svg", o.drawings, files.svg),
                                 picturePaths(o.html, "--html", o.drawings, files.html)})
    if (!why.empty()) throw CannotCheck{printable(why)};
  return files;
}

// One line on standard error, "zrcheck: " first, written in one piece: the
// threads that check drawings say what fails while the main thread reports.
void say(const std::string& line) {
  const std::string text = "zrcheck: " + line + "\n";
  std::cerr.write(text.data(), static_cast<std::streamsize>(text.size()));
}

// The module's message boxes (a failed statement) go to standard error and
// count as catalogue errors: the check then went on without those rows.
// Counted from every thread that checks.
std::atomic<int> boxesShown{0};

void reportMessageBoxes() {
  zrui::SetMessageBoxResponder([](const zrui::MessageBoxInfo& box) {
    say(printableLines(OdString(box.text).toUtf8()));
    ++boxesShown;
    return box.defaultAnswer();
  });
}

// The catalogue and the settings file of the run, the levels in force (the
// settings file's first; the command line's win), and the catalogue opened.
// With --catalogue, fileCatalogue receives the settings made for it, which
// the caller keeps for the whole run.
void prepareRun(const Options& o, const Severities& commandLineSeverities, CheckPolicy& policy,
                CFxDocumentManager* documents, std::unique_ptr<CatalogueSettings>& fileCatalogue, CheckRun& run) {
  try {
    std::vector<std::string> folders;
    if (o.catalogue) {
      fileCatalogue = std::make_unique<CatalogueSettings>(o.program, *o.catalogue);
      folders = {fileCatalogue->folder()};
    } else {
      folders = checkerSettingsFolders(o.settings);
    }
    CatalogueChoice choice = chooseCatalogue(o.program, folders);
    run.catalogue = choice.catalogue;
    run.catalogueFile = choice.file;
    run.server = choice.address;
    run.database = choice.database;
    if (!choice.file.empty()) run.catalogueFingerprint = fileFingerprint(choice.file).value_or("");
    if (!choice.warning.empty()) std::cerr << "zrcheck: warning: " << choice.warning << "\n";
    if (!o.catalogue) run.settingsFile = choice.settingsFile;
    else if (o.settings) run.settingsFile = severitySettingsFile(*o.settings, o.program);
    if (!run.settingsFile.empty()) readSeveritySettings(run.settingsFile, policy.severities);
    for (const auto& [rule, level] : commandLineSeverities) policy.severities[rule] = level;
    run.severities = policy.severities;
    run.baselineFile = policy.baselineFile();
    openCatalogue(documents, run.catalogue);
  } catch (const std::exception& e) {
    throw CannotCheck{printableLines(e.what())};
  }
}

// What the run knows from the command line alone, before the catalogue:
// enough for the drawings to be read.
CheckRun startRun(const Options& o) {
  CheckRun run;
  run.date = isoDateNow();
  run.program = o.program;
  run.attrTag = o.attrTag.value_or(kDefaultTag);
  run.uriBase = o.base;
  OdDbDatabase::setHostSysVar(OdString(u"PROGRAM"), OdResBuf::newRb(OdResBuf::kDxfText, OdString::fromUtf8(o.program)));
  return run;
}

// How a drawing is checked on its worker thread.
struct CheckHow {
  bool keep = false;          // the drawing is kept past its check (for its pictures)
  bool secondThread = false;  // the check may take a second thread
  bool jsonAhead = false;     // the JSON report's connectors are written on the worker
};

// The check of one drawing, on the worker thread that read it: the
// drawing's own part of the report. Why it stopped, if it did, is kept for
// the main thread to say. The drawing goes during the check unless how.keep.
void checkRead(const CheckRun& run, RunCatalogue& catalogue, const std::string& path, ReadDrawing& drawing,
               CheckReport& report, const CheckHow& how) {
  report.drawing = path;
  const OdResBufPtr insunits = drawing.db->getSysVar(OdString(u"INSUNITS"));
  report.units = unitsName(insunits.isNull() ? 0 : insunits->getInt32());
  const auto started = std::chrono::steady_clock::now();
  CheckCatalogue view(catalogue);
  try {
    checkDrawing(report, how.keep ? drawing.db : std::move(drawing.db), OdString::fromUtf8(run.attrTag), view,
                 how.secondThread);
    if (how.jsonAhead) writeConnectorsAhead(report);
  } catch (const _com_error& e) {
    report.records.clear();
    report.findings.clear();
    drawing.checkError = drawingName(path) + ": catalogue: " + comErrorText(e);
  } catch (const OdError& e) {
    report.records.clear();
    drawing.checkError = drawingName(path) + ": " + e.description().toUtf8();
  } catch (const std::exception& e) {
    report.records.clear();
    drawing.checkError = drawingName(path) + ": " + e.what();
  }
  drawing.catalogueFailed = view.failed();
  report.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
}

// The reports judged one after the other, in the order given, on the main
// thread; status is the run's exit status so far.
struct DrawingChecks {
  const CheckRun& run;
  CheckPolicy& policy;
  const PictureFiles& pictures;
  int status = 0;

  // The drawing at index (given as path, read and checked into drawing and
  // report): the waivers and the baseline applied, the pictures drawn, the
  // exit status and what went wrong told.
  void finish(std::size_t index, const std::string& path, ReadDrawing& drawing, CheckReport& report);

 private:
  void fail(CheckReport& report, const std::string& why);
  void judge(const CheckReport& report, const std::string& path, bool catalogueFailed);
  void drawPictures(std::size_t index, const std::string& path, const OdDbDatabase& db, const CheckReport& report);
};

void DrawingChecks::fail(CheckReport& report, const std::string& why) {
  report.error = why;
  say(printableLines(why));
  status = 2;
}

// The exit status the checked report asks for.
void DrawingChecks::judge(const CheckReport& report, const std::string& path, bool catalogueFailed) {
  if (catalogueFailed) {
    say(drawingName(path) + ": the catalogue failed during the check");
    status = 2;
  } else if (!report.unchecked.empty() && report.records.empty()) {
    // Nothing at all was checked although connectors are placed.
    say(drawingName(path) + ": no pin symbol carries the attribute " + printable(run.attrTag) + "; " +
        std::to_string(report.unchecked.size()) + " connector(s) placed in model space were not checked");
    status = 2;
  } else if (!report.clean() && status == 0) {
    status = 1;
  }
}

void DrawingChecks::drawPictures(std::size_t index, const std::string& path, const OdDbDatabase& db,
                                 const CheckReport& report) {
  for (const auto& [file, format] : {std::pair{pictures.svg[index], picture::PictureFormat::kSvg},
                                     std::pair{pictures.html[index], picture::PictureFormat::kHtml}}) {
    if (file.empty()) continue;
    if (std::string why = picture::writePicture(file, format, db, report.findings, drawingName(path)); !why.empty()) {
      say(printable(why));
      status = 2;
    }
  }
}

void DrawingChecks::finish(std::size_t index, const std::string& path, ReadDrawing& drawing, CheckReport& report) {
  report.drawing = path;
  if (!drawing.error.empty()) {
    fail(report, drawing.error);
    return;
  }
  report.fingerprint = drawing.fingerprint;
  report.insertLines = std::move(drawing.insertLines);
  if (!drawing.checkError.empty()) {
    fail(report, drawing.checkError);
    return;
  }
  try {
    policy.apply(report, index, run.today());
    judge(report, path, drawing.catalogueFailed);
    if (pictures.any()) drawPictures(index, path, *drawing.db, report);
  } catch (const OdError& e) {
    fail(report, drawingName(path) + ": " + e.description().toUtf8());
  } catch (const std::exception& e) {
    fail(report, drawingName(path) + ": " + e.what());
  }
}

// Called with each report as soon as it is judged, in the order given.
using Judged = std::function<void(CheckReport& report)>;

// The most memory kept between drawings: about what a drawing of 100,000
// pin symbols takes, the next drawing's fresh pages saved; a larger drawing
// keeps this much of its memory for the next.
constexpr std::size_t kKeptBetweenDrawings = std::size_t(64) << 20;

// Whether the run has threads to spare beside those that check drawings:
// when it checks fewer drawings at once than it may keep working, which is
// -j threads and at most one a processor (more would only add switching).
// A check then takes a second thread, memory is faulted in ahead on a
// thread of its own, and a large JSON report is written on two; without,
// the run keeps -j threads working (and the catalogue's reader, with -j 2
// or more), so that -j 1 takes one processor.
bool spareThreads(const Options& o) {
  const std::size_t working = std::min<std::size_t>(o.jobs, std::max(1u, std::thread::hardware_concurrency()));
  return working > std::min<std::size_t>(o.jobs, o.drawings.size());
}

// Whether the run checks more drawings than it checks at once: it is then
// about throughput more than about one drawing's peak (memory kept between
// drawings, the catalogue's mating codes read ahead).
bool manyDrawings(const Options& o) { return o.drawings.size() > o.jobs; }

// Every drawing read and checked in the order given, on o.jobs threads at
// once, against one catalogue cache for the run; the reports judged in
// that order on the main thread. The drawings are read from the moment it
// is made, while the main thread opens the catalogue (the module's COM
// lives on that thread); their checks wait until catalogueOpened.
class CheckedDrawings {
 public:
  CheckedDrawings(const Options& o, const Request& request, const CheckRun& run, const PictureFiles& pictures,
                  std::vector<CheckReport>& reports)
      : o_(o),
        // The catalogue's reader works only while the run meets codes it has
        // not read, most of it beside the first drawings' reading; with -j 1
        // the check that first needs a code reads it, with the codes queued
        // before it.
        catalogue_(zr::DefaultPinCatalogue(), &boxesShown,
                   o.jobs > 1 ? RunCatalogue::ReadAhead::kOnThread : RunCatalogue::ReadAhead::kOnAsk),
        opened_(openedPromise_.get_future().share()) {
    // With several drawings, each worker writes its drawing's connectors for
    // the JSON report (most of the report) and lets the records go, where
    // they were made, so that the main thread only copies the text out, and
    // the last drawing's do not wait for it alone. A single drawing's are
    // streamed from its records, never held whole as text.
    const CheckHow how{pictures.any(), spareThreads(o), request.format == "json" && o.drawings.size() > 1};
    reports.resize(o.drawings.size());
    SetBackgroundFaults(how.secondThread);
    // A check that waits for the catalogue's reader takes the next drawings'
    // fingerprints meanwhile, rather than leave its processor idle (set
    // before the reader starts the checks).
    if (o.jobs > 1) catalogue_.whileWaiting([this] { return fingerprintOneAhead(); });
    // The catalogue's reader reads the mating codes before the checks ask.
    catalogue_.readMatesAhead(manyDrawings(o));
    reader_.emplace(o.drawings, request.format == "sarif" || request.format == "junit", o.jobs,
                    [this, &run, &reports, how](std::size_t i, ReadDrawing& drawing) {
                      // A check that waits for the catalogue to open takes
                      // the next drawings' fingerprints meanwhile too. Not
                      // checked when it could not be opened: the run stops.
                      while (opened_.wait_for(std::chrono::seconds(0)) != std::future_status::ready &&
                             fingerprintOneAhead()) {
                      }
                      if (opened_.get())
                        checkRead(run, catalogue_, o_.drawings[i], drawing, reports[i], how);
                    });
    waitingWork_ = &*reader_;
  }
  // The catalogue is open (or could not be), and the run complete: the
  // checks may start (or are left out).
  void catalogueOpened(bool opened) {
    // A run of more drawings than it checks at once keeps what each
    // drawing's reading and check give back for the next drawing to take,
    // resident, rather than unmap it and fault fresh pages in again. Kept
    // from here on, not from the start: what the opening and the reading
    // meanwhile gave back left the kept memory in pieces of other sizes,
    // cut up by the checks' first takers, and 16 drawings took 10 % longer.
    // Kept to the end of the process, which reclaims it at once: given back
    // after the last drawing, its pages were unmapped one mapping at a time
    // on the last worker, while the other processor had nothing left to do.
    if (opened && manyDrawings(o_)) KeepFreedMemory(kKeptBetweenDrawings);
    told_ = true;
    openedPromise_.set_value(opened);
  }
  ~CheckedDrawings() {
    if (!told_) openedPromise_.set_value(false);
  }

  // The reports judged in the order given, each handed to judged; returns
  // the run's exit status. policy: as the catalogue's settings made it.
  int judgeAll(const CheckRun& run, CheckPolicy& policy, const PictureFiles& pictures,
               std::vector<CheckReport>& reports, const Judged& judged) {
    DrawingChecks checks{run, policy, pictures};
    for (std::size_t i = 0; i < o_.drawings.size(); ++i) {
      checks.finish(i, o_.drawings[i], reader_->get(i), reports[i]);
      reader_->done(i);
      judged(reports[i]);
    }
    return checks.status;
  }

 private:
  // The next drawing's fingerprint, taken ahead by a check that would wait
  // (see DrawingReader::fingerprintOneAhead); false when there is none left
  // to take, or the reader is not yet made.
  bool fingerprintOneAhead() {
    DrawingReader* reader = waitingWork_.load();
    return reader && reader->fingerprintOneAhead();
  }

  const Options& o_;
  RunCatalogue catalogue_;
  std::promise<bool> openedPromise_;
  std::shared_future<bool> opened_;
  bool told_ = false;
  std::atomic<DrawingReader*> waitingWork_{nullptr};
  std::optional<DrawingReader> reader_;  // last: its threads stop before the rest goes
};

// What the waivers and the baseline did not match, and expired waivers.
void warnAboutPolicy(CheckRun& run, const CheckPolicy& policy) {
  for (const std::string& path : policy.unmatchedBaselineDrawings())
    std::cerr << "zrcheck: warning: " << printable(run.baselineFile) << ": its drawing " << printable(path)
              << " matches no drawing checked (by path or by content)\n";
  run.waivers = policy.waivers();
  for (const Waiver& w : run.waivers) {
    const std::string state = waiverState(w, run.today());
    if (state == "expired")
      std::cerr << "zrcheck: warning: " << printable(w.file) << ": waiver " << w.entry << " expired on " << w.expires
                << "\n";
    else if (state == "unmatched")
      std::cerr << "zrcheck: warning: " << printable(w.file) << ": waiver " << w.entry << " matches no finding\n";
  }
}

// The report of a format other than JSON, which is written as the run goes.
void printReport(const std::string& format, const CheckRun& run, const std::vector<CheckReport>& reports,
                 std::ostream& out, bool quiet) {
  if (format == "sarif") printSarif(run, reports, out);
  else if (format == "junit") printJunit(run, reports, out);
  else printText(run, reports, out, quiet);
}

}  // namespace

int main(int argc, char** argv) {
  reportBrokenPipes();
  Options o;
  CLI::App app{"zrcheck: the connector pin check of DXF drawings, for pipelines"};
  describeCommandLine(app, o);
  if (std::optional<int> done = parseCommandLine(app, argc, argv)) return *done;
  try {
    const Request request = checkUsage(o);
    std::optional<CheckPolicy> policy;
    readPolicy(o, policy);
    const PictureFiles pictures = pictureFiles(o);
    ReportOutput output(o.output);
    if (!output.openError().empty()) throw CannotCheck{output.openError()};
    reportMessageBoxes();
    // Before the catalogue opens. Where SQLite keeps its locks (a catalogue
    // server, or SQLite already in use), the run is the same, only slower.
    LeaveOutSqliteLocks();
    CFxDocumentManager* documents = GetFxSystemServices()->GetDocumentManager();
    // The catalogue's settings outlive the drawings' checks that use it.
    std::unique_ptr<CatalogueSettings> fileCatalogue;
    CheckRun run = startRun(o);
    std::vector<CheckReport> reports;
    CheckedDrawings drawings(o, request, run, pictures, reports);
    prepareRun(o, request.severities, *policy, documents, fileCatalogue, run);
    drawings.catalogueOpened(true);
    // JSON is written drawing by drawing while the next ones are checked,
    // and a drawing's report goes once written; the other formats at the end.
    std::optional<JsonReport> json;
    if (request.format == "json") json.emplace(run, output.stream(), spareThreads(o));
    std::size_t written = 0;
    const int status = drawings.judgeAll(run, *policy, pictures, reports, [&](CheckReport& report) {
      if (!json) return;
      json->drawing(report);
      // The last drawing's records are kept for the process's end (below).
      if (++written < o.drawings.size()) report = CheckReport{};
    });
    warnAboutPolicy(run, *policy);
    if (json) json->finish(run);
    else printReport(request.format, run, reports, output.stream(), o.quiet);
    if (std::string why = output.finish(); !why.empty()) throw CannotCheck{why};
    gKeptUntilExit = new std::vector<CheckReport>(std::move(reports));
    return status;
  } catch (const CannotCheck& stop) {
    std::cerr << "zrcheck: " << stop.message << "\n";
    return 2;
  }
}

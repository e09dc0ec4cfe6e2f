#include "junit_report.h"

#include <pugixml.hpp>

#include <cstdio>
#include <map>
#include <string>

namespace {

struct Counts {
  int tests = 0, failures = 0, errors = 0, skipped = 0;
  void add(const Counts& other) {
    tests += other.tests;
    failures += other.failures;
    errors += other.errors;
    skipped += other.skipped;
  }
};

// Seconds as JUnit writes them: "0.125".
std::string seconds(double s) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", s);
  return text;
}

void setCounts(pugi::xml_node node, const Counts& c) {
  node.append_attribute("tests") = c.tests;
  node.append_attribute("failures") = c.failures;
  node.append_attribute("errors") = c.errors;
  node.append_attribute("skipped") = c.skipped;
}

// XML 1.0 cannot hold C0 control characters other than tab and line
// breaks, not even as references: those a drawing may carry are written as
// \xNN, as the text report does.
std::string xmlText(const std::string& text) {
  std::string out;
  char escape[8];
  for (unsigned char c : text) {
    if ((c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0x7F) {
      std::snprintf(escape, sizeof escape, "\\x%02X", c);
      out += escape;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

void setText(pugi::xml_node node, const std::string& text) { node.text() = xmlText(text).c_str(); }
void setAttribute(pugi::xml_node node, const char* name, const std::string& value) {
  node.append_attribute(name) = xmlText(value).c_str();
}

void addProperty(pugi::xml_node properties, const std::string& name, const std::string& value) {
  pugi::xml_node p = properties.append_child("property");
  setAttribute(p, "name", name);
  setAttribute(p, "value", value);
}

// Where a finding is, for people reading a CI page: the drawing and the line
// of its symbol's INSERT, the handle and position.
std::string locationOf(const CheckReport& report, const Finding& f) {
  std::string out = report.drawing;
  const std::string handle = findingSymbol(report, f);
  if (std::size_t line = findingLine(report, f)) {
    out += ':';
    out += std::to_string(line);
  }
  if (!f.handle.empty()) out += ", symbol " + f.handle;
  else if (!handle.empty()) out += ", connector's symbol " + handle;
  if (f.x && f.y) {
    char at[64];
    std::snprintf(at, sizeof at, " at %g,%g", *f.x, *f.y);
    out += at;
  }
  return out;
}

// One testcase: each finding that fails the run is a failure of its own; a
// case whose findings are all waived is skipped; warnings and findings in
// the baseline pass, listed in its output.
void addCase(const CheckRun& run, const CheckReport& report, pugi::xml_node suite, const std::string& name,
             const std::vector<const Finding*>& findings, Counts& counts) {
  pugi::xml_node testcase = suite.append_child("testcase");
  setAttribute(testcase, "name", name);
  setAttribute(testcase, "classname", report.drawing);
  // Drawings are timed as a whole (the suite's time), not connector by connector.
  testcase.append_attribute("time") = "0";
  ++counts.tests;
  if (findings.empty()) return;
  std::string waived, passing;
  int failed = 0;
  for (const Finding* f : findings) {
    const std::string message = findingMessage(*f, run.attrTag);
    if (f->fails()) {
      pugi::xml_node failure = testcase.append_child("failure");
      setAttribute(failure, "message", message);
      setAttribute(failure, "type", f->rule);
      setText(failure, "rule: " + f->rule + " (" + f->severity + ")\nlocation: " + locationOf(report, *f) +
                           "\nfingerprint: " + f->fingerprint + (f->baseline == "new" ? "\nnew since the baseline" : "") +
                           "\n");
      ++failed;
    } else if (f->waived) {
      waived += message + " (" + f->rule + "): waived: " + f->waived->reason +
                (f->waived->expires.empty() ? "" : " (until " + f->waived->expires + ")") + "\n";
    } else {
      passing += message + " (" + f->rule + (f->baseline == "unchanged" ? ", in the baseline)" : ", warning)") + "\n";
    }
  }
  if (failed) {
    ++counts.failures;
  } else if (passing.empty()) {
    pugi::xml_node skipped = testcase.append_child("skipped");
    setAttribute(skipped, "message", "waived");
    setText(skipped, waived);
    ++counts.skipped;
    return;
  }
  if (!passing.empty() || !waived.empty()) setText(testcase.append_child("system-out"), passing + waived);
}

Counts addSuite(const CheckRun& run, pugi::xml_node suites, const CheckReport& report) {
  Counts counts;
  pugi::xml_node suite = suites.append_child("testsuite");
  setAttribute(suite, "name", report.drawing);
  pugi::xml_node properties = suite.append_child("properties");
  addProperty(properties, "catalogue", run.catalogue);
  if (!report.fingerprint.empty()) addProperty(properties, "fingerprint", report.fingerprint);
  if (!report.error.empty()) {
    pugi::xml_node testcase = suite.append_child("testcase");
    testcase.append_attribute("name") = "(drawing)";
    setAttribute(testcase, "classname", report.drawing);
    testcase.append_attribute("time") = "0";
    setAttribute(testcase.append_child("error"), "message", report.error);
    counts.tests = counts.errors = 1;
  } else {
    std::map<std::size_t, std::vector<const Finding*>> ofRecord;
    for (const Finding& f : report.findings)
      if (f.record != Finding::kNone) ofRecord[f.record].push_back(&f);
    for (std::size_t i = 0; i < report.records.size(); ++i) {
      const auto& r = report.records[i];
      addCase(run, report, suite, r->GetNome().toUtf8() + " (" + r->GetCodigo().toUtf8() + ")", ofRecord[i], counts);
    }
    for (const Finding& f : report.findings)
      if (f.rule == "connector.unchecked") addCase(run, report, suite, f.connector, {&f}, counts);
  }
  setCounts(suite, counts);
  suite.append_attribute("time") = seconds(report.seconds).c_str();
  setAttribute(suite, "timestamp", run.date.substr(0, 19));
  return counts;
}

}  // namespace

void printJunit(const CheckRun& run, const std::vector<CheckReport>& reports, std::ostream& out) {
  pugi::xml_document document;
  pugi::xml_node declaration = document.append_child(pugi::node_declaration);
  declaration.append_attribute("version") = "1.0";
  declaration.append_attribute("encoding") = "UTF-8";
  pugi::xml_node suites = document.append_child("testsuites");
  suites.append_attribute("name") = "zrcheck";
  Counts total;
  double time = 0;
  for (const CheckReport& report : reports) {
    total.add(addSuite(run, suites, report));
    time += report.seconds;
  }
  setCounts(suites, total);
  suites.append_attribute("time") = seconds(time).c_str();
  document.save(out, "  ", pugi::format_default, pugi::encoding_utf8);
}

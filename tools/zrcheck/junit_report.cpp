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

// One testcase: its findings decide failure, skip or pass.
void addCase(const CheckRun& run, pugi::xml_node suite, const std::string& classname, const std::string& name,
             const std::vector<const Finding*>& findings, Counts& counts) {
  pugi::xml_node testcase = suite.append_child("testcase");
  setAttribute(testcase, "name", name);
  setAttribute(testcase, "classname", classname);
  ++counts.tests;
  if (findings.empty()) return;
  pugi::xml_node properties = testcase.append_child("properties");
  std::string failing, waived, passing;
  int failed = 0;
  for (const Finding* f : findings) {
    addProperty(properties, "finding", f->rule + " " + f->severity + " " + f->fingerprint);
    const std::string message = findingMessage(*f, run.attrTag);
    if (f->fails()) {
      failing += message + " (" + f->rule + ")\n";
      ++failed;
    } else if (f->waived) {
      waived += message + ": waived: " + f->waived->reason +
                (f->waived->expires.empty() ? "" : " (until " + f->waived->expires + ")") + "\n";
    } else {
      passing += message + (f->baseline == "unchanged" ? " (in the baseline)" : " (warning)") + "\n";
    }
  }
  if (failed) {
    pugi::xml_node failure = testcase.append_child("failure");
    setAttribute(failure, "message", std::to_string(failed) + (failed == 1 ? " finding" : " findings"));
    setAttribute(failure, "type", findings.front()->rule);
    setText(failure, failing);
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
    setAttribute(testcase.append_child("error"), "message", report.error);
    counts.tests = counts.errors = 1;
  } else {
    std::map<std::size_t, std::vector<const Finding*>> ofRecord;
    for (const Finding& f : report.findings)
      if (f.record != Finding::kNone) ofRecord[f.record].push_back(&f);
    for (std::size_t i = 0; i < report.records.size(); ++i) {
      const auto& r = report.records[i];
      addCase(run, suite, report.drawing, r->GetNome().toUtf8() + " (" + r->GetCodigo().toUtf8() + ")", ofRecord[i],
              counts);
    }
    for (const Finding& f : report.findings)
      if (f.rule == "connector.unchecked") addCase(run, suite, report.drawing, f.connector, {&f}, counts);
  }
  setCounts(suite, counts);
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
  for (const CheckReport& report : reports) total.add(addSuite(run, suites, report));
  setCounts(suites, total);
  document.save(out, "  ", pugi::format_default, pugi::encoding_utf8);
}

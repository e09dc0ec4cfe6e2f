// zrcheck: checks the pin symbols of drawings against the catalogue, without
// the host.
//   zrcheck [--program NAME] [--settings DIR] [--catalogue FILE] [--attr-tag TAG] [--json] DRAWING.dxf ...
// Exit status: 0 when every connector is in state 0 and every pin has status
// 0; 1 when problems were found; 2 when a drawing or the catalogue could not
// be read, or a catalogue statement failed during a check (the reason on
// standard error). With --json, a drawing that could not be checked is null.

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "catalog/CIBancoDados.h"
#include "zrcom/com_error.h"
#include "drawing/CIPinos.h"
#include "FxDocumentManager.h"
#include "catalogue_settings.h"
#include "check_report.h"
#include "zrui/msgbox.h"

namespace {

struct Options {
  std::string program = "zrhost";
  std::optional<std::string> settings, catalogue, attrTag;
  bool json = false;
  std::vector<std::string> drawings;
};

int usage() {
  std::cerr << "usage: zrcheck [--program NAME] [--settings DIR] [--catalogue FILE] [--attr-tag TAG] [--json] "
               "DRAWING.dxf ...\n";
  return 2;
}

bool parse(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&](std::optional<std::string>& into) {
      if (i + 1 >= argc) return false;
      into = argv[++i];
      return true;
    };
    if (a == "--json") {
      o.json = true;
    } else if (a == "--program") {
      std::optional<std::string> v;
      if (!value(v)) return false;
      o.program = *v;
    } else if (a == "--settings") {
      if (!value(o.settings)) return false;
    } else if (a == "--catalogue") {
      if (!value(o.catalogue)) return false;
    } else if (a == "--attr-tag") {
      if (!value(o.attrTag)) return false;
    } else if (a.rfind("--", 0) == 0) {
      return false;
    } else {
      o.drawings.push_back(a);
    }
  }
  return !o.drawings.empty();
}

// The host variable "*ZRATTPINO*" when a tag is given; nothing else.
class CheckEnvironment : public FxScriptEnvironment {
 public:
  explicit CheckEnvironment(std::optional<std::string> tag) : tag_(std::move(tag)) {}
  int Invoke(const OdString&, const resbuf*, resbuf**) override { return RTERROR; }
  int GetVariable(const OdString& name, resbuf** result) override {
    if (!tag_ || name != OdString(u"*ZRATTPINO*")) return RTERROR;
    *result = fxNewNode(RTSTR);
    (*result)->resval.rstring = fxNewString(OdString::fromUtf8(*tag_));
    return RTNORM;
  }
  int ColorDialog(int, int*) override { return RTERROR; }

 private:
  std::optional<std::string> tag_;
};

std::string describe(const _com_error& e) {
  const _bstr_t d = e.Description();
  const char16_t* text = d;
  if (text && *text) return OdString(text).toUtf8();
  return OdString(e.ErrorMessage()).toUtf8();
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!parse(argc, argv, o)) return usage();

  // The module's message boxes (a failed statement) go to standard error and
  // count as catalogue errors: the check then went on without those rows.
  static int boxesShown = 0;
  zrui::SetMessageBoxResponder([](const zrui::MessageBoxInfo& box) {
    std::cerr << "zrcheck: " << printable(OdString(box.text).toUtf8()) << "\n";
    ++boxesShown;
    return box.defaultAnswer();
  });
  if (o.settings) ::setenv("ZR_SETTINGS_DIR", o.settings->c_str(), 1);
  std::unique_ptr<CatalogueSettings> fileCatalogue;
  try {
    if (o.catalogue) fileCatalogue = std::make_unique<CatalogueSettings>(o.program, *o.catalogue);
  } catch (const std::exception& e) {
    std::cerr << "zrcheck: " << e.what() << "\n";
    return 2;
  }

  CheckEnvironment environment(o.attrTag);
  CFxDocumentManager* documents = GetFxSystemServices()->GetDocumentManager();
  documents->SetScriptEnvironment(&environment);
  OdDbDatabase::setHostSysVar(OdString(u"PROGRAM"), OdResBuf::newRb(OdResBuf::kDxfText, OdString::fromUtf8(o.program)));

  int status = 0;
  // One per drawing, in the order given; null when it could not be checked.
  std::vector<std::unique_ptr<CheckReport>> reports;
  for (const std::string& path : o.drawings) {
    reports.emplace_back();
    CFxDocument* doc = nullptr;
    try {
      doc = documents->OpenDocument(OdString::fromUtf8(path));
    } catch (const OdError& e) {
      std::cerr << "zrcheck: " << printable(e.description().toUtf8()) << "\n";
      status = 2;
      continue;
    }
    const int boxesBefore = boxesShown;
    try {
      // The catalogue opens once, with the first drawing open (the program
      // name is read from the current drawing).
      CIBancoDados* db = CIBancoDados::Instance();
      if (!db->IsConnected() && db->Open() != 0) throw std::runtime_error("the catalogue could not be opened");
      auto report = std::make_unique<CheckReport>();
      report->drawing = path;
      CIPinos().VerificarPinos(report->records);
      std::unique_ptr<CStringList> names(CIPinos().GetConectoresDesenho());
      for (POSITION pos = names->GetHeadPosition(); pos;) report->names.push_back(names->GetNext(pos).ToUtf8());
      if (boxesShown != boxesBefore) {
        std::cerr << "zrcheck: " << path << ": the catalogue failed during the check\n";
        status = 2;
      } else if (!report->clean() && status == 0) {
        status = 1;
      }
      reports.back() = std::move(report);
    } catch (const _com_error& e) {
      std::cerr << "zrcheck: " << path << ": catalogue: " << printable(describe(e)) << "\n";
      status = 2;
    } catch (const OdError& e) {
      std::cerr << "zrcheck: " << path << ": " << printable(e.description().toUtf8()) << "\n";
      status = 2;
    } catch (const std::exception& e) {
      std::cerr << "zrcheck: " << path << ": " << printable(e.what()) << "\n";
      status = 2;
    } catch (...) {
      std::cerr << "zrcheck: " << path << ": the check failed\n";
      status = 2;
    }
    documents->CloseDocument(doc);
  }

  if (o.json) {
    if (o.drawings.size() > 1) std::cout << "[";
    for (std::size_t i = 0; i < reports.size(); ++i) {
      if (i) std::cout << ",";
      if (reports[i]) {
        printJson(*reports[i], std::cout);
      } else {
        std::cout << "null";
      }
    }
    if (o.drawings.size() > 1) std::cout << "]";
    std::cout << "\n";
  } else {
    for (const auto& r : reports)
      if (r) printText(*r, std::cout);
  }
  documents->SetScriptEnvironment(nullptr);
  return status;
}

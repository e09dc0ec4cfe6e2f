#pragma once
// CIConfig: the catalogue connection settings of the running program, read
// from the suite's settings component (PRMSET). Created and dropped around
// each use; it keeps the component for its own lifetime only.

#include "prmset/prmset.h"
#include "zrui/afx/cstring.h"

class CIConfig {
 public:
  // Creates the settings component and loads the settings of the program
  // named by the host system variable "PROGRAM". When the component cannot
  // be created a box "Unable to find file PRMSET.dll" (caption "#CC002") is
  // shown and the wrapper stays empty; when the settings do not load a box
  // "Unable to load the settings file." (caption "#CC001") is shown and the
  // wrapper stays usable. Neither case throws.
  CIConfig();
  ~CIConfig();
  CIConfig(const CIConfig&) = delete;
  CIConfig& operator=(const CIConfig&) = delete;

  // The settings, each as the component gives it; the empty text from an
  // empty wrapper. A failing component call throws _com_error.
  CString GetDataFolder();
  CString GetDatabaseType();
  CString GetDatabaseName();
  CString GetServer();
  CString GetUser();
  CString GetPassword();
  // True when the database type is "MDB" (exactly): the file catalogue.
  bool IsAccessDatabase();

  // The program name the settings were asked for.
  const CString& GetPrograma() const { return m_program; }
  // True when the component exists and loaded the program's settings.
  bool IsLoaded() const { return m_loaded; }
  // Why the settings are not available, for error messages; empty when loaded.
  const CString& GetFailure() const { return m_failure; }

 private:
  CString ValueOf(IZrSettingsItemPtr (IZrSettings::*getter)());

  IZrSettingsPtr m_settings;
  CString m_program;
  bool m_loaded = false;
  CString m_failure;
};

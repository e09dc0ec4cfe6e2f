// The settings-and-texts component (libprmset.so), created through the COM
// run time:
//
//   IUnknownPtr unknown;
//   CoCreateInstance(CLSID_ZrSettings, nullptr, 0x17, ZrUuidOf<IUnknown>(), (void**)&unknown);
//   OleRun(unknown);
//   IZrSettingsPtr settings(unknown);
//   if (settings->Load(u"zrhost") != VARIANT_TRUE) { /* no settings file */ }
//   _bstr_t folder = settings->GetDataFolder()->GetValue();
//
// Settings are INI files, one per program (see README.md); texts are
// looked up by (program, module key, decimal code).
#pragma once

#include "zrcom/com.h"

inline constexpr CLSID CLSID_ZrSettings = ZrGuid("6C45F93F-F2AC-455C-AA20-9E584A9849ED");
inline constexpr CLSID CLSID_ZrTexts = ZrGuid("C7AD1EC5-53C7-402E-9D6E-C145F9FB0C7B");

struct IZrSettingsItem;
struct IZrSettings;
struct IZrTexts;
ZR_DECLARE_IID(IZrSettingsItem, "9E756E8F-89C3-4979-A8D0-7E7581A1E9F5");
ZR_DECLARE_IID(IZrSettings, "1F77935A-D838-4C82-84F3-A82588FD1322");
ZR_DECLARE_IID(IZrTexts, "0287E847-AA11-4917-8EB3-25045781358A");
ZR_SMARTPTR_TYPEDEF(IZrSettingsItem);
ZR_SMARTPTR_TYPEDEF(IZrSettings);
ZR_SMARTPTR_TYPEDEF(IZrTexts);

// One setting: its value as text.
struct IZrSettingsItem : IDispatch {
  _bstr_t GetValue();

  virtual HRESULT get_Value(BSTR* value) = 0;

 protected:
  ~IZrSettingsItem() = default;
};

// The settings of one program. Every value is empty until Load succeeds.
struct IZrSettings : IDispatch {
  IZrSettingsItemPtr GetDataFolder();
  // VARIANT_TRUE when the program's settings file was found and read.
  VARIANT_BOOL Load(const _bstr_t& program);
  IZrSettingsItemPtr GetDatabaseType();
  IZrSettingsItemPtr GetDatabaseName();
  IZrSettingsItemPtr GetServer();
  IZrSettingsItemPtr GetUser();
  IZrSettingsItemPtr GetPassword();
  _bstr_t GetSettingsFile();
  // Why the last Load returned VARIANT_FALSE ("" after a successful one).
  _bstr_t GetLoadError();

  // In this order: data folder, Load, database type, database name, server,
  // user, password; then the file the settings came from ("" before Load)
  // and why the last Load failed.
  virtual HRESULT get_DataFolder(IZrSettingsItem** item) = 0;
  virtual HRESULT raw_Load(BSTR program, VARIANT_BOOL* loaded) = 0;
  virtual HRESULT get_DatabaseType(IZrSettingsItem** item) = 0;
  virtual HRESULT get_DatabaseName(IZrSettingsItem** item) = 0;
  virtual HRESULT get_Server(IZrSettingsItem** item) = 0;
  virtual HRESULT get_User(IZrSettingsItem** item) = 0;
  virtual HRESULT get_Password(IZrSettingsItem** item) = 0;
  virtual HRESULT get_SettingsFile(BSTR* path) = 0;
  virtual HRESULT get_LoadError(BSTR* why) = 0;

 protected:
  ~IZrSettings() = default;
};

// Interface texts by (program, module key, decimal code).
struct IZrTexts : IDispatch {
  _bstr_t GetText(const _bstr_t& program, const _bstr_t& module_key, const _bstr_t& code);

  // S_OK with the text; S_FALSE with "#<module key>.<code>" when no table
  // holds the code.
  virtual HRESULT raw_GetText(BSTR program, BSTR module_key, BSTR code, BSTR* text) = 0;

 protected:
  ~IZrTexts() = default;
};

// ---- wrappers ---------------------------------------------------------------

inline _bstr_t IZrSettingsItem::GetValue() {
  BSTR value = nullptr;
  ZrCheck(get_Value(&value), this, ZrUuidOf<IZrSettingsItem>());
  return _bstr_t(value, false);
}

#define ZR_SETTINGS_ITEM_GETTER(Name)                                   \
  inline IZrSettingsItemPtr IZrSettings::Get##Name() {                  \
    IZrSettingsItem* item = nullptr;                                    \
    ZrCheck(get_##Name(&item), this, ZrUuidOf<IZrSettings>());          \
    return IZrSettingsItemPtr(item, false);                             \
  }
ZR_SETTINGS_ITEM_GETTER(DataFolder)
ZR_SETTINGS_ITEM_GETTER(DatabaseType)
ZR_SETTINGS_ITEM_GETTER(DatabaseName)
ZR_SETTINGS_ITEM_GETTER(Server)
ZR_SETTINGS_ITEM_GETTER(User)
ZR_SETTINGS_ITEM_GETTER(Password)
#undef ZR_SETTINGS_ITEM_GETTER

inline VARIANT_BOOL IZrSettings::Load(const _bstr_t& program) {
  VARIANT_BOOL loaded = VARIANT_FALSE;
  ZrCheck(raw_Load(program, &loaded), this, ZrUuidOf<IZrSettings>());
  return loaded;
}

inline _bstr_t IZrSettings::GetSettingsFile() {
  BSTR path = nullptr;
  ZrCheck(get_SettingsFile(&path), this, ZrUuidOf<IZrSettings>());
  return _bstr_t(path, false);
}

inline _bstr_t IZrSettings::GetLoadError() {
  BSTR why = nullptr;
  ZrCheck(get_LoadError(&why), this, ZrUuidOf<IZrSettings>());
  return _bstr_t(why, false);
}

inline _bstr_t IZrTexts::GetText(const _bstr_t& program, const _bstr_t& module_key, const _bstr_t& code) {
  BSTR text = nullptr;
  ZrCheck(raw_GetText(program, module_key, code, &text), this, ZrUuidOf<IZrTexts>());
  return _bstr_t(text, false);
}

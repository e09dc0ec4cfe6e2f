// The settings and texts components and the library's factory function.

#include <string>

#include "prmset/prmset.h"
#include "settings_file.h"
#include "text_table.h"
#include "zrcom/object.h"

namespace prmset {
namespace {

class SettingsItem final : public ZrComObject<IZrSettingsItem> {
 public:
  explicit SettingsItem(std::string value) : value_(std::move(value)) {}
  HRESULT get_Value(BSTR* value) override {
    if (!value) return E_POINTER;
    *value = ZrAllocBstrUtf8(value_);
    return *value ? S_OK : E_OUTOFMEMORY;
  }

 private:
  std::string value_;
};

class SettingsComponent final : public ZrComObject<IZrSettings> {
 public:
  HRESULT get_DataFolder(IZrSettingsItem** item) override { return Item(settings_.data_folder, item); }
  HRESULT raw_Load(BSTR program, VARIANT_BOOL* loaded) override {
    if (!loaded) return E_POINTER;
    why_.clear();
    bool ok = LoadSettings(ZrUtf16ToUtf8(ZrBstrView(program)), &settings_, &why_);
    *loaded = ok ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  }
  HRESULT get_DatabaseType(IZrSettingsItem** item) override { return Item(settings_.type, item); }
  HRESULT get_DatabaseName(IZrSettingsItem** item) override { return Item(settings_.name, item); }
  HRESULT get_Server(IZrSettingsItem** item) override { return Item(settings_.server, item); }
  HRESULT get_User(IZrSettingsItem** item) override { return Item(settings_.user, item); }
  HRESULT get_Password(IZrSettingsItem** item) override { return Item(settings_.password, item); }
  HRESULT get_SettingsFile(BSTR* path) override { return Text(settings_.file, path); }
  HRESULT get_LoadError(BSTR* why) override { return Text(why_, why); }

 private:
  static HRESULT Text(const std::string& value, BSTR* out) {
    if (!out) return E_POINTER;
    *out = ZrAllocBstrUtf8(value);
    return *out ? S_OK : E_OUTOFMEMORY;
  }
  static HRESULT Item(const std::string& value, IZrSettingsItem** item) {
    if (!item) return E_POINTER;
    *item = ZrMakeObject<SettingsItem>(value);
    return *item ? S_OK : E_OUTOFMEMORY;
  }

  Settings settings_;
  std::string why_;
};

class TextsComponent final : public ZrComObject<IZrTexts> {
 public:
  HRESULT raw_GetText(BSTR program, BSTR module_key, BSTR code, BSTR* text) override {
    if (!text) return E_POINTER;
    *text = nullptr;
    std::string key = ZrUtf16ToUtf8(ZrBstrView(module_key));
    std::string number = ZrUtf16ToUtf8(ZrBstrView(code));
    std::optional<std::string> found;
    try {
      found = FindText(ZrUtf16ToUtf8(ZrBstrView(program)), key, number);
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    }
    *text = ZrAllocBstrUtf8(found ? *found : "#" + key + "." + number);
    if (!*text) return E_OUTOFMEMORY;
    return found ? S_OK : S_FALSE;
  }
};

}  // namespace
}  // namespace prmset

extern "C" __attribute__((visibility("default"))) HRESULT PrmsetGetClassObject(REFCLSID clsid, REFIID iid,
                                                                               void** object) {
  if (clsid == CLSID_ZrSettings)
    return ZrGetFactoryOf<prmset::SettingsComponent>(clsid, CLSID_ZrSettings, iid, object);
  return ZrGetFactoryOf<prmset::TextsComponent>(clsid, CLSID_ZrTexts, iid, object);
}

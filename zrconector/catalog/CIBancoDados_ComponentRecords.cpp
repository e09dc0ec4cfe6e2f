// Reads of the component table (BDZR) and the menu table (BDMENUS).

#include "catalog/CIBancoDados.h"

namespace {

CString Quoted(LPCTSTR value) { return CString(value ? value : u""); }

}  // namespace

bool CIBancoDados::GetDadosComponente(LPCTSTR componente, LPCTSTR norma, CString& keyTag, CString& keyOld,
                                      CString& dwg, CString& dwg2d, CString& dwg3d, CString& dwgUn, CString& width,
                                      CString& explode, CString& lista, CString& consist, CString& rotaAt,
                                      CString& equipo) {
  if (!m_connection) return false;
  const CString x = Quoted(componente), y = Quoted(norma);
  _RecordsetPtr recordset = OpenRecordset(
      CString(u"SELECT ZR_KEY_TAG, ZR_KEY_OLD, ZR_DWG, ZR_DWG_2D, ZR_DWG_3D, ZR_DWG_UN,") +
          u" ZR_WIDTH, ZR_EXPLODE, ZR_LISTA, ZR_CONSIST, ZR_ROTA_AT, ZR_EQUIPO FROM BDZR " + u" WHERE ZR_KEY = '" + x +
          u"' AND ZR_KEY_NOR = '" + y + u"'",
      true);
  if (!recordset) return false;
  // Only the first row counts, also when a key pair is duplicated.
  if (!recordset->GetadoEOF()) {
    CString* outputs[] = {&keyTag, &keyOld, &dwg,  &dwg2d,   &dwg3d,  &dwgUn,
                          &width,  &explode, &lista, &consist, &rotaAt, &equipo};
    for (int field = 0; field < 12; ++field) *outputs[field] = FieldAsText(recordset, field);
  }
  return true;
}

CString CIBancoDados::GetDwgComponente(LPCTSTR componente, LPCTSTR norma) {
  const CString x = Quoted(componente), y = Quoted(norma);
  return QueryValue(u"select ZR_DWG from BDZR where ZR_KEY = '" + x + u"' and ZR_KEY_NOR = '" + y + u"'");
}

CString CIBancoDados::GetDescricaoMenu(LPCTSTR menu) {
  const CString x = Quoted(menu);
  return QueryValue(u"select MENU_DESCR from BDMENUS where MENU_KEY = '" + x + u"'");
}

CString CIBancoDados::GetNivelMenu(LPCTSTR menu) {
  const CString x = Quoted(menu);
  return QueryValue(u"select MENU_NIVEL from BDMENUS where MENU_KEY = '" + x + u"'");
}

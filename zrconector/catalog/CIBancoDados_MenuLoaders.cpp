// The menu loaders of the catalogue tree: components and menu rows of one
// level, read into the tree's records.

#include "catalog/CIBancoDados.h"

namespace {

CString Quoted(LPCTSTR value) { return CString(value ? value : u""); }

}  // namespace

std::unique_ptr<zr::CELstSimbolos> CIBancoDados::GetSimbolosNivel(zr::CESimbolo& todos, LPCTSTR nivel) {
  if (!m_connection) return nullptr;
  const CString x = Quoted(nivel);
  const CString sql = x.IsEmpty() ? CString(u"select ZR_KEY, ZR_KEY_NOR, ZR_DWG from BDZR order by ZR_KEY")
                                  : CString(u"select ZR_KEY, ZR_KEY_NOR, ZR_DWG ") + u" from BDZR, BDMENUS " +
                                        u" where ZR_KEY=MENU_KEY " + u" and   MENU_NIVEL='" + x + u"'" +
                                        u" order by ZR_KEY";
  _RecordsetPtr recordset = OpenRecordset(sql, true);
  if (!recordset || recordset->GetadoEOF()) return nullptr;
  auto simbolos = std::make_unique<zr::CELstSimbolos>();
  while (!recordset->GetadoEOF()) {
    const CString key = FieldAsText(recordset, 0);
    // Field 1, the standard, is not used: every representation goes under "-1".
    const CString dwg = FieldAsText(recordset, 2);
    std::shared_ptr<zr::CESimbolo>& simbolo = (*simbolos)[key];
    if (!simbolo) {
      simbolo = std::make_shared<zr::CESimbolo>();
      simbolo->m_key = key;
    }
    auto rep = std::make_shared<zr::CESimboloVisual>(dwg);
    simbolo->m_reps[zr::kNormaTodas] = rep;
    todos.m_reps[key] = rep;
    recordset->MoveNext();
  }
  return simbolos;
}

std::unique_ptr<zr::CELstItens> CIBancoDados::GetItensNivel(zr::CELstSimbolos& simbolos, zr::CESimbolo& todos,
                                                            LPCTSTR nivel) {
  if (!m_connection) return nullptr;
  const CString x = Quoted(nivel);
  CString sql = u"select * from BDMENUS ";
  if (!x.IsEmpty()) sql += u"where MENU_NIVEL='" + x + u"'";
  sql += u" order by MENU_NIVEL, MENU_DESCR ";
  _RecordsetPtr recordset = OpenRecordset(sql, true);
  if (!recordset || recordset->GetadoEOF()) return nullptr;
  auto itens = std::make_unique<zr::CELstItens>();
  while (!recordset->GetadoEOF()) {
    const CString rowNivel = FieldAsText(recordset, 0);
    const CString key = FieldAsText(recordset, 1);
    const CString descr = FieldAsText(recordset, 2);
    recordset->MoveNext();
    auto found = simbolos.find(key);
    if (found != simbolos.end()) {
      if (todos.m_reps.count(key) == 0) continue;
      zr::CESimbolo& simbolo = *found->second;
      simbolo.m_nome = descr;
      simbolo.m_key = key;
      simbolo.m_nivel = rowNivel;
      itens->Add(found->second);
      continue;
    }
    auto pasta = std::make_shared<zr::CEPasta>();
    pasta->m_nome = descr;
    pasta->m_key = key;
    pasta->m_nivel = rowNivel;
    pasta->m_folha = 0;
    itens->Add(std::move(pasta));
  }
  return itens;
}

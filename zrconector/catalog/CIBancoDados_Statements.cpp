// Running statements: the recordset, the upgrade-and-retry path with its one
// error box, single values, and fields as text.

#include <climits>

#include "catalog/CIBancoDados.h"
#include "support/ComponentSupport.h"
#include "zrui/afx/cmisc.h"

namespace {

_variant_t AsDispatch(const _ConnectionPtr& connection) {
  return _variant_t(static_cast<IDispatch*>(connection.GetInterfacePtr()));
}

// Opens a client-cursor recordset of the statement; throws on any failure.
_RecordsetPtr RunStatement(const CString& statement, const _ConnectionPtr& connection) {
  _RecordsetPtr recordset;
  const HRESULT hr = recordset.CreateInstance(CLSID_Recordset, nullptr, CLSCTX_ALL);
  if (FAILED(hr)) _com_issue_errorex(hr, nullptr, GUID_NULL);
  recordset->PutCursorLocation(adUseClient);
  recordset->Open(_variant_t(_bstr_t(statement.GetString())), AsDispatch(connection), adOpenDynamic,
                  adLockBatchOptimistic, adCmdUnspecified);
  return recordset;
}

// How a statement failed.
enum class Failure {
  kStatement,    // the statement itself (syntax, a missing table or column, ...)
  kLinkBroke,    // the link to the catalogue broke during the statement
  kLinkDown,     // the link was down already and could not be restored
};

// Runs the statement; on failure gives null and says how it failed.
_RecordsetPtr TryStatement(const CString& statement, const _ConnectionPtr& connection, Failure* failure) {
  try {
    return RunStatement(statement, connection);
  } catch (const _com_error& e) {
    *failure = e.Error() == adErrConnectionLost     ? Failure::kLinkBroke
               : e.Error() == adErrReconnectFailed ? Failure::kLinkDown
                                                   : Failure::kStatement;
  } catch (CException* e) {
    e->Delete();
    *failure = Failure::kStatement;
  } catch (...) {
    *failure = Failure::kStatement;
  }
  return nullptr;
}

}  // namespace

_RecordsetPtr CIBancoDados::OpenRecordset(LPCTSTR sql, bool upgradeAndRetry) {
  if (!m_connection) return nullptr;
  const CString statement(sql);
  Failure failure = Failure::kStatement;
  if (_RecordsetPtr recordset = TryStatement(statement, m_connection, &failure)) return recordset;
  if (failure == Failure::kLinkBroke) {
    // The connection opens its link again before the next statement: a
    // server that restarted while the host sat idle costs no box.
    if (_RecordsetPtr recordset = TryStatement(statement, m_connection, &failure)) return recordset;
  }
  // A statement that failed for want of the catalogue says nothing about its
  // schema: the upgrade runs only after the statement itself failed.
  if (upgradeAndRetry && failure == Failure::kStatement && !m_readOnly) {
    // Whatever the cause, an older catalogue is brought up to date first. The
    // retry shows its own box when it fails; only a failing upgrade falls
    // through to the box below.
    try {
      UpgradeSchema();
      return OpenRecordset(statement, false);
    } catch (CException* e) {
      e->Delete();
    } catch (...) {
    }
  }
  AfxMessageBox(CString(u"SQL ERROR: ") + statement, MB_OK, 0);
  return nullptr;
}

_RecordsetPtr CIBancoDados::TryRecordset(LPCTSTR sql) {
  if (!m_connection) return nullptr;
  const CString statement(sql);
  Failure failure = Failure::kStatement;
  if (_RecordsetPtr recordset = TryStatement(statement, m_connection, &failure)) return recordset;
  if (failure == Failure::kLinkBroke) return TryStatement(statement, m_connection, &failure);
  return nullptr;
}

void CIBancoDados::Execute(LPCTSTR sql) { ExecuteStatement(sql, true); }

void CIBancoDados::ExecuteStatement(LPCTSTR sql, bool upgradeAndRetry) {
  if (!m_connection) return;
  _RecordsetPtr recordset = OpenRecordset(sql, upgradeAndRetry);
  if (!recordset) RaiseNoRecordset();
}

CString CIBancoDados::QueryValue(LPCTSTR sql) {
  if (!m_connection) return CString();
  _RecordsetPtr recordset = OpenRecordset(sql, true);
  if (!recordset) RaiseNoRecordset();
  CString value;
  // A statement without rows to return leaves the recordset closed.
  if (recordset->GetState() == adStateOpen) {
    if (!recordset->GetadoEOF()) value = FieldAsText(recordset, 0);
    recordset->Close();
  }
  return value;
}

CString CIBancoDados::FieldAsText(_Recordset* recordset, int index) {
  // The index travels as a 16-bit integer.
  if (!recordset || index < 0 || index > SHRT_MAX) return CString();
  try {
    if (recordset->GetadoEOF()) return CString();
    return FieldText(recordset->GetFields()->GetItem(_variant_t(static_cast<short>(index))));
  } catch (CException* e) {
    e->Delete();
  } catch (...) {
  }
  return CString();
}

CString CIBancoDados::FieldText(Field* field) {
  if (!field) return CString();
  try {
    _variant_t value = field->GetValue();
    if (value.vt == VT_NULL) return CString();
    CString text = value.vt == VT_BSTR ? CString(ZrBstrView(value.bstrVal)) : CString(_bstr_t(value).str());
    return text.Trim();
  } catch (CException* e) {
    e->Delete();
  } catch (...) {
  }
  return CString();
}

void CIBancoDados::RaiseNoRecordset() const {
  RaiseComError(E_POINTER, m_connection ? u"A catalogue statement failed (see the SQL ERROR message)."
                                        : u"There is no connection to the catalogue.");
}

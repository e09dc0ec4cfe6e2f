// Failures inside the data-access objects and their conversion, at each
// interface method, into an HRESULT plus the thread's error information.
#pragma once

#include <new>
#include <string>
#include <utility>

#include "result_set.h"
#include "zrado/ado.h"
#include "zrcom/com.h"

namespace zrado {

struct AdoFailure {
  HRESULT hr;
  std::u16string description;
};

[[noreturn]] inline void Raise(HRESULT hr, std::u16string description) {
  throw AdoFailure{hr, std::move(description)};
}

// Runs body (which returns nothing or throws AdoFailure) as the method of an
// object named source (e.g. u"ADODB.Connection") and returns its HRESULT.
template <class Body>
HRESULT Guarded(const char16_t* source, REFIID iid, Body&& body) noexcept {
  try {
    SetErrorInfo(0, nullptr);
    body();
    return S_OK;
  } catch (const AdoFailure& failure) {
    return ZrSetErrorInfo(failure.hr, failure.description.c_str(), source, iid);
  } catch (const OdbcFailure& failure) {
    HRESULT hr = failure.link == LinkState::kLost        ? adErrConnectionLost
                 : failure.link == LinkState::kStillLost ? adErrReconnectFailed
                                                         : E_FAIL;
    return ZrSetErrorInfo(hr, failure.description.c_str(), source, iid);
  } catch (const std::bad_alloc&) {
    return ZrSetErrorInfo(E_OUTOFMEMORY, u"Out of memory.", source, iid);
  } catch (const _com_error& e) {
    _bstr_t text = e.Description();
    return ZrSetErrorInfo(e.Error(), text.length() ? static_cast<const char16_t*>(text) : e.ErrorMessage(), source, iid);
  } catch (...) {
    return ZrSetErrorInfo(E_UNEXPECTED, u"Unexpected failure in the data-access layer.", source, iid);
  }
}

inline std::u16string U16(std::string_view utf8) { return ZrUtf8ToUtf16(utf8); }

}  // namespace zrado

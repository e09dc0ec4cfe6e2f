// The COM stand-in: everything a client of COM components includes.
#pragma once

#include "zrcom/bstr.h"
#include "zrcom/bstr_t.h"
#include "zrcom/com_error.h"
#include "zrcom/com_ptr.h"
#include "zrcom/guid.h"
#include "zrcom/hresult.h"
#include "zrcom/runtime.h"
#include "zrcom/types.h"
#include "zrcom/unknown.h"
#include "zrcom/variant.h"
#include "zrcom/variant_t.h"

#pragma once
// Result buffers: the host's typed value lists that carry the arguments and
// results of command functions and of host function calls. A chain is a singly
// linked list of nodes in argument order.

#include <cstdint>

#include "zrdwg/OdString.h"

// Type codes of values and statuses of host calls.
enum FxResultCode : int16_t {
  RTNONE = 5000,
  RTREAL = 5001,
  RTPOINT = 5002,
  RTSHORT = 5003,
  RTSTR = 5005,     // a string (zero-terminated UTF-16)
  RTENAME = 5006,   // an entity name
  RT3DPOINT = 5009,
  RTLONG = 5010,
  RTVOID = 5014,
  RTLB = 5016,      // list begin
  RTLE = 5017,      // list end
  RTNIL = 5019,
  RTT = 5021,
  RTNORM = 5100,    // a host call completed normally
  RTERROR = -5001,  // a host call failed
};

// An entity name: two 32-bit integers that the host derives from an object
// identifier; callers pass it on without looking into it.
typedef uint32_t ads_name[2];

struct resbuf {
  resbuf* rbnext;
  int16_t restype;
  union {
    double rreal;
    double rpoint[3];
    int16_t rint;
    int32_t rlong;
    OdChar* rstring;
    uint32_t rlname[2];
  } resval;
};

// Chains made by the host kernel (arguments, results of invoke and get
// variable) are freed with fxReleaseChain; strings in them are allocated with
// fxNewString.
resbuf* fxNewNode(int16_t restype);
OdChar* fxNewString(const OdString& text);
void fxReleaseChain(resbuf* chain);
// A deep copy of a chain, made with the functions above.
resbuf* fxCopyChain(const resbuf* chain);

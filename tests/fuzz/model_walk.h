#pragma once
// Reads everything the module reads from a drawing through the object model:
// tables and their records, every entity of every block with its layer, text,
// attributes and extended data, and the dictionaries under the named objects
// dictionary. Values are decoded from the file's text on the way, so escapes
// and encodings of hostile input are exercised. OdError from an accessor is a
// clear refusal and is allowed; anything else is left to the fuzzer to report.

class OdDbDatabase;

void walkModel(const OdDbDatabase& db);

#pragma once
// zrcheck's pairing of coinciding pins, among placed symbols only.
//
// The module's CIPinos::VerificarPinos pairs every pin, the catalogue pins
// without a symbol too, which it places at 0, 0: a symbol drawn at the
// drawing's origin then "touches" the missing pins of every connector, gets
// pin.invalid-mate or pin.self-mate, and the missing pins it touched lose
// their own status. The module keeps that pairing (the scripts that call it
// depend on it); zrcheck reads the records without it and pairs the
// symbols alone, by the same rules otherwise: the first coinciding symbol in
// check order, strictly within 0.00001 on both axes, checked against the
// mating parts.

#include "check_catalogue.h"
#include "drawing/CEPino.h"

// Pairs the placed symbols of records, read without the module's pairing
// (CIPinos::LerPinos), in check order: a pin's mate is the first coinciding
// symbol of another pin; the pair is invalid (status 3 on both, the
// records' state 2) when the codes may not mate or the pins belong to one
// connector. A record's state is settled after its own pins, as in the
// module. The mating parts come from catalogue (whose error, as in the
// module, reaches the caller).
void pairPlacedSymbols(zr::ConectoresPinos& records, CheckCatalogue& catalogue);

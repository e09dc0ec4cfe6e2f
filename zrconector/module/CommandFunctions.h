#pragma once
// The seven functions that the module registers with every document, and
// their registration.

class CFxDocument;

// Adds the seven functions to a document's function interface, in their fixed
// order; UnregisterFunctions removes them in the same order.
void RegisterFunctions(CFxDocument* doc);
void UnregisterFunctions(CFxDocument* doc);

// The handlers, called by the host with no parameters; each returns 1.
int zrConectores();
int SelecaoConector();
int NovoConector();
int PerguntaInserirPinoConectado();
int AtualizarDicConectores();
int GetEnameConector();
int BuscaListaConectores();

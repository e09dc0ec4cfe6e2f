// Resource ids of the module's dialogs: templates, controls and bitmaps, as
// a resource script's header would hold them. Each dialog keeps its ids in
// its own group below.
#pragma once

// ---- New-connector dialog (CINovoConector)
#define IDD_NOVO_CONECTOR 108
#define IDC_NOVO_CONECTOR_ROTULO 122
#define IDC_NOVO_CONECTOR_NOME 126

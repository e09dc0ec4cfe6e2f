#pragma once
// Resource ids of the module's dialogs: templates, bitmaps and controls.
// Each dialog keeps its ids under a comment naming it.

// ---- Connector selection dialog (CIDlgSelConector, CITabSelecao, CITabCriar)
#define IDB_ARVORE_CATALOGO 50100  // catalogue tree images: six 16 x 16, mask RGB(255, 0, 255)
#define IDD_SEL_CONECTOR 50106
#define IDD_TAB_CRIAR 50109
#define IDD_TAB_SELECAO 50112
#define IDB_ARVORE_SELECAO 50116  // selection tree images: connector, pin
#define IDC_SEL_TAB 50121
#define IDC_SEL_NOME 50122
#define IDC_SEL_ARVORE 50123
#define IDC_SEL_OK 50124
#define IDC_SEL_CANCELAR 50125
#define IDC_SEL_LBL_NOME 50126
#define IDC_SEL_LBL_ARVORE 50127
#define IDC_SEL_PINO 50128
#define IDC_SEL_LBL_PINO 50129

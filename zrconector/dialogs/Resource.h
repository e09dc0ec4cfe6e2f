// Resource ids of the module's dialogs: templates, controls and bitmaps, as
// a resource script's header would hold them. Each dialog keeps its ids in
// its own group below.
#pragma once

// ---- New-connector dialog (CINovoConector)
#define IDD_NOVO_CONECTOR 108
#define IDC_NOVO_CONECTOR_ROTULO 122
#define IDC_NOVO_CONECTOR_NOME 126

// ---- connectors screen (CITelaConectores) ----
#define IDD_TELA_CONECTORES 50103
#define IDB_LUZES_ESTADO 50113
#define IDC_LST_PINOS 50101
#define IDC_LST_CONECTORES 50102
#define IDC_LBL_CONECTORES 50104
#define IDC_LBL_PINOS 50105
#define IDC_GRP_PROPRIEDADES 50107
#define IDC_GRP_RESUMO 50108
#define IDC_LST_PROPRIEDADES 50111
#define IDC_BT_APLICAR 50114
#define IDC_LST_RESUMO 50117
#define IDC_IMG_ESTADO 50118
#define IDC_LBL_ESTADO 50119
#define IDC_BT_SEM_ACAO 50120

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

// Resource ids of the test module.
#define IDS_GREETING 1
#define IDS_QUOTES 2
#define IDS_FAR 300
#define IDD_SMALL 100
#define IDD_ALL 101
#define IDC_LABEL 1001
#define IDC_EDIT 1002
#define IDC_CUSTOM 1003
#define IDR_MENU 200
#define IDM_OPEN 40001
#define IDM_EXIT 40002
#define IDM_HELP 40003
#define IDB_COLORS 300
#define IDB_PALETTE 301
#define IDI_TWO 400

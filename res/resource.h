/* Resource ids shared by the resource script and the program. Only #defines here. */
#define IDC_STATIC (-1)

#define IDS_TITLE 103
#define IDS_CLASS_NAME 109

#define IDD_ABOUT 103
#define IDD_PROPERTIES 136
#define IDM_TRAY 135
#define ID_TRAY_EXIT 32774
#define ID_TRAY_ABOUT 32775

#define IDI_MAIN 107
#define IDI_SMALL 5000
#define IDC_SPRITE 5012

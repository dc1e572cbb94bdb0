/* Resource, control and command ids, shared by brennic.rc and the code. Plain #defines only: windres reads it. */
#ifndef BRENNIC_RESOURCE_IDS_H
#define BRENNIC_RESOURCE_IDS_H

/* Dialogs */
#define IDD_PAGE1 103
#define IDD_ABOUT 104
#define IDD_PAGE2 106
#define IDD_PAGE3 107
#define IDD_MAIN 112

/* Menus and accelerators */
#define IDM_MAIN 105
#define IDM_PAGE 109
#define IDA_MAIN 111

/* Main window */
#define IDC_TABS 1006
#define IDC_STATUS 201
#define IDC_PREVIEW 1040        /* the command Start would run, read-only */
#define IDC_PREVIEW_MARKER 1041 /* the arguments Start would warn about */

/* Argument page 1 */
#define IDC_SELECT1 1018
#define IDC_PATH1 1019
#define IDC_ACTION1 1020
#define IDC_MANUAL1 1021
#define IDC_PATHLABEL1 1024
#define IDC_ACTIONLABEL1 1025
#define IDC_MANUALLABEL1 1026

/* Argument page 2 */
#define IDC_SELECT2 1014
#define IDC_PATH2 1015
#define IDC_ACTION2 1016
#define IDC_MANUAL2 1017
#define IDC_PATHLABEL2 1027
#define IDC_ACTIONLABEL2 1028
#define IDC_MANUALLABEL2 1029

/* Argument page 3 */
#define IDC_SELECT3 1022
#define IDC_PATH3 1023
#define IDC_ACTION3 1012
#define IDC_MANUAL3 1013
#define IDC_PATHLABEL3 1032
#define IDC_ACTIONLABEL3 1031
#define IDC_MANUALLABEL3 1030

/* About page */
#define IDC_ABOUT_NAME 1033
#define IDC_ABOUT_VERSION 1034
#define IDC_ABOUT_CNFAUTHOR 1035
#define IDC_ABOUT_CONTACT 1036
#define IDC_ABOUT_APPAUTHOR 1037

/* Commands */
#define IDCMD_EXIT 2
#define IDCMD_START 1004
#define IDCMD_HIDE_CONSOLE 40001
#define IDCMD_SHOW_CONSOLE 40002
#define IDCMD_HOLD_CONSOLE 40003
#define IDCMD_OUTPUT_WINDOW 40004
#define IDCMD_SAVE_CONFIG 40006
#define IDCMD_SAVE_APP_CONFIG 40010
#define IDCMD_SHOW_WARNINGS 40011
#define IDCMD_PROGRAMS_FOLDER 40012
#define IDCMD_PATH_AUTO_CLEAR 40013
#define IDCMD_MANUAL_AUTO_CLEAR 40014
#define IDCMD_CLEAR_PATH 40019
#define IDCMD_CLEAR_ARGUMENTS 40020
#define IDCMD_START_SOUND 40023
#define IDCMD_OPEN_ARGUMENT_FOLDER 40024
#define IDCMD_OPEN_PROGRAM_FOLDER 40025
#define IDCMD_NEXT_ARGUMENT 40026
#define IDCMD_PREVIOUS_ARGUMENT 40027
#define IDCMD_SELECT_PATH 40028
#define IDCMD_CYCLE_TABS 40029
#define IDCMD_NEXT_ITEM 40030
#define IDCMD_PREVIOUS_ITEM 40031
#define IDCMD_COPY_COMMAND_LINE 40032

/* Private window message: a page updates the status bar for itself. */
#define WM_BRENNIC_REFRESH_STATUS (0x0400 + 1)
/* Private window message, posted to the main window: the command may have changed, show it again.
   (WM_APP + 1: the WM_USER range belongs to the dialog messages there.) */
#define WM_BRENNIC_COMMAND_CHANGED (0x8000 + 1)

#endif

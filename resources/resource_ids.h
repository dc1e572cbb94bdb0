/* Resource, control and command ids, shared by brennic.rc and the code. Plain #defines only: windres reads it. */
#ifndef BRENNIC_RESOURCE_IDS_H
#define BRENNIC_RESOURCE_IDS_H

/* Dialogs */
#define IDD_PAGE1 103
#define IDD_ABOUT 104
#define IDD_PAGE2 106
#define IDD_PAGE3 107
#define IDD_MAIN 112
#define IDD_RUN 120

/* Menus and accelerators */
#define IDM_MAIN 105
#define IDM_PAGE 109
#define IDA_MAIN 111

/* Main window */
#define IDC_TABS 1006
#define IDC_STATUS 201
#define IDC_PREVIEW 1040        /* the command Start would run, read-only */
#define IDC_PREVIEW_MARKER 1041 /* the arguments Start would warn about */

/* Names for screen readers and the About page's own version line */
#define IDC_PREVIEW_LABEL 1200      /* "Command line", names the command line for screen readers */
#define IDC_ABOUT_OWN_VERSION 1201  /* "Version x.y.z" from the version resource */

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

/* Run window (one per run shown in a window of its own) */
#define IDC_RUN_COMMAND 1100  /* the command line, read-only */
#define IDC_RUN_OUTPUT 1101   /* what the program wrote, read-only */
#define IDC_RUN_STATUS 1102   /* running for..., or how it ended */
#define IDC_RUN_PROGRESS 1103 /* msctls_progress32, 0 to 100 */
#define IDC_RUN_READING 1104  /* how the output is read: Auto, UTF-8, OEM, ANSI */
#define IDC_RUN_STOP 1105
#define IDC_RUN_AGAIN 1106
#define IDC_RUN_COPY 1107
#define IDC_RUN_SAVE 1108
#define IDC_RUN_CLOSE 1109
#define IDC_RUN_READING_LABEL 1110

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
#define IDCMD_FOLDER_OPTIONS 40110   /* the folder keeps its own options in brennic.ini, and back */

/* Presets and recent runs: menu commands, the items the menu lists (one id per preset or run, from the
   first id on; the last id of each range is the grayed line shown when the list is empty), the two dialogs. */
#define IDCMD_KEEP_PAGES_AT_EXIT 40050
#define IDCMD_SAVE_PRESET 40051
#define IDCMD_DELETE_PRESET 40052
#define IDCMD_CLEAR_RECENT_RUNS 40053
#define IDCMD_PRESET_FIRST 41000
#define IDCMD_PRESET_NONE 41099
#define IDCMD_RECENT_RUN_FIRST 41100
#define IDCMD_RECENT_RUN_NONE 41139
#define IDD_PRESET_NAME 130
#define IDD_DELETE_PRESET 131
#define IDC_PRESET_NAME 1150
#define IDC_PRESET_NAME_LABEL 1151
#define IDC_PRESET_LIST 1152
#define IDC_PRESET_LIST_LABEL 1153

/* The program's icon group. */
#define IDI_BRENNIC 1250

/* Private window message: a page updates the status bar for itself. WM_APP + 2: in a dialog, WM_USER + 1 is
   DM_SETDEFID, and a page that received it would lose its default button. */
#define WM_BRENNIC_REFRESH_STATUS (0x8000 + 2)
/* Private window message, posted to the main window: the command may have changed, show it again.
   (WM_APP + 1: the WM_USER range belongs to the dialog messages there.) */
#define WM_BRENNIC_COMMAND_CHANGED (0x8000 + 1)
/* Private window message, posted to the main window after a DPI change: lay out the grown window again once
   the dialogs have scaled themselves (WM_APP + 20). */
#define WM_BRENNIC_RELAYOUT (0x8000 + 20)

/* Private window messages of the runs (WM_APP + 10 to WM_APP + 19). */
#define WM_BRENNIC_RUN_OUTPUT (0x8000 + 10) /* to a run window: its reader has queued output */
#define WM_BRENNIC_RUN_CLOSED (0x8000 + 11) /* to the main window: a run window has gone (lParam: it) */

/* Timers (10 to 19) */
#define IDT_RUN_TICK 10    /* a run window: the program's end, the elapsed time, the view */
#define IDT_TRACKED_RUNS 11 /* the main window: the end of runs started with a console of their own */

#endif

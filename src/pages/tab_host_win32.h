// The tab host: the four tabs of the main window's tab control, their pages, and moving between them.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

namespace brennic {

class ArgumentPages;
class PageHost;

// Start-up's last step: the tabs, the four pages (each initialised as it is created) and page 1 shown.
void createPages(HWND mainWindow);
// Every WM_NOTIFY of the main window: tab selection changes; a dormant tab is refused.
void onTabNotify(HWND mainWindow, const NMHDR* header);
// The page window on tab t, or null.
HWND pageWindow(int tab);

void showPage(int tab);
// The slots hold a restored state (a preset): the pages show it, with argument 1 on top.
void showRestoredPages();
void nextArgument();
void previousArgument();
void cycleTabs();

HWND mainWindowOfPages();
// The brush of all four pages' background, created once.
HBRUSH pageBrush();
// The status bar under the tab control, created by argument page 1.
void createStatusBar();

// How the last followed run stands, in a status-bar part of its own after the pages' three (added the first time
// there is something to say); it keeps its place through resizing and DPI changes.
void showRunStatus(const std::string& text);

// The main window's size changed: the status bar, the pages in the tab control and their controls follow.
void layoutPages();
// The main window moved to a monitor of another DPI: what the pages sized themselves (the status bar's parts,
// the tool tips' widths) is sized again for it.
void pagesDpiChanged(int dpi);

ArgumentPages& argumentPages();
PageHost& pageHost();

}  // namespace brennic

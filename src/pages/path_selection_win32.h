// Choosing a page's path: the file and folder dialogs, and files dropped on the page.
#pragma once

#include <windows.h>

#include <shellapi.h>

namespace brennic {

class ProgramDescription;
struct ArgumentSlot;

// "Select path" (button and 40028): runs the dialog the slot's selected entry asks for; a chosen path goes
// into the slot and, in display form, into the page's path field. A cancel changes nothing. True when the
// slot took a path.
bool selectPath(HWND page, ArgumentSlot& slot, int pathFieldId, const ProgramDescription& description);

// WM_DROPFILES while the slot takes a path: the first dropped name goes into the slot and the path field; a
// name longer than 259 characters is refused with a message. Always releases the drop (DragFinish), so the
// caller must not release it again. True when the slot took the name.
bool acceptDroppedFile(HWND page, ArgumentSlot& slot, int pathFieldId, HDROP drop);

}  // namespace brennic

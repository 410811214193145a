/* Resource ids, shared by pelto.rc and the sources (plain macros for the resource compiler). */
#pragma once

#define IDI_APPLICATION_ICON 1 /* first icon: the executable's icon and the task bar's */
#define IDI_WINDOW_ICON 2
#define IDB_PRINTER_GLYPH 101
#define IDB_CANCEL_GLYPH 102
#define IDB_CLEAR_GLYPH 103
#define IDB_CLOSE_GLYPH 104

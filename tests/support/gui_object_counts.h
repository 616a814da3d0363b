/* What gui_object_counter.dll publishes of the program it was loaded into:
   how many GDI and USER objects of each type the program has made and freed
   through its own import table since. C and C++ alike. */
#pragma once

#include <windows.h>

/* The memory it is published in, named after the process's id. */
#define NUV_GUI_COUNTS_NAME "Local\\nuv-gui-object-counts-%lu"

/* The types: a GDI object's is the one GetObjectType gives it (OBJ_PEN 1
   to OBJ_COLORSPACE 14); then the USER objects the program makes by handle. */
enum { kIconOrCursor = 15, kMenu, kGuiObjectTypes };

typedef struct {
    LONG hooked; /* functions of the program's import table it stands in for */
    LONG made[kGuiObjectTypes];
    LONG freed[kGuiObjectTypes];
} GuiObjectCounts;

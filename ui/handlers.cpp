#include "ui/handlers.h"

#include "app/startup.h"

void Form_Load() { PrepareMainWindow(); }

void RaiseClick(ControlId control) {
    switch (control) {
    default: break;
    }
}

void RaiseMouseDown(ControlId control, const MouseEventArgs&) {
    switch (control) {
    default: break;
    }
}

void RaiseMouseUp(ControlId control, const MouseEventArgs&) {
    switch (control) {
    default: break;
    }
}

// The event handlers of the main window, named after the control and the
// event, and the routing of the window's events to them.
#pragma once

#include "ui/layout.h"

// A mouse event as a label receives it: the button (1 left, 2 right, 4
// middle), the shift state (1 Shift, 2 Ctrl, 4 Alt) and the point in the
// label's own pixels.
struct MouseEventArgs {
    int button;
    int shift;
    int x;
    int y;
};

constexpr int kLeftButton = 1;
constexpr int kRightButton = 2;
constexpr int kMiddleButton = 4;

void Form_Load();

void Label1_Click();   // the effect description
void Label2_Click();   // APPLY
void Label3_Click();   // the web page
void Label4_Click();   // About
void Command1_Click(); // EXiT

void Label1_MouseDown(const MouseEventArgs& args);
void Label1_MouseUp(const MouseEventArgs& args);
void Label2_MouseDown(const MouseEventArgs& args);
void Label2_MouseUp(const MouseEventArgs& args);
void Label3_MouseDown(const MouseEventArgs& args);
void Label3_MouseUp(const MouseEventArgs& args);
void Label4_MouseDown(const MouseEventArgs& args);
void Label4_MouseUp(const MouseEventArgs& args);

// Route an event of a control to its handler; a control without a handler
// for that event ignores it.
void RaiseClick(ControlId control);
void RaiseMouseDown(ControlId control, const MouseEventArgs& args);
void RaiseMouseUp(ControlId control, const MouseEventArgs& args);

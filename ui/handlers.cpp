#include "ui/handlers.h"

#include "platform/platform.h"
#include "ui/apply_effect.h"
#include "ui/main_window.h"
#include "ui/messages.h"
#include "ui/startup.h"

namespace {

// The pressed look of the labels that act as buttons: a border while any
// mouse button is held on them.
constexpr int kPressedBorder = 1;
constexpr int kFlatBorder = 0;

} // namespace

void Form_Load() { PrepareMainWindow(); }

void Label1_Click() { ShowMessageBox(kDescriptionText, kInformationIcon, kDescriptionTitle); }
void Label2_Click() { ApplyEffectChoice(); }
void Label3_Click() { LaunchCommandLine(WebPageCommandLine(), SW_SHOWMINIMIZED); }
void Label4_Click() { ShowMessageBox(AboutText(), kInformationIcon, kAboutTitle); }
void Command1_Click() { EndProgram(); }

void Label1_MouseDown(const MouseEventArgs&) { SetLabelBorderStyle(ControlId::Label1, kPressedBorder); }
void Label1_MouseUp(const MouseEventArgs&) { SetLabelBorderStyle(ControlId::Label1, kFlatBorder); }
void Label2_MouseDown(const MouseEventArgs&) { SetLabelBorderStyle(ControlId::Label2, kPressedBorder); }
void Label2_MouseUp(const MouseEventArgs&) { SetLabelBorderStyle(ControlId::Label2, kFlatBorder); }
void Label3_MouseDown(const MouseEventArgs&) { SetLabelBorderStyle(ControlId::Label3, kPressedBorder); }
void Label3_MouseUp(const MouseEventArgs&) { SetLabelBorderStyle(ControlId::Label3, kFlatBorder); }
void Label4_MouseDown(const MouseEventArgs&) { SetLabelBorderStyle(ControlId::Label4, kPressedBorder); }
void Label4_MouseUp(const MouseEventArgs&) { SetLabelBorderStyle(ControlId::Label4, kFlatBorder); }

void RaiseClick(ControlId control) {
    switch (control) {
    case ControlId::Label1: Label1_Click(); break;
    case ControlId::Label2: Label2_Click(); break;
    case ControlId::Label3: Label3_Click(); break;
    case ControlId::Label4: Label4_Click(); break;
    case ControlId::Command1: Command1_Click(); break;
    default: break;
    }
}

void RaiseMouseDown(ControlId control, const MouseEventArgs& args) {
    switch (control) {
    case ControlId::Label1: Label1_MouseDown(args); break;
    case ControlId::Label2: Label2_MouseDown(args); break;
    case ControlId::Label3: Label3_MouseDown(args); break;
    case ControlId::Label4: Label4_MouseDown(args); break;
    default: break;
    }
}

void RaiseMouseUp(ControlId control, const MouseEventArgs& args) {
    switch (control) {
    case ControlId::Label1: Label1_MouseUp(args); break;
    case ControlId::Label2: Label2_MouseUp(args); break;
    case ControlId::Label3: Label3_MouseUp(args); break;
    case ControlId::Label4: Label4_MouseUp(args); break;
    default: break;
    }
}

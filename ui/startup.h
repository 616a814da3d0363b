// The road from a created main window to a visible, ready one.
#pragma once

// Makes the main window translucent, shows it and clips it to its rounded
// outline. When there is no main window to prepare (it could not be made),
// tells the user in the "Problem :" box and ends the program; a window that
// stays opaque or keeps its square corners is no reason to stop.
void PrepareMainWindow();

// The "Problem :" box, then the end of the program.
[[noreturn]] void ReportStartupProblem();

constexpr short kMainWindowAlpha = 225;

constexpr char kStartupProblemTitle[] = "Problem :";
constexpr char kStartupProblemText[] = "There was some error in loading the Application.\r\n"
                                       "Some components needed might be missing on your System.";

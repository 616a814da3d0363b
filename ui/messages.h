// The texts of the boxes the main window's commands show. Lines are joined
// with CR LF; an empty line is two CR LF in a row.
#pragma once

#include <string>

constexpr char kRestartNeededTitle[] = "Needed!!!";
constexpr char kRestartNeededText[] = "You need to Restart your PC to bring these settings to effect.\r\n"
                                      "\r\n"
                                      "Or Right Click over 'Skellan.BAT' provided with this Utility\r\n"
                                      "and select 'Run As Administrator' and Allow/Continue the Settings\r\n"
                                      "asked to Restart your Interface Grafix System.";

// Windows 8 and later keep the desktop composed whatever the values say.
constexpr char kNoEffectTitle[] = "No Effect on this Windows";
constexpr char kNoEffectText[] = "The settings have been written, but Windows 8 and later versions always\r\n"
                                 "keep the desktop composition on, so they take no effect on this PC.\r\n"
                                 "\r\n"
                                 "These settings only Work on versions of Windows Vista and Windows 7.";

constexpr char kAccessErrorTitle[] = "Error";
constexpr char kAccessErrorText[] =
    "Due to some Access Restrictions or else, the settings cannot be Manipulated.\r\n"
    "Right Click over this application and select 'Run As Administrator', and try again.\r\n"
    "If still problem exists, contact Developer at Site.\r\n"
    "\r\n"
    "These settings only Work on versions of Windows Vista";

constexpr char kDescriptionTitle[] = "Aero & Flip3D :: Effect Description";
constexpr char kDescriptionText[] =
    "Aero is the Visual Effects System developed by Microsoft Windows Group\r\n"
    "for producing Graphical FX for Interface like Transparency, Exploding FX, etc.\r\n"
    "\r\n"
    "Flip3D is an attractive feature provide via Aero System that allows user to\r\n"
    "view all Windows Open in a 3D view with ability to bring any of them in front.\r\n"
    "Its like Alt+Tab Task Switcher enhanced to a 3D Flipping Window View.\r\n"
    "\r\n"
    "To use Flip3D after enabling it, Restart your PC and use\r\n"
    " Windows Key + TAB Key";

constexpr char kAboutTitle[] = "About!!!";

// The About box's text, which ends in the web page address.
std::string AboutText();

// The command line that opens the web page in the system shell.
std::string WebPageCommandLine();

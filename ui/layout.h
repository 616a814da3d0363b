// The description of the main window NUV2: one record for the window and one
// per control, front to back within each container, in the units the window
// was designed in (twips, colours as &H00BBGGRR&). The builder
// (window_builder.cpp) and the painter (painting.cpp) read these tables and
// nothing else; this unit has no platform dependency.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Control ids double as the child windows' ids; 0 is no control.
enum class ControlId : int {
    None = 0,
    Command1 = 1,
    Frame1,
    Option2,
    Option1,
    Label5,
    Shape1,
    Label2,
    Shape3,
    Label4,
    Label3,
    Shape2,
    Label1,
    Client = 100, // the window's own client area, as a container
};

enum class ControlKind {
    PushButton,   // child window
    GroupFrame,   // child window, container of its own labels and shapes
    OptionButton, // child window
    Label,        // painted by its container
    Shape,        // painted by its container; takes no input
};

// The push button, the frame and the option buttons are windows of their
// own; labels and shapes are drawn by their container.
constexpr bool IsChildWindow(ControlKind kind) {
    return kind == ControlKind::PushButton || kind == ControlKind::GroupFrame ||
           kind == ControlKind::OptionButton;
}

// Colours as the window stores them: &H00BBGGRR& is an explicit colour,
// &H800000nn& the system colour with index nn.
using StoredColour = std::uint32_t;
constexpr StoredColour kSystemColourFlag = 0x80000000u;
constexpr StoredColour kButtonFace = kSystemColourFlag | 15; // COLOR_BTNFACE
constexpr StoredColour kButtonText = kSystemColourFlag | 18; // COLOR_BTNTEXT
constexpr StoredColour kWindowText = kSystemColourFlag | 8;  // COLOR_WINDOWTEXT
constexpr StoredColour kLightCyan = 0x00FFFFC0u;             // RGB(192, 255, 255)
constexpr StoredColour kLightBlue = 0x00FFC0C0u;             // RGB(192, 192, 255)
constexpr StoredColour kBlack = 0x00000000u;
constexpr StoredColour kVeryDarkBlue = 0x00400000u; // RGB(0, 0, 64)
constexpr StoredColour kDarkBlue = 0x00C00000u;     // RGB(0, 0, 192)

constexpr bool IsSystemColour(StoredColour colour) { return (colour & kSystemColourFlag) != 0; }
constexpr int SystemColourIndex(StoredColour colour) { return static_cast<int>(colour & 0xFFu); }

// The fonts the window uses; FontId indexes kFonts.
enum class FontId : int { WindowDefault, Bold, LargeBold, Arial, Count };

struct FontRecord {
    const char* face;
    int centiPoints; // 825 is 8.25 pt
    int weight;      // 400 regular, 700 bold
};

extern const FontRecord kFonts[static_cast<int>(FontId::Count)];

struct TwipRect {
    int left, top, width, height;
};

struct PixelRect {
    int left, top, right, bottom;
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// What a screen reader is told of a label besides its name (its caption as
// it shows): its role and state, in oleacc's numbers (this unit has no
// platform dependency), and what doing its default action is called, which
// does what a click does: a button is pressed, a link followed; plain text
// has no action.
struct LabelAccess {
    long role;                 // ROLE_SYSTEM_*; 0 for what is not a label
    long state;                // STATE_SYSTEM_*
    const char* defaultAction; // null: none
};
constexpr LabelAccess kNoLabel{0, 0, nullptr};
constexpr LabelAccess kButtonLabel{0x2B, 0, "Press"};     // ROLE_SYSTEM_PUSHBUTTON
constexpr LabelAccess kLinkLabel{0x1E, 0x400000, "Jump"}; // ROLE_SYSTEM_LINK, STATE_SYSTEM_LINKED
constexpr LabelAccess kTextLabel{0x29, 0x40, nullptr};    // ROLE_SYSTEM_STATICTEXT, STATE_SYSTEM_READONLY

struct ControlRecord {
    ControlKind kind;
    ControlId id;
    const char* name;
    const char* caption; // as stored: "&&" shows as one "&"
    TwipRect rect;       // relative to the container's outer top-left corner
    StoredColour backColour;
    StoredColour foreColour; // the outline colour of a shape
    bool opaque;             // labels: fill the rectangle before the text
    FontId font;
    int tabIndex; // -1: the control has none
    ControlId container;
    LabelAccess access;         // labels: what a screen reader is told
    const char* windowMenuItem; // the label's command in the window menu, or null
};

// A length the design gives in pixels at 96 dpi, where a pixel is 15 twips.
constexpr int Pixels96(int pixels) { return pixels * 15; }

// The rounded rectangle a window is clipped to, from the window's outer
// top-left corner (title bar included), with the width and height of the
// ellipse that rounds its corners.
struct Outline {
    int left, top, right, bottom, cornerWidth, cornerHeight;
};

struct WindowRecord {
    const char* name;
    const char* caption;
    int clientWidth, clientHeight; // twips
    StoredColour backColour;
    FontId font;
    Outline outline; // twips
};

extern const WindowRecord kMainWindow;

// Twelve controls, front to back within each container.
constexpr int kControlCount = 12;
extern const ControlRecord kControls[kControlCount];

// The option button selected when the window is created.
constexpr ControlId kInitiallySelectedOption = ControlId::Option1;

// The web page address: Label3's caption, the About box and the link.
extern const char kWebAddress[];

// Twips to pixels at the given dots per inch, rounded to the nearest pixel.
// Every length of the window passes through here on its way to the display.
int TwipsToPixels(int twips, int dpi);

// A control's rectangle in pixels, relative to its container. The edges are
// rounded, not the size, so neighbouring controls stay flush.
PixelRect ToPixels(const TwipRect& rect, int dpi);

// An outline in pixels: each of its values scaled on its own.
Outline ToPixels(const Outline& outline, int dpi);

// The record of a control, or null.
const ControlRecord* FindControl(ControlId id);

// The label that takes a mouse press at (x, y) in the container's pixels:
// the frontmost label there, whatever shape lies in front of it. None when
// no label is there.
ControlId LabelAt(ControlId container, int x, int y, int dpi);

// Font height in logical units for CreateFont (negative: character height).
int FontHeight(const FontRecord& font, int dpi);

// The controls that have a tab index, in tab order.
std::vector<const ControlRecord*> ControlsInTabOrder();

// The name a screen reader is told of a control: its caption as it shows
// ("&&" is one "&"), without the blanks that indent it.
std::string AccessibleName(const ControlRecord& control);

// The window menu's command of a label (what WM_SYSCOMMAND carries: the low
// four bits are the system's, and every id is below the system's own), and
// the label a command belongs to, None for any other command.
unsigned WindowMenuCommandOf(ControlId label);
ControlId LabelOfWindowMenuCommand(unsigned command);

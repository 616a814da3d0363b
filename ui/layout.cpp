#include "ui/layout.h"

const char kWebAddress[] = "http://www.example.com/nuv/";

const FontRecord kFonts[static_cast<int>(FontId::Count)] = {
    /* WindowDefault */ {"MS Sans Serif", 825, 400},
    /* Bold          */ {"MS Sans Serif", 825, 700},
    /* LargeBold     */ {"MS Sans Serif", 975, 700},
    /* Arial         */ {"Arial", 825, 400},
};

// clang-format off
const WindowRecord kMainWindow = {
    "NUV2", ".....NUV Veldmark v0.1.....", 4455, 2880, kLightCyan, FontId::WindowDefault,
    // Drawn in pixels at 96 dpi: at the frame metrics of the design it keeps
    // every control and a bare strip right of and below them, and cuts away
    // the right end of the title bar with the close button.
    {Pixels96(1), Pixels96(1), Pixels96(255), Pixels96(210), Pixels96(50), Pixels96(50)},
};

const ControlRecord kControls[kControlCount] = {
//   kind                       id                    name        caption
//   rect (twips)               back         fore       opaque  font                tab  container
//   what a screen reader is told, window menu item (labels)
    {ControlKind::PushButton,   ControlId::Command1, "Command1", "EXiT",
     {2880, 2160, 735, 375},    kButtonFace, kButtonText, true,  FontId::Bold,         1, ControlId::Client,
     kNoLabel,     nullptr},
    {ControlKind::GroupFrame,   ControlId::Frame1,   "Frame1",   "Enable/Disable Aero && Flip3D Effect",
     {120, 120, 3495, 1575},    kLightBlue,  kBlack,      true,  FontId::WindowDefault, 0, ControlId::Client,
     kNoLabel,     nullptr},
    {ControlKind::OptionButton, ControlId::Option2,  "Option2",  "Disable Aero && Flip3D Effect in Windows Vista",
     {120, 720, 3135, 375},     kLightBlue,  kBlack,      true,  FontId::Bold,         3, ControlId::Frame1,
     kNoLabel,     nullptr},
    {ControlKind::OptionButton, ControlId::Option1,  "Option1",  "Enable Aero && Flip3D Effect in WindowsVista",
     {120, 240, 3255, 375},     kLightBlue,  kBlack,      true,  FontId::Bold,         2, ControlId::Frame1,
     kNoLabel,     nullptr},
    {ControlKind::Label,        ControlId::Label5,   "Label5",   "Flip3D : Windows Key + TAB Key",
     {70, 1350, 2415, 255},     kLightBlue,  kBlack,      false, FontId::Arial,        8, ControlId::Frame1,
     kTextLabel,   nullptr},
    {ControlKind::Shape,        ControlId::Shape1,   "Shape1",   "",
     {2520, 1200, 855, 255},    kLightBlue,  kWindowText, false, FontId::WindowDefault, -1, ControlId::Frame1,
     kNoLabel,     nullptr},
    {ControlKind::Label,        ControlId::Label2,   "Label2",   " APPLY",
     {2520, 1200, 855, 255},    kLightCyan,  kVeryDarkBlue, true, FontId::LargeBold,   5, ControlId::Frame1,
     kButtonLabel, "A&pply"},
    {ControlKind::Shape,        ControlId::Shape3,   "Shape3",   "",
     {2880, 1800, 735, 255},    kLightCyan,  kWindowText, false, FontId::WindowDefault, -1, ControlId::Client,
     kNoLabel,     nullptr},
    {ControlKind::Label,        ControlId::Label4,   "Label4",   " About!",
     {2880, 1800, 735, 255},    kLightBlue,  kBlack,      true,  FontId::Bold,         7, ControlId::Client,
     kButtonLabel, "A&bout"},
    {ControlKind::Label,        ControlId::Label3,   "Label3",   kWebAddress,
     {0, 2280, 2895, 255},      kLightCyan,  kDarkBlue,   false, FontId::WindowDefault, 6, ControlId::Client,
     kLinkLabel,   "&Web Page"},
    {ControlKind::Shape,        ControlId::Shape2,   "Shape2",   "",
     {120, 1800, 1695, 255},    kLightCyan,  kWindowText, false, FontId::WindowDefault, -1, ControlId::Client,
     kNoLabel,     nullptr},
    {ControlKind::Label,        ControlId::Label1,   "Label1",   "  Effect Discription",
     {120, 1800, 1695, 255},    kLightBlue,  kBlack,      true,  FontId::Bold,         4, ControlId::Client,
     kButtonLabel, "&Effect Description"},
};
// clang-format on

int TwipsToPixels(int twips, int dpi) {
    const long long scaled = static_cast<long long>(twips) * dpi;
    const long long half = 720; // half of 1440, for rounding to nearest
    return static_cast<int>(scaled >= 0 ? (scaled + half) / 1440 : -((-scaled + half) / 1440));
}

PixelRect ToPixels(const TwipRect& rect, int dpi) {
    return {TwipsToPixels(rect.left, dpi), TwipsToPixels(rect.top, dpi),
            TwipsToPixels(rect.left + rect.width, dpi), TwipsToPixels(rect.top + rect.height, dpi)};
}

Outline ToPixels(const Outline& o, int dpi) {
    return {TwipsToPixels(o.left, dpi),        TwipsToPixels(o.top, dpi),
            TwipsToPixels(o.right, dpi),       TwipsToPixels(o.bottom, dpi),
            TwipsToPixels(o.cornerWidth, dpi), TwipsToPixels(o.cornerHeight, dpi)};
}

const ControlRecord* FindControl(ControlId id) {
    for (const ControlRecord& control : kControls)
        if (control.id == id) return &control;
    return nullptr;
}

ControlId LabelAt(ControlId container, int x, int y, int dpi) {
    for (const ControlRecord& control : kControls) {
        if (control.container != container || control.kind != ControlKind::Label) continue;
        if (ToPixels(control.rect, dpi).Contains(x, y)) return control.id;
    }
    return ControlId::None;
}

// A point is 20 twips, so hundredths of a point over 5 are twips, exactly for
// the sizes the layout uses (8.25 pt is 165 twips, 9.75 pt 195).
int FontHeight(const FontRecord& font, int dpi) { return -TwipsToPixels(font.centiPoints / 5, dpi); }

std::vector<const ControlRecord*> ControlsInTabOrder() {
    std::vector<const ControlRecord*> ordered;
    for (int tabIndex = 0; tabIndex < kControlCount; ++tabIndex)
        for (const ControlRecord& control : kControls)
            if (control.tabIndex == tabIndex) ordered.push_back(&control);
    return ordered;
}

std::string AccessibleName(const ControlRecord& control) {
    std::string name;
    for (const char* c = control.caption; *c; ++c) {
        if (name.empty() && *c == ' ') continue;
        name += *c;
        if (c[0] == '&' && c[1] == '&') ++c;
    }
    return name;
}

// A control id shifted past the four bits the system keeps for itself.
unsigned WindowMenuCommandOf(ControlId label) { return static_cast<unsigned>(label) << 4; }

ControlId LabelOfWindowMenuCommand(unsigned command) {
    for (const ControlRecord& control : kControls)
        if (control.windowMenuItem && WindowMenuCommandOf(control.id) == (command & 0xFFF0u))
            return control.id;
    return ControlId::None;
}

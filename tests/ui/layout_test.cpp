// The window description against the window as designed: the expected
// values here are the designer's own figures (pixels at 96 dpi and positions
// in the client area), not a copy of the twips in the table.
#include "ui/layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

struct Expected {
    ControlId id;
    const char* name;
    ControlKind kind;
    const char* caption;
    PixelRect pixels; // in the container, at 96 dpi
    int clientLeft;   // the control's corner in the client area, twips
    int clientTop;
    StoredColour back;
    StoredColour fore;
    const char* face;
    int centiPoints;
    int weight;
    int tabIndex;
    ControlId container;
};

// clang-format off
const Expected kDesign[] = {
    {ControlId::Command1, "Command1", ControlKind::PushButton, "EXiT", {192, 144, 241, 169}, 2880, 2160,
     kButtonFace, kButtonText, "MS Sans Serif", 825, 700, 1, ControlId::Client},
    {ControlId::Frame1, "Frame1", ControlKind::GroupFrame, "Enable/Disable Aero && Flip3D Effect",
     {8, 8, 241, 113}, 120, 120, 0x00FFC0C0, 0, "MS Sans Serif", 825, 400, 0, ControlId::Client},
    {ControlId::Option2, "Option2", ControlKind::OptionButton, "Disable Aero && Flip3D Effect in Windows Vista",
     {8, 48, 217, 73}, 240, 840, 0x00FFC0C0, 0, "MS Sans Serif", 825, 700, 3, ControlId::Frame1},
    {ControlId::Option1, "Option1", ControlKind::OptionButton, "Enable Aero && Flip3D Effect in WindowsVista",
     {8, 16, 225, 41}, 240, 360, 0x00FFC0C0, 0, "MS Sans Serif", 825, 700, 2, ControlId::Frame1},
    {ControlId::Label5, "Label5", ControlKind::Label, "Flip3D : Windows Key + TAB Key",
     {5, 90, 166, 107}, 190, 1470, 0, 0, "Arial", 825, 400, 8, ControlId::Frame1},
    {ControlId::Shape1, "Shape1", ControlKind::Shape, "", {168, 80, 225, 97}, 2640, 1320,
     0, kWindowText, nullptr, 0, 0, -1, ControlId::Frame1},
    {ControlId::Label2, "Label2", ControlKind::Label, " APPLY", {168, 80, 225, 97}, 2640, 1320,
     0x00FFFFC0, 0x00400000, "MS Sans Serif", 975, 700, 5, ControlId::Frame1},
    {ControlId::Shape3, "Shape3", ControlKind::Shape, "", {192, 120, 241, 137}, 2880, 1800,
     0, kWindowText, nullptr, 0, 0, -1, ControlId::Client},
    {ControlId::Label4, "Label4", ControlKind::Label, " About!", {192, 120, 241, 137}, 2880, 1800,
     0x00FFC0C0, 0, "MS Sans Serif", 825, 700, 7, ControlId::Client},
    {ControlId::Label3, "Label3", ControlKind::Label, kWebAddress, {0, 152, 193, 169}, 0, 2280,
     0, 0x00C00000, "MS Sans Serif", 825, 400, 6, ControlId::Client},
    {ControlId::Shape2, "Shape2", ControlKind::Shape, "", {8, 120, 121, 137}, 120, 1800,
     0, kWindowText, nullptr, 0, 0, -1, ControlId::Client},
    {ControlId::Label1, "Label1", ControlKind::Label, "  Effect Discription", {8, 120, 121, 137}, 120, 1800,
     0x00FFC0C0, 0, "MS Sans Serif", 825, 700, 4, ControlId::Client},
};
// clang-format on

TEST(Layout, TheWindowIsAsDesigned) {
    EXPECT_STREQ(kMainWindow.name, "NUV2");
    EXPECT_STREQ(kMainWindow.caption, ".....NUV Veldmark v0.1.....");
    EXPECT_EQ(TwipsToPixels(kMainWindow.clientWidth, 96), 297);
    EXPECT_EQ(TwipsToPixels(kMainWindow.clientHeight, 96), 192);
    const Outline outline = ToPixels(kMainWindow.outline, 96);
    EXPECT_EQ((std::vector<int>{outline.left, outline.top, outline.right, outline.bottom, outline.cornerWidth,
                                outline.cornerHeight}),
              (std::vector<int>{1, 1, 255, 210, 50, 50}));
    EXPECT_EQ(kMainWindow.backColour, 0x00FFFFC0u);
    EXPECT_STREQ(kFonts[static_cast<int>(kMainWindow.font)].face, "MS Sans Serif");
    EXPECT_EQ(kFonts[static_cast<int>(kMainWindow.font)].weight, 400);
}

TEST(Layout, EveryControlIsAsDesignedInFrontToBackOrder) {
    ASSERT_EQ(std::size(kDesign), static_cast<std::size_t>(kControlCount));
    for (int i = 0; i < kControlCount; ++i) {
        const Expected& e = kDesign[i];
        const ControlRecord& c = kControls[i];
        SCOPED_TRACE(e.name);
        EXPECT_EQ(c.id, e.id);
        EXPECT_STREQ(c.name, e.name);
        EXPECT_EQ(c.kind, e.kind);
        EXPECT_STREQ(c.caption, e.caption);
        const PixelRect p = ToPixels(c.rect, 96);
        EXPECT_EQ(p.left, e.pixels.left);
        EXPECT_EQ(p.top, e.pixels.top);
        EXPECT_EQ(p.right, e.pixels.right);
        EXPECT_EQ(p.bottom, e.pixels.bottom);
        int left = c.rect.left, top = c.rect.top;
        if (c.container == ControlId::Frame1) {
            left += FindControl(ControlId::Frame1)->rect.left;
            top += FindControl(ControlId::Frame1)->rect.top;
        }
        EXPECT_EQ(left, e.clientLeft);
        EXPECT_EQ(top, e.clientTop);
        EXPECT_EQ(c.container, e.container);
        EXPECT_EQ(c.tabIndex, e.tabIndex);
        if (c.kind == ControlKind::Shape) {
            EXPECT_EQ(c.foreColour, e.fore);
            continue;
        }
        if (c.kind != ControlKind::Label || c.opaque) {
            EXPECT_EQ(c.backColour, e.back);
        }
        EXPECT_EQ(c.foreColour, e.fore);
        const FontRecord& font = kFonts[static_cast<int>(c.font)];
        EXPECT_STREQ(font.face, e.face);
        EXPECT_EQ(font.centiPoints, e.centiPoints);
        EXPECT_EQ(font.weight, e.weight);
    }
}

TEST(Layout, OnlyTheThreeButtonLabelsAreOpaque) {
    std::set<ControlId> opaque;
    for (const ControlRecord& c : kControls)
        if (c.kind == ControlKind::Label && c.opaque) opaque.insert(c.id);
    EXPECT_EQ(opaque, (std::set<ControlId>{ControlId::Label1, ControlId::Label2, ControlId::Label4}));
}

// Each outline has its label's rectangle and lies in front of it.
TEST(Layout, EachOutlineFramesItsLabelFromTheFront) {
    const std::pair<ControlId, ControlId> pairs[] = {
        {ControlId::Shape1, ControlId::Label2},
        {ControlId::Shape2, ControlId::Label1},
        {ControlId::Shape3, ControlId::Label4},
    };
    for (const auto& [shape, label] : pairs) {
        const ControlRecord* s = FindControl(shape);
        const ControlRecord* l = FindControl(label);
        ASSERT_TRUE(s && l);
        EXPECT_EQ(std::memcmp(&s->rect, &l->rect, sizeof s->rect), 0) << s->name;
        EXPECT_EQ(s->container, l->container) << s->name;
        EXPECT_LT(s - kControls, l - kControls) << s->name << " must come before " << l->name;
    }
}

TEST(Layout, NothingReachesPastTheBareStripOfTheClientArea) {
    const PixelRect frame = ToPixels(FindControl(ControlId::Frame1)->rect, 96);
    for (const ControlRecord& c : kControls) {
        PixelRect p = ToPixels(c.rect, 96);
        if (c.container == ControlId::Frame1) {
            // The frame clips its children.
            p = {p.left + frame.left, p.top + frame.top, std::min(p.right + frame.left, frame.right),
                 std::min(p.bottom + frame.top, frame.bottom)};
        }
        EXPECT_LE(p.right, 241) << c.name;
        EXPECT_LE(p.bottom, 169) << c.name;
    }
}

TEST(Layout, Label5HangsTwoPixelsBelowItsFrame) {
    const ControlRecord& label5 = *FindControl(ControlId::Label5);
    const ControlRecord& frame = *FindControl(ControlId::Frame1);
    EXPECT_EQ(label5.rect.top + label5.rect.height - frame.rect.height, 30);
    const PixelRect framePixels = ToPixels(frame.rect, 96);
    EXPECT_EQ(ToPixels(label5.rect, 96).bottom - (framePixels.bottom - framePixels.top), 2);
}

TEST(Layout, TabIndexesAreDistinctAndOnlyControlsHaveThem) {
    std::set<int> seen;
    for (const ControlRecord& c : kControls) {
        if (c.kind == ControlKind::Shape) {
            EXPECT_EQ(c.tabIndex, -1) << c.name;
            continue;
        }
        EXPECT_TRUE(seen.insert(c.tabIndex).second) << c.name;
    }
    EXPECT_EQ(seen, (std::set<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST(Layout, CaptionsHoldNoAccessKey) {
    for (const ControlRecord& c : kControls) {
        const std::string caption = c.caption;
        for (std::size_t i = caption.find('&'); i != std::string::npos; i = caption.find('&', i + 2))
            EXPECT_EQ(caption.compare(i, 2, "&&"), 0) << c.name << ": a single '&' marks an access key";
    }
}

// What a screen reader is told of each label, and the label's item in the
// window menu, where the keyboard reaches it.
TEST(Layout, LabelsDescribeThemselvesToScreenReadersAndTheWindowMenu) {
    // oleacc's ROLE_SYSTEM_PUSHBUTTON, _LINK and _STATICTEXT; STATE_SYSTEM_LINKED and _READONLY.
    constexpr long kButton = 0x2B, kLink = 0x1E, kText = 0x29, kLinked = 0x400000, kReadOnly = 0x40;
    const struct {
        ControlId id;
        const char* name;
        long role, state;
        const char* action;
        const char* menuItem;
    } labels[] = {
        {ControlId::Label1, "Effect Discription", kButton, 0, "Press", "&Effect Description"},
        {ControlId::Label2, "APPLY", kButton, 0, "Press", "A&pply"},
        {ControlId::Label3, "http://www.example.com/nuv/", kLink, kLinked, "Jump", "&Web Page"},
        {ControlId::Label4, "About!", kButton, 0, "Press", "A&bout"},
        {ControlId::Label5, "Flip3D : Windows Key + TAB Key", kText, kReadOnly, nullptr, nullptr},
    };
    // The platform's own items keep their keys (Wine adds "&About Wine").
    std::string keys = "RMSNXCA";
    for (const auto& expected : labels) {
        const ControlRecord& label = *FindControl(expected.id);
        SCOPED_TRACE(label.name);
        EXPECT_EQ(AccessibleName(label), expected.name);
        EXPECT_EQ(label.access.role, expected.role);
        EXPECT_EQ(label.access.state, expected.state);
        EXPECT_STREQ(label.access.defaultAction, expected.action);
        EXPECT_STREQ(label.windowMenuItem, expected.menuItem);
        if (!expected.menuItem) continue;
        const unsigned command = WindowMenuCommandOf(label.id);
        EXPECT_EQ(command & 0xFu, 0u) << "the system's bits";
        EXPECT_LT(command, 0xF000u) << "among the system's commands";
        EXPECT_EQ(LabelOfWindowMenuCommand(command | 0x3u), label.id);
        const char key = static_cast<char>(std::toupper(std::strchr(expected.menuItem, '&')[1]));
        EXPECT_EQ(keys.find(key), std::string::npos) << key << " is taken";
        keys += key;
    }
    EXPECT_EQ(LabelOfWindowMenuCommand(0xF060), ControlId::None) << "SC_CLOSE";
    EXPECT_EQ(AccessibleName(*FindControl(ControlId::Frame1)), "Enable/Disable Aero & Flip3D Effect");
}

TEST(Layout, TabOrderRunsThroughBothContainers) {
    std::vector<std::string> names;
    for (const ControlRecord* control : ControlsInTabOrder()) names.push_back(control->name);
    EXPECT_EQ(names, (std::vector<std::string>{"Frame1", "Command1", "Option1", "Option2", "Label1", "Label2",
                                               "Label3", "Label4", "Label5"}));
}

struct HitCase {
    ControlId container;
    int x, y;
    ControlId expected;
};

class LabelHit : public testing::TestWithParam<HitCase> {};

TEST_P(LabelHit, GoesToTheLabelUnderThePointer) {
    const HitCase& c = GetParam();
    EXPECT_EQ(LabelAt(c.container, c.x, c.y, 96), c.expected) << c.x << "," << c.y;
}

INSTANTIATE_TEST_SUITE_P(Points, LabelHit,
                         testing::Values(
                             // Label2 in the frame, including its outermost rows under Shape1's outline.
                             HitCase{ControlId::Frame1, 170, 85, ControlId::Label2},
                             HitCase{ControlId::Frame1, 168, 80, ControlId::Label2},
                             HitCase{ControlId::Frame1, 224, 96, ControlId::Label2},
                             HitCase{ControlId::Frame1, 225, 96, ControlId::None},
                             HitCase{ControlId::Frame1, 200, 97, ControlId::None},
                             HitCase{ControlId::Frame1, 20, 95, ControlId::Label5},
                             // Labels of the client area; a frame's label is not the client's.
                             HitCase{ControlId::Client, 8, 120, ControlId::Label1},
                             HitCase{ControlId::Client, 120, 136, ControlId::Label1},
                             HitCase{ControlId::Client, 121, 130, ControlId::None},
                             HitCase{ControlId::Client, 0, 152, ControlId::Label3},
                             HitCase{ControlId::Client, 192, 152, ControlId::Label3},
                             HitCase{ControlId::Client, 193, 152, ControlId::None},
                             HitCase{ControlId::Client, 240, 136, ControlId::Label4},
                             HitCase{ControlId::Client, 176, 88, ControlId::None},
                             HitCase{ControlId::Client, 270, 100, ControlId::None}));

TEST(TwipsToPixels, RoundsToTheNearestPixelAtAnyResolution) {
    const struct {
        int twips, dpi, pixels;
    } cases[] = {{15, 96, 1},  {70, 96, 5},      {2485, 96, 166},  {4455, 96, 297}, {7, 96, 0}, {8, 96, 1},
                 {15, 120, 1}, {4455, 120, 371}, {2880, 144, 288}, {-15, 96, -1},   {0, 96, 0}};
    for (const auto& c : cases) EXPECT_EQ(TwipsToPixels(c.twips, c.dpi), c.pixels) << c.twips << "@" << c.dpi;
}

TEST(FontHeight, IsThePointSizeInPixelsAsACharacterHeight) {
    EXPECT_EQ(FontHeight(kFonts[static_cast<int>(FontId::WindowDefault)], 96), -11);
    EXPECT_EQ(FontHeight(kFonts[static_cast<int>(FontId::LargeBold)], 96), -13);
    EXPECT_EQ(FontHeight(kFonts[static_cast<int>(FontId::Bold)], 120), -14);
    EXPECT_EQ(FontHeight(kFonts[static_cast<int>(FontId::Arial)], 144), -17);
}

} // namespace

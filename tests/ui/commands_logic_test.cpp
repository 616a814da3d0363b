// What APPLY writes and says, and the texts of the boxes, apart from the
// window and the registry.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ui/effect_choice.h"
#include "ui/layout.h"
#include "ui/messages.h"

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

TEST(EffectWritesFor, EachChoiceWritesItsTwoValuesInOrder) {
    const struct {
        EffectChoice choice;
        std::vector<std::pair<std::string, std::string>> expected;
    } cases[] = {
        {EffectChoice::Enable, {{"Composition", "1"}, {"CompositionPolicy", "2"}}},
        {EffectChoice::Disable, {{"Composition", "0"}, {"CompositionPolicy", "0"}}},
        {EffectChoice::None, {}},
    };
    for (const auto& c : cases) {
        std::vector<std::pair<std::string, std::string>> actual;
        for (const EffectWrite& write : EffectWritesFor(c.choice))
            actual.emplace_back(write.valueName, write.value);
        EXPECT_EQ(actual, c.expected);
    }
}

// Every version against every outcome: only writes that all succeeded tell
// of success, and only Vista and 7 are told to restart for it.
TEST(BoxAfterApply, TellsTheTruthOnEveryVersion) {
    const struct {
        WindowsVersion version;
        ApplyBox whenWritten;
    } versions[] = {
        {{6, 0}, ApplyBox::RestartNeeded}, // Vista, and a version that cannot be read
        {{6, 1}, ApplyBox::RestartNeeded}, // 7
        {{6, 2}, ApplyBox::NoEffect},      // 8, and 8.1 or later without their manifest entry
        {{6, 3}, ApplyBox::NoEffect},      // 8.1
        {{10, 0}, ApplyBox::NoEffect},     // 10 and 11
    };
    const struct {
        std::vector<bool> results;
        bool written;
        const char* what;
    } outcomes[] = {
        {{true, true}, true, "both written"},
        {{false, true}, false, "the first refused"}, // not hidden by the second
        {{true, false}, false, "the second refused"},
        {{false, false}, false, "both refused"},
        {{}, false, "nothing written"},
    };
    for (const auto& v : versions)
        for (const auto& outcome : outcomes)
            EXPECT_EQ(BoxAfterApply(outcome.results, v.version),
                      outcome.written ? v.whenWritten : ApplyBox::AccessError)
                << v.version.major << "." << v.version.minor << ", " << outcome.what;
    EXPECT_EQ(BoxAfterApply({true, true}, kWindowsVista), ApplyBox::RestartNeeded);
}

// Started with another account's password, the program writes that
// account's values: the box says so, and says nothing more otherwise.
TEST(TextWithAccountNote, NamesBothAccountsOnlyWhenTheyDiffer) {
    const std::string other = std::string(kRestartNeededText) +
                              "\r\n\r\nThese settings were written for the account \"Administrator\", "
                              "which runs this program, not for \"john\", who is signed in.";
    const struct {
        const char *program, *session;
        std::string expected;
    } cases[] = {
        {"john", "john", kRestartNeededText},
        {"John", "JOHN", kRestartNeededText}, // one account, written as typed at sign-in
        {"Administrator", "john", other},
        {"johnny", "john",
         std::string(kRestartNeededText) + "\r\n\r\nThese settings were written for the "
                                           "account \"johnny\", which runs this program, "
                                           "not for \"john\", who is signed in."},
        {"", "john", kRestartNeededText}, // a name that could not be read tells nothing
        {"Administrator", "", kRestartNeededText},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TextWithAccountNote(kRestartNeededText, c.program, c.session), c.expected)
            << c.program << " / " << c.session;
    EXPECT_EQ(Lines(other).size(), Lines(kRestartNeededText).size() + 2) << "one line, after an empty one";
}

TEST(Messages, LinesAreJoinedWithCrLfAndNoBreakAtTheEnd) {
    const struct {
        std::string text;
        std::size_t lines;
        std::vector<std::size_t> empty;
    } boxes[] = {
        {kRestartNeededText, 5, {1}},  {kAccessErrorText, 5, {3}}, {kNoEffectText, 4, {2}},
        {kDescriptionText, 9, {2, 6}}, {AboutText(), 7, {3, 5}},
    };
    for (const auto& box : boxes) {
        const std::vector<std::string> lines = Lines(box.text);
        EXPECT_EQ(lines.size(), box.lines) << box.text;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const bool shouldBeEmpty = std::find(box.empty.begin(), box.empty.end(), i) != box.empty.end();
            EXPECT_EQ(lines[i].empty(), shouldBeEmpty) << "line " << i + 1 << " of " << box.text;
            EXPECT_EQ(lines[i].find_first_of("\r\n"), std::string::npos);
        }
    }
}

TEST(Messages, TheDescriptionEndsWithTheKeysAfterABlank) {
    EXPECT_EQ(Lines(kDescriptionText).back(), " Windows Key + TAB Key");
}

TEST(Messages, TheAboutBoxAndTheLinkUseTheOneAddress) {
    EXPECT_EQ(Lines(AboutText()).back(), std::string("Website :: ") + kWebAddress);
    EXPECT_EQ(Lines(AboutText())[4], "Developed By  :: Zedrik");
    EXPECT_EQ(WebPageCommandLine(), std::string("explorer ") + kWebAddress);
    EXPECT_STREQ(FindControl(ControlId::Label3)->caption, kWebAddress);
    // An address under a domain reserved for examples, that never belongs to anyone.
    EXPECT_EQ(std::string(kWebAddress).find("http://www.example.com/"), 0u);
}

} // namespace

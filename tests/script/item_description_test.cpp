// The one-line descriptions of script items.

#include "script/item_description.h"

#include <gtest/gtest.h>

#include "script_rig.h"

namespace plorix::script {
namespace {

using test::item;

TEST(ItemDescription, EachActionShowsItsParameters) {
    struct Case {
        data::Scripting item;
        const char* expected;
    };
    const Case cases[] = {
        {item(kStartProgram, [](auto& i) { i.COMMAND = "xterm -e top"; i.PATH = "/tmp"; }), "xterm -e top /tmp"},
        {item(kStartScript, [](auto& i) { i.COMMAND = "sub.pxs"; i.PATH = "Append"; }), "sub.pxs Append"},
        {item(kCloseProgram), "Window with focus"},
        {item(kCloseProgram, [](auto& i) { i.COMMAND = "gedit"; }), "gedit"},
        {test::ifValue("SIZE", "<>", "[OLD]"), "SIZE <> [OLD]"},
        {item(kFileActions, [](auto& i) { i.DDETYPE = "Copy"; i.COMMAND = "a.txt"; i.PATH = "b"; }),
         "Copy ( a.txt , b )"},
        {item(kDde, [](auto& i) { i.DDETYPE = "Execute"; i.DDEAPPLICATIONNAME = "org.x.App"; i.DDEAPPLICATIONTOPIC = "/App"; }),
         "Execute org.x.App /App"},
        {item(kDisplayMessage, [](auto& i) { i.DDEAPPLICATIONNAME = "Backup done"; i.DDEAPPLICATIONTOPIC = "Note"; }),
         "Backup done Note"},
        {item(kSetFocus, [](auto& i) { i.FOCUSONWINDOW = "*Editor"; }), "*Editor"},
        {test::wait(10, "Setup*", "Or"), "10 seconds Or Setup*"},
        {test::wait(10), "10 seconds"},
        {test::wait(0, "~Setup*"), "~Setup*"},
        {item(kIfWindow, [](auto& i) { i.WINDOWTITLETOCHECKFOR = "Setup*"; i.WINDOWEXISTANCE = "Window Exists"; }),
         "Setup* - Window Exists"},
        {item(kIfWindow, [](auto& i) {
             i.WINDOWTITLETOCHECKFOR = "Setup*";
             i.FOCUSONWINDOW = "Cancel";
             i.WINDOWEXISTANCE = "Window Doesn't Exist";
         }),
         "Setup*/Cancel - Window Doesn't Exist"},
        {item(kIfTimeElapsed, [](auto& i) { i.TIMEELAPSED = 86400; }), "86400 seconds"},
        {item(kSendKeystrokes, [](auto& i) { i.KEYSTROKES = "Hello[ENTER]"; }), "Hello[ENTER]"},
        {test::setValue("DAY", "MONDAY"), "DAY = MONDAY"},
        {item(kExitScript), ""},
        {item(kEndIf), ""},
        {item("**End**"), ""},
    };
    for (const Case& c : cases) EXPECT_EQ(itemDescription(c.item), c.expected) << c.item.ACTION.str();
}

TEST(ItemDescription, LongTextsAreCutAndProgressNamesTheAction) {
    const auto keys = item(kSendKeystrokes, [](auto& i) { i.KEYSTROKES = std::string(200, 'k'); });
    EXPECT_EQ(itemDescription(keys), std::string(128, 'k'));
    EXPECT_EQ(progressText(test::setValue("A", "1")), "Set Value-A = 1");
    EXPECT_EQ(progressText(item(kExitScript)), "Exit Script");
}

}  // namespace
}  // namespace plorix::script

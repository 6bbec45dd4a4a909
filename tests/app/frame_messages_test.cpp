// The address book and the stored messages as the frame opens them: at
// start-up, titled with the user in multi-user mode, and "Se&nd" of the
// message browse, which hands the message to the frame's script queue.

#include <QPushButton>

#include "data/open_routine.h"
#include "data/process_tables.h"
#include "data/tables/messages.h"
#include "frame_rig.h"
#include "mail/servers/test_servers.h"
#include "ui/browses/browse_contacts.h"
#include "ui/browses/browse_messages.h"

namespace plorix::app::test {
namespace {

TEST_F(FrameTest, SendFromTheMessageBrowseGoesOutThroughTheScriptQueue) {
    mail::test::SinkServer server("smtp_sink.py");
    dir.write("px98.INI", "[Settings]\nStartUpContacts=1\nStartUpSchedule=1\nMultiUser=1\nUserID=Ann\nHost=" +
                              server.address() + "\nSender=me@example.org\n");
    {
        store::Table& table = data::processTable<data::Messages>();
        data::TableUse use(table, prompter);
        auto& m = table.rec<data::Messages>();
        m.EMAILID = 3;
        m.MAILTYPE = "Email";
        m.EMAILTO = "ann@example.org";
        m.SUBJECT = "Queued";
        ASSERT_EQ(table.add(), store::kNoError);
    }
    MainFrame& f = frame();
    f.open();
    auto* contacts = f.findChild<ui::BrowseContacts*>();
    ASSERT_NE(contacts, nullptr);
    EXPECT_EQ(contacts->windowTitle(), "Contacts - Ann");

    f.perform(FrameCommand::EmailMessages);
    auto* messages = f.findChild<ui::BrowseMessages*>();
    ASSERT_NE(messages, nullptr);
    EXPECT_EQ(messages->windowTitle(), "Email Messages - Ann");
    QPushButton* send = nullptr;
    for (QPushButton* b : messages->findChildren<QPushButton*>())
        if (b->text() == "Se&nd") send = b;
    ASSERT_NE(send, nullptr);
    EXPECT_EQ(send->toolTip(), "Send highlighted email message");
    send->click();
    ASSERT_FALSE(f.engine().queue().empty());
    EXPECT_EQ(f.engine().queue().front().ACTION, "Send Email");
    EXPECT_EQ(f.engine().queue().front().EMAILID, 3);
    tick();
    EXPECT_EQ(f.statusZone(2), "Sending Email...");
    ASSERT_TRUE(processUntil([&] {
        clock.advance(50);  // the item waits the scripting delay
        tick();
        return server.count() == 1 && f.engine().queue().empty();
    }));
    EXPECT_EQ(server.message(1).recipients(), std::vector<std::string>{"ann@example.org"});
}

}  // namespace
}  // namespace plorix::app::test

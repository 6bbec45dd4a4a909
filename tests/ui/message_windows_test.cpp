// The stored messages and their form: picked by number for a script,
// sent at once from the form to a real mail server on a loopback port
// (the edits saved first, the window free while the mail travels), a
// mass mailing that reaches each contact of a category alone, and the
// refusals that leave the file as it was.

#include <QPushButton>
#include <QTableView>

#include "data/tables/contact.h"
#include "data/tables/messages.h"
#include "data/tables/scripting.h"
#include "kit_rig.h"
#include "mail/servers/test_servers.h"
#include "settings/configuration.h"
#include "ui/browses/browse_messages.h"
#include "ui/forms/update_messages.h"
#include "ui/kit/record_table_model.h"

namespace plorix::ui {
namespace {

using data::Messages;
using mail::test::SinkServer;
using test::named;

class MessageWindowsTest : public test::WindowTest {
protected:
    MessageWindowsTest() {
        settings::Settings& s = settings::settings();
        s.Sender = "me@example.org";
        s.SenderName = "Me";
        s.Host = mail::test::refusedAddress();
    }

    std::unique_ptr<store::Table> messages = table(Messages::schema(), prompter);

    void addMessage(std::int32_t id, const std::function<void(Messages&)>& fill) {
        store::clearRecord(Messages::schema(), messages->buffer());
        auto& m = messages->rec<Messages>();
        m.EMAILID = id;
        m.MAILTYPE = "Email";
        fill(m);
        ASSERT_EQ(messages->add(), store::kNoError);
    }
    Messages stored(std::int32_t id) {
        messages->rec<Messages>().EMAILID = id;
        EXPECT_EQ(messages->get(data::keys::Messages::KEYEMAILID), store::kNoError);
        return messages->rec<Messages>();
    }
    void addContact(std::int32_t id, const std::string& first, const std::string& email,
                    const std::string& group) {
        auto contacts = table(data::Contact::schema(), prompter);
        store::clearRecord(data::Contact::schema(), contacts->buffer());
        auto& c = contacts->rec<data::Contact>();
        c.CLIENTID = id;
        c.FIRSTNAME = first;
        c.LASTNAME = "Tester";
        c.EMAIL = email;
        c.CONTACTCATEGORY = group;
        ASSERT_EQ(contacts->add(), store::kNoError);
    }
    // Presses "&Send Now" in `form` and waits until the send has ended.
    void sendNow(UpdateMessages& form) {
        named<QPushButton>(&form, "Send Now")->click();
        plorix::test::waitUntil([&] { return !form.sending(); }, 15000);
    }
    const RecordingPrompter::Shown& lastBox() const { return prompter.shown().back(); }
};

TEST_F(MessageWindowsTest, SelectModeReturnsTheHighlightedMessagesNumber) {
    addMessage(3, [](Messages& m) { m.SUBJECT = "First"; });
    addMessage(8, [](Messages& m) { m.SUBJECT = "Second"; });
    std::optional<std::int32_t> chosen;
    whenModal([](QWidget* picker) {
        auto* browse = picker->findChild<BrowseMessages*>();
        ASSERT_NE(browse, nullptr);
        EXPECT_EQ(named<QPushButton>(browse, "Send"), nullptr);  // nothing queues from the picker
        QTest::keyClick(&browse->view(), Qt::Key_Down);
        QTest::keyClick(&browse->view(), Qt::Key_Return);
    });
    chosen = selectMessage(prompter);
    EXPECT_EQ(chosen, 8);
    whenModal([](QWidget* picker) { QTest::keyClick(picker, Qt::Key_Escape); });
    EXPECT_EQ(selectMessage(prompter), std::nullopt);
}

TEST_F(MessageWindowsTest, SendNowSavesTheEditsFirstAndSendsWhileTheFormStaysUsable) {
    SinkServer server("smtp_sink.py");
    settings::settings().Host = server.address();
    auto* browse = new BrowseMessages(prompter, {}, {});
    browse->show();
    inForm<UpdateMessages>(browse->view(), Qt::Key_Insert, [&](UpdateMessages& form) {
        EXPECT_EQ(form.windowTitle(), "Add Email Message");
        EXPECT_EQ(form.binder().editor("M_:MAILTYPE")->text(), "Email");
        typeInto(named(&form, "To"), "ann@example.org");
        typeInto(named(&form, "Subject"), "Minutes");
        form.binder().editor("M_:MESSAGE")->setText("The minutes are attached.");
        named<QPushButton>(&form, "Send Now")->click();
        // The transfer runs elsewhere: the form answers at once, busy.
        EXPECT_TRUE(form.sending());
        EXPECT_FALSE(named<QPushButton>(&form, "OK")->isEnabled());
        ASSERT_TRUE(plorix::test::waitUntil([&] { return !form.sending(); }, 15000));
        // Saved before it went, and kept when the form is then cancelled.
        EXPECT_TRUE(form.kept());
        named<QPushButton>(&form, "Cancel")->click();
    });
    ASSERT_TRUE(server.waitFor(1));
    const mail::test::Received m = server.message(1);
    EXPECT_EQ(m.recipients(), std::vector<std::string>{"ann@example.org"});
    EXPECT_EQ(m.header("Subject"), "Minutes");
    EXPECT_EQ(m.body.substr(0, 25), "The minutes are attached.");
    EXPECT_EQ(lastBox().title, "Mail");
    EXPECT_EQ(lastBox().text, "Mail sent:  ann@example.org");
    EXPECT_EQ(prompter.shown().size(), 1u);  // the save itself says nothing
    const Messages sent = stored(1);
    EXPECT_EQ(sent.SUBJECT, "Minutes");
    EXPECT_EQ(sent.LASTDATESENT, processClock().today());
    EXPECT_EQ(browse->model().rowCount(), 1);
    browse->close();
}

TEST_F(MessageWindowsTest, AFailedSendSaysWhyAndKeepsTheDateItLastWent) {
    addMessage(4, [](Messages& m) {
        m.EMAILTO = "ann@example.org";
        m.SUBJECT = "Old news";
        m.LASTDATESENT = 1234;
    });
    auto* browse = new BrowseMessages(prompter, {}, {});
    browse->show();
    inForm<UpdateMessages>(browse->view(), Qt::Key_Return, [&](UpdateMessages& form) {
        EXPECT_EQ(form.windowTitle(), "Change Email Message");
        typeInto(named(&form, "Subject"), "New news");
        sendNow(form);
        named<QPushButton>(&form, "Cancel")->click();
    });
    EXPECT_EQ(lastBox().title, "Mail Error");
    EXPECT_EQ(lastBox().text.rfind("Could not send:  ann@example.org\n\nResult 6: Failed to connect", 0), 0u)
        << lastBox().text;
    EXPECT_EQ(prompter.shown().size(), 1u)
        << prompter.shown()[0].title << prompter.shown()[0].text;  // one box says it all
    EXPECT_EQ(stored(4).LASTDATESENT, 1234);
    EXPECT_EQ(stored(4).SUBJECT, "New news");  // saved before the send
    browse->close();
}

TEST_F(MessageWindowsTest, AMassMailingSendsEachContactOfTheCategoryAMessageOfTheirOwn) {
    SinkServer server("smtp_sink.py");
    settings::settings().Host = server.address();
    addContact(1, "Ann", "ann@example.org", "Club");
    addContact(2, "Bob", "bob@example.org", "club");
    addContact(3, "Cy", "cy@example.org", "Club");
    addContact(4, "Dee", "dee@example.org", "Work");
    auto* browse = new BrowseMessages(prompter, {}, {});
    browse->show();
    inForm<UpdateMessages>(browse->view(), Qt::Key_Insert, [&](UpdateMessages& form) {
        // Leaving a field is what accepts it: the form must have the focus.
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        form.binder().editor("M_:MAILTYPE")->setText("Mass Mailing");
        form.applyMailType(true);
        EXPECT_TRUE(named(&form, "Primary")->isVisible());
        EXPECT_FALSE(named(&form, "CC")->isVisible());
        FieldEditor* category = form.binder().editor("M_:EMAILTOGROUP");
        typeInto(category->control(), "Club");
        QTest::keyClick(category->control(), Qt::Key_Tab);  // accepted: the address becomes "N/A"
        EXPECT_EQ(form.binder().editor("M_:EMAILTO")->text(), "N/A");
        typeInto(named(&form, "Subject"), "Meeting");
        sendNow(form);
        QTest::keyClick(&form, Qt::Key_Return);
    });
    ASSERT_TRUE(server.waitFor(3));
    std::vector<std::string> reached;
    for (int i = 1; i <= server.count(); ++i) {
        const auto recipients = server.message(i).recipients();
        ASSERT_EQ(recipients.size(), 1u);
        reached.push_back(recipients[0]);
        EXPECT_EQ(server.message(i).header("To").find(','), std::string::npos);
    }
    std::sort(reached.begin(), reached.end());
    EXPECT_EQ(reached, (std::vector<std::string>{"ann@example.org", "bob@example.org", "cy@example.org"}));
    EXPECT_EQ(lastBox().text, "Mail sent:  Club");
    EXPECT_EQ(settings::getSetting("LastMassMailing"), "Club");
    browse->close();
}

TEST_F(MessageWindowsTest, TheFormNamesAContactsAddressAndTitlesAnAttachmentAndANewsgroupFromLastTime) {
    addContact(9, "Ann", "ann@example.org", "");
    settings::putSetting("LastNewsgroup", "comp.lang.c");
    auto* browse = new BrowseMessages(prompter, {}, {});
    browse->show();
    inForm<UpdateMessages>(browse->view(), Qt::Key_Insert, [&](UpdateMessages& form) {
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        typeInto(named(&form, "To"), "ann@example.org");
        typeInto(named(&form, "Attachment"), "report.pdf");
        QTest::keyClick(named(&form, "Attachment"), Qt::Key_Tab);
        EXPECT_EQ(form.binder().editor("M_:EMAILTONAME")->text(), "Ann Tester");
        EXPECT_EQ(form.message().CONTACTID, 9);
        EXPECT_EQ(form.binder().editor("M_:SUBJECT")->text(), "report.pdf");
        // A name already given stays.
        typeInto(named(&form, "Name"), "Dr. Ann");
        typeInto(named(&form, "To"), "ann@example.org");
        named(&form, "CC")->setFocus();
        EXPECT_EQ(form.binder().editor("M_:EMAILTONAME")->text(), "Dr. Ann");
        // News: the newsgroup of last time, and no copies.
        form.binder().editor("M_:EMAILTO")->setText("");
        form.binder().editor("M_:MAILTYPE")->setText("News");
        form.applyMailType(true);
        EXPECT_EQ(form.binder().editor("M_:EMAILTO")->text(), "comp.lang.c");
        EXPECT_TRUE(named(&form, "Newsgroup")->isVisible());
        EXPECT_FALSE(named(&form, "BCC")->isVisible());
        named<QPushButton>(&form, "Cancel")->click();
    });
    EXPECT_EQ(messages->records(), 0);  // the reserved number went again
    browse->close();
}

TEST_F(MessageWindowsTest, AnAddressWithAControlCharacterAndALinkedMessageAreRefusedUnwritten) {
    addMessage(5, [](Messages& m) {
        m.EMAILTO = "ann@example.org";
        m.SUBJECT = "Linked";
    });
    // A script item sends message 5.
    auto items = table(data::Scripting::schema(), prompter);
    store::clearRecord(data::Scripting::schema(), items->buffer());
    items->rec<data::Scripting>().ID = 1;
    items->rec<data::Scripting>().SEQUENCE = 1;
    items->rec<data::Scripting>().ACTION = "Send Email";
    items->rec<data::Scripting>().EMAILID = 5;
    ASSERT_EQ(items->add(), store::kNoError);

    auto* browse = new BrowseMessages(prompter, {}, {});
    browse->show();
    inForm<UpdateMessages>(browse->view(), Qt::Key_Return, [&](UpdateMessages& form) {
        form.binder().editor("M_:EMAILTO")->setText("ann@example.org\r\nBcc: eve@example.net");
        QTest::keyClick(&form, Qt::Key_Return);
        EXPECT_TRUE(form.isVisible());
        EXPECT_EQ(form.focusWidget(), named(&form, "To"));
        named<QPushButton>(&form, "Cancel")->click();
    });
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].title, "Invalid Address");
    EXPECT_EQ(stored(5).EMAILTO, "ann@example.org");

    prompter.answerNext(kOk);  // yes, delete it
    QTest::keyClick(&browse->view(), Qt::Key_Delete);
    EXPECT_EQ(prompter.shown().back().title, "Referential Integrity Delete Error");
    EXPECT_EQ(messages->records(), 1);
    EXPECT_EQ(stored(5).SUBJECT, "Linked");
    browse->close();
}

}  // namespace
}  // namespace plorix::ui

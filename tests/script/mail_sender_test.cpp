// Sending stored messages end to end: Messages and Contact records in a real
// data file, a real mail or news server on a loopback port, and what the
// user is told (event log, error boxes, M_:LASTDATESENT).

#include "script/mail_sender.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#include "data/open_routine.h"
#include "data/process_tables.h"
#include "data/tables/contact.h"
#include "mail/servers/test_servers.h"
#include "script_rig.h"
#include "support/temp_dir.h"

namespace plorix::script {
namespace {

using namespace test;
using namespace mail::test;

class MailSenderTest : public ::testing::Test, protected ScriptRig {
protected:
    MailSenderTest() {
        settings.Host = "127.0.0.1:1";
        settings.Sender = "me@example.org";
        settings.SenderName = "Me Myself";
        settings.Org = "Acme";
        settings.NHost = "127.0.0.1:1";
        settings.NSender = "poster@example.org";
        settings.NSenderName = "Poster";
        values.set("WHO", "Ann");
    }
    ~MailSenderTest() override {
        messagesUse.reset();
        contactsUse.reset();
        data::resetProcessTables();
        data::resetUseCounts();
    }

    MailServices mailServices() {
        MailServices s;
        s.clock = &clock;
        s.prompter = &prompter;
        s.settings = &settings;
        s.substitute = [this](std::string_view text, std::size_t width) {
            return values.substitute(text, width);
        };
        s.timeoutSeconds = 5;
        return s;
    }

    // Stores a message; `fill` sets its fields.
    data::Messages& addMessage(std::int32_t id, const std::function<void(data::Messages&)>& fill) {
        store::Table& table = data::processTable<data::Messages>();
        auto& m = table.rec<data::Messages>();
        m = data::Messages{};
        m.EMAILID = id;
        m.MAILTYPE = "Email";
        fill(m);
        EXPECT_EQ(table.add(), 0);
        return m;
    }
    data::Messages stored(std::int32_t id) {
        store::Table& table = data::processTable<data::Messages>();
        auto& m = table.rec<data::Messages>();
        m.EMAILID = id;
        EXPECT_EQ(table.get(data::keys::Messages::KEYEMAILID), 0);
        return m;
    }
    void addContact(std::int32_t id, std::string_view first, std::string_view last, std::string_view email,
                    std::string_view category) {
        store::Table& table = data::processTable<data::Contact>();
        auto& c = table.rec<data::Contact>();
        c = data::Contact{};
        c.CLIENTID = id;
        c.FIRSTNAME = first;
        c.LASTNAME = last;
        c.EMAIL = email;
        c.CONTACTCATEGORY = category;
        EXPECT_EQ(table.add(), 0);
    }
    // The one box shown, as "title|text".
    std::string onlyBox() const {
        EXPECT_EQ(prompter.shown().size(), 1u);
        return prompter.shown().empty() ? "" : prompter.shown()[0].title + "|" + prompter.shown()[0].text;
    }
    bool loggedLine(const std::string& line) const {
        return std::find(logged.begin(), logged.end(), line) != logged.end();
    }

    plorix::test::TempDir dir;
    std::optional<data::TableUse> messagesUse{std::in_place, data::processTable<data::Messages>(), prompter};
    std::optional<data::TableUse> contactsUse{std::in_place, data::processTable<data::Contact>(), prompter};
    MessageSender sender{mailServices()};
};

TEST_F(MailSenderTest, AnEmailGoesOutWithValuesSubstitutedAndItsDateSentStored) {
    SinkServer server("smtp_sink.py");
    settings.Host = server.address();
    addMessage(7, [](data::Messages& m) {
        m.EMAILTO = "ann@example.org";
        m.EMAILTONAME = "Ann Smith";
        m.CC = "Boss <boss@example.org>";
        m.BCC = "archive@example.org";
        m.SUBJECT = "Report for [WHO]";
        m.MESSAGE = "Dear [WHO],\r\nall is well.";
    });
    EXPECT_EQ(sender.sendMessage({7, nullptr, true}), 0);
    ASSERT_TRUE(server.waitFor(1));
    const Received m = server.message(1);
    EXPECT_EQ(m.recipients(),
              (std::vector<std::string>{"ann@example.org", "boss@example.org", "archive@example.org"}));
    EXPECT_EQ(m.header("Subject"), "Report for Ann");
    EXPECT_EQ(m.header("From"), "Me Myself <me@example.org>");
    EXPECT_EQ(m.header("Cc"), "Boss <boss@example.org>");
    EXPECT_EQ(m.header("Organization"), "Acme");
    EXPECT_EQ(m.body.substr(0, 23), "Dear Ann,\r\nall is well.");
    EXPECT_EQ(logged, std::vector<std::string>{"Email|Sent ann@example.org"});
    EXPECT_TRUE(prompter.shown().empty());
    EXPECT_EQ(stored(7).LASTDATESENT, clock.today());
    EXPECT_TRUE(std::filesystem::exists(dir / "inmail.log"));
}

TEST_F(MailSenderTest, ValuesWithLineBreaksCannotAddHeadersOrRecipients) {
    SinkServer server("smtp_sink.py");
    settings.Host = server.address();
    values.set("WHO", "Ann\r\nBcc: evil@example.net");
    addMessage(1, [](data::Messages& m) {
        m.EMAILTO = "ann@example.org";
        m.SUBJECT = "For [WHO]";
        m.MESSAGE = "Hello [WHO]";
    });
    EXPECT_EQ(sender.sendMessage({1, nullptr, true}), 0);
    ASSERT_TRUE(server.waitFor(1));
    const Received m = server.message(1);
    EXPECT_EQ(m.recipients(), std::vector<std::string>{"ann@example.org"});
    EXPECT_EQ(m.headerCount("Bcc"), 0);
    EXPECT_EQ(m.header("Subject"), "For Ann  Bcc: evil@example.net");
}

TEST_F(MailSenderTest, NotApplicableInAnyCaseLeavesOnlyCopyRecipients) {
    SinkServer server("smtp_sink.py");
    settings.Host = server.address();
    addMessage(2, [](data::Messages& m) {
        m.EMAILTO = "n/a";
        m.CC = "cc@example.org";
        m.SUBJECT = "Copy";
    });
    EXPECT_EQ(sender.sendMessage({2, nullptr, true}), 0);
    ASSERT_TRUE(server.waitFor(1));
    EXPECT_EQ(server.message(1).recipients(), std::vector<std::string>{"cc@example.org"});
    EXPECT_EQ(server.message(1).headerCount("To"), 0);
}

TEST_F(MailSenderTest, AFailedEmailIsLoggedWithoutABoxAndKeepsItsDate) {
    settings.Host = refusedAddress();
    addMessage(3, [](data::Messages& m) {
        m.EMAILTO = "ann@example.org";
        m.LASTDATESENT = 1234;
    });
    EXPECT_EQ(sender.sendMessage({3, nullptr, true}), mail::kMailConnectFailed);
    EXPECT_EQ(logged.size(), 2u);
    EXPECT_TRUE(loggedLine("Mail Error|Error:  Failed to connect: Connection refused")) << logged[0];
    EXPECT_TRUE(loggedLine("Mail Error|Could not send ann@example.org"));
    EXPECT_TRUE(prompter.shown().empty());
    EXPECT_EQ(stored(3).LASTDATESENT, 1234);

    // An address with a typing slip is named in the log.
    addMessage(4, [](data::Messages& m) { m.EMAILTO = "ann@@example.org"; });
    EXPECT_EQ(sender.sendMessage({4, nullptr, true}), mail::kMailInvalidAddress);
    EXPECT_TRUE(loggedLine("Mail Error|Error:  Invalid address: ann@@example.org"));
}

TEST_F(MailSenderTest, AMassMailingReachesEveryContactOfItsCategoryOnePerMessage) {
    SinkServer server("smtp_sink.py");
    settings.Host = server.address();
    addContact(1, "Zed", "Young", "zed@example.org", "Friends");
    addContact(2, "Ann", "Adams", "ann@example.org", "friends");
    addContact(3, "Bob", "Brown", "bob@example.org", "Work");
    addContact(4, "No", "Mail", "", "Friends");
    addMessage(5, [](data::Messages& m) {
        m.MAILTYPE = "Mass Mailing";
        m.EMAILTO = "N/A";
        m.EMAILTOGROUP = "Friends";
        m.SUBJECT = "Party";
    });
    EXPECT_EQ(sender.sendMessage({5, nullptr, true}), 0);
    ASSERT_TRUE(server.waitFor(2));
    EXPECT_EQ(server.count(), 2);
    // In the order of the category key: last names Adams, Young.
    EXPECT_EQ(server.message(1).header("To"), "Ann Adams <ann@example.org>");
    EXPECT_EQ(server.message(2).header("To"), "Zed Young <zed@example.org>");
    EXPECT_EQ(server.message(2).raw.find("ann@example.org"), std::string::npos);
    EXPECT_EQ(logged, std::vector<std::string>{"Mass Mailing|Sent N/A"});
    EXPECT_FALSE(std::filesystem::exists(dir / "inmail.log"));
    EXPECT_EQ(stored(5).LASTDATESENT, clock.today());
}

TEST_F(MailSenderTest, AFailedMassMailingShowsWhatWasTried) {
    addMessage(6, [](data::Messages& m) {
        m.MAILTYPE = "Mass Mailing";
        m.EMAILTO = "N/A";
        m.EMAILTOGROUP = "Nobody";
        m.SUBJECT = "Party for [WHO]";
    });
    EXPECT_EQ(sender.sendMessage({6, nullptr, true}), mail::kMailBadArguments);
    EXPECT_EQ(logged, (std::vector<std::string>{"Mail Error|Error:  Bad arguments from form: no recipient",
                                                "Mail Error|Could not send N/A"}));
    EXPECT_EQ(onlyBox(),
              "Error Sending Mass Mailing|Error: Bad arguments from form: no "
              "recipient\r127.0.0.1:1\rme@example.org\rMe Myself\rPlorix 98\r"
              "Party for Ann\rNobody");
}

TEST_F(MailSenderTest, ANewsArticleIsPostedAndItsFailureShown) {
    SinkServer server("nntp_sink.py", {"--auth", "ann:pw"});
    addMessage(8, [&](data::Messages& m) {
        m.MAILTYPE = "News";
        m.EMAILTO = "comp.misc";
        m.SUBJECT = "Figures";
        m.MESSAGE = "Numbers.";
        m.NEWS_SERVER = server.address();  // the message's own server wins
        m.NEWS_USER = "ann";
        m.NEWS_PASSWORD = "pw";
    });
    EXPECT_EQ(sender.sendMessage({8, nullptr, true}), 0);
    ASSERT_TRUE(server.waitFor(1));
    EXPECT_EQ(server.message(1).header("Newsgroups"), "comp.misc");
    EXPECT_EQ(server.message(1).header("From"), "Poster <poster@example.org>");
    EXPECT_EQ(logged, std::vector<std::string>{"News|Sent comp.misc"});
    EXPECT_TRUE(std::filesystem::exists(dir / "inserver.log"));

    logged.clear();
    addMessage(9, [](data::Messages& m) {
        m.MAILTYPE = "News";
        m.EMAILTO = "comp.misc";
        m.EMAILTONAME = "Misc";
        m.SUBJECT = "Figures";
    });
    EXPECT_EQ(sender.sendMessage({9, nullptr, true}), mail::kMailConnectFailed);
    EXPECT_EQ(logged, (std::vector<std::string>{"News Error|Error:  Failed to connect: Connection refused",
                                                "News Error|Could not send comp.misc"}));
    EXPECT_EQ(onlyBox(),
              "Error Sending News Article|Error: Failed to connect: Connection "
              "refused\r127.0.0.1:1\rposter@example.org\rPoster\rPlorix 98\r"
              "Figures\rMisc\rcomp.misc");
}

TEST_F(MailSenderTest, AMissingMessageOrSetupEndsTheSendBeforeAnyTransfer) {
    EXPECT_EQ(sender.sendMessage({404, nullptr, true}), 1);
    EXPECT_EQ(logged, std::vector<std::string>{"Script|Error sending message"});

    logged.clear();
    settings.Sender = " ";
    addMessage(1, [](data::Messages& m) { m.EMAILTO = "ann@example.org"; });
    EXPECT_EQ(sender.sendMessage({1, nullptr, true}), 1);
    settings.NHost = "";
    addMessage(2, [](data::Messages& m) { m.MAILTYPE = "News"; });
    EXPECT_EQ(sender.sendMessage({2, nullptr, true}), 1);
    ASSERT_EQ(prompter.shown().size(), 2u);
    EXPECT_EQ(prompter.shown()[0].title, "Error!");
    EXPECT_EQ(prompter.shown()[0].text,
              "Email not setup.  Select File->Setup, Email tab, and fill in the required information.");
    EXPECT_EQ(prompter.shown()[1].text,
              "Email (News) not setup. Select File->Setup, Email tab, and fill in the required information.");
    EXPECT_TRUE(logged.empty());
}

TEST_F(MailSenderTest, AMessageTheCallerHoldsIsSentAsItIsAndNotStamped) {
    SinkServer server("smtp_sink.py");
    settings.Host = server.address();
    data::Messages held = addMessage(10, [](data::Messages& m) { m.EMAILTO = "old@example.org"; });
    held.EMAILTO = "new@example.org";  // edited in the form, not yet saved
    EXPECT_EQ(sender.sendMessage({10, &held, false}), 0);
    ASSERT_TRUE(server.waitFor(1));
    EXPECT_EQ(server.message(1).recipients(), std::vector<std::string>{"new@example.org"});
    EXPECT_EQ(stored(10).LASTDATESENT, 0);
}

TEST_F(MailSenderTest, TheSendEmailItemStaysCurrentWhileItsTransferRuns) {
    SilentServer silent;
    settings.Host = silent.address();
    addMessage(11, [](data::Messages& m) { m.EMAILTO = "ann@example.org"; });
    MailServices quick = mailServices();
    quick.timeoutSeconds = 1;
    MessageSender scriptSender(quick);
    ScriptServices s = services();
    s.mail = &scriptSender;
    ScriptStepper mailStepper(queue, s);
    mailStepper.queueScript(
        {item(kSendEmail, [](data::Scripting& i) { i.EMAILID = 11; }), setValue("AFTER", "1")}, "s");
    // The item waits for the silent server while the ticks go on.
    int ticksWhileSending = 0;
    while (!queue.empty() && ticksWhileSending < 100) {
        clock.advance(50);
        mailStepper.step();
        if (scriptSender.busy()) {
            ++ticksWhileSending;
            EXPECT_EQ(queue.front().ACTION.str(), kSendEmail);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_GE(ticksWhileSending, 5);
    EXPECT_EQ(mailStepper.lastMailResult(), mail::kMailReceiveFailed);
    EXPECT_EQ(values.get("AFTER"), "1");
    EXPECT_TRUE(loggedLine("Mail Error|Could not send ann@example.org"));
    EXPECT_TRUE(loggedLine("Script|Send Email"));
}

}  // namespace
}  // namespace plorix::script

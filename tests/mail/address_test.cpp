#include "mail/address.h"

#include <gtest/gtest.h>

namespace plorix::mail {
namespace {

TEST(MailAddress, AcceptsOrdinaryAddressesAndRefusesSlips) {
    for (const char* good :
         {"ann@example.org", "a.b+tag@mail.example.co.uk", "x@localhost", "o'neil@ex-ample.org",
          "\"ann smith\"@example.org", "ann@[192.0.2.1]", "ann@[IPv6:2001:db8::1]"})
        EXPECT_TRUE(mail::isValidAddress(good)) << good;
    for (const char* bad : {"", "ann", "ann@", "@example.org", "ann@@example.org", "ann smith@example.org",
                            "ann@example..org", ".ann@example.org", "ann.@example.org", "ann@-example.org",
                            "ann@example.org>", "<ann@example.org>", "ann@exa_mple.org", "müller@example.de"})
        EXPECT_FALSE(mail::isValidAddress(bad)) << bad;
    EXPECT_FALSE(mail::isValidAddress(std::string(65, 'a') + "@example.org"));
    EXPECT_FALSE(mail::isValidAddress("ann@" + std::string(250, 'a') + ".org"));
}

TEST(MailAddress, LineBreaksAndControlsNeverPassAsAnAddress) {
    for (const char* bad : {"ann@example.org\r\nRCPT TO:<evil@example.net>", "ann@example.org\n",
                            "ann\r@example.org", "\"ann\r\n\"@example.org", "ann@exam\tple.org"})
        EXPECT_FALSE(mail::isValidAddress(bad)) << bad;
    EXPECT_FALSE(mail::isValidNewsgroup("comp.misc\r\nNewsgroups: alt.evil"));
    EXPECT_FALSE(mail::isValidNewsgroup("comp misc"));
    EXPECT_FALSE(mail::isValidNewsgroup("comp..misc"));
    EXPECT_TRUE(mail::isValidNewsgroup("comp.lang.c++"));
    EXPECT_TRUE(mail::isValidNewsgroup("alt.test_group-1"));
}

TEST(MailAddress, FieldsSplitIntoEntriesWithNames) {
    const auto one = mail::splitRecipients("  ann@example.org ", "Ann Smith");
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].name, "Ann Smith");
    EXPECT_EQ(one[0].address, "ann@example.org");

    const auto many = mail::splitRecipients(
        "ann@example.org; \"Smith, Bob\" <bob@example.org>, ,Cy <cy@example.org>", "Ann Smith");
    ASSERT_EQ(many.size(), 3u);
    EXPECT_EQ(many[0].name, "");  // one name cannot belong to several addresses
    EXPECT_EQ(many[1].name, "Smith, Bob");
    EXPECT_EQ(many[1].address, "bob@example.org");
    EXPECT_EQ(many[2].name, "Cy");
    EXPECT_TRUE(mail::splitRecipients("  ").empty());
}

TEST(MailAddress, ServerNamesTakeAnOptionalPort) {
    struct Case {
        const char* text;
        const char* host;
        int port;
    };
    for (const Case& c : {Case{"mail.example.org", "mail.example.org", 25}, Case{" smtp:2525 ", "smtp", 2525},
                          Case{"192.0.2.7:587", "192.0.2.7", 587}, Case{"[::1]:119", "::1", 119},
                          Case{"::1", "::1", 25}, Case{"my_box", "my_box", 25}}) {
        const auto server = mail::parseServer(c.text, 25);
        ASSERT_TRUE(server) << c.text;
        EXPECT_EQ(server->host, c.host);
        EXPECT_EQ(server->port, c.port);
    }
    for (const char* bad : {"", "host:", "host:0", "host:65536", "host:25x", "[::1", "[::1]x", "a b",
                            "host\r\n:25", "user@host", "smtp://host"})
        EXPECT_FALSE(mail::parseServer(bad, 25)) << bad;
}

TEST(MailAddress, AJobIsCheckedBeforeAnythingIsSent) {
    mail::MailJob job;
    job.server = "mail.example.org";
    job.senderAddress = "me@example.org";
    job.to = {{"Ann", "ann@example.org"}};
    EXPECT_FALSE(mail::checkMailJob(job));

    mail::MailJob bad = job;
    bad.bcc = {{"", "bob@example.org\r\nDATA"}};
    auto refused = mail::checkMailJob(bad);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->code, mail::kMailInvalidAddress);
    EXPECT_EQ(mail::mailErrorText(*refused), "Invalid address: bob@example.org\r\nDATA");

    bad = job;
    bad.senderAddress = "me";
    EXPECT_EQ(mail::checkMailJob(bad)->code, mail::kMailInvalidAddress);
    bad = job;
    bad.to.clear();
    EXPECT_EQ(mail::checkMailJob(bad)->code, mail::kMailBadArguments);
    bad = job;
    bad.server = "mail example org";
    EXPECT_EQ(mail::checkMailJob(bad)->code, mail::kMailUnresolvedHost);
    bad = job;
    bad.user = "ann\r\nQUIT";
    EXPECT_EQ(mail::checkMailJob(bad)->code, mail::kMailBadArguments);

    mail::MailJob news = job;
    news.kind = mail::MailKind::News;
    news.to = {{"", "comp.misc"}};
    EXPECT_FALSE(mail::checkMailJob(news));
    news.to = {{"", "ann@example.org"}};  // an address is no newsgroup
    EXPECT_EQ(mail::checkMailJob(news)->code, mail::kMailInvalidAddress);
}

TEST(MailResult, CodesHaveTheirTextsAndOldSuccessCodesCountAsSuccess) {
    EXPECT_EQ(mail::mailCodeText(mail::kMailConnectFailed), "Failed to connect");
    EXPECT_EQ(mail::mailCodeText(mail::kMailServerError), "server error");
    EXPECT_EQ(mail::mailCodeText(14), "User Cancel");
    EXPECT_EQ(mail::mailCodeText(99), "Unknown error");
    EXPECT_TRUE(mail::settleMailResult({1001, {}}).ok());
    EXPECT_EQ(mail::settleMailResult({mail::kMailSendFailed, "x"}).code, mail::kMailSendFailed);
    EXPECT_EQ(mail::mailErrorText({mail::kMailServerError, "550 no such user"}),
              "server error: 550 no such user");
}

}  // namespace
}  // namespace plorix::mail

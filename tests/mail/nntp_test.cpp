// Posting news articles to our scripted news server on a loopback port, and
// to servers that refuse, fail or never answer.

#include <gtest/gtest.h>

#include <chrono>

#include "mail/servers/test_servers.h"
#include "mail/transfer.h"
#include "support/temp_dir.h"

namespace plorix::mail {
namespace {

using test::Received;
using test::SinkServer;

class NntpTest : public ::testing::Test {
protected:
    mail::MailJob job(const std::string& server) const { return test::testJob(mail::MailKind::News, server); }
    mail::MailResult send(const mail::MailJob& j) { return mail::transferMail(j, cancel); }

    plorix::test::TempDir dir;
    std::atomic<bool> cancel{false};
};

TEST_F(NntpTest, AnArticleIsPostedWithItsGroupsBodyAndAttachment) {
    SinkServer server("nntp_sink.py");
    dir.write("notes.txt", "plain notes\n");
    mail::MailJob j = job(server.address());
    j.to.push_back({"", "alt.test"});
    j.organisation = "Acme";
    j.attachments = {"notes.txt"};
    ASSERT_TRUE(send(j).ok()) << dir.read("inserver.log");
    ASSERT_TRUE(server.waitFor(1));
    const Received a = server.message(1);
    EXPECT_EQ(a.header("Newsgroups"), "comp.misc,alt.test");
    EXPECT_EQ(a.header("From"), "Me Myself <me@example.org>");
    EXPECT_EQ(a.header("Subject"), "Weekly figures");
    EXPECT_EQ(a.header("Organization"), "Acme");
    EXPECT_EQ(a.header("User-Agent"), "Plorix 98");
    EXPECT_EQ(a.headerCount("To"), 0);
    // Lines starting with a dot arrive as written.
    EXPECT_EQ(a.body, "Figures:\r\n.hidden line\r\n.\r\nend");
    EXPECT_EQ(a.attachments.at("notes.txt"), "plain notes\n");
    EXPECT_TRUE(a.envelope.empty());  // not logged in

    const std::string log = dir.read("inserver.log");
    EXPECT_NE(log.find("< 200 sink ready"), std::string::npos) << log;
    EXPECT_NE(log.find("> POST\r\n< 340 send article\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("< 240 article posted"), std::string::npos) << log;
    EXPECT_NE(log.find("> QUIT\r\n< 205 closing\r\n* sent"), std::string::npos) << log;
}

TEST_F(NntpTest, AuthInfoIsGivenWhenTheMessageNamesAUser) {
    SinkServer server("nntp_sink.py", {"--auth", "ann:s3cret"});
    mail::MailJob j = job(server.address());
    // Without a log-in the server refuses the post.
    const mail::MailResult refused = send(j);
    EXPECT_EQ(mail::mailErrorText(refused), "server error: 480 authentication required");

    j.user = "ann";
    j.password = "wrong";
    EXPECT_EQ(mail::mailErrorText(send(j)), "server error: 481 authentication failed");

    j.password = "s3cret";
    ASSERT_TRUE(send(j).ok()) << dir.read("inserver.log");
    ASSERT_TRUE(server.waitFor(1));
    EXPECT_EQ(server.message(1).envelope, std::vector<std::string>{"user ann"});
    const std::string log = dir.read("inserver.log");
    EXPECT_NE(log.find("> AUTHINFO USER ann\r\n< 381 password required\r\n> AUTHINFO PASS ****\r\n"),
              std::string::npos)
        << log;
    EXPECT_EQ(log.find("s3cret"), std::string::npos);
}

TEST_F(NntpTest, RefusalsAndDeadServersGiveTheirCodes) {
    {
        SinkServer closed("nntp_sink.py", {"--greeting", "502 no permission"});
        EXPECT_EQ(mail::mailErrorText(send(job(closed.address()))), "server error: 502 no permission");
    }
    {
        SinkServer rejecting("nntp_sink.py", {"--reject-article"});
        EXPECT_EQ(mail::mailErrorText(send(job(rejecting.address()))),
                  "server error: 441 posting failed: no such newsgroup");
    }
    EXPECT_EQ(send(job(test::refusedAddress())).code, mail::kMailConnectFailed);
    EXPECT_EQ(send(job("no-such-host.invalid:119")).code, mail::kMailUnresolvedHost);

    mail::MailJob bad = job("127.0.0.1:1");
    bad.to = {{"", "comp.misc\r\nPOST"}};
    EXPECT_EQ(mail::mailErrorText(send(bad)), "Invalid address: comp.misc\r\nPOST");
}

TEST_F(NntpTest, SilentAndUnreachableServersTimeOutAndACancelEndsTheWait) {
    test::SilentServer silent;
    mail::MailJob j = job(silent.address());
    j.timeoutSeconds = 2;
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(mail::mailErrorText(send(j)), "Failed to receive: timed out");
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GE(seconds, 1.9);
    EXPECT_LT(seconds, 3.5);

    test::SilentServer off(test::SilentServer::Unreachable);
    j.server = off.address();
    start = std::chrono::steady_clock::now();
    EXPECT_EQ(mail::mailErrorText(send(j)), "Failed to connect: timed out");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(3500));

    j.server = silent.address();
    j.timeoutSeconds = 30;
    mail::MailTransfer transfer(j);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    start = std::chrono::steady_clock::now();
    transfer.cancel();
    EXPECT_EQ(transfer.wait().code, mail::kMailUserCancel);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
}

}  // namespace
}  // namespace plorix::mail

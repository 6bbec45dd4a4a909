// Sending e-mail jobs to a real SMTP server (aiosmtpd, started per test on a
// loopback port) and to servers that refuse, fail or never answer.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <thread>

#include "mail/address.h"
#include "mail/servers/test_servers.h"
#include "mail/transfer.h"
#include "support/run_process.h"
#include "support/temp_dir.h"

namespace plorix::mail {
namespace {

using test::Received;
using test::SinkServer;

class SmtpTest : public ::testing::Test {
protected:
    mail::MailJob job(const std::string& server) const {
        return test::testJob(mail::MailKind::Email, server);
    }
    mail::MailResult send(const mail::MailJob& j) { return mail::transferMail(j, cancel); }

    plorix::test::TempDir dir;
    std::atomic<bool> cancel{false};
};

TEST_F(SmtpTest, AMessageReachesTheServerWithItsRecipientsBodyAndAttachment) {
    SinkServer server("smtp_sink.py");
    dir.write("report.pdf", std::string("%PDF-1.4\0\xff binary", 17));
    mail::MailJob j = job(server.address());
    j.cc = {{"", "cc@example.org"}};
    j.bcc = {{"", "hidden@example.org"}};
    j.organisation = "Acme";
    j.attachments = {"report.pdf"};
    ASSERT_TRUE(send(j).ok()) << dir.read("inmail.log");
    ASSERT_TRUE(server.waitFor(1));
    const Received m = server.message(1);
    EXPECT_EQ(m.envelope.front(), "from me@example.org");
    EXPECT_EQ(m.recipients(),
              (std::vector<std::string>{"ann@example.org", "cc@example.org", "hidden@example.org"}));
    EXPECT_EQ(m.header("From"), "Me Myself <me@example.org>");
    EXPECT_EQ(m.header("To"), "Ann Smith <ann@example.org>");
    EXPECT_EQ(m.header("Cc"), "cc@example.org");
    EXPECT_EQ(m.headerCount("Bcc"), 0);
    EXPECT_EQ(m.raw.find("hidden@example.org"), std::string::npos);
    EXPECT_EQ(m.header("Subject"), "Quarterly report");
    EXPECT_EQ(m.header("Organization"), "Acme");
    EXPECT_EQ(m.header("X-Mailer"), "Plorix 98");
    EXPECT_FALSE(m.header("Message-ID").empty());
    EXPECT_EQ(m.body.substr(0, 33), "Hello Ann,\r\nsee attached.\r\n.\r\nBye");  // the lone dot survives
    ASSERT_EQ(m.attachments.count("report.pdf"), 1u);
    EXPECT_EQ(m.attachments.at("report.pdf"), std::string("%PDF-1.4\0\xff binary", 17));

    const std::string log = dir.read("inmail.log");
    EXPECT_NE(log.find("> MAIL FROM:<me@example.org>"), std::string::npos) << log;
    EXPECT_NE(log.find("< 250 2.0.0 Message accepted"), std::string::npos) << log;
    EXPECT_NE(log.find("* sent"), std::string::npos) << log;
}

TEST_F(SmtpTest, AMassMailingGivesEachRecipientAMessageOfTheirOwn) {
    SinkServer server("smtp_sink.py", {"--reject", "gone"});
    mail::MailJob j = job(server.address());
    j.separately = true;
    j.to = {{"Ann Smith", "ann@example.org"}, {"Old Friend", "gone@example.org"}, {"Bob", "bob@example.org"}};
    const mail::MailResult result = send(j);
    // The refused recipient is reported; the others still get their message.
    EXPECT_EQ(result.code, mail::kMailServerError);
    EXPECT_NE(result.detail.find("550"), std::string::npos) << result.detail;
    ASSERT_TRUE(server.waitFor(2));
    EXPECT_EQ(server.count(), 2);
    EXPECT_EQ(server.message(1).recipients(), std::vector<std::string>{"ann@example.org"});
    EXPECT_EQ(server.message(1).header("To"), "Ann Smith <ann@example.org>");
    EXPECT_EQ(server.message(2).recipients(), std::vector<std::string>{"bob@example.org"});
    EXPECT_EQ(server.message(2).header("To"), "Bob <bob@example.org>");
    EXPECT_EQ(server.message(2).raw.find("ann@example.org"), std::string::npos);
}

TEST_F(SmtpTest, LogInWithThePasswordOfTheJobOrOfNetrcAndKeepItOutOfTheLog) {
    SinkServer server("smtp_sink.py", {"--auth", "ann:s3cret"});
    mail::MailJob j = job(server.address());
    j.user = "ann";
    j.password = "s3cret";
    ASSERT_TRUE(send(j).ok()) << dir.read("inmail.log");
    ASSERT_TRUE(server.waitFor(1));
    EXPECT_EQ(server.message(1).envelope.back(), "user ann");

    // Without a password in the job, ~/.netrc has it.
    const char* home = std::getenv("HOME");
    const std::string savedHome = home ? home : "";
    dir.write(".netrc", "machine 127.0.0.1 login ann password s3cret\n");
    setenv("HOME", dir.path().c_str(), 1);
    j.password.clear();
    const mail::MailResult viaNetrc = send(j);
    setenv("HOME", savedHome.c_str(), 1);
    EXPECT_TRUE(viaNetrc.ok()) << mail::mailErrorText(viaNetrc);
    EXPECT_TRUE(server.waitFor(2));

    j.password = "wrong";
    const mail::MailResult denied = send(j);
    EXPECT_EQ(denied.code, mail::kMailServerError);
    EXPECT_NE(denied.detail.find("535"), std::string::npos) << denied.detail;

    const std::string log = dir.read("inmail.log");
    EXPECT_NE(log.find("> AUTH PLAIN\r\n< 334 \r\n> ****\r\n"), std::string::npos) << log;
    EXPECT_EQ(log.find("s3cret"), std::string::npos);
    EXPECT_EQ(log.find("YW5uAGFubgBzM2NyZXQ"), std::string::npos);  // the base64 credentials
}

TEST_F(SmtpTest, StartTlsIsUsedWhenOfferedAndAnUntrustedCertificateIsNotSentTo) {
    const auto made = plorix::test::runProcess(
        {"/usr/bin/openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", "key.pem", "-out",
         "cert.pem", "-days", "1", "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1"},
        dir.path().string());
    ASSERT_EQ(made.status, 0) << made.err;
    SinkServer server("smtp_sink.py", {"--tls", (dir / "cert.pem").string(), (dir / "key.pem").string()});
    mail::MailJob j = job(server.address());
    j.caFile = (dir / "cert.pem").string();
    ASSERT_TRUE(send(j).ok()) << dir.read("inmail.log");
    ASSERT_TRUE(server.waitFor(1));
    EXPECT_EQ(server.message(1).envelope.back(), "tls 1");

    // A certificate nobody vouches for ends the transfer rather than sending in clear.
    j.caFile.clear();
    EXPECT_EQ(send(j).code, mail::kMailConnectFailed);
    EXPECT_EQ(server.count(), 1);
}

TEST_F(SmtpTest, ARecipientWithALineBreakIsRefusedBeforeAnyConnection) {
    SinkServer server("smtp_sink.py");
    mail::MailJob j = job(server.address());
    j.to = mail::splitRecipients("ok@example.com\r\nRCPT TO:<other@example.org>");
    const mail::MailResult result = send(j);
    EXPECT_EQ(result.code, mail::kMailInvalidAddress);
    EXPECT_EQ(result.detail, "ok@example.com\r\nRCPT TO: <other@example.org>");
    EXPECT_EQ(dir.read("inmail.log").find("MAIL FROM"), std::string::npos) << dir.read("inmail.log");
    EXPECT_EQ(server.count(), 0);
}

TEST_F(SmtpTest, FailuresGiveTheirCodes) {
    EXPECT_EQ(send(job(test::refusedAddress())).code, mail::kMailConnectFailed);
    EXPECT_EQ(send(job("no-such-host.invalid")).code, mail::kMailUnresolvedHost);

    SinkServer server("smtp_sink.py", {"--reject", "ann"});
    const mail::MailResult rejected = send(job(server.address()));
    EXPECT_EQ(rejected.code, mail::kMailServerError);
    EXPECT_EQ(mail::mailErrorText(rejected),
              "server error: 550 5.1.1 <ann@example.org>: mailbox unavailable");

    mail::MailJob missing = job(server.address());
    missing.attachments = {"no-such-file.txt"};
    EXPECT_EQ(mail::mailErrorText(send(missing)), "Cannot read attachment: no-such-file.txt");
    EXPECT_EQ(server.count(), 0);
}

TEST_F(SmtpTest, AServerThatNeverAnswersTimesOut) {
    test::SilentServer silent;
    mail::MailJob j = job(silent.address());
    j.timeoutSeconds = 2;
    const auto start = std::chrono::steady_clock::now();
    const mail::MailResult result = send(j);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(result.code, mail::kMailReceiveFailed);
    EXPECT_GE(seconds, 1.9);
    EXPECT_LT(seconds, 4.0);
    RecordProperty("seconds_to_time_out", std::to_string(seconds));
}

TEST_F(SmtpTest, AServerThatCannotBeReachedFailsToConnectWithinTheTimeOut) {
    test::SilentServer off(test::SilentServer::Unreachable);
    mail::MailJob j = job(off.address());
    j.timeoutSeconds = 2;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(mail::mailErrorText(send(j)), "Failed to connect: timed out");
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GE(seconds, 1.9);
    EXPECT_LT(seconds, 4.0);
}

TEST_F(SmtpTest, ATransferRunsOnItsOwnThreadAndCanBeCancelled) {
    test::SilentServer silent;
    mail::MailJob j = job(silent.address());
    j.timeoutSeconds = 30;
    mail::MailTransfer transfer(j);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_FALSE(transfer.finished());
    const auto start = std::chrono::steady_clock::now();
    transfer.cancel();
    EXPECT_EQ(transfer.wait().code, mail::kMailUserCancel);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    EXPECT_TRUE(transfer.finished());
}

}  // namespace
}  // namespace plorix::mail

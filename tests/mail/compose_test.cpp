#include "mail/compose.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "mail/encoding.h"
#include "mail/nntp_post.h"

namespace plorix::mail {
namespace {

// The header section, one entry per line as written (continuations separate).
std::vector<std::string> headerLines(const std::string& message) {
    std::vector<std::string> out;
    const std::string head = message.substr(0, message.find("\r\n\r\n") + 2);
    for (std::size_t pos = 0; pos < head.size();) {
        const std::size_t end = head.find("\r\n", pos);
        out.push_back(head.substr(pos, end - pos));
        pos = end + 2;
    }
    return out;
}

// The names of the headers that start a line.
std::vector<std::string> headerNames(const std::string& message) {
    std::vector<std::string> names;
    for (const std::string& line : headerLines(message))
        if (!line.empty() && line[0] != ' ' && line[0] != '\t')
            names.push_back(line.substr(0, line.find(':')));
    return names;
}

mail::MailJob sampleJob() {
    mail::MailJob job;
    job.server = "mail.example.org";
    job.programName = "Plorix 98";
    job.senderName = "Me";
    job.senderAddress = "me@example.org";
    job.organisation = "Acme";
    job.subject = "Report";
    job.to = {{"Ann Smith", "ann@example.org"}};
    job.cc = {{"", "cc@example.org"}};
    job.bcc = {{"", "hidden@example.org"}};
    job.body = "Line one\rLine two\nLine three\r\n";
    job.date = "Sat, 31 Oct 1959 17:30:00 +0000";
    return job;
}

TEST(MailCompose, HeadersOfAnEmailWithoutBcc) {
    const mail::MailJob job = sampleJob();
    const std::string message = mail::composeMessage(job, job.to, {});
    EXPECT_EQ(headerNames(message),
              (std::vector<std::string>{"Date", "From", "To", "Cc", "Subject", "Organization", "X-Mailer",
                                        "Message-ID", "MIME-Version", "Content-Type",
                                        "Content-Transfer-Encoding"}));
    EXPECT_NE(message.find("From: Me <me@example.org>\r\n"), std::string::npos);
    EXPECT_NE(message.find("To: Ann Smith <ann@example.org>\r\n"), std::string::npos);
    EXPECT_EQ(message.find("hidden@example.org"), std::string::npos);
    // Every line end of the body, whatever its form, is CR LF.
    EXPECT_NE(message.find("\r\n\r\nLine one\r\nLine two\r\nLine three\r\n"), std::string::npos);
}

TEST(MailCompose, LineBreaksInHeaderValuesNeverStartAHeader) {
    mail::MailJob job = sampleJob();
    job.subject = "Hi\r\nBcc: evil@example.net";
    job.senderName = "Me\nX-Injected: 1";
    job.organisation = "Acme\r\n\r\nbody text";
    job.programName = "P\r\nReply-To: evil@example.net";
    job.to = {{"Ann\r\nCc: evil@example.net", "ann@example.org"}};
    const std::string message = mail::composeMessage(job, job.to, {{"a\r\nb.txt", "text/plain", "data"}});
    const auto names = headerNames(message);
    for (const char* injected : {"Bcc", "X-Injected", "Reply-To"})
        EXPECT_EQ(std::count(names.begin(), names.end(), injected), 0) << injected;
    EXPECT_EQ(std::count(names.begin(), names.end(), "Cc"), 1);
    EXPECT_NE(message.find("Subject: Hi  Bcc: evil@example.net\r\n"), std::string::npos);
    EXPECT_EQ(message.find("\r\n\r\nbody text"), std::string::npos);
    EXPECT_NE(message.find("filename=\"a  b.txt\""), std::string::npos);
}

TEST(MailCompose, TextOutsideAsciiIsEncodedAndLongHeadersAreFolded) {
    mail::MailJob job = sampleJob();
    job.subject = "Grüße aus Köln";
    job.to = {{"Zoë Ångström", "zoe@example.org"}};
    const std::string message = mail::composeMessage(job, job.to, {});
    EXPECT_NE(message.find("Subject: =?UTF-8?B?R3LDvMOfZSBhdXMgS8O2bG4=?=\r\n"), std::string::npos);
    EXPECT_NE(message.find("To: =?UTF-8?B?Wm/DqyDDhW5nc3Ryw7Zt?= <zoe@example.org>\r\n"), std::string::npos);

    job.subject = std::string(40, 'a') + " " + std::string(40, 'b') + " " + std::string(40, 'c');
    for (const std::string& line : headerLines(mail::composeMessage(job, job.to, {})))
        EXPECT_LE(line.size(), mail::kFoldWidth) << line;

    // A word too long to fold goes as encoded words, each line within bounds.
    job.subject = std::string(300, 'x');
    for (const std::string& line : headerLines(mail::composeMessage(job, job.to, {})))
        EXPECT_LE(line.size(), mail::kFoldWidth) << line;
    // Encoded words never split a character.
    EXPECT_EQ(mail::encodedWords(std::string(60, 'x') + "é"),
              "=?UTF-8?B?" + mail::base64(std::string(45, 'x')) + "?= =?UTF-8?B?" +
                  mail::base64(std::string(15, 'x') + "é") + "?=");
}

TEST(MailCompose, BodiesAndFilesBecomeSevenBitLines) {
    mail::MailJob job = sampleJob();
    job.body = "Prix: 5 €\r\n" + std::string(1200, 'z') + "\r\nend =  ";
    const std::string file = std::string("\0\1\2\xff", 4) + std::string(100, 'q');
    const std::string message =
        mail::composeMessage(job, job.to, {{"data.bin", "application/octet-stream", file}});
    EXPECT_NE(message.find("Content-Type: multipart/mixed;\r\n boundary=\"=_plorix_"), std::string::npos);
    EXPECT_NE(message.find("Content-Transfer-Encoding: quoted-printable\r\n\r\nPrix: 5 =E2=82=AC\r\n"),
              std::string::npos);
    EXPECT_NE(message.find("end =3D =20"), std::string::npos);
    EXPECT_NE(message.find("Content-Disposition: attachment; filename=\"data.bin\"\r\n"), std::string::npos);
    EXPECT_NE(message.find(mail::base64Lines(file)), std::string::npos);
    for (std::size_t pos = 0; pos < message.size();) {
        const std::size_t end = message.find("\r\n", pos);
        ASSERT_NE(end, std::string::npos) << "the message ends with a line end";
        EXPECT_LE(end - pos, mail::kFoldWidth);
        pos = end + 2;
    }
    EXPECT_TRUE(mail::isAscii(message));
}

TEST(MailCompose, NewsArticlesNameTheirGroupsAndAreDotStuffed) {
    mail::MailJob job = sampleJob();
    job.kind = mail::MailKind::News;
    job.subject = "";
    job.to = {{"", "comp.misc"}, {"", "alt.test"}};
    job.body = ".starts with a dot\n.\nend";
    const std::string article = mail::composeMessage(job, job.to, {});
    const auto names = headerNames(article);
    EXPECT_EQ(std::count(names.begin(), names.end(), "To"), 0);
    EXPECT_EQ(std::count(names.begin(), names.end(), "Cc"), 0);
    EXPECT_NE(article.find("Newsgroups: comp.misc,alt.test\r\n"), std::string::npos);
    EXPECT_NE(article.find("Subject: (no subject)\r\n"), std::string::npos);
    EXPECT_NE(article.find("User-Agent: Plorix 98\r\n"), std::string::npos);
    EXPECT_NE(mail::dotStuffed(article).find("\r\n..starts with a dot\r\n..\r\nend\r\n.\r\n"),
              std::string::npos);
}

TEST(MailCompose, DatesCarryTheLocalZone) {
    const char* before = std::getenv("TZ");
    const std::string saved = before ? before : "";
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
    EXPECT_EQ(mail::mailDate({makeDate(10, 31, 1999), makeTime(17, 30, 5)}),
              "Sun, 31 Oct 1999 17:30:05 +0100");
    EXPECT_EQ(mail::mailDate({makeDate(7, 1, 2024), kMidnight}), "Mon, 1 Jul 2024 00:00:00 +0200");
    setenv("TZ", "America/St_Johns", 1);
    tzset();
    EXPECT_EQ(mail::mailDate({makeDate(1, 2, 2024), makeTime(9, 0)}), "Tue, 2 Jan 2024 09:00:00 -0330");
    if (before)
        setenv("TZ", saved.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

}  // namespace
}  // namespace plorix::mail

#include "script/script_file.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace plorix::script {
namespace {

ScriptFileRecord rec(std::string type, std::array<std::string, 5> fields = {}) {
    return {std::move(type), std::move(fields)};
}

std::optional<ScriptFileRecord> parsed(std::string_view line) {
    ScriptFileRecord r;
    if (!parseScriptLine(line, r)) return std::nullopt;
    return r;
}

TEST(ScriptLine, WritesSixQuotedFieldsWithQuotesDoubled) {
    EXPECT_EQ(formatScriptLine(rec("Send Keystrokes", {"Say \"hi\"[ENTER]  "})),
              "\"Send Keystrokes\",\"Say \"\"hi\"\"[ENTER]\",\"\",\"\",\"\",\"\"\r\n");
    const ScriptFileRecord r = rec("Display Message", {"a, \"b\", c", "Title"});
    std::string line = formatScriptLine(r);
    line.resize(line.size() - 2);
    EXPECT_EQ(parsed(line), r);
}

TEST(ScriptLine, ToleratesMissingAndSurplusFields) {
    EXPECT_EQ(parsed("\"Wait\",\"10\""), rec("Wait", {"10"}));
    EXPECT_EQ(parsed("\"Wait\",\"10\",\"\",\"And\",\"\",\"\",\"extra\",\"more\""),
              rec("Wait", {"10", "", "And"}));
    EXPECT_EQ(parsed("Exit Script,,"), rec("Exit Script"));  // bare fields
    // Fields are cut to their widths in characters.
    const auto longer = parsed("\"" + std::string(30, 'T') + "\",\"" + std::string(90, 'x') + "é\"");
    ASSERT_TRUE(longer);
    EXPECT_EQ(longer->type, std::string(20, 'T'));
    EXPECT_EQ(longer->fields[0], std::string(80, 'x'));
}

TEST(ScriptLine, RefusesBrokenQuotingAndNulBytes) {
    EXPECT_EQ(parsed("\"Send Keystrokes\",\"unclosed"), std::nullopt);
    EXPECT_EQ(parsed("\"Wait"), std::nullopt);
    EXPECT_EQ(parsed(std::string("\"Wait\",\"1\0\"", 11)), std::nullopt);
}

TEST(ScriptLine, BytesThatAreNotUtf8AreReadAsLatin1) {
    const auto r = parsed("\"Send Keystrokes\",\"caf\xE9 \xC3\xA9\"");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->fields[0], "caf\xC3\xA9 \xC3\xA9");
    // Overlong and surrogate encodings are not UTF-8 either.
    EXPECT_EQ(parsed("\"\xC0\xAF\"")->type, "\xC3\x80\xC2\xAF");
    EXPECT_EQ(parsed("\"\xED\xA0\x80\"")->type, "\xC3\xAD\xC2\xA0\xC2\x80");
}

TEST(ScriptMapping, ItemsRoundTripThroughTheirRecords) {
    data::Scripting start;
    start.ACTION = "Start Program";
    start.COMMAND = "make all";
    start.PATH = "/src";
    start.DDEAPPLICATIONNAME = "113";
    start.DDEAPPLICATIONTOPIC = "Print";  // the verb does not travel
    start.TIMEELAPSED = 90;
    start.KEYSTROKES = "not mapped";
    ScriptFileRecord r;
    ASSERT_TRUE(recordFromItem(start, r));
    EXPECT_EQ(r, rec("Start Program", {"make all", "/src", "113", "90"}));
    data::Scripting back;
    ASSERT_TRUE(itemFromRecord(r, back));
    EXPECT_EQ(back.COMMAND, "make all");
    EXPECT_EQ(back.TIMEELAPSED, 90);
    EXPECT_EQ(back.DDEAPPLICATIONTOPIC, "");
    EXPECT_EQ(back.KEYSTROKES, "");

    data::Scripting wait;
    wait.ACTION = "Wait";
    wait.SECONDSTOWAIT = -5;
    wait.WAITFORWINDOW = "~Save*";
    wait.DDEAPPLICATIONNAME = "Or";
    wait.FOCUSONWINDOW = "OK";
    ASSERT_TRUE(recordFromItem(wait, r));
    EXPECT_EQ(r, rec("Wait", {"-5", "~Save*", "Or", "OK"}));
}

TEST(ScriptMapping, DdeTravelsUnderEitherName) {
    data::Scripting dde;
    dde.ACTION = "DDE (Dynamic Data Exchange)";
    dde.DDETYPE = "Execute";
    dde.DDECOMMAND = "org.example.Player.Play(\"a b\")";
    ScriptFileRecord r;
    ASSERT_TRUE(recordFromItem(dde, r));
    EXPECT_EQ(r.type, "DDE (Dynamic Data Ex");
    EXPECT_EQ(r.fields[4], dde.DDECOMMAND.str());
    data::Scripting back;
    ASSERT_TRUE(itemFromRecord(r, back));
    EXPECT_EQ(back.ACTION, "DDE");
    EXPECT_TRUE(itemFromRecord(rec("DDE", {"Execute"}), back));
    EXPECT_FALSE(isScriptFileAction("DDE (Dynamic Data Exchange)"));  // longer than a type holds
}

TEST(ScriptMapping, UnknownActionsAreNamedButNotMapped) {
    data::Scripting item;
    EXPECT_FALSE(itemFromRecord(rec("Wait for Program End", {"x"}), item));
    EXPECT_EQ(item.ACTION, "Wait for Program End");
    EXPECT_FALSE(itemFromRecord(rec("wait"), item));  // letter case counts, as in the interpreter
    item.ACTION = "**End**";
    ScriptFileRecord r;
    EXPECT_FALSE(recordFromItem(item, r));
    // Numbers read leniently.
    ASSERT_TRUE(itemFromRecord(rec("Wait", {"  12 seconds"}), item));
    EXPECT_EQ(item.SECONDSTOWAIT, 12);
    ASSERT_TRUE(itemFromRecord(rec("Wait", {"ten"}), item));
    EXPECT_EQ(item.SECONDSTOWAIT, 0);
    ASSERT_TRUE(itemFromRecord(rec("Send Email", {"99999999999999"}), item));
    EXPECT_EQ(item.EMAILID, 2147483647);
}

TEST(ScriptFileReading, ReadsRecordsReportsProgressAndStopsAtErrors) {
    test::TempDir dir;
    const std::string good = "\"Wait\",\"1\"\r\n";
    dir.write("s.pxs", good + "\r\n   \r\n" + "\"Exit Script\"\n" + "\"Wait\",\"oops\r\n" +
                           std::string(16001, 'x') + "\r\n" + good);
    ScriptFileReader reader;
    ASSERT_EQ(reader.open("s.pxs"), 0);
    ScriptFileRecord r;
    EXPECT_EQ(reader.next(r), ScriptFileReader::Read::Record);
    EXPECT_EQ(r, rec("Wait", {"1"}));
    EXPECT_EQ(reader.bytesRead(), good.size());
    EXPECT_EQ(reader.next(r), ScriptFileReader::Read::Record);  // blank lines passed over
    EXPECT_EQ(r, rec("Exit Script"));
    EXPECT_EQ(reader.next(r), ScriptFileReader::Read::Error);
    EXPECT_EQ(reader.error().code, store::kRecordNotFound);
    EXPECT_EQ(reader.next(r), ScriptFileReader::Read::Error);  // the long line
    EXPECT_NE(reader.error().text.find("16000"), std::string::npos);
    EXPECT_EQ(reader.next(r), ScriptFileReader::Read::Record);
    EXPECT_EQ(reader.percent(), 100);
    EXPECT_EQ(reader.next(r), ScriptFileReader::Read::End);
}

TEST(ScriptFileReading, AMissingFileOrAFolderCannotBeOpened) {
    test::TempDir dir;
    ScriptFileReader reader;
    EXPECT_EQ(reader.open("absent.pxs"), store::kFileNotFound);
    ScriptFileRecord r;
    EXPECT_EQ(reader.next(r), ScriptFileReader::Read::End);
    EXPECT_EQ(reader.open(dir.path().string()), store::kFileSystemError);
}

TEST(ScriptFileWriting, AppendsToAnExistingFileAndAcceptsBackslashes) {
    test::TempDir dir;
    std::filesystem::create_directory(dir / "sub");
    ScriptFileWriter writer;
    ASSERT_EQ(writer.open("sub\\out.pxs"), 0);
    ASSERT_EQ(writer.append(rec("Exit Script")), 0);
    writer.close();
    ASSERT_EQ(writer.open("sub/out.pxs"), 0);
    ASSERT_EQ(writer.append(rec("...End If")), 0);
    writer.close();
    EXPECT_EQ(dir.read("sub/out.pxs"),
              "\"Exit Script\",\"\",\"\",\"\",\"\",\"\"\r\n\"...End If\",\"\",\"\",\"\",\"\",\"\"\r\n");
    EXPECT_NE(writer.open("no/such/folder/x.pxs"), 0);
}

TEST(ScriptFileWriting, TheFileChangesOnlyWhenTheExportIsWhole) {
    test::TempDir dir;
    dir.write("out.pxs", "old\r\n");
    ScriptFileWriter writer;
    ASSERT_EQ(writer.open("out.pxs"), 0);
    ASSERT_EQ(writer.append(rec("Exit Script")), 0);
    EXPECT_EQ(dir.read("out.pxs"), "old\r\n");  // still the old file while writing
    writer.discard();
    EXPECT_EQ(dir.read("out.pxs"), "old\r\n");
    ASSERT_EQ(writer.open("out.pxs"), 0);
    ASSERT_EQ(writer.append(rec("Exit Script")), 0);
    ASSERT_EQ(writer.close(), 0);
    EXPECT_EQ(dir.read("out.pxs"), "old\r\n\"Exit Script\",\"\",\"\",\"\",\"\",\"\"\r\n");
    EXPECT_EQ(
        std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()),
        1);
    // The program's own files are never exported onto.
    EXPECT_EQ(writer.open("PX98.INI"), store::kAccessDenied);
    EXPECT_FALSE(std::filesystem::exists(dir / "PX98.INI"));
}

}  // namespace
}  // namespace plorix::script

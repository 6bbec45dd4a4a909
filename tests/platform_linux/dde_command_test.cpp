// Reading the command of a DDE item: "interface.Method(arguments)".

#include <gtest/gtest.h>

#include "platform/dde_command.h"

namespace plorix::platform {
namespace {

using Args = std::vector<std::string>;

TEST(DdeCommand, ArgumentsAreTrimmedUnlessQuoted) {
    const auto c =
        parseDdeCommand(R"(  org.example.Player.Open( one ,"  two, (2) ", "say \"hi\" \\" ,, )  )");
    ASSERT_TRUE(c);
    EXPECT_EQ(c->interface, "org.example.Player");
    EXPECT_EQ(c->method, "Open");
    EXPECT_EQ(c->arguments, (Args{"one", "  two, (2) ", R"(say "hi" \)", "", ""}));

    EXPECT_EQ(parseDdeCommand("org.example.Player.Stop")->arguments, Args{});
    EXPECT_EQ(parseDdeCommand("org.example.Player.Stop( )")->arguments, Args{});
    EXPECT_EQ(parseDdeCommand("org.example.Player.Stop(C:\\music\\a.ogg)")->arguments,
              Args{"C:\\music\\a.ogg"});
}

TEST(DdeCommand, TextsThatAreNoCommand) {
    for (const char* text :
         {"", "Open", ".Open", "org.example.", "org.Open(", "org.example.Open(a", "org.example.Open(a)x",
          "org.example.Open(\"a)", "org.example.Open(a\"b\")", "org.example.Open(a(b))", "org..example.Open",
          "org.exa mple.Open", "org.example.Op-en", "9org.example.Open"}) {
        EXPECT_FALSE(parseDdeCommand(text)) << text;
    }
}

TEST(DdeCommand, BusNamesAndObjectPaths) {
    for (const char* name : {"org.example.Player", "org.example-app.Player", ":1.42"})
        EXPECT_TRUE(isBusName(name)) << name;
    for (const char* name : {"org", "org.9example", "", "org..x"}) EXPECT_FALSE(isBusName(name)) << name;
    for (const char* path : {"/", "/org/example/Player_1"}) EXPECT_TRUE(isObjectPath(path)) << path;
    for (const char* path : {"org/example", "/org//example", "/org/example/", "/org/exa-mple", ""})
        EXPECT_FALSE(isObjectPath(path)) << path;
}

}  // namespace
}  // namespace plorix::platform

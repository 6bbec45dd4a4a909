// The autostart entry behind "Start Plorix when I log in".

#include "settings/login_start.h"

#include <gtest/gtest.h>

#include "runtime/data_folder.h"

namespace plorix::settings {
namespace {

TEST(LoginStart, NamesTheFolderOnlyWhenItIsNotTheDefaultAndQuotesWhatItNames) {
    const std::string other = loginStartEntry("/opt/my apps/plorix", "/srv/team $data");
    EXPECT_NE(other.find("\nExec=\"/opt/my apps/plorix\" -d \"/srv/team \\\\$data\"\n"), std::string::npos)
        << other;
    const std::string usual = loginStartEntry("/usr/bin/plorix", defaultDataFolder());
    EXPECT_NE(usual.find("\nExec=\"/usr/bin/plorix\"\n"), std::string::npos) << usual;
    EXPECT_EQ(usual.rfind("[Desktop Entry]\nType=Application\nName=Plorix\n", 0), 0u) << usual;
}

}  // namespace
}  // namespace plorix::settings

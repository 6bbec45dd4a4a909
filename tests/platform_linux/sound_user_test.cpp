// Alarm sounds and the login name. Playback is proven through an ALSA
// file sink: what libcanberra plays lands in a file the test reads.

#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "desktop_rig.h"
#include "platform/linux/sound_canberra.h"
#include "platform/linux/user_login.h"
#include "platform/linux/x11_connection.h"
#include "support/temp_dir.h"

namespace plorix::platform {
namespace {

namespace fs = std::filesystem;

// A WAV file of `samples` 16-bit mono samples at 8 kHz, a square wave.
void writeWav(const fs::path& path, std::uint32_t samples) {
    std::ofstream out(path, std::ios::binary);
    auto u32 = [&](std::uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&](std::uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
    out << "RIFF";
    u32(36 + samples * 2);
    out << "WAVEfmt ";
    u32(16), u16(1), u16(1), u32(8000), u32(16000), u16(2), u16(16);
    out << "data";
    u32(samples * 2);
    for (std::uint32_t i = 0; i < samples; ++i) u16((i / 10) % 2 ? 0x2000 : 0xE000);
}

TEST(SoundTest, PlaysIntoTheSoundDeviceWithoutWaiting) {
    test::TempDir folder(false);
    const fs::path sink = folder / "played.raw";
    folder.write("asoundrc", "pcm.!default { type file slave.pcm \"null\" file \"" + sink.string() +
                                 "\" format \"raw\" }\n");
    // The sound library reads its configuration once per process: this test
    // is the only one here that plays.
    ::setenv("ALSA_CONFIG_PATH", ("/usr/share/alsa/alsa.conf:" + (folder / "asoundrc").string()).c_str(), 1);
    X11Connection connection(":plorix-no-display");
    CanberraSound sound(connection);
    writeWav(folder / "alarm.wav", 4000);

    const auto before = std::chrono::steady_clock::now();
    ASSERT_TRUE(sound.playFile((folder / "alarm.wav").string()));
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(400))
        << "half a second of sound does not hold the caller";
    EXPECT_TRUE(test::waitUntil([&] {
        std::error_code error;
        return fs::exists(sink, error) && fs::file_size(sink, error) >= 4000 * 2;
    })) << "the samples reached the device";
    ::unsetenv("ALSA_CONFIG_PATH");
}

TEST(SoundTest, MissingFilesBlankNamesAndNoDisplayAreHarmless) {
    X11Connection connection(":plorix-no-display");
    CanberraSound sound(connection);
    test::TempDir folder(false);
    EXPECT_FALSE(sound.playFile((folder / "absent.wav").string()));
    EXPECT_FALSE(sound.playFile(folder.path().string())) << "a folder is no sound";
    folder.write("noise.wav", "this is no sound file");
    const auto before = std::chrono::steady_clock::now();
    sound.playFile((folder / "noise.wav").string());  // may be refused now or fail later
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(2));
    EXPECT_FALSE(playAlarm(sound, "   "));
    EXPECT_TRUE(playAlarm(sound, " beep ")) << "the bell rings even when nobody hears it";
}

TEST(UserTest, LoginNameIsTheAccountOfTheUser) {
    const passwd* account = ::getpwuid(::getuid());
    ASSERT_NE(account, nullptr);
    EXPECT_EQ(LoginUser().loginName(), account->pw_name);
}

}  // namespace
}  // namespace plorix::platform

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "settings/language.h"
#include "settings/settings.h"
#include "platform/window_scale.h"
#include "shell/game_window.h"
#include "tests/test_support.h"

namespace fs = std::filesystem;

// The largest whole scale that fits, and the scale the window opens at: the
// saved one while it is smaller, else the largest that fits.
TEST(WindowScale, LargestWholeScaleThatFitsAndTheOpeningScale) {
    struct Case { int areaW, areaH, scale, saved, opens; } cases[] = {
        {1920, 1080, 2, 0, 2},  // 768 x 960 fits, 1152 x 1440 does not; none saved
        {1920, 1040, 2, 1, 1},  // a panel takes some height; 1x saved
        {1920, 959, 1, 2, 1},   // one row short of 2x: the saved 2x does not fit
        {767, 2000, 1, 1, 1},   // one column short of 2x
        {2560, 1440, 3, 2, 2},  // 1152 x 1440 exactly
        {3840, 2160, 4, 9, 4},  // saved larger than the desktop now allows
        {384, 480, 1, 0, 1},
        {300, 200, 1, 3, 1},  // smaller than 1x: still 1x
        {0, 0, 1, 2, 1},      // no desktop to ask
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LargestScale(c.areaW, c.areaH, 384, 480), c.scale) << c.areaW << "x" << c.areaH;
        EXPECT_EQ(OpeningScale(c.saved, c.areaW, c.areaH, 384, 480), c.opens) << c.areaW << "x" << c.areaH;
    }
}

TEST(WindowScale, PictureCentredWithDarkBorders) {
    struct Case { int outW, outH; PictureRect want; } cases[] = {
        {384, 480, {0, 0, 384, 480, 1}},
        {1920, 1080, {576, 60, 768, 960, 2}},
        {1000, 1000, {116, 20, 768, 960, 2}},
        {1151, 1439, {191, 239, 768, 960, 2}},  // one pixel short of 3x each way
        {1152, 1440, {0, 0, 1152, 1440, 3}},
        {385, 481, {0, 0, 384, 480, 1}},  // odd space: the extra pixel goes right and down
    };
    for (const auto& c : cases) {
        PictureRect p = FitPicture(c.outW, c.outH, 384, 480);
        EXPECT_EQ(std::tie(p.x, p.y, p.w, p.h, p.scale), std::tie(c.want.x, c.want.y, c.want.w, c.want.h, c.want.scale))
            << c.outW << "x" << c.outH;
    }
}

// SCALE FIT: the largest picture of the same shape at any factor, on the
// screens players asked about; a whole factor gives the whole-scale picture.
TEST(WindowScale, FitAtAnyFactorKeepsTheShape) {
    struct Case { int outW, outH; PictureRect want; } cases[] = {
        {1280, 800, {320, 0, 640, 800, 2}},     // a handheld: 1.67x, against 1x whole
        {1366, 768, {376, 0, 614, 768, 2}},     // 1.6x
        {1280, 720, {352, 0, 576, 720, 2}},     // 1.5x
        {1920, 1080, {528, 0, 864, 1080, 3}},   // 2.25x, against 2x whole
        {768, 960, {0, 0, 768, 960, 2}},        // exactly 2x: the whole-scale picture
        {1000, 1000, {100, 0, 800, 1000, 3}},
        {500, 2000, {0, 687, 500, 625, 2}},     // limited by the width
        {300, 200, {-42, -140, 384, 480, 1}},   // smaller than the picture: as at a whole scale
    };
    for (const auto& c : cases) {
        PictureRect p = FitPictureAnyScale(c.outW, c.outH, 384, 480);
        EXPECT_EQ(std::tie(p.x, p.y, p.w, p.h, p.scale), std::tie(c.want.x, c.want.y, c.want.w, c.want.h, c.want.scale))
            << c.outW << "x" << c.outH;
    }
}

// The taps of a picture row drawn wider: every picture pixel covers the same
// share of the output (its weights add up to the factor), a pixel's colour
// never reaches beyond its neighbours, and a hard edge is at most one
// blended pixel wide.
TEST(WindowScale, SmoothTapsGiveEveryPixelItsShare) {
    for (auto [out, in] : {std::pair{640, 384}, {800, 480}, {614, 384}, {768, 480}, {1080, 480}, {385, 384}}) {
        std::vector<SmoothTap> taps = SmoothTaps(out, in);
        ASSERT_EQ(int(taps.size()), out);
        std::vector<int64_t> share(size_t(in), 0);
        int blended = 0;
        for (int o = 0; o < out; ++o) {
            const SmoothTap& t = taps[size_t(o)];
            ASSERT_GE(t.first, 0);
            ASSERT_LT(t.first + (t.second ? 1 : 0), in) << o;
            if (o > 0) {
                EXPECT_LE(t.first - taps[size_t(o - 1)].first, 1) << "a picture pixel skipped at " << o;
            }
            share[size_t(t.first)] += 256 - t.second;
            if (t.second) share[size_t(t.first + 1)] += t.second, ++blended;
        }
        // Each pixel's share is out/in output pixels, within the rounding of its two blended edges.
        for (int i = 0; i < in; ++i)
            EXPECT_NEAR(double(share[size_t(i)]) / 256.0, double(out) / in, 2.0 / 256 + 1e-9) << out << "/" << in << " at " << i;
        EXPECT_LE(blended, in) << "at most one blended output pixel per picture pixel edge";
    }
    // A black and white pair of pixels drawn at 1.5x: black, the blend, white.
    const uint32_t row[2] = {0x000000, 0xFFFFFF};
    uint32_t wide[3];
    SmoothRow(row, SmoothTaps(3, 2), wide);
    EXPECT_EQ(wide[0], 0x000000u);
    EXPECT_EQ(wide[1], 0x7F7F7Fu);
    EXPECT_EQ(wide[2], 0xFFFFFFu);
    EXPECT_EQ(BlendPixels(0x10FF20, 0x10FF20, 128), 0x10FF20u) << "a colour mixed with itself";
}

TEST(DisplaySettingsText, ReadsWhatItUnderstandsAndPassesOverTheRest) {
    struct Case { const char* text; int scale; bool fullscreen; } cases[] = {
        {"", 0, false},
        {"scale=3\nfullscreen=1\n", 3, true},
        {"fullscreen=1", 0, true},  // no final newline
        {"  scale = 2 \r\nfullscreen= 0\r\n", 2, false},
        {"# scale=5\nscale=2\n", 2, false},
        {"scale=0\n", 0, false},
        {"scale=-2\n", 0, false},
        {"scale=65\n", 0, false},
        {"scale=64\n", 64, false},
        {"scale=2x\nfullscreen=yes\n", 0, false},
        {"scale=99999999999999999999\n", 0, false},
        {"scale\nfullscreen\n=\n==1\n", 0, false},
        {"colour=blue\nscale=2\nscale=3\n", 3, false},  // the last one counts
        {"\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 0, false},
    };
    for (const auto& c : cases) {
        DisplaySettings s = ParseDisplaySettings(c.text);
        EXPECT_EQ(s.scale, c.scale) << c.text;
        EXPECT_EQ(s.fullscreen, c.fullscreen) << c.text;
    }
    // "scale=fit" and a number share the key: the last line counts, and
    // choosing one writes over the other.
    EXPECT_TRUE(ParseDisplaySettings("scale=2\nscale=fit\n").fit);
    EXPECT_FALSE(ParseDisplaySettings("scale=fit\nscale=2\n").fit);
    EXPECT_FALSE(ParseDisplaySettings("scale=FIT\n").fit);
    DisplaySettings fitting{2, false, "", "", "", "", true};
    EXPECT_EQ(ApplyDisplaySettings("scale=2\n", fitting), "scale=fit\n");
    EXPECT_EQ(ApplyDisplaySettings("scale=fit\n", DisplaySettings{2, false}), "scale=2\n");
    for (DisplaySettings s : {DisplaySettings{}, DisplaySettings{2, true}, DisplaySettings{64, false},
                              DisplaySettings{0, false, "en", "classic"}, DisplaySettings{3, true, "fr", ""},
                              DisplaySettings{0, false, "", "", "safe", "steady"},
                              DisplaySettings{0, true, "", "", "", "", true}})
        EXPECT_EQ(ParseDisplaySettings(FormatDisplaySettings(s)), s);
}

TEST(DisplaySettingsText, FileInTheUsersConfigurationFolder) {
    EXPECT_EQ(SettingsFilePath("/x/cfg", "/home/p"), "/x/cfg/tessmar/settings.conf");
    EXPECT_EQ(SettingsFilePath(nullptr, "/home/p"), "/home/p/.config/tessmar/settings.conf");
    EXPECT_EQ(SettingsFilePath("", "/home/p"), "/home/p/.config/tessmar/settings.conf");
    EXPECT_EQ(SettingsFilePath("relative", "/home/p"), "/home/p/.config/tessmar/settings.conf");
    EXPECT_EQ(SettingsFilePath(nullptr, nullptr), "");
    EXPECT_EQ(SettingsFilePath(nullptr, ""), "");
}

TEST(DisplaySettingsFile, BadFilesGiveTheDefaults) {
    std::string folder = MakeTempFolder("settings-bad");
    std::string path = folder + "/settings.conf";
    EXPECT_EQ(LoadDisplaySettings(path), DisplaySettings{}) << "missing";
    EXPECT_EQ(LoadDisplaySettings(""), DisplaySettings{}) << "no path";
    std::ofstream(path).flush();
    EXPECT_EQ(LoadDisplaySettings(path), DisplaySettings{}) << "empty";
    {
        std::ofstream out(path, std::ios::binary);
        for (int i = 0; i < 20000; ++i) out.put(char(i * 37 + 11));
    }
    EXPECT_EQ(LoadDisplaySettings(path), DisplaySettings{}) << "garbage";
    fs::remove(path);
    fs::create_directory(path);
    EXPECT_EQ(LoadDisplaySettings(path), DisplaySettings{}) << "a folder";
    EXPECT_FALSE(UpdateDisplaySettings(path, [](DisplaySettings& s) { s.scale = 2; })) << "a folder is not replaced";
    EXPECT_TRUE(fs::is_directory(path));
    fs::remove(path);
    fs::create_symlink("settings.conf", path);  // a link to itself cannot be opened
    EXPECT_EQ(LoadDisplaySettings(path), DisplaySettings{}) << "unreadable";
}

// The window and the language are written at different moments: each
// writer changes its own lines and keeps the other's.
TEST(DisplaySettingsFile, EachWriterKeepsTheOthersLines) {
    std::string path = MakeTempFolder("settings-update") + "/tessmar/settings.conf";
    ASSERT_TRUE(UpdateDisplaySettings(path, [](DisplaySettings& s) { s.language = "en"; }));
    ASSERT_TRUE(UpdateDisplaySettings(path, [](DisplaySettings& s) { s.scale = 2; s.fullscreen = true; }));
    EXPECT_EQ(LoadDisplaySettings(path), (DisplaySettings{2, true, "en", ""}));
    ASSERT_TRUE(UpdateDisplaySettings(path, [](DisplaySettings& s) { s.language = "ja"; }));
    EXPECT_EQ(LoadDisplaySettings(path), (DisplaySettings{2, true, "ja", ""}));
}

TEST(DisplaySettingsFile, SavedThenLoaded) {
    std::string folder = MakeTempFolder("settings-save");
    std::string path = folder + "/config/tessmar/settings.conf";
    auto save = [&](const std::string& where, int scale, bool fullscreen) {
        return UpdateDisplaySettings(where, [&](DisplaySettings& s) { s.scale = scale, s.fullscreen = fullscreen; });
    };
    ASSERT_TRUE(save(path, 3, true));  // makes the missing folders, the user's alone
    for (const char* made : {"/config", "/config/tessmar"})
        EXPECT_EQ(fs::status(folder + made).permissions() & fs::perms::all, fs::perms::owner_all) << made;
    EXPECT_EQ(LoadDisplaySettings(path), (DisplaySettings{3, true}));
    ASSERT_TRUE(save(path, 1, false));
    EXPECT_EQ(LoadDisplaySettings(path), (DisplaySettings{1, false}));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder + "/config/tessmar"), fs::directory_iterator()), 1)
        << "no temporary file left beside it";
    std::ofstream(folder + "/file").flush();
    EXPECT_FALSE(save(folder + "/file/tessmar/settings.conf", 2, false)) << "a file where a folder should be";
}

// A file the user wrote by hand, with comments, other programs' lines, a
// repeated key, Windows line ends and no final newline, written by the
// language key (L) and then the window: only the known keys' last lines
// change, every other byte stays where it was. Past the bound the file is
// read as far as the bound and not rewritten at all.
TEST(DisplaySettingsFile, WritersKeepEveryOtherLine) {
    std::string path = MakeTempFolder("settings-lines") + "/settings.conf";
    const std::string handWritten =
        "# my settings\r\n"
        "volume = 7\r\n"
        "language=ja\r\n"
        "\r\n"
        "  # scale=9\r\n"
        "language = ja\r\n"
        "[other]\r\n"
        "sounds=classic";
    std::ofstream(path, std::ios::binary) << handWritten;
    ASSERT_TRUE(UpdateDisplaySettings(path, [](DisplaySettings& s) { s.language = "en"; }));
    ASSERT_TRUE(UpdateDisplaySettings(path, [](DisplaySettings& s) { s.scale = 2, s.fullscreen = true; }));
    std::ifstream in(path, std::ios::binary);
    std::string written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(written,
              "# my settings\r\n"
              "volume = 7\r\n"
              "language=ja\r\n"
              "\r\n"
              "  # scale=9\r\n"
              "language=en\r\n"
              "[other]\r\n"
              "sounds=classic\n"
              "scale=2\n"
              "fullscreen=1\n");
    EXPECT_EQ(LoadDisplaySettings(path), (DisplaySettings{2, true, "en", "classic"}));
    EXPECT_TRUE(UpdateDisplaySettings(path, [](DisplaySettings& s) { s.language = "en"; }));  // no change, no write

    std::string big = "language=ja\n" + std::string(MaxSettingsBytes, '#') + "\nscale=5\n";
    std::ofstream(path, std::ios::binary | std::ios::trunc) << big;
    EXPECT_EQ(LoadDisplaySettings(path), (DisplaySettings{0, false, "ja", ""})) << "read as far as the bound";
    EXPECT_FALSE(UpdateDisplaySettings(path, [](DisplaySettings& s) { s.language = "en"; }));
    EXPECT_EQ(fs::file_size(path), big.size()) << "kept as it is";
}

// The option and the setting win in that order when they name a language;
// otherwise the first locale variable that is set decides.
TEST(LanguageChoice, OptionSettingThenTheFirstLocaleVariableSet) {
    const Language ja = Language::Japanese, en = Language::English;
    struct Case { const char *option, *setting, *lcAll, *lcMessages, *lang; Language want; } cases[] = {
        {nullptr, nullptr, nullptr, nullptr, nullptr, en},  // no locale at all
        {nullptr, nullptr, nullptr, nullptr, "", en},       // LANG empty
        {nullptr, nullptr, nullptr, nullptr, "ja", ja},
        {nullptr, nullptr, nullptr, nullptr, "ja_JP", ja},
        {nullptr, nullptr, nullptr, nullptr, "ja_JP.eucJP", ja},
        {nullptr, nullptr, nullptr, nullptr, "ja_JP.UTF-8", ja},
        {nullptr, nullptr, nullptr, nullptr, "en", en},
        {nullptr, nullptr, nullptr, nullptr, "C", en},
        {nullptr, nullptr, nullptr, nullptr, "POSIX", en},
        {nullptr, nullptr, nullptr, nullptr, "jaXX", ja},           // starts with ja, installed or not
        {nullptr, nullptr, "C.UTF-8", nullptr, "ja_JP.UTF-8", en},  // LC_ALL first
        {nullptr, nullptr, "", "ja_JP.UTF-8", "en_GB.UTF-8", ja},   // an empty LC_ALL counts as unset
        {nullptr, nullptr, nullptr, "en_US.UTF-8", "ja_JP.UTF-8", en},
        {nullptr, "ja", "C", nullptr, nullptr, ja},                 // the setting over the locale
        {nullptr, "fr", nullptr, nullptr, "ja_JP.UTF-8", ja},       // an unknown setting is no choice
        {nullptr, "", "C", nullptr, nullptr, en},
        {"en", "ja", nullptr, nullptr, "ja_JP.UTF-8", en},          // the option over everything
        {"xx", "ja", nullptr, nullptr, nullptr, ja},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChooseLanguage(c.option, c.setting, c.lcAll, c.lcMessages, c.lang), c.want)
            << (c.option ? c.option : "-") << " " << (c.setting ? c.setting : "-") << " "
            << (c.lcAll ? c.lcAll : "-") << " " << (c.lcMessages ? c.lcMessages : "-") << " " << (c.lang ? c.lang : "-");
}

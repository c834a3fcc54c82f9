// quarn3d-cli run as a user runs it: exit codes, stdout, stderr and the files left behind,
// on the sample map and on the failures a batch job meets.
#include <gtest/gtest.h>

#include <grp.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "bmp_info.h"
#include "palette.h"
#include "run_cli.h"
#include "temp_folder.h"
#include "test_bmp.h"
#include "viewer_test_support.h"

namespace {

namespace fs = std::filesystem;
using quarn::testing::kNobody;
using quarn::testing::Outcome;
using quarn::testing::Quoted;
using quarn::testing::RunCli;

// A 16-colour BMP of width x height pixels, all of palette index 0.
std::vector<std::uint8_t> OneColourBmp(std::int32_t width, std::int32_t height) {
    return quarn::testing::FourBitImage(width, height, quarn::testing::kMapRgb,
                                        [](int, int) { return 0; })
        .bytes();
}

// A 3DF file of one triangle whose first corner has the given x.
std::string SceneWithX(float x) {
    return quarn::testing::TdfBytes({{x, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2, 216}});
}

// Options that make a one-colour map of a few pixels a flat terrain.
constexpr const char* kFlatOptions =
    " --water 0 --lawn 1 --snow 2 --map-width 100 --map-height 100 --interval 60 --height 0=5";

class CliTest : public ::testing::Test {
  protected:
    // Arguments that make a flat terrain of map, or render scene.
    std::string generate(const std::string& map, const std::string& out) const {
        return "generate " + Quoted(path(map)) + " " + Quoted(path(out)) + kFlatOptions;
    }
    std::string render(const std::string& scene, const std::string& out) const {
        return "render " + Quoted(path(scene)) + " " + Quoted(path(out));
    }
    fs::path path(const std::string& name) const { return m_folder.path() / name; }

    quarn::testing::TempFolder m_folder;
};

// The island sample with its suggested values.
TEST_F(CliTest, SampleMapGeneratesAndRendersShadedAndWire) {
    std::string heights;
    const int values[16] = {-350, -210, -100, -25, 10,  40,  80,  120,
                            160,  200,  240,  280, 320, 365, 415, 470};
    for (int e = 0; e < 16; ++e)
        heights += " --height " + std::to_string(e) + "=" + std::to_string(values[e]);
    const Outcome generated =
        RunCli("generate " + Quoted(fs::path(QUARN_SAMPLES_DIR) / "island.bmp") + " " +
               Quoted(path("island.3df")) +
               " --water 0 --lawn 90 --snow 400 --map-width 8000 --map-height 6000" +
               " --interval 100" + heights);
    ASSERT_EQ(generated.exitCode, 0) << generated.output;
    EXPECT_NE(generated.output.find("4800 vertices, 9322 triangles"), std::string::npos)
        << generated.output;
    EXPECT_EQ(fs::file_size(path("island.3df")), 3u + 4 + 4800 * 12 + 4 + 9322 * 16);
    // A raw heightmap has no header: the summary says which side is which.
    const Outcome raw =
        RunCli("generate " + Quoted(fs::path(QUARN_SAMPLES_DIR) / "island.bmp") + " " +
               Quoted(path("island.r16")) + " --water 0 --lawn 90 --snow 400 --map-width 8000" +
               " --map-height 6000 --interval 100" + heights);
    ASSERT_EQ(raw.exitCode, 0) << raw.output;
    EXPECT_NE(raw.output.find("\n80 x 60 samples, heights 0..470 map units at 0 and 65535\n"),
              std::string::npos)
        << raw.output;

    const Outcome shaded = RunCli(render("island.3df", "shaded.bmp"));
    ASSERT_EQ(shaded.exitCode, 0) << shaded.output;
    const std::string bmp = m_folder.read("shaded.bmp");
    ASSERT_EQ(bmp.size(), 54u + 1652u * 418u);  // 550 pixels of 3 bytes, padded to 1652
    EXPECT_EQ(bmp[28], 24);                     // bits per pixel

    const Outcome wire =
        RunCli(render("island.3df", "wire.bmp") + " --wire --size 64x48 --elevation 45");
    ASSERT_EQ(wire.exitCode, 0) << wire.output;
    EXPECT_EQ(fs::file_size(path("wire.bmp")), 54u + 192u * 48u);
}

TEST_F(CliTest, WrongUsageIsExitTwoAndHelpIsExitZero) {
    // Usage is checked before any file is opened (that would be exit 1), so none exist here.
    for (const char* arguments :
         {"", "paint x y", "generate only-a-map.bmp", "generate m.bmp o.3df --water",
          "generate m.bmp o.3df --height 3", "generate m.bmp o.3df --height 16=5",
          "generate m.bmp o.3df --wire", "render a.3df b.bmp c.bmp",
          "render a.3df b.bmp --interval 5", "generate m.bmp ''", "render a.3df ''",
          "generate m.bmp o.stl --print-size 0", "generate m.bmp o.stl --base -1",
          "generate m.bmp o.stl --exaggeration nan", "render a.3df b.bmp --frames 0",
          "render a.3df b.bmp --frames 1001", "render a.3df b.bmp --azimuth-step 10"})
        EXPECT_EQ(RunCli(arguments).exitCode, 2) << arguments;
    // A refused value is named with what its option takes, before the usage text.
    const std::pair<const char*, const char*> named[] = {
        {"render a.3df b.bmp --frames -3", "--frames takes a whole number from 1 to 1000"},
        {"render a.3df b.bmp --zoom 0", "--zoom takes a number above 0, not \"0\"."},
        {"render a.3df b.bmp --zoom 1e39", "--zoom takes a number above 0, not \"1e39\"."},
        {"render a.3df b.bmp --elevation 360", "--elevation takes a whole number from 0 to 359"},
        {"render a.3df b.bmp --size 0x10", "--size takes WxH, each a whole number from 1 to 16384"},
        {"generate m.bmp o.stl --print-size 1e-300",
         "--print-size takes a number from 1 to 10000, not \"1e-300\"."},
        {"generate m.bmp o.stl --print-size 10001", "--print-size takes a number from 1 to 10000"},
        {"generate m.bmp o.stl --exaggeration 0",
         "--exaggeration takes a number from 0.01 to 100, not \"0\"."},
        {"generate m.bmp o.stl --base 0.09", "--base takes a number from 0.1 to 1000"},
        {"generate m.bmp o.3df --surface round", "--surface takes smooth or terraced"},
        {"generate m.bmp o.3df --max-error -1", "--max-error takes 0 or a number of map units"},
        {"generate m.bmp o.3df --max-error 0.0.0", "--max-error takes 0 or a number"},
        {"generate m.bmp o.3mf --colours rainbow", "--colours takes classes or bands, not"},
        {"generate m.bmp o.3mf --parts layers", "--parts takes bands, not \"layers\"."},
        {"generate m.bmp o.obj --parts bands", "--parts bands needs an .stl or .3mf OUTPUT."},
        {"generate m.bmp o.3df --max-triangles 1",
         "--max-triangles takes a whole number from 2 to 999999999, not \"1\"."},
        {"generate m.bmp maps/", "OUTPUT names no file: \"maps/\"."},
        {"generate m.bmp ..", "OUTPUT names no file"},
        {"render a.3df ./", "PICTURE names no file: \"./\"."},
    };
    for (const auto& [arguments, message] : named) {
        const Outcome refused = RunCli(arguments);
        EXPECT_EQ(refused.exitCode, 2) << arguments;
        EXPECT_TRUE(refused.output.starts_with(message)) << refused.output;
    }
    const Outcome help = RunCli("generate --help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.output.find("--interval"), std::string::npos);
}

// A turntable: the scene read once, each frame the picture that a single rendering at its
// azimuth gives, named by its number; a .png name is written as PNG.
TEST_F(CliTest, TurntableFramesAreTheSingleRenderingsAtTheirAzimuths) {
    m_folder.write(
        "s.3df", quarn::testing::TdfBytes({{0, 0, 0}, {1, 0, 0}, {0, 1, 0.5f}}, {{0, 1, 2, 120}}));
    const Outcome spin = RunCli(render("s.3df", "spin.bmp") + " --frames 3 --azimuth-step 100");
    ASSERT_EQ(spin.exitCode, 0) << spin.output;
    EXPECT_NE(spin.output.find("spin-000.bmp ... "), std::string::npos) << spin.output;
    EXPECT_FALSE(fs::exists(path("spin.bmp")) || fs::exists(path("spin-003.bmp")));
    const char* frames[] = {"spin-000.bmp", "spin-001.bmp", "spin-002.bmp"};
    for (int frame = 0; frame < 3; ++frame) {
        const std::string azimuth = std::to_string(60 + 100 * frame);
        ASSERT_EQ(RunCli(render("s.3df", "one.bmp") + " --azimuth " + azimuth).exitCode, 0);
        EXPECT_TRUE(m_folder.read(frames[frame]) == m_folder.read("one.bmp")) << frames[frame];
    }
    EXPECT_TRUE(m_folder.read(frames[0]) != m_folder.read(frames[1]));

    const Outcome png = RunCli(render("s.3df", "spin.png") + " --frames 2 --size 64x48");
    ASSERT_EQ(png.exitCode, 0) << png.output;
    const std::string bytes = m_folder.read("spin-001.png");
    EXPECT_TRUE(bytes.starts_with("\x89PNG\r\n\x1a\n")) << bytes.substr(0, 8);
    EXPECT_EQ(bytes.substr(16, 8), std::string("\0\0\0\x40\0\0\0\x30", 8));  // 64 x 48
}

// Mends: a turntable of large frames filled the disk with no check. Frames of 16384 x 16384
// pixels take 805 MB each as BMP, and at most a little more as PNG.
TEST_F(CliTest, ATurntableTooLargeForTheFreeSpaceIsRefusedBeforeItsFirstFrame) {
    struct statvfs room {};
    ASSERT_EQ(::statvfs(m_folder.path().c_str(), &room), 0);
    constexpr std::uint64_t kFrameBytes = 54 + std::uint64_t{16384 * 3} * 16384;
    if (std::uint64_t{room.f_bavail} * room.f_frsize >= 1000 * kFrameBytes)
        GTEST_SKIP() << "more room on this disk than 1000 such frames take";
    m_folder.write("s.3df", SceneWithX(0));
    for (const char* picture : {"spin.bmp", "spin.png"}) {
        const Outcome refused =
            RunCli(render("s.3df", picture) + " --frames 1000 --size 16384x16384");
        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_TRUE(refused.output.starts_with("The 1000 frames need up to 8") &&
                    refused.output.find(" GB of disk space, but only ") != std::string::npos &&
                    refused.output.ends_with(" are free!\n"))
            << refused.output;
    }
    EXPECT_EQ(m_folder.entries(), std::vector<std::string>{"s.3df"});
}

// The solid of a flat 2 x 2 grid: 2 + 12 triangles; its first corner, the north-west vertex,
// stands at the base and the third, the south-east one, at the print size east.
// The island sample as the mesh detail options simplify it, in every mesh format.
TEST_F(CliTest, MeshDetailSimplifiesEveryMeshFormatAndTheTighterLimitWins) {
    std::string island = "generate " + Quoted(fs::path(QUARN_SAMPLES_DIR) / "island.bmp") +
                         " --water 0 --lawn 90 --snow 400 --map-width 8000 --map-height 6000" +
                         " --interval 100";
    const int values[16] = {-350, -210, -100, -25, 10,  40,  80,  120,
                            160,  200,  240,  280, 320, 365, 415, 470};
    for (int e = 0; e < 16; ++e)
        island += " --height " + std::to_string(e) + "=" + std::to_string(values[e]);
    const auto run = [&](const std::string& output, const std::string& limits) {
        return RunCli(island + " " + Quoted(path(output)) + " " + limits);
    };
    for (const char* output :
         {"i.3df", "i.stl", "i.obj", "i.ply", "i.glb", "i.asc", "i.raw", "i.plg"}) {
        const Outcome exact = run(output, "--max-error 0");
        ASSERT_EQ(exact.exitCode, 0) << exact.output;
        EXPECT_NE(exact.output.find(" 1530 triangles written to "), std::string::npos)
            << exact.output;
        EXPECT_TRUE(exact.output.ends_with(", largest vertical error 0 map units at the samples\n"))
            << exact.output;
    }
    EXPECT_EQ(fs::file_size(path("i.3df")), 3u + 4 + 768 * 12 + 4 + 1530 * 16);

    const Outcome budget = run("b.3df", "--max-error 0 --max-triangles 100");
    ASSERT_EQ(budget.exitCode, 0) << budget.output;
    long triangles = 0;
    double error = 0;
    ASSERT_EQ(std::sscanf(budget.output.c_str(),
                          "%*d vertices, %ld triangles written to %*s "
                          "largest vertical error %lf",
                          &triangles, &error),
              2)
        << budget.output;
    EXPECT_LE(triangles, 100);
    EXPECT_GT(error, 0);
    const Outcome bound = run("e.3df", "--max-error 1000 --max-triangles 100");
    ASSERT_EQ(bound.exitCode, 0) << bound.output;
    EXPECT_NE(bound.output.find(" 2 triangles written to "), std::string::npos) << bound.output;
}

TEST_F(CliTest, StlTakesThePrintSizeAndBase) {
    m_folder.write("m.bmp", OneColourBmp(2, 2));
    const Outcome outcome =
        RunCli(generate("m.bmp", "m.stl") + " --print-size 40 --base 2 --exaggeration 3");
    ASSERT_EQ(outcome.exitCode, 0) << outcome.output;
    const std::string stl = m_folder.read("m.stl");
    ASSERT_EQ(stl.size(), 84u + 50u * 14u);
    std::array<float, 2> baseAndEast{};
    stl.copy(reinterpret_cast<char*>(baseAndEast.data()), 8, 84 + 12 + 8);
    EXPECT_EQ(baseAndEast, (std::array{2.0f, 40.0f}));
}

// Mends: renaming over a target once replaced files the user could not have written, a pipe as
// the target hung the program, and a picture could name the very scene it was made from (a
// generated output naming its map is GenerateCommand's).
TEST_F(CliTest, WritesThatCannotOrMustNotHappenAreRefusedAndLeaveEveryFileAsItWas) {
    const bool root = ::geteuid() == 0;
    if (root && RunCli("--help", true).exitCode != 0)
        GTEST_SKIP() << "runs as root and cannot run the program as user nobody (uid 65534)";
    m_folder.write("m.bmp", OneColourBmp(2, 2));
    m_folder.write("s.3df", SceneWithX(0));
    fs::create_hard_link(path("s.3df"), path("spin-001.bmp"));
    fs::create_symlink("s.3df", path("s.bmp"));
    fs::permissions(m_folder.write("read-only.3df", "old"), fs::perms(0444));
    ASSERT_EQ(::mkfifo(path("pipe.3df").c_str(), 0666), 0);
    fs::create_directory(path("folder.3df"));
    std::vector<std::string> denied = {"read-only.3df", "pipe.3df", "folder.3df"};
    if (root) {  // nobody's folder and read-only file, beside a file of root's
        m_folder.write("roots.3df", "old");
        denied.push_back("roots.3df");
        for (const char* owned : {".", "read-only.3df"})
            ASSERT_EQ(::chown(path(owned).c_str(), kNobody, kNobody), 0);
    }
    std::vector<std::pair<std::string, const char*>> cases;
    const std::string turntable = render("s.3df", "spin.bmp") + " --frames 3";
    for (const std::string& command :
         {render("s.3df", "s.3df"), render("s.3df", "s.bmp"), turntable})
        cases.emplace_back(command, "The output file is the input file!\n");
    for (const std::string& target : denied)
        for (const std::string& command : {generate("m.bmp", target), render("s.3df", target)})
            cases.emplace_back(command, "File access denied.\n");
    cases.emplace_back(generate("m.bmp", "absent/m.3df"), "Path not found.\n");
    if (fs::exists("/dev/full")) {  // through a link with an extension, so the name stays
        fs::create_symlink("/dev/full", path("full.3df"));
        cases.emplace_back(generate("m.bmp", "full.3df"), "Disk full.\n");
    }
    const auto before = m_folder.entries();
    const std::string inputs = m_folder.read("m.bmp") + m_folder.read("s.3df");
    for (const auto& [arguments, output] : cases) {
        const Outcome outcome = RunCli(arguments, root);
        EXPECT_EQ(outcome.exitCode, 1) << arguments;
        EXPECT_EQ(outcome.output, output) << arguments;
    }
    EXPECT_EQ(m_folder.entries(), before);
    EXPECT_EQ(m_folder.read("m.bmp") + m_folder.read("s.3df"), inputs);
    for (const std::string& target : denied)  // reading a pipe would wait for a writer
        EXPECT_TRUE(!fs::is_regular_file(path(target)) || m_folder.read(target) == "old") << target;
}

TEST_F(CliTest, UnusableInputsReportTheirFaultAndKeepTheEarlierOutput) {
    fs::create_directory(path("folder.bmp"));
    m_folder.write("thin.bmp", OneColourBmp(1, 40));
    auto tall =
        quarn::testing::FourBitImage(2, 2, quarn::testing::kMapRgb, [](int, int) { return 0; });
    tall.height = 16385;  // the headers say so; the pixels are never read
    m_folder.write("tall.bmp", tall.bytes());
    m_folder.write("nan.3df", SceneWithX(std::numeric_limits<float>::quiet_NaN()));
    m_folder.write("huge.3df", quarn::testing::TdfBytes(0x7fffffff, {{0, 0, 0}, {1, 1, 1}}, 0, {}));
    m_folder.write("out.3df", "old");
    const std::pair<std::string, const char*> cases[] = {
        {generate("folder.bmp", "out.3df"), "File access denied.\n"},
        {generate("absent.bmp", "out.3df"), "File not found.\n"},
        {generate("thin.bmp", "out.3df"), "the grid needs at least 2 x 2 cells!\n"},
        {generate("tall.bmp", "out.3df"),
         "The map is 2 x 16385 pixels; at most 16384 x 16384 are supported!\n"},
        {render("folder.bmp", "out.bmp"), "File access denied.\n"},
        {render("nan.3df", "out.bmp"), "Invalid floating point operation.\n"},
        {render("huge.3df", "out.bmp"), "Read beyond end of file.\n"},  // not a failed allocation
    };
    for (const auto& [arguments, message] : cases) {
        const Outcome outcome = RunCli(arguments);
        EXPECT_EQ(outcome.exitCode, 1) << arguments;
        EXPECT_TRUE(outcome.output.ends_with(message)) << outcome.output;
    }
    EXPECT_EQ(m_folder.read("out.3df"), "old");
    EXPECT_FALSE(fs::exists(path("out.bmp")));
}

// A 40 x 30 PPM picture: red left, green right, a black line down the middle.
std::string TwoBandPicture() {
    std::string ppm = "P6 40 30 255\n";
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            ppm += x == 20 ? std::string(3, '\0') : x < 20 ? "\xC8\x28\x28" : "\x3C\xAA\x46";
    return ppm;
}

TEST_F(CliTest, ImportWritesTheBandsAsA16ColourMap) {
    m_folder.write("map.ppm", TwoBandPicture());
    m_folder.write("legend.txt", "# heights\n10 200 40 40\n250 60 170 70\n");
    const std::string import = "import " + Quoted(path("map.ppm")) + " " + Quoted(path("map.bmp"));
    const Outcome found = RunCli(import);
    ASSERT_EQ(found.exitCode, 0) << found.output;
    EXPECT_EQ(found.output, " 0  #C82828   52.5%\n 1  #3CAA46   47.5%\n");
    const Outcome legend = RunCli(import + " --legend " + Quoted(path("legend.txt")));
    EXPECT_EQ(legend.output, " 0  #C82828   52.5%  height 10\n 1  #3CAA46   47.5%  height 250\n");
    ASSERT_EQ(quarn::ReadBMPInfo(path("map.bmp").string()), 0);
    EXPECT_EQ(quarn::PaletteColour(quarn::Palette[1]), quarn::PackRGB(60, 170, 70));
    const Outcome generated = RunCli("generate " + Quoted(path("map.ppm")) + " " +
                                     Quoted(path("map.3df")) + kFlatOptions + " --interval 10");
    EXPECT_EQ(generated.exitCode, 0) << generated.output;
}

TEST_F(CliTest, ImportRefusalsWriteNothing) {
    m_folder.write("map.ppm", TwoBandPicture());
    m_folder.write("bad.txt", "10 200 40 40\n20 1 2 300\n");
    m_folder.write("map.bmp", "old");
    const std::string import = "import " + Quoted(path("map.ppm")) + " " + Quoted(path("map.bmp"));
    const Outcome refused = RunCli(import + " --legend " + Quoted(path("bad.txt")));
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.output.ends_with("Line 2: colour component 300 is outside 0 to 255.\n"))
        << refused.output;
    EXPECT_EQ(RunCli(import + " --bands 4 --legend " + Quoted(path("bad.txt"))).exitCode, 2);
    EXPECT_EQ(RunCli(import + " --lines drop").exitCode, 2);
    EXPECT_EQ(RunCli("import " + Quoted(path("map.ppm")) + " " + Quoted(path("map.ppm"))).exitCode,
              1);
    EXPECT_EQ(m_folder.read("map.bmp"), "old");
}

}  // namespace

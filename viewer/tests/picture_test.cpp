// The pictures' pixels, their BMP bytes and where they may be written; the fill and the pen's
// lines are held against the rules, pixel by pixel, in oracle_test. Then the numbered drawings
// split over workers: whatever the count, the picture of one pass in file order. Small pictures
// are shared by triangles (hidden surfaces only from 16384 a worker, so the scenes hold 50000),
// larger ones by bands of rows.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "atomic_file.h"
#include "band_raster.h"
#include "bmp_picture.h"
#include "depth_raster.h"
#include "parallel.h"
#include "picture_targets.h"
#include "pixel_buffer.h"
#include "raster_walk.h"
#include "scripted_ui.h"
#include "temp_folder.h"

namespace quarn {
namespace {

namespace fs = std::filesystem;

TEST(Fill, TheSmallTriangleWalkDeclinesSpansBeyond32Bits) {
    EXPECT_FALSE(WalkSmallTriangle({1271885163, 0}, {-1268221919, 1}, {0, 2}, 8, 0, 8,
                                   [](Point) { ADD_FAILURE(); }));
}

TEST(PixelAccess, ReadsOutsideThePictureAreRefusedWritesIgnored) {
    PixelBuffer buffer(3, 2);
    for (const Point p : {Point{-1, 0}, Point{3, 0}, Point{0, -1}, Point{0, 2}}) {
        EXPECT_THROW(buffer.pixel(p.x, p.y), std::out_of_range) << p.x << ", " << p.y;
        buffer.setPixel(p.x, p.y, kWhite);
    }
    EXPECT_EQ(buffer.pixels(), std::vector<Colour>(6, kBlack));
}

TEST(BmpPicture, HeadersThenBottomUpPaddedBlueGreenRedRows) {
    PixelBuffer picture(2, 2);
    picture.setPixel(0, 0, PackRGB(1, 2, 3));  // top left
    picture.setPixel(1, 1, PackRGB(7, 8, 9));  // bottom right
    MemorySink sink;
    BinaryWriter out(sink);
    WriteBmp24(out, picture);
    const auto& b = sink.bytes();
    ASSERT_EQ(b.size(), 54u + 2 * 8);
    const auto field = [&](std::size_t at) {
        return std::uint32_t(b[at] | b[at + 1] << 8 | b[at + 2] << 16 | b[at + 3] << 24);
    };
    // Signature, file size, pixel offset, width, height and bits per pixel.
    EXPECT_EQ(std::tuple(b[0], b[1], field(2), field(10), field(18), field(22), b[28]),
              std::tuple('B', 'M', 70u, 54u, 2u, 2u, 24));
    const std::vector<std::uint8_t> bottom(b.begin() + 54, b.begin() + 62);
    const std::vector<std::uint8_t> top(b.begin() + 62, b.end());
    EXPECT_EQ(bottom, (std::vector<std::uint8_t>{0, 0, 0, 9, 8, 7, 0, 0}));
    EXPECT_EQ(top, (std::vector<std::uint8_t>{3, 2, 1, 0, 0, 0, 0, 0}));
}

// Each list of pictures, one of them the scene under another name, is refused as a whole;
// names that merely look alike are not the scene.
TEST(PictureTargets, NoPictureMayBeTheOpenSceneUnderAnyName) {
    testing::TempFolder folder;
    testing::ScriptedUi ui;
    const std::string scene = folder.write("s.3df", "scene");
    fs::create_directory(folder.path() / "sub");
    fs::create_symlink("s.3df", folder.path() / "link.bmp");
    fs::create_hard_link(scene, folder.path() / "spin-001.bmp");
    const std::pair<std::vector<std::string>, bool> cases[] = {
        {{folder.file("s.bmp"), folder.file("s.3df.bmp")}, true},  // alike, not the same
        {{folder.file("s.3df")}, false},
        {{folder.file("sub/../s.3df")}, false},                               // another spelling
        {{folder.file("link.bmp")}, false},                                   // a symbolic link
        {{folder.file("spin-000.bmp"), folder.file("spin-001.bmp")}, false},  // a hard link
    };
    for (const auto& [pictures, allowed] : cases) {
        ui.boxes.clear();
        EXPECT_EQ(MayWritePictures(pictures, scene), allowed) << pictures.back();
        EXPECT_EQ(ui.errorTexts(), allowed ? std::vector<std::string>{}
                                           : std::vector<std::string>{kOutputIsInputText});
    }
}

constexpr std::size_t kManyTriangles = 50000;

// Triangles with corners of their own, each corner with its depth.
struct NumberedScene {
    void add(Point a, Point b, Point c, float depthA, float depthB, float depthC) {
        const auto first = static_cast<std::int32_t>(corners.size());
        corners.insert(corners.end(), {a, b, c});
        depths.insert(depths.end(), {depthA, depthB, depthC});
        triangles.push_back({first, first + 1, first + 2, 0});
    }

    std::vector<Point> corners;
    std::vector<float> depths;
    std::vector<Triangle> triangles;
};

// count small triangles strewn over and around a width x height picture, piled many deep.
// Their depths come from a few values, most of them flat, so that equal depths abound.
NumberedScene Crowded(std::size_t count, std::int32_t width, std::int32_t height,
                      std::int32_t size) {
    std::minstd_rand random(20240611);
    const auto below = [&](std::int32_t n) {
        return static_cast<std::int32_t>(random() % static_cast<std::uint32_t>(n));
    };
    const auto depth = [&] { return static_cast<float>(1 + below(3)); };
    NumberedScene scene;
    for (std::size_t i = 0; i < count; ++i) {
        const Point centre{below(width + 2 * size) - size, below(height + 2 * size) - size};
        const auto near = [&] {
            return Point{centre.x + below(2 * size + 1) - size,
                         centre.y + below(2 * size + 1) - size};
        };
        const Point a = near(), b = near(), c = near();
        if (below(4) != 0) {
            const float flat = depth();
            scene.add(a, b, c, flat, flat, flat);
        } else {
            scene.add(a, b, c, depth(), depth(), depth());
        }
    }
    return scene;
}

enum class Drawing { kFilled, kOutlined, kNearest, kVisibleOutlines };
const char* const kNames[] = {"filled", "outlined", "hidden surfaces", "hidden-surface wire frame"};

// Rows top..top+rows-1 of the scene's numbered picture, width wide, drawn by workers workers.
PixelBuffer Draw(Drawing drawing, std::size_t workers, const NumberedScene& s, std::int32_t width,
                 std::int32_t rows, std::int32_t top = 0) {
    const ScopedWorkerCount count(workers);
    PixelBuffer numbers(width, rows, 0);
    switch (drawing) {
        case Drawing::kFilled:
        case Drawing::kOutlined:
            DrawTriangleNumbers(numbers, top, s.corners, s.triangles, drawing == Drawing::kFilled);
            break;
        case Drawing::kNearest:
            DrawNearestTriangleNumbers(numbers, top, s.corners, s.depths, s.triangles);
            break;
        case Drawing::kVisibleOutlines:
            DrawVisibleOutlineNumbers(numbers, top, s.corners, s.depths, s.triangles);
            break;
    }
    return numbers;
}

// count triangles, all off the picture but the two that cover the whole of a picture of up to
// 100 x 100 pixels: triangle earlier at depth earlierDepth, triangle later at laterDepth.
NumberedScene TwoOverEachOther(std::size_t count, std::size_t earlier, float earlierDepth,
                               std::size_t later, float laterDepth) {
    NumberedScene scene;
    for (std::size_t i = 0; i < count; ++i) {
        const float d = i == earlier ? earlierDepth : i == later ? laterDepth : 1.0f;
        if (i == earlier || i == later)
            scene.add({-100, -100}, {400, -100}, {-100, 400}, d, d, d);
        else
            scene.add({-30, -30}, {-10, -30}, {-30, -10}, d, d, d);
    }
    return scene;
}

// Every pixel holds number, or the first that does not.
::testing::AssertionResult AllPixelsAre(const PixelBuffer& picture, Colour number) {
    for (std::size_t p = 0; p < picture.pixels().size(); ++p)
        if (picture.pixels()[p] != number)
            return ::testing::AssertionFailure()
                   << "pixel " << p << " holds " << picture.pixels()[p] << ", not " << number;
    return ::testing::AssertionSuccess();
}

TEST(WorkerShares, HiddenSurfacesKeepTheLaterTriangleAtEqualDepthAndTheNearerAtAny) {
    constexpr std::size_t n = kManyTriangles;
    const struct {
        const char* reason;
        std::size_t earlier;
        float earlierDepth;
        std::size_t later;
        float laterDepth;
        std::size_t shown;
    } cases[] = {
        {"equal depth, first and last share", 0, 2, n - 1, 2, n - 1},
        {"equal depth, either side of the middle", n / 2 - 1, 2, n / 2, 2, n / 2},
        {"equal depth, either side of the first third", n / 3 - 1, 2, n / 3, 2, n / 3},
        {"equal depth, either side of the second third", 2 * n / 3 - 1, 2, 2 * n / 3, 2, 2 * n / 3},
        {"the earlier nearer", 0, 3, n - 1, 2, 0},
        {"the later nearer", 0, 2, n - 1, 3, n - 1},
        {"the earlier nearer, either side of the middle", n / 2 - 1, 3, n / 2, 2, n / 2 - 1},
    };
    for (const auto& c : cases) {
        const NumberedScene scene =
            TwoOverEachOther(n, c.earlier, c.earlierDepth, c.later, c.laterDepth);
        for (const std::size_t workers : {1u, 2u, 3u})
            EXPECT_TRUE(
                AllPixelsAre(Draw(Drawing::kNearest, workers, scene, 48, 40), Colour(c.shown + 1)))
                << c.reason << ", " << workers << " workers";
    }
}

TEST(WorkerShares, AnyWorkerCountDrawsTheOneWorkerPicture) {
    const struct {
        const char* reason;
        std::size_t count;
        std::int32_t width, rows, top, size;
    } cases[] = {
        {"shares of a small picture", kManyTriangles, 48, 40, 0, 6},
        {"shares of a band of rows of the picture", kManyTriangles, 48, 20, 12, 6},
        {"few triangles", 600, 48, 40, 0, 6},
        {"a picture large enough for bands of rows", 20000, 1030, 1024, 0, 12},
    };
    for (const auto& c : cases) {
        const NumberedScene scene = Crowded(c.count, c.width, c.top + c.rows, c.size);
        for (const Drawing drawing :
             {Drawing::kFilled, Drawing::kOutlined, Drawing::kNearest, Drawing::kVisibleOutlines}) {
            const PixelBuffer one = Draw(drawing, 1, scene, c.width, c.rows, c.top);
            const char* name = kNames[static_cast<int>(drawing)];
            ASSERT_FALSE(AllPixelsAre(one, 0)) << c.reason << ", " << name;
            for (const std::size_t workers : {2u, 3u})
                EXPECT_TRUE(Draw(drawing, workers, scene, c.width, c.rows, c.top).pixels() ==
                            one.pixels())
                    << c.reason << ", " << name << ", " << workers << " workers";
        }
    }
}

}  // namespace
}  // namespace quarn

#include "picture_targets.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "atomic_file.h"
#include "scripted_ui.h"
#include "temp_folder.h"

namespace quarn {
namespace {

namespace fs = std::filesystem;

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

}  // namespace
}  // namespace quarn

// A shown main window with its MDI area, a fresh viewer state, scripted boxes and dialogs, and
// 3DF files written to a temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "main_form_stand_in.h"
#include "quarn_render_f.h"
#include "scene_commands.h"
#include "scripted_ui.h"
#include "viewer_test_support.h"

namespace quarn {

class ViewerUi : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::ResetViewerState();
        frmRender = nullptr;
        m_folder = std::filesystem::temp_directory_path() /
                   ("quarn-viewer-ui-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_folder);
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }

    std::string PathOf(const std::string& name) const { return (m_folder / name).string(); }
    std::string WriteFile(const std::string& name, const std::string& bytes) {
        std::ofstream(PathOf(name), std::ios::binary) << bytes;
        return PathOf(name);
    }

    /// A four-vertex terrain, two triangles, bounding box diagonal squared 8.
    std::string GoodScene(const std::string& name = "scene.3df") {
        return WriteFile(
            name, testing::TdfBytes({{-1, -1, 0}, {1, -1, 0.2f}, {-1, 1, 0.1f}, {1, 1, 0.3f}},
                                    {{0, 1, 3, 120}, {0, 3, 2, 216}}));
    }

    /// Opens path through the command as a user choosing it would.
    void Open(const std::string& path) {
        ui.dialogAnswers.push_back(path);
        RunGuarded([] { OpenSceneFile(); });
    }

    std::vector<Colour> Picture() const { return frmRender->picture().pixels(); }

    quarn::testing::ScriptedUi ui;
    quarn::testing::MainFormStandIn m_main{QSize(1200, 900)};
    QMdiArea* m_mdi = m_main.area();
    std::filesystem::path m_folder;
};

}  // namespace quarn

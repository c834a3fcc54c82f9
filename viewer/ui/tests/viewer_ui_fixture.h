// A shown main window with its MDI area, a fresh viewer state, scripted boxes and dialogs, and
// 3DF files written to a temporary folder.
#pragma once

#include <gtest/gtest.h>

#include "main_form_stand_in.h"
#include "quarn_render_f.h"
#include "scene_commands.h"
#include "scripted_ui.h"
#include "temp_folder.h"
#include "viewer_test_support.h"

namespace quarn {

class ViewerUi : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::ResetViewerState();
        frmRender = nullptr;
    }

    /// A four-vertex terrain, two triangles, bounding box diagonal squared 8.
    std::string GoodScene(const std::string& name = "scene.3df") {
        return folder.write(
            name, testing::TdfBytes({{-1, -1, 0}, {1, -1, 0.2f}, {-1, 1, 0.1f}, {1, 1, 0.3f}},
                                    {{0, 1, 3, 120}, {0, 3, 2, 216}}));
    }

    /// Opens path through the command as a user choosing it would.
    void Open(const std::string& path) {
        ui.dialogAnswers.push_back(path);
        RunGuarded([] { OpenSceneFile({}); });
    }

    std::vector<Colour> Picture() const { return frmRender->picture().pixels(); }

    quarn::testing::ScriptedUi ui;
    quarn::testing::MainFormStandIn m_main{QSize(1200, 900)};
    quarn::testing::TempFolder folder;
};

}  // namespace quarn

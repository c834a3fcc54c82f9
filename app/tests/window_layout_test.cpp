// The windows as a user meets them after start-up, offscreen: where the main window stands,
// whether every text shows whole at the fixed sizes, and where Tab goes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>
#include <set>

#include "close_windows.h"
#include "forms.h"
#include "quarn_gencpanel_f.h"
#include "quarn_main_f.h"
#include "quarn_render_f.h"
#include "quarn_set_f.h"
#include "readable.h"
#include "scene.h"
#include "scripted_ui.h"
#include "startup.h"
#include "temp_folder.h"
#include "viewer_test_support.h"

namespace quarn {
namespace {

class WindowLayout : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::ResetViewerState();
        ASSERT_TRUE(StartUp());
    }
    void TearDown() override { testing::DestroyAllWindows(); }

    testing::ScriptedUi ui;
    testing::TempFolder folder;
};

// Without a window manager nothing maximises the window: it takes the work area itself, so
// the panel at the screen's right edge stands inside it.
TEST_F(WindowLayout, MainWindowFillsTheWorkAreaAndRestoresToItsBounds) {
    const QRect work = frmMainMDI->screen()->availableGeometry();
    EXPECT_EQ(frmMainMDI->geometry().size(), work.size());
    const QRect panel = frmGenCPanel->geometry();
    EXPECT_EQ(panel.right(), work.right());
    EXPECT_TRUE(frmMainMDI->MdiArea->viewport()->rect().contains(panel));
    frmMainMDI->showNormal();
    EXPECT_EQ(frmMainMDI->frameGeometry(), QRect(191, 227, 435, 300));
}

// A key pressed in an open menu runs its item at once only where no other item shares it.
TEST_F(WindowLayout, EveryMenuItemHasAKeyOfItsOwn) {
    for (const QMenu* menu : {frmMainMDI->Menu1, frmMainMDI->Options1}) {
        std::set<QChar> keys;
        for (const QAction* item : menu->actions()) {
            if (item->isSeparator())
                continue;
            const QString text = item->text();
            const auto amp = text.indexOf('&');
            ASSERT_TRUE(amp >= 0 && amp + 1 < text.size()) << text.toStdString();
            EXPECT_TRUE(keys.insert(text[amp + 1].toLower()).second) << text.toStdString();
        }
    }
}

TEST_F(WindowLayout, TextsShowWholeAndTabGoesInTheSetOrder) {
    ui.dialogAnswers.push_back(folder.write(
        "tiny.3df", testing::TdfBytes({{0, 0, 0}, {1, 0, 1}, {0, 1, 0}}, {{0, 1, 2, 120}})));
    frmMainMDI->Open3Dfile1->trigger();
    ASSERT_TRUE(frmRender);

    QList<QLineEdit*> fields = GenCPanelForm()->findChildren<QLineEdit*>();
    fields.push_back(frmSet->MaskEdit1);
    for (QLineEdit* field : fields) {
        const bool signedField = field->inputMask().startsWith('#');
        const QString longest = QString(signedField ? "-10000" : "123456").left(field->maxLength());
        EXPECT_TRUE(testing::ShowsWhole(*field, longest))
            << Tag(field) << ": " << longest.toStdString();
    }

    const TfrmGenCPanel& p = *frmGenCPanel;
    const QLabel* captions[] = {p.Label17, p.Label18, p.Label19, p.Label20, p.Label21, p.Label22};
    for (const QLabel* c : captions)
        EXPECT_GE(c->width(), c->fontMetrics().horizontalAdvance(c->text()))
            << c->text().toStdString();
    EXPECT_TRUE(p.Label20->geometry().right() < p.Label21->x() &&
                p.Label21->geometry().right() < p.Label22->x() &&
                p.Label22->geometry().right() < GenCPanelForm()->width())
        << "Mapwidth, Mapheight and Interval apart";

    const TfrmRender& r = *frmRender;
    for (const QAbstractButton* b :
         {static_cast<QAbstractButton*>(r.RadioButton1),
          static_cast<QAbstractButton*>(r.RadioButton2), static_cast<QAbstractButton*>(r.CheckBox1),
          static_cast<QAbstractButton*>(r.CheckBox2)})
        EXPECT_TRUE(testing::CaptionWhole(*b)) << b->text().toStdString();
    EXPECT_EQ(
        testing::TabChain(r.Panel2, r.Edit1),
        (std::vector<QWidget*>{r.Edit1, r.Button1, r.UpDown1, r.UpDown2, r.Edit2, r.RadioButton1,
                               r.RadioButton2, r.CheckBox1, r.CheckBox2, r.Button2, r.Button3}));
}

}  // namespace
}  // namespace quarn

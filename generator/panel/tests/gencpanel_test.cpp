// The generator panel as other windows and the user meet it: swatches and height fields found
// by their Tag, the field masks, Enter, the output choice and a panel that stays.
#include "quarn_gencpanel_f.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include "forms.h"
#include "main_form_stand_in.h"

namespace quarn {
namespace {

class GenCPanel : public ::testing::Test {
  protected:
    void SetUp() override {
        CreateGenCPanel();
        panel = frmGenCPanel;
    }
    void TearDown() override {
        delete frmGenCPanel;
        TfrmGenCPanel::SetGenerateHandler(nullptr);
    }

    testing::MainFormStandIn standIn;
    TfrmGenCPanel* panel = nullptr;
};

// The map window and the generate command find a colour's swatch and height field by its
// palette index; the user finds the field on the swatch's row, just right of it.
TEST_F(GenCPanel, EachColourHasOneWhiteSwatchWithItsHeightFieldBeside) {
    for (int e = 0; e < 16; ++e) {
        const auto swatches = FindLabelsByTag(GenCPanelForm(), e);
        const QLineEdit* field = FindEditByTag(GenCPanelForm(), e);
        ASSERT_TRUE(swatches.size() == 1u && field) << e;
        const QRect swatch = swatches[0]->geometry(), edit = field->geometry();
        EXPECT_TRUE(edit.top() < swatch.bottom() && swatch.top() < edit.bottom() &&
                    edit.left() > swatch.right() && edit.left() - swatch.right() < 20)
            << e;
        EXPECT_EQ(swatches[0]->palette().color(QPalette::Window), QColor(Qt::white)) << e;
        EXPECT_TRUE(field->text().isEmpty()) << e;
    }
}

TEST_F(GenCPanel, MasksAdmitASignOnlyFirstAndLimitTheLength) {
    struct Typed {
        QLineEdit* edit;
        const char* keys;
        const char* text;
    } cases[] = {
        {panel->MaskEdit1, "-1234567", "-12345"}, {panel->MaskEdit1, "1234567", "123456"},
        {panel->MaskEdit1, "12-3", "123"},        {panel->MaskEdit17, "+50", "+50"},
        {panel->MaskEdit20, "-500", "500"},       {panel->MaskEdit21, "1234567", "123456"},
        {panel->MaskEdit22, "123456", "12345"},   {panel->MaskEdit22, "4x2", "42"},
    };
    for (const Typed& c : cases) {
        c.edit->clear();
        c.edit->setFocus();
        c.edit->home(false);
        QTest::keyClicks(c.edit, QString::fromLatin1(c.keys));
        EXPECT_EQ(c.edit->text().toStdString(), c.text) << c.keys << " into Tag " << Tag(c.edit);
    }
}

TEST_F(GenCPanel, StaysAtTheScreensRightEdgeWithThreeDfChosenAndCannotBeClosed) {
    EXPECT_EQ(panel->x() + panel->width(), QGuiApplication::primaryScreen()->size().width());
    EXPECT_EQ(panel->selectedOutputText(), "3DF");
    panel->RGOutputItems[3]->click();
    EXPECT_EQ(panel->selectedOutputText(), "PLG");
    EXPECT_FALSE(panel->windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint |
                                         Qt::WindowMaximizeButtonHint | Qt::WindowSystemMenuHint));
    standIn.area()->closeAllSubWindows();
    EXPECT_TRUE(frmGenCPanel == panel && panel->isVisible());
}

TEST_F(GenCPanel, EnterOnThePanelPressesBitBtn1) {
    int runs = 0;
    TfrmGenCPanel::SetGenerateHandler([&] { ++runs; });
    for (QWidget* target : std::initializer_list<QWidget*>{
             panel->MaskEdit3, panel->MaskEdit22, panel->RGOutputItems[1], panel->BitBtn1}) {
        QTest::keyClick(target, Qt::Key_Return);
        QTest::keyClick(target, Qt::Key_Enter);
    }
    EXPECT_EQ(runs, 8);
    panel->BitBtn1->click();
    EXPECT_EQ(runs, 9);
}

}  // namespace
}  // namespace quarn

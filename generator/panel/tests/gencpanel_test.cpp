#include "quarn_gencpanel_f.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QScreen>
#include <QTest>
#include <cstring>
#include <tuple>

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
    QMainWindow& main = standIn.main();
    QMdiArea* area = standIn.area();
    TfrmGenCPanel* panel = nullptr;
};

TEST_F(GenCPanel, FieldsCarryTheirTagsPlacesAndMasks) {
    const struct {
        QLineEdit* TfrmGenCPanel::*field;
        int tag;
        QRect geometry;
        const char* mask;
    } levels[] = {
        {&TfrmGenCPanel::MaskEdit17, 100, {5, 220, 39, 21}, "#00000"},
        {&TfrmGenCPanel::MaskEdit18, 200, {55, 220, 39, 21}, "#00000"},
        {&TfrmGenCPanel::MaskEdit19, 300, {105, 220, 39, 21}, "#00000"},
        {&TfrmGenCPanel::MaskEdit20, 400, {5, 259, 39, 21}, "000000"},
        {&TfrmGenCPanel::MaskEdit21, 500, {55, 259, 39, 21}, "000000"},
        {&TfrmGenCPanel::MaskEdit22, 600, {106, 259, 39, 21}, "00000"},
    };
    for (const auto& f : levels) {
        const QLineEdit* edit = panel->*f.field;
        EXPECT_EQ(std::tuple(Tag(edit), edit->geometry(), edit->inputMask().toStdString()),
                  std::tuple(f.tag, f.geometry, f.mask));
        EXPECT_TRUE(edit->text().isEmpty()) << f.tag;
        // Blank places show as spaces: six, or five for Interval.
        EXPECT_EQ(edit->displayText().toStdString(), std::string(std::strlen(f.mask), ' '));
        EXPECT_EQ(FindEditByTag(GenCPanelForm(), f.tag), edit) << f.tag;
    }
    const int tops[] = {3, 28, 54, 79, 105, 130, 156, 181};
    for (int e = 0; e < 16; ++e) {
        const QLineEdit* edit = FindEditByTag(GenCPanelForm(), e);
        ASSERT_NE(edit, nullptr) << e;
        EXPECT_EQ(std::tuple(edit->geometry(), edit->inputMask().toStdString(), edit->text()),
                  std::tuple(QRect(e < 8 ? 30 : 105, tops[e % 8], 39, 21), "#00000", ""))
            << e;
    }
    EXPECT_EQ(std::pair(FindEditByTag(GenCPanelForm(), 0), FindEditByTag(GenCPanelForm(), 15)),
              std::pair(panel->MaskEdit1, panel->MaskEdit16));
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

TEST_F(GenCPanel, SwatchesAreWhiteAtStartAndCarryTags) {
    const int tops[] = {5, 30, 56, 81, 107, 132, 158, 183};
    for (int e = 0; e < 16; ++e) {
        const auto labels = FindLabelsByTag(GenCPanelForm(), e);
        ASSERT_EQ(labels.size(), 1u) << e;
        EXPECT_EQ(labels[0]->geometry(), QRect(e < 8 ? 5 : 81, tops[e % 8], 18, 18)) << e;
        EXPECT_EQ(labels[0]->palette().color(QPalette::Window), QColor(Qt::white)) << e;
    }
    const std::pair<QLabel*, const char*> captions[] = {
        {panel->Label17, "Water"},    {panel->Label18, "Lawn"},      {panel->Label19, "Snow"},
        {panel->Label20, "Mapwidth"}, {panel->Label21, "Mapheight"}, {panel->Label22, "Interval"}};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(std::pair(captions[i].first->text(), Tag(captions[i].first)),
                  std::pair(QString(captions[i].second), 1000 + i));
}

TEST_F(GenCPanel, StartsAtTheScreensRightEdgeWithThreeDfChosen) {
    EXPECT_EQ(panel->x(), QGuiApplication::primaryScreen()->size().width() - panel->width());
    EXPECT_EQ(
        std::tuple(panel->windowTitle(), GenCPanelForm()->size(), panel->selectedOutputText()),
        std::tuple("Generator Control Panel", QSize(148, 383), "3DF"));
    QStringList items;
    for (const QRadioButton* item : panel->RGOutputItems)
        items << item->text();
    EXPECT_EQ(items, (QStringList{"3DF", "ASC", "RAW", "PLG"}));
    panel->RGOutputItems[3]->click();
    EXPECT_EQ(panel->selectedOutputText(), "PLG");
    EXPECT_FALSE(panel->RGOutputItems[0]->isChecked());
}

TEST_F(GenCPanel, CannotBeClosedMinimisedOrMaximised) {
    const Qt::WindowFlags flags = panel->windowFlags();
    for (const Qt::WindowType hint : {Qt::WindowCloseButtonHint, Qt::WindowMinimizeButtonHint,
                                      Qt::WindowMaximizeButtonHint, Qt::WindowSystemMenuHint})
        EXPECT_FALSE(flags & hint) << hint;
    area->closeAllSubWindows();
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
    EXPECT_TRUE(panel->BitBtn1->isDefault() && panel->BitBtn1->text().isEmpty() &&
                !panel->BitBtn1->icon().isNull());
}

TEST_F(GenCPanel, LevelFieldsShowTheirColours) {
    for (const auto& [edit, base] : {std::pair{panel->MaskEdit17, QColor(0, 0, 255)},
                                     std::pair{panel->MaskEdit18, QColor(0, 128, 0)}})
        EXPECT_EQ(
            std::pair(edit->palette().color(QPalette::Base), edit->palette().color(QPalette::Text)),
            std::pair(base, QColor(Qt::white)));
    EXPECT_EQ(GenCPanelForm()->palette().color(QPalette::Window), QColor(0, 128, 128));
}

}  // namespace
}  // namespace quarn

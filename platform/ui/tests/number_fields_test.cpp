// The number fields. As a user types into them: wherever the click lands in the empty part,
// every typed digit that has a place arrives, and a refused character is announced. Fitted to
// the windows' sizes, six characters show whole whatever sans-serif the system has. The spin
// button is one tab stop, framed so the user sees where the keyboard goes.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QTest>
#include <QToolTip>

#include "design_look.h"
#include "mask_edit.h"
#include "readable.h"
#include "up_down.h"

namespace quarn {
namespace {

struct Field {
    MaskEdit edit;
    explicit Field(const char* mask) : edit(QString::fromLatin1(mask), nullptr) {
        edit.resize(39, 21);
        edit.show();
        QToolTip::hideText();
    }
    void clickAt(int x) { QTest::mouseClick(&edit, Qt::LeftButton, {}, QPoint(x, 10)); }
};

TEST(MaskEdit, AClickInTheEmptyPartPutsTheCaretAfterTheLastCharacter) {
    const struct {
        const char* mask;
        const char* before;
        int clickX;
        const char* keys;
        const char* after;
    } cases[] = {
        {"000000; ", "", 20, "6000", "6000"},      // mid-field
        {"000000; ", "", 37, "123456", "123456"},  // at the right edge
        {"#00000; ", "", 20, "-10000", "-10000"}, {"00000; ", "", 30, "12345", "12345"},
        {"000000; ", "12", 30, "34", "1234"},  // after what is there
    };
    for (const auto& c : cases) {
        Field field(c.mask);
        field.edit.setText(QString::fromLatin1(c.before));
        field.clickAt(c.clickX);
        EXPECT_EQ(field.edit.cursorPosition(), static_cast<int>(qstrlen(c.before))) << c.mask;
        QTest::keyClicks(&field.edit, QString::fromLatin1(c.keys));
        EXPECT_EQ(field.edit.text().toStdString(), c.after)
            << c.mask << " after a click at " << c.clickX;
        EXPECT_FALSE(QToolTip::isVisible()) << "nothing was refused: " << c.keys;
    }
}

// The caret may still be put inside the typed text, where typing goes over what is there.
TEST(MaskEdit, AClickOnTheTextKeepsTheCaretWhereItLands) {
    Field field("000000; ");
    field.edit.setText(QStringLiteral("123456"));
    field.clickAt(2);
    EXPECT_EQ(field.edit.cursorPosition(), 0);
}

TEST(MaskEdit, ARefusedCharacterShowsWhatTheFieldTakes) {
    const struct {
        const char* mask;
        const char* keys;
        const char* text;
        const char* takes;
    } cases[] = {
        {"#00000; ", "1234567", "123456", "Whole numbers from -99999 to 999999"},  // too long
        {"000000; ", "-5", "5", "Whole numbers from 0 to 999999"},                 // no sign here
        {"00000; ", "4x", "4", "Whole numbers from 0 to 99999"},
    };
    for (const auto& c : cases) {
        Field field(c.mask);
        field.edit.setFocus();
        QTest::keyClicks(&field.edit, QString::fromLatin1(c.keys));
        EXPECT_EQ(field.edit.text().toStdString(), c.text) << c.keys;
        EXPECT_TRUE(QToolTip::isVisible()) << c.keys;
        EXPECT_EQ(QToolTip::text().toStdString(), c.takes) << c.keys;
    }
}

TEST(DesignLook, FittedFieldsShowSixCharactersWholeWhateverTheFont) {
    QFont wide(QStringLiteral("DejaVu Sans"));
    wide.setPixelSize(11);  // 7 pixels a digit
    QFont huge = DesignFont(20);
    const struct {
        QFont font;
        bool frame;
        QSize size;
    } cases[] = {{DesignFont(), true, {39, 21}},
                 {DesignFont(), false, {38, 19}},
                 {wide, true, {39, 21}},
                 {huge, true, {39, 21}}};
    for (const auto& c : cases) {
        QLineEdit edit;
        edit.setFont(c.font);
        edit.setFrame(c.frame);
        edit.resize(c.size);
        edit.setInputMask(QStringLiteral("#00000; "));
        FitDigits(edit, edit.maxLength());
        const QString name = QFontInfo(c.font).family();
        for (const char* text : {"-10000", "123456", "+99999"})
            EXPECT_TRUE(testing::ShowsWhole(edit, text)) << text << " in " << name.toStdString();
        EXPECT_LE(WidestDigits(edit.font(), 6), TextRoom(edit));
    }
}

TEST(UpDown, TabbingOntoItFramesItUntilTheFocusMovesOn) {
    QWidget window;
    auto* edit = new QLineEdit(&window);
    edit->setGeometry(5, 5, 38, 19);
    auto* spin = new UpDown(edit, {}, &window);
    spin->setGeometry(43, 5, 15, 19);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    edit->setFocus(Qt::OtherFocusReason);
    const QImage plain = spin->grab().toImage();
    QTest::keyClick(edit, Qt::Key_Tab);
    ASSERT_TRUE(spin->hasFocus());
    EXPECT_NE(spin->grab().toImage(), plain) << "no focus frame";
    QTest::keyClick(spin, Qt::Key_Backtab);
    EXPECT_EQ(spin->grab().toImage(), plain);
}

}  // namespace
}  // namespace quarn

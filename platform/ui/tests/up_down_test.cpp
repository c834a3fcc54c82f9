// The spin button as one tab stop: the user sees where the keyboard goes.
#include "up_down.h"

#include <gtest/gtest.h>

#include <QTest>

namespace quarn {
namespace {

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

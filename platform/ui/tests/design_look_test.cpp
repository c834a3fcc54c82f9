// The number fields' fit: six characters show whole in the fields of the windows' sizes,
// whatever sans-serif the system has.
#include "design_look.h"

#include <gtest/gtest.h>

#include <QFontInfo>

#include "readable.h"

namespace quarn {
namespace {

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

}  // namespace
}  // namespace quarn

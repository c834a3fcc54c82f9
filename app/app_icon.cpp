#include "app_icon.h"

namespace quarn {

QIcon AppIcon() {
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/quarn3d-%1.png").arg(size), QSize(size, size));
    return icon;
}

}  // namespace quarn

#include "picture_targets.h"

#include "atomic_file.h"
#include "message_box.h"

namespace quarn {

bool MayWritePictures(const std::vector<std::string>& pictures, const std::string& sceneFile) {
    for (const std::string& picture : pictures) {
        if (IsSameFile(picture, sceneFile)) {
            ShowErrorBox(kOutputIsInputText);
            return false;
        }
    }
    return true;
}

}  // namespace quarn

#include "picture_targets.h"

#include "atomic_file.h"
#include "message_box.h"
#include "scene.h"

namespace quarn {

bool MayWritePictures(const std::vector<std::string>& pictures) {
    for (const std::string& picture : pictures) {
        if (IsSameFile(picture, SceneFileName)) {
            ShowErrorBox(kOutputIsInputText);
            return false;
        }
    }
    return true;
}

}  // namespace quarn

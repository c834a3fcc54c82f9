#include "scene_load.h"

namespace quarn {

bool LoadScene(SceneFile file, AngleDisplay& display) {
    SceneLoad load(std::move(file));
    return Read_Points(load, display) && Read_Triangles(load);
}

}  // namespace quarn

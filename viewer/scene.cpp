#include "scene.h"

namespace quarn {

std::vector<SceneTriangle> TriangleList;

std::uint16_t ObserverElevation = kDefaultObserverElevation;
std::uint16_t ObserverAzimuth = kDefaultObserverAzimuth;
std::uint16_t SunElevation = kDefaultSunElevation;
std::uint16_t SunAzimuth = kDefaultSunAzimuth;
AnglePair AngleMode = AnglePair::Observer;
float PerspectiveDistance = -3.0f;
float ZoomFactor = 0.751f;
bool ShadedMode = true;
std::string SceneFileName;
bool RenderWindowOpen = false;

void ClearScene() {
    std::vector<SceneTriangle>().swap(TriangleList);
}

void ResetViewAngles() {
    ObserverElevation = kDefaultObserverElevation;
    ObserverAzimuth = kDefaultObserverAzimuth;
    SunElevation = kDefaultSunElevation;
    SunAzimuth = kDefaultSunAzimuth;
}

float ZoomedIn(float zoom) {
    return static_cast<float>(static_cast<double>(zoom) * 1.1);
}

float ZoomedOut(float zoom) {
    return static_cast<float>(static_cast<double>(zoom) * (10.0 / 11.0));
}

int WrappedSpinPosition(int position) {
    if (position == 360)
        position = 0;
    if (position == -1)
        position = 355;
    return position;
}

}  // namespace quarn

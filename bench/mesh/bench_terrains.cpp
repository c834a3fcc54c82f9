#include "bench_terrains.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace quarn::bench {

std::vector<double> HillField(int side, unsigned seed) {
    struct Hill {
        double x, y, radius, height;
    };
    std::mt19937 random(seed);
    const auto uniform = [&](double low, double high) {
        return low + (high - low) * double(random()) / double(std::mt19937::max());
    };
    std::vector<Hill> hills(40);
    for (Hill& h : hills)
        h = {uniform(-0.1, 1.1), uniform(-0.1, 1.1), uniform(0.05, 0.18), uniform(0.2, 1.0)};
    const double tiltX = uniform(-0.5, 0.5), tiltY = uniform(-0.5, 0.5);
    std::vector<double> z(std::size_t(side) * std::size_t(side));
    for (int row = 0; row < side; ++row)
        for (int col = 0; col < side; ++col) {
            const double x = (col + 0.5) / side, y = (row + 0.5) / side;
            double v = tiltX * x + tiltY * y;
            for (const Hill& h : hills)
                v += h.height * std::exp(-((x - h.x) * (x - h.x) + (y - h.y) * (y - h.y)) /
                                         (h.radius * h.radius));
            z[std::size_t(row) * std::size_t(side) + std::size_t(col)] = v;
        }
    const auto [low, high] = std::minmax_element(z.begin(), z.end());
    const double bottom = *low, range = *high - *low;
    for (double& v : z)
        v = (v - bottom) / range;
    return z;
}

std::vector<float> LevelGrid::heights() const {
    std::vector<float> h(levels.size());
    for (std::size_t i = 0; i < levels.size(); ++i)
        h[i] = static_cast<float>(levels[i] * relief / 65535);
    return h;
}

LevelGrid SmoothHills(int side, double relief, unsigned seed) {
    LevelGrid grid{side, {}, relief};
    for (const double v : HillField(side, seed))
        grid.levels.push_back(static_cast<std::uint16_t>(std::nearbyint(v * 65535)));
    return grid;
}

LevelGrid Terraces(int side, double relief, int levelCount, unsigned seed) {
    LevelGrid grid{side, {}, relief};
    for (const double v : HillField(side, seed)) {
        const int level = std::min(levelCount - 1, int(v * levelCount));
        grid.levels.push_back(
            static_cast<std::uint16_t>(std::nearbyint(65535.0 * level / (levelCount - 1))));
    }
    return grid;
}

}  // namespace quarn::bench

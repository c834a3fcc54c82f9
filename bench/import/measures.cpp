#include "measures.h"

#include <QImage>
#include <QString>
#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <limits>
#include <unordered_map>

namespace quarn::bench {

namespace {

std::uint8_t Nearest(QRgb pixel, const std::vector<Colour>& colours) {
    int best = std::numeric_limits<int>::max();
    std::uint8_t band = 0;
    for (std::size_t b = 0; b < colours.size(); ++b) {
        const Colour c = colours[b];
        const int dr = qRed(pixel) - int(c & 255), dg = qGreen(pixel) - int(c >> 8 & 255);
        const int db = qBlue(pixel) - int(c >> 16 & 255);
        const int d = dr * dr + dg * dg + db * db;
        if (d < best) {
            best = d;
            band = static_cast<std::uint8_t>(b);
        }
    }
    return band;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> ReadBands(const std::string& path,
                                                   const std::vector<Colour>& bandColours,
                                                   int width, int height) {
    QImage image(QString::fromStdString(path));
    if (image.isNull() || image.width() != width || image.height() != height)
        return std::nullopt;
    image = image.convertToFormat(QImage::Format_RGB32);
    std::unordered_map<QRgb, std::uint8_t> cache;  // cleaned maps hold a few colours
    std::vector<std::uint8_t> bands;
    bands.reserve(std::size_t(width) * std::size_t(height));
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            auto [at, added] = cache.try_emplace(row[x], 0);
            if (added)
                at->second = Nearest(row[x], bandColours);
            bands.push_back(at->second);
        }
    }
    return bands;
}

std::vector<std::uint8_t> MatchedToTruth(const std::vector<std::uint8_t>& truth,
                                         const std::vector<Colour>& palette,
                                         std::vector<std::uint8_t> found) {
    std::vector<std::vector<std::size_t>> overlap(palette.size(), std::vector<std::size_t>(256));
    for (std::size_t i = 0; i < found.size(); ++i)
        ++overlap[found[i]][truth[i]];
    std::vector<std::uint8_t> match(palette.size());
    for (std::size_t f = 0; f < palette.size(); ++f)
        match[f] = static_cast<std::uint8_t>(
            std::max_element(overlap[f].begin(), overlap[f].end()) - overlap[f].begin());
    for (std::uint8_t& band : found)
        band = match[band];
    return found;
}

BandScore ScoreBands(const std::vector<std::uint8_t>& truth, const std::vector<std::uint8_t>& found,
                     int width, int height) {
    const auto at = [width](int x, int y) {
        return std::size_t(y) * std::size_t(width) + std::size_t(x);
    };
    // Whether a pixel's row neighbours within 2 px share its band, then its column's.
    std::vector<bool> rowAlike(truth.size());
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            bool alike = true;
            for (int dx = -2; dx <= 2 && alike; ++dx)
                if (x + dx >= 0 && x + dx < width)
                    alike = truth[at(x + dx, y)] == truth[at(x, y)];
            rowAlike[at(x, y)] = alike;
        }
    BandScore score;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            bool alike = true;
            for (int dy = -2; dy <= 2 && alike; ++dy)
                if (y + dy >= 0 && y + dy < height)
                    alike = rowAlike[at(x, y + dy)] && truth[at(x, y + dy)] == truth[at(x, y)];
            if (!alike)
                continue;
            ++score.counted;
            score.wrong += found[at(x, y)] != truth[at(x, y)];
        }
    return score;
}

std::optional<std::pair<double, double>> ReadHeightRange(const std::string& path) {
    std::ifstream in(path);
    const std::string text{std::istreambuf_iterator<char>(in), {}};
    const std::string key = "samples, heights ";
    const std::size_t start = text.find(key);
    if (start == std::string::npos)
        return std::nullopt;
    // "..": the numbers are written with %g, which never ends one with a point.
    const std::size_t dots = text.find("..", start);
    if (dots == std::string::npos)
        return std::nullopt;
    try {
        return std::pair{std::stod(text.substr(start + key.size(), dots - start - key.size())),
                         std::stod(text.substr(dots + 2))};
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::optional<double> HeightmapRmse(const std::string& path, std::pair<double, double> range,
                                    double unitsPerBand, const std::vector<float>& truth) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    if (bytes.size() != 2 * truth.size())
        return std::nullopt;
    const double step = (range.second - range.first) / 65535.0 / unitsPerBand;
    const double low = range.first / unitsPerBand;
    double sum = 0;
    for (std::size_t i = 0; i < truth.size(); ++i) {
        const unsigned sample = unsigned(static_cast<unsigned char>(bytes[2 * i])) |
                                unsigned(static_cast<unsigned char>(bytes[2 * i + 1])) << 8;
        const double e = low + sample * step - truth[i];
        sum += e * e;
    }
    return std::sqrt(sum / double(truth.size()));
}

}  // namespace quarn::bench

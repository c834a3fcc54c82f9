#include "band_map.h"

#include <fstream>
#include <vector>

namespace quarn::bench {

namespace {

void PutLe(std::vector<char>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>(value >> (8 * i)));
}

}  // namespace

SwatchColours BandColours() {
    SwatchColours colours{};
    for (std::uint32_t e = 0; e < 16; ++e)
        colours[e] = ((e * 37) & 255) | (255 - e * 16) << 8 | (e * 16) << 16;
    return colours;
}

void WriteBandMap(const std::string& path, int side,
                  const std::function<std::uint8_t(int x, int y)>& bandOf) {
    WriteBandMap(path, side, side, BandColours(), bandOf);
}

void WriteBandMap(const std::string& path, int width, int height, const SwatchColours& palette,
                  const std::function<std::uint8_t(int x, int y)>& bandOf) {
    const auto w = static_cast<std::uint32_t>(width), h = static_cast<std::uint32_t>(height);
    const std::uint32_t rowBytes = (w + 7) / 8 * 4, offset = 14 + 40 + 64;
    std::vector<char> file{'B', 'M'};
    for (std::uint32_t v : {offset + rowBytes * h, 0u, offset, 40u, w, h})
        PutLe(file, v, 4);
    PutLe(file, 1, 2);
    PutLe(file, 4, 2);
    for (std::uint32_t v : {0u, rowBytes * h, 2835u, 2835u, 16u, 0u})
        PutLe(file, v, 4);
    for (const Colour colour : palette)  // red, green, blue to blue, green, red
        PutLe(file, (colour >> 16 & 255) | (colour & 0xFF00) | (colour & 255) << 16, 4);
    for (int y = height - 1; y >= 0; --y) {
        std::vector<char> row(rowBytes, 0);
        for (int x = 0; x < width; ++x)
            row[std::size_t(x / 2)] |= static_cast<char>(bandOf(x, y) << (x % 2 == 0 ? 4 : 0));
        file.insert(file.end(), row.begin(), row.end());
    }
    std::ofstream(path, std::ios::binary)
        .write(file.data(), static_cast<std::streamsize>(file.size()));
}

std::vector<std::string> GenerateArguments(const std::string& cli, const std::string& map,
                                           const std::string& output, int side) {
    const std::string extent = std::to_string(side);
    std::vector<std::string> args{
        cli,      "generate", map,           output, "--water",      "100",  "--lawn",     "400",
        "--snow", "1200",     "--map-width", extent, "--map-height", extent, "--interval", "4"};
    for (int e = 0; e < 16; ++e) {
        args.emplace_back("--height");
        args.push_back(std::to_string(e) + "=" + std::to_string(e * 100));
    }
    return args;
}

}  // namespace quarn::bench

#include "peers.h"

#include <unistd.h>

#include <QImage>
#include <QString>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string_view>

#include "test_map.h"

namespace quarn::bench {

namespace {

std::string OnPath(const std::vector<std::string_view>& names) {
    const char* path = std::getenv("PATH");
    std::string_view rest = path ? path : "";
    while (!rest.empty()) {
        const std::size_t colon = rest.find(':');
        const std::filesystem::path folder(rest.substr(0, colon));
        rest = colon == std::string_view::npos ? "" : rest.substr(colon + 1);
        for (const std::string_view name : names) {
            const std::string file = (folder / name).string();
            if (!folder.empty() && access(file.c_str(), X_OK) == 0)
                return file;
        }
    }
    return {};
}

std::vector<std::string> Remap(const std::string& tool, const std::string& folder,
                               const std::string& image, const std::string& output) {
    return {tool, image, "-dither", "None", "-remap", folder + "/legend.png", output};
}

// BMP rather than GDAL's default TIFF, which the toolkit here may not read.
std::vector<std::string> Rgb2pct(const std::string& tool, const std::string& folder,
                                 const std::string& image, const std::string& output) {
    return {tool, "-pct", folder + "/legendpalette.png", "-of", "BMP", image, output};
}

QRgb ToQRgb(Colour c) {
    return qRgb(int(c & 255), int(c >> 8 & 255), int(c >> 16 & 255));
}

}  // namespace

std::vector<Peer> FindPeers() {
    return {{"ImageMagick convert -remap", ".png", Remap, OnPath({"convert"})},
            {"GDAL rgb2pct", ".bmp", Rgb2pct, OnPath({"rgb2pct.py", "rgb2pct", "gdal_rgb2pct"})}};
}

void WritePeerPalettes(const std::string& folder) {
    QImage row(kBands, 1, QImage::Format_RGB32);
    QImage indexed(kBands, 1, QImage::Format_Indexed8);
    QList<QRgb> table;
    for (int b = 0; b < kBands; ++b) {
        table.push_back(ToQRgb(Tints()[std::size_t(b)]));
        row.setPixel(b, 0, table.back());
    }
    indexed.setColorTable(table);
    for (int b = 0; b < kBands; ++b)
        indexed.setPixel(b, 0, uint(b));
    row.save(QString::fromStdString(folder + "/legend.png"), "PNG");
    indexed.save(QString::fromStdString(folder + "/legendpalette.png"), "PNG");
}

void LiftImageMagickLimits(const std::string& folder) {
    std::ofstream(folder + "/policy.xml")
        << "<policymap>\n"
           "  <policy domain=\"resource\" name=\"memory\" value=\"8GiB\"/>\n"
           "  <policy domain=\"resource\" name=\"map\" value=\"8GiB\"/>\n"
           "  <policy domain=\"resource\" name=\"disk\" value=\"16GiB\"/>\n"
           "  <policy domain=\"resource\" name=\"area\" value=\"1GP\"/>\n"
           "</policymap>\n";
    setenv("MAGICK_CONFIGURE_PATH", folder.c_str(), 1);
}

}  // namespace quarn::bench

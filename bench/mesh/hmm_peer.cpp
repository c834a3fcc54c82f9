#include "hmm_peer.h"

#include <QImage>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include "child_run.h"

namespace quarn::bench {

namespace {

void WritePng(const LevelGrid& grid, const std::string& path) {
    QImage image(grid.side, grid.side, QImage::Format_Grayscale16);
    for (int row = 0; row < grid.side; ++row)
        std::memcpy(image.scanLine(row),
                    grid.levels.data() + std::size_t(row) * std::size_t(grid.side),
                    std::size_t(grid.side) * sizeof(std::uint16_t));
    image.save(QString::fromStdString(path), "PNG");
}

// The number after label in hmm's report, such as "triangulating... 0.12s"; 0 when missing.
double Reported(const std::string& report, const std::string& label) {
    const std::size_t at = report.find(label);
    return at == std::string::npos ? 0 : std::atof(report.c_str() + at + label.size());
}

}  // namespace

std::optional<PeerRun> RunHmm(const std::string& hmm, const std::string& folder,
                              const LevelGrid& grid, double error) {
    const std::string png = folder + "/terrain.png";
    WritePng(grid, png);
    // The samples are 1 map unit apart.
    return RunHmmOnPng(hmm, folder, png, grid.relief, error);
}

std::optional<PeerRun> RunHmmOnPng(const std::string& hmm, const std::string& folder,
                                   const std::string& png, double zScale, double error) {
    const std::string stl = folder + "/hmm.stl", reportPath = folder + "/hmm.txt";
    const ChildRun run = RunChild(
        {hmm, png, stl, "-z", std::to_string(zScale), "-e", std::to_string(error)}, reportPath);
    if (run.status != 0)
        return std::nullopt;
    std::ifstream in(reportPath);
    const std::string report{std::istreambuf_iterator<char>(in), {}};
    return PeerRun{long(Reported(report, "triangles = ")), Reported(report, "triangulating... "),
                   run.seconds};
}

}  // namespace quarn::bench

#include "write_plg.h"

#include <array>
#include <charconv>

#include "text_number.h"

namespace quarn {

std::uint32_t PlgColour(std::int32_t colourCode) {
    std::uint32_t hue = 0;
    switch (colourCode) {
        case kWaterCode:
            hue = 1;
            break;
        case kLawnCode:
            hue = 2;
            break;
        case kMountainCode:
            hue = 3;
            break;
        default:
            hue = 0;
            break;
    }
    return 0x1000u | hue << 8 | 0xFFu;
}

void FormatPLG(BinaryWriter& out, const TerrainMesh& mesh) {
    std::string line = "# Quarn 3D terrain\n";
    line += kPlgObjectName;
    line += ' ';
    AppendNumber(line, static_cast<std::int32_t>(mesh.vertices.size()));
    line += ' ';
    AppendNumber(line, mesh.triangleCount());
    line += '\n';
    out.writeText(line);
    for (std::size_t k = 0; k < mesh.vertices.size(); ++k) {
        const Vertex v = mesh.fileVertex(k);
        line.clear();
        AppendNumber(line, v.x);
        line += ' ';
        AppendNumber(line, v.y);
        line += ' ';
        AppendNumber(line, v.z);
        line += '\n';
        out.writeText(line);
    }
    ForEachTriangle(mesh, [&](const Triangle& t) {
        std::array<char, 8> hex{};
        const auto end =
            std::to_chars(hex.data(), hex.data() + hex.size(), PlgColour(t.colour), 16).ptr;
        line = "0x";
        line.append(hex.data(), end);
        line += " 3";
        for (const std::int32_t corner : {t.a, t.b, t.c}) {
            line += ' ';
            AppendNumber(line, corner);
        }
        line += '\n';
        out.writeText(line);
    });
}

}  // namespace quarn

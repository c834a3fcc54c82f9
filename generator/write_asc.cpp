#include "write_asc.h"

#include "text_number.h"

namespace quarn {

const char* AscMaterialName(std::int32_t colourCode) {
    switch (colourCode) {
        case kWaterCode:
            return "WATER";
        case kLawnCode:
            return "LAWN";
        case kMountainCode:
            return "MOUNTAIN";
        default:
            return "SNOW";
    }
}

void FormatASC(BinaryWriter& out, const TerrainMesh& mesh) {
    std::string line = "Named object: \"";
    line += kAscObjectName;
    line += "\"\nTri-mesh, Vertices: ";
    AppendNumber(line, static_cast<std::int32_t>(mesh.vertices.size()));
    line += " Faces: ";
    AppendNumber(line, mesh.triangleCount());
    line += "\nVertex list:\n";
    out.writeText(line);
    for (std::size_t k = 0; k < mesh.vertices.size(); ++k) {
        const Vertex v = mesh.fileVertex(k);
        line = "Vertex ";
        AppendNumber(line, static_cast<std::int32_t>(k));
        line += ": X: ";
        AppendNumber(line, v.x);
        line += " Y: ";
        AppendNumber(line, v.y);
        line += " Z: ";
        AppendNumber(line, v.z);
        line += "\n";
        out.writeText(line);
    }
    out.writeText("Face list:\n");
    std::int32_t face = 0;
    ForEachTriangle(mesh, [&](const Triangle& t) {
        line = "Face ";
        AppendNumber(line, face++);
        line += ": A:";
        AppendNumber(line, t.a);
        line += " B:";
        AppendNumber(line, t.b);
        line += " C:";
        AppendNumber(line, t.c);
        line += " AB:1 BC:1 CA:1\nMaterial:\"";
        line += AscMaterialName(t.colour);
        line += "\"\n";
        out.writeText(line);
    });
}

}  // namespace quarn

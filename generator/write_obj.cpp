#include "write_obj.h"

#include <filesystem>

#include "atomic_file.h"
#include "mesh_export.h"
#include "text_number.h"

namespace quarn {

namespace {

void AppendTriple(std::string& line, float a, float b, float c) {
    AppendNumber(line, a);
    line += ' ';
    AppendNumber(line, b);
    line += ' ';
    AppendNumber(line, c);
    line += '\n';
}

}  // namespace

void FormatMTL(BinaryWriter& out) {
    std::string text = "# Quarn 3D terrain: one material per height class\n";
    for (const HeightClass& c : kHeightClasses) {
        const auto unit = [](std::uint8_t level) { return static_cast<float>(level / 255.0); };
        text += "\nnewmtl ";
        text += c.name;
        for (const char* key : {"\nKa ", "\nKd "}) {
            text += key;
            AppendTriple(text, unit(c.red), unit(c.green), unit(c.blue));
            text.pop_back();
        }
        text += "\nillum 1\n";
    }
    out.writeText(text);
}

void FormatOBJ(BinaryWriter& out, const TerrainMesh& mesh, float mapExtent,
               const std::string& libraryName) {
    ChunkedOutput chunks(out);
    std::string& text = chunks.text();
    text = "# Quarn 3D terrain in map units: x east, y up (the height as typed), z south\nmtllib ";
    text += libraryName;
    text += "\no terrain\ng terrain\n";
    // Y up, as Blender and f3d take an OBJ (the GLB's axes too).
    for (std::size_t k = 0; k < mesh.vertices.size(); ++k) {
        const Vertex v = MapUnitVertex(mesh, k, mapExtent);
        text += "v ";
        AppendTriple(text, v.x, v.z, 0.0f - v.y);  // 0 - y: no "-0" on the middle row
        chunks.done();
    }
    // The faces of one class together: a viewer makes one object per material switch.
    for (std::size_t heightClass = 0; heightClass < kHeightClasses.size(); ++heightClass) {
        bool named = false;
        ForEachTriangle(mesh, [&](const Triangle& t) {
            if (HeightClassIndex(t.colour) != heightClass)
                return;
            if (!named) {
                text += "usemtl ";
                text += kHeightClasses[heightClass].name;
                text += '\n';
                named = true;
            }
            text += 'f';
            for (const std::int32_t corner : UpwardCorners(t)) {
                text += ' ';
                AppendNumber(text, corner + 1);
            }
            text += '\n';
            chunks.done();
        });
    }
    chunks.flush();
}

void WriteOBJWithLibrary(BinaryWriter& out, const TerrainMesh& mesh, float mapExtent,
                         const std::string& libraryFile) {
    AtomicFile library(libraryFile);
    BinaryWriter libraryOut(library);
    FormatMTL(libraryOut);
    FormatOBJ(out, mesh, mapExtent, std::filesystem::path(libraryFile).filename().string());
    library.commit();
}

}  // namespace quarn

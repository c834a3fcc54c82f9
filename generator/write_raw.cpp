#include "write_raw.h"

#include "text_number.h"

namespace quarn {

void FormatRAW(BinaryWriter& out, const TerrainMesh& mesh) {
    std::string line;
    ForEachTriangle(mesh, [&](const Triangle& t) {
        line.clear();
        for (const std::int32_t corner : {t.a, t.b, t.c}) {
            const Vertex v = mesh.fileVertex(static_cast<std::size_t>(corner));
            for (const float value : {v.x, v.y, v.z}) {
                if (!line.empty())
                    line += ' ';
                AppendNumber(line, value);
            }
        }
        line += '\n';
        out.writeText(line);
    });
}

}  // namespace quarn

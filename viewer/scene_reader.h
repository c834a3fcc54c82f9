// Reading an open 3DF file into a Scene, in two steps that take and give values.
//
// ReadVertices takes the header (any 3 bytes), the vertex count and the vertices, and measures
// their bounding box; PerspectiveDistanceAfterLoad gives the perspective distance that box
// leads to. ReadTriangles takes the triangle count and the triangles into a scene over those
// vertices, which keeps the vertices that they name. ReadScene is all three for one file.
// Records are read a large block of bytes at a time and decoded field by field, with the faults
// and the partial scene of reading them one by one. Refusals ("Invalid file!", "Division by
// zero!") close the file, show the box and give nothing (or false). Platform faults propagate: a
// short file "Read beyond end of file", a corner index outside the vertices "List index out of
// bounds", a NaN or infinite coordinate (used by a triangle or not) "Invalid floating point
// operation", a box too large "Floating point overflow". Counts are never trusted for
// allocation: records are appended as they are read, so a huge count in a short file ends at the
// first missing byte.
#pragma once

#include <istream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "binary_io.h"
#include "scene.h"
#include "tdf_format.h"

namespace quarn {

/// The 3DF file being loaded; closing (or destroying) it releases the stream, after which
/// its reader raises "File not open".
class SceneFile {
  public:
    explicit SceneFile(std::unique_ptr<std::istream> stream);
    /// Opens fileName for binary reading; a failure raises the platform's I/O error.
    static SceneFile Open(const std::string& fileName);

    BinaryReader& reader();
    /// The bytes from the reading position to the end, where the stream can tell.
    std::optional<std::uint64_t> bytesLeft();
    bool isOpen() const { return m_stream != nullptr; }
    void close() { m_stream.reset(); }

  private:
    std::unique_ptr<std::istream> m_stream;
    BinaryReader m_reader;
};

/// A file's vertices and the square of their bounding box's diagonal.
struct SceneVertices {
    std::vector<Vertex> vertices;
    float diagonalSquared = 0;
};

/// Reads the header and the vertices; nothing after "Invalid file!".
std::optional<SceneVertices> ReadVertices(SceneFile& file);

/// The perspective distance after loading vertices whose box has this squared diagonal, the
/// distance before being d; nothing after "Division by zero!" where it comes to about 0.
std::optional<float> PerspectiveDistanceAfterLoad(SceneFile& file, float d, float diagonalSquared);

/// Reads the triangles over vertices into scene, replaced once their count is accepted, and
/// closes the file; false after "Invalid file!". A fault leaves scene with the triangles before
/// it.
bool ReadTriangles(SceneFile& file, std::vector<Vertex> vertices, Scene& scene);

/// A scene read from a file and the perspective distance its load leads to.
struct LoadedScene {
    Scene scene;
    float perspectiveDistance = kStartPerspectiveDistance;
};

/// Reads all of file, the perspective distance before being d; nothing after a refusal. The
/// file is released however the reading ends.
std::optional<LoadedScene> ReadScene(SceneFile file, float d);

/// A scene made in memory (an elevation raster's) loaded as a file of these vertices and
/// triangles would be, the perspective distance before being d; nothing after "Division by
/// zero!". The triangles' corners must lie within the vertices, and each vertex be a corner.
std::optional<LoadedScene> SceneOfRecords(std::vector<Vertex> vertices,
                                          std::vector<Triangle> triangles, float d);

/// -(100/99) sqrt((1 + 0.25 / d^2) D^2) for d below -1e-9; otherwise d itself.
float UpdatedPerspectiveDistance(float d, float diagonalSquared);

}  // namespace quarn

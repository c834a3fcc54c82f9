// Reading an open 3DF file into TriangleList, in two steps.
//
// Read_Points takes the header (any 3 bytes), the vertex count and the vertices, measures
// their bounding box and updates PerspectiveDistance from its diagonal, then resets the view
// angles and shows the current pair. Read_Triangles takes the triangle count and the
// triangles into the scene, which keeps the vertices that they name. Records are read a large
// block at a time, with the faults and the partial scene of reading them one by one. Refusals
// ("Invalid file!", "Division by zero!") close the file, show the box and return false. Platform
// faults propagate: a short file "Read beyond end of file", a corner index outside the vertices
// "List index out of bounds", a NaN or infinite coordinate (used by a triangle or not) "Invalid
// floating point operation", a box too large "Floating point overflow". Counts are never trusted
// for allocation: records are appended as they are read, so a huge count in a short file ends at
// the first missing byte.
#pragma once

#include <istream>
#include <memory>
#include <optional>
#include <vector>

#include "binary_io.h"
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

/// One load in progress: the file and the vertices read so far (the VertexList).
struct SceneLoad {
    explicit SceneLoad(SceneFile sceneFile) : file(std::move(sceneFile)) {}
    SceneFile file;
    std::vector<Vertex> vertices;
};

/// Where Read_Points shows the angle pair of AngleMode (the viewer's spin buttons).
class AngleDisplay {
  public:
    virtual ~AngleDisplay() = default;
    /// Shows the pair without running any handler.
    virtual void showAngles(int elevation, int azimuth) = 0;
};

/// Reads the header and the vertices; false after "Invalid file!" or "Division by zero!".
bool Read_Points(SceneLoad& load, AngleDisplay& display);
/// Reads the triangles into TriangleList and closes the file; false after "Invalid file!".
bool Read_Triangles(SceneLoad& load);

/// -(100/99) sqrt((1 + 0.25 / d^2) D^2) for d below -1e-9; otherwise d itself.
float UpdatedPerspectiveDistance(float d, float diagonalSquared);

}  // namespace quarn

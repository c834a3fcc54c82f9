// The viewer's scene, and the start values and steps of the settings it is viewed with.
//
// A Scene holds the triangles of a 3DF file in file order, each seen as copies of its three
// corners (world units: x across the map, y along it, z up) and its colour code (the hue in
// degrees; 32767 means grey). It keeps them as the file does, vertices plus triangles of vertex
// indices, and every vertex that a scene read from a file keeps is a corner of some triangle.
// Angles are whole degrees.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <vector>

#include "tdf_format.h"

namespace quarn {

struct SceneTriangle {
    Vertex corner1, corner2, corner3;
    std::int32_t colour = 0;
};

/// Triangles in order over shared vertices; reads like a list of SceneTriangle.
class Scene {
  public:
    Scene() = default;
    Scene(std::initializer_list<SceneTriangle> triangles);
    explicit Scene(std::span<const SceneTriangle> triangles);

    std::size_t size() const { return m_triangles ? m_triangles->size() : 0; }
    bool empty() const { return size() == 0; }
    std::size_t capacity() const { return m_triangles ? m_triangles->capacity() : 0; }
    /// The i-th triangle with copies of its corners.
    SceneTriangle operator[](std::size_t i) const;
    /// Appends a triangle with three vertices of its own.
    void push_back(const SceneTriangle& triangle);
    void reserve(std::size_t triangles);
    /// Removes every triangle and vertex, keeping the memory for the next scene.
    void clear();

    /// The vertices; each is a corner of some triangle.
    std::span<const Vertex> vertices() const { return m_vertices; }
    /// The triangles' vertex indices (0-based, within vertices()) and colour codes.
    std::span<const Triangle> triangles() const;
    /// The triangles, shared with whoever still draws them after the scene changes.
    std::shared_ptr<const std::vector<Triangle>> sharedTriangles() const { return m_triangles; }

    /// Starts a scene over these vertices, with no triangle yet.
    void setVertices(std::vector<Vertex> vertices);
    /// Takes these triangles, whose indices lie within the vertices, as all of them.
    void setTriangles(std::vector<Triangle> triangles);
    /// Drops the vertices no triangle uses and renumbers the rest in order.
    void dropUnusedVertices();

    class Iterator {
      public:
        using value_type = SceneTriangle;
        using difference_type = std::ptrdiff_t;
        Iterator() = default;
        Iterator(const Scene* scene, std::size_t i) : m_scene(scene), m_i(i) {}
        SceneTriangle operator*() const { return (*m_scene)[m_i]; }
        Iterator& operator++() {
            ++m_i;
            return *this;
        }
        Iterator operator++(int) {
            Iterator old = *this;
            ++m_i;
            return old;
        }
        bool operator==(const Iterator& other) const { return m_i == other.m_i; }

      private:
        const Scene* m_scene = nullptr;
        std::size_t m_i = 0;
    };
    Iterator begin() const { return {this, 0}; }
    Iterator end() const { return {this, size()}; }

  private:
    // The triangles a projection still shares are copied before they change.
    std::vector<Triangle>& ownTriangles();

    std::vector<Vertex> m_vertices;
    std::shared_ptr<std::vector<Triangle>> m_triangles;
};

inline constexpr std::uint16_t kDefaultObserverElevation = 20;
inline constexpr std::uint16_t kDefaultObserverAzimuth = 60;
inline constexpr std::uint16_t kDefaultSunElevation = 90;
inline constexpr std::uint16_t kDefaultSunAzimuth = 180;
/// The perspective distance and the zoom of a freshly started application.
inline constexpr float kStartPerspectiveDistance = -3.0f;
inline constexpr float kStartZoomFactor = 0.751f;

/// The zoom after one "+" (times 1.1) or one "-" (times 10/11).
float ZoomedIn(float zoom);
float ZoomedOut(float zoom);
/// A spin position after a step: 360 becomes 0 and -1 becomes 355, so angles run 0..355.
int WrappedSpinPosition(int position);

}  // namespace quarn

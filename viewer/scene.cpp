#include "scene.h"

namespace quarn {

Scene::Scene(std::initializer_list<SceneTriangle> triangles)
    : Scene(std::span<const SceneTriangle>(triangles.begin(), triangles.size())) {}

Scene::Scene(std::span<const SceneTriangle> triangles) {
    reserve(triangles.size());
    for (const SceneTriangle& t : triangles)
        push_back(t);
}

SceneTriangle Scene::operator[](std::size_t i) const {
    const Triangle& t = (*m_triangles)[i];
    return {m_vertices[std::size_t(t.a)], m_vertices[std::size_t(t.b)],
            m_vertices[std::size_t(t.c)], t.colour};
}

void Scene::push_back(const SceneTriangle& triangle) {
    const auto first = static_cast<std::int32_t>(m_vertices.size());
    m_vertices.insert(m_vertices.end(), {triangle.corner1, triangle.corner2, triangle.corner3});
    ownTriangles().push_back({first, first + 1, first + 2, triangle.colour});
}

void Scene::reserve(std::size_t triangles) {
    m_vertices.reserve(3 * triangles);
    ownTriangles().reserve(triangles);
}

void Scene::clear() {
    m_vertices.clear();
    if (m_triangles.use_count() == 1)
        m_triangles->clear();
    else
        m_triangles.reset();  // a projection still draws them; nothing to copy
}

std::span<const Triangle> Scene::triangles() const {
    if (!m_triangles)
        return {};
    return *m_triangles;
}

void Scene::setVertices(std::vector<Vertex> vertices) {
    m_vertices = std::move(vertices);
    m_triangles.reset();
}

void Scene::setTriangles(std::vector<Triangle> triangles) {
    m_triangles = std::make_shared<std::vector<Triangle>>(std::move(triangles));
}

void Scene::dropUnusedVertices() {
    constexpr std::int32_t kUnused = -1;
    std::vector<std::int32_t> renumbered(m_vertices.size(), kUnused);
    for (const Triangle& t : triangles())
        renumbered[std::size_t(t.a)] = renumbered[std::size_t(t.b)] = renumbered[std::size_t(t.c)] =
            0;
    std::int32_t next = 0;
    for (std::size_t i = 0; i < m_vertices.size(); ++i) {
        if (renumbered[i] == kUnused)
            continue;
        m_vertices[std::size_t(next)] = m_vertices[i];
        renumbered[i] = next++;
    }
    if (std::size_t(next) == m_vertices.size())
        return;
    m_vertices.resize(std::size_t(next));
    m_vertices.shrink_to_fit();
    for (Triangle& t : ownTriangles()) {
        t.a = renumbered[std::size_t(t.a)];
        t.b = renumbered[std::size_t(t.b)];
        t.c = renumbered[std::size_t(t.c)];
    }
}

std::vector<Triangle>& Scene::ownTriangles() {
    if (!m_triangles)
        m_triangles = std::make_shared<std::vector<Triangle>>();
    else if (m_triangles.use_count() > 1)
        m_triangles = std::make_shared<std::vector<Triangle>>(*m_triangles);
    return *m_triangles;
}

float ZoomedIn(float zoom) {
    return static_cast<float>(static_cast<double>(zoom) * 1.1);
}

float ZoomedOut(float zoom) {
    return static_cast<float>(static_cast<double>(zoom) * (10.0 / 11.0));
}

int WrappedSpinPosition(int position) {
    if (position == 360)
        position = 0;
    if (position == -1)
        position = 355;
    return position;
}

}  // namespace quarn

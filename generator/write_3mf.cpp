#include "write_3mf.h"

#include <zip.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <map>

#include "band_parts.h"
#include "mesh_export.h"
#include "platform_error.h"
#include "print_solid.h"

namespace quarn {

namespace {

constexpr const char* kContentTypes =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
    "<Default Extension=\"rels\" "
    "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
    "<Default Extension=\"model\" "
    "ContentType=\"application/vnd.ms-package.3dmanufacturing-3dmodel+xml\"/></Types>\n";
constexpr const char* kRelationships =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Target=\"/3D/3dmodel.model\" Id=\"rel0\" "
    "Type=\"http://schemas.microsoft.com/3dmanufacturing/2013/01/3dmodel\"/></Relationships>\n";

// A triangle of the solid by its vertices and its material.
struct SolidTriangle {
    std::size_t a, b, c;
    std::size_t material;
};

struct Solid {
    std::vector<Point> vertices;
    std::vector<SolidTriangle> triangles;
    std::string name = "terrain";
};

// The material of each corner's sample where two or three agree, else the first corner's.
std::size_t MajorityOf(std::size_t a, std::size_t b, std::size_t c) {
    return a == b || a == c ? a : b == c ? b : a;
}

// The solid as the STL writes it, each vertex once: surface, walls, bottom.
Solid BuildSolid(const TerrainMesh& mesh, const ExportOptions& options,
                 const std::vector<std::size_t>& vertexMaterial, std::size_t sideMaterial) {
    Solid solid{SurfacePoints(mesh, options), {}};
    std::vector<std::size_t> groundOf(solid.vertices.size(), 0);
    const auto ground = [&](std::size_t k) {
        if (groundOf[k] == 0) {
            groundOf[k] = solid.vertices.size();
            solid.vertices.push_back({solid.vertices[k][0], solid.vertices[k][1], 0.0f});
        }
        return groundOf[k];
    };
    ForEachTriangle(mesh, [&](const Triangle& t) {
        const auto [a, b, c] = UpwardCorners(t);
        const auto sa = std::size_t(a), sb = std::size_t(b), sc = std::size_t(c);
        solid.triangles.push_back(
            {sa, sb, sc, MajorityOf(vertexMaterial[sa], vertexMaterial[sb], vertexMaterial[sc])});
    });
    const auto side = [&](std::size_t a, std::size_t b, std::size_t c) {
        solid.triangles.push_back({a, b, c, sideMaterial});
    };
    if (!mesh.simplified()) {
        const auto border = BorderLoop(std::size_t(mesh.cols), std::size_t(mesh.rows));
        const Point& northEast = solid.vertices[std::size_t(mesh.cols) - 1];
        const std::size_t centre = solid.vertices.size();
        solid.vertices.push_back({northEast[0] / 2, northEast[1] / 2, 0.0f});
        for (std::size_t n = 0; n < border.size(); ++n) {
            const std::size_t p = border[n], q = border[(n + 1) % border.size()];
            side(ground(p), ground(q), q);
            side(ground(p), q, p);
            side(centre, ground(q), ground(p));
        }
        return solid;
    }
    const auto sides = BorderSides(mesh);
    for (const auto& edge : sides) {
        const std::size_t first = edge.front(), last = edge.back();
        side(ground(first), ground(last), last);
        for (std::size_t n = edge.size() - 1; n > 0; --n)
            side(ground(first), edge[n], edge[n - 1]);
    }
    const std::size_t southWest = ground(sides[0].front()), southEast = ground(sides[1].front()),
                      northEast = ground(sides[2].front()), northWest = ground(sides[3].front());
    side(southWest, northWest, northEast);
    side(southWest, northEast, southEast);
    return solid;
}

void AppendNumber(std::string& xml, float value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    xml.append(text, end);
}

void AppendNumber(std::string& xml, std::size_t value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    xml.append(text, end);
}

std::string HexColour(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", red, green, blue);
    return text;
}

struct Material {
    std::string name, colour;
};

void AppendObject(std::string& xml, std::size_t id, const Solid& solid) {
    xml += "  <object id=\"";
    AppendNumber(xml, id);
    xml += "\" type=\"model\" name=\"" + solid.name + "\" pid=\"1\" pindex=\"";
    AppendNumber(xml, solid.triangles.empty() ? 0 : solid.triangles.front().material);
    xml += "\">\n   <mesh>\n    <vertices>\n";
    for (const Point& p : solid.vertices) {
        xml += "     <vertex x=\"";
        AppendNumber(xml, p[0]);
        xml += "\" y=\"";
        AppendNumber(xml, p[1]);
        xml += "\" z=\"";
        AppendNumber(xml, p[2]);
        xml += "\"/>\n";
    }
    xml += "    </vertices>\n    <triangles>\n";
    for (const SolidTriangle& t : solid.triangles) {
        xml += "     <triangle v1=\"";
        AppendNumber(xml, t.a);
        xml += "\" v2=\"";
        AppendNumber(xml, t.b);
        xml += "\" v3=\"";
        AppendNumber(xml, t.c);
        xml += "\" pid=\"1\" p1=\"";
        AppendNumber(xml, t.material);
        xml += "\"/>\n";
    }
    xml += "    </triangles>\n   </mesh>\n  </object>\n";
}

std::string ModelXml(const std::vector<Solid>& objects, const std::vector<Material>& materials,
                     std::span<const ColourChange> changes) {
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<model unit=\"millimeter\" xml:lang=\"en-US\" "
        "xmlns=\"http://schemas.microsoft.com/3dmanufacturing/core/2015/02\" "
        "xmlns:quarn=\"http://quarn3d.org/3mf/2026\">\n"
        " <metadata name=\"Application\">Quarn 3D</metadata>\n";
    if (!changes.empty()) {
        xml += " <metadata name=\"quarn:ColourChanges\">";
        char text[64];
        for (std::size_t n = 0; n < changes.size(); ++n) {
            std::snprintf(text, sizeof text, "%s%.3f", n ? " " : "", changes[n].heightMm);
            xml += text;
        }
        xml += "</metadata>\n";
    }
    xml += " <resources>\n  <basematerials id=\"1\">\n";
    for (const Material& m : materials)
        xml += "   <base name=\"" + m.name + "\" displaycolor=\"" + m.colour + "\"/>\n";
    xml += "  </basematerials>\n";
    for (std::size_t n = 0; n < objects.size(); ++n)
        AppendObject(xml, n + 2, objects[n]);
    xml += " </resources>\n <build>\n";
    for (std::size_t n = 0; n < objects.size(); ++n) {
        xml += "  <item objectid=\"";
        AppendNumber(xml, n + 2);
        xml += "\"/>\n";
    }
    xml += " </build>\n</model>\n";
    return xml;
}

[[noreturn]] void ThrowZipError(zip_error_t& error) {
    const std::string text = zip_error_strerror(&error);
    zip_error_fini(&error);
    throw PlatformError(text);
}

// The package of its parts, each deflated.
std::vector<std::uint8_t> Zipped(const std::vector<std::pair<const char*, std::string>>& parts) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    if (!buffer)
        ThrowZipError(error);
    zip_t* archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
    if (!archive) {
        zip_source_free(buffer);
        ThrowZipError(error);
    }
    zip_source_keep(buffer);
    // The archive owns what it was given; this call's own reference to the buffer goes too.
    const auto fail = [&] {
        zip_error_set(&error, zip_error_code_zip(zip_get_error(archive)), 0);
        zip_discard(archive);
        zip_source_free(buffer);
        ThrowZipError(error);
    };
    for (const auto& [name, content] : parts) {
        zip_source_t* source = zip_source_buffer(archive, content.data(), content.size(), 0);
        if (!source)
            fail();
        const zip_int64_t index = zip_file_add(archive, name, source, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(source);
            fail();
        }
        if (zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_DEFLATE, 6) != 0)
            fail();
    }
    if (zip_close(archive) != 0)
        fail();
    std::vector<std::uint8_t> bytes;
    if (zip_source_open(buffer) == 0) {
        zip_source_seek(buffer, 0, SEEK_END);
        bytes.resize(std::size_t(zip_source_tell(buffer)));
        zip_source_seek(buffer, 0, SEEK_SET);
        zip_source_read(buffer, bytes.data(), bytes.size());
        zip_source_close(buffer);
    }
    zip_source_free(buffer);
    zip_error_fini(&error);
    return bytes;
}

}  // namespace

std::vector<ColourChange> ColourChanges(const TerrainMesh& mesh, const ExportOptions& options,
                                        std::span<const std::uint8_t> bands) {
    // The bands on the map by their heights (raised to the Water level, as the surface is).
    std::map<float, std::uint8_t> byHeight;
    for (const std::uint8_t band : bands)
        if (band < kNoClass && mesh.levels.set[band])
            byHeight.emplace(std::max(mesh.levels.norm[band], mesh.levels.water), band);
    const SolidScale scale = ScaleOf(mesh, options);
    std::vector<ColourChange> changes;
    for (auto below = byHeight.begin(), it = byHeight.begin(); it != byHeight.end(); below = it++)
        if (it != byHeight.begin())
            changes.push_back({it->second, double(scale.heightMm(below->first))});
    return changes;
}

std::string ColourChangesText(const std::vector<ColourChange>& changes) {
    if (changes.empty())
        return "no colour change";
    std::string text = "colour changes:";
    char part[64];
    for (std::size_t n = 0; n < changes.size(); ++n) {
        std::snprintf(part, sizeof part, "%s band %d at %.3f mm", n ? "," : "",
                      int(changes[n].band), changes[n].heightMm);
        text += part;
    }
    return text;
}

void Format3MF(BinaryWriter& out, const TerrainMesh& mesh, const ExportOptions& options,
               std::span<const std::uint8_t> bands, std::span<const ColourChange> changes) {
    std::vector<Material> materials;
    std::vector<std::size_t> vertexMaterial(mesh.vertices.size());
    if (options.printColours == PrintColours::Classes) {
        for (const HeightClass& c : kHeightClasses)
            materials.push_back({c.name, HexColour(c.red, c.green, c.blue)});
        const NormalisedLevels& l = mesh.levels;
        for (std::size_t k = 0; k < mesh.vertices.size(); ++k)
            vertexMaterial[k] =
                HeightClassIndex(Triangle_Color(mesh.vertices[k].h, l.water, l.lawn, l.snow));
    } else {
        // A material per band on the map, in palette order; a sample of no band takes the
        // lowest sample's.
        std::map<std::uint8_t, std::size_t> materialOf;
        for (const std::uint8_t band : bands)
            if (band < kNoClass)
                materialOf.emplace(band, 0);
        for (auto& [band, material] : materialOf) {
            material = materials.size();
            // Colours hold red in the low byte, blue in the third.
            const std::uint32_t colour = options.bandColours[band];
            materials.push_back({"band " + std::to_string(band),
                                 HexColour(std::uint8_t(colour), std::uint8_t(colour >> 8),
                                           std::uint8_t(colour >> 16))});
        }
        if (materials.empty())
            materials.push_back({"terrain", "#808080"});
        const std::uint8_t lowest = bands[LowestVertex(mesh)];
        const std::size_t fallback = lowest < kNoClass ? materialOf[lowest] : 0;
        for (std::size_t k = 0; k < mesh.vertices.size(); ++k)
            vertexMaterial[k] = bands[k] < kNoClass ? materialOf[bands[k]] : fallback;
    }
    std::vector<Solid> objects;
    if (!options.partsByBand) {
        objects.push_back(
            BuildSolid(mesh, options, vertexMaterial, vertexMaterial[LowestVertex(mesh)]));
    } else {
        // A part in one material: its band's, or the class of its lowest sample.
        for (const BandPart& part : BandParts(mesh, options, bands)) {
            Solid solid{part.vertices, {}, "band " + std::to_string(part.band)};
            std::size_t material = 0;
            if (options.printColours == PrintColours::Bands) {
                for (std::size_t k = 0; k < bands.size(); ++k)
                    if (bands[k] == part.band)
                        material = vertexMaterial[k];
            } else {
                material = HeightClassIndex(
                    Triangle_Color(std::max(mesh.levels.norm[part.band], mesh.levels.water),
                                   mesh.levels.water, mesh.levels.lawn, mesh.levels.snow));
            }
            for (const auto& [a, b, c] : part.triangles)
                solid.triangles.push_back({a, b, c, material});
            objects.push_back(std::move(solid));
        }
    }
    const std::vector<std::uint8_t> package =
        Zipped({{"[Content_Types].xml", kContentTypes},
                {"_rels/.rels", kRelationships},
                {"3D/3dmodel.model", ModelXml(objects, materials, changes)}});
    out.writeBytes(package);
}

}  // namespace quarn

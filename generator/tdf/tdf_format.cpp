#include "tdf_format.h"

namespace quarn {

void WriteTdfHeader(BinaryWriter& out) {
    out.writeBytes(kTdfHeader);
}

void WriteVertex(BinaryWriter& out, const Vertex& v) {
    out.writeFloat(v.x);
    out.writeFloat(v.y);
    out.writeFloat(v.z);
}

void WriteTriangle(BinaryWriter& out, const Triangle& t) {
    out.writeInt32(t.a);
    out.writeInt32(t.b);
    out.writeInt32(t.c);
    out.writeInt32(t.colour);
}

Vertex ReadVertex(BinaryReader& in) {
    Vertex v;
    v.x = in.readFloat();
    v.y = in.readFloat();
    v.z = in.readFloat();
    return v;
}

Triangle ReadTriangle(BinaryReader& in) {
    Triangle t;
    t.a = in.readInt32();
    t.b = in.readInt32();
    t.c = in.readInt32();
    t.colour = in.readInt32();
    return t;
}

}  // namespace quarn

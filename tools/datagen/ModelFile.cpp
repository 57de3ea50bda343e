#include "tools/datagen/ModelFile.h"

#include <cmath>

namespace zorvpro::datagen
{

uint32_t PolarValueCount(float stepDegrees, uint32_t bands)
{
    const double radians = static_cast<double>(stepDegrees) * 0.017453292519943295;
    const double d = radians * 57.29577951308232;
    if (!(d > 0.0))
        return 0;
    const double azimuths = std::trunc(360.0 / d);
    const double polars = std::trunc(180.0 / d) + 1.0;
    if (!(azimuths < 4294967296.0) || !(polars < 4294967296.0))
        return 0;
    return static_cast<uint32_t>(azimuths) * static_cast<uint32_t>(polars) * bands;
}

void ModelFile::WriteHeader(BinaryWriter& out) const
{
    out.UInt(version);
    out.String(name);
    out.String("zorv-datagen");
    if (version >= kVersionDescription)
    {
        out.String(description);
        out.String("");
    }
    out.Box({-1, -1, -1}, {1, 1, 1});
    out.Int(0);
    out.Float(componentValue);
    out.PointValue({0, 0, 0});
    out.Int(0);
    out.PointValue({0, 0, 0});
    out.Int(0);
    if (version > kVersionPhases)
        out.PointValue({0, 0, 0});
    if (version > kVersionDescription)
    {
        // A set flag brings one integer and two point lists.
        out.Int(1);
        out.Int(3);
        out.PointList({{0, 0, 0}, {0, 0, 1}});
        out.PointList({{1, 0, 0}});
    }
    if (version > kVersionPhases)
    {
        out.Int(withExtraGrid ? 1 : 0);
        if (withExtraGrid)
        {
            out.Int(0);
            out.Float(0.5f);
            const int a = 2, b = 3, c = 2;
            out.Int(a);
            out.Int(b);
            out.Int(c);
            out.Int(0);
            for (int i = 0; i < a * b * c; ++i)
                out.Float(static_cast<float>(i));
        }
    }
}

void ModelFile::WriteTransformers(BinaryWriter& out) const
{
    out.Int(static_cast<int32_t>(transformers.size()));
    for (const TransformerRecord& t : transformers)
    {
        out.UInt(t.version);
        out.String(t.name);
        out.Int(t.tapCode);
        out.Int(t.id);
        if (t.version > 0x10000000)
        {
            out.Int(0);
            out.Int(0);
            out.Int(0);
        }
    }
}

void WritePolarRecord(BinaryWriter& out, const PolarRecord& p)
{
    const uint32_t v = p.version;
    out.UInt(v);
    out.String(p.name);
    out.String("");
    if (v >= kVersionDescription)
    {
        out.String("");
        out.String("");
    }
    out.String("");
    out.Float(p.stepDegrees);
    out.Box({0, 0, 0}, {0, 0, 0});
    out.Int(0);
    out.Float(0.0f);
    out.PointValue({0, 0, 0});
    out.Int(p.polarId);
    out.PointValue({0, 0, 0});
    out.String(p.label);
    out.Int(0);
    for (int i = 0; i < 7; ++i)
    {
        std::vector<float> band = p.bands[i];
        band.resize(kBandCount, 0.0f);
        out.Floats(band);
    }
    out.Floats(p.magnitudes);
    if (v > kVersionDescription)
    {
        out.Zeros(16);
        out.Int(p.hasPhases ? 1 : 0);
        if (p.hasPhases)
            out.Floats(p.phases);
    }
    if (v > kVersionPhases)
    {
        out.PointValue(p.point);
        std::vector<float> eighth = p.bands[7];
        eighth.resize(kBandCount, 0.0f);
        out.Floats(eighth);
    }
    if (v >= kVersionSelection)
        out.UInt(p.bandSelection);
}

void ModelFile::WritePolars(BinaryWriter& out) const
{
    out.Int(static_cast<int32_t>(polars.size()));
    for (const PolarRecord& p : polars)
        WritePolarRecord(out, p);
}

void ModelFile::WriteTransducers(BinaryWriter& out) const
{
    out.Int(static_cast<int32_t>(transducers.size()));
    for (const TransducerRecord& t : transducers)
    {
        out.Int(0);
        out.String(t.name);
        out.PointValue(t.orientation);
        out.PointValue(t.position);
        out.Float(t.levelFactor);
        out.Int(t.transformerId);
        out.Int(t.polarId);
    }
}

void ModelFile::WriteFaces(BinaryWriter& out) const
{
    out.Int(static_cast<int32_t>(faces.size()));
    for (const FaceRecord& f : faces)
    {
        out.Int(f.recordType);
        switch (f.recordType)
        {
        case 2:
            out.Int(0);
            out.Int(f.faceType);
            for (const Point& c : f.corners)
                out.PointValue(c);
            out.Int(0);
            out.Int(0);
            break;
        case 3:
            out.Zeros(11);
            break;
        case 4:
            out.Zeros(27);
            break;
        case 5:
            out.Zeros(12);
            break;
        default:
            break;
        }
    }
}

std::string ModelFile::Serialize() const
{
    BinaryWriter out;
    WriteHeader(out);
    WriteTransformers(out);
    WritePolars(out);
    WriteTransducers(out);
    WriteFaces(out);
    return out.Data();
}

std::vector<FaceRecord> BoxFaces(const Point& lo, const Point& hi, int32_t faceType)
{
    auto face = [faceType](Point a, Point b, Point c, Point d)
    {
        FaceRecord f;
        f.faceType = faceType;
        f.corners = {a, b, c, d};
        return f;
    };
    const float x0 = lo[0], y0 = lo[1], z0 = lo[2], x1 = hi[0], y1 = hi[1], z1 = hi[2];
    return {
        face({x1, y0, z0}, {x1, y1, z0}, {x1, y1, z1}, {x1, y0, z1}), // front
        face({x0, y0, z0}, {x0, y0, z1}, {x0, y1, z1}, {x0, y1, z0}), // back
        face({x0, y0, z0}, {x1, y0, z0}, {x1, y0, z1}, {x0, y0, z1}), // left
        face({x0, y1, z0}, {x0, y1, z1}, {x1, y1, z1}, {x1, y1, z0}), // right
        face({x0, y0, z1}, {x1, y0, z1}, {x1, y1, z1}, {x0, y1, z1}), // top
        face({x0, y0, z0}, {x0, y1, z0}, {x1, y1, z0}, {x1, y0, z0}), // bottom
    };
}

} // namespace zorvpro::datagen

#include "acoustics/data/ModelFileReader.h"

#include "acoustics/data/ByteCursor.h"
#include "acoustics/model/Polar.h"

#include <cmath>
#include <stdexcept>

namespace zorvpro::acoustics
{
namespace
{

constexpr double kDegToRad = 0.017453292519943295;
constexpr double kMinStep = 0.0017453292519943296; // 0.1 degrees
constexpr double kMaxStep = 1.5707963267948966;    // 90 degrees

// Smallest possible size of each record, for the count checks.
constexpr size_t kMinTransformerBytes = 16;
constexpr size_t kMinPolarBytes = 4 * 4 + 4 + 24 + 4 + 4 + 12 + 4 + 12 + 4 + 4 + 7 * kModelBandCount * 4;
constexpr size_t kMinTransducerBytes = 4 + 4 + 12 + 12 + 4 + 4 + 4;
constexpr size_t kMinFaceBytes = 4;

DoubleBuffer ReadFloats(ByteCursor& in, uint32_t n)
{
    in.require(n, 4);
    DoubleBuffer values(n);
    for (uint32_t i = 0; i < n; ++i)
        values[i] = in.readFloat();
    return values;
}

void SkipPointList(ByteCursor& in)
{
    const uint32_t count = in.readCount(12);
    in.skip(static_cast<size_t>(count) * 12);
}

void ReadHeader(ByteCursor& in, ModelFileData& m)
{
    const uint32_t v = m.version = in.readUInt();
    m.name = in.readString();
    in.readString();
    if (v >= 0x10000004)
    {
        m.description = in.readString();
        in.readString();
    }
    in.skip(24); // box
    in.readInt();
    const float value = in.readFloat();
    if (value >= 0.0f)
    {
        m.hasComponentValue = true;
        m.componentValue = value;
    }
    in.skip(12 + 4 + 12 + 4);
    if (v > 0x10000005)
        in.skip(12);
    if (v > 0x10000004 && in.readInt() != 0)
    {
        in.readInt();
        SkipPointList(in);
        SkipPointList(in);
    }
    if (v > 0x10000005 && in.readInt() != 0)
    {
        in.readInt();
        in.readFloat();
        const int32_t a = in.readInt(), b = in.readInt(), c = in.readInt();
        in.readInt();
        // The product is taken in 32 bits, as the format defines it.
        const int32_t product = static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b) *
                                                     static_cast<uint32_t>(c));
        if (product > 0)
        {
            in.require(static_cast<uint64_t>(product), 4);
            in.skip(static_cast<size_t>(product) * 4);
        }
    }
}

uint32_t TapFromCode(int32_t code)
{
    switch (code)
    {
    case 0:
        return 0;
    case 1:
        return 25;
    case 2:
        return 70;
    case 3:
        return 100;
    default:
        return 0xFFFFFFFFu;
    }
}

void ReadTransformers(ByteCursor& in, ModelFileData& m)
{
    const uint32_t count = in.readCount(kMinTransformerBytes);
    for (uint32_t i = 0; i < count; ++i)
    {
        ModelFileData::TransformerRecord t;
        const uint32_t v = in.readUInt();
        t.name = in.readString();
        t.tap = TapFromCode(in.readInt());
        t.id = in.readUInt();
        if (v > 0x10000000)
            in.skip(12);
        m.transformers.push_back(std::move(t));
    }
}

ModelFileData::PolarRecord ReadPolar(ByteCursor& in)
{
    ModelFileData::PolarRecord p;
    const uint32_t v = p.version = in.readUInt();
    p.name = in.readString();
    in.readString();
    if (v >= 0x10000004)
    {
        in.readString();
        in.readString();
    }
    in.readString();
    const float step = in.readFloat();
    p.stepRadians = static_cast<double>(step) * kDegToRad;
    // The step decides how many grid values follow: reject it before reading them.
    if (!(p.stepRadians >= kMinStep && p.stepRadians <= kMaxStep))
        throw std::invalid_argument("Invalid arguments Polar::ctor");
    in.skip(24 + 4 + 4 + 12);
    p.polarId = in.readUInt();
    in.skip(12);
    p.label = in.readString();
    in.readInt();
    for (int b = 0; b < 7; ++b)
        p.bands[b] = ReadFloats(in, kModelBandCount);

    const uint32_t n = polarValueCount(p.stepRadians, kModelBandCount);
    p.magnitudes = ReadFloats(in, n);
    if (v > 0x10000004)
    {
        in.skip(16);
        if (in.readInt() != 0)
            p.phases = ReadFloats(in, n);
    }
    if (p.phases.count() != n)
        p.phases = DoubleBuffer(n);
    if (v > 0x10000005)
    {
        p.point = in.readPoint();
        p.bands[7] = ReadFloats(in, kModelBandCount);
    }
    else
    {
        p.bands[7] = DoubleBuffer(kModelBandCount);
    }
    if (v < 0x10000007)
    {
        uint32_t selection = 0xFFFFFFFFu;
        for (uint32_t b = 0; b < kModelBandCount; ++b)
        {
            if (p.bands[3][b] > 0.0)
                selection |= 1u << b;
            else
                selection &= ~(1u << b);
        }
        p.bandSelection = selection;
    }
    else
    {
        p.bandSelection = in.readUInt();
    }
    return p;
}

void ReadTransducers(ByteCursor& in, ModelFileData& m)
{
    const uint32_t count = in.readCount(kMinTransducerBytes);
    for (uint32_t i = 0; i < count; ++i)
    {
        ModelFileData::TransducerRecord t;
        in.readInt();
        t.name = in.readString();
        t.index = i;
        t.orientation = in.readPoint();
        t.position = in.readPoint();
        t.levelFactor = in.readFloat();
        t.transformerId = in.readUInt();
        t.polarId = in.readUInt();
        m.transducers.push_back(std::move(t));
    }
}

void ReadFaces(ByteCursor& in, ModelFileData& m)
{
    const uint32_t count = in.readCount(kMinFaceBytes);
    for (uint32_t i = 0; i < count; ++i)
    {
        switch (in.readInt())
        {
        case 2:
        {
            ModelFileData::FaceRecord f;
            in.readInt();
            f.type = in.readUInt();
            for (Point3& corner : f.corners)
                corner = in.readPoint();
            in.skip(8);
            m.faces.push_back(f);
            break;
        }
        case 0:
            break;
        case 3:
            in.skip(11);
            break;
        case 4:
            in.skip(27);
            break;
        case 5:
            in.skip(12);
            break;
        default:
            throw std::invalid_argument("Invalid dxf type");
        }
    }
}

} // namespace

uint32_t polarValueCount(double stepRadians, uint32_t bands)
{
    // One count for the reader and the grid it fills.
    return Polar::polarValueCount(stepRadians, bands);
}

ModelFileData ReadModelFile(const std::string& bytes)
{
    ByteCursor in(bytes);
    ModelFileData m;
    ReadHeader(in, m);
    ReadTransformers(in, m);
    const uint32_t polars = in.readCount(kMinPolarBytes);
    for (uint32_t i = 0; i < polars; ++i)
        m.polars.push_back(ReadPolar(in));
    ReadTransducers(in, m);
    ReadFaces(in, m);
    return m;
}

} // namespace zorvpro::acoustics

// The poll that brings computed chunks back and colours their maps, and the SPL display
// settings of the project.
#include "views/Adapters/Spl/SplAdapter.h"

#include "acoustics/engine/DataSet.h"
#include "core/Logger/OmbraxLogger.h"
#include "core/math/Compare.h"
#include "data/Field/FieldMessageTypes.h"
#include "data/Project/ProjectDefinition.h"
#include "data/Project/ProjectSettings.h"
#include "views/Common/BeamSpeakerItem.h"
#include "views/Common/PropertyName.h"
#include "views/Common/SplTypes.h"
#include "views/Render/FieldEntity.h"

#include <mutex>

namespace zorvpro
{
namespace
{
ProjectSettings& Settings()
{
    return *ProjectDefinition::Instance()->GetSettings();
}

void LogError(const char* text)
{
    OmbraxLogger::Log(LogLevel::Error, text);
}

// Below the zero bound both, or within 25 ulps of the larger magnitude.
bool Differs(double a, double b)
{
    return !math::AlmostEqual(a, b);
}
} // namespace

void SplAdapter::ProcessEngineMessages()
{
    m_taskQueue.RunCompletions(kCompletionsPerTick);
    for (int i = 0; i < kMessagesPerTick; ++i)
    {
        field::FieldMessagePtr message = Receive();
        if (!message)
            break;
        switch (message->GetType())
        {
        case field::MessageType::ChunksUpdated:
            for (const field::FieldChunkPtr& chunk : message->GetChunks())
            {
                // A result for a removed map is dropped before anything looks at it.
                if (!chunk || IsRetired(chunk))
                    continue;
                chunk->PromoteLatest();
                if (PairingPtr p = FindPairing({}, chunk))
                {
                    // A result counts when it was computed for the present cut; for a surface, only
                    // once the surface was cut again after its last change.
                    const bool cutAfterChange = p->kind != Surface || p->tessellatedStamp > p->changedStamp;
                    if (cutAfterChange && ResultFitsChunk(chunk))
                    {
                        p->resultStamp = NextMapStamp();
                        m_resultsUnfitted = true;
                    }
                }
                else
                {
                    LogError("Unknown chunk returned from engine");
                }
                UpdateChunkToEntity(chunk);
            }
            break;
        case field::MessageType::StepFinished:
            if (Settings().getSplAutoAdjustRange())
                AutoScaleSplRange();
            break;
        case field::MessageType::StepAbandoned:
            // No end follows: the results the step already showed are fitted now, once. Every
            // result of the step was posted before this message.
            if (m_resultsUnfitted && Settings().getSplAutoAdjustRange())
                AutoScaleSplRange();
            break;
        default:
            break;
        }
    }
    if (m_fitAtNextTick)
    {
        m_fitAtNextTick = false;
        if (Settings().getSplAutoAdjustRange())
            AutoScaleSplRange();
    }
}

bool SplAdapter::ResultFitsChunk(const field::FieldChunkPtr& chunk) const
{
    const field::FieldChunk::ResultPtr result = chunk->GetDataSet();
    if (!result)
        return false;
    const std::vector<acoustics::FieldPoint> computed = result->GetPoints();
    const std::vector<acoustics::FieldPoint> present = chunk->GetPoints().GetPoints();
    if (computed.size() != present.size())
        return false;
    for (size_t i = 0; i < computed.size(); ++i)
    {
        if (computed[i].x != present[i].x || computed[i].y != present[i].y || computed[i].z != present[i].z)
            return false;
    }
    return true;
}

void SplAdapter::UpdateChunkToEntity(const field::FieldChunkPtr& chunk)
{
    if (!chunk || IsRetired(chunk))
        return;
    const field::ChunkMesh mesh = chunk->GetMesh();
    const int32_t gridCount = static_cast<int32_t>(mesh.columnCount * mesh.rowCount);
    field::FieldChunk::ResultPtr result = chunk->GetDataSet();
    if (!result || static_cast<int64_t>(result->Count()) != gridCount || !ResultFitsChunk(chunk))
        return;

    const ProjectSettings& settings = Settings();
    const double low = settings.getSplLowValue();
    const double high = settings.getSplHighValue();
    const int32_t band = settings.getSplOctaveMode();
    const double frequency = settings.getSplFreqCtr();

    acoustics::DataSet::SplValues levels;
    {
        std::lock_guard<field::FieldChunk::Lock> guard(chunk->GetLock());
        if (auto data = result->GetDataSet())
            data->getSpl(levels, band, frequency);
    }
    const std::vector<acoustics::FieldPoint> points = result->GetPoints();
    std::vector<math::Vec3> positions;
    std::vector<double> values;
    positions.reserve(points.size());
    values.reserve(points.size());
    for (size_t i = 0; i < points.size(); ++i)
    {
        positions.push_back({points[i].x, points[i].y, points[i].z});
        if (i < levels.size())
            values.push_back(levels[i].second);
    }

    PairingPtr p = FindPairing({}, chunk);
    if (!p)
    {
        LogError("Cannot find pairing in UpdateChunkToEntity");
        return;
    }
    if (!values.empty() && !positions.empty() && !mesh.triangles.empty())
    {
        if (p->shownStamp < p->resultStamp)
        {
            std::vector<view::FieldEntity::Triangle> triangles(mesh.triangles.begin(), mesh.triangles.end());
            std::vector<int32_t> columns(mesh.columnIndex.begin(), mesh.columnIndex.end());
            std::vector<int32_t> rows(mesh.rowIndex.begin(), mesh.rowIndex.end());
            p->entity->SetMesh(positions, triangles, columns, rows, static_cast<int32_t>(mesh.columnCount),
                               static_cast<int32_t>(mesh.rowCount));
            ++m_counters.meshesSet;
        }
        p->entity->BuildColorMapTexture(values, low - SplColorRange::kFadeWidth,
                                        high + SplColorRange::kFadeWidth, ColorFunction());
        ++m_counters.recolours;
        p->entity->setTransform(chunk->GetTransform());
    }
    p->shownStamp = NextMapStamp();
    RefreshAllVisibility(p);
}

void SplAdapter::RecolourAllMaps()
{
    const std::vector<PairingPtr> pairings = m_pairings;
    for (const PairingPtr& p : pairings)
    {
        if (p->chunk)
            UpdateChunkToEntity(p->chunk);
        if (p->entity)
            p->entity->setDirty(true);
    }
}

void SplAdapter::PushSplSettings()
{
    if (!splPropertiesControl_)
    {
        LogError("Missing splPropertiesControl_");
        return;
    }
    const ProjectSettings& settings = Settings();
    splPropertiesControl_->updateProperty(
        toPropertyName(BeamSpeakerItem::Spl_Mode),
        QVariant::fromValue(static_cast<SplTypes::Mode>(settings.getSplOctaveMode())));
    splPropertiesControl_->updateProperty(toPropertyName(BeamSpeakerItem::Spl_Freq),
                                          settings.getSplFreqCtr());
    splPropertiesControl_->updateProperty(toPropertyName(BeamSpeakerItem::Spl_Min_dB),
                                          settings.getSplLowValue());
    splPropertiesControl_->updateProperty(toPropertyName(BeamSpeakerItem::Spl_Max_dB),
                                          settings.getSplHighValue());
    splPropertiesControl_->updateProperty(toPropertyName(BeamSpeakerItem::Spl_Auto_Adjust),
                                          settings.getSplAutoAdjustRange());
    splPropertiesControl_->updateProperty(toPropertyName(BeamSpeakerItem::Spl_Res),
                                          settings.getSplResolution());
    BuildColorMap();
}

void SplAdapter::onPropertyEvent(BoundPropertyEvent event, const QString& propName, const QVariant& value)
{
    if (event != BoundPropertyEvent::ValueChanged)
        return;
    ProjectSettings& settings = Settings();
    switch (beamSpeakerItemFromName(propName))
    {
    case BeamSpeakerItem::Spl_Mode:
    {
        const int32_t band = SplTypes::ModeFromVariant(value);
        if (band != settings.getSplOctaveMode())
        {
            settings.setSplOctaveMode(band);
            RecolourAllMaps();
        }
        if (settings.getSplAutoAdjustRange())
            AutoScaleSplRange();
        break;
    }
    case BeamSpeakerItem::Spl_Freq:
        SetSplFrequency(value.toDouble());
        if (settings.getSplAutoAdjustRange())
            AutoScaleSplRange();
        break;
    case BeamSpeakerItem::Spl_Min_dB:
        SetSplRange(value.toDouble(), settings.getSplHighValue());
        break;
    case BeamSpeakerItem::Spl_Max_dB:
        SetSplRange(settings.getSplLowValue(), value.toDouble());
        break;
    case BeamSpeakerItem::Spl_Adjust_Spl_Range:
        AutoScaleSplRange();
        break;
    case BeamSpeakerItem::Spl_Auto_Adjust:
        SetAutoAdjustRange(value.toBool());
        break;
    case BeamSpeakerItem::Spl_Relative_Or_Absolute:
        settings.setSplRelative(!value.toBool());
        break;
    case BeamSpeakerItem::Spl_Res:
        SetSplResolution(value.toDouble());
        break;
    default:
        break;
    }
}

void SplAdapter::SetSplFrequency(double frequency)
{
    ProjectSettings& settings = Settings();
    if (frequency >= 5.0 && Differs(frequency, settings.getSplFreqCtr()))
    {
        settings.setSplFreqCtr(frequency);
        RecolourAllMaps();
    }
}

void SplAdapter::SetSplResolution(double resolution)
{
    ProjectSettings& settings = Settings();
    if (Differs(resolution, settings.getSplResolution()))
    {
        settings.setSplResolution(resolution);
        UpdateSplMaps(true);
    }
}

void SplAdapter::SetAutoAdjustRange(bool on)
{
    Settings().setSplAutoAdjustRange(on);
    if (on)
        AutoScaleSplRange();
}

} // namespace zorvpro

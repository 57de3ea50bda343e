// The SPL range of the colour scale: from the project to the panel, edits, and the automatic range
// fitted to the loudest visible point.
#include "views/Adapters/Spl/SplAdapter.h"

#include "acoustics/engine/DataSet.h"
#include "core/Logger/OmbraxLogger.h"
#include "core/math/Compare.h"
#include "data/Project/ProjectDefinition.h"
#include "data/Project/ProjectSettings.h"
#include "views/Render/FieldEntity.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <mutex>

namespace zorvpro
{
namespace
{
ProjectSettings& Settings()
{
    return *ProjectDefinition::Instance()->GetSettings();
}
} // namespace

ISplPropertiesPanel::ColorFunction SplAdapter::ColorFunction() const
{
    std::shared_ptr<const SplColorRange> range = m_colorRange;
    return [range](double value) { return range->ColorOf(value); };
}

void SplAdapter::BuildColorMap()
{
    if (!splPropertiesControl_)
    {
        OmbraxLogger::Log(LogLevel::Error, "Missing splPropertiesControl_");
        return;
    }
    const double low = Settings().getSplLowValue();
    const double high = Settings().getSplHighValue();
    m_colorRange->Set(low, high);
    splPropertiesControl_->setSliderValues(low, high);
    splPropertiesControl_->setColorMap(ColorFunction());
}

void SplAdapter::SetSplRange(double low, double high)
{
    ProjectSettings& settings = Settings();
    if (math::AlmostEqual(low, settings.getSplLowValue()) &&
        math::AlmostEqual(high, settings.getSplHighValue()))
        return;
    const double lower = std::min(low, high);
    settings.setSplLowValue(lower);
    settings.setSplHighValue(high);
    m_colorRange->Set(lower, high);
    RecolourAllMaps();
    BuildColorMap();
}

void SplAdapter::ComputeVisibleSplRange()
{
    m_visibleSplMax = -DBL_MAX;
    m_visibleSplMin = DBL_MAX;
    const ProjectSettings& settings = Settings();
    for (const PairingPtr& p : m_pairings)
    {
        // A map emptied by an edit shows nothing until it is computed again.
        if (!ShowsResult(*p))
            continue;
        std::lock_guard<field::FieldChunk::Lock> guard(p->chunk->GetLock());
        const field::FieldChunk::ResultPtr result = p->chunk->GetDataSet();
        const std::shared_ptr<acoustics::DataSet> data = result ? result->GetDataSet() : nullptr;
        if (!data)
            continue;
        // The range is that of the last read: read the shown band first.
        acoustics::DataSet::SplValues levels;
        data->getSpl(levels, settings.getSplOctaveMode(), settings.getSplFreqCtr());
        if (levels.empty())
            continue;
        double minimum = 0.0;
        double maximum = 0.0;
        data->getSplRange(minimum, maximum);
        m_visibleSplMax = std::max(m_visibleSplMax, maximum);
    }
}

void SplAdapter::AutoScaleSplRange()
{
    m_resultsUnfitted = false;
    ComputeVisibleSplRange();
    if (!(m_visibleSplMax > kAutoRangeSpan))
        return;
    const double top = std::round(std::min(kAutoRangeCeiling, m_visibleSplMax));
    const double low = std::max(kAutoRangeFloor, top - kAutoRangeSpan);
    SetSplRange(low, top);
    if (splPropertiesControl_)
        splPropertiesControl_->setSplRange(low, top);
    BuildColorMap();
}

bool SplAdapter::ShowsResult(const Pairing& p)
{
    return p.chunk && p.entity && p.entity->isVisible() && p.entity->GridWidth() > 0 && p.chunk->GetDataSet();
}

std::vector<const view::FieldEntity*> SplAdapter::ShownMaps() const
{
    std::vector<const view::FieldEntity*> shown;
    for (const PairingPtr& p : m_pairings)
    {
        if (ShowsResult(*p))
            shown.push_back(p->entity.get());
    }
    return shown;
}

void SplAdapter::FollowShownMaps(const std::vector<const view::FieldEntity*>& before)
{
    if (Settings().getSplAutoAdjustRange() && ShownMaps() != before)
        AutoScaleSplRange();
}

void SplAdapter::FollowShownMapsAtNextTick(const std::vector<const view::FieldEntity*>& before)
{
    if (ShownMaps() != before)
        m_fitAtNextTick = true;
}
} // namespace zorvpro

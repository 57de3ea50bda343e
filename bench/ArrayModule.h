#pragma once

// The generated "TQR40V" array module the benchmark scenes are built from.

#include "acoustics/data/LoudspeakerImpl.h"
#include "tools/datagen/LoadGenerated.h"

#include <memory>
#include <stdexcept>

namespace zorvpro::bench
{

// A new copy of the module; it is generated and loaded once per program.
inline std::shared_ptr<acoustics::LoudspeakerImpl> LoadArrayModule()
{
    static const std::shared_ptr<acoustics::LoudspeakerImpl> model = []
    {
        auto loaded = datagen::LoadGenerated(datagen::MakeArrayDataSet());
        if (!loaded)
            throw std::runtime_error("the generated array module did not load");
        return loaded;
    }();
    return std::make_shared<acoustics::LoudspeakerImpl>(*model);
}

} // namespace zorvpro::bench

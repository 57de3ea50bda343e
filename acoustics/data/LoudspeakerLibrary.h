#pragma once

#include "acoustics/data/LoudspeakerImpl.h"

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace zorvpro::acoustics
{

// Extension of loudspeaker data-set archives.
extern const char* const LoudspeakerFileExtension; // ".vxq"

// The process-wide library of loudspeaker models, by family and model name.
// Filled once at start-up, before any loudspeaker is created; afterwards only
// read, so it has no lock of its own.
class LoudspeakerLibrary
{
public:
    using ModelMap = std::unordered_map<std::string, std::shared_ptr<LoudspeakerImpl>>;
    using FamilyMap = std::unordered_map<std::string, ModelMap>;
    // Receives one line per archive that yields no model.
    using WarningSink = std::function<void(const std::string&)>;

    LoudspeakerLibrary();

    static LoudspeakerLibrary& instance();

    // Reads every data set below the folder into the library. An archive that
    // yields no model, for whatever reason, is logged as a warning with its
    // path and the reason, and the scan goes on with the next one.
    void loadLoudspeakerFiles(const std::string& folder);
    void loadLoudspeakerFiles(const std::string& folder, const WarningSink& warn);

    // A new assembled copy of the named model; empty for an empty or unknown name.
    std::shared_ptr<LoudspeakerImpl> createLoudspeaker(const std::string& name) const;

    const FamilyMap& families() const { return library; }

    // The archives below the folder: names ending in ".vxq" in any case,
    // subfolders searched without following directory links, sorted by path.
    static std::vector<std::string> findDataSets(const std::string& folder);

private:
    FamilyMap library;
};

} // namespace zorvpro::acoustics

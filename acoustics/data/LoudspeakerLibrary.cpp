#include "acoustics/data/LoudspeakerLibrary.h"

#include "acoustics/data/LoudspeakerDataSet.h"
#include "acoustics/data/Utf8Text.h"
#include "core/Logging/Log.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <filesystem>
#include <juce_core/juce_core.h>

namespace zorvpro::acoustics
{

const char* const LoudspeakerFileExtension = ".vxq";

namespace
{

bool HasDataSetExtension(const std::string& name)
{
    const std::string ext = LoudspeakerFileExtension;
    if (name.size() < ext.size())
        return false;
    return std::equal(ext.begin(), ext.end(), name.end() - static_cast<std::ptrdiff_t>(ext.size()),
                      [](char a, char b) {
                          return std::tolower(static_cast<unsigned char>(a)) ==
                                 std::tolower(static_cast<unsigned char>(b));
                      });
}

void LogWarning(const std::string& text)
{
    LogMessage(LogLevel::Warning, text);
}

} // namespace

LoudspeakerLibrary::LoudspeakerLibrary()
{
    library.max_load_factor(1.0f);
    library.rehash(8);
}

LoudspeakerLibrary& LoudspeakerLibrary::instance()
{
    static LoudspeakerLibrary library;
    return library;
}

std::vector<std::string> LoudspeakerLibrary::findDataSets(const std::string& folder)
{
    namespace fs = std::filesystem;
    std::vector<std::string> found;
    std::error_code error;
    // Directory links are not followed, so a link cycle cannot trap the scan.
    fs::recursive_directory_iterator it(fs::u8path(folder), fs::directory_options::skip_permission_denied,
                                        error);
    for (const fs::recursive_directory_iterator end; !error && it != end; it.increment(error))
    {
        std::error_code typeError;
        if (it->is_regular_file(typeError) && HasDataSetExtension(it->path().filename().u8string()))
            found.push_back(it->path().u8string());
    }
    std::sort(found.begin(), found.end());
    return found;
}

void LoudspeakerLibrary::loadLoudspeakerFiles(const std::string& folder)
{
    loadLoudspeakerFiles(folder, &LogWarning);
}

void LoudspeakerLibrary::loadLoudspeakerFiles(const std::string& folder, const WarningSink& warn)
{
    for (const std::string& path : findDataSets(folder))
    {
        std::string reason;
        std::shared_ptr<LoudspeakerImpl> model;
        try
        {
            model = loadLoudspeakerDataSet(path, &reason);
        }
        catch (const std::exception& e)
        {
            reason = e.what();
        }
        catch (...)
        {
            reason = "Unknown exception";
        }
        if (!model)
        {
            if (warn)
                warn("Loudspeaker data set " + path + " not loaded: " + reason);
            continue;
        }
        library[model->getFamily()][model->getName()] = model;
    }
    if (library.empty())
    {
        juce::Logger::outputDebugString(juce::String::fromUTF8(ValidUtf8(folder).c_str()));
        juce::Logger::outputDebugString("No loudspeaker files found!");
    }
}

std::shared_ptr<LoudspeakerImpl> LoudspeakerLibrary::createLoudspeaker(const std::string& name) const
{
    if (name.empty())
        return nullptr;
    for (const auto& [family, models] : library)
    {
        const auto it = models.find(name);
        if (it != models.end())
            return std::make_shared<LoudspeakerImpl>(*it->second);
    }
    return nullptr;
}

} // namespace zorvpro::acoustics

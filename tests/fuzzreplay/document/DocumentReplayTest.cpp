#include "fuzz/targets/DocumentTargets.h"
#include "tests/fuzzreplay/Replay.h"

namespace zorvpro::fuzz
{
namespace
{

TEST(FuzzReplay, ProjectAndSettingsFilesSurviveEveryKeptInput)
{
    Replay(DocumentTargets());
}

} // namespace
} // namespace zorvpro::fuzz

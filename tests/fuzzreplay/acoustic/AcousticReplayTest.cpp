#include "fuzz/targets/AcousticTargets.h"
#include "tests/fuzzreplay/Replay.h"

namespace zorvpro::fuzz
{
namespace
{

TEST(FuzzReplay, ModelFilesAndEqTablesSurviveEveryKeptInput)
{
    Replay(AcousticTargets());
}

} // namespace
} // namespace zorvpro::fuzz

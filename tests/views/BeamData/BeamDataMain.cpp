// The beam-data suite loads the generated array module before any test.
#include "tests/bridge/BridgeTestSupport.h"

namespace
{
const auto* const environment = ::testing::AddGlobalTestEnvironment(new zorvpro::test::BridgeEnvironment);
}

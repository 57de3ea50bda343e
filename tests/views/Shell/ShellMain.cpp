// The shell suites load the generated module and register the node types first.
#include "tests/bridge/BridgeTestSupport.h"

namespace
{
const auto* const environment = ::testing::AddGlobalTestEnvironment(new zorvpro::test::BridgeEnvironment);
}

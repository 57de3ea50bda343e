// The bridge suite registers its node types and data set before any test.
#include "BridgeTestSupport.h"

namespace
{
const auto* const environment = ::testing::AddGlobalTestEnvironment(new zorvpro::test::BridgeEnvironment);
}

// The update-site guard of this binary (see update_guard.h).
#include "tests/manager/update_guard.h"

namespace
{

[[maybe_unused]] ::testing::Environment *const g_updateSiteGuard =
    ::testing::AddGlobalTestEnvironment(new vorn_test::UpdateSiteGuard);

} // namespace

// The start-up creates the main window, whose update check must stay off the
// network in tests (see tests/manager/update_guard.h).
#include "tests/manager/update_guard.h"

namespace
{

[[maybe_unused]] ::testing::Environment *const g_updateSiteGuard =
    ::testing::AddGlobalTestEnvironment(new vorn_test::UpdateSiteGuard);

} // namespace

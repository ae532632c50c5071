// The system metrics that the settings' defaults depend on, taken from the primary screen.
#pragma once

#include "core/settings/SetupManager.h"

// Border widths of 1, the primary screen's size in pixels and an icon height of 32; the
// TSystemMetrics defaults when no screen is available.
TSystemMetrics PrimaryScreenMetrics();

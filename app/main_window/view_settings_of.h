// The content view's settings taken from the settings store's values.
#pragma once

#include "app/settings/settings.h"
#include "view/view_settings.h"

namespace morva {

ViewSettings ViewSettingsOf(const Settings& settings);

}  // namespace morva

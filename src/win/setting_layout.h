// The settings window's description: its controls.
#pragma once
#include "form.h"

namespace pelto::win {

const FormDef& SettingDescription();

} // namespace pelto::win

// The About box's description: its controls.
#pragma once
#include "form.h"

namespace pelto::win {

const FormDef& AboutDescription();

} // namespace pelto::win

// The signature of a tool's mouse handlers: the host's tool message in, a result code out (0 success).
#pragma once

#include "cc_messages.h"

namespace curvicraft {

using ToolHandler = CCErr (*)(CCToolMessage* message);

} // namespace curvicraft

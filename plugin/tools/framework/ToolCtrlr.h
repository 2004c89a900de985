// The contract every tool controller keeps: it translates between the tool's settings record in
// CurvicraftGlobals and the settings text of the tool-options panel. Controllers hold no state.
#pragma once

#include "cc_types.h"
#include "settings/SettingsText.h"

#include <memory>
#include <string>

namespace curvicraft {

class ToolCtrlr {
public:
    virtual ~ToolCtrlr() = default;
    // The minimum-values fragment of the tool's panel (nothing by default).
    virtual void writeMinValues(SettingsWriter& stream);
    // The maximum-values fragment.
    virtual void writeMaxValues(SettingsWriter& stream);
    // The params fragment: "<units>NAME</units>" and the tool's tags in the current units. A non-zero
    // result stops the sending.
    virtual CCErr writeParams(SettingsWriter& stream);
    // Takes the panel's payload text, stores the tool's tags in its settings record (converted to points)
    // and returns 1.
    virtual CCErr readParams(std::string text);
    // The current measurement for the cursor label ("12.5 mm"); empty by default.
    virtual CCErr currentInfo(std::string& info);
};

// A new controller for a tool slot, or null for a separator or a slot out of range.
std::unique_ptr<ToolCtrlr> createToolCtrlr(int toolSlot);

} // namespace curvicraft

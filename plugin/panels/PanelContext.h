// Panel events arrive outside any host message: the bridges push the plug-in's application context
// around their work and pop it on every way out.
#pragma once

#include "cc_suites.h"

#include <cstdint>

namespace curvicraft {

class PanelContextScope {
  public:
    PanelContextScope() noexcept;
    ~PanelContextScope();
    PanelContextScope(const PanelContextScope&) = delete;
    PanelContextScope& operator=(const PanelContextScope&) = delete;

  private:
    CCAppContext context_ = nullptr;
    bool pushed_ = false;
};

// The current document's ruler units as a settings units index; 0 when the host gives none.
std::int16_t currentUnitsIndex() noexcept;

} // namespace curvicraft

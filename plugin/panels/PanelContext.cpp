#include "PanelContext.h"

#include "host/CurvicraftPlugin.h"
#include "host/Suites.h"

namespace curvicraft {

PanelContextScope::PanelContextScope() noexcept
{
    CurvicraftPlugin* plugin = CurvicraftPlugin::instance();
    if (plugin && sContext)
        pushed_ = sContext->PushAppContext(plugin->pluginRef(), &context_) == kCCNoErr;
}

PanelContextScope::~PanelContextScope()
{
    if (pushed_)
        sContext->PopAppContext(context_);
}

// The host numbers its ruler units differently from the settings text's units index.
std::int16_t currentUnitsIndex() noexcept
{
    std::int16_t units = 0;
    if (!sDocument || sDocument->GetDocumentRulerUnits(&units) != kCCNoErr)
        return 0;
    switch (units) {
    case kCCUnitsInches:
        return 1;
    case kCCUnitsCentimeters:
        return 2;
    case kCCUnitsPicas:
        return 4;
    case kCCUnitsMillimeters:
        return 5;
    case kCCUnitsPixels:
        return 6;
    case kCCUnitsQ:
        return 7;
    default:
        return 0;
    }
}

} // namespace curvicraft

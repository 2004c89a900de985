// The host's panels: its application folder with the extension event library, the extension framework,
// the application's start-up notifications and ruler-unit changes.
#include "Host.h"

#include "HostImpl_p.h"
#include "suites/Suites_p.h"

#include <array>
#include <string_view>

namespace minihost {

namespace {

#ifdef CURVICRAFT_PREVIOUS_HOST
constexpr const char* kPanelLibraryFile = "PlugPlug.dll";
#else
constexpr const char* kPanelLibraryFile = "PlugPlugOwl.dll";
#endif

std::uint64_t gHostGeneration = 0;

} // namespace

std::uint64_t suites::hostGeneration()
{
    return gHostGeneration;
}

void openPanelLibrary(Host& host)
{
    ++gHostGeneration;
    host.impl().extensions = std::make_unique<ExtensionFramework>(host);
    host.impl().extensions->openLibrary(host.applicationFolder(), kPanelLibraryFile);
}

std::filesystem::path Host::applicationFolder() const
{
    switch (impl_->options.panelLibrary) {
    case PanelLibrary::Absent:
        return CURVICRAFT_BARE_APP_DIR;
    case PanelLibrary::LacksEntry:
        return CURVICRAFT_PARTIAL_PANELS_APP_DIR;
    case PanelLibrary::Installed:
        break;
    }
    return impl_->options.appDir;
}

ExtensionFramework& Host::extensions()
{
    return *impl_->extensions;
}

CCErr Host::launch()
{
    if (CCErr err = startup())
        return err;
    notify(kCCApplicationStartedNotifier, nullptr);
    notify(kCCPanelSetupCompleteNotifier, nullptr);
    return kCCNoErr;
}

CCErr Host::setRulerUnits(const std::string& units)
{
    static constexpr std::array<std::string_view, 6> kNames = {"pt", "in", "cm", "mm", "px", "H"};
    bool known = false;
    for (std::string_view name : kNames)
        known = known || units == name;
    if (!known)
        return kCCBadParameterErr;
    document().units = units;
    return notify(kCCRulerUnitsChangedNotifier, nullptr);
}

} // namespace minihost

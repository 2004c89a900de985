// Loading the extension event library by its file in the host's application folder, with the plug-in's
// own code (not the loaded plug-in) and minihost's folders, file-path and string services.
#include "Host.h"
#include "host/Suites.h"
#include "panels/FlashUIController.h"
#include "suites/Suites_p.h"

#include <gtest/gtest.h>

using namespace minihost;

namespace {

class Bridge : public curvicraft::FlashUIController {
  public:
    Bridge() : FlashUIController("Curvicraft_Tool_UI") { result = curvicraft::loadPanelLibrary(*this); }
    CCErr registerListeners() override { return 0; }
    CCErr unregisterListeners() override { return 0; }
    CCErr sendParams() override { return dispatchPanelEvent("type", "SendData", "<payload></payload>"); }
    void idle() override {}
    CCErr result = -1;
};

// Points the plug-in code's suite variables at the current host's tables for one test.
struct HostSuites {
    HostSuites()
    {
        curvicraft::sUnicodeString = &suites::unicodeString();
        curvicraft::sFilePath = &suites::filePath();
        curvicraft::sFolders = &suites::folders();
    }
    ~HostSuites()
    {
        curvicraft::sUnicodeString = nullptr;
        curvicraft::sFilePath = nullptr;
        curvicraft::sFolders = nullptr;
    }
};

} // namespace

TEST(PanelLibrary, EntriesResolveInOrderUpToTheFirstMissing)
{
    struct Case {
        PanelLibrary library;
        CCErr result;
        int entries;
        CCErr send; // what sending answers
    };
    const Case cases[] = {
        {PanelLibrary::Installed, kCCNoErr, 5, kCCNoErr},
        {PanelLibrary::LacksEntry, kCCCantErr, 3, 1},
        {PanelLibrary::Absent, kCCCantErr, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.library));
        HostOptions options;
        options.panelLibrary = c.library;
        Host host(options);
        host.setOutput([](const std::string&) {});
        HostSuites suites;
        {
            Bridge bridge;
            EXPECT_EQ(bridge.result, c.result);
            EXPECT_EQ(bridge.resolvedEntries(), c.entries);
            EXPECT_EQ(bridge.libraryLoaded(), c.library != PanelLibrary::Absent);
            EXPECT_EQ(bridge.sendParams(), c.send);
            EXPECT_EQ(bridge.loadExtension(), kCCNoErr);
        }
        EXPECT_EQ(suites::liveFileObjects(), 0);
    }
}

TEST(PanelLibrary, WithoutTheHostServicesTheLoadFailsCleanly)
{
    Host host;
    Bridge bridge; // no suites acquired
    EXPECT_EQ(bridge.result, kCCSuiteNotFoundErr);
    EXPECT_EQ(bridge.resolvedEntries(), 0);
    EXPECT_EQ(bridge.sendParams(), 1);
}

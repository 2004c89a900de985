// The plug-in base class: one virtual operation per host message, the routing of caller/selector pairs
// to those operations, start-up, reload and unload of the suites, the lock in memory and error reports.
//
// Derived classes override the operations they serve. Operations return 0 when handled, '!MSG' when
// the message is not theirs, or a host or plug-in code.
#pragma once

#include "RebindSnapshot.h"
#include "SuiteSet.h"
#include "cc_messages.h"

#include <cstddef>
#include <cstdint>

namespace curvicraft {

class Plugin {
public:
    // Seconds since 1970-01-01 UTC; replaceable so that tests can control repeat suppression.
    using Clock = std::int64_t (*)() noexcept;

    static constexpr std::size_t kNameCapacity = 256;

    explicit Plugin(CCPluginRef pluginRef) noexcept;
    // Re-creation in place after a reload of the library (see RebindSnapshot.h).
    explicit Plugin(const RebindSnapshot& old) noexcept;
    Plugin(const Plugin&) = delete;
    Plugin& operator=(const Plugin&) = delete;

    // Slot order of the virtual operations; the host's plug-in model numbers them this way.
    virtual ~Plugin();                                                                           // 0
    virtual void reportError(CCErr code, const char* caller, const char* selector, void* message); // 1
    virtual CCErr setResident(bool lock);                                                         // 2
    virtual CCErr handleStartup(CCPluginMessage* message);                                        // 3
    virtual CCErr handlePostStartup();                                                            // 4
    virtual CCErr handleShutdown(CCPluginMessage* message);                                       // 5
    virtual CCErr handleUnload(CCPluginMessage* message);                                         // 6
    virtual CCErr handleReload(CCPluginMessage* message);                                         // 7
    virtual CCErr handlePropertyAcquire(void* message);                                           // 8
    virtual CCErr handlePropertyRelease(void* message);                                           // 9
    virtual void copyName(char* buffer, std::size_t length) const;                                // 10
    virtual bool wantsPurge();                                                                    // 11
    virtual CCErr dispatchMessage(const char* caller, const char* selector, void* message);       // 12
    virtual void setInstance(Plugin* plugin);                                                     // 13
    virtual CCErr startupHook();                                                                  // 14
    virtual CCErr suitesReadyHook();                                                              // 15
    virtual CCErr unloadHook(CCPluginMessage* message);                                           // 16
    virtual void acquireOptionalSuites();                                                         // 17
    virtual CCErr handleNotify(CCNotifierMessage* message);                                       // 18
    virtual CCErr handleDoAction(void* message);                                                  // 19
    virtual CCErr handleMenuGo(void* message);                                                    // 20
    virtual CCErr handleMenuUpdate(void* message);                                                // 21
    virtual CCErr handleFilterParameters(void* message);                                          // 22
    virtual CCErr handleFilterGo(void* message);                                                  // 23
    virtual CCErr handleGroupNotifyEdits(void* message);                                          // 24
    virtual CCErr handleGroupUpdate(void* message);                                               // 25
    virtual CCErr handleFormatParameters(void* message);                                          // 26
    virtual CCErr handleFormatGo(void* message);                                                  // 27
    virtual CCErr handleFormatCheck(void* message);                                               // 28
    virtual CCErr handleFormatUpdate(void* message);                                              // 29
    virtual CCErr handleFormatAction(void* message);                                              // 30
    virtual CCErr handleToolOptions(CCToolMessage* message);                                      // 31
    virtual CCErr handleToolTrackCursor(CCToolMessage* message);                                  // 32
    virtual CCErr handleToolMouseDown(CCToolMessage* message);                                    // 33
    virtual CCErr handleToolMouseDrag(CCToolMessage* message);                                    // 34
    virtual CCErr handleToolMouseUp(CCToolMessage* message);                                      // 35
    virtual CCErr handleToolSelect(CCToolMessage* message);                                       // 36
    virtual CCErr handleToolDeselect(CCToolMessage* message);                                     // 37
    virtual CCErr handleToolReselect(CCToolMessage* message);                                     // 38
    virtual CCErr handleToolDecreaseDiameter(CCToolMessage* message);                             // 39
    virtual CCErr handleToolIncreaseDiameter(CCToolMessage* message);                             // 40
    virtual CCErr handleEffectEditParameters(void* message);                                      // 41
    virtual CCErr handleEffectGoLive(void* message);                                              // 42
    virtual CCErr handleEffectInterpolate(void* message);                                         // 43
    virtual CCErr handleEffectInputType(void* message);                                           // 44
    virtual CCErr handleEffectConvertColorSpace(void* message);                                   // 45
    virtual CCErr handleEffectScaleParameters(void* message);                                     // 46
    virtual CCErr handleEffectAdjustColors(void* message);                                        // 47
    virtual CCErr handleEffectMerge(void* message);                                               // 48
    virtual CCErr handleTimer(void* message);                                                     // 49
    virtual CCErr handleClipboardGo(void* message);                                               // 50
    virtual CCErr handleClipboardCanCopy(void* message);                                          // 51
    virtual CCErr handleClipboardClone(void* message);                                            // 52
    virtual CCErr handleClipboardDispose(void* message);                                          // 53
    virtual CCErr handleWorkspaceWrite(void* message);                                            // 54
    virtual CCErr handleWorkspaceRestore(void* message);                                          // 55
    virtual CCErr handleWorkspaceDefault(void* message);                                          // 56

    CCPluginRef pluginRef() const noexcept { return pluginRef_; }
    const char* name() const noexcept { return name_; }
    bool holdsSuites() const noexcept { return suites_ != nullptr; }
    std::int32_t lockCount() const noexcept { return lockCount_; }
    CCErr lastErrorCode() const noexcept { return lastErrorCode_; }
    std::int64_t lastErrorTime() const noexcept { return lastErrorTime_; }

    // Null restores the system clock.
    static void setClock(Clock clock) noexcept;
    static std::int64_t now() noexcept;

protected:
    // Copies the name, truncated to the capacity.
    void setName(const char* name) noexcept;
    // Creates and acquires the suite set; '!MEM' without memory, the host's code on a failed acquisition
    // (then nothing stays acquired).
    CCErr acquireSuites() noexcept;
    // Gives the suite set back and discards it; 0 when none is held.
    CCErr releaseSuites() noexcept;

private:
    CCPluginRef pluginRef_ = nullptr;
    char name_[kNameCapacity] = {};
    SuiteSet* suites_ = nullptr; // owned; a plain pointer so that it survives a rebind
    std::int32_t lockCount_ = 0;
    CCAccessRef access_ = nullptr;
    CCErr lastErrorCode_ = kCCNoErr;
    std::int32_t errorTimeout_ = 5;
    CCBool32 suppressRepeats_ = 1;
    std::int64_t lastErrorTime_ = 0;
};

} // namespace curvicraft

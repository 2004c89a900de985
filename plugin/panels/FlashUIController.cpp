#include "FlashUIController.h"

#include "host/HostStrings.h"
#include "host/HostVersion.h"
#include "host/Suites.h"

#include <cstring>

namespace curvicraft {

namespace {

constexpr CCErr kLibraryAbsent = 1;

template <class Proc> Proc entry(ModuleHandle module, const char* name) noexcept
{
    return reinterpret_cast<Proc>(moduleEntry(module, name));
}

} // namespace

FlashUIController::FlashUIController(const char* extensionId) noexcept
{
    if (extensionId)
        std::strncpy(extensionId_, extensionId, kExtensionIdCapacity - 1);
}

FlashUIController::~FlashUIController()
{
    freeModule(library_);
}

CCErr FlashUIController::loadExtension()
{
    return load_ ? load_(extensionId_) : kCCNoErr;
}

CCErr FlashUIController::unloadExtension()
{
    return unload_ ? unload_(extensionId_) : kCCNoErr;
}

int FlashUIController::resolvedEntries() const noexcept
{
    const bool set[] = {load_ != nullptr, unload_ != nullptr, addListener_ != nullptr, removeListener_ != nullptr,
                        dispatch_ != nullptr};
    int count = 0;
    while (count < 5 && set[count])
        ++count;
    return count;
}

CCErr FlashUIController::dispatchPanelEvent(const char* type, const char* command, const std::string& payload) const
{
    // A library without the remove entry counts as absent: it cannot be relied on.
    if (!removeListener_ || !dispatch_)
        return kLibraryAbsent;
    const CCPanelEvent event{type, kCCPanelEventScopeApplication, command, nullptr, payload.c_str()};
    return dispatch_(&event);
}

bool FlashUIController::extensionState(std::int32_t& state) const noexcept
{
    state = kCCExtensionUnknown;
    return sCSXSExtension && sCSXSExtension->GetExtensionState(extensionId_, &state) == kCCNoErr;
}

bool FlashUIController::extensionLoaded() const noexcept
{
    std::int32_t state = 0;
    return extensionState(state) && state == kCCExtensionLoaded;
}

CCErr FlashUIController::addListeners(const char* const* types, std::size_t count, CCPanelEventListener listener)
{
    for (std::size_t i = 0; i < count; ++i) {
        const CCErr err = addListener_ ? addListener_(types[i], listener, this) : kLibraryAbsent;
        if (err != kCCNoErr)
            return err;
    }
    return kCCNoErr;
}

CCErr FlashUIController::removeListeners(const char* const* types, std::size_t count, CCPanelEventListener listener)
{
    for (std::size_t i = 0; i < count; ++i) {
        const CCErr err = removeListener_ ? removeListener_(types[i], listener, this) : kLibraryAbsent;
        if (err != kCCNoErr)
            return err;
    }
    return kCCNoErr;
}

CCErr loadPanelLibrary(FlashUIController& bridge)
{
    try {
        if (!sFolders || !sFilePath || !sUnicodeString)
            return kCCSuiteNotFoundErr;
        const ai::UnicodeString fileName(kPanelLibraryFileName);
        CCFilePath folderPath = nullptr;
        if (const CCErr err = sFolders->FindFolder(kCCApplicationFolder, 0, &folderPath))
            return err;
        ai::FilePath file(folderPath);
        file.addComponent(fileName);
        if (!file.exists())
            return kCCCantErr;
        const ai::WCHARStr path(file.fullPath());
        bridge.library_ = loadModule(path.as_WCHARStr());
        if (!bridge.library_)
            return kCCCantErr;
        ModuleHandle lib = bridge.library_;
        if (!(bridge.load_ = entry<CCPlugPlugLoadExtensionProc>(lib, kCCPlugPlugLoadExtensionName)))
            return kCCCantErr;
        if (!(bridge.unload_ = entry<CCPlugPlugUnloadExtensionProc>(lib, kCCPlugPlugUnloadExtensionName)))
            return kCCCantErr;
        if (!(bridge.addListener_ = entry<CCPlugPlugAddEventListenerProc>(lib, kCCPlugPlugAddEventListenerName)))
            return kCCCantErr;
        if (!(bridge.removeListener_ =
                  entry<CCPlugPlugRemoveEventListenerProc>(lib, kCCPlugPlugRemoveEventListenerName)))
            return kCCCantErr;
        if (!(bridge.dispatch_ = entry<CCPlugPlugDispatchEventProc>(lib, kCCPlugPlugDispatchEventName)))
            return kCCCantErr;
        return kCCNoErr;
    } catch (const ai::Error& e) {
        return e.code();
    } catch (...) {
        return kCCOutOfMemoryErr;
    }
}

std::string payloadHead(const char* indexTag, int index, const char* contents)
{
    std::string text = "<payload><";
    text += indexTag;
    text += '>';
    text += std::to_string(index);
    text += "</";
    text += indexTag;
    text += "><contents>";
    text += contents;
    text += "</contents>";
    return text;
}

} // namespace curvicraft

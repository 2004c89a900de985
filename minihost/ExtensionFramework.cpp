#include "ExtensionFramework.h"

#include "Host.h"
#include "HostImpl_p.h"

#include <algorithm>
#include <dlfcn.h>

namespace minihost {

namespace {

constexpr std::int32_t kUnknownExtension = 1;
constexpr std::int32_t kBadArgument = 2;

ExtensionFramework* framework()
{
    Host* host = Host::current();
    return host ? &host->extensions() : nullptr;
}

int32_t loadEntry(const char* id)
{
    ExtensionFramework* f = framework();
    return f ? f->load(id) : kUnknownExtension;
}

int32_t unloadEntry(const char* id)
{
    ExtensionFramework* f = framework();
    return f ? f->unload(id) : kUnknownExtension;
}

int32_t addEntry(const char* type, CCPanelEventListener listener, void* userData)
{
    ExtensionFramework* f = framework();
    return f ? f->addListener(type, listener, userData) : kUnknownExtension;
}

int32_t removeEntry(const char* type, CCPanelEventListener listener, void* userData)
{
    ExtensionFramework* f = framework();
    return f ? f->removeListener(type, listener, userData) : kUnknownExtension;
}

int32_t dispatchEntry(const CCPanelEvent* event)
{
    ExtensionFramework* f = framework();
    return f ? f->dispatch(event) : kUnknownExtension;
}

const CCPanelFramework kFrameworkTable{loadEntry, unloadEntry, addEntry, removeEntry, dispatchEntry};

// "Curvicraft_Tool_UI" raises "com.adobe.csxs.events.CurvicraftTool_PanelReady"; other ids none.
std::string readyEventOf(const std::string& id)
{
    const std::string head = "Curvicraft_", tail = "_UI";
    if (id.size() <= head.size() + tail.size() || id.compare(0, head.size(), head) != 0 ||
        id.compare(id.size() - tail.size(), tail.size(), tail) != 0)
        return {};
    return "com.adobe.csxs.events.Curvicraft" + id.substr(head.size(), id.size() - head.size() - tail.size()) +
           "_PanelReady";
}

} // namespace

ExtensionFramework::ExtensionFramework(Host& host) : host_(host) {}

ExtensionFramework::~ExtensionFramework()
{
    if (!library_)
        return;
    if (auto attach = reinterpret_cast<CCPlugPlugAttachFrameworkProc>(dlsym(library_, kCCPlugPlugAttachFrameworkName)))
        attach(nullptr);
    dlclose(library_);
}

bool ExtensionFramework::openLibrary(const std::filesystem::path& folder, const char* fileName)
{
    const std::filesystem::path file = folder / fileName;
    std::error_code ec;
    if (!std::filesystem::exists(file, ec))
        return false;
    library_ = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library_)
        return false;
    if (auto attach = reinterpret_cast<CCPlugPlugAttachFrameworkProc>(dlsym(library_, kCCPlugPlugAttachFrameworkName)))
        attach(&kFrameworkTable);
    return true;
}

std::int32_t ExtensionFramework::state(const std::string& id) const
{
    for (const Extension& e : extensions_)
        if (e.id == id)
            return e.loaded ? kCCExtensionLoaded : kCCExtensionUnloaded;
    return kCCExtensionUnknown;
}

std::int32_t ExtensionFramework::load(const char* id)
{
    if (!id || !*id)
        return kBadArgument;
    if (loadFailure_ != 0)
        return loadFailure_;
    auto it = std::find_if(extensions_.begin(), extensions_.end(), [&](const Extension& e) { return e.id == id; });
    if (it == extensions_.end())
        it = extensions_.insert(extensions_.end(), Extension{id});
    it->loaded = true;
    host_.emit("extension", std::string("load ") + id);
    if (autoReady_)
        if (std::string ready = readyEventOf(id); !ready.empty())
            pending_.emplace_back(std::move(ready), std::string());
    return 0;
}

std::int32_t ExtensionFramework::unload(const char* id)
{
    if (!id)
        return kBadArgument;
    auto it = std::find_if(extensions_.begin(), extensions_.end(), [&](const Extension& e) { return e.id == id; });
    if (it == extensions_.end() || !it->loaded)
        return kUnknownExtension;
    it->loaded = false;
    host_.emit("extension", std::string("unload ") + id);
    // A page that goes away before it has loaded raises nothing.
    const std::string ready = readyEventOf(id);
    pending_.erase(std::remove_if(pending_.begin(), pending_.end(), [&](const auto& p) { return p.first == ready; }),
                   pending_.end());
    return 0;
}

std::int32_t ExtensionFramework::addListener(const char* type, CCPanelEventListener listener, void* userData)
{
    if (!type || !listener)
        return kBadArgument;
    listeners_.push_back({type, listener, userData});
    return 0;
}

std::int32_t ExtensionFramework::removeListener(const char* type, CCPanelEventListener listener, void* userData)
{
    if (!type)
        return kBadArgument;
    auto it = std::find_if(listeners_.begin(), listeners_.end(), [&](const Listener& l) {
        return l.type == type && l.callback == listener && l.userData == userData;
    });
    if (it == listeners_.end())
        return kUnknownExtension;
    listeners_.erase(it);
    return 0;
}

std::int32_t ExtensionFramework::dispatch(const CCPanelEvent* event)
{
    if (!event || !event->type)
        return kBadArgument;
    Event e{event->type, event->command ? event->command : "", event->data ? event->data : ""};
    host_.emit("panel-event", e.type + " " + e.command + " " + e.payload);
    dispatched_.push_back(std::move(e));
    return 0;
}

std::size_t ExtensionFramework::listenerCount(const std::string& type) const
{
    return static_cast<std::size_t>(
        std::count_if(listeners_.begin(), listeners_.end(), [&](const Listener& l) { return l.type == type; }));
}

void ExtensionFramework::callListeners(const std::string& type, const std::string& payload)
{
    // Listeners may be added or removed while they run: call those registered when the event came.
    std::vector<Listener> now;
    for (const Listener& l : listeners_)
        if (l.type == type)
            now.push_back(l);
    CCPanelEvent event{type.c_str(), kCCPanelEventScopeApplication, "", nullptr, payload.c_str()};
    host_.impl().runTopLevel("CSXS", type.c_str(), [&] {
        for (const Listener& l : now)
            l.callback(&event, l.userData);
        return kCCNoErr;
    });
}

CCErr ExtensionFramework::raise(const std::string& type, const std::string& payload)
{
    if (listenerCount(type) == 0)
        return kCCCantErr;
    callListeners(type, payload);
    return kCCNoErr;
}

void ExtensionFramework::deliverPending()
{
    if (delivering_)
        return;
    delivering_ = true;
    while (!pending_.empty()) {
        auto [type, payload] = std::move(pending_.front());
        pending_.pop_front();
        callListeners(type, payload);
    }
    delivering_ = false;
}

} // namespace minihost

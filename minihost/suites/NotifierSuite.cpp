// Notifier registrations and broadcasts: a broadcast of a type reaches every active notifier registered
// for it, in registration order, as "AI Notifier" / "AI Notify".
#include "SuiteSupport_p.h"
#include "Suites_p.h"

namespace minihost::suites {

namespace {

CCErr AddNotifier(CCPluginRef plugin, const char* name, const char* type, CCNotifierHandle* notifier)
{
    Host::Impl* host = currentImpl();
    if (!host)
        return kCCCantErr;
    if (!name || !type || !host->isPlugin(plugin))
        return kCCBadParameterErr;
    return guarded([&] {
        Host::Impl::Notifier n;
        n.handle = host->newHandle();
        n.name = name;
        n.type = type;
        host->notifiers.push_back(std::move(n));
        if (notifier)
            *notifier = reinterpret_cast<CCNotifierHandle>(host->notifiers.back().handle);
        return kCCNoErr;
    });
}

CCErr SetNotifierActive(CCNotifierHandle notifier, CCBool32 active)
{
    Host::Impl* host = currentImpl();
    if (!host)
        return kCCCantErr;
    Host::Impl::Notifier* n = host->findNotifier(notifier);
    if (!n)
        return kCCStaleHandleErr;
    n->active = active != 0;
    return kCCNoErr;
}

CCErr GetNotifierActive(CCNotifierHandle notifier, CCBool32* active)
{
    Host::Impl* host = currentImpl();
    if (!host)
        return kCCCantErr;
    if (!active)
        return kCCBadParameterErr;
    Host::Impl::Notifier* n = host->findNotifier(notifier);
    if (!n)
        return kCCStaleHandleErr;
    *active = n->active ? 1 : 0;
    return kCCNoErr;
}

CCErr Notify(const char* type, void* notifyData)
{
    Host::Impl* host = currentImpl();
    if (!host)
        return kCCCantErr;
    if (!type)
        return kCCBadParameterErr;
    return guarded([&] {
        // The plug-in may register or switch notifiers while it handles one: deliver to those that
        // were registered when the broadcast began, looking each up again before its turn.
        std::vector<std::uintptr_t> targets;
        for (const Host::Impl::Notifier& n : host->notifiers)
            if (n.type == type)
                targets.push_back(n.handle);
        CCErr first = kCCNoErr;
        for (std::uintptr_t handle : targets) {
            Host::Impl::Notifier* n = host->findNotifier(reinterpret_cast<CCNotifierHandle>(handle));
            if (!n || !n->active)
                continue;
            std::string registeredType = n->type;
            CCNotifierMessage message{};
            message.notifier = reinterpret_cast<CCNotifierHandle>(handle);
            message.type = registeredType.c_str();
            message.notifyData = notifyData;
            CCErr err = host->deliver(kCCNotifierCaller, kCCNotifySelector, &message);
            if (first == kCCNoErr)
                first = err;
        }
        return first;
    });
}

} // namespace

const CCNotifierSuite& notifier()
{
    static const CCNotifierSuite table{AddNotifier, SetNotifierActive, GetNotifierActive, Notify};
    return table;
}

} // namespace minihost::suites

// Annotators: the plug-in's drawing layer over the document. An invalidated view rectangle is handed to
// every active annotator as "AI Annotation" / "AI Invalidate" and leads to a redraw ("AI Draw") when the
// host's message returns. An annotator that invalidates again while it handles "AI Invalidate" is not
// told a second time, so the exchange always ends.
#include "SuiteSupport_p.h"
#include "Suites_p.h"

namespace minihost::suites {

namespace {

CCErr AddAnnotator(CCPluginRef plugin, const char* name, CCAnnotatorHandle* annotator)
{
    Host::Impl* host = currentImpl();
    if (!host)
        return kCCCantErr;
    if (!host->isPlugin(plugin) || !name)
        return kCCBadParameterErr;
    return guarded([&] {
        Host::Impl::Annotator a;
        a.handle = host->newHandle();
        a.name = name;
        host->annotators.push_back(std::move(a));
        if (annotator)
            *annotator = reinterpret_cast<CCAnnotatorHandle>(host->annotators.back().handle);
        return kCCNoErr;
    });
}

CCErr SetAnnotatorActive(CCAnnotatorHandle annotator, CCBool32 active)
{
    Host::Impl* host = currentImpl();
    if (!host)
        return kCCCantErr;
    Host::Impl::Annotator* a = host->findAnnotator(annotator);
    if (!a)
        return kCCStaleHandleErr;
    a->active = active != 0;
    return kCCNoErr;
}

CCErr GetAnnotatorActive(CCAnnotatorHandle annotator, CCBool32* active)
{
    Host::Impl* host = currentImpl();
    if (!host)
        return kCCCantErr;
    if (!active)
        return kCCBadParameterErr;
    const Host::Impl::Annotator* a = host->findAnnotator(annotator);
    if (!a)
        return kCCStaleHandleErr;
    *active = a->active ? 1 : 0;
    return kCCNoErr;
}

CCErr InvalAnnotationRect(const CCRect32* rect)
{
    Host::Impl* host = currentImpl();
    if (!host)
        return kCCCantErr;
    if (!rect)
        return kCCBadParameterErr;
    return guarded([&] {
        host->invalidRects.push_back(*rect);
        host->redrawPending = true;
        if (host->invalidating || !host->plugin.entry)
            return kCCNoErr;
        std::vector<std::uintptr_t> targets;
        for (const Host::Impl::Annotator& a : host->annotators)
            if (a.active)
                targets.push_back(a.handle);
        host->invalidating = true;
        CCErr first = kCCNoErr;
        for (std::uintptr_t handle : targets) {
            const Host::Impl::Annotator* a = host->findAnnotator(reinterpret_cast<CCAnnotatorHandle>(handle));
            if (!a || !a->active || !host->plugin.entry)
                continue;
            CCAnnotatorMessage message{};
            message.annotator = reinterpret_cast<CCAnnotatorHandle>(handle);
            message.invalidRect = CCRealRect{double(rect->left), double(rect->top), double(rect->right),
                                             double(rect->bottom)};
            CCErr err = host->deliver(kCCAnnotationCaller, kCCInvalidateSelector, &message);
            if (first == kCCNoErr)
                first = err;
        }
        host->invalidating = false;
        if (host->topLevel == 0)
            host->redraw();
        return first;
    });
}

} // namespace

const CCAnnotatorSuite& annotator()
{
    static const CCAnnotatorSuite table{AddAnnotator, SetAnnotatorActive, GetAnnotatorActive, InvalAnnotationRect};
    return table;
}

} // namespace minihost::suites

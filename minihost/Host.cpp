#include "Host.h"

#include "HostImpl_p.h"
#include "PluginLoader_p.h"
#include "suites/Suites_p.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

extern "C" void OutputDebugStringA(const char* text);

namespace minihost {

void openPanelLibrary(Host& host); // HostPanels.cpp

namespace {

Host* gCurrent = nullptr;

// Referenced so that the linker keeps the debugger channel in every executable that uses a Host.
void (*const volatile gDebugChannel)(const char*) = &OutputDebugStringA;

void complain(const std::string& message)
{
    std::fprintf(stderr, "minihost: %s\n", message.c_str());
}

} // namespace

Host::Impl* currentImpl()
{
    return gCurrent ? &gCurrent->impl() : nullptr;
}

Document* currentDocument()
{
    Host::Impl* impl = currentImpl();
    return impl ? impl->document.get() : nullptr;
}

Host::Impl::SuiteRecord* Host::Impl::findSuite(const char* name, int version)
{
    if (!name)
        return nullptr;
    for (SuiteRecord& s : suites)
        if (s.version == version && s.name == name)
            return &s;
    return nullptr;
}

Host::Impl::Notifier* Host::Impl::findNotifier(CCNotifierHandle h)
{
    auto value = reinterpret_cast<std::uintptr_t>(h);
    for (Notifier& n : notifiers)
        if (n.handle == value)
            return &n;
    return nullptr;
}

CCErr Host::Impl::deliver(const char* caller, const char* selector, void* message)
{
    if (!plugin.entry) {
        complain(std::string("cannot send \"") + caller + "\" / \"" + selector + "\": no plug-in library is loaded");
        return kCCCantErr;
    }
    auto* header = static_cast<CCMessageHeader*>(message);
    header->check = kMessageCheckWord;
    header->self = pluginRef();
    header->globals = plugin.globals;
    header->basic = &basic;
    CCErr result = plugin.entry(caller, selector, message);
    plugin.globals = header->globals;
    return result;
}

Host::Host(HostOptions options) : impl_(std::make_unique<Impl>())
{
    if (gCurrent)
        throw std::logic_error("minihost: a Host already exists");
    (void)gDebugChannel;
    impl_->options = std::move(options);
    impl_->basic = suites::basic();
    addSuite(kCCBasicSuite, kCCBasicSuiteVersion, &impl_->basic);
    addSuite(kCCAccessSuite, kCCAccessSuiteVersion, &suites::access());
    addSuite(kCCPluginsSuite, kCCPluginsSuiteVersion, &suites::plugins());
    addSuite(kCCPluginSuite, kCCPluginSuiteVersion, &suites::plugin());
    addSuite(kCCNotifierSuite, kCCNotifierSuiteVersion, &suites::notifier());
    addSuite(kCCContextSuite, kCCContextSuiteVersion, &suites::context());
    addSuite(kCCBlocksSuite, kCCBlocksSuiteVersion, &suites::blocks());
    addSuite(kCCUserSuite, kCCUserSuiteVersion, &suites::user());
    addSuite(kCCArtSuite, kCCArtSuiteVersion, &suites::art());
    addSuite(kCCPathSuite, kCCPathSuiteVersion, &suites::path());
    addSuite(kCCPathStyleSuite, kCCPathStyleSuiteVersion, &suites::pathStyle());
    addSuite(kCCMatchingArtSuite, kCCMatchingArtSuiteVersion, &suites::matchingArt());
    addSuite(kCCMdMemorySuite, kCCMdMemorySuiteVersion, &suites::mdMemory());
    addSuite(kCCRealMathSuite, kCCRealMathSuiteVersion, &suites::realMath());
    addSuite(kCCRealBezierSuite, kCCRealBezierSuiteVersion, &suites::realBezier());
    addSuite(kCCTransformArtSuite, kCCTransformArtSuiteVersion, &suites::transformArt());
    addSuite(kCCLayerSuite, kCCLayerSuiteVersion, &suites::layer());
    addSuite(kCCGroupSuite, kCCGroupSuiteVersion, &suites::group());
    addSuite(kCCExpandSuite, kCCExpandSuiteVersion, &suites::expand());
    addSuite(kCCToolSuite, kCCToolSuiteVersion, &suites::tool());
    addSuite(kCCHitTestSuite, kCCHitTestSuiteVersion, &suites::hitTest());
    addSuite(kCCUndoSuite, kCCUndoSuiteVersion, &suites::undo());
    addSuite(kCCDocumentSuite, kCCDocumentSuiteVersion, &suites::document());
    addSuite(kCCDocumentViewSuite, kCCDocumentViewSuiteVersion, &suites::documentView());
    addSuite(kCCAnnotatorSuite, kCCAnnotatorSuiteVersion, &suites::annotator());
    addSuite(kCCAnnotatorDrawerSuite, kCCAnnotatorDrawerSuiteVersion, &suites::annotatorDrawer());
    addSuite(kCCFilterSuite, kCCFilterSuiteVersion, &suites::filter());
    addSuite(kCCMenuSuite, kCCMenuSuiteVersion, &suites::menu());
    addSuite(kCCActionManagerSuite, kCCActionManagerSuiteVersion, &suites::actionManager());
    addSuite(kCCUnicodeStringSuite, kCCUnicodeStringSuiteVersion, &suites::unicodeString());
    addSuite(kCCFilePathSuite, kCCFilePathSuiteVersion, &suites::filePath());
    addSuite(kCCFoldersSuite, kCCFoldersSuiteVersion, &suites::folders());
    addSuite(kCCPreferenceSuite, kCCPreferenceSuiteVersion, &suites::preference());
    addSuite(kCCCSXSExtensionSuite, kCCCSXSExtensionSuiteVersion, &suites::csxsExtension());
    gCurrent = this;
    openPanelLibrary(*this);
}

Host::~Host()
{
    Impl::Plugin& p = impl_->plugin;
    if (p.running) {
        // A plug-in that was unloaded gets its code and suites back first, so it can shut down cleanly.
        if (p.unloaded)
            reload();
        if (p.entry)
            shutdown();
    }
    closeLibrary(p.library);
    p.library = nullptr;
    p.entry = nullptr;
    impl_->extensions.reset(); // after the plug-in, which may still hold the event library
    for (const HeldBlock& b : heldBlocks())
        std::fprintf(stderr, "minihost: block still held: %s (%zu bytes)\n", b.debugName.c_str(), b.size);
    for (auto& [ptr, block] : impl_->blocks)
        std::free(ptr);
    for (auto& [handle, mem] : impl_->memory)
        std::free(mem.data);
    gCurrent = nullptr;
}

Host* Host::current()
{
    return gCurrent;
}

void Host::setOutput(std::function<void(const std::string& line)> sink)
{
    impl_->sink = std::move(sink);
}

void Host::emit(const std::string& kind, const std::string& text)
{
    std::string line = kind;
    if (!text.empty()) {
        line += ' ';
        for (char c : text) {
            if (c == '\n')
                line += "\\n";
            else
                line += c;
        }
    }
    if (impl_->sink) {
        impl_->sink(line);
    } else {
        std::fputs(line.c_str(), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    }
}

Document& Host::document()
{
    if (!impl_->document) {
        impl_->document = std::make_unique<Document>();
        impl_->document->addLayer("Layer 1");
        ++impl_->documentSerial;
    }
    return *impl_->document;
}

bool Host::hasDocument() const
{
    return impl_->document != nullptr;
}

void Host::setDocument(std::unique_ptr<Document> doc)
{
    impl_->dropJournal();
    impl_->document = std::move(doc);
    ++impl_->documentSerial;
}

std::unique_ptr<Document> Host::takeDocument()
{
    impl_->dropJournal();
    ++impl_->documentSerial;
    return std::move(impl_->document);
}

const CCBasicSuite* Host::basicSuite() const
{
    return &impl_->basic;
}

void Host::addSuite(const char* name, int version, const void* table)
{
    if (Impl::SuiteRecord* s = impl_->findSuite(name, version)) {
        s->table = table;
        return;
    }
    impl_->suites.push_back({name, version, table, 0});
}

int Host::acquisitions(const std::string& name) const
{
    int count = 0;
    for (const Impl::SuiteRecord& s : impl_->suites)
        if (s.name == name)
            count += s.acquired;
    return count;
}

void Host::failAcquisitionOf(const std::string& name, CCErr code)
{
    if (code == kCCNoErr)
        impl_->refusedSuites.erase(name);
    else
        impl_->refusedSuites[name] = code;
}

CCErr Host::loadPlugin(const std::string& name)
{
    Impl::Plugin& p = impl_->plugin;
    if (p.library) {
        complain("a plug-in is already loaded");
        return kCCCantErr;
    }
    PropertyList list;
    std::string error;
    CCErr err = findPlugin(impl_->options.pluginsDir, name, list, error);
    if (err == kCCNoErr)
        err = openLibrary(list.libraryPath(), list.entry, p.library, p.entry, error);
    if (err != kCCNoErr) {
        complain(error);
        return err;
    }
    p.propertyList = list.file;
    p.libraryPath = list.libraryPath();
    p.entryName = list.entry;
    p.listedName = list.name;
    p.name = list.name;
    p.found = true;
    p.running = false;
    p.unloaded = false;
    p.globals = nullptr;
    return kCCNoErr;
}

bool Host::pluginLoaded() const
{
    return impl_->plugin.entry != nullptr;
}

CCErr Host::send(const char* caller, const char* selector, void* message)
{
    if (!caller || !selector || !message)
        return kCCBadParameterErr;
    return impl_->runTopLevel(caller, selector, [&] { return impl_->deliver(caller, selector, message); });
}

CCErr Host::send(const char* caller, const char* selector)
{
    CCPluginMessage message{};
    return send(caller, selector, &message);
}

CCErr Host::startup()
{
    Impl::Plugin& p = impl_->plugin;
    if (p.running) {
        complain("the plug-in is already started");
        return kCCCantErr;
    }
    CCErr err = send(kCCInterfaceCaller, kCCStartupSelector);
    p.running = err == kCCNoErr;
    p.unloaded = false;
    if (!p.running)
        impl_->dropRegistrations(); // those of a start-up that failed
    return err;
}

CCErr Host::shutdown()
{
    Impl::Plugin& p = impl_->plugin;
    if (!p.running)
        return kCCNoErr;
    CCErr err = send(kCCInterfaceCaller, kCCShutdownSelector);
    p.running = false;
    // A plug-in that shut down is no longer told about anything.
    impl_->dropRegistrations();
    return err;
}

CCErr Host::unload(bool closeLibrary)
{
    Impl::Plugin& p = impl_->plugin;
    if (!p.entry) {
        complain("cannot unload: no plug-in library is loaded");
        return kCCCantErr;
    }
    CCErr err = send(kCCAccessCaller, kCCUnloadSelector);
    p.unloaded = true;
    if (closeLibrary) {
        minihost::closeLibrary(p.library);
        p.library = nullptr;
        p.entry = nullptr;
    }
    return err;
}

CCErr Host::reload()
{
    Impl::Plugin& p = impl_->plugin;
    if (!p.found) {
        complain("cannot reload: no plug-in was loaded");
        return kCCCantErr;
    }
    if (!p.entry) {
        std::string error;
        CCErr err = openLibrary(p.libraryPath, p.entryName, p.library, p.entry, error);
        if (err != kCCNoErr) {
            complain(error);
            return err;
        }
    }
    CCErr err = send(kCCAccessCaller, kCCReloadSelector);
    p.unloaded = false;
    return err;
}

void* Host::pluginGlobals() const
{
    return impl_->plugin.globals;
}

CCPluginRef Host::pluginRef() const
{
    return impl_->pluginRef();
}

int Host::accessLocks() const
{
    return static_cast<int>(impl_->accessRefs.size());
}

std::string Host::pluginName() const
{
    return impl_->plugin.name;
}

std::int32_t Host::pluginOptions() const
{
    return impl_->plugin.options;
}

CCErr Host::notify(const char* type, void* data)
{
    if (!type)
        return kCCBadParameterErr;
    return impl_->runTopLevel(kCCNotifierCaller, type, [&] { return suites::notifier().Notify(type, data); });
}

std::vector<HeldBlock> Host::heldBlocks() const
{
    std::vector<std::pair<std::uint64_t, HeldBlock>> ordered;
    for (const auto& [ptr, block] : impl_->blocks)
        ordered.push_back({block.order, HeldBlock{block.debugName, block.size}});
    std::sort(ordered.begin(), ordered.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<HeldBlock> out;
    for (auto& [order, block] : ordered)
        out.push_back(std::move(block));
    return out;
}

int Host::contextDepth() const
{
    return static_cast<int>(impl_->contexts.size());
}

} // namespace minihost

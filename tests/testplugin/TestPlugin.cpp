// A plug-in for the host tests. It reports each message on the debugger channel as
// "CALLER / SELECTOR ..." and keeps a small state object in the globals slot:
//   Startup   acquires its suites, names itself, registers a notifier for "Test Notify Type", takes an
//             access lock and a "test state" block, and adds four tools ("Alpha tool" to "Delta tool":
//             one group, two toolsets) and an inactive annotator; any failure releases what it took and
//             is returned.
//   Shutdown  gives everything back and clears the globals slot.
//   Unload    releases its suites; Reload acquires them again and reports the message count kept in
//             the state object, which shows that the globals slot survived.
//   AI Notify pushes an application context, reports the type and the data text, pops the context.
//   "Test"    selectors: "Leak" takes a block it never frees, "Alert" shows an alert, "Deactivate"
//             switches its notifier off, "Rotate Selection" turns the selected paths a quarter turn
//             about (5, 5) through the matching-art, real-math and transform suites.
//   AI Tool   every tool message names its tool and the modifiers held ("AI Tool / AI Mouse Drag Alpha
//             tool shift"). Tracking the cursor sets cursor 16021 over anything hit, else 16020. A press drags an
//             anchor: mouse-down hit-tests (request 8) and switches the annotator on; each drag step
//             reverts the previous one with UndoChanges, moves the anchor to the cursor, adds a marker
//             path, says whether the previous marker is gone and invalidates the label's rectangle;
//             mouse-up disposes the marker and switches the annotator off.
//   AI Annotation  "AI Draw" draws the label "x=X y=Y" (the cursor) in a filled rectangle 16 pixels
//             right of and below the cursor; "AI Invalidate" reports the rectangle and invalidates it again.
#include "cc_messages.h"
#include "cc_suites.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <new>

namespace {

const CCBasicSuite* sBasic = nullptr;
const CCAccessSuite* sAccess = nullptr;
const CCPluginSuite* sPlugin = nullptr;
const CCNotifierSuite* sNotifier = nullptr;
const CCContextSuite* sContext = nullptr;
const CCBlocksSuite* sBlocks = nullptr;
const CCUserSuite* sUser = nullptr;

struct Row {
    const char* name;
    int version;
    const void** pointer;
};

Row gRows[] = {
    {kCCAccessSuite, kCCAccessSuiteVersion, reinterpret_cast<const void**>(&sAccess)},
    {kCCPluginSuite, kCCPluginSuiteVersion, reinterpret_cast<const void**>(&sPlugin)},
    {kCCNotifierSuite, kCCNotifierSuiteVersion, reinterpret_cast<const void**>(&sNotifier)},
    {kCCContextSuite, kCCContextSuiteVersion, reinterpret_cast<const void**>(&sContext)},
    {kCCBlocksSuite, kCCBlocksSuiteVersion, reinterpret_cast<const void**>(&sBlocks)},
    {kCCUserSuite, kCCUserSuiteVersion, reinterpret_cast<const void**>(&sUser)},
};

struct State {
    int messages = 0;
    CCAccessRef access = nullptr;
    CCNotifierHandle notifier = nullptr;
    void* block = nullptr;
};

void debug(const char* format, const char* a = "", const char* b = "", long n = 0)
{
    using Channel = void (*)(const char*);
    static Channel channel = reinterpret_cast<Channel>(dlsym(RTLD_DEFAULT, "OutputDebugStringA"));
    char line[512];
    std::snprintf(line, sizeof line, format, a, b, n);
    if (channel)
        channel(line);
}

void releaseSuites()
{
    for (Row& row : gRows)
        if (*row.pointer) {
            sBasic->ReleaseSuite(row.name, row.version);
            *row.pointer = nullptr;
        }
}

CCErr acquireSuites()
{
    for (Row& row : gRows)
        if (CCErr err = sBasic->AcquireSuite(row.name, row.version, row.pointer)) {
            releaseSuites();
            return err;
        }
    return kCCNoErr;
}

CCErr registerTools(CCPluginRef self);

CCErr startup(CCMessageHeader* header)
{
    if (CCErr err = acquireSuites())
        return err;
    auto* state = new (std::nothrow) State;
    CCErr err = state ? kCCNoErr : kCCOutOfMemoryErr;
    if (!err)
        err = sPlugin->SetPluginName(header->self, "Test Plugin (running)");
    if (!err)
        err = sNotifier->AddNotifier(header->self, "Test Notifier", "Test Notify Type", &state->notifier);
    if (!err)
        err = sAccess->AcquirePlugin(header->self, &state->access);
    if (!err)
        err = sBlocks->AllocateBlock(64, "test state", &state->block);
    if (!err)
        err = registerTools(header->self);
    if (err) {
        if (state && state->block)
            sBlocks->FreeBlock(state->block);
        if (state && state->access)
            sAccess->ReleasePlugin(state->access);
        delete state;
        releaseSuites();
        return err;
    }
    header->globals = state;
    return kCCNoErr;
}

void shutdown(CCMessageHeader* header)
{
    auto* state = static_cast<State*>(header->globals);
    sBlocks->FreeBlock(state->block);
    sAccess->ReleasePlugin(state->access);
    delete state;
    header->globals = nullptr;
    releaseSuites();
}

// Acquires a suite for the length of one operation.
template <class Suite> struct Scoped {
    const char* name;
    int version;
    const Suite* suite = nullptr;
    CCErr err;
    Scoped(const char* n, int v) : name(n), version(v)
    {
        err = sBasic->AcquireSuite(name, version, reinterpret_cast<const void**>(&suite));
    }
    ~Scoped()
    {
        if (suite)
            sBasic->ReleaseSuite(name, version);
    }
};

// ---- tools ----

struct ToolState {
    CCToolHandle tools[4] = {};
    CCAnnotatorHandle annotator = nullptr;
    CCArtHandle path = nullptr; // what the press drags
    int16_t segment = -1;
    CCArtHandle marker = nullptr;
    CCRealPoint cursor{};
    void* cursors = nullptr; // the host's cursor resources, made at the first cursor set
} gTools;

const char* const kToolTitles[4] = {"Alpha tool", "Beta tool", "Gamma tool", "Delta tool"};

CCErr registerTools(CCPluginRef self)
{
    Scoped<CCToolSuite> tools(kCCToolSuite, kCCToolSuiteVersion);
    Scoped<CCAnnotatorSuite> annotators(kCCAnnotatorSuite, kCCAnnotatorSuiteVersion);
    for (CCErr err : {tools.err, annotators.err})
        if (err)
            return err;
    gTools = ToolState{};
    int32_t first = 0, third = 0;
    for (int i = 0; i < 4; ++i) {
        CCAddToolData data{kToolTitles[i], kToolTitles[i], 16000 + i, 17000 + i, kCCNewToolGroup, kCCNewToolGroup};
        if (i > 0)
            data.sameGroupAs = first;
        if (i == 1)
            data.sameToolsetAs = first;
        if (i == 3)
            data.sameToolsetAs = third;
        if (CCErr err = tools.suite->AddTool(self, kToolTitles[i], &data, 1, &gTools.tools[i]))
            return err;
        if (i == 0 && (tools.suite->GetToolNumberFromHandle(gTools.tools[0], &first)))
            return kCCCantErr;
        if (i == 2 && (tools.suite->GetToolNumberFromHandle(gTools.tools[2], &third)))
            return kCCCantErr;
    }
    if (CCErr err = annotators.suite->AddAnnotator(self, "Test Annotator", &gTools.annotator))
        return err;
    return annotators.suite->SetAnnotatorActive(gTools.annotator, 0);
}

CCErr toolMessage(const char* selector, const CCToolMessage* message)
{
    Scoped<CCToolSuite> tools(kCCToolSuite, kCCToolSuiteVersion);
    if (tools.err)
        return tools.err;
    const char* title = "?";
    tools.suite->GetToolTitle(message->tool, &title);
    char line[256];
    std::snprintf(line, sizeof line, "AI Tool / %s %s%s%s", selector, title,
                  (message->modifiers & kCCEventModifierShift) ? " shift" : "",
                  (message->modifiers & kCCEventModifierOption) ? " alt" : "");
    debug("%s", line);
    if (!std::strcmp(selector, kCCTrackCursorSelector)) {
        Scoped<CCHitTestSuite> hits(kCCHitTestSuite, kCCHitTestSuiteVersion);
        if (hits.err)
            return hits.err;
        if (!gTools.cursors)
            if (CCErr err = sUser->CreateCursorResourceMgr(nullptr, &gTools.cursors))
                return err;
        CCHitData hit{};
        if (CCErr err = hits.suite->HitTest(nullptr, &message->cursor, kCCHitAll, &hit))
            return err;
        return sUser->SetCursor(hit.hit ? 16021 : 16020, gTools.cursors);
    }
    bool down = !std::strcmp(selector, kCCMouseDownSelector), drag = !std::strcmp(selector, kCCMouseDragSelector),
         up = !std::strcmp(selector, kCCMouseUpSelector);
    if (!down && !drag && !up)
        return kCCNoErr;

    Scoped<CCHitTestSuite> hits(kCCHitTestSuite, kCCHitTestSuiteVersion);
    Scoped<CCUndoSuite> undo(kCCUndoSuite, kCCUndoSuiteVersion);
    Scoped<CCArtSuite> art(kCCArtSuite, kCCArtSuiteVersion);
    Scoped<CCPathSuite> path(kCCPathSuite, kCCPathSuiteVersion);
    Scoped<CCAnnotatorSuite> annotators(kCCAnnotatorSuite, kCCAnnotatorSuiteVersion);
    for (CCErr err : {hits.err, undo.err, art.err, path.err, annotators.err})
        if (err)
            return err;
    gTools.cursor = message->cursor;
    if (down) {
        CCHitData hit{};
        if (CCErr err = hits.suite->HitTest(nullptr, &message->cursor, kCCHitTool, &hit))
            return err;
        gTools.path = hit.hit && hit.part == kCCHitAnchorPart ? hit.art : nullptr;
        gTools.segment = hit.segment;
        gTools.marker = nullptr;
        debug("down hit=%s%s%ld", "", "", hit.hit ? hit.part : -1);
        return gTools.path ? annotators.suite->SetAnnotatorActive(gTools.annotator, 1) : kCCNoErr;
    }
    if (!gTools.path)
        return kCCNoErr;
    if (up) {
        if (gTools.marker)
            art.suite->DisposeArt(gTools.marker);
        gTools.marker = nullptr;
        gTools.path = nullptr;
        return annotators.suite->SetAnnotatorActive(gTools.annotator, 0);
    }
    if (CCErr err = undo.suite->UndoChanges())
        return err;
    if (gTools.marker)
        debug("marker %s", art.suite->ValidArt(gTools.marker) ? "still there" : "gone");
    CCPathSegment seg{};
    if (CCErr err = path.suite->GetPathSegments(gTools.path, gTools.segment, 1, &seg))
        return err;
    seg.anchor = seg.in = seg.out = message->cursor;
    if (CCErr err = path.suite->SetPathSegments(gTools.path, gTools.segment, 1, &seg))
        return err;
    if (CCErr err = art.suite->NewArt(kCCPathArt, kCCPlaceAboveAll, nullptr, &gTools.marker))
        return err;
    if (CCErr err = path.suite->SetPathSegments(gTools.marker, 0, 1, &seg))
        return err;
    const CCRect32 rect{0, 0, 10, 10};
    return annotators.suite->InvalAnnotationRect(&rect);
}

CCErr annotation(const char* selector, const CCAnnotatorMessage* message)
{
    Scoped<CCAnnotatorSuite> annotators(kCCAnnotatorSuite, kCCAnnotatorSuiteVersion);
    Scoped<CCAnnotatorDrawerSuite> drawer(kCCAnnotatorDrawerSuite, kCCAnnotatorDrawerSuiteVersion);
    Scoped<CCDocumentViewSuite> view(kCCDocumentViewSuite, kCCDocumentViewSuiteVersion);
    for (CCErr err : {annotators.err, drawer.err, view.err})
        if (err)
            return err;
    if (!std::strcmp(selector, kCCInvalidateSelector)) {
        const CCRealRect& r = message->invalidRect;
        char text[128];
        std::snprintf(text, sizeof text, "invalidate %g %g %g %g", r.left, r.top, r.right, r.bottom);
        debug("%s", text);
        const CCRect32 again{int32_t(r.left), int32_t(r.top), int32_t(r.right), int32_t(r.bottom)};
        return annotators.suite->InvalAnnotationRect(&again);
    }
    if (std::strcmp(selector, kCCDrawSelector))
        return kCCNoErr;
    CCPoint32 at{};
    if (CCErr err = view.suite->ArtworkPointToViewPoint(&gTools.cursor, &at))
        return err;
    at.h += 16;
    at.v += 16;
    char label[96];
    std::snprintf(label, sizeof label, "x=%g y=%g", gTools.cursor.x, gTools.cursor.y);
    CCRect32 bounds{};
    if (CCErr err = drawer.suite->GetTextBounds(message->drawer, label, &at, &bounds))
        return err;
    const CCRGBColor16 gray{0xCCCC, 0xCCCC, 0xCCCC}, black{0, 0, 0};
    drawer.suite->SetColor(message->drawer, &gray);
    drawer.suite->DrawRect(message->drawer, &bounds, 1);
    drawer.suite->SetColor(message->drawer, &black);
    return drawer.suite->DrawText(message->drawer, label, &at);
}

CCErr rotateSelection()
{
    Scoped<CCMatchingArtSuite> matching(kCCMatchingArtSuite, kCCMatchingArtSuiteVersion);
    Scoped<CCMdMemorySuite> memory(kCCMdMemorySuite, kCCMdMemorySuiteVersion);
    Scoped<CCRealMathSuite> math(kCCRealMathSuite, kCCRealMathSuiteVersion);
    Scoped<CCTransformArtSuite> transform(kCCTransformArtSuite, kCCTransformArtSuiteVersion);
    for (CCErr err : {matching.err, memory.err, math.err, transform.err})
        if (err)
            return err;
    const CCMatchingArtSpec shape{kCCPathArt, kCCArtSelected, kCCArtSelected};
    CCMemoryHandle list = nullptr;
    int32_t count = 0;
    if (CCErr err = matching.suite->GetMatchingArt(&shape, 1, &list, &count))
        return err;
    void* block = nullptr;
    CCErr err = memory.suite->GetHandleBlock(list, &block);
    CCRealMatrix m;
    math.suite->MatrixSetTranslate(&m, -5, -5);
    math.suite->MatrixConcatRotate(&m, 1.5707963267948966);
    math.suite->MatrixConcatTranslate(&m, 5, 5);
    for (int32_t i = 0; !err && i < count; ++i)
        err = transform.suite->TransformArt(static_cast<CCArtHandle*>(block)[i], &m, 1, kCCTransformObjects);
    memory.suite->DisposeHandle(list);
    return err;
}

} // namespace

extern "C" __attribute__((visibility("default"))) CCErr PluginMain(const char* caller, const char* selector,
                                                                   void* message)
{
    auto* header = static_cast<CCMessageHeader*>(message);
    sBasic = header->basic;
    auto* state = static_cast<State*>(header->globals);
    if (state)
        ++state->messages;

    if (!std::strcmp(caller, kCCInterfaceCaller) && !std::strcmp(selector, kCCStartupSelector)) {
        CCErr err = startup(header);
        debug("%s / %s result=%ld", caller, selector, err);
        return err;
    }
    if (std::strcmp(caller, kCCToolCaller) != 0) // tool messages report themselves with their tool
        debug("%s / %s", caller, selector);
    if (!state)
        return kCCNoErr;
    if (!std::strcmp(caller, kCCInterfaceCaller) && !std::strcmp(selector, kCCShutdownSelector)) {
        shutdown(header);
    } else if (!std::strcmp(caller, kCCAccessCaller) && !std::strcmp(selector, kCCUnloadSelector)) {
        releaseSuites();
    } else if (!std::strcmp(caller, kCCAccessCaller) && !std::strcmp(selector, kCCReloadSelector)) {
        CCErr err = acquireSuites();
        debug("reload messages=%s%s%ld", "", "", state->messages);
        return err;
    } else if (!sNotifier) {
        return kCCNoErr; // unloaded: nothing is served until Reload
    } else if (!std::strcmp(caller, kCCNotifierCaller) && !std::strcmp(selector, kCCNotifySelector)) {
        auto* notification = static_cast<CCNotifierMessage*>(message);
        CCAppContext context = nullptr;
        sContext->PushAppContext(header->self, &context);
        debug("notify %s data=%s", notification->type,
              notification->notifyData ? static_cast<const char*>(notification->notifyData) : "none");
        sContext->PopAppContext(context);
    } else if (!std::strcmp(caller, "Test") && !std::strcmp(selector, "Leak")) {
        void* block = nullptr;
        return sBlocks->AllocateBlock(10, "leaked block", &block);
    } else if (!std::strcmp(caller, "Test") && !std::strcmp(selector, "Alert")) {
        return sUser->ErrorAlert("two\nlines");
    } else if (!std::strcmp(caller, "Test") && !std::strcmp(selector, "Deactivate")) {
        return sNotifier->SetNotifierActive(state->notifier, 0);
    } else if (!std::strcmp(caller, "Test") && !std::strcmp(selector, "Rotate Selection")) {
        return rotateSelection();
    } else if (!std::strcmp(caller, kCCToolCaller)) {
        return toolMessage(selector, static_cast<const CCToolMessage*>(message));
    } else if (!std::strcmp(caller, kCCAnnotationCaller)) {
        return annotation(selector, static_cast<const CCAnnotatorMessage*>(message));
    }
    return kCCNoErr;
}

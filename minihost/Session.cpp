#include "Session.h"

#include "Commands.h"
#include "Host.h"
#include "io/DocumentFile.h"
#include "io/DocumentInfo.h"
#include "io/FormatCommon_p.h"
#include "render/Render.h"
#include "suites/Suites_p.h"

#include <fstream>
#include <sstream>

namespace minihost {

std::vector<std::string> splitScriptLine(std::string_view line)
{
    std::vector<std::string> words;
    std::string word;
    bool inWord = false, quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        if (quoted) {
            if (c == '\\' && i + 1 < line.size() && (line[i + 1] == '"' || line[i + 1] == '\\'))
                word += line[++i];
            else if (c == '"')
                quoted = false;
            else
                word += c;
            continue;
        }
        if (c == ' ' || c == '\t' || c == '\r') {
            if (inWord)
                words.push_back(std::move(word));
            word.clear();
            inWord = false;
        } else if (c == '#') {
            break;
        } else if (c == '"') {
            quoted = inWord = true;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (quoted)
        throw ScriptError("unterminated quote");
    if (inWord)
        words.push_back(std::move(word));
    return words;
}

namespace {

std::string codeText(CCErr e)
{
    std::uint32_t u = static_cast<std::uint32_t>(e);
    std::string s = "'";
    for (int shift = 24; shift >= 0; shift -= 8) {
        char c = static_cast<char>((u >> shift) & 0xff);
        if (c < 32 || c > 126)
            return std::to_string(e);
        s += c;
    }
    return s + "'";
}

bool isLockedOrHidden(const Art& a)
{
    return (a.attrs & (kCCArtLocked | kCCArtHidden)) != 0;
}

// Why a user could not click an object: it, an enclosing group or its layer is locked or hidden.
std::string whyNotSelectable(const Document& doc, ObjectId id)
{
    const Art* a = doc.get(id);
    for (const Art* p = a; p && p->parent != 0; p = doc.get(p->parent))
        if (isLockedOrHidden(*p)) {
            std::string state = (p->attrs & kCCArtLocked) ? "locked" : "hidden";
            return p == a ? "is " + state : "lies in a " + state + " " + io::artTypeName(p->type);
        }
    const Layer* l = doc.layer(a->layer);
    if (l && !l->editable)
        return "lies on the locked layer \"" + l->name + "\"";
    if (l && !l->visible)
        return "lies on the hidden layer \"" + l->name + "\"";
    return "";
}

bool hasLockedOrHiddenInside(const Document& doc, ObjectId id)
{
    for (ObjectId c : doc.children(id))
        if (isLockedOrHidden(*doc.get(c)) || hasLockedOrHiddenInside(doc, c))
            return true;
    return false;
}

// Selects an object wholly, as a click does; locked and hidden objects inside it stay unselected.
void clickSelect(Document& doc, ObjectId id)
{
    if (isLockedOrHidden(*doc.get(id)))
        return;
    if (!hasLockedOrHiddenInside(doc, id)) {
        doc.selectWhole(id);
        return;
    }
    for (ObjectId c : doc.children(id))
        clickSelect(doc, c);
}

void cmdNew(Session& s, const Session::Words& args)
{
    auto doc = std::make_unique<Document>();
    if (args.size() == 2) {
        doc->width = Session::number(args[0], "width");
        doc->height = Session::number(args[1], "height");
        if (doc->width <= 0 || doc->height <= 0)
            throw ScriptError("the page size must be positive");
    } else if (!args.empty()) {
        throw ScriptError("give both WIDTH and HEIGHT, or neither");
    }
    doc->addLayer("Layer 1");
    s.host().setDocument(std::move(doc));
}

void cmdOpen(Session& s, const Session::Words& args)
{
    s.host().setDocument(DocumentFile::load(s.resolve(args[0])));
}

void cmdSave(Session& s, const Session::Words& args)
{
    DocumentFile::save(s.document(), s.resolve(args[0]));
}

// A picture of the view as it is now: during a press it shows the tool's temporary art and label.
void cmdRender(Session& s, const Session::Words& args)
{
    s.document();
    try {
        render::writePng(render::renderHostView(s.host(), {}), s.resolve(args[0]));
    } catch (const render::RenderError& e) {
        throw ScriptError(e.what());
    }
}

void cmdSelect(Session& s, const Session::Words& args)
{
    Document& doc = s.document();
    if (args.size() == 1 && args[0] == "none") {
        doc.deselectAll();
        return;
    }
    if (args.size() == 1 && args[0] == "all") {
        doc.deselectAll();
        for (const Layer& l : doc.layers())
            if (l.editable && l.visible)
                for (ObjectId c : doc.children(l.group))
                    clickSelect(doc, c);
        return;
    }
    std::vector<ObjectId> ids;
    for (const std::string& name : args) {
        ObjectId id = s.object(name);
        if (std::string why = whyNotSelectable(doc, id); !why.empty())
            throw ScriptError("cannot select \"" + name + "\": it " + why);
        ids.push_back(id);
    }
    doc.deselectAll();
    for (ObjectId id : ids)
        clickSelect(doc, id);
}

void cmdAnchors(Session& s, const Session::Words& args)
{
    Document& doc = s.document();
    ObjectId id = s.object(args[0]);
    const Art& a = *doc.get(id);
    if (a.type != kCCPathArt)
        throw ScriptError("\"" + args[0] + "\" is a " + io::artTypeName(a.type) + ", not a path");
    if (args.size() - 1 != a.segments.size())
        throw ScriptError("\"" + args[0] + "\" has " + std::to_string(a.segments.size()) + " anchors, " +
                          std::to_string(args.size() - 1) + " selection states given");
    if (std::string why = whyNotSelectable(doc, id); !why.empty())
        throw ScriptError("cannot select anchors of \"" + args[0] + "\": it " + why);
    std::vector<std::int16_t> states;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& w = args[i];
        if (w.size() != 1 || w[0] < '0' || w[0] > '4')
            throw ScriptError("selection state \"" + w + "\" is not one of 0 1 2 3 4");
        states.push_back(static_cast<std::int16_t>(w[0] - '0'));
    }
    for (std::size_t i = 0; i < states.size(); ++i)
        doc.setAnchorSelection(id, static_cast<int>(i), states[i]);
}

void cmdPrint(Session& s, const Session::Words& args)
{
    Document& doc = s.document();
    if (args.empty()) {
        s.print(describeDocument(doc));
        return;
    }
    for (const std::string& name : args)
        s.print(describeObject(doc, s.object(name)));
}

// ---- tools, the view and undo ----

// A message the plug-in answered with a code: the script stops there.
void expectAnswered(CCErr e, const char* message)
{
    if (e != kCCNoErr)
        throw ScriptError(std::string("the plug-in answered ") + codeText(e) + " to \"" + message + "\"");
}

// X Y [shift] [alt]: the cursor in document points and the modifier keys held.
struct ToolEvent {
    CCRealPoint cursor{};
    std::int32_t modifiers = 0;
};

ToolEvent toolEvent(Session& s, const Session::Words& args)
{
    s.document(); // tools work on a document
    if (!s.host().selectedTool())
        throw ScriptError("no tool is selected (use tool \"TITLE\" first)");
    ToolEvent e;
    e.cursor = {Session::number(args[0], "x"), Session::number(args[1], "y")};
    for (std::size_t i = 2; i < args.size(); ++i) {
        if (args[i] == "shift")
            e.modifiers |= kCCEventModifierShift;
        else if (args[i] == "alt")
            e.modifiers |= kCCEventModifierOption;
        else
            throw ScriptError("\"" + args[i] + "\" is not a modifier (shift, alt)");
    }
    return e;
}

void cmdTool(Session& s, const Session::Words& args)
{
    CCToolHandle tool = s.host().findTool(args[0]);
    if (!tool)
        throw ScriptError("no tool has the title \"" + args[0] + "\"");
    if (s.host().pressing())
        throw ScriptError("the mouse button is down (release first)");
    expectAnswered(s.host().selectTool(tool), kCCSelectSelector);
}

void cmdPress(Session& s, const Session::Words& args)
{
    ToolEvent e = toolEvent(s, args);
    if (s.host().pressing())
        throw ScriptError("the mouse button is already down (release first)");
    expectAnswered(s.host().mouseDown(e.cursor, e.modifiers), kCCMouseDownSelector);
}

void cmdDrag(Session& s, const Session::Words& args)
{
    ToolEvent e = toolEvent(s, args);
    if (!s.host().pressing())
        throw ScriptError("the mouse button is not down (press first)");
    expectAnswered(s.host().mouseDrag(e.cursor, e.modifiers), kCCMouseDragSelector);
}

void cmdRelease(Session& s, const Session::Words& args)
{
    ToolEvent e = toolEvent(s, args);
    if (!s.host().pressing())
        throw ScriptError("the mouse button is not down (press first)");
    expectAnswered(s.host().mouseUp(e.cursor, e.modifiers), kCCMouseUpSelector);
}

void cmdClick(Session& s, const Session::Words& args)
{
    cmdPress(s, args);
    cmdRelease(s, args);
}

void cmdMove(Session& s, const Session::Words& args)
{
    ToolEvent e = toolEvent(s, args);
    if (s.host().pressing())
        throw ScriptError("the mouse button is down (use drag)");
    expectAnswered(s.host().trackCursor(e.cursor, e.modifiers), kCCTrackCursorSelector);
}

void cmdZoom(Session& s, const Session::Words& args)
{
    s.document();
    double zoom = Session::number(args[0], "zoom");
    if (s.host().setZoom(zoom) != kCCNoErr)
        throw ScriptError("zoom " + args[0] + " is outside " + io::formatNumber(Host::kMinZoom) + " to " +
                          io::formatNumber(Host::kMaxZoom));
}

void cmdUndo(Session& s, const Session::Words&)
{
    s.document();
    if (s.host().pressing())
        throw ScriptError("the mouse button is down (release first)");
    if (!s.host().undo())
        throw ScriptError("nothing to undo");
}

void cmdRedo(Session& s, const Session::Words&)
{
    s.document();
    if (s.host().pressing())
        throw ScriptError("the mouse button is down (release first)");
    if (!s.host().redo())
        throw ScriptError("nothing to redo");
}

void cmdAnswer(Session&, const Session::Words& args)
{
    if (args[0] != "yes" && args[0] != "no")
        throw ScriptError("answer yes or no, not \"" + args[0] + "\"");
    suites::queueConfirmAnswer(args[0] == "yes");
}

void cmdMenu(Session& s, const Session::Words& args)
{
    if (!chooseMenuCommand(s.host(), args[0]))
        throw ScriptError("no menu command has the title \"" + args[0] + "\"");
}

void cmdUnits(Session& s, const Session::Words& args)
{
    s.document();
    if (s.host().setRulerUnits(args[0]) == kCCBadParameterErr)
        throw ScriptError("unknown units \"" + args[0] + "\" (units: pt, in, cm, mm, px, H)");
}

void cmdPanel(Session& s, const Session::Words& args)
{
    if (s.host().extensions().raise(args[0], args.size() > 1 ? args[1] : "") != kCCNoErr)
        throw ScriptError("no listener for the panel event \"" + args[0] + "\"");
}

void cmdPanelReady(Session& s, const Session::Words& args)
{
    if (args[0] != "auto" && args[0] != "manual")
        throw ScriptError("usage: panel-ready auto|manual");
    s.host().extensions().setAutoReady(args[0] == "auto");
}

} // namespace

const std::vector<Session::Command>& Session::commands()
{
    static const std::vector<Command> table = {
        {"new", "new [WIDTH HEIGHT]", 0, 2, cmdNew},
        {"open", "open FILE", 1, 1, cmdOpen},
        {"save", "save FILE", 1, 1, cmdSave},
        {"render", "render FILE", 1, 1, cmdRender},
        {"select", "select all | none | ID...", 1, -1, cmdSelect},
        {"anchors", "anchors ID S0 S1 ...", 2, -1, cmdAnchors},
        {"print", "print [ID...]", 0, -1, cmdPrint},
        {"tool", "tool \"TITLE\"", 1, 1, cmdTool},
        {"press", "press X Y [shift] [alt]", 2, 4, cmdPress},
        {"drag", "drag X Y [shift] [alt]", 2, 4, cmdDrag},
        {"release", "release X Y [shift] [alt]", 2, 4, cmdRelease},
        {"click", "click X Y [shift] [alt]", 2, 4, cmdClick},
        {"move", "move X Y [shift] [alt]", 2, 4, cmdMove},
        {"zoom", "zoom FACTOR", 1, 1, cmdZoom},
        {"undo", "undo", 0, 0, cmdUndo},
        {"redo", "redo", 0, 0, cmdRedo},
        {"answer", "answer yes|no", 1, 1, cmdAnswer},
        {"menu", "menu \"TITLE\"", 1, 1, cmdMenu},
        {"units", "units pt|in|cm|mm|px|H", 1, 1, cmdUnits},
        {"panel", "panel EVENT-TYPE [\"PAYLOAD\"]", 1, 2, cmdPanel},
        {"panel-ready", "panel-ready auto|manual", 1, 1, cmdPanelReady},
    };
    return table;
}

Session::Session(Host& host, std::ostream& out, std::ostream& err) : host_(host), out_(out), err_(err) {}

int Session::runFile(const std::filesystem::path& script)
{
    std::ifstream in(script, std::ios::binary);
    if (!in) {
        err_ << script.string() << ": cannot open the script\n";
        return kBadFile;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return run(text.str(), script);
}

int Session::run(std::string_view text, const std::filesystem::path& script)
{
    folder_ = script.parent_path();
    host_.setOutput([this](const std::string& line) { out_ << line << '\n' << std::flush; });
    // The host outlives the session: give its output back when the script ends.
    struct SinkReset {
        Host& host;
        ~SinkReset() { host.setOutput(nullptr); }
    } sinkReset{host_};
    if (!host_.pluginLoaded())
        if (CCErr e = host_.loadPlugin()) {
            err_ << script.string() << ": cannot load the plug-in (" << codeText(e) << ")\n";
            return kBadFile;
        }
    if (CCErr e = host_.launch()) {
        err_ << script.string() << ": the plug-in did not start (" << codeText(e) << ")\n";
        return kBadFile;
    }

    int status = kOk;
    int lineNo = 0;
    std::size_t pos = 0;
    while (pos <= text.size() && status == kOk) {
        std::size_t end = text.find('\n', pos);
        std::string_view line = text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
        pos = end == std::string_view::npos ? text.size() + 1 : end + 1;
        ++lineNo;
        try {
            Words words = splitScriptLine(line);
            if (words.empty())
                continue;
            const Command* cmd = nullptr;
            for (const Command& c : commands())
                if (words[0] == c.name)
                    cmd = &c;
            if (!cmd) {
                std::string known;
                for (const Command& c : commands())
                    known += std::string(known.empty() ? "" : ", ") + c.name;
                throw ScriptError("unknown command \"" + words[0] + "\" (commands: " + known + ")");
            }
            Words args(words.begin() + 1, words.end());
            int n = static_cast<int>(args.size());
            if (n < cmd->minArgs || (cmd->maxArgs >= 0 && n > cmd->maxArgs))
                throw ScriptError(std::string("usage: ") + cmd->usage);
            cmd->run(*this, args);
        } catch (const std::exception& e) {
            out_ << std::flush;
            err_ << script.string() << ":" << lineNo << ": " << e.what() << '\n';
            status = kScriptError;
        }
    }
    host_.shutdown();
    return status;
}

Document& Session::document()
{
    if (!host_.hasDocument())
        throw ScriptError("no document is open (use new or open first)");
    return host_.document();
}

std::filesystem::path Session::resolve(const std::string& name) const
{
    std::filesystem::path p(name);
    return p.is_relative() && !folder_.empty() ? folder_ / p : p;
}

ObjectId Session::object(const std::string& id)
{
    ObjectId found = id.empty() ? 0 : document().findByName(id);
    if (found == 0)
        throw ScriptError("no object has the id \"" + id + "\"");
    return found;
}

void Session::print(const std::string& text)
{
    out_ << text << std::flush;
}

double Session::number(const std::string& word, const char* what)
{
    auto v = io::parseNumber(word);
    if (!v || !io::validCoordinate(*v))
        throw ScriptError(std::string(what) + " \"" + word + "\" is not a number");
    return *v;
}

} // namespace minihost

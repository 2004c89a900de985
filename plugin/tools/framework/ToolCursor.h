// The cursor of the plug-in's tools: what lies under the pointer, and which modifiers the tool reads,
// choose one of the cursor resources.
#pragma once

#include "cc_messages.h"

#include <cstdint>

namespace curvicraft {

// Cursor resource ids.
enum ToolCursorId : std::int16_t {
    kCursorPlain = 16020,
    kCursorOverAnchor = 16021,
    kCursorOverSegment = 16022, // a curve, or a direction point where the tool takes handles
    kCursorShiftOptionAnchor = 16501,
    kCursorShiftOptionSegment = 16502,
    kCursorShiftOptionAnchorPressed = 16504,
    kCursorShiftOptionSegmentPressed = 16505,
    kCursorOptionSelectedSegment = 16510,
    kCursorOptionSelectedAnchor = 16511,
};

// One cursor id, applied through the host's cursor resources. Made on the stack and dropped at once.
class OrvoCursor {
  public:
    explicit OrvoCursor(std::int16_t id) noexcept : id_(id) {}
    virtual ~OrvoCursor() = default;
    virtual CCErr apply() const;

  private:
    std::int16_t id_;
};

// Hit-tests at the message's cursor point and sets the cursor for the message's tool, its modifiers
// and buttonDown. The id goes to CurvicraftGlobals::cursorId. A hit-test failure is returned and the
// cursor is left as it was; a tool handle in no slot leaves the cursor to the host.
CCErr updateToolCursor(CCToolMessage* message);

} // namespace curvicraft

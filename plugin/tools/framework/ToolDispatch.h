// Routing of the host's tool events to the tools' handlers, with the steps the framework runs around
// every handler: feedback art disposal, the cursor, and the selection a tool leaves at mouse-up.
#pragma once

#include "cc_messages.h"

namespace curvicraft {

// Selects the pressed variants of the cursors while the framework updates the cursor inside a press.
extern bool buttonDown;

// The slot whose registered handle is tool, or -1 (also for a null handle).
int toolSlotOfHandle(CCToolHandle tool);

// Forgets the path being drawn, finds the slot of the message's tool (-1 when it is none of the
// plug-in's) and, for the drawing tools, starts listening to selection changes.
int toolSelectIndex(CCToolMessage* message);

// The three press events. A handler's non-zero code is returned unchanged; a tool handle in no slot
// returns 0 and changes nothing.
CCErr toolMouseDownDispatch(CCToolMessage* message);
CCErr toolDragDispatch(CCToolMessage* message);
CCErr toolMouseUpDispatch(CCToolMessage* message);

// Disposes the press's feedback art, if any, and forgets it whether or not the host could dispose it.
void disposeTempArt();

// Tells the plug-in, through its internal notifier, that the values the tool-options panel shows have
// changed (the panel is then sent the current tool's params).
void sendToolData();

} // namespace curvicraft

// Commands a user gives the host: filter commands from the menu, the last filter again, and the action
// palette (recording and playing back events of plug-in actions).
#pragma once

#include "cc_types.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace minihost {

class Host;

// One value of an action's parameter block.
struct ActionValue {
    std::int32_t type = 0; // kCCActionTypeBool or kCCActionTypeReal
    std::int32_t unit = 0; // for reals: kCCActionUnit*, or 0
    bool flag = false;
    double number = 0;
    bool operator==(const ActionValue&) const = default;
};
using ActionParams = std::map<std::int32_t, ActionValue>; // by four-character key

// A recorded event of an action.
struct ActionEvent {
    std::string name;
    std::int32_t dialogMode = 0;
    ActionParams params;
};

// A filter command a plug-in added.
struct FilterCommand {
    std::string name, category, title;
    std::int32_t options = 0;
};

// A registered action with the labels of its parameters.
struct RegisteredAction {
    std::string name, displayText;
    std::int32_t version = 0;
    struct Key {
        std::int32_t key;
        std::string label;
        std::int32_t valueType;
        bool shown;
    };
    std::vector<Key> keys;
};

// Chooses a menu command by its title: for a filter, "AI Filter" / "AI Get Parameters" and then "AI Go".
// False when no command has that title.
bool chooseMenuCommand(Host& host, const std::string& title);
// "AI Filter" / "AI Go" for the last filter chosen; false when none was.
bool repeatLastFilter(Host& host);
std::vector<FilterCommand> filterCommands();

// Recording of actions (the action palette's record button).
void setActionRecording(bool recording);
std::vector<ActionEvent> recordedActions();
std::vector<RegisteredAction> registeredActions();
// Plays one event: "Action Manager" / "Do Action" with a parameter block holding `params`.
CCErr playAction(Host& host, const std::string& name, const ActionParams& params, bool showDialog);

} // namespace minihost

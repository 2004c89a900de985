// The record the plug-in broadcasts to itself under its internal notifier type, so that work started by
// a tool or a dialog runs later in the plug-in's own notifier handler.
#pragma once

#include <cstdint>

namespace curvicraft {

inline constexpr const char* kInternalNotifierType = "Orvo Curvicraft Internal Notifier";

// Command texts.
inline constexpr const char* kToolSendDataCommand = "Tool Send Data";
inline constexpr const char* kGetFilterParmsCommand = "Get Filter Parms Notifier";
inline constexpr const char* kSmartRoundPreviewCommand = "Smart Round Preview";

struct InternalNotifierData {
    char command[128] = {};   // NUL-terminated
    void* argument = nullptr; // "Get Filter Parms Notifier" only
    std::int64_t reserved = 0;
};

} // namespace curvicraft

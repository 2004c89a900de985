/* Message records the host hands to PluginMain, and the entry point itself. */
#ifndef CURVICRAFT_HOSTAPI_MESSAGES_H
#define CURVICRAFT_HOSTAPI_MESSAGES_H

#include "cc_types.h"

#ifdef __cplusplus
extern "C" {
#endif

struct CCBasicSuite;

/* The leading fields every message record shares. */
typedef struct CCMessageHeader {
    uint32_t check;                   /* not used by the plug-in */
    CCPluginRef self;                 /* the host's handle for this plug-in */
    void* globals;                    /* the plug-in's object between calls, kept by the host */
    const struct CCBasicSuite* basic; /* root suite: acquires every other suite */
} CCMessageHeader;

/* Callers and selectors. */
#define kCCInterfaceCaller "SP Interface"
#define kCCStartupSelector "Startup"
#define kCCShutdownSelector "Shutdown"
#define kCCAboutSelector "About"
#define kCCAccessCaller "SP Access"
#define kCCUnloadSelector "Unload"
#define kCCReloadSelector "Reload"
#define kCCCacheCaller "SP Cache"
#define kCCPurgeSelector "Plug-in Purge"
#define kCCPropertiesCaller "SP Properties"
#define kCCPropertyAcquireSelector "Acquire"
#define kCCPropertyReleaseSelector "Release"
#define kCCNotifierCaller "AI Notifier"
#define kCCNotifySelector "AI Notify"
#define kCCActionCaller "Action Manager"
#define kCCDoActionSelector "Do Action"
#define kCCMenuCaller "AI Menu"
#define kCCGoSelector "AI Go"
#define kCCUpdateSelector "AI Update"
#define kCCFilterCaller "AI Filter"
#define kCCGetParametersSelector "AI Get Parameters"
#define kCCPluginGroupCaller "AI Plugin Group"
#define kCCNotifyEditsSelector "AI Notify Edits"
#define kCCFileFormatCaller "AI File Format"
#define kCCCheckSelector "AI Check"
#define kCCFormatUpdateSelector "AI Update AI140"
#define kCCToolCaller "AI Tool"
#define kCCEditOptionsSelector "AI Edit Options"
#define kCCTrackCursorSelector "AI Track Cursor"
#define kCCMouseDownSelector "AI Mouse Down"
#define kCCMouseDragSelector "AI Mouse Drag"
#define kCCMouseUpSelector "AI Mouse Up"
#define kCCSelectSelector "AI Select"
#define kCCDeselectSelector "AI Deselect"
#define kCCReselectSelector "AI Reselect"
#define kCCDecreaseDiameterSelector "AI Decrease Diameter"
#define kCCIncreaseDiameterSelector "AI Increase Diameter"
#define kCCLiveEffectCaller "AI Live Effect"
#define kCCEffectEditParametersSelector "AI Live Effect Edit Parameters"
#define kCCEffectGoLiveSelector "AI Live Effect Go Live"
#define kCCEffectInterpolateSelector "AI Live Effect Interpolate Parameters"
#define kCCEffectInputTypeSelector "AI Live Effect Input Type"
#define kCCEffectConvertColorSpaceSelector "AI Live Effect Convert Color Space"
#define kCCEffectScaleParametersSelector "AI Live Effect Scale Parameters"
#define kCCEffectAdjustColorsSelector "AI Live Effect Adjust Colors"
#define kCCEffectMergeSelector "AI Live Effect Handle Merge"
#define kCCTimerCaller "AI Timer"
#define kCCClipboardCaller "AI Clipboard"
#define kCCCanCopySelector "AI Can Copy"
#define kCCCloneSelector "AI Clone"
#define kCCDisposeSelector "AI Dispose"
#define kCCWorkspaceCaller "Workspace Manager"
/* The previous host version spells the workspace selectors "Woskspace". */
#ifdef CURVICRAFT_PREVIOUS_HOST
#define kCCWorkspaceWriteSelector "Write Woskspace"
#define kCCWorkspaceRestoreSelector "Restore Woskspace"
#define kCCWorkspaceDefaultSelector "Default Woskspace"
#else
#define kCCWorkspaceWriteSelector "Write Workspace"
#define kCCWorkspaceRestoreSelector "Restore Workspace"
#define kCCWorkspaceDefaultSelector "Default Workspace"
#endif
#define kCCAnnotationCaller "AI Annotation"
#define kCCDrawSelector "AI Draw"
#define kCCInvalidateSelector "AI Invalidate"

/* Notifier types. */
#define kCCApplicationStartedNotifier "AI Application Started Notifier"
#define kCCRulerUnitsChangedNotifier "AI Document Ruler Unit Changed Notifier"
#define kCCArtSelectionChangedNotifier "AI Art Selection Changed Notifier"
#define kCCDocumentOpenedNotifier "AI Document Opened Notifier"
#define kCCPanelSetupCompleteNotifier "AI CSXS PlugPlug Setup Complete"

/* "SP Interface" / "Startup" and "Shutdown", "SP Access" / "Unload" and "Reload", and every
 * caller without a record of its own. */
typedef struct CCPluginMessage {
    CCMessageHeader d;
} CCPluginMessage;

/* "AI Notifier": the handle, the type it was registered for, and the broadcaster's data. */
typedef struct CCNotifierMessage {
    CCMessageHeader d;
    CCNotifierHandle notifier;
    const char* type;
    void* notifyData;
} CCNotifierMessage;

/* Modifier bits of a tool event. */
enum {
    kCCEventModifierShift = 0x0200,
    kCCEventModifierOption = 0x0800,
    kCCEventModifierCommand = 0x0100,
    kCCEventModifierControl = 0x1000
};

/* "AI Tool": the tool, the cursor point in document coordinates, then the event data. */
typedef struct CCToolMessage {
    CCMessageHeader d;
    CCToolHandle tool;
    CCRealPoint cursor;
    double pressure;
    int32_t modifiers; /* kCCEventModifier* bits */
    int32_t clickCount;
} CCToolMessage;

/* "AI Annotation" / "AI Draw" and "AI Invalidate". */
typedef struct CCAnnotatorMessage {
    CCMessageHeader d;
    CCAnnotatorHandle annotator;
    void* drawer; /* the drawer the annotation draws through */
    CCRealRect invalidRect;
} CCAnnotatorMessage;

/* The entry point. */
typedef CCErr (*CCPluginMainProc)(const char* caller, const char* selector, void* message);
#define kCCPluginMainName "PluginMain"

/* "AI Filter" / "AI Get Parameters" and "AI Go": the filter chosen. */
typedef struct CCFilterMessage {
    CCMessageHeader d;
    CCFilterHandle filter;
} CCFilterMessage;

/* "Action Manager" / "Do Action": a recorded event played back. */
typedef struct CCDoActionMessage {
    CCMessageHeader d;
    const char* actionName;
    CCBool32 showDialog; /* the playback asks for the action's dialog */
    struct CCActionParamValueOpaque* params;
} CCDoActionMessage;

#ifdef __cplusplus
}
#endif

#endif

/* The host's extension event library: its five entry points and the event record they carry between
 * the plug-in and the panels of the host's extension framework. The plug-in loads the library from the
 * host's application folder at run time and resolves the entries by these names. */
#ifndef CURVICRAFT_HOSTAPI_PANEL_EVENTS_H
#define CURVICRAFT_HOSTAPI_PANEL_EVENTS_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Scope of every event the plug-in raises. */
#define kCCPanelEventScopeApplication 1

typedef struct CCPanelEvent {
    const char* type;        /* e.g. "com.adobe.csxs.events.CurvicraftTool_UpdatePanelSettings" */
    int32_t scope;
    const char* command;     /* "SendData", "CloseUI", "SendMinValues", "SendMaxValues" */
    const char* extensionId; /* null in the plug-in's events */
    const char* data;        /* the XML payload */
} CCPanelEvent;

typedef void (*CCPanelEventListener)(const CCPanelEvent* event, void* userData);

typedef int32_t (*CCPlugPlugLoadExtensionProc)(const char* extensionId);
typedef int32_t (*CCPlugPlugUnloadExtensionProc)(const char* extensionId);
typedef int32_t (*CCPlugPlugAddEventListenerProc)(const char* type, CCPanelEventListener listener, void* userData);
typedef int32_t (*CCPlugPlugRemoveEventListenerProc)(const char* type, CCPanelEventListener listener, void* userData);
typedef int32_t (*CCPlugPlugDispatchEventProc)(const CCPanelEvent* event);

#define kCCPlugPlugLoadExtensionName "PlugPlugLoadExtension"
#define kCCPlugPlugUnloadExtensionName "PlugPlugUnloadExtension"
#define kCCPlugPlugAddEventListenerName "PlugPlugAddEventListener"
#define kCCPlugPlugRemoveEventListenerName "PlugPlugRemoveEventListener"
#define kCCPlugPlugDispatchEventName "PlugPlugDispatchEvent"

/* The host side of the library: the extension framework attaches itself so that the library can hand
 * it the plug-in's calls. Without an attached framework every entry answers 1. */
typedef struct CCPanelFramework {
    int32_t (*loadExtension)(const char* extensionId);
    int32_t (*unloadExtension)(const char* extensionId);
    int32_t (*addEventListener)(const char* type, CCPanelEventListener listener, void* userData);
    int32_t (*removeEventListener)(const char* type, CCPanelEventListener listener, void* userData);
    int32_t (*dispatchEvent)(const CCPanelEvent* event);
} CCPanelFramework;

typedef void (*CCPlugPlugAttachFrameworkProc)(const CCPanelFramework* framework); /* null detaches */
#define kCCPlugPlugAttachFrameworkName "PlugPlugAttachFramework"

#ifdef __cplusplus
}
#endif

#endif

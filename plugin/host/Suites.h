// The host suites the plug-in calls, as process-wide pointers filled by SuiteSet acquisition.
#pragma once

#include "cc_messages.h"
#include "cc_suites.h"

namespace curvicraft {

// One row of a suite table: name, version, and the variable that receives the suite.
struct SuiteEntry {
    const char* name;
    int version;
    const void** pointer;
};

// The basic suite of the latest message; PluginMain stores it before anything else.
extern const CCBasicSuite* sBasic;

extern const CCAccessSuite* sAccess;
extern const CCPluginsSuite* sPlugins;
extern const CCPluginSuite* sPlugin;
extern const CCNotifierSuite* sNotifier;
extern const CCContextSuite* sContext;
extern const CCBlocksSuite* sBlocks;
extern const CCUserSuite* sUser;

extern const CCArtSuite* sArt;
extern const CCPathSuite* sPath;
extern const CCPathStyleSuite* sPathStyle;
extern const CCMatchingArtSuite* sMatchingArt;
extern const CCMdMemorySuite* sMdMemory;
extern const CCRealMathSuite* sRealMath;
extern const CCRealBezierSuite* sRealBezier;
extern const CCTransformArtSuite* sTransformArt;
extern const CCLayerSuite* sLayer;
extern const CCGroupSuite* sGroup;
extern const CCExpandSuite* sExpand;
extern const CCToolSuite* sTool;
extern const CCHitTestSuite* sHitTest;
extern const CCUndoSuite* sUndo;
extern const CCDocumentSuite* sDocument;
extern const CCDocumentViewSuite* sDocumentView;
extern const CCAnnotatorSuite* sAnnotator;
extern const CCAnnotatorDrawerSuite* sAnnotatorDrawer;
extern const CCFilterSuite* sFilter;
extern const CCMenuSuite* sMenu;
extern const CCActionManagerSuite* sActionManager;
extern const CCUnicodeStringSuite* sUnicodeString;
extern const CCFilePathSuite* sFilePath;
extern const CCFoldersSuite* sFolders;
extern const CCPreferenceSuite* sPreference;
extern const CCCSXSExtensionSuite* sCSXSExtension;

// The first group (always acquired first), the main table (ended by a row with a null name, whose
// version holds 'OPTS' when optional rows follow) and the late table acquired after start-up.
extern SuiteEntry gFirstSuites[];
extern SuiteEntry gMainSuites[];
extern SuiteEntry gLateSuites[];

} // namespace curvicraft

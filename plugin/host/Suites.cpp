#include "Suites.h"

namespace curvicraft {

const CCBasicSuite* sBasic = nullptr;

const CCAccessSuite* sAccess = nullptr;
const CCPluginsSuite* sPlugins = nullptr;
const CCPluginSuite* sPlugin = nullptr;
const CCNotifierSuite* sNotifier = nullptr;
const CCContextSuite* sContext = nullptr;
const CCBlocksSuite* sBlocks = nullptr;
const CCUserSuite* sUser = nullptr;

const CCArtSuite* sArt = nullptr;
const CCPathSuite* sPath = nullptr;
const CCPathStyleSuite* sPathStyle = nullptr;
const CCMatchingArtSuite* sMatchingArt = nullptr;
const CCMdMemorySuite* sMdMemory = nullptr;
const CCRealMathSuite* sRealMath = nullptr;
const CCRealBezierSuite* sRealBezier = nullptr;
const CCTransformArtSuite* sTransformArt = nullptr;
const CCLayerSuite* sLayer = nullptr;
const CCGroupSuite* sGroup = nullptr;
const CCExpandSuite* sExpand = nullptr;
const CCToolSuite* sTool = nullptr;
const CCHitTestSuite* sHitTest = nullptr;
const CCUndoSuite* sUndo = nullptr;
const CCDocumentSuite* sDocument = nullptr;
const CCDocumentViewSuite* sDocumentView = nullptr;
const CCAnnotatorSuite* sAnnotator = nullptr;
const CCAnnotatorDrawerSuite* sAnnotatorDrawer = nullptr;
const CCFilterSuite* sFilter = nullptr;
const CCMenuSuite* sMenu = nullptr;
const CCActionManagerSuite* sActionManager = nullptr;
const CCUnicodeStringSuite* sUnicodeString = nullptr;
const CCFilePathSuite* sFilePath = nullptr;
const CCFoldersSuite* sFolders = nullptr;
const CCPreferenceSuite* sPreference = nullptr;
const CCCSXSExtensionSuite* sCSXSExtension = nullptr;

#define CC_ROW(var, name, version) {name, version, reinterpret_cast<const void**>(&var)}

SuiteEntry gFirstSuites[] = {
    CC_ROW(sAccess, kCCAccessSuite, kCCAccessSuiteVersion),
    CC_ROW(sPlugins, kCCPluginsSuite, kCCPluginsSuiteVersion),
    CC_ROW(sPlugin, kCCPluginSuite, kCCPluginSuiteVersion),
    CC_ROW(sNotifier, kCCNotifierSuite, kCCNotifierSuiteVersion),
    CC_ROW(sContext, kCCContextSuite, kCCContextSuiteVersion),
    CC_ROW(sBlocks, kCCBlocksSuite, kCCBlocksSuiteVersion),
    CC_ROW(sUser, kCCUserSuite, kCCUserSuiteVersion),
    {nullptr, 0, nullptr},
};

SuiteEntry gMainSuites[] = {
    CC_ROW(sArt, kCCArtSuite, kCCArtSuiteVersion),
    CC_ROW(sPath, kCCPathSuite, kCCPathSuiteVersion),
    CC_ROW(sPathStyle, kCCPathStyleSuite, kCCPathStyleSuiteVersion),
    CC_ROW(sMatchingArt, kCCMatchingArtSuite, kCCMatchingArtSuiteVersion),
    CC_ROW(sMdMemory, kCCMdMemorySuite, kCCMdMemorySuiteVersion),
    CC_ROW(sRealMath, kCCRealMathSuite, kCCRealMathSuiteVersion),
    CC_ROW(sRealBezier, kCCRealBezierSuite, kCCRealBezierSuiteVersion),
    CC_ROW(sTransformArt, kCCTransformArtSuite, kCCTransformArtSuiteVersion),
    CC_ROW(sLayer, kCCLayerSuite, kCCLayerSuiteVersion),
    CC_ROW(sGroup, kCCGroupSuite, kCCGroupSuiteVersion),
    CC_ROW(sExpand, kCCExpandSuite, kCCExpandSuiteVersion),
    CC_ROW(sTool, kCCToolSuite, kCCToolSuiteVersion),
    CC_ROW(sHitTest, kCCHitTestSuite, kCCHitTestSuiteVersion),
    CC_ROW(sUndo, kCCUndoSuite, kCCUndoSuiteVersion),
    CC_ROW(sDocument, kCCDocumentSuite, kCCDocumentSuiteVersion),
    CC_ROW(sDocumentView, kCCDocumentViewSuite, kCCDocumentViewSuiteVersion),
    CC_ROW(sAnnotator, kCCAnnotatorSuite, kCCAnnotatorSuiteVersion),
    CC_ROW(sAnnotatorDrawer, kCCAnnotatorDrawerSuite, kCCAnnotatorDrawerSuiteVersion),
    CC_ROW(sFilter, kCCFilterSuite, kCCFilterSuiteVersion),
    CC_ROW(sMenu, kCCMenuSuite, kCCMenuSuiteVersion),
    CC_ROW(sActionManager, kCCActionManagerSuite, kCCActionManagerSuiteVersion),
    CC_ROW(sUnicodeString, kCCUnicodeStringSuite, kCCUnicodeStringSuiteVersion),
    CC_ROW(sFilePath, kCCFilePathSuite, kCCFilePathSuiteVersion),
    CC_ROW(sFolders, kCCFoldersSuite, kCCFoldersSuiteVersion),
    CC_ROW(sPreference, kCCPreferenceSuite, kCCPreferenceSuiteVersion),
    {nullptr, 0, nullptr}, // no optional rows
};

SuiteEntry gLateSuites[] = {
    CC_ROW(sCSXSExtension, kCCCSXSExtensionSuite, kCCCSXSExtensionSuiteVersion),
    {nullptr, 0, nullptr},
};

#undef CC_ROW

} // namespace curvicraft

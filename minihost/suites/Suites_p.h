// The suite tables minihost offers, one file each; Host registers them all at construction.
#pragma once

#include "cc_suites.h"

#include <cstdint>

namespace minihost::suites {

const CCBasicSuite& basic();
const CCAccessSuite& access();
const CCPluginsSuite& plugins();
const CCPluginSuite& plugin();
const CCNotifierSuite& notifier();
const CCContextSuite& context();
const CCBlocksSuite& blocks();
const CCUserSuite& user();
// The answer to the next question the plug-in asks (sessions: "answer yes|no").
void queueConfirmAnswer(bool yes);

const CCArtSuite& art();
const CCPathSuite& path();
const CCPathStyleSuite& pathStyle();
const CCMatchingArtSuite& matchingArt();
const CCMdMemorySuite& mdMemory();
const CCRealMathSuite& realMath();
const CCRealBezierSuite& realBezier();
const CCTransformArtSuite& transformArt();
const CCLayerSuite& layer();
const CCGroupSuite& group();
const CCExpandSuite& expand();
const CCFilterSuite& filter();
const CCMenuSuite& menu();
const CCActionManagerSuite& actionManager();

const CCToolSuite& tool();
const CCHitTestSuite& hitTest();
const CCUndoSuite& undo();
const CCDocumentSuite& document();
const CCDocumentViewSuite& documentView();
const CCAnnotatorSuite& annotator();
const CCAnnotatorDrawerSuite& annotatorDrawer();

} // namespace minihost::suites

namespace minihost::suites {

// Counts hosts made in this process: state kept for one host is dropped when another one is made,
// even at the same address.
std::uint64_t hostGeneration();

const CCUnicodeStringSuite& unicodeString();
const CCFilePathSuite& filePath();
const CCFoldersSuite& folders();
int liveFileObjects(); // strings and paths given out and not yet disposed
const CCPreferenceSuite& preference();
const CCCSXSExtensionSuite& csxsExtension();

} // namespace minihost::suites

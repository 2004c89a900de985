// The suite tables minihost offers, one file each; Host registers them all at construction.
#pragma once

#include "cc_suites.h"

namespace minihost::suites {

const CCBasicSuite& basic();
const CCAccessSuite& access();
const CCPluginsSuite& plugins();
const CCPluginSuite& plugin();
const CCNotifierSuite& notifier();
const CCContextSuite& context();
const CCBlocksSuite& blocks();
const CCUserSuite& user();

const CCArtSuite& art();
const CCPathSuite& path();
const CCPathStyleSuite& pathStyle();
const CCMatchingArtSuite& matchingArt();
const CCMdMemorySuite& mdMemory();
const CCRealMathSuite& realMath();
const CCTransformArtSuite& transformArt();
const CCLayerSuite& layer();
const CCGroupSuite& group();
const CCExpandSuite& expand();

} // namespace minihost::suites

// The records a path is held in while the plug-in works on it, and the host values the kernel tests.
//
// A path is an array of PathSegment plus a closed flag. Curve k (1 <= k <= n-1) runs from anchor k-1 to
// anchor k; on a closed path curve 0 is the closing curve from anchor n-1 to anchor 0. A handle is
// retracted when it equals its anchor exactly.
#pragma once

#include "cc_suites.h"
#include "cc_types.h"

#include <cstdint>

namespace curvicraft {

// The host's records, used as they are so that arrays pass to the host without copying.
using RealPoint = CCRealPoint;
using PathSegment = CCPathSegment;
using BezierCurve = CCBezier; // p0 start anchor, p1 its out handle, p2 the end's in handle, p3 end anchor
using RealMatrix = CCRealMatrix;
using ArtHandle = CCArtHandle;

// Which part of a path a hit test found.
enum class HitPart : std::int16_t {
    None = -1, // before a hit test
    Anchor = 0,
    OutHandle = 1,
    InHandle = 2,
    Curve = 3, // segment interior; the hit's index names the curve's end anchor
};

// The per-anchor selection value the host keeps.
enum class SegmentSelectionState : std::int16_t {
    None = kCCSegmentNotSelected,
    Anchor = kCCSegmentPointSelected,
    InHandle = kCCSegmentInSelected,
    OutHandle = kCCSegmentOutSelected,
    AnchorAndHandles = kCCSegmentInAndOutSelected,
};

// Object types the kernel tests.
enum class ArtType : std::int16_t {
    Unknown = kCCUnknownArt,
    Group = kCCGroupArt,
    Path = kCCPathArt,
    CompoundPath = kCCCompoundPathArt,
    TextFrame = kCCTextFrameArt,
    TextPath = kCCTextPathArt, // type-on-a-path object: parent of the path that carries the text
    TextRun = kCCTextRunArt,
    Placed = kCCPlacedArt,
    MysteryPath = kCCMysteryPathArt,
    Raster = kCCRasterArt,
    PluginArt = kCCPluginArt,
    Mesh = kCCMeshArt,
    Symbol = kCCSymbolArt,
};

// Object attribute bits (masks for the host's attribute calls).
enum ArtAttribute : std::int32_t {
    kAttrSelected = kCCArtSelected,
    kAttrLocked = kCCArtLocked,
    kAttrHidden = kCCArtHidden,
    kAttrFullySelected = kCCArtFullySelected, // selected as a whole object
    kAttrLockedOrHidden = kCCArtLocked | kCCArtHidden,
    kAttrSelectedWhole = kCCArtSelected | kCCArtFullySelected,
};

// What a tool's press hit, in the layout the host's hit test reports it.
struct ToolHit {
    CCBool32 hit = 0;
    HitPart part = HitPart::None;
    std::int16_t segmentIndex = -1; // parts 0-2: the anchor; part 3: the curve's end anchor
    ArtHandle path = nullptr;
    ArtHandle group = nullptr; // delivered by the host, not read
    RealPoint point{0, 0};     // the hit point, snapped by the host
    double t = 0;              // parameter along the hit curve (part 3)
};

// Four-character result codes the kernel returns.
inline constexpr CCErr kNoSelectionErr = kCCNoSelectionErr;     // '!sel'
inline constexpr CCErr kLockedInGroupErr = kCCLockedInGroupErr; // 'iUnT'
inline constexpr CCErr kTextPathErr = kCCTextPathErr;           // 'fLtP'

} // namespace curvicraft

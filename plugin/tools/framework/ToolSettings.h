// Every tool's settings record, as the tools keep them in CurvicraftGlobals. Lengths are in document
// points and angles in radians; the panels show them in ruler units and degrees.
#pragma once

#include <cstdint>

namespace curvicraft {

struct EditSegSettings { // Segment Direct Edit, Segment Edit
    std::int16_t handleDispType = 1;
    std::int16_t handleDispDrag = 0;
};

struct SymmSegSettings { // Symmetric Edit
    std::int16_t fixedLen = 0;
    double lenRatio = 0.33333;
    std::int16_t fixedAngle = 0;
    double angle = 0; // radians; default 45 degrees
    std::int16_t handleDispType = 1;
    std::int16_t handleDispDrag = 1;
    double lastLength = 0;
    double lastAngle = 0;
};

struct FixDirLineSettings { // Numeric Edit
    std::int16_t fixedLen = 1;
    double length = 0;
    std::int16_t fixedDir = 1;
    double direction = 0;
};

struct CircularSegsSettings { // Arc Edit
    std::int16_t handleDispType = 1;
};

struct SerialArcSettings { // Multi-Arc
    std::int16_t startDirF = 0;
    std::int16_t opeRadius = 0;
    std::int16_t opeAngle = 0;
    double startDir = 0;
    double snapRadius = 50;
    double fixedRadius = 50;
    double snapAngle = 0;  // radians; default 45 degrees
    double fixedAngle = 0; // radians; default 90 degrees
    double lastRadius = 0;
    double lastSweep = 0;
};

struct SerialLineSettings { // Multi-Line
    std::int16_t opeLen = 0;
    double snapLen = 50;
    double fixedLen = 100;
    std::int16_t snapAngleF = 0;
    double snapAngle = 0; // radians; default 15 degrees
    double lastLength = 0;
    double lastAngle = 0;
};

struct SerialCurveSettings { // Multi-Curve
    std::int16_t handleDispDrag = 1;
};

struct TwoLengthCornerSettings { // L-Chamfer, Oval Fillet, Reverse Oval Fillet
    std::int16_t dragStyle = 0;
    double snapSize = 20;
    double fixedDrag = 50;
    double fixedLen1 = 50;
    double fixedLen2 = 100;
    double lastLen1 = 0;
    double lastLen2 = 0;
    std::int32_t state = 0;
};

struct RadiusCornerSettings { // Round Fillet, Reverse Round Fillet
    std::int16_t opeStyle = 0; // 0 free, 1 snap, 2 fixed; other values behave as 0
    double snapSize = 20;
    double fixedRadius = 50;
    double lastRadius = 0; // radius of the last fillet made (shown as curr_info)
};

struct BevelCornerSettings { // Chamfer
    std::int16_t dragStyle = 0;
    double snapSize = 20;
    double fixedDrag = 50;
    double fixedFaceDrag = 50;
    double fixedLen1 = 50;
    double fixedLen2 = 100;
    double last1 = 0;
    double last2 = 0;
    double last3 = 0;
    std::int32_t state = 0;
};

struct EllipseSegSettings { // Semi Ovalization
    std::int16_t opeStyle = 0;
    double snapHeightRatio = 0.2;
    double fixedHeightRatio = 1.0;
    double lastRatio = 0;
};

struct DuplicateSegSettings { // Segment Duplication
    std::int16_t hrzReflect = 0;
    std::int16_t vrtReflect = 0;
};

struct RoughenSegSettings { // Stretch
    std::int16_t opeStyle = 0;
    double width = 20;
    double increment = 2;
    double tempWidth = 1;
    double currentWidth = 20;
};

struct DirectionSettings { // Path Angling, Segment Angling
    double direction = 0;
};

struct LengthSettings { // Path Resizing, Segment Resizing
    double length = 100;
};

struct MirrorSettings { // Reflect Mirroring, Rotate Mirroring
    std::int16_t opeStyle = 0;
    std::int16_t axes = 3;
    std::int16_t clipStyle = 0;
    std::int16_t lastAxes = 3;
};

struct WallPaperSettings { // Wallpaper
    std::int16_t wallpaper = 0;
    std::int16_t extent = 1;
    std::int16_t clipStyle = 0;
    double slant = 0;
    double rotate = 0;
};

// Smart Rounding's parameters: one block for the filter, one for the live effect. Lengths in document
// points, the angle in radians; the block gets its first-use values (5, 2.5, 170 degrees) when it is first
// used, which `initialised` records.
struct SmartRoundParams {
    std::int32_t initialised = 0;
    std::int32_t selectedOnly = 0; // round only anchors in selection state 1
    std::int32_t constant_ratio = 0; // the panel's option, stored and sent back unchanged
    std::int32_t preview = 0;
    double totsu_length = 0; // most length taken along each side of a convex corner; 0 leaves them
    double ou_length = 0;    // the same for concave corners
    double effect_angle = 0; // corners with an inner angle this wide or wider are left alone
};

} // namespace curvicraft

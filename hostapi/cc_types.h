/* Basic types shared by the host and the plug-in: result codes, handles, points, segments, matrices.
 * Plain C layout; nothing here depends on C++. */
#ifndef CURVICRAFT_HOSTAPI_TYPES_H
#define CURVICRAFT_HOSTAPI_TYPES_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* 32-bit result code; 0 is success. */
typedef int32_t CCErr;

/* 'ABCD' as the 32-bit value whose bytes from the most significant down are A, B, C, D. */
#define CC_FOURCC(a, b, c, d) \
    ((CCErr)(((uint32_t)(uint8_t)(a) << 24) | ((uint32_t)(uint8_t)(b) << 16) | ((uint32_t)(uint8_t)(c) << 8) | (uint32_t)(uint8_t)(d)))

#define kCCNoErr 0
#define kCCUnhandledMsgErr CC_FOURCC('!', 'M', 'S', 'G')
#define kCCOutOfMemoryErr CC_FOURCC('!', 'M', 'E', 'M')
#define kCCWantsPurge CC_FOURCC('p', 'F', 'l', 's')
#define kCCBadParameterErr CC_FOURCC('P', 'A', 'R', 'M')
#define kCCStaleHandleErr CC_FOURCC('S', 'T', 'L', 'E')     /* host: the handle names no live object */
#define kCCSuiteNotFoundErr CC_FOURCC('S', '!', 'F', 'd')   /* host: no suite with that name and version */
#define kCCCantAcquireErr CC_FOURCC('!', 'A', 'c', 'q')     /* host: acquisition refused */
#define kCCNotImplementedErr CC_FOURCC('!', 'I', 'M', 'P')  /* host: the service is not offered */
#define kCCTooManySegmentsErr CC_FOURCC('S', 'E', 'G', 'M') /* more anchors than a path can hold */
#define kCCNoDocumentErr CC_FOURCC('?', 'D', 'O', 'C')
#define kCCCantErr CC_FOURCC('C', 'A', 'N', 'T')

/* Plug-in codes the kernel and the filter return. */
#define kCCNoSelectionErr CC_FOURCC('!', 's', 'e', 'l')
#define kCCLockedInGroupErr CC_FOURCC('i', 'U', 'n', 'T')
#define kCCTextPathErr CC_FOURCC('f', 'L', 't', 'P')
#define kCCComplexAppearanceErr CC_FOURCC('U', 'n', 'E', 'x')

/* Opaque handles. The host can tell a stale handle from a live one. */
typedef struct CCPluginOpaque* CCPluginRef;
typedef struct CCAccessOpaque* CCAccessRef;
typedef struct CCArtOpaque* CCArtHandle;
typedef struct CCLayerOpaque* CCLayerHandle;
typedef struct CCNotifierOpaque* CCNotifierHandle;
typedef struct CCToolOpaque* CCToolHandle;
typedef struct CCFilterOpaque* CCFilterHandle;
typedef struct CCMenuItemOpaque* CCMenuItemHandle;
typedef struct CCLiveEffectOpaque* CCLiveEffectHandle;
typedef struct CCAnnotatorOpaque* CCAnnotatorHandle;
typedef struct CCTimerOpaque* CCTimerHandle;
typedef struct CCDocumentOpaque* CCDocumentHandle;
typedef struct CCAppContextOpaque* CCAppContext;
typedef struct CCMemoryOpaque* CCMemoryHandle;

typedef int32_t CCBool32;
typedef uint8_t CCBool8;

typedef struct CCRealPoint {
    double x;
    double y;
} CCRealPoint;

typedef struct CCRealRect {
    double left;
    double top;
    double right;
    double bottom;
} CCRealRect;

/* One anchor of a path with its two direction points. A handle equal to the anchor is retracted. */
typedef struct CCPathSegment {
    CCRealPoint anchor;
    CCRealPoint in;  /* direction point of the curve arriving from the previous anchor */
    CCRealPoint out; /* direction point of the curve leaving toward the next anchor */
    CCBool32 corner; /* 1 corner (independent handles), 0 smooth */
} CCPathSegment;

typedef struct CCBezier {
    CCRealPoint p0, p1, p2, p3;
} CCBezier;

/* Affine matrix: x' = a*x + c*y + tx, y' = b*x + d*y + ty. */
typedef struct CCRealMatrix {
    double a, b, c, d, tx, ty;
} CCRealMatrix;

/* Per-anchor selection state. */
enum {
    kCCSegmentNotSelected = 0,
    kCCSegmentPointSelected = 1,
    kCCSegmentInSelected = 2,
    kCCSegmentOutSelected = 3,
    kCCSegmentInAndOutSelected = 4
};

/* Object attributes (bits). */
enum {
    kCCArtSelected = 1,
    kCCArtLocked = 2,
    kCCArtHidden = 4,
    kCCArtFullySelected = 8
};

/* Object types. */
enum {
    kCCUnknownArt = 0,
    kCCGroupArt = 1,
    kCCPathArt = 2,
    kCCCompoundPathArt = 3,
    kCCTextFrameArt = 4,
    kCCTextPathArt = 5, /* type-on-a-path object: the parent of the path that carries the text */
    kCCTextRunArt = 6,
    kCCPlacedArt = 7,
    kCCMysteryPathArt = 8,
    kCCRasterArt = 9,
    kCCPluginArt = 10,
    kCCMeshArt = 11,
    kCCSymbolArt = 12
};

/* Placement of a new or moved object relative to a reference object. */
enum {
    kCCPlaceAbove = 1,
    kCCPlaceBelow = 2,
    kCCPlaceInsideOnTop = 3,
    kCCPlaceInsideOnBottom = 4,
    kCCPlaceAboveAll = 5,
    kCCPlaceBelowAll = 6
};

/* Largest anchor count of one path (the host counts anchors in 16 bits). */
#define kCCMaxPathSegments 32767

#ifdef __cplusplus
}
#endif

#endif

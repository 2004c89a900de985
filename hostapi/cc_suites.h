/* Suite tables: C structs of function pointers, acquired and released by name and version through the
 * basic suite. Every function returns a CCErr (0 success) unless it is a pure query.
 *
 * A suite table only ever grows at its end, so a plug-in built against an older header keeps working. */
#ifndef CURVICRAFT_HOSTAPI_SUITES_H
#define CURVICRAFT_HOSTAPI_SUITES_H

#include "cc_types.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Names and versions of every suite the plug-in acquires -------------------------------------- */

#define kCCBasicSuite "SP Basic Suite"
#define kCCBasicSuiteVersion 4

#define kCCAccessSuite "SP Access Suite"
#define kCCAccessSuiteVersion 3
#define kCCPluginsSuite "SP Plug-ins Suite"
#define kCCPluginsSuiteVersion 4
#define kCCPluginSuite "AI Plugin Suite"
#define kCCPluginSuiteVersion 5
#define kCCNotifierSuite "AI Notifier Suite"
#define kCCNotifierSuiteVersion 4
#define kCCContextSuite "AI Context Suite"
#define kCCContextSuiteVersion 7
#define kCCTimerSuite "AI Timer Suite"
#define kCCTimerSuiteVersion 5
#define kCCPreferenceSuite "AI Preference Suite"
#define kCCPreferenceSuiteVersion 6
#define kCCFoldersSuite "AI Folders Suite"
#define kCCFoldersSuiteVersion 5
#define kCCFilePathSuite "AI File Path Suite"
#define kCCFilePathSuiteVersion 4
#define kCCBlocksSuite "SP Blocks Suite"
#define kCCBlocksSuiteVersion 2
#define kCCUnicodeStringSuite "AI Unicode String Suite"
#define kCCUnicodeStringSuiteVersion 8
#define kCCCharacterEncodingSuite "AI Character Encoding Suite"
#define kCCCharacterEncodingSuiteVersion 5
#define kCCStringFormatUtilsSuite "AI String Format Utils Suite"
#define kCCStringFormatUtilsSuiteVersion 3
#define kCCUserSuite "AI User Suite"
#define kCCUserSuiteVersion 11
#define kCCURLSuite "AI URL Suite"
#define kCCURLSuiteVersion 3
#define kCCCSXSExtensionSuite "AI CSXS Extension Suite"
#define kCCCSXSExtensionSuiteVersion 2

#define kCCToolSuite "AI Tool Suite"
#define kCCToolSuiteVersion 13
#define kCCFilterSuite "AI Filter Suite"
#define kCCFilterSuiteVersion 4
#define kCCMenuSuite "AI Menu Suite"
#define kCCMenuSuiteVersion 11
#define kCCLiveEffectSuite "AI Live Effect Suite"
#define kCCLiveEffectSuiteVersion 6
#define kCCActionManagerSuite "AI Action Manager Suite"
#define kCCActionManagerSuiteVersion 5
#define kCCDictionarySuite "AI Dictionary Suite"
#define kCCDictionarySuiteVersion 8
#define kCCArtStyleSuite "AI Art Style Suite"
#define kCCArtStyleSuiteVersion 7
#define kCCArtStyleParserSuite "AI Art Style Parser Suite"
#define kCCArtStyleParserSuiteVersion 8

#define kCCArtSuite "AI Art Suite"
#define kCCArtSuiteVersion 17
#define kCCPathSuite "AI Path Suite"
#define kCCPathSuiteVersion 11
#define kCCPathStyleSuite "AI Path Style Suite"
#define kCCPathStyleSuiteVersion 13
#define kCCHitTestSuite "AI Hit Test Suite"
#define kCCHitTestSuiteVersion 6
#define kCCMatchingArtSuite "AI Matching Art Suite"
#define kCCMatchingArtSuiteVersion 7
#define kCCMdMemorySuite "AI MdMemory Suite"
#define kCCMdMemorySuiteVersion 3
#define kCCRealMathSuite "AI Real Math Suite"
#define kCCRealMathSuiteVersion 3
#define kCCRealBezierSuite "AI Real Bezier Suite"
#define kCCRealBezierSuiteVersion 4
#define kCCTransformArtSuite "AI Transform Art Suite"
#define kCCTransformArtSuiteVersion 3
#define kCCLayerSuite "AI Layer Suite"
#define kCCLayerSuiteVersion 13
#define kCCGroupSuite "AI Group Suite"
#define kCCGroupSuiteVersion 5
#define kCCPathfinderSuite "AI Pathfinder Suite"
#define kCCPathfinderSuiteVersion 6
#define kCCExpandSuite "AI Expand Suite"
#define kCCExpandSuiteVersion 4
#define kCCPluginGroupSuite "AI Plugin Group Suite"
#define kCCPluginGroupSuiteVersion 6
#define kCCDocumentSuite "AI Document Suite"
#define kCCDocumentSuiteVersion 14
#define kCCDocumentViewSuite "AI Document View Suite"
#define kCCDocumentViewSuiteVersion 12
#define kCCUndoSuite "AI Undo Suite"
#define kCCUndoSuiteVersion 7
#define kCCAnnotatorSuite "AI Annotator Suite"
#define kCCAnnotatorSuiteVersion 6
#define kCCAnnotatorDrawerSuite "AI Annotator Drawer Suite"
#define kCCAnnotatorDrawerSuiteVersion 5

/* Acquired at start-up and not called. */
#define kCCFixedMathSuite "AI Fixed Math Suite"
#define kCCFixedMathSuiteVersion 4
#define kCCPlacedSuite "AI Placed Suite"
#define kCCPlacedSuiteVersion 8
#define kCCRasterSuite "AI Raster Suite"
#define kCCRasterSuiteVersion 10
#define kCCDocumentListSuite "AI Document List Suite"
#define kCCDocumentListSuiteVersion 8
#define kCCTagSuite "AI Tag Suite"
#define kCCTagSuiteVersion 4
#define kCCFileFormatSuite "AI File Format Suite"
#define kCCFileFormatSuiteVersion 13
#define kCCDataFilterSuite "AI Data Filter Suite"
#define kCCDataFilterSuiteVersion 8
#define kCCTextFrameSuite "AI Text Frame Suite"
#define kCCTextFrameSuiteVersion 4
#define kCCFontSuite "AI Font Suite"
#define kCCFontSuiteVersion 6
#define kCCUserInterfaceThemeSuite "AI User Interface Theme Suite"
#define kCCUserInterfaceThemeSuiteVersion 2
#define kCCRuntimeSuite "AI Runtime Suite"
#define kCCRuntimeSuiteVersion 12

/* ---- Plug-in life ------------------------------------------------------------------------------- */

typedef struct CCBasicSuite {
    /* Fills *suite with the table, or fails with kCCSuiteNotFoundErr for an unknown name or version. */
    CCErr (*AcquireSuite)(const char* name, int32_t version, const void** suite);
    CCErr (*ReleaseSuite)(const char* name, int32_t version);
    CCBool32 (*IsEqual)(const char* a, const char* b);
} CCBasicSuite;

/* Locks a plug-in in memory while an access reference is held. */
typedef struct CCAccessSuite {
    CCErr (*AcquirePlugin)(CCPluginRef plugin, CCAccessRef* access);
    CCErr (*ReleasePlugin)(CCAccessRef access);
} CCAccessSuite;

typedef struct CCPluginsSuite {
    CCErr (*GetPluginName)(CCPluginRef plugin, const char** name);
    CCErr (*GetPluginFilePath)(CCPluginRef plugin, const char** path);
} CCPluginsSuite;

typedef struct CCPluginSuite {
    CCErr (*SetPluginName)(CCPluginRef plugin, const char* name);
    CCErr (*GetPluginName)(CCPluginRef plugin, const char** name);
    CCErr (*GetPluginOptions)(CCPluginRef plugin, int32_t* options);
    CCErr (*SetPluginOptions)(CCPluginRef plugin, int32_t options);
} CCPluginSuite;

typedef struct CCNotifierSuite {
    /* Registers the plug-in for broadcasts of a type; the host then sends "AI Notifier" / "AI Notify". */
    CCErr (*AddNotifier)(CCPluginRef plugin, const char* name, const char* type, CCNotifierHandle* notifier);
    CCErr (*SetNotifierActive)(CCNotifierHandle notifier, CCBool32 active);
    CCErr (*GetNotifierActive)(CCNotifierHandle notifier, CCBool32* active);
    /* Broadcasts a type with a data pointer to every active notifier of that type. */
    CCErr (*Notify)(const char* type, void* notifyData);
} CCNotifierSuite;

typedef struct CCContextSuite {
    CCErr (*PushAppContext)(CCPluginRef plugin, CCAppContext* context);
    CCErr (*PopAppContext)(CCAppContext context);
} CCContextSuite;

/* Block memory; the host tracks every block under its debug name. */
typedef struct CCBlocksSuite {
    CCErr (*AllocateBlock)(size_t size, const char* debugName, void** block);
    CCErr (*FreeBlock)(void* block);
    CCErr (*ReallocateBlock)(void* block, size_t newSize, const char* debugName, void** newBlock);
} CCBlocksSuite;

typedef struct CCUserSuite {
    /* Shows an error alert with a UTF-8 text. */
    CCErr (*ErrorAlert)(const char* text);
    /* A handle through which resource cursors are set. */
    CCErr (*CreateCursorResourceMgr)(CCPluginRef plugin, void** resources);
    CCErr (*DisposeCursorResourceMgr)(void* resources);
    CCErr (*SetCursor)(int32_t cursorId, void* resources);
    /* A number as the host shows it: at most `precision` decimals, trailing zeros dropped. */
    CCErr (*NumberToString)(double value, int16_t precision, char* buffer, int32_t capacity);
    /* Shows a question; the user answers yes (1) or no (0). */
    CCErr (*YesNoAlert)(const char* text, CCBool32* yes);
} CCUserSuite;

/* ---- Documents and art -------------------------------------------------------------------------- */

typedef struct CCArtSuite {
    CCErr (*GetArtType)(CCArtHandle art, int16_t* type);
    /* Reads the attribute bits selected by mask. */
    CCErr (*GetArtUserAttr)(CCArtHandle art, int32_t mask, int32_t* attr);
    /* Sets the bits of mask to those of attr. */
    CCErr (*SetArtUserAttr)(CCArtHandle art, int32_t mask, int32_t attr);
    CCErr (*GetArtParent)(CCArtHandle art, CCArtHandle* parent);
    /* The topmost child in paint order; null when none. */
    CCErr (*GetArtFirstChild)(CCArtHandle art, CCArtHandle* child);
    /* The next object below in paint order; null when none. */
    CCErr (*GetArtSibling)(CCArtHandle art, CCArtHandle* sibling);
    CCErr (*GetArtPriorSibling)(CCArtHandle art, CCArtHandle* sibling);
    /* Pure query: true while the handle names a live object of the document. */
    CCBool32 (*ValidArt)(CCArtHandle art);
    CCErr (*NewArt)(int16_t type, int16_t paintOrder, CCArtHandle prep, CCArtHandle* newArt);
    CCErr (*DisposeArt)(CCArtHandle art);
    CCErr (*ReorderArt)(CCArtHandle art, int16_t paintOrder, CCArtHandle prep);
    CCErr (*DuplicateArt)(CCArtHandle art, int16_t paintOrder, CCArtHandle prep, CCArtHandle* newArt);
    /* The layer group: the root object of a layer's art. */
    CCErr (*GetFirstArtOfLayer)(CCLayerHandle layer, CCArtHandle* art);
    CCErr (*GetLayerOfArt)(CCArtHandle art, CCLayerHandle* layer);
    /* Bounds of the anchors and control points under a matrix (null for identity). */
    CCErr (*GetArtTransformBounds)(CCArtHandle art, const CCRealMatrix* matrix, int32_t flags, CCRealRect* bounds);
} CCArtSuite;

typedef struct CCPathSuite {
    CCErr (*GetPathSegmentCount)(CCArtHandle path, int16_t* count);
    /* Growing adds anchors at the end (copies of the last one); shrinking drops the last ones. */
    CCErr (*SetPathSegmentCount)(CCArtHandle path, int16_t count);
    CCErr (*GetPathSegments)(CCArtHandle path, int16_t first, int16_t count, CCPathSegment* segments);
    /* Replaces records; writing past the end appends. */
    CCErr (*SetPathSegments)(CCArtHandle path, int16_t first, int16_t count, const CCPathSegment* segments);
    /* Inserts before index. */
    CCErr (*InsertPathSegments)(CCArtHandle path, int16_t index, int16_t count, const CCPathSegment* segments);
    CCErr (*DeletePathSegments)(CCArtHandle path, int16_t index, int16_t count);
    CCErr (*GetPathClosed)(CCArtHandle path, CCBool32* closed);
    CCErr (*SetPathClosed)(CCArtHandle path, CCBool32 closed);
    /* Reverses the anchor order and swaps in and out handles. */
    CCErr (*ReversePathSegments)(CCArtHandle path);
    CCErr (*GetPathSegmentSelected)(CCArtHandle path, int16_t index, int16_t* selection);
    CCErr (*SetPathSegmentSelected)(CCArtHandle path, int16_t index, int16_t selection);
    CCErr (*GetPathIsGuide)(CCArtHandle path, CCBool32* isGuide);
    CCErr (*SetPathIsGuide)(CCArtHandle path, CCBool32 isGuide);
    /* Signed area enclosed by the path (an open path is closed by its chord): positive for paths that run
     * clockwise in document coordinates (y up), negative for counter-clockwise ones. */
    CCErr (*GetPathArea)(CCArtHandle path, double* area);
    /* Length of the path's curves (with the closing curve of a closed path); flatness as for Bezier length. */
    CCErr (*GetPathLength)(CCArtHandle path, double* length, double flatness);
} CCPathSuite;

typedef struct CCColor {
    CCBool32 none; /* no paint */
    double red, green, blue; /* 0..1 */
} CCColor;

typedef struct CCPathStyle {
    CCBool32 fillPaint;
    CCBool32 strokePaint;
    CCColor fillColor;
    CCColor strokeColor;
    double strokeWidth;
    CCBool32 evenOddFill;
} CCPathStyle;

typedef struct CCPathStyleSuite {
    CCErr (*GetPathStyle)(CCArtHandle path, CCPathStyle* style);
    CCErr (*SetPathStyle)(CCArtHandle path, const CCPathStyle* style);
} CCPathStyleSuite;

/* One (type, attribute mask, attribute value) triple of a matching request. */
typedef struct CCMatchingArtSpec {
    int16_t type;
    int32_t whichAttr;
    int32_t attr;
} CCMatchingArtSpec;

typedef struct CCMatchingArtSuite {
    /* Every object of the current document, in document order (layers top first, each tree depth first
     * from the topmost object), that matches one of the triples. The list is a memory handle whose block
     * is an array of *count handles; the caller disposes it with the MdMemory suite. */
    CCErr (*GetMatchingArt)(const CCMatchingArtSpec* triples, int16_t numTriples, CCMemoryHandle* matches, int32_t* count);
    CCErr (*GetSelectedArt)(CCMemoryHandle* matches, int32_t* count);
} CCMatchingArtSuite;

typedef struct CCMdMemorySuite {
    CCErr (*NewHandle)(size_t size, CCMemoryHandle* handle);
    CCErr (*DisposeHandle)(CCMemoryHandle handle);
    CCErr (*GetHandleSize)(CCMemoryHandle handle, size_t* size);
    /* The block of a handle; valid until the handle is disposed or resized. */
    CCErr (*GetHandleBlock)(CCMemoryHandle handle, void** block);
} CCMdMemorySuite;

typedef struct CCRealMathSuite {
    double (*PointAngle)(const CCRealPoint* a, const CCRealPoint* b);
    double (*PointLength)(const CCRealPoint* a, const CCRealPoint* b);
    void (*PointLengthAngle)(double length, double angle, CCRealPoint* result);
    CCBool32 (*PointEqual)(const CCRealPoint* a, const CCRealPoint* b);
    void (*PointAdd)(const CCRealPoint* a, const CCRealPoint* b, CCRealPoint* result);
    void (*PointSubtract)(const CCRealPoint* a, const CCRealPoint* b, CCRealPoint* result);
    void (*PointInterpolate)(const CCRealPoint* a, const CCRealPoint* b, double t, CCRealPoint* result);
    double (*RealSin)(double angle);
    double (*RealCos)(double angle);
    /* a / b, or +-1.7976931348623158e+307 when b is 0. */
    double (*RealDivide)(double a, double b);
    void (*MatrixSetIdentity)(CCRealMatrix* m);
    void (*MatrixSetTranslate)(CCRealMatrix* m, double tx, double ty);
    void (*MatrixSetRotate)(CCRealMatrix* m, double angle);
    void (*MatrixSetScale)(CCRealMatrix* m, double sx, double sy);
    /* Append an operation: it applies after those already in the matrix. */
    void (*MatrixConcatTranslate)(CCRealMatrix* m, double tx, double ty);
    void (*MatrixConcatRotate)(CCRealMatrix* m, double angle);
    void (*MatrixConcatScale)(CCRealMatrix* m, double sx, double sy);
    /* m := m then other. */
    void (*MatrixConcat)(const CCRealMatrix* m, const CCRealMatrix* other, CCRealMatrix* result);
    void (*MatrixXformPoint)(const CCRealMatrix* m, const CCRealPoint* p, CCRealPoint* result);
    CCBool32 (*MatrixInvert)(CCRealMatrix* m);
    CCBool32 (*PointInRect)(const CCRealPoint* p, const CCRealRect* r);
} CCRealMathSuite;

/* Transform option flags. */
enum {
    kCCTransformObjects = 1,
    kCCTransformFillPatterns = 2,
    kCCTransformStrokePatterns = 4,
    kCCScaleLines = 8
};

typedef struct CCTransformArtSuite {
    CCErr (*TransformArt)(CCArtHandle art, const CCRealMatrix* matrix, double lineScale, int32_t flags);
} CCTransformArtSuite;

typedef struct CCLayerSuite {
    CCErr (*CountLayers)(int32_t* count);
    /* Layer 0 is the topmost. */
    CCErr (*GetNthLayer)(int32_t index, CCLayerHandle* layer);
    CCErr (*GetCurrentLayer)(CCLayerHandle* layer);
    CCErr (*SetCurrentLayer)(CCLayerHandle layer);
    CCErr (*GetFirstLayer)(CCLayerHandle* layer);
    CCErr (*GetNextLayer)(CCLayerHandle layer, CCLayerHandle* next);
    CCErr (*GetLayerEditable)(CCLayerHandle layer, CCBool32* editable);
    CCErr (*SetLayerEditable)(CCLayerHandle layer, CCBool32 editable);
    CCErr (*GetLayerVisible)(CCLayerHandle layer, CCBool32* visible);
    CCErr (*SetLayerVisible)(CCLayerHandle layer, CCBool32 visible);
    CCErr (*GetLayerTitle)(CCLayerHandle layer, const char** title);
} CCLayerSuite;

typedef struct CCGroupSuite {
    CCErr (*GetGroupClipped)(CCArtHandle group, CCBool32* clipped);
    CCErr (*SetGroupClipped)(CCArtHandle group, CCBool32 clipped);
} CCGroupSuite;

/* Expand option flags. */
enum {
    kCCExpandFill = 1,
    kCCExpandPluginArt = 2,
    kCCExpandStroke = 4
};

typedef struct CCExpandSuite {
    /* Replaces the object by what it draws: with kCCExpandStroke a stroked path becomes a filled outline. */
    CCErr (*Expand)(CCArtHandle art, int32_t flags, int32_t steps);
} CCExpandSuite;

/* ---- Tools, hit testing, undo, views and annotations --------------------------------------------- */

/* A tool number the host gives for "open a new group / toolset" in CCAddToolData. */
#define kCCNewToolGroup (-2)

typedef struct CCAddToolData {
    const char* title;   /* shown in the palette; UTF-8 */
    const char* tooltip;
    int32_t iconId;      /* light interface */
    int32_t darkIconId;  /* dark interface */
    int32_t sameGroupAs;   /* tool number, or kCCNewToolGroup */
    int32_t sameToolsetAs; /* tool number, or kCCNewToolGroup */
} CCAddToolData;

typedef struct CCToolSuite {
    CCErr (*AddTool)(CCPluginRef plugin, const char* name, const CCAddToolData* data, int32_t options, CCToolHandle* tool);
    CCErr (*GetToolNumberFromHandle)(CCToolHandle tool, int32_t* number);
    CCErr (*GetToolHandleFromNumber)(int32_t number, CCToolHandle* tool);
    CCErr (*GetSelectedTool)(CCToolHandle* tool); /* null when no tool of a plug-in is selected */
    CCErr (*SetSelectedTool)(CCToolHandle tool);
    CCErr (*GetToolTitle)(CCToolHandle tool, const char** title);
    CCErr (*GetToolOptions)(CCToolHandle tool, int32_t* options);
    CCErr (*SetToolOptions)(CCToolHandle tool, int32_t options);
} CCToolSuite;

/* Hit request kinds. */
enum {
    kCCHitAll = 0,        /* anything: anchors, handles of selected paths, curves, fills, other art */
    kCCHitSnapPoints = 3, /* the whole document, snapping to anchors and centre points, locked art too */
    kCCHitTool = 8        /* paths only: anchors, handles of selected paths, curves; the point snaps to anchors */
};

/* Hit parts. */
enum {
    kCCHitAnchorPart = 0,
    kCCHitOutPart = 1,   /* out direction point */
    kCCHitInPart = 2,    /* in direction point */
    kCCHitCurvePart = 3, /* curve interior; t is the parameter on the curve numbered by its end anchor */
    kCCHitFillPart = 4,
    kCCHitBoundsPart = 5, /* inside the bounds of art that is not a path */
    kCCHitCenterPart = 6
};

/* What a hit test found; the layout of the tools' hit record. */
typedef struct CCHitData {
    CCBool32 hit;
    int16_t part;
    int16_t segment;   /* anchor for parts 0-2, the curve's end anchor for part 3 */
    CCArtHandle art;   /* the object hit */
    CCArtHandle group; /* its parent */
    CCRealPoint point; /* the hit point: snapped to an anchor or handle, or the nearest point on the curve */
    double t;
} CCHitData;

typedef struct CCHitTestSuite {
    /* Hit-tests at a document point, inside one object or (null) the whole document, with a tolerance of a
     * few view pixels at the current zoom. Nothing hit is no error: hit is 0 and point is the given point. */
    CCErr (*HitTest)(CCArtHandle art, const CCRealPoint* point, int32_t request, CCHitData* hit);
    CCErr (*GetTolerance)(double* pixels);
    CCErr (*SetTolerance)(double pixels);
} CCHitTestSuite;

typedef struct CCUndoSuite {
    /* Reverts the document to the start of the current transaction (the press or the command). */
    CCErr (*UndoChanges)(void);
    CCErr (*SetUndoText)(const char* undoText, const char* redoText);
    CCErr (*CountTransactions)(int32_t* past, int32_t* future);
} CCUndoSuite;

/* Ruler units. */
enum {
    kCCUnitsPoints = 0,
    kCCUnitsInches = 1,
    kCCUnitsCentimeters = 2,
    kCCUnitsMillimeters = 3,
    kCCUnitsPicas = 4,
    kCCUnitsPixels = 5,
    kCCUnitsQ = 6
};

typedef struct CCDocumentSuite {
    /* kCCNoDocumentErr when no document is open. */
    CCErr (*GetDocument)(CCDocumentHandle* document);
    CCErr (*GetDocumentRulerUnits)(int16_t* units);
    CCErr (*RedrawDocument)(void);
    CCErr (*GetDocumentSize)(double* width, double* height);
} CCDocumentSuite;

/* View coordinates: pixels, y down, origin at the view's top left. */
typedef struct CCPoint32 {
    int32_t h;
    int32_t v;
} CCPoint32;

typedef struct CCRect32 {
    int32_t left, top, right, bottom;
} CCRect32;

typedef struct CCDocumentViewSuite {
    CCErr (*GetDocumentViewZoom)(double* zoom);
    CCErr (*SetDocumentViewZoom)(double zoom);
    CCErr (*ArtworkPointToViewPoint)(const CCRealPoint* artwork, CCPoint32* view);
    CCErr (*ViewPointToArtworkPoint)(const CCPoint32* view, CCRealPoint* artwork);
    CCErr (*GetDocumentViewBounds)(CCRealRect* bounds); /* the visible document area */
} CCDocumentViewSuite;

typedef struct CCAnnotatorSuite {
    CCErr (*AddAnnotator)(CCPluginRef plugin, const char* name, CCAnnotatorHandle* annotator);
    CCErr (*SetAnnotatorActive)(CCAnnotatorHandle annotator, CCBool32 active);
    CCErr (*GetAnnotatorActive)(CCAnnotatorHandle annotator, CCBool32* active);
    /* Asks the host to redraw a view area; it sends "AI Annotation" / "AI Invalidate" and, at the next
     * redraw, "AI Draw" to every active annotator. */
    CCErr (*InvalAnnotationRect)(const CCRect32* rect);
} CCAnnotatorSuite;

typedef struct CCRGBColor16 {
    uint16_t red, green, blue;
} CCRGBColor16;

/* Drawing in view coordinates through the drawer of an "AI Draw" message. */
typedef struct CCAnnotatorDrawerSuite {
    CCErr (*SetColor)(void* drawer, const CCRGBColor16* color);
    CCErr (*DrawLine)(void* drawer, const CCPoint32* from, const CCPoint32* to);
    CCErr (*DrawRect)(void* drawer, const CCRect32* rect, CCBool32 fill);
    CCErr (*DrawText)(void* drawer, const char* text, const CCPoint32* origin);
    /* The rectangle a text occupies when drawn at origin (its top at origin.v - ascent). */
    CCErr (*GetTextBounds)(void* drawer, const char* text, const CCPoint32* origin, CCRect32* bounds);
    CCErr (*DrawPoint)(void* drawer, const CCPoint32* at, int32_t size);
} CCAnnotatorDrawerSuite;


typedef struct CCRealBezierSuite {
    void (*Set)(CCBezier* b, const CCRealPoint* p0, const CCRealPoint* p1, const CCRealPoint* p2, const CCRealPoint* p3);
    void (*Evaluate)(const CCBezier* b, double t, CCRealPoint* point);
    void (*Tangent)(const CCBezier* b, double t, CCRealPoint* tangent);
    /* De Casteljau division at t: first covers [0, t], second [t, 1]. */
    void (*Divide)(const CCBezier* b, double t, CCBezier* first, CCBezier* second);
    /* Arc length; flatness bounds the error from above (the host measures far more closely). */
    double (*Length)(const CCBezier* b, double flatness);
    /* Parameter at which the arc length from the start reaches length (clamped to [0, 1]). */
    double (*ParameterAtLength)(const CCBezier* b, double length, double flatness);
} CCRealBezierSuite;

/* ---- Filters, menus and actions ------------------------------------------------------------------- */

typedef struct CCActionParamTypeOpaque* CCActionParamTypeRef;
typedef struct CCActionParamValueOpaque* CCActionParamValueRef;

typedef struct CCFilterSuite {
    /* Adds a filter command under a menu category; the host sends "AI Filter" messages for it. */
    CCErr (*AddFilter)(CCPluginRef plugin, const char* name, const char* category, const char* title, int32_t options,
                       CCFilterHandle* filter);
    CCErr (*GetFilterName)(CCFilterHandle filter, const char** name);
    CCErr (*GetFilterMenuItem)(CCFilterHandle filter, CCMenuItemHandle* item);
} CCFilterSuite;

typedef struct CCMenuSuite {
    /* Lets the host enable the item by itself: action (1 enable) and six criteria of the artwork. */
    CCErr (*UpdateMenuItemAutomatically)(CCMenuItemHandle item, int32_t action, int32_t ifObjectIsInArtwork,
                                         int32_t ifObjectIsNotInArtwork, int32_t ifIsSelected, int32_t ifIsNotSelected,
                                         int32_t ifIsTrue, int32_t ifIsFalse);
    CCErr (*GetMenuItemTitle)(CCMenuItemHandle item, const char** title);
} CCMenuSuite;

/* Value types of action parameters, and units of real values. */
#define kCCActionTypeBool CC_FOURCC('b', 'o', 'o', 'l')
#define kCCActionTypeReal CC_FOURCC('r', 'e', 'a', 'l')
#define kCCActionUnitPixels CC_FOURCC('#', 'P', 'x', 'l')
#define kCCActionUnitAngle CC_FOURCC('#', 'A', 'n', 'g')
/* A parameter block has no value under the key asked for. */
#define kCCActionKeyNotFoundErr CC_FOURCC('K', 'E', 'Y', '?')

typedef struct CCActionManagerSuite {
    /* A parameter description: one (key, label, value type, shown in the dialog) entry per parameter. */
    CCErr (*NewParamType)(CCActionParamTypeRef* type);
    CCErr (*DisposeParamType)(CCActionParamTypeRef type);
    CCErr (*SetParamTypeKey)(CCActionParamTypeRef type, int32_t key, const char* label, int32_t valueType,
                             CCBool32 showInDialog);
    /* Registers an action the host can record and play back; the host copies the description. */
    CCErr (*RegisterAction)(CCPluginRef plugin, const char* name, const char* displayText, int32_t version,
                            int32_t flags, CCActionParamTypeRef type);
    /* True while the host records the user's commands. */
    CCErr (*InRecordMode)(CCBool32* recording);
    /* Parameter blocks: values under four-character keys. */
    CCErr (*NewParamValue)(CCActionParamValueRef* value);
    CCErr (*DisposeParamValue)(CCActionParamValueRef value);
    CCErr (*GetBoolean)(CCActionParamValueRef value, int32_t key, CCBool32* result);
    CCErr (*SetBoolean)(CCActionParamValueRef value, int32_t key, CCBool32 flag);
    CCErr (*GetUnitReal)(CCActionParamValueRef value, int32_t key, int32_t* unit, double* result);
    CCErr (*SetUnitReal)(CCActionParamValueRef value, int32_t key, int32_t unit, double number);
    /* Records one event of an action with a dialog mode and a copy of the block. */
    CCErr (*RecordActionEvent)(const char* name, int32_t dialogMode, CCActionParamValueRef value);
} CCActionManagerSuite;
/* ---- Folders, file paths, strings, preferences and extensions ------------------------------------ */

/* A text the host owns; the plug-in disposes what it is given. */
typedef struct CCUnicodeStringOpaque* CCUnicodeString;
/* A file system path the host owns; the plug-in disposes what it is given. */
typedef struct CCFilePathOpaque* CCFilePath;

typedef struct CCUnicodeStringSuite {
    CCErr (*NewFromUTF8)(const char* text, CCUnicodeString* string);
    CCErr (*Dispose)(CCUnicodeString string);
    /* The text as UTF-8, NUL-terminated; valid until the string is disposed. */
    CCErr (*GetUTF8)(CCUnicodeString string, const char** text);
    /* The text as code points (not NUL-terminated); valid until the string is disposed. */
    CCErr (*GetUTF32)(CCUnicodeString string, const uint32_t** codePoints, size_t* length);
} CCUnicodeStringSuite;

typedef struct CCFilePathSuite {
    CCErr (*NewFilePath)(CCUnicodeString text, CCFilePath* path);
    CCErr (*DisposeFilePath)(CCFilePath path);
    /* Appends one component (a file or folder name) to the path. */
    CCErr (*AddComponent)(CCFilePath path, CCUnicodeString component);
    /* Pure query: whether a file or folder exists at the path. */
    CCBool32 (*Exists)(CCFilePath path);
    /* A new string with the absolute path. */
    CCErr (*GetFullPath)(CCFilePath path, CCUnicodeString* text);
} CCFilePathSuite;

/* Folder types. */
enum {
    kCCApplicationFolder = 0,
    kCCPreferencesFolder = 1
};

typedef struct CCFoldersSuite {
    /* A new path of one of the host's folders. */
    CCErr (*FindFolder)(int32_t type, CCBool32 create, CCFilePath* folder);
} CCFoldersSuite;

typedef struct CCPreferenceSuite {
    /* Leaves *value untouched when the key is absent. */
    CCErr (*GetBooleanPreference)(const char* prefix, const char* key, CCBool32* value);
    CCErr (*PutBooleanPreference)(const char* prefix, const char* key, CCBool32 value);
} CCPreferenceSuite;

/* Extension states. */
enum {
    kCCExtensionUnknown = 0,
    kCCExtensionUnloaded = 1,
    kCCExtensionLoaded = 2
};

typedef struct CCCSXSExtensionSuite {
    CCErr (*GetExtensionState)(const char* extensionId, int32_t* state);
} CCCSXSExtensionSuite;

#ifdef __cplusplus
}
#endif

#endif

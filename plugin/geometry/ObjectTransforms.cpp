#include "ObjectTransforms.h"

#include "ArtSelection.h"
#include "host/Suites.h"

namespace curvicraft {

CCErr transformArtTree(ArtHandle art, const RealMatrix& matrix, std::int32_t flags)
{
    ArtType type = ArtType::Unknown;
    CCErr err = getArtType(art, &type);
    if (err != kCCNoErr)
        return err;
    if (type != ArtType::Group && type != ArtType::CompoundPath)
        return sTransformArt->TransformArt(art, &matrix, 1.0, flags);
    ArtHandle child = nullptr;
    err = sArt->GetArtFirstChild(art, &child);
    while (err == kCCNoErr && child != nullptr) {
        if ((err = transformArtTree(child, matrix, flags)) != kCCNoErr)
            return err;
        err = sArt->GetArtSibling(child, &child);
    }
    return err;
}

RealMatrix reflectionMatrix(const RealPoint& origin, double angle)
{
    RealMatrix m{};
    sRealMath->MatrixSetTranslate(&m, -origin.x, -origin.y);
    sRealMath->MatrixConcatRotate(&m, -angle);
    sRealMath->MatrixConcatScale(&m, 1, -1);
    sRealMath->MatrixConcatRotate(&m, angle);
    sRealMath->MatrixConcatTranslate(&m, origin.x, origin.y);
    return m;
}

CCErr transformArtAbout(ArtHandle art, double angle, double sx, double sy, const RealPoint& origin)
{
    RealMatrix m{};
    sRealMath->MatrixSetTranslate(&m, -origin.x, -origin.y);
    if (angle != 0)
        sRealMath->MatrixConcatRotate(&m, angle);
    if (sx != 1 || sy != 1)
        sRealMath->MatrixConcatScale(&m, sx, sy);
    sRealMath->MatrixConcatTranslate(&m, origin.x, origin.y);
    return transformArtTree(art, m, kTransformObjectOptions);
}

CCErr scaleArtAbout(ArtHandle art, double sx, double sy, const RealPoint& origin)
{
    RealMatrix m{};
    sRealMath->MatrixSetTranslate(&m, -origin.x, -origin.y);
    sRealMath->MatrixConcatScale(&m, sx, sy);
    sRealMath->MatrixConcatTranslate(&m, origin.x, origin.y);
    return transformArtTree(art, m, kTransformAllOptions);
}

CCErr scaleMoveArtAbout(ArtHandle art, double sx, double sy, double dx, double dy, const RealPoint& origin)
{
    RealMatrix m{};
    sRealMath->MatrixSetTranslate(&m, -origin.x, -origin.y);
    sRealMath->MatrixConcatScale(&m, sx, sy);
    sRealMath->MatrixConcatTranslate(&m, origin.x + dx, origin.y + dy);
    return transformArtTree(art, m, kTransformAllOptions);
}

CCErr reflectArtAcross(ArtHandle art, double angle, const RealPoint& origin)
{
    return transformArtTree(art, reflectionMatrix(origin, angle), kTransformAllOptions);
}

CCErr rotateArtAbout(ArtHandle art, double angle, const RealPoint& origin)
{
    RealMatrix m{};
    sRealMath->MatrixSetTranslate(&m, -origin.x, -origin.y);
    sRealMath->MatrixConcatRotate(&m, angle);
    sRealMath->MatrixConcatTranslate(&m, origin.x, origin.y);
    return transformArtTree(art, m, kTransformAllOptions);
}

CCErr translateArt(ArtHandle art, double dx, double dy)
{
    RealMatrix m{};
    sRealMath->MatrixSetTranslate(&m, dx, dy);
    return transformArtTree(art, m, kTransformAllOptions);
}

void reflectPointAcross(RealPoint& point, const RealPoint& origin, double angle)
{
    RealMatrix m = reflectionMatrix(origin, angle);
    RealPoint in = point;
    sRealMath->MatrixXformPoint(&m, &in, &point);
}

} // namespace curvicraft

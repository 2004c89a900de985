#include "CursorLabel.h"

#include "ToolCtrlr.h"
#include "host/Suites.h"

#include <string>

namespace curvicraft {

namespace {

constexpr int kLabelOffset = 16; // pixels right and down from the cursor
constexpr CCRGBColor16 kLabelFill{0xCCCC, 0xCCCC, 0xCCCC};
constexpr CCRGBColor16 kLabelText{0, 0, 0};

} // namespace

CCErr cursorLabel(void* drawer, ToolCtrlr& ctrlr, const RealPoint& labelPoint, CCRect32* area)
{
    *area = CCRect32{};
    std::string info;
    if (const CCErr err = ctrlr.currentInfo(info))
        return err;
    if (info.empty())
        return kCCNoErr;

    CCPoint32 origin{};
    if (const CCErr err = sDocumentView->ArtworkPointToViewPoint(&labelPoint, &origin))
        return err;
    origin.h += kLabelOffset;
    origin.v += kLabelOffset;

    CCRect32 box{};
    if (const CCErr err = sAnnotatorDrawer->GetTextBounds(drawer, info.c_str(), &origin, &box))
        return err;
    // The text hangs below the offset point rather than standing on it, so it clears the cursor.
    const std::int32_t height = box.bottom - box.top;
    box.top += height;
    box.bottom += height;
    origin.v += height;
    *area = box; // from here on something may be on screen that the next step must clear

    if (const CCErr err = sAnnotatorDrawer->SetColor(drawer, &kLabelFill))
        return err;
    if (const CCErr err = sAnnotatorDrawer->DrawRect(drawer, &box, 1))
        return err;
    if (const CCErr err = sAnnotatorDrawer->SetColor(drawer, &kLabelText))
        return err;
    if (const CCErr err = sAnnotatorDrawer->DrawText(drawer, info.c_str(), &origin))
        return err;
    return kCCNoErr;
}

} // namespace curvicraft

#include "ui/ScaledBitmaps.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "res/resource.h"

namespace stratigon::ui {

namespace {

constexpr int kDrawnPercents[] = {100, 150, 200};

constexpr std::array<UINT, std::size(kDrawnPercents)> kDrawings[] = {
    {IDB_LOGO, IDB_LOGO_150, IDB_LOGO_200},
    {IDB_PRODUCT_PICTURE, IDB_PRODUCT_PICTURE_150, IDB_PRODUCT_PICTURE_200},
    {IDB_STATUS_LOGO, IDB_STATUS_LOGO_150, IDB_STATUS_LOGO_200},
};

}  // namespace

UINT BitmapForScale(UINT bitmapId, const win32::DpiScale& scale)
{
    const auto* drawings = std::find_if(std::begin(kDrawings), std::end(kDrawings),
                                        [&](const auto& sizes) { return sizes[0] == bitmapId; });
    return drawings == std::end(kDrawings) ? bitmapId : (*drawings)[scale.Choose(kDrawnPercents)];
}

}  // namespace stratigon::ui

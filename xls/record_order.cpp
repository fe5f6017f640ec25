#include "xls/record_order.h"

#include <algorithm>

#include "xls/record_ids.h"

namespace levara::xls {

namespace {

using namespace rec;

// clang-format off
constexpr std::uint16_t kGlobals[] = {
    kBof,       kInterfaceHdr, kMms,      kInterfaceEnd, kWriteAccess, kCodePage,    kDsf,
    kTabId,     kFnGroupCount, kWindowProtect, kProtect, kPassword,    kProt4Rev,    kProt4RevPass,
    kBackup,    kHideObj,      kWindow1,  kDateMode,     kPrecision,   kRefreshAll,  kBookBool,
    kFont,      kFormat,       kXf,       kStyle,        kBoundSheet,  kCountry,     kSupBook,
    kExternSheet, kName,       kSst,      kExtSst,       kEof,
};

constexpr std::uint16_t kWorksheet[] = {
    kBof,          kIndex,        kCalcMode,       kCalcCount,  kRefMode,     kIteration,        kDelta,
    kSaveRecalc,   kPrintHeaders, kPrintGridlines, kGridSet,    kGuts,        kDefaultRowHeight, kWsBool,
    kHorizontalPageBreaks,        kHeader,         kFooter,     kHCenter,     kVCenter,          kLeftMargin,
    kRightMargin,  kTopMargin,    kBottomMargin,   kSetup,      kDefColWidth, kColInfo,          kDimensions,
    kCellTableSlot, kWindow2,     kPlv,            kScl,        kPane,        kSelection,        kMergedCells,
    kEof,
};
// clang-format on

}  // namespace

std::span<const std::uint16_t> globalsOrder() { return kGlobals; }
std::span<const std::uint16_t> worksheetOrder() { return kWorksheet; }

int rankIn(std::span<const std::uint16_t> order, std::uint16_t type)
{
    const auto it = std::find(order.begin(), order.end(), type);
    return it == order.end() ? -1 : int(it - order.begin());
}

}  // namespace levara::xls

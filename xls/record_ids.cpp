#include "xls/record_ids.h"

namespace levara::xls::rec {

std::size_t minimumBody(std::uint16_t type)
{
    switch (type) {
    case kBof: return 4;
    case kBoundSheet: return 8;
    case kSst: return 8;
    case kExtSst: return 2;
    case kXf: return 20;
    case kFormat: return 2;
    case kRow: return 16;
    case kBlank: return 6;
    case kNumber: return 14;
    case kRk: return 10;
    case kLabelSst: return 10;
    case kLabel:
    case kRString: return 8;
    case kBoolErr: return 8;
    case kFormula: return 20;
    case kMulRk: return 12;
    case kMulBlank: return 8;
    case kDbCell: return 4;
    case kIndex: return 16;
    case kDimensions: return 14;
    case kMergedCells: return 2;
    case kColInfo: return 10;
    case kDefaultRowHeight: return 4;
    case kXfCrc: return 20;
    default: return 0;
    }
}

bool isCellRecord(std::uint16_t type)
{
    switch (type) {
    case kBlank:
    case kMulBlank:
    case kNumber:
    case kRk:
    case kMulRk:
    case kLabelSst:
    case kLabel:
    case kRString:
    case kBoolErr:
    case kFormula: return true;
    default: return false;
    }
}

bool isFormulaFollower(std::uint16_t type)
{
    return type == kString || type == kShrFmla || type == kArray || type == kTable;
}

}  // namespace levara::xls::rec

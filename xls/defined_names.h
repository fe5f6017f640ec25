#pragma once
// The NAME records of the workbook globals as the engine reads them: which name, of
// which sheet, and the cells or the number its formula stands for.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "xls/workbook_data.h"

namespace levara::xls {

struct DefinedName {
    std::u16string name;  // a built-in name: its one-character code
    bool builtin = false;
    std::uint16_t sheet = 0;  // 0 for the whole workbook, else its BOUNDSHEET index + 1
    std::string_view formula;
};

// The name a NAME record body holds; nothing when the body is too short for it.
std::optional<DefinedName> readDefinedName(std::string_view body);

// Whether two names are the same name: ASCII letters match either case.
bool sameName(std::u16string_view a, std::u16string_view b);

// The cells of the workbook's own sheets a formula refers to: each area's sheet (its
// BOUNDSHEET index) and range. Formulas of 3-D references only, as names hold them
// (print titles of rows and columns are a list of two); empty for any other formula.
struct SheetArea {
    std::uint16_t sheet = 0;
    Range range;
};
std::vector<SheetArea> formulaAreas(const std::vector<Item>& globals, std::string_view formula);

// The number a formula of one number token stands for.
std::optional<double> formulaNumber(std::string_view formula);

}  // namespace levara::xls

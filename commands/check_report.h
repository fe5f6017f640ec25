#pragma once
// The checks' findings as the front ends show them: a list row's cells, a line of
// levara-cli's output, the summary, and CSV. Numbers are written with "." whatever
// the locale.
#include <string>
#include <vector>

#include "books/books.h"
#include "leveling/leveling.h"
#include "records/records.h"

namespace levara {

// The cells of a finding in the window's list: 数值, 限差 and 依据 (the others are the
// line, the station and the point as they are). Values carry their units.
std::string findingValueText(const leveling::Finding& finding);
Message findingLimitText(const leveling::Finding& finding);
std::string findingSourceText(const leveling::Finding& finding);  // "GB/T 12897-2006 (v)"

// "line 12, station 3, TP2: sight length 50.010 m, limit 3 … 50 m (GB/T 12897-2006, v)".
Message findingLine(const leveling::Finding& finding);
// How many values exceed, in how many stations and lines; or that all are within.
// Without a standard (the level's results only): how many stations differ from them.
Message checkSummary(const leveling::CheckReport& report);
// "line 12: station 3 (TP2): differs from the instrument's computation: …" ("与仪器计算不符"),
// or where the file lacks a station "line 12: station 3 (TP2): warning: the instrument's
// sums include a station missing from the file (…): …". Values in metres to 0.01 mm.
Message instrumentLine(const leveling::InstrumentDisagreement& disagreement);
// What the instrument's value rests on, or why the file lacks a station: the 依据 of
// the disagreement's row.
Message instrumentReason(const leveling::InstrumentDisagreement& disagreement);

// Whether the fault is a leveling line whose observation order the text does not name
// (none, or one Levara does not read): a front end may ask for the order and check
// again with it.
bool isUnknownOrder(const InputError& fault);

// A header and one row per finding, each line ended by "\n"; the item in the user's
// language.
// M_Δ and M_W where the text gives them and the standard a limit, each as a finding's
// row (over its limit or not): its value, its limit and the last line of its table.
std::vector<leveling::Finding> precisionRows(const leveling::CheckReport& report);
// The instrument check's rows (InstrumentDiffers, StationMissing): the value the books'
// height difference, lower and upper the instrument's, the source instrumentReason.
std::vector<leveling::Finding> instrumentRows(const leveling::CheckReport& report);
// The findings the list shows: those of values, then instrumentRows, then precisionRows.
std::vector<leveling::Finding> listedRows(const leveling::CheckReport& report);

// The 精度评定 as levara-cli prints it: for M_Δ and for M_W where given, a line with
// its value and limit, then its table's rows (section or loop, R or F, Δ or W, ΔΔ/R or
// WW/F).
std::vector<Message> precisionText(const leveling::CheckReport& report);

// A header and one row per listed row (listedRows), each line ended by "\n"; the item
// in the user's language.
std::string findingsCsv(const leveling::CheckReport& report);

}  // namespace levara

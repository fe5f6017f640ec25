#pragma once
// The heading fields a text carries, written where the template's names say.
#include <string>

#include "leveling/leveling.h"
#include "records/records.h"
#include "xls/xls.h"

namespace levara::books {

// What a text says of itself: 工程名称 from its first text record ("Proj: …", or
// the file name a level writes first), 线路名称 and 观测顺序 from the first
// "Start-Line" record, 日期 and 仪器 from the first "Date:" and "Instr:" records,
// 测自…至… from the first reading's point and the last fore reading's point, and
// the first and last reading's time where the reading rows carry one.
struct Heading {
    std::string project;
    std::string lineNumber, method;
    std::string date, instrument;
    std::string firstPoint, lastPoint;
    std::string startTime, endTime;
};

Heading readHeading(const TextLines& lines);

// heading, each empty field taken from fallback: a filtered text has lost the
// records the file as opened had.
Heading completedBy(Heading heading, const Heading& fallback);

// Each field goes to the cell of the worksheet's name of that field ("工程名称",
// "线路名称", "观测顺序", "日期", "仪器", "测段", "时间", "检核标准"), after the label
// the cell holds (up to its "：" or ":"), when the cell has one. An empty field, or a
// name the template lacks, leaves the heading as it is. "检核标准" says the standard the
// book was held to, or "未检核".
void writeHeading(xls::Worksheet& sheet, const Heading& heading, const leveling::Standard* standard);

}  // namespace levara::books

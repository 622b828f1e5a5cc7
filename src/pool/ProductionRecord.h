#pragma once

#include <string>
#include <vector>

#include "pool/ImeiPool.h"

namespace tolvane {

// The production record as CSV (RFC 4180, UTF-8, a header line first): which IMEI went into which
// unit, when, on which bench, and whether it stuck. A cell that a spreadsheet would run as a
// formula starts with an apostrophe.
std::string ProductionRecordCsv(const std::vector<CPoolRecord>& records);
// Its header line and one record's line, for a record written as the pool is read.
std::string ProductionRecordCsvHeader();
std::string ProductionRecordCsvLine(const CPoolRecord& record);

}  // namespace tolvane

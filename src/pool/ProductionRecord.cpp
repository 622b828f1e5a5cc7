#include "pool/ProductionRecord.h"

#include <string_view>

namespace tolvane {

namespace {

std::string Cell(const std::string& value) {
  std::string cell = value;
  // Station names and device reports are typed by people or sent by devices.
  // A spreadsheet takes a cell that begins with any of these for a formula.
  if (!cell.empty() && std::string_view("=+-@\t\r").find(cell[0]) != std::string_view::npos) cell.insert(0, "'");
  if (cell.find_first_of(",\"\r\n") != std::string::npos) {
    std::string quoted = "\"";
    for (const char c : cell) {
      if (c == '"') quoted += '"';
      quoted += c;
    }
    cell = quoted + "\"";
  }
  return cell;
}

}  // namespace

std::string ProductionRecordCsvHeader() {
  return "imei,state,station,port,usb_serial,imei_before,imei_after,settings_after,steps,detail,imported_at,"
         "claimed_at,reported_at,label\r\n";
}

std::string ProductionRecordCsvLine(const CPoolRecord& record) {
  std::string line;
  const char* separator = "";
  for (const std::string* field :
       {&record.imei, &record.state, &record.station, &record.port, &record.usbSerial, &record.imeiBefore,
        &record.imeiAfter, &record.settingsAfter, &record.steps, &record.detail, &record.importedAt, &record.claimedAt,
        &record.reportedAt, &record.label}) {
    line += separator;
    line += Cell(*field);
    separator = ",";
  }
  return line + "\r\n";
}

std::string ProductionRecordCsv(const std::vector<CPoolRecord>& records) {
  std::string csv = ProductionRecordCsvHeader();
  for (const CPoolRecord& record : records) csv += ProductionRecordCsvLine(record);
  return csv;
}

}  // namespace tolvane

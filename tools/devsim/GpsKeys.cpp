#include <chrono>
#include <cstdio>
#include <ctime>

#include "DeviceKeys.h"

namespace tolvane::devsim {

namespace {

using namespace std::chrono_literals;

// Once a second while GPS is on, as a receiver delivers its sentences.
constexpr auto kFixPeriod = 1s;
// Seconds of searching before the first fix.
constexpr int kSecondsToFix = 6;

// "$" + body + "*" + the XOR of the body's bytes in two hex digits, and the line end NMEA gives.
std::string Sentence(const std::string& body) {
  unsigned char checksum = 0;
  for (const char c : body) checksum ^= static_cast<unsigned char>(c);
  char tail[8];
  std::snprintf(tail, sizeof tail, "*%02X\r\n", checksum);
  return "$" + body + tail;
}

std::tm UtcNow() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm utc{};
  gmtime_r(&now, &utc);
  return utc;
}

// Zero-padded to `width` digits, as NMEA fields are.
std::string Digits(int value, std::size_t width) {
  std::string text = std::to_string(value);
  if (text.size() < width) text.insert(0, width - text.size(), '0');
  return text;
}

int SatellitesInView(int secondsOn) {
  if (secondsOn < kSecondsToFix) return secondsOn / 2;
  return 7 + (secondsOn / 5) % 3;
}

// A GGA and an RMC sentence: no position while searching, then a fix that wanders a little.
void ReportFix(const CGpsState& gps, CDeviceResponse& response) {
  const std::tm utc = UtcNow();
  const std::string time = Digits(utc.tm_hour, 2) + Digits(utc.tm_min, 2) + Digits(utc.tm_sec, 2) + ".00";
  const std::string date = Digits(utc.tm_mday, 2) + Digits(utc.tm_mon + 1, 2) + Digits(utc.tm_year % 100, 2);
  const int satellites = SatellitesInView(gps.nSecondsOn);
  const bool fixed = gps.nSecondsOn >= kSecondsToFix;

  std::string gga, rmc;
  if (fixed) {
    const int wander = gps.nSecondsOn % 7;
    const std::string position = "4807." + Digits(380 + wander, 4) + ",N,01131." + Digits(2 * wander, 4) + ",E";
    gga = "GPGGA," + time + "," + position + ",1," + Digits(satellites, 2) + ",0.9,545.4,M,46.9,M,,";
    rmc = "GPRMC," + time + ",A," + position + ",0.02,0.00," + date + ",,,A";
  } else {
    gga = "GPGGA," + time + ",,,,,0," + Digits(satellites, 2) + ",99.99,,,,,,";
    rmc = "GPRMC," + time + ",V,,,,,,," + date + ",,,N";
  }
  response.replies.push_back("GPS_R:" + Sentence(gga));
  response.replies.push_back("GPS_R:" + Sentence(rmc));
  response.replies.push_back("GPS_ST:" + std::to_string(satellites));
  response.replies.push_back(std::string("GPS_S:") + (fixed ? "fixed" : "searching"));
}

}  // namespace

void AddGpsKeys(CDeviceModel& model) {
  model.AddKey("GPS", [](const std::string& value, CDeviceState& state, CDeviceResponse& response) {
    CGpsState& gps = state.radios.gps;
    if (value == "open") {
      // A receiver switched on searches afresh.
      if (!gps.bOn) gps.nSecondsOn = 0;
      gps.bOn = true;
      response.replies.push_back("GPS:open");
      response.notes.push_back("GPS on");
    } else if (value == "close") {
      gps.bOn = false;
      response.replies.push_back("GPS:close");
      response.notes.push_back("GPS off");
    } else {
      response.notes.push_back("ignored GPS:" + value);
    }
  });

  model.AddTicker(kFixPeriod, [](CDeviceState& state, CDeviceResponse& response) {
    CGpsState& gps = state.radios.gps;
    if (!gps.bOn) return;
    ReportFix(gps, response);
    ++gps.nSecondsOn;
  });
}

}  // namespace tolvane::devsim

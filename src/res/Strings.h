#pragma once

#include <initializer_list>
#include <string>

namespace tolvane {

enum class TextLanguage { English, Chinese };

// The language the user chose for the program (English unless chosen); every thread starts in it.
void SetProcessTextLanguage(TextLanguage language);
TextLanguage GetProcessTextLanguage();

// The language that LoadString answers in, chosen per thread.
void SetThreadTextLanguage(TextLanguage language);
TextLanguage GetThreadTextLanguage();

// The string table in the calling thread's language, as UTF-8. Unknown ids give "".
std::string LoadString(int id);
std::string LoadString(int id, TextLanguage language);
// The pattern with its "%1" replaced by the argument.
std::string FormatString(const std::string& pattern, const std::string& argument);
// The pattern with every "%1" to "%9" replaced by the arguments, in one pass: an argument that
// holds "%2" itself stays as it is.
std::string FormatString(const std::string& pattern, std::initializer_list<std::string> arguments);

enum StringId : int {
  IDS_ABOUTBOX = 101,
  IDS_CONNECT = 102,
  IDS_CLOSE = 103,
  IDS_PORT_OPEN_FAILED = 104,
  IDS_WRITE_IMEI_OK = 105,
  IDS_WRITE_IMEI_FAIL = 106,
  IDS_IMEI_LENGTH_ERROR = 107,
  IDS_UNKNOWN_ERROR = 108,
  IDS_CLOSE_WIFI = 109,
  IDS_OPEN_WIFI = 110,
  IDS_WIFI_CONNECTED = 111,
  IDS_CONNECT_OK = 112,
  IDS_WIFI_CONNECT_FAIL = 113,
  IDS_OPEN_BT = 114,
  IDS_CLOSE_BT = 115,
  IDS_PAIR = 116,
  IDS_UNPAIR = 117,
  IDS_PAIR_OK = 118,
  IDS_PAIR_FAIL = 119,
  IDS_UNPAIR_OK = 120,
  IDS_UNPAIR_FAIL = 121,
  IDS_CLOSE_GPS = 122,
  IDS_OPEN_GPS = 123,
  IDS_PAIRED = 124,
  IDS_GRID = 125,
  IDS_UPDATE_IP_OK = 126,
  IDS_UPDATE_IP_FAIL = 127,
  IDS_UPDATE_DOMAIN_OK = 128,
  IDS_UPDATE_DOMAIN_FAIL = 129,
  IDS_SET_ACCOUNT_OK = 130,
  IDS_SET_ACCOUNT_FAIL = 131,
  IDS_SET_APN_OK = 132,
  IDS_SET_APN_FAIL = 133,
  IDS_APN_EMPTY = 134,
  IDS_CLEAR_APN_OK = 135,
  IDS_CLEAR_APN_FAIL = 136,
  IDS_DEALER_PW_OK = 137,
  IDS_DEALER_PW_FAIL = 138,
  IDS_NO_RESPONSE = 139,
  IDS_SET_LANGUAGE_OK = 140,
  IDS_SET_LANGUAGE_FAIL = 141,
  IDS_CHINESE = 142,
  IDS_ENGLISH = 143,
  IDS_SET_NETWORK_OK = 144,
  IDS_SET_NETWORK_FAIL = 145,
  IDS_COLUMN_NAME = 146,
  IDS_COLUMN_ADDRESS = 147,
  IDS_COLUMN_STATUS = 148,
  IDS_COLUMN_SIGNAL = 149,
  IDS_SECURITY = 150,
  // Added to the table.
  IDS_TEXT_HAS_TERMINATOR = 151,
  IDS_STATUS_NOT_CONNECTED = 152,
  IDS_STATUS_WAITING = 153,
  IDS_STATUS_NO_ANSWER = 154,
  IDS_STATUS_READY = 155,
  IDS_STATUS_UNPLUGGED = 156,
  IDS_STATUS_OPEN_FAILED = 157,
  IDS_OPEN_NO_PERMISSION_GROUP = 158,
  IDS_OPEN_NO_PERMISSION = 159,
  IDS_OPEN_HELD_BY = 160,
  IDS_OPEN_HELD_UNKNOWN = 161,
  IDS_OPEN_GONE = 162,
  IDS_PORT_TIP_MANUFACTURER = 163,
  IDS_PORT_TIP_USB_ID = 164,
  IDS_PORT_TIP_SERIAL_NUMBER = 165,
  IDS_PORT_TIP_SIMULATED = 166,
  IDS_TRAFFIC_MENU = 167,
  IDS_TRAFFIC_TITLE = 168,
  IDS_TRAFFIC_SAVE = 169,
  IDS_TRAFFIC_CLEAR = 170,
  IDS_TRAFFIC_TO_DEVICE = 171,
  IDS_TRAFFIC_FROM_DEVICE = 172,
  IDS_TRAFFIC_SAVE_FAILED = 173,
  IDS_TRAFFIC_LEFT_OUT = 174,
  // The bench window.
  IDS_BENCH_TITLE = 175,
  IDS_BENCH_WAITING = 176,
  IDS_BENCH_WAITING_LABEL = 177,
  IDS_BENCH_STEP = 178,
  IDS_BENCH_PASS = 179,
  IDS_BENCH_FAIL = 180,
  IDS_BENCH_NO_RESPONSE = 181,
  IDS_BENCH_PASS_VERIFIED = 182,
  IDS_BENCH_PASS_WRITTEN = 183,
  IDS_BENCH_PASS_NO_IMEI = 184,
  IDS_BENCH_FAILED_STEP = 185,
  IDS_BENCH_FAILED_NO_IMEI = 186,
  IDS_BENCH_PASSED = 187,
  IDS_BENCH_FAILED = 188,
  IDS_BENCH_UNITS_PER_HOUR = 189,
  IDS_BENCH_FREE = 190,
  IDS_BENCH_UNCONFIRMED = 191,
  IDS_BENCH_UNCONFIRMED_TITLE = 192,
  IDS_BENCH_COLUMN_STATION = 193,
  IDS_BENCH_COLUMN_PORT = 194,
  IDS_BENCH_COLUMN_TIME = 195,
  IDS_BENCH_COLUMN_USB_SERIAL = 196,
  IDS_BENCH_RELEASE = 197,
  IDS_BENCH_SHOW_LOG = 198,
  IDS_BENCH_LABEL = 199,
  IDS_BENCH_LABEL_USED = 200,
  IDS_BENCH_LABEL_TAKEN = 201,
  IDS_BENCH_LOCKED = 202,
  IDS_BENCH_SOUND = 203,
  IDS_BENCH_RELEASE_QUESTION = 204,
  IDS_BENCH_KEEP = 205,
  IDS_BENCH_KEPT = 206,
  IDS_BENCH_RELEASED = 207,
  IDS_BENCH_CLOSING = 208,
  IDS_BENCH_LOG_TITLE = 209,
  IDS_BENCH_POOL_FAULT = 210,
  IDS_BENCH_NONE = 211,
  IDS_BENCH_PROGRESS = 212,
  IDS_BENCH_STOPPED = 213,
  IDS_BENCH_NO_IMEI_LEFT = 214,
};

}  // namespace tolvane

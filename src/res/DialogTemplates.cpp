#include "res/DialogTemplates.h"

#include <array>

#include "res/ControlIds.h"

namespace tolvane {
namespace {

using K = ControlKind;
using F = FrameId;

constexpr CLocalText kNone{"", ""};

// Dialog 102, English and Chinese, in template order.
// id, kind, caption, frame, English x,y,w,h, Chinese x,y,w,h, member, accessible name,
// hidden in English, multi-line caption in English.
// clang-format off
constexpr std::array<CControlTemplate, 59> kMainControls{{
    {IDC_PORT, K::ComboBox, kNone, F::Top, {6, 5, 36, 13}, {6, 5, 36, 13}, "m_cbPort",
     {"Serial port", "串口"}, false, false},
    {IDC_CONNECT, K::Button, {"Connect", "连接"}, F::Top, {45, 3, 33, 14}, {45, 3, 28, 14}, "m_btnConnect", kNone,
     false, false},
    {IDC_STATIC, K::Label, {"IMEI:", "IMEI:"}, F::Top, {210, 6, 17, 8}, {170, 6, 17, 8}, "", kNone, false, false},
    {IDC_IMEI, K::EditNumber, kNone, F::Top, {241, 3, 87, 13}, {210, 5, 87, 13}, "m_editImei", {"IMEI", "IMEI"},
     false, false},
    {IDC_WRITE_IMEI, K::Button, {"Write IMEI", "写IMEI"}, F::Top, {331, 2, 46, 14}, {302, 4, 46, 14},
     "m_btnWriteImei", kNone, false, false},
    {IDC_WIFI_LIST_LABEL, K::Label, {"Wi-Fi Devices List", "Wi-Fi设备列表"}, F::WiFi, {10, 200, 58, 8},
     {5, 200, 45, 8}, "", kNone, false, false},
    {IDC_WIFI_OPEN, K::Button, {"Open Wi-Fi", "打开Wi-Fi"}, F::WiFi, {81, 198, 47, 14}, {61, 198, 47, 14},
     "m_btnWifiOpen", kNone, false, false},
    {IDC_WIFI_LIST, K::ListView, kNone, F::WiFi, {6, 213, 366, 62}, {6, 213, 342, 62}, "m_listWifi",
     {"Wi-Fi Devices List", "Wi-Fi设备列表"}, false, false},
    {IDC_WIFI_NAME_LABEL, K::Label, {"Name:", "Wi-Fi名:"}, F::WiFi, {6, 279, 31, 8}, {6, 279, 28, 8}, "", kNone,
     false, false},
    {IDC_WIFI_NAME, K::EditReadOnly, kNone, F::WiFi, {31, 277, 88, 14}, {36, 277, 88, 14}, "m_editWifiName",
     {"Name", "Wi-Fi名"}, false, false},
    {IDC_WIFI_PASSWORD, K::EditPassword, kNone, F::WiFi, {182, 277, 93, 14}, {173, 277, 93, 14},
     "m_editWifiPassword", {"Password", "Wi-Fi密码"}, false, false},
    {IDC_WIFI_PASSWORD_LABEL, K::Label, {"Password:", "Wi-Fi密码:"}, F::WiFi, {146, 279, 34, 8},
     {137, 279, 33, 8}, "", kNone, false, false},
    {IDC_BT_LIST_LABEL, K::Label, {"Bluetooth Devices List", "蓝牙设备列表"}, F::Bluetooth, {7, 300, 70, 8},
     {7, 299, 42, 8}, "", kNone, false, false},
    {IDC_BT_OPEN, K::Button, {"Open BT", "打开蓝牙"}, F::Bluetooth, {81, 298, 47, 14}, {61, 299, 47, 14},
     "m_btnBtOpen", kNone, false, false},
    {IDC_BT_PAIR, K::Button, {"Pair", "配对"}, F::Bluetooth, {130, 363, 48, 14}, {130, 363, 48, 14}, "m_btnBtPair",
     kNone, false, false},
    {IDC_GPS_RAW_LABEL, K::Label, {"GPS Raw data", "GPS原始数据"}, F::Gps, {7, 139, 51, 8}, {7, 139, 42, 8}, "",
     kNone, false, false},
    {IDC_GPS_RAW, K::EditMulti, kNone, F::Gps, {8, 152, 364, 25}, {7, 152, 341, 25}, "m_editGpsRaw",
     {"GPS Raw data", "GPS原始数据"}, false, false},
    {IDC_GPS_OPEN, K::Button, {"Open GPS", "打开GPS"}, F::Gps, {81, 137, 45, 14}, {61, 137, 45, 14},
     "m_btnGpsOpen", kNone, false, false},
    {IDC_GPS_SATELLITES_LABEL, K::Label, {"Satellites:", "搜星个数:"}, F::Gps, {243, 180, 31, 8},
     {218, 181, 30, 8}, "", kNone, false, false},
    {IDC_GPS_SATELLITES, K::EditReadOnly, kNone, F::Gps, {279, 178, 93, 12}, {250, 178, 93, 12},
     "m_editGpsSatellites", {"Satellites", "搜星个数"}, false, false},
    {IDC_BT_LIST, K::ListView, kNone, F::Bluetooth, {7, 314, 366, 46}, {7, 314, 343, 46}, "m_listBt",
     {"Bluetooth Devices List", "蓝牙设备列表"}, false, false},
    {IDC_COMM, K::SerialPort, kNone, F::WiFi, {198, 197, 22, 20}, {198, 197, 22, 20}, "m_comm", kNone, true,
     false},
    {IDC_BT_SEARCH, K::Button, {"Search", "搜索"}, F::Bluetooth, {184, 363, 47, 14}, {184, 363, 47, 14},
     "m_btnBtSearch", kNone, false, false},
    {IDC_GPS_STATUS_LABEL, K::Label, {"Status:", "状态:"}, F::Gps, {13, 180, 21, 8}, {8, 179, 17, 8}, "", kNone,
     false, false},
    {IDC_GPS_STATUS, K::EditReadOnly, kNone, F::Gps, {39, 178, 95, 12}, {26, 178, 95, 12}, "m_editGpsStatus",
     {"Status", "状态"}, false, false},
    {IDC_WIFI_CONNECT, K::Button, {"Connect", "连接Wi-Fi"}, F::WiFi, {310, 277, 64, 14}, {301, 277, 47, 14},
     "m_btnWifiConnect", kNone, false, false},
    {IDC_UPDATE_IP, K::Button, {"Update IP", "更新IP"}, F::Server, {128, 47, 52, 15}, {108, 47, 46, 15},
     "m_btnUpdateIp", kNone, false, false},
    {IDC_SERVER_IP, K::IpAddress, kNone, F::Server, {6, 48, 98, 14}, {6, 48, 98, 14}, "m_ipServer",
     {"Server IP address", "服务器IP地址"}, false, false},
    {IDC_ACCOUNT, K::Edit, kNone, F::Account, {42, 94, 78, 14}, {26, 94, 78, 14}, "m_editAccount",
     {"Account", "账号"}, false, false},
    {IDC_ACCOUNT_LABEL, K::Label, {"Account:", "账号:"}, F::Account, {6, 96, 28, 8}, {6, 96, 17, 8}, "", kNone,
     false, false},
    {IDC_ACCOUNT_PASSWORD_LABEL, K::Label, {"Password:", "密码:"}, F::Account, {6, 114, 33, 8}, {6, 114, 17, 8},
     "", kNone, false, false},
    {IDC_ACCOUNT_PASSWORD, K::EditPassword, kNone, F::Account, {43, 113, 78, 14}, {26, 113, 78, 14},
     "m_editAccountPassword", {"Password", "密码"}, false, false},
    {IDC_SET_ACCOUNT, K::Button, {"Set Account/Pw", "设置账号/密码"}, F::Account, {128, 100, 52, 18},
     {107, 98, 46, 19}, "m_btnSetAccount", kNone, false, true},
    {IDC_APN_NAME_LABEL, K::Label, {"APN:", "APN名:"}, F::Apn, {201, 79, 25, 8}, {172, 79, 25, 8}, "", kNone, false,
     false},
    {IDC_APN_PASSWORD_LABEL, K::Label, {"Password:", "APN密码:"}, F::Apn, {201, 115, 31, 8}, {172, 115, 31, 8}, "",
     kNone, false, false},
    {IDC_APN_NAME, K::Edit, kNone, F::Apn, {239, 76, 87, 15}, {210, 76, 87, 15}, "m_editApnName",
     {"APN", "APN名"}, false, false},
    {IDC_APN_PASSWORD, K::EditPassword, kNone, F::Apn, {239, 112, 88, 15}, {210, 112, 88, 15},
     "m_editApnPassword", {"Password", "APN密码"}, false, false},
    {IDC_SET_APN, K::Button, {"Set APN", "设置APN"}, F::Apn, {331, 75, 46, 17}, {302, 75, 46, 17}, "m_btnSetApn",
     kNone, false, false},
    {IDC_DEALER_PASSWORD, K::EditPassword, kNone, F::Top, {239, 44, 87, 15}, {210, 44, 87, 15},
     "m_editDealerPassword", {"Dealer Pw", "经销商密码"}, false, false},
    {IDC_DEALER_PASSWORD_LABEL, K::Label, {"Dealer Pw:", "经销商密码:"}, F::Top, {199, 48, 38, 8},
     {170, 49, 38, 8}, "", kNone, false, false},
    {IDC_UPDATE_DEALER_PW, K::Button, {"Update Pw", "更新密码"}, F::Top, {331, 44, 46, 14}, {302, 44, 46, 14},
     "m_btnUpdateDealerPw", kNone, false, false},
    {IDC_LANGUAGE, K::ComboBox, kNone, F::Top, {82, 5, 42, 13}, {77, 5, 42, 13}, "m_cbLanguage",
     {"Language", "语言"}, true, false, kLanguageChoices},
    {IDC_SET_LANGUAGE, K::Button, {"Set Language", "设置语言"}, F::Top, {128, 3, 50, 14}, {120, 3, 33, 14},
     "m_btnSetLanguage", kNone, true, false},
    {IDC_STATIC, K::Frame, kNone, F::Apn, {200, 69, 180, 61}, {171, 69, 180, 61}, "", kNone, false, false},
    {IDC_APN_USER_LABEL, K::Label, {"User:", "用户名:"}, F::Apn, {202, 98, 18, 8}, {173, 98, 23, 8}, "", kNone,
     false, false},
    {IDC_APN_USER, K::Edit, kNone, F::Apn, {239, 94, 87, 15}, {210, 94, 87, 15}, "m_editApnUser",
     {"User", "用户名"}, false, false},
    {IDC_CLEAR_APN, K::Button, {"Clear APN", "清除APN"}, F::Apn, {332, 106, 46, 17}, {303, 106, 46, 17},
     "m_btnClearApn", kNone, false, false},
    {IDC_DOMAIN, K::Edit, kNone, F::Server, {7, 67, 98, 17}, {7, 68, 98, 17}, "m_editDomain",
     {"Server domain", "服务器域名"}, false, false},
    {IDC_UPDATE_DOMAIN, K::Button, {"Update Domain", "更新域名"}, F::Server, {128, 67, 52, 16}, {108, 68, 46, 16},
     "m_btnUpdateDomain", kNone, false, false},
    {IDC_STATIC, K::Frame, kNone, F::Account, {3, 86, 180, 45}, {3, 86, 153, 45}, "", kNone, false, false},
    {IDC_STATIC, K::Frame, kNone, F::Server, {3, 41, 180, 46}, {3, 41, 153, 46}, "", kNone, false, false},
    {IDC_STATIC, K::Frame, kNone, F::Gps, {4, 131, 375, 61}, {2, 131, 349, 62}, "", kNone, false, false},
    {IDC_STATIC, K::Frame, kNone, F::WiFi, {4, 191, 374, 103}, {3, 191, 348, 103}, "", kNone, false, false},
    {IDC_STATIC, K::Frame, kNone, F::Bluetooth, {4, 293, 374, 90}, {3, 293, 349, 90}, "", kNone, false, false},
    {IDC_BT_PIN_LABEL, K::Label, {"PIN code:", "配对PIN码:"}, F::Bluetooth, {6, 365, 31, 8}, {6, 365, 35, 8}, "",
     kNone, false, false},
    {IDC_BT_PIN, K::EditNumberPassword, kNone, F::Bluetooth, {44, 362, 80, 16}, {44, 362, 80, 16}, "m_editBtPin",
     {"PIN code", "配对PIN码"}, false, false},
    {IDC_NETWORK_TYPE, K::ComboBox, kNone, F::Top, {7, 25, 36, 30}, {7, 25, 36, 30}, "m_cbNetworkType",
     {"Network type", "网络类型"}, false, false, kNetworkTypeChoices},
    {IDC_SET_NETWORK, K::Button, {"Set Network", "设置网络类型"}, F::Top, {45, 25, 47, 14}, {45, 25, 47, 14},
     "m_btnSetNetwork", kNone, false, false},
    {IDC_FACTORY_RESET, K::Button, {"Factory Reset", "恢复出厂设置"}, F::Top, {128, 25, 51, 14}, {108, 25, 47, 14},
     "m_btnFactoryReset", kNone, false, false},
}};
// clang-format on

constexpr std::array<CControlTemplate, 3> kAboutControls{{
    {IDC_STATIC, K::Icon, kNone, F::Top, {14, 14, 20, 20}, {14, 14, 20, 20}, "", kNone, false, false},
    {IDC_STATIC,
     K::Label,
     {"Version 1.1", "1.1 版"},
     F::Top,
     {42, 14, 114, 8},
     {42, 14, 114, 8},
     "",
     kNone,
     false,
     false},
    {IDOK, K::DefaultButton, {"OK", "确定"}, F::Top, {113, 41, 50, 14}, {113, 41, 50, 14}, "", kNone, false, false},
}};

constexpr CDialogTemplate kMainDialog{IDD_MIRLSETTINGS_DIALOG,          {"Tolvane", "Tolvane"}, 381, 387, 353, 387,
                                      {"Microsoft Sans Serif", 9, 400}, kMainControls};

constexpr CDialogTemplate kAboutDialog{IDD_ABOUTBOX, {"About Tolvane", "关于 Tolvane"}, 170,           62, 170,
                                       62,           {"MS Shell Dlg", 9, 400},          kAboutControls};

// MulDiv: the product in 64 bits, rounded half away from zero.
int MulDiv(int number, int numerator, int denominator) {
  const long long product = static_cast<long long>(number) * numerator;
  const long long half = denominator / 2;
  return static_cast<int>(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}

}  // namespace

std::string_view KindCode(ControlKind kind) {
  switch (kind) {
    case K::Label: return "L";
    case K::Button: return "B";
    case K::Edit: return "E";
    case K::EditPassword: return "E-pw";
    case K::EditReadOnly: return "E-ro";
    case K::EditNumber: return "E-num";
    case K::EditNumberPassword: return "E-num-pw";
    case K::EditMulti: return "E-multi";
    case K::ComboBox: return "CB";
    case K::ListView: return "LV";
    case K::IpAddress: return "IP";
    case K::Frame: return "F";
    case K::SerialPort: return "X";
    case K::Icon: return "ICON";
    case K::DefaultButton: return "B-def";
  }
  return "";
}

const CControlTemplate* CDialogTemplate::Find(int controlId) const {
  if (controlId == IDC_STATIC) return nullptr;
  for (const CControlTemplate& control : controls)
    if (control.id == controlId) return &control;
  return nullptr;
}

const CDialogTemplate& MainDialogTemplate() { return kMainDialog; }
const CDialogTemplate& AboutDialogTemplate() { return kAboutDialog; }

CDialogBaseUnits CDialogBaseUnits::FromAlphabetWidth(int alphabetWidth, int height) {
  return {(alphabetWidth / 26 + 1) / 2, height};
}

int CDialogBaseUnits::ToPixelsX(int dialogUnits) const { return MulDiv(dialogUnits, charWidth, 4); }
int CDialogBaseUnits::ToPixelsY(int dialogUnits) const { return MulDiv(dialogUnits, charHeight, 8); }

}  // namespace tolvane

#include "res/Strings.h"

#include <array>
#include <atomic>

namespace tolvane {
namespace {

struct StringEntry {
  int id;
  const char* english;
  const char* chinese;
};

constexpr std::array<StringEntry, 114> kStringTable{{
    {101, "About Tolvane(&A)...", "关于 Tolvane(&A)..."},
    {102, "Connect", "连接"},
    {103, "Close", "关闭"},
    {104, " Error, the serial port is occupied or does not exist!", " 出错，该串口被占用或不存在！"},
    {105, "Write IMEI OK, Restart the device to be effective!", "IMEI成功写入，重启设备方能生效！"},
    {106, "Write IMEI fail", "IMEI写入失败！"},
    {107, "IMEI length error, must be 15 digits", "IMEI长度不对，必须为15位数字"},
    {108, "Unknow error", "未知错误"},
    {109, "Close Wi-Fi", "关闭Wi-Fi"},
    {110, "Open Wi-Fi", "打开Wi-Fi"},
    {111, "(Connected)", "(已连接)"},
    {112, "Connect successfully", "连接成功"},
    {113, "Connect fail, check password,please.", "连接失败，请确认密码是否正确"},
    {114, "Open BT", "打开蓝牙"},
    {115, "Close BT", "关闭蓝牙"},
    {116, "Pair", "配对"},
    {117, "Unpair", "取消配对"},
    {118, "Pair OK", "配对成功"},
    {119, "Pair fail", "配对失败"},
    {120, "Unpair OK", "取消配对成功"},
    {121, "Unpair fail", "取消配对失败"},
    {122, "Close GPS", "关闭GPS"},
    {123, "Open GPS", "打开GPS"},
    {124, "Paired", "已配对"},
    {125, "grid", "格"},
    {126, "Update IP OK", "更新IP成功"},
    {127, "Update IP fail", "更新IP失败"},
    {128, "Update domain OK", "更新域名成功"},
    {129, "Update domain fail", "更新域名失败"},
    {130, "Update account and password OK", "账号和密码更新成功"},
    {131, "Update account and password fail", "账号和密码更新失败"},
    {132, "Update APN OK", "APN更新成功"},
    {133, "Update APN fail", "APN更新失败"},
    {134, "APN can not be empty", "APN名不能为空"},
    {135, "Clear APN OK", "清除APN成功"},
    {136, "Clear APN fail", "清除APN失败"},
    {137, "Update dealer password OK", "经销商密码更新成功"},
    {138, "Update dealer password fail", "经销商密码更新失败"},
    {139, "Parlo apk without response", "对讲应用无响应"},
    {140, "Set Language OK", "切换语言成功"},
    {141, "Set Language fail", "切换语言失败"},
    {142, "中文简体", "中文简体"},
    {143, "English", "English"},
    {144, "Set network OK", "设置网络类型成功"},
    {145, "Set network fail", "设置网络类型失败"},
    {146, "Name", "名称"},
    {147, "Address", "地址"},
    {148, "Status", "状态"},
    {149, "Signal-strength", "信号强度"},
    {150, "Security category", "安全类别"},
    {151, "The text must not contain the character ~", "文本中不能包含字符 ~"},
    {152, "Not connected", "未连接"},
    {153, "%1 open, waiting for the device to answer…", "%1 已打开，正在等待设备应答…"},
    {154, "No answer from the device on %1: check the cable and that the intercom app is running",
     "%1 上的设备没有应答：请检查连接线，并确认对讲应用正在运行"},
    {155, "Device ready on %1", "%1 上的设备已就绪"},
    {156, "%1 was unplugged", "%1 已被拔出"},
    {157, "%1 could not be opened", "无法打开 %1"},
    {158, "%1: permission denied. Join the group %2: sudo usermod -aG %2 $USER, then log in again",
     "%1：没有权限。请加入 %2 组：sudo usermod -aG %2 $USER，然后重新登录"},
    {159, "%1: permission denied for this user", "%1：当前用户没有权限"},
    {160, "%1 is held by %2 (pid %3)", "%1 被 %2（pid %3）占用"},
    {161, "%1 is held by another program, which could not be found", "%1 被另一个程序占用，无法查明是哪一个"},
    {162, "%1 is no longer there", "%1 已不存在"},
    {163, "Manufacturer: %1", "制造商：%1"},
    {164, "USB ID (VID:PID): %1", "USB ID (VID:PID)：%1"},
    {165, "Serial number: %1", "序列号：%1"},
    {166, "Simulated device (tolvane-devsim)", "模拟设备 (tolvane-devsim)"},
    {167, "Traffic…", "通信记录…"},
    {168, "Traffic with the device", "与设备的通信记录"},
    {169, "Save…", "保存…"},
    {170, "Clear", "清空"},
    {171, "→ device", "→ 设备"},
    {172, "← device", "← 设备"},
    {173, "The trace could not be saved to %1", "无法将通信记录保存到 %1"},
    {174, "(%1 messages left out: the trace could not keep up)", "（%1 条消息未记录：记录跟不上）"},
    {175, "Tolvane bench", "Tolvane 工作台"},
    {176, "Waiting for a unit", "等待设备"},
    {177, "Waiting for a unit: enter its label to start", "等待设备：输入标签后开始"},
    {178, "Step %1 of %2: %3", "第 %1 步，共 %2 步：%3"},
    {179, "PASS", "PASS 通过"},
    {180, "FAIL", "FAIL 失败"},
    {181, "NO RESPONSE", "NO RESPONSE 无响应"},
    {182, "%1: IMEI %2, verified", "%1：IMEI %2，已核实"},
    {183, "%1: IMEI %2 is written and takes effect after a restart", "%1：IMEI %2 已写入，重启后生效"},
    {184, "%1: no IMEI was written", "%1：未写入 IMEI"},
    {185, "%1: IMEI %2; %3: %4", "%1：IMEI %2；%3：%4"},
    {186, "%1: no IMEI was sent; %2: %3", "%1：未发送 IMEI；%2：%3"},
    {187, "Passed: %1", "通过：%1"},
    {188, "Failed: %1", "失败：%1"},
    {189, "Units per hour: %1", "每小时台数：%1"},
    {190, "Free: %1", "空闲：%1"},
    {191, "Unconfirmed: %1", "未确认：%1"},
    {192, "Unconfirmed claims", "未确认的领用"},
    {193, "Station", "工位"},
    {194, "Port", "端口"},
    {195, "Time", "时间"},
    {196, "USB serial number", "USB 序列号"},
    {197, "Release", "释放"},
    {198, "Log", "日志"},
    {199, "Label", "标签"},
    {200, "The label %1 is already used, with IMEI %2: nothing was sent", "标签 %1 已用于 IMEI %2：未发送任何内容"},
    {201, "The label %1 is already given to the unit on %2", "标签 %1 已分配给 %2 上的设备"},
    {202, "Locked for production: %1", "生产锁定：%1"},
    {203, "Sound", "提示音"},
    {204, "Release IMEI %1, claimed for the unit on %2 (USB serial number %3)? Release it only once that unit is known not to hold it.", "释放 IMEI %1（为 %2 上的设备领用，USB 序列号 %3）？仅在确认该设备未写入它后释放。"},
    {205, "Keep", "保留"},
    {206, "IMEI %1 is kept: leave its claim as it is.", "IMEI %1 已保留：请保持其领用不变。"},
    {207, "IMEI %1 is free again.", "IMEI %1 已重新空闲。"},
    {208, "Closing: the steps under way finish first", "正在关闭：先完成进行中的步骤"},
    {209, "Log of %1", "%1 的日志"},
    {210, "The pool: %1", "号池：%1"},
    {211, "none", "无"},
    {212, "Progress", "进度"},
    {213, "The bench has stopped: %1. Close the window.", "工作台已停止：%1。请关闭窗口。"},
    {214, "no IMEI is left", "没有剩余的 IMEI"},
}};

// LoadString finds an entry by its row, so row i must hold the first id plus i.
constexpr bool RowsFollowTheIds() {
  for (std::size_t row = 0; row < kStringTable.size(); ++row)
    if (kStringTable[row].id != kStringTable.front().id + static_cast<int>(row)) return false;
  return true;
}
static_assert(RowsFollowTheIds(), "kStringTable must list every id once, in order, without gaps");

std::atomic<TextLanguage> g_processLanguage{TextLanguage::English};
thread_local TextLanguage t_language = g_processLanguage.load();

}  // namespace

void SetProcessTextLanguage(TextLanguage language) {
  g_processLanguage = language;
  t_language = language;
}

TextLanguage GetProcessTextLanguage() { return g_processLanguage; }

void SetThreadTextLanguage(TextLanguage language) { t_language = language; }

TextLanguage GetThreadTextLanguage() { return t_language; }

std::string LoadString(int id, TextLanguage language) {
  const int first = kStringTable.front().id;
  if (id < first || id > kStringTable.back().id) return {};
  const StringEntry& entry = kStringTable[static_cast<std::size_t>(id - first)];
  return language == TextLanguage::English ? entry.english : entry.chinese;
}

std::string LoadString(int id) { return LoadString(id, t_language); }

std::string FormatString(const std::string& pattern, const std::string& argument) {
  std::string text = pattern;
  const std::size_t at = text.find("%1");
  if (at != std::string::npos) text.replace(at, 2, argument);
  return text;
}

std::string FormatString(const std::string& pattern, std::initializer_list<std::string> arguments) {
  std::string text;
  text.reserve(pattern.size());
  for (std::size_t at = 0; at < pattern.size(); ++at) {
    const char c = pattern[at];
    const bool placeholder = c == '%' && at + 1 < pattern.size() && pattern[at + 1] >= '1' && pattern[at + 1] <= '9';
    const std::size_t index = placeholder ? static_cast<std::size_t>(pattern[at + 1] - '1') : 0;
    if (placeholder && index < arguments.size()) {
      text += *(arguments.begin() + index);
      ++at;
    } else {
      text += c;
    }
  }
  return text;
}

}  // namespace tolvane

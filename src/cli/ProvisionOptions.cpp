#include "cli/ProvisionOptions.h"

#include <QCommandLineParser>
#include <QSysInfo>
#include <algorithm>
#include <cstdio>

#include "engine/Profile.h"
#include "link/PortNaming.h"

namespace tolvane {

namespace {

constexpr char kDescription[] =
    "Provisions Mirl intercoms from a profile: the same steps the Tolvane window's buttons take, one after\n"
    "the other, each waiting for its reply or its time-out, with a pass/fail report.\n"
    "\n"
    "  tolvane-provision --port COM33 --profile dealer.ini [--imei 860000000000001]\n"
    "  tolvane-provision --profile dealer.ini --imei-list imeis.txt --wait [--port COM33]\n"
    "  tolvane-provision --port COM33 --port COM34 --profile dealer.ini --pool pool.db [--wait]\n"
    "  tolvane-provision pool init|import|status|export|release POOL ...   (pool --help)\n"
    "  tolvane-provision --profile dealer.ini [--port COM33] --dry-run\n"
    "  tolvane-provision --list-ports";

constexpr char kEpilog[] =
    "\n"
    "Profile keys (INI, all optional), in the order the steps run:\n"
    "  imei                                  Write IMEI\n"
    "  server_ip                             Update IP\n"
    "  domain                                Update Domain\n"
    "  account, account_password             Set Account/Pw\n"
    "  dealer_password                       Update Pw\n"
    "  apn, apn_user, apn_password           Set APN\n"
    "  clear_apn = true                      Clear APN (not with apn)\n"
    "  language = en_US|zh_CN                Set Language\n"
    "  network_type = 2G|3G|3G/2G            Set Network\n"
    "  wifi_address, wifi_password           Open Wi-Fi, then Join Wi-Fi\n"
    "  factory_reset = true                  Factory Reset, always last; needs --yes\n"
    "\n"
    "Exit status:\n"
    "  0    every step of every device succeeded\n"
    "  1    a step failed: the device refused it, or the link closed during it\n"
    "  2    the command line is wrong\n"
    "  3    the profile or the IMEI list is wrong; nothing was sent\n"
    "  4    a step got no response\n"
    "  5    a step was refused by the window's checks; nothing was sent for it\n"
    "  6    the port could not be opened, or the device did not answer the link\n"
    "  7    the report or the .done file could not be written, or another run kept\n"
    "       the IMEI list locked for more than 10 s\n"
    "  8    the IMEI pool cannot be reached, is not a pool, or failed\n"
    "  9    the IMEI list or pool had no IMEI left for a device; nothing was sent to it\n"
    "  130  stopped with Ctrl-C\n"
    "When several apply, the first of 130, 7, 8, 6, 9, 1, 4, 5 wins.\n";

int Fail(const std::string& message) {
  std::fprintf(stderr, "tolvane-provision: %s\nTry tolvane-provision --help.\n", message.c_str());
  return 2;
}

}  // namespace

std::optional<int> ParsePortName(const std::string& text) {
  if (text.size() > 3 && (text.starts_with("COM") || text.starts_with("com"))) {
    int number = 0;
    for (std::size_t i = 3; i < text.size(); ++i) {
      if (text[i] < '0' || text[i] > '9' || number > 9999) return std::nullopt;
      number = number * 10 + (text[i] - '0');
    }
    return number > 0 ? std::optional<int>(number) : std::nullopt;
  }
  const std::string device = text.starts_with("/dev/") ? text.substr(5) : text;
  const int number = ComNumberForDevice(device);
  return number > 0 ? std::optional<int>(number) : std::nullopt;
}

std::optional<CProvisionOptions> ParseProvisionOptions(const QStringList& arguments, int& exitCode) {
  QCommandLineParser parser;
  parser.setApplicationDescription(QString::fromUtf8(kDescription));
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption port(
      QStringLiteral("port"),
      QStringLiteral("The device's port: COM33, or ttyUSB0. Given several times, the devices are provisioned at once."),
      QStringLiteral("port"));
  const QCommandLineOption profile(QStringLiteral("profile"), QStringLiteral("The profile to write (INI)."),
                                   QStringLiteral("file"));
  const QCommandLineOption imei(QStringLiteral("imei"), QStringLiteral("The IMEI to write, instead of the profile's."),
                                QStringLiteral("digits"));
  const QCommandLineOption imeiList(
      QStringLiteral("imei-list"),
      QStringLiteral("One IMEI per line; each device takes the next one that <file>.done does not hold yet."),
      QStringLiteral("file"));
  const QCommandLineOption pool(
      QStringLiteral("pool"),
      QStringLiteral("Each device takes the next free IMEI of this pool (an SQLite file, or "
                     "postgresql://user@host:port/dbname with the password in PGPASSWORD or ~/.pgpass)."),
      QStringLiteral("pool"));
  const QCommandLineOption station(QStringLiteral("station"),
                                   QStringLiteral("The bench's name in the pool's record (the host name by default)."),
                                   QStringLiteral("name"));
  const QCommandLineOption wait(QStringLiteral("wait"),
                                QStringLiteral("With --imei-list or --pool: wait for each device to be plugged in, "
                                               "until the IMEIs are used up or Ctrl-C."));
  const QCommandLineOption dryRun(QStringLiteral("dry-run"),
                                  QStringLiteral("Print the commands that would be sent, and send nothing."));
  const QCommandLineOption listPorts(QStringLiteral("list-ports"),
                                     QStringLiteral("Print the ports the window would list, and end."));
  const QCommandLineOption report(QStringLiteral("report"), QStringLiteral("Also write the report as JSON."),
                                  QStringLiteral("file"));
  const QCommandLineOption yes(QStringLiteral("yes"),
                               QStringLiteral("Confirm the factory reset that the profile asks for."));
  for (const QCommandLineOption* option :
       {&port, &profile, &imei, &imeiList, &pool, &station, &wait, &dryRun, &listPorts, &report, &yes})
    parser.addOption(*option);

  exitCode = 2;
  if (!parser.parse(arguments)) {
    Fail(parser.errorText().toStdString());
    return std::nullopt;
  }
  if (parser.isSet(help)) {
    std::fputs(qPrintable(parser.helpText()), stdout);
    std::fputs(kEpilog, stdout);
    exitCode = 0;
    return std::nullopt;
  }
  if (!parser.positionalArguments().isEmpty()) {
    Fail("unexpected argument \"" + parser.positionalArguments().first().toStdString() + "\"");
    return std::nullopt;
  }
  CProvisionOptions options;
  options.listPorts = parser.isSet(listPorts);
  if (options.listPorts) {
    exitCode = 0;
    return options;
  }
  options.profilePath = parser.value(profile).toStdString();
  options.imeiListPath = parser.value(imeiList).toStdString();
  options.reportPath = parser.value(report).toStdString();
  options.wait = parser.isSet(wait);
  options.dryRun = parser.isSet(dryRun);
  options.yes = parser.isSet(yes);
  options.poolAddress = parser.value(pool).toStdString();
  options.station = parser.isSet(station) ? parser.value(station).toStdString() : QSysInfo::machineHostName().toStdString();
  for (const QString& value : parser.values(port)) {
    const std::optional<int> number = ParsePortName(value.toStdString());
    if (!number) {
      Fail("--port takes COM and a number, such as COM33, or a device such as ttyUSB0");
      return std::nullopt;
    }
    if (std::find(options.comNumbers.begin(), options.comNumbers.end(), *number) != options.comNumbers.end()) {
      Fail("--port " + value.toStdString() + " is given twice");
      return std::nullopt;
    }
    options.comNumbers.push_back(*number);
  }
  if (parser.isSet(imei)) {
    options.imei = parser.value(imei).toStdString();
    if (!IsImeiText(*options.imei)) {
      Fail("--imei takes digits 0 to 9 only");
      return std::nullopt;
    }
  }
  if (options.profilePath.empty()) {
    Fail("--profile is missing");
    return std::nullopt;
  }
  const int imeiSources = (options.imei ? 1 : 0) + (options.imeiListPath.empty() ? 0 : 1) +
                          (options.poolAddress.empty() ? 0 : 1);
  if (imeiSources > 1) {
    Fail("--imei, --imei-list and --pool cannot go together");
    return std::nullopt;
  }
  if (options.wait && options.imeiListPath.empty() && options.poolAddress.empty()) {
    Fail("--wait needs --imei-list or --pool");
    return std::nullopt;
  }
  if (options.comNumbers.empty() && !options.wait && !options.dryRun) {
    Fail("--port is missing");
    return std::nullopt;
  }
  if (options.comNumbers.size() > 1 && options.imei) {
    Fail("--imei with several --port would write one IMEI into several devices");
    return std::nullopt;
  }
  if (options.comNumbers.size() > 1 && options.dryRun) {
    Fail("--dry-run takes one --port at most");
    return std::nullopt;
  }
  exitCode = 0;
  return options;
}

}  // namespace tolvane

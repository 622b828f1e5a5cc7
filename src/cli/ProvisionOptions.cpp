#include "cli/ProvisionOptions.h"

#include <QCommandLineParser>
#include <cstdio>

#include "cli/Profile.h"
#include "link/PortNaming.h"

namespace tolvane {

namespace {

constexpr char kDescription[] =
    "Provisions Mirl intercoms from a profile: the same steps the Tolvane window's buttons take, one after\n"
    "the other, each waiting for its reply or its time-out, with a pass/fail report.\n"
    "\n"
    "  tolvane-provision --port COM33 --profile dealer.ini [--imei 860000000000001]\n"
    "  tolvane-provision --profile dealer.ini --imei-list imeis.txt --wait [--port COM33]\n"
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
    "  5    a step was refused by the window's checks, or another run used the last\n"
    "       IMEI of the list; nothing was sent for it\n"
    "  6    the port could not be opened, or the device did not answer the link\n"
    "  7    the report or the .done file could not be written, or another run kept\n"
    "       the IMEI list locked for more than 10 s\n"
    "  130  stopped with Ctrl-C\n"
    "When several apply, the first of 130, 7, 6, 1, 4, 5 wins.\n";

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
  const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("The device's port: COM33, or ttyUSB0."),
                                QStringLiteral("port"));
  const QCommandLineOption profile(QStringLiteral("profile"), QStringLiteral("The profile to write (INI)."),
                                   QStringLiteral("file"));
  const QCommandLineOption imei(QStringLiteral("imei"), QStringLiteral("The IMEI to write, instead of the profile's."),
                                QStringLiteral("digits"));
  const QCommandLineOption imeiList(
      QStringLiteral("imei-list"),
      QStringLiteral("One IMEI per line; each device takes the next one that <file>.done does not hold yet."),
      QStringLiteral("file"));
  const QCommandLineOption wait(QStringLiteral("wait"),
                                QStringLiteral("With --imei-list: wait for each device to be plugged in, until the "
                                               "list is used up or Ctrl-C."));
  const QCommandLineOption dryRun(QStringLiteral("dry-run"),
                                  QStringLiteral("Print the commands that would be sent, and send nothing."));
  const QCommandLineOption listPorts(QStringLiteral("list-ports"),
                                     QStringLiteral("Print the ports the window would list, and end."));
  const QCommandLineOption report(QStringLiteral("report"), QStringLiteral("Also write the report as JSON."),
                                  QStringLiteral("file"));
  const QCommandLineOption yes(QStringLiteral("yes"),
                               QStringLiteral("Confirm the factory reset that the profile asks for."));
  for (const QCommandLineOption* option :
       {&port, &profile, &imei, &imeiList, &wait, &dryRun, &listPorts, &report, &yes})
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
  if (parser.isSet(port)) {
    options.comNumber = ParsePortName(parser.value(port).toStdString());
    if (!options.comNumber) {
      Fail("--port takes COM and a number, such as COM33, or a device such as ttyUSB0");
      return std::nullopt;
    }
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
  if (options.imei && !options.imeiListPath.empty()) {
    Fail("--imei and --imei-list cannot go together");
    return std::nullopt;
  }
  if (options.wait && options.imeiListPath.empty()) {
    Fail("--wait needs --imei-list");
    return std::nullopt;
  }
  if (!options.comNumber && !options.wait && !options.dryRun) {
    Fail("--port is missing");
    return std::nullopt;
  }
  exitCode = 0;
  return options;
}

}  // namespace tolvane

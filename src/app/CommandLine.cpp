#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

namespace tolvane {

std::optional<CCommandLine> ParseCommandLine(const QStringList& arguments, int& exitCode) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Configures a Mirl intercom plugged into this PC through a serial port."));
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption version = parser.addVersionOption();
  const QCommandLineOption language(
      QStringLiteral("language"),
      QStringLiteral("The language of the window, its messages and the About box: en_US (English, the default) or "
                     "zh_CN (Simplified Chinese)."),
      QStringLiteral("code"), QStringLiteral("en_US"));
  parser.addOption(language);
  const QCommandLineOption trace(
      QStringLiteral("trace"),
      QStringLiteral("Appends every message sent to and received from the device to this file, from start-up on, "
                     "for a report to support. Passwords and the Bluetooth PIN are masked."),
      QStringLiteral("file"));
  parser.addOption(trace);

  exitCode = 0;
  if (!parser.parse(arguments)) {
    std::fprintf(stderr, "tolvane: %s\nTry tolvane --help.\n", qPrintable(parser.errorText()));
    exitCode = 2;
    return std::nullopt;
  }
  if (parser.isSet(help)) {
    std::fputs(qPrintable(parser.helpText()), stdout);
    return std::nullopt;
  }
  if (parser.isSet(version)) {
    std::printf("tolvane %s\n", qPrintable(QCoreApplication::applicationVersion()));
    return std::nullopt;
  }
  CCommandLine result;
  result.traceFile = parser.value(trace);
  if (parser.isSet(trace) && result.traceFile.isEmpty()) {
    std::fputs("tolvane: --trace needs a file name\n", stderr);
    exitCode = 2;
    return std::nullopt;
  }
  const QString code = parser.value(language);
  if (code == QStringLiteral("zh_CN")) {
    result.language = TextLanguage::Chinese;
  } else if (code != QStringLiteral("en_US")) {
    std::fprintf(stderr, "tolvane: unknown language \"%s\": use en_US or zh_CN\n", qPrintable(code));
    exitCode = 2;
    return std::nullopt;
  }
  return result;
}

}  // namespace tolvane

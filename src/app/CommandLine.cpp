#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <cstdio>

namespace tolvane {
namespace {

// The program's own options; Qt's (-platform and the like) are taken by the application first.
struct CParser {
  CParser() {
    parser.setApplicationDescription(
        QStringLiteral("Configures a Mirl intercom plugged into this PC through a serial port."));
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(language);
    parser.addOption(trace);
  }

  QCommandLineParser parser;
  QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Shows this help.")};
  QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")}, QStringLiteral("Shows the version.")};
  QCommandLineOption language{QStringLiteral("language"),
                              QStringLiteral("The language of the window, its messages and the About box: en_US "
                                             "(English, the default) or zh_CN (Simplified Chinese)."),
                              QStringLiteral("code"), QStringLiteral("en_US")};
  QCommandLineOption trace{QStringLiteral("trace"),
                           QStringLiteral("Appends every message sent to and received from the device to this file, "
                                          "from start-up on, for a report to support. Passwords and the Bluetooth "
                                          "PIN are masked."),
                           QStringLiteral("file")};
};

}  // namespace

bool PrintInformationIfAsked(const QStringList& arguments) {
  CParser options;
  // Unknown options are the full parse's business; here only help and version count.
  options.parser.parse(arguments);
  if (options.parser.isSet(options.help)) {
    QString text = options.parser.helpText();
    text.replace(QStringLiteral("<executable_name>"), QStringLiteral("tolvane"));
    std::fputs(qPrintable(text), stdout);
    return true;
  }
  if (options.parser.isSet(options.version)) {
    std::printf("tolvane %s\n", TOLVANE_VERSION);
    return true;
  }
  return false;
}

std::optional<CCommandLine> ParseCommandLine(const QStringList& arguments, int& exitCode) {
  CParser options;
  exitCode = 0;
  if (!options.parser.parse(arguments) || !options.parser.positionalArguments().isEmpty()) {
    const QString error =
        options.parser.errorText().isEmpty()
            ? QStringLiteral("unexpected argument \"%1\"").arg(options.parser.positionalArguments().value(0))
            : options.parser.errorText();
    std::fprintf(stderr, "tolvane: %s\nTry tolvane --help.\n", qPrintable(error));
    exitCode = 2;
    return std::nullopt;
  }
  CCommandLine result;
  result.traceFile = options.parser.value(options.trace);
  if (options.parser.isSet(options.trace) && result.traceFile.isEmpty()) {
    std::fputs("tolvane: --trace needs a file name\n", stderr);
    exitCode = 2;
    return std::nullopt;
  }
  const QString code = options.parser.value(options.language);
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

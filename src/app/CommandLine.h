#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "res/Strings.h"

namespace tolvane {

// What the command line asks of the program.
struct CCommandLine {
  TextLanguage language = TextLanguage::English;
  QString traceFile;  // empty: no trace file
};

// True when the arguments ask for help or the version; it has printed them. Needs no application
// object, so it works without a display.
bool PrintInformationIfAsked(const QStringList& arguments);

// Parses what is left once Qt has taken its own options (program name first). A bad argument is
// reported on standard error and gives nothing, with `exitCode` 2.
std::optional<CCommandLine> ParseCommandLine(const QStringList& arguments, int& exitCode);

}  // namespace tolvane

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

// Parses the arguments (program name first). Prints --help and --version itself and returns
// nothing, with `exitCode` 0; a bad argument is reported on standard error, with `exitCode` 2.
std::optional<CCommandLine> ParseCommandLine(const QStringList& arguments, int& exitCode);

}  // namespace tolvane

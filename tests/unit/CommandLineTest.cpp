// The command line of tolvane and Tolvane.exe: the language, the trace file, help and version, and
// what is refused, with the texts and exit statuses each program shows.
#include <gtest/gtest.h>

#include "shell/CommandLine.h"

namespace tolvane {
namespace {

using Action = CCommandLine::EAction;

CCommandLine Linux(const std::vector<std::string>& arguments) { return ParseCommandLine(arguments, EProgram::Tolvane); }
CCommandLine Windows(const std::vector<std::string>& arguments) {
  return ParseCommandLine(arguments, EProgram::TolvaneExe);
}

TEST(CommandLine, languageIsEnglishUnlessChineseIsAskedForAndTheLastChoiceCounts) {
  EXPECT_EQ(Linux({}).action, Action::Run);
  EXPECT_EQ(Linux({}).language, TextLanguage::English);
  EXPECT_EQ(Linux({"--language", "zh_CN"}).language, TextLanguage::Chinese);
  EXPECT_EQ(Windows({"--language=zh_CN"}).language, TextLanguage::Chinese);
  const CCommandLine both = Linux({"--language", "zh_CN", "--language=en_US"});
  EXPECT_EQ(both.action, Action::Run);
  EXPECT_EQ(both.language, TextLanguage::English);
}

TEST(CommandLine, traceFileIsTakenInEitherSpelling) {
  EXPECT_EQ(Windows({}).traceFile, "");
  const CCommandLine separate = Windows({"--trace", "C:\\Users\\x\\trace.txt", "--language", "zh_CN"});
  EXPECT_EQ(separate.action, Action::Run);
  EXPECT_EQ(separate.traceFile, "C:\\Users\\x\\trace.txt");
  EXPECT_EQ(separate.language, TextLanguage::Chinese);
  EXPECT_EQ(Linux({"--trace=t.txt"}).traceFile, "t.txt");
  EXPECT_EQ(Linux({"--trace", "--help"}).traceFile, "--help");  // a value, whatever it looks like
}

TEST(CommandLine, helpAndVersionAreAnsweredWhereverTheyStand) {
  for (const char* asked : {"-h", "--help", "/?"}) {
    const CCommandLine help = Windows({"--language", "fr_FR", asked, "-v"});
    EXPECT_EQ(help.action, Action::ShowHelp) << asked;
    EXPECT_EQ(help.exitStatus, 0);
  }
  EXPECT_EQ(Linux({"-v"}).text, "tolvane 1.0.0.1");
  EXPECT_EQ(Windows({"--colour", "--version"}).text, "Tolvane 1.0.0.1");
  EXPECT_EQ(Linux({"--help"}).text,
            "Usage: tolvane [options]\n"
            "Configures a Mirl intercom plugged into this PC through a serial port.\n\n"
            "Options:\n"
            "  -h, --help         Shows this help.\n"
            "  -v, --version      Shows the version.\n"
            "  --language <code>  The language of the window, its messages and the About\n"
            "                     box: en_US (English, the default) or zh_CN (Simplified\n"
            "                     Chinese).\n"
            "  --trace <file>     Appends every message sent to and received from the device\n"
            "                     to this file, from start-up on, for a report to support.\n"
            "                     Passwords and the Bluetooth PIN are masked.");
  EXPECT_EQ(Windows({"-h"}).text,
            "Usage: Tolvane.exe [--language CODE] [--trace FILE]\n"
            "Configures a Mirl intercom plugged into this PC through a serial port.\n\n"
            "  -h, --help        Shows this help.\n"
            "  -v, --version     Shows the version.\n"
            "  --language CODE   The language of the window, its messages and the About box: en_US (English, the "
            "default) or zh_CN (Simplified Chinese).\n"
            "  --trace FILE      Appends every message sent to and received from the device to this file, from "
            "start-up on, for a report to support. Passwords and the Bluetooth PIN are masked.");
}

TEST(CommandLine, badArgumentsAreRefusedWithTheFirstReasonAndStatusTwo) {
  const struct {
    std::vector<std::string> arguments;
    const char* reason;
  } kBad[] = {
      {{"--language", "fr_FR"}, "unknown language \"fr_FR\": use en_US or zh_CN"},
      {{"--language"}, "--language needs a value: en_US or zh_CN"},
      {{"--language="}, "unknown language \"\": use en_US or zh_CN"},
      {{"--colour", "COM3"}, "unknown option \"--colour\""},
      {{"COM3", "--colour"}, "unexpected argument \"COM3\""},
      {{"--trace"}, "--trace needs a file name"},
      {{"--trace="}, "--trace needs a file name"},
  };
  for (const auto& bad : kBad) {
    const CCommandLine onLinux = Linux(bad.arguments);
    EXPECT_EQ(onLinux.action, Action::Refuse) << bad.reason;
    EXPECT_EQ(onLinux.exitStatus, 2) << bad.reason;
    EXPECT_EQ(onLinux.text, std::string(bad.reason) + "\nTry tolvane --help.");
    EXPECT_EQ(Windows(bad.arguments).text, std::string(bad.reason) + "\nTry Tolvane.exe --help.");
  }
}

}  // namespace
}  // namespace tolvane

// Tolvane.exe's command line: the language choice, help and version, and what is refused.
#include <gtest/gtest.h>

#include "win32/app/CommandLine.h"

namespace tolvane::win32 {
namespace {

using Action = CCommandLine::Action;

TEST(CommandLine, languageIsEnglishUnlessChineseIsAskedFor) {
  EXPECT_EQ(ParseCommandLine({}).action, Action::Run);
  EXPECT_EQ(ParseCommandLine({}).language, TextLanguage::English);
  EXPECT_EQ(ParseCommandLine({"--language", "zh_CN"}).language, TextLanguage::Chinese);
  EXPECT_EQ(ParseCommandLine({"--language=zh_CN"}).language, TextLanguage::Chinese);
  // The last choice counts, as with the Linux program.
  const CCommandLine both = ParseCommandLine({"--language", "zh_CN", "--language=en_US"});
  EXPECT_EQ(both.action, Action::Run);
  EXPECT_EQ(both.language, TextLanguage::English);
}

TEST(CommandLine, helpAndVersionAreAnsweredInsteadOfRunning) {
  for (const char* asked : {"-h", "--help", "/?"}) {
    const CCommandLine help = ParseCommandLine({"--language", "zh_CN", asked});
    EXPECT_EQ(help.action, Action::ShowHelp) << asked;
    EXPECT_NE(help.message.find("--language"), std::string::npos);
  }
  const CCommandLine version = ParseCommandLine({"-v"});
  EXPECT_EQ(version.action, Action::ShowVersion);
  EXPECT_EQ(version.message, "Tolvane 1.0.0.1");
}

TEST(CommandLine, traceFileIsTakenInEitherSpelling) {
  EXPECT_EQ(ParseCommandLine({}).traceFile, "");
  const CCommandLine separate = ParseCommandLine({"--trace", "C:\\Users\\x\\trace.txt", "--language", "zh_CN"});
  EXPECT_EQ(separate.action, Action::Run);
  EXPECT_EQ(separate.traceFile, "C:\\Users\\x\\trace.txt");
  EXPECT_EQ(separate.language, TextLanguage::Chinese);
  EXPECT_EQ(ParseCommandLine({"--trace=t.txt"}).traceFile, "t.txt");
  EXPECT_NE(ParseCommandLine({"--help"}).message.find("--trace FILE"), std::string::npos);
}

TEST(CommandLine, badArgumentsAreRefusedWithTheReason) {
  const struct {
    std::vector<std::string> arguments;
    const char* reason;
  } kBad[] = {
      {{"--language", "fr_FR"}, "unknown language \"fr_FR\""},
      {{"--language"}, "--language needs a value"},
      {{"--language="}, "unknown language \"\""},
      {{"--colour"}, "unknown option \"--colour\""},
      {{"COM3"}, "unexpected argument \"COM3\""},
      {{"--trace"}, "--trace needs a file name"},
      {{"--trace="}, "--trace needs a file name"},
  };
  for (const auto& bad : kBad) {
    const CCommandLine parsed = ParseCommandLine(bad.arguments);
    EXPECT_EQ(parsed.action, Action::Refuse) << bad.reason;
    EXPECT_NE(parsed.message.find(bad.reason), std::string::npos) << parsed.message;
  }
}

}  // namespace
}  // namespace tolvane::win32

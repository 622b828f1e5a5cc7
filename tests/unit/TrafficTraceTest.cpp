// The traffic trace: what it masks, how a line reads, and what it keeps while nobody takes.
#include <gtest/gtest.h>

#include <regex>

#include "link/TrafficTrace.h"
#include "res/Strings.h"

namespace tolvane {
namespace {

const std::string kMask = kSecretMask;
constexpr auto kTo = TraceDirection::ToDevice;
constexpr auto kFrom = TraceDirection::FromDevice;

TEST(MaskSecrets, hidesEachSecretBehindTheSameFixedMask) {
  EXPECT_EQ(MaskSecrets(kTo, "ACCOUNT:unit7^hunter2"), "ACCOUNT:unit7^" + kMask);
  EXPECT_EQ(MaskSecrets(kTo, "CUSTOMER_PW:dealer-secret"), "CUSTOMER_PW:" + kMask);
  EXPECT_EQ(MaskSecrets(kTo, "APN:internet^me@pa55"), "APN:internet^me@" + kMask);
  EXPECT_EQ(MaskSecrets(kTo, "WiFi_PW:11:22:33:44:55:66^parlo123"), "WiFi_PW:11:22:33:44:55:66^" + kMask);
  EXPECT_EQ(MaskSecrets(kTo, "BT:00:11:22:33:44:55^pair^86429753"), "BT:00:11:22:33:44:55^pair^" + kMask);
  // An empty secret looks like any other: neither length nor absence shows.
  EXPECT_EQ(MaskSecrets(kTo, "ACCOUNT:unit7^"), "ACCOUNT:unit7^" + kMask);
  EXPECT_EQ(MaskSecrets(kTo, "CUSTOMER_PW:"), "CUSTOMER_PW:" + kMask);
  EXPECT_EQ(MaskSecrets(kTo, "APN:apn1^@"), "APN:apn1^@" + kMask);
  EXPECT_EQ(MaskSecrets(kTo, "BT:00:11:22:33:44:55^pair^"), "BT:00:11:22:33:44:55^pair^" + kMask);
}

TEST(MaskSecrets, separatorsInsideFieldsHideMoreRatherThanLess) {
  // An account name holding "^": its rest goes with the password.
  EXPECT_EQ(MaskSecrets(kTo, "ACCOUNT:a:b^c^ p@ss^: "), "ACCOUNT:a:b^" + kMask);
  // A password holding "@" is hidden whole; a user name holding "@" loses its rest.
  EXPECT_EQ(MaskSecrets(kTo, "APN:apn^user^x@p@ss"), "APN:apn^user^x@" + kMask);
  EXPECT_EQ(MaskSecrets(kTo, "APN:a@pn^me@isp@pw"), "APN:a@pn^me@" + kMask);
  EXPECT_EQ(MaskSecrets(kTo, "WiFi_PW:addr^pa^ss"), "WiFi_PW:addr^" + kMask);
  EXPECT_EQ(MaskSecrets(kTo, "account:unit7^hunter2"), "account:unit7^" + kMask);
}

TEST(MaskSecrets, leavesIdentitiesAddressesAndVerdictsReadable) {
  for (const char* message :
       {"IMEI:860000000000001", "IP:10.0.0.1", "HOST:intercom.example.com", "ACCOUNT:ok", "APN:fail",
        "APN_RESET:", "WiFi_L:Home^11:22:33:44:55:66^3", "WiFi_N:11:22:33:44:55:66", "BT_L:Headset^00:11:22:33:44:55^P",
        "BT:00:11:22:33:44:55^unpair", "BT:research", "BT_P:00:11:22:33:44:55^pair_ok", "GPS_R:$GPGGA,123519",
        "COM:open", "no key at all", ""}) {
    EXPECT_EQ(MaskSecrets(kTo, message), message);
    EXPECT_EQ(MaskSecrets(kFrom, message), message);
  }
  EXPECT_EQ(MaskSecrets(kFrom, "CUSTOMER_PW:ok"), "CUSTOMER_PW:ok");
  EXPECT_EQ(MaskSecrets(kFrom, "CUSTOMER_PW:fail"), "CUSTOMER_PW:fail");
  // Sent, "ok" is a password like any other; received, anything but the verdicts might be one.
  EXPECT_EQ(MaskSecrets(kTo, "CUSTOMER_PW:ok"), "CUSTOMER_PW:" + kMask);
  EXPECT_EQ(MaskSecrets(kFrom, "CUSTOMER_PW:dealer-secret"), "CUSTOMER_PW:" + kMask);
  EXPECT_EQ(MaskSecrets(kFrom, "APN:internet^me@pa55"), "APN:internet^me@" + kMask);
}

TEST(TrafficTrace, recordsNothingUntilAskedThenMasksAsItRecords) {
  CTrafficTrace trace;
  std::size_t leftOut = 99;
  trace.Record(kTo, "ACCOUNT:unit7^hunter2~");
  EXPECT_TRUE(trace.Take(leftOut).empty());
  EXPECT_EQ(leftOut, 0u);
  trace.SetRecording(true);
  trace.Record(kTo, "ACCOUNT:unit7^hunter2~");
  trace.Record(kFrom, "ACCOUNT:ok");
  const std::vector<CTraceEntry> entries = trace.Take(leftOut);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].direction, kTo);
  EXPECT_EQ(entries[0].text, "ACCOUNT:unit7^" + kMask);
  EXPECT_EQ(entries[1].direction, kFrom);
  EXPECT_EQ(entries[1].text, "ACCOUNT:ok");
  EXPECT_LE(entries[0].at, entries[1].at);
  EXPECT_TRUE(trace.Take(leftOut).empty());
}

TEST(TrafficTrace, aTakerThatFallsBehindIsToldHowManyWereLeftOut) {
  CTrafficTrace trace;
  trace.SetRecording(true);
  for (std::size_t i = 0; i < CTrafficTrace::kMaxPending + 3; ++i) trace.Record(kFrom, "GPS_ST:8");
  std::size_t leftOut = 0;
  EXPECT_EQ(trace.Take(leftOut).size(), CTrafficTrace::kMaxPending);
  EXPECT_EQ(leftOut, 3u);
  trace.Record(kFrom, "GPS_ST:9");
  EXPECT_EQ(trace.Take(leftOut).size(), 1u);
  EXPECT_EQ(leftOut, 0u);
}

TEST(FormatTraceLine, timestampInMillisecondsDirectionAndTextOnOneLine) {
  const auto at = std::chrono::system_clock::now();
  const std::string sent = FormatTraceLine({at, kTo, "IP:10.0.0.1"});
  EXPECT_TRUE(std::regex_match(sent, std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3}  → device  IP:10\.0\.0\.1)")))
      << sent;
  const std::string received = FormatTraceLine({at, kFrom, "GPS_R:a\r\nb\x7F"});
  EXPECT_TRUE(received.ends_with("  ← device  GPS_R:a\\x0D\\x0Ab\\x7F")) << received;
  EXPECT_EQ(sent.substr(0, 23), received.substr(0, 23));
}

TEST(FormatTraceLine, marksTheDirectionInTheChosenLanguage) {
  SetThreadTextLanguage(TextLanguage::Chinese);
  const std::string line = FormatTraceLine({std::chrono::system_clock::now(), kFrom, "COM:open"});
  SetThreadTextLanguage(TextLanguage::English);
  EXPECT_TRUE(line.ends_with("  ← 设备  COM:open")) << line;
}

}  // namespace
}  // namespace tolvane

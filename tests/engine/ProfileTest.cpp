#include <gtest/gtest.h>

#include <fstream>

#include "TemporaryDirectory.h"
#include "engine/Profile.h"

namespace tolvane::testing {
namespace {

class ProfileTest : public ::testing::Test {
 protected:
  // Writes the text as a profile and reads it; the error text when it is refused.
  std::optional<CProfile> Read(const std::string& text) {
    path = directory.FilePath("dealer.ini");
    std::ofstream(path) << text;
    error.clear();
    return ReadProfile(path, error);
  }
  std::string Refusal(const std::string& text) {
    EXPECT_FALSE(Read(text).has_value()) << text;
    return error.substr(error.find(':') + 1);
  }

  CTemporaryDirectory directory;
  std::string path;
  std::string error;
};

TEST_F(ProfileTest, readsEveryKey) {
  const auto profile = Read(
      "; dealer\nimei = 860000000000001\nserver_ip = 10.0.0.5\ndomain = talk.example.com\naccount = unit7\n"
      "account_password = \"a,b;c\"\ndealer_password =\napn = cmnet\napn_user = me@isp\napn_password = pw\n"
      "language = zh_CN\nnetwork_type = 3G/2G\nwifi_address = 3c:84:6a:01:22:9f\nwifi_password = parlo123\n"
      "factory_reset = true\n");
  ASSERT_TRUE(profile) << error;
  EXPECT_EQ(profile->imei, "860000000000001");
  EXPECT_EQ(profile->serverIp, 0x0A000005u);
  EXPECT_EQ(profile->accountPassword, "a,b;c");
  EXPECT_EQ(profile->dealerPassword, "");
  EXPECT_EQ(profile->apnUser, "me@isp");
  EXPECT_EQ(profile->networkType, "3G/2G");
  EXPECT_TRUE(profile->factoryReset);
  EXPECT_FALSE(profile->clearApn);
  EXPECT_FALSE(Read("")->imei.has_value());
}

TEST_F(ProfileTest, unknownKeys_areNamedWithTheirLine) {
  EXPECT_EQ(Refusal("imei = 860000000000001\n\napn_name = cmnet\n"), "3: unknown key \"apn_name\"");
  EXPECT_EQ(Refusal("Language = en_US\n"), "1: unknown key \"Language\"");
  EXPECT_EQ(Refusal("[wifi]\naddress = x\n"), "2: unknown key \"wifi/address\"");
  EXPECT_EQ(Refusal("apn cmnet\n"), "1: expected key = value, found \"apn cmnet\"");
  EXPECT_TRUE(Read("[General]\napn = cmnet\n")) << error;
}

TEST_F(ProfileTest, valuesTheIniFormatWouldChange_mustBeQuoted) {
  // Unquoted, the INI format would make a list of these, cut at the ";" or read the "\" as an escape.
  for (const char* text : {"account_password = a,b\n", "account_password = ab;cd\n", "apn_password = a\\\\b\n"})
    EXPECT_NE(Refusal(text).find("put it in double quotes"), std::string::npos) << text;
  EXPECT_EQ(Read("apn_password = \"a\\\\b\"\napn = x\n")->apnPassword, "a\\b");
}

TEST_F(ProfileTest, quotedValues_readAsTheIniFormatReadsThem) {
  const auto read = [this](const std::string& value) {
    const auto profile = Read("account = a\naccount_password = " + value + "\n");
    return profile ? profile->accountPassword.value_or("?") : "refused";
  };
  EXPECT_EQ(read(R"("a \"b\" ,;" ; a comment)"), "a \"b\" ,;");
  EXPECT_EQ(read(R"("tab\there\x41\102")"), "tab\thereAB");
  EXPECT_EQ(read(R"("kept "  blanks  )"), "kept blanks  ");
  // A quote left open or a backslash at the end would run on into the next line.
  EXPECT_EQ(read(R"("open)"), "refused");
  EXPECT_EQ(read(R"("a"\)"), "refused");
}

TEST_F(ProfileTest, aKeyGivenTwice_namesBothLines) {
  EXPECT_EQ(Refusal("apn = a\napn = b\n"), "2: \"apn\" is given twice (first on line 1)");
}

TEST_F(ProfileTest, valuesTheWindowCouldNotHold_areRefusedBeforeAnythingIsSent) {
  EXPECT_EQ(Refusal("language = english\n"), "1: language must be en_US or zh_CN");
  EXPECT_EQ(Refusal("network_type = 4G\n"), "1: network_type must be 2G, 3G or 3G/2G");
  EXPECT_EQ(Refusal("imei = 86000000000000A\n"), "1: imei must be digits 0 to 9 only");
  EXPECT_EQ(Refusal("factory_reset = yes\n"), "1: factory_reset must be true or false");
  EXPECT_EQ(Refusal("domain =\n"), "1: domain must not be empty");
  for (const char* address : {"10.0.0.256", "10.0.0", "10.0.0.1.2", "10..0.1", "a.b.c.d"})
    EXPECT_EQ(Refusal(std::string("server_ip = ") + address + "\n"),
              "1: server_ip must be an IPv4 address such as 10.0.0.5")
        << address;
}

TEST_F(ProfileTest, keysThatNeedAnother_sayWhich) {
  EXPECT_EQ(Refusal("apn_user = me\n"), "1: apn_user needs apn");
  EXPECT_EQ(Refusal("account_password = pw\n"), "1: account_password needs account");
  EXPECT_EQ(Refusal("apn = cmnet\nclear_apn = true\n"), "2: clear_apn = true cannot go with apn");
  EXPECT_EQ(Refusal("wifi_address = 3c:84:6a:01:22:9f\n"),
            "1: wifi_address needs wifi_password (empty for an open network)");
  EXPECT_TRUE(Read("wifi_address = x\nwifi_password =\nclear_apn = false\napn = a\n")) << error;
}

}  // namespace
}  // namespace tolvane::testing

#pragma once

#include <string>

namespace tolvane::devsim {

// The intercom app's own settings, as it comes from the factory.
struct CDeviceSettings {
  std::string strImei = "356938035643809";
  std::string strServerIp = "192.168.10.20";
  std::string strDomain;
  std::string strAccount;
  std::string strAccountPassword;
  std::string strDealerPassword = "123456";
  std::string strApn = "cmnet";
  std::string strApnUser;
  std::string strApnPassword;
  std::string strLanguage = "en_US";
  std::string strNetworkType = "3G/2G";
};

}  // namespace tolvane::devsim

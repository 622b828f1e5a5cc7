#include "engine/ProvisionSteps.h"

namespace tolvane {

std::vector<ECommand> PlanSteps(const CProfile& profile) {
  std::vector<ECommand> steps;
  if (profile.imei) steps.push_back(ECommand::WriteImei);
  if (profile.serverIp) steps.push_back(ECommand::UpdateIp);
  if (profile.domain) steps.push_back(ECommand::UpdateDomain);
  if (profile.account) steps.push_back(ECommand::SetAccount);
  if (profile.dealerPassword) steps.push_back(ECommand::UpdateDealerPw);
  if (profile.apn) steps.push_back(ECommand::SetApn);
  if (profile.clearApn) steps.push_back(ECommand::ClearApn);
  if (profile.language) steps.push_back(ECommand::SetLanguage);
  if (profile.networkType) steps.push_back(ECommand::SetNetwork);
  if (profile.wifiAddress) {
    steps.push_back(ECommand::OpenWifi);
    steps.push_back(ECommand::ConnectWifi);
  }
  // Last, whatever else the profile holds: the device restarts and the link ends.
  if (profile.factoryReset) steps.push_back(ECommand::FactoryReset);
  return steps;
}

}  // namespace tolvane

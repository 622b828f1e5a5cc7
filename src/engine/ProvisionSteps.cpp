#include "engine/ProvisionSteps.h"

#include <iterator>

#include "res/ControlIds.h"

namespace tolvane {

namespace {

struct CStepEntry {
  EStepKind kind;
  const char* name;
  CStepRules rules;
};

constexpr CStepEntry kSteps[] = {
    {EStepKind::Connect, "Connect", {IDC_CONNECT, ECommand::Connect}},
    {EStepKind::WriteImei, "Write IMEI", {IDC_WRITE_IMEI, ECommand::WriteImei}},
    {EStepKind::UpdateIp, "Update IP", {IDC_UPDATE_IP, ECommand::UpdateIp, true}},
    {EStepKind::UpdateDomain, "Update Domain", {IDC_UPDATE_DOMAIN, ECommand::UpdateDomain, true}},
    {EStepKind::SetAccount, "Set Account/Pw", {IDC_SET_ACCOUNT, ECommand::SetAccount, true, true}},
    {EStepKind::UpdateDealerPw, "Update Pw", {IDC_UPDATE_DEALER_PW, ECommand::UpdateDealerPw, true, true}},
    {EStepKind::SetApn, "Set APN", {IDC_SET_APN, ECommand::SetApn, true, true}},
    {EStepKind::ClearApn, "Clear APN", {IDC_CLEAR_APN, ECommand::ClearApn, true, true}},
    {EStepKind::SetLanguage, "Set Language", {IDC_SET_LANGUAGE, ECommand::SetLanguage}},
    {EStepKind::SetNetwork, "Set Network", {IDC_SET_NETWORK, ECommand::SetNetwork}},
    {EStepKind::OpenWifi, "Open Wi-Fi", {IDC_WIFI_OPEN, ECommand::OpenWifi}},
    {EStepKind::JoinWifi, "Join Wi-Fi", {IDC_WIFI_CONNECT, ECommand::ConnectWifi, true}},
    {EStepKind::FactoryReset, "Factory Reset", {IDC_FACTORY_RESET, ECommand::FactoryReset}},
};

// The table is read by kind: entry i must be kind i, and every kind must have its entry.
constexpr bool InKindOrder() {
  for (std::size_t index = 0; index < std::size(kSteps); ++index)
    if (static_cast<std::size_t>(kSteps[index].kind) != index) return false;
  return std::size(kSteps) == kStepKindCount;
}
static_assert(InKindOrder(), "kSteps must list every step kind, in the order of EStepKind");

const CStepEntry& EntryOf(EStepKind kind) { return kSteps[static_cast<std::size_t>(kind)]; }

}  // namespace

const char* StepName(EStepKind kind) { return EntryOf(kind).name; }
const CStepRules& RulesOf(EStepKind kind) { return EntryOf(kind).rules; }

std::vector<EStepKind> PlanSteps(const CProfile& profile) {
  std::vector<EStepKind> steps;
  if (profile.imei) steps.push_back(EStepKind::WriteImei);
  if (profile.serverIp) steps.push_back(EStepKind::UpdateIp);
  if (profile.domain) steps.push_back(EStepKind::UpdateDomain);
  if (profile.account) steps.push_back(EStepKind::SetAccount);
  if (profile.dealerPassword) steps.push_back(EStepKind::UpdateDealerPw);
  if (profile.apn) steps.push_back(EStepKind::SetApn);
  if (profile.clearApn) steps.push_back(EStepKind::ClearApn);
  if (profile.language) steps.push_back(EStepKind::SetLanguage);
  if (profile.networkType) steps.push_back(EStepKind::SetNetwork);
  if (profile.wifiAddress) {
    steps.push_back(EStepKind::OpenWifi);
    steps.push_back(EStepKind::JoinWifi);
  }
  // Last, whatever else the profile holds: the device restarts and the link ends.
  if (profile.factoryReset) steps.push_back(EStepKind::FactoryReset);
  return steps;
}

}  // namespace tolvane

#include "cli/ProvisionSteps.h"

#include "res/Strings.h"
#include "res/ControlIds.h"
#include "ui/TimerIds.h"

namespace tolvane {

namespace {

struct CStepEntry {
  EStepKind kind;
  const char* name;
  CStepRules rules;
};

const CStepEntry kSteps[] = {
    {EStepKind::Connect, "Connect", {IDC_CONNECT}},
    {EStepKind::WriteImei, "Write IMEI", {IDC_WRITE_IMEI, IDS_WRITE_IMEI_OK, IDS_WRITE_IMEI_FAIL}},
    {EStepKind::UpdateIp, "Update IP", {IDC_UPDATE_IP, IDS_UPDATE_IP_OK, IDS_UPDATE_IP_FAIL, TIMER_UPDATE_IP}},
    {EStepKind::UpdateDomain,
     "Update Domain",
     {IDC_UPDATE_DOMAIN, IDS_UPDATE_DOMAIN_OK, IDS_UPDATE_DOMAIN_FAIL, TIMER_UPDATE_DOMAIN}},
    {EStepKind::SetAccount,
     "Set Account/Pw",
     {IDC_SET_ACCOUNT, IDS_SET_ACCOUNT_OK, IDS_SET_ACCOUNT_FAIL, TIMER_SET_ACCOUNT, true}},
    {EStepKind::UpdateDealerPw,
     "Update Pw",
     {IDC_UPDATE_DEALER_PW, IDS_DEALER_PW_OK, IDS_DEALER_PW_FAIL, TIMER_UPDATE_DEALER_PW, true}},
    {EStepKind::SetApn, "Set APN", {IDC_SET_APN, IDS_SET_APN_OK, IDS_SET_APN_FAIL, TIMER_SET_APN, true}},
    {EStepKind::ClearApn, "Clear APN", {IDC_CLEAR_APN, IDS_CLEAR_APN_OK, IDS_CLEAR_APN_FAIL, TIMER_CLEAR_APN, true}},
    {EStepKind::SetLanguage, "Set Language", {IDC_SET_LANGUAGE, IDS_SET_LANGUAGE_OK, IDS_SET_LANGUAGE_FAIL}},
    {EStepKind::SetNetwork, "Set Network", {IDC_SET_NETWORK, IDS_SET_NETWORK_OK, IDS_SET_NETWORK_FAIL}},
    {EStepKind::OpenWifi, "Open Wi-Fi", {IDC_WIFI_OPEN}},
    {EStepKind::JoinWifi, "Join Wi-Fi", {IDC_WIFI_CONNECT, 0, IDS_WIFI_CONNECT_FAIL, TIMER_WIFI_CONNECT}},
    {EStepKind::FactoryReset, "Factory Reset", {IDC_FACTORY_RESET}},
};

const CStepEntry& EntryOf(EStepKind kind) { return kSteps[static_cast<int>(kind)]; }

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

#pragma once

#include <string>
#include <vector>

#include "cli/Profile.h"

namespace tolvane {

// The steps of a provisioning run, in the one order they always run in.
enum class EStepKind {
  Connect,
  WriteImei,
  UpdateIp,
  UpdateDomain,
  SetAccount,
  UpdateDealerPw,
  SetApn,
  ClearApn,
  SetLanguage,
  SetNetwork,
  OpenWifi,
  JoinWifi,
  FactoryReset,
};

// How the window shows that a step's press has been answered.
struct CStepRules {
  int button = 0;               // the button the press disables
  int okText = 0;               // string id of the box that says it worked; 0 for none
  int failText = 0;             // string id of the box that says the device refused; 0 for none
  int replyTimer = 0;           // the window's own reply timer; 0 for none
  bool bareEnableEnds = false;  // an answer other than ok or fail brings the button back without a box
};

// The name the report uses: the caption of the window's button.
const char* StepName(EStepKind kind);
const CStepRules& RulesOf(EStepKind kind);

// The configuration steps the profile asks for, in order (the connection is not among them).
std::vector<EStepKind> PlanSteps(const CProfile& profile);

}  // namespace tolvane

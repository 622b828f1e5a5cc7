#pragma once

#include <cstddef>
#include <vector>

#include "engine/Profile.h"
#include "ui/CommandOutcome.h"

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
inline constexpr std::size_t kStepKindCount = static_cast<std::size_t>(EStepKind::FactoryReset) + 1;

// What a step presses and which of the dialog's outcomes end it.
struct CStepRules {
  int button = 0;            // the button the press disables
  ECommand command{};        // whose outcomes settle the step
  bool windowTimer = false;  // the window runs a reply timer of its own
  bool otherEnds = false;    // an answer other than ok or fail ends the step as a failure
};

// The name the report uses: the caption of the window's button.
const char* StepName(EStepKind kind);
const CStepRules& RulesOf(EStepKind kind);

// The configuration steps the profile asks for, in order (the connection is not among them).
std::vector<EStepKind> PlanSteps(const CProfile& profile);

}  // namespace tolvane

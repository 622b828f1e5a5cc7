// The one table every window wires itself from: each control of the main window reaches its
// handler with the event it reports, and no other event does.
#include <algorithm>

#include "RadioTestFixture.h"
#include "dialog/ControlRoutes.h"
#include "res/DeviceCommands.h"
#include "res/DialogTemplates.h"

namespace tolvane::testing {
namespace {

bool RoutedOnce(int id, EControlEvent event) {
  const auto routes = ControlRoutes();
  return std::count_if(routes.begin(), routes.end(),
                       [&](const CControlRoute& route) { return route.id == id && route.event == event; }) == 1;
}

TEST(ControlRoutes, everyButtonComboBoxAndListOfTheMainWindowIsRouted) {
  const auto reported = [](ControlKind kind) {
    switch (kind) {
      case ControlKind::Button: return EControlEvent::Clicked;
      case ControlKind::ComboBox: return EControlEvent::SelectionChanged;
      default: return EControlEvent::RowClicked;
    }
  };
  for (const CControlTemplate& control : MainDialogTemplate().controls) {
    const bool acts = control.kind == ControlKind::Button || control.kind == ControlKind::ComboBox ||
                      control.kind == ControlKind::ListView;
    EXPECT_TRUE(!acts || RoutedOnce(control.id, reported(control.kind))) << control.member;
  }
  EXPECT_TRUE(RoutedOnce(IDC_PORT, EControlEvent::DroppingDown));
}

// The production line presses a command's button through these routes; a row naming a button that
// no click reaches would leave its step waiting for a command that never goes.
TEST(ControlRoutes, everyDeviceCommandsButtonIsAButtonThatAClickReaches) {
  for (const CDeviceCommand& command : kDeviceCommands) {
    const auto& controls = MainDialogTemplate().controls;
    const auto control = std::find_if(controls.begin(), controls.end(),
                                      [&](const CControlTemplate& row) { return row.id == command.button; });
    ASSERT_NE(control, controls.end()) << command.name;
    EXPECT_EQ(control->kind, ControlKind::Button) << command.name;
    EXPECT_TRUE(RoutedOnce(command.button, EControlEvent::Clicked)) << command.name;
  }
}

using ControlEvents = RadioTest;

TEST_F(ControlEvents, reachTheirHandlerWithTheRowAndOtherEventsNothing) {
  StartReady();
  EXPECT_FALSE(RouteControlEvent(*dlg, IDC_WIFI_OPEN, EControlEvent::SelectionChanged));
  EXPECT_FALSE(RouteControlEvent(*dlg, IDC_IMEI, EControlEvent::Clicked));
  EXPECT_TRUE(TakeSentCommands().empty());

  ASSERT_TRUE(RouteControlEvent(*dlg, IDC_WIFI_OPEN, EControlEvent::Clicked));
  EXPECT_EQ(TakeSentCommands(), Commands{"WiFi:open~"});
  Say("WiFi:open");
  Say("WiFi_L:Home^11:22:33:44:55:66^3");
  Say("WiFi_L:Office^3c:84:6a:01:22:9f^1");
  ASSERT_TRUE(RouteControlEvent(*dlg, IDC_WIFI_LIST, EControlEvent::RowClicked, 1));
  EXPECT_EQ(dlg->GetWifiSelected(), "3c:84:6a:01:22:9f");
}

}  // namespace
}  // namespace tolvane::testing

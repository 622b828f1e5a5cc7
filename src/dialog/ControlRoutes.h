#pragma once

#include <span>

namespace tolvane {

class CMirlSettingsDlg;

// What a control reports, as far as the logic cares. Each window maps its toolkit's notifications
// onto these and asks the routes for the handler.
enum class EControlEvent {
  Clicked,           // a button pressed
  SelectionChanged,  // the user chose another item of a combo box; a selection the logic sets is none
  DroppingDown,      // a combo box's list is about to open
  RowClicked,        // a mouse click in a list, with the row hit (-1 for none); the keyboard chooses nothing
};

struct CControlRoute {
  using Handler = void (CMirlSettingsDlg::*)();
  using RowHandler = void (CMirlSettingsDlg::*)(int row);

  constexpr CControlRoute(int controlId, EControlEvent controlEvent, Handler onEvent)
      : id(controlId), event(controlEvent), handler(onEvent) {}
  constexpr CControlRoute(int controlId, RowHandler onRow)
      : id(controlId), event(EControlEvent::RowClicked), rowHandler(onRow) {}

  void Run(CMirlSettingsDlg& dialog, int row = -1) const;

  int id;
  EControlEvent event;
  Handler handler = nullptr;
  RowHandler rowHandler = nullptr;
};

// Every route from a control of the main window to the dialog's handlers.
std::span<const CControlRoute> ControlRoutes();

// Runs the handler of this control's event; false when it has none.
bool RouteControlEvent(CMirlSettingsDlg& dialog, int controlId, EControlEvent event, int row = -1);

}  // namespace tolvane

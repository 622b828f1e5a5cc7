#include "qt/DialogBuilder.h"

#include <algorithm>

#include "qt/ControlFactory.h"
#include "qt/DialogUnits.h"
#include "qt/QtAppIcon.h"

namespace tolvane {

std::vector<CBuiltControl> BuildDialog(QDialog& dialog, const CDialogTemplate& dialogTemplate, TextLanguage language) {
  const QFont font = DialogFont(dialogTemplate.font);
  dialog.setFont(font);
  dialog.setWindowTitle(QString::fromUtf8(dialogTemplate.title.Get(language)));
  dialog.setWindowIcon(AppIcon());

  std::vector<CBuiltControl> built;
  built.reserve(dialogTemplate.controls.size());
  for (const CControlTemplate& row : dialogTemplate.controls)
    built.push_back({&row, CreateControl(row, language, &dialog)});
  // Frames come late in the template but belong underneath what they hold.
  for (const CBuiltControl& control : built)
    if (control.widget && control.row->kind == ControlKind::Frame) control.widget->lower();

  // A font wider than the template's would cut captions: the whole dialog then grows evenly, so
  // every control keeps its place relative to the others.
  const auto widgetOf = [&built](const CControlTemplate& row) {
    return std::find_if(built.begin(), built.end(),
                        [&row](const CBuiltControl& control) { return control.row == &row; })
        ->widget;
  };
  const CDialogScale scale = FitDialog(
      dialogTemplate, language, BaseUnitsOf(font),
      [&](const CControlTemplate& row, std::string_view text) { return MeasureCaption(*widgetOf(row), text); });
  for (const CBuiltControl& control : built)
    if (control.widget) PlaceControl(*control.widget, *control.row, language, scale);
  dialog.setFixedSize(ToPixels(scale, dialogTemplate.Width(language), dialogTemplate.Height(language)));
  return built;
}

}  // namespace tolvane

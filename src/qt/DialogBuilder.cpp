#include "qt/DialogBuilder.h"

#include "qt/ControlFactory.h"
#include "qt/DialogUnits.h"
#include "qt/QtAppIcon.h"

namespace tolvane {

std::vector<CBuiltControl> BuildDialog(QDialog& dialog, const CDialogTemplate& dialogTemplate, TextLanguage language) {
  const QFont font = DialogFont(dialogTemplate.font);
  dialog.setFont(font);
  dialog.setWindowTitle(QString::fromUtf8(dialogTemplate.title.Get(language)));
  dialog.setWindowIcon(AppIcon());
  const CDialogBaseUnits units = BaseUnitsOf(font);
  dialog.setFixedSize(ToPixels(units, dialogTemplate.Width(language), dialogTemplate.Height(language)));

  std::vector<CBuiltControl> built;
  built.reserve(dialogTemplate.controls.size());
  for (const CControlTemplate& row : dialogTemplate.controls) {
    QWidget* widget = CreateControl(row, language, &dialog);
    if (widget) PlaceControl(*widget, row, language, units);
    built.push_back({&row, widget});
  }
  // Frames come late in the template but belong underneath what they hold.
  for (const CBuiltControl& control : built)
    if (control.widget && control.row->kind == ControlKind::Frame) control.widget->lower();
  return built;
}

}  // namespace tolvane

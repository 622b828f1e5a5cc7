#include "qt/DialogBuilder.h"

#include <QLabel>
#include <climits>

#include "qt/ControlFactory.h"
#include "qt/DialogUnits.h"
#include "qt/QtAppIcon.h"

namespace tolvane {
namespace {

// How far the horizontal unit may grow, and in what steps.
constexpr int kMaxGrowthPercent = 200;
constexpr int kGrowthStep = 4;

bool TakesSpace(const CBuiltControl& control, TextLanguage language) {
  return control.widget && control.row->kind != ControlKind::Frame && !control.row->IsHidden(language);
}

// Pixels from a label's left edge to the next control on its line, where its text must end.
int RoomRightOf(const CBuiltControl& label, const std::vector<CBuiltControl>& built, TextLanguage language) {
  const QRect own = label.widget->geometry();
  int room = INT_MAX;
  for (const CBuiltControl& other : built) {
    if (&other == &label || !TakesSpace(other, language)) continue;
    const QRect rect = other.widget->geometry();
    const bool sameLine = rect.top() <= own.bottom() && rect.bottom() >= own.top();
    if (sameLine && rect.left() > own.left()) room = std::min(room, rect.left() - own.left());
  }
  return room;
}

bool AllCaptionsFit(const std::vector<CBuiltControl>& built, TextLanguage language) {
  for (const CBuiltControl& control : built) {
    if (!control.widget || control.row->IsHidden(language)) continue;
    const bool isLabel = qobject_cast<QLabel*>(control.widget) && control.row->kind == ControlKind::Label;
    if (!CaptionFits(*control.widget, isLabel ? RoomRightOf(control, built, language) : INT_MAX)) return false;
  }
  return true;
}

}  // namespace

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
  CDialogScale scale{BaseUnitsOf(font)};
  for (;;) {
    for (const CBuiltControl& control : built)
      if (control.widget) PlaceControl(*control.widget, *control.row, language, scale);
    if (AllCaptionsFit(built, language) || scale.horizontalPercent >= kMaxGrowthPercent) break;
    scale.horizontalPercent += kGrowthStep;
  }
  dialog.setFixedSize(ToPixels(scale, dialogTemplate.Width(language), dialogTemplate.Height(language)));
  return built;
}

}  // namespace tolvane

#include "qt/TraceWindow.h"

#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QVBoxLayout>

#include "res/DialogTemplates.h"

namespace tolvane {

namespace {

QString Caption(int id, TextLanguage language) { return QString::fromStdString(LoadString(id, language)); }

}  // namespace

CTraceWindow::CTraceWindow(TextLanguage language, QWidget* parent)
    : QDialog(parent),
      m_language(language),
      m_pView(new QPlainTextEdit(this)),
      m_pSave(new QPushButton(Caption(IDS_TRAFFIC_SAVE, language), this)),
      m_pClear(new QPushButton(Caption(IDS_TRAFFIC_CLEAR, language), this)) {
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                 Qt::WindowCloseButtonHint);
  setWindowTitle(Caption(IDS_TRAFFIC_TITLE, language) + QStringLiteral(" - ") + QString::fromUtf8(kApplicationName));
  setModal(false);
  m_pView->setReadOnly(true);
  m_pView->setLineWrapMode(QPlainTextEdit::NoWrap);
  m_pView->setMaximumBlockCount(kMaxLines);
  m_pView->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  m_pView->setObjectName(QStringLiteral("m_traceView"));
  // The list has no label of its own; a screen reader names it after the window.
  m_pView->setAccessibleName(Caption(IDS_TRAFFIC_TITLE, language));
  m_pSave->setObjectName(QStringLiteral("m_btnTraceSave"));
  m_pClear->setObjectName(QStringLiteral("m_btnTraceClear"));
  for (QPushButton* button : {m_pSave, m_pClear}) button->setAutoDefault(false);
  connect(m_pSave, &QPushButton::clicked, this, &CTraceWindow::OnSave);
  connect(m_pClear, &QPushButton::clicked, m_pView, &QPlainTextEdit::clear);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(m_pSave);
  buttons->addWidget(m_pClear);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_pView);
  layout->addLayout(buttons);
  resize(760, 420);
}

void CTraceWindow::AppendLines(const QStringList& lines) {
  if (lines.isEmpty()) return;
  // Follows the newest line unless the user has scrolled away from it.
  m_pView->appendPlainText(lines.join(QLatin1Char('\n')));
}

QString CTraceWindow::Text() const {
  const QString text = m_pView->toPlainText();
  return text.isEmpty() ? text : text + QLatin1Char('\n');
}

bool CTraceWindow::SaveTo(const QString& path, QString& errorText) const {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(Text().toUtf8()) < 0 || !file.commit()) {
    errorText = file.errorString();
    return false;
  }
  return true;
}

void CTraceWindow::OnSave() {
  QFileDialog dialog(this, m_pSave->text());
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  // The same dialog on every desktop, and one that tests can fill in.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setNameFilter(QStringLiteral("*.txt"));
  dialog.setDefaultSuffix(QStringLiteral("txt"));
  dialog.setDirectory(QDir::home());
  dialog.selectFile(QStringLiteral("tolvane-traffic-%1.txt")
                        .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"))));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  const QString path = dialog.selectedFiles().constFirst();
  QString errorText;
  if (SaveTo(path, errorText)) return;
  QMessageBox box(QMessageBox::Warning, QString::fromUtf8(kApplicationName),
                  QString::fromStdString(FormatString(LoadString(IDS_TRAFFIC_SAVE_FAILED, m_language),
                                                      QDir::toNativeSeparators(path).toStdString())) +
                      QStringLiteral("\n") + errorText,
                  QMessageBox::Ok, this);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

}  // namespace tolvane

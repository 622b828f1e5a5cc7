#include "qtbench/QtBenchTile.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "res/Strings.h"

namespace tolvane {

namespace {

QString Text(int id) { return QString::fromStdString(LoadString(id)); }

// Green and red with their words: the text says the same for those who cannot tell them apart.
QString VerdictStyle(EVerdict verdict) {
  switch (verdict) {
    case EVerdict::Pass: return QStringLiteral("QGroupBox { background: #c8f0c8; }");
    case EVerdict::Fail:
    case EVerdict::NoResponse: return QStringLiteral("QGroupBox { background: #f6c4c4; }");
    case EVerdict::None: break;
  }
  return {};
}

}  // namespace

CQtBenchTile::CQtBenchTile(bool labels, int minimumWidth, QWidget* parent)
    : QGroupBox(parent), m_status(new QLabel(this)), m_progress(new QProgressBar(this)), m_log(new QPushButton(this)) {
  setFocusPolicy(Qt::StrongFocus);
  setMinimumWidth(minimumWidth);
  auto* layout = new QVBoxLayout(this);
  m_status->setWordWrap(true);
  m_status->setTextInteractionFlags(Qt::NoTextInteraction);
  m_status->setMinimumHeight(m_status->fontMetrics().lineSpacing() * 3);
  m_status->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  layout->addWidget(m_status);
  m_progress->setAccessibleName(Text(IDS_BENCH_PROGRESS));
  m_progress->setTextVisible(true);
  m_progress->setFormat(QStringLiteral("%v / %m"));
  m_progress->setRange(0, 1);
  m_progress->setValue(0);
  layout->addWidget(m_progress);
  if (labels) {
    m_label = new QLineEdit(this);
    m_label->setAccessibleName(Text(IDS_BENCH_LABEL));
    m_label->setPlaceholderText(Text(IDS_BENCH_LABEL));
    // A scanner types the label and ends it with Enter, as a keyboard would.
    connect(m_label, &QLineEdit::returnPressed, this, [this] {
      if (onLabel) onLabel(m_label->text());
    });
    layout->addWidget(m_label);
    m_labelMessage = new QLabel(this);
    m_labelMessage->setWordWrap(true);
    m_labelMessage->hide();
    layout->addWidget(m_labelMessage);
  }
  m_log->setText(Text(IDS_BENCH_SHOW_LOG));
  m_log->setAccessibleName(Text(IDS_BENCH_SHOW_LOG));
  connect(m_log, &QPushButton::clicked, this, [this] {
    if (onShowLog) onShowLog();
  });
  layout->addWidget(m_log, 0, Qt::AlignRight);
}

void CQtBenchTile::Show(const CBenchTile& tile) {
  const QString name = QString::fromStdString(tile.name);
  setTitle(name);
  setAccessibleName(name);
  m_status->setText(QString::fromStdString(tile.status));
  m_status->setAccessibleName(QString::fromStdString(tile.status));
  setAccessibleDescription(QString::fromStdString(tile.status));
  setStyleSheet(VerdictStyle(tile.verdict));
  m_progress->setRange(0, std::max(tile.stepCount, 1));
  m_progress->setValue(tile.verdict != EVerdict::None ? std::max(tile.stepCount, 1) : tile.step);
  if (m_label) {
    m_label->setEnabled(tile.state != ETileState::Running);
    // What the operator types stays until the model takes it or the unit is done with it.
    if (tile.label != m_tile.label || (tile.state == ETileState::Done && m_tile.state != ETileState::Done))
      m_label->setText(QString::fromStdString(tile.label));
    if (!tile.labelMessage.empty() && tile.labelMessage != m_tile.labelMessage) m_label->selectAll();
    m_labelMessage->setText(QString::fromStdString(tile.labelMessage));
    m_labelMessage->setAccessibleName(m_labelMessage->text());
    m_labelMessage->setVisible(!tile.labelMessage.empty());
  }
  m_log->setEnabled(!tile.log.empty());
  m_tile = tile;
}

void CQtBenchTile::mouseReleaseEvent(QMouseEvent* event) {
  QGroupBox::mouseReleaseEvent(event);
  if (onShowLog && !m_tile.log.empty()) onShowLog();
}

void CQtBenchTile::keyPressEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && onShowLog && !m_tile.log.empty()) {
    onShowLog();
    return;
  }
  QGroupBox::keyPressEvent(event);
}

}  // namespace tolvane

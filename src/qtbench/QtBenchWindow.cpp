#include "qtbench/QtBenchWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "qt/DialogUnits.h"
#include "qtbench/QtBenchTile.h"
#include "res/BenchLayout.h"
#include "res/DialogTemplates.h"
#include "res/Strings.h"

namespace tolvane {

namespace {

QString Text(int id) { return QString::fromStdString(LoadString(id)); }
QString Q(const std::string& text) { return QString::fromStdString(text); }

QLabel* NamedLabel(QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setTextInteractionFlags(Qt::NoTextInteraction);
  return label;
}

void SetLabelText(QLabel* label, const QString& text) {
  label->setText(text);
  label->setAccessibleName(text);
}

}  // namespace

CQtBenchWindow::CQtBenchWindow(int slotCount, bool labels, bool pool, QWidget* parent)
    : QWidget(parent),
      m_profile(new QGroupBox(this)),
      m_profileRows(NamedLabel(m_profile)),
      m_sound(new QCheckBox(this)),
      m_banner(NamedLabel(this)) {
  setWindowTitle(Text(IDS_BENCH_TITLE));
  setAccessibleName(Text(IDS_BENCH_TITLE));
  setFont(DialogFont(MainDialogTemplate().font));
  const CDialogScale scale(BaseUnitsOf(font()));
  auto* outer = new QHBoxLayout(this);

  // Left: what the bench is locked to, the counters, the pool's claims.
  auto* side = new QVBoxLayout;
  auto* profileLayout = new QVBoxLayout(m_profile);
  profileLayout->addWidget(m_profileRows);
  m_profile->setMinimumWidth(ToPixels(scale, CBenchLayout::kProfileWidth, 0).width());
  side->addWidget(m_profile);
  for (int i = 0; i < (pool ? 5 : 3); ++i) {
    m_counters.push_back(NamedLabel(this));
    side->addWidget(m_counters.back());
  }
  m_sound->setText(Text(IDS_BENCH_SOUND));
  m_sound->setAccessibleName(Text(IDS_BENCH_SOUND));
  m_sound->setChecked(true);
  connect(m_sound, &QCheckBox::toggled, this, [this](bool on) {
    if (m_session) m_session->SetSound(on);
  });
  side->addWidget(m_sound);
  side->addStretch();
  outer->addLayout(side);

  auto* right = new QVBoxLayout;
  auto* grid = new QGridLayout;
  const int columns = BenchColumns(slotCount);
  const int tileWidth = ToPixels(scale, CBenchLayout::kTileWidth, 0).width();
  for (int slot = 0; slot < slotCount; ++slot) {
    auto* tile = new CQtBenchTile(labels, tileWidth, this);
    tile->onLabel = [this, slot](const QString& label) {
      if (m_session) m_session->SetLabel(slot, label.toStdString());
    };
    tile->onShowLog = [this, slot] { ShowLog(slot); };
    grid->addWidget(tile, slot / columns, slot % columns);
    m_tiles.push_back(tile);
  }
  right->addLayout(grid);
  if (pool) {
    m_claimsBox = new QGroupBox(Text(IDS_BENCH_UNCONFIRMED_TITLE), this);
    m_claimsBox->setAccessibleName(Text(IDS_BENCH_UNCONFIRMED_TITLE));
    auto* claimsLayout = new QVBoxLayout(m_claimsBox);
    m_claims = new QTreeWidget(m_claimsBox);
    m_claims->setAccessibleName(Text(IDS_BENCH_UNCONFIRMED_TITLE));
    m_claims->setRootIsDecorated(false);
    QStringList columnsText;
    for (const std::string& column : CBenchModel::UnconfirmedColumns()) columnsText << Q(column);
    m_claims->setHeaderLabels(columnsText);
    m_claims->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_claims->setMinimumHeight(ToPixels(scale, 0, CBenchLayout::kClaimsHeight).height());
    claimsLayout->addWidget(m_claims);
    auto* row = new QHBoxLayout;
    m_poolNote = NamedLabel(m_claimsBox);
    m_poolNote->setWordWrap(true);
    row->addWidget(m_poolNote, 1);
    m_release = new QPushButton(Text(IDS_BENCH_RELEASE), m_claimsBox);
    m_release->setAccessibleName(Text(IDS_BENCH_RELEASE));
    m_release->setEnabled(false);
    connect(m_release, &QPushButton::clicked, this, &CQtBenchWindow::OnRelease);
    connect(m_claims, &QTreeWidget::itemSelectionChanged, this,
            [this] { m_release->setEnabled(!m_claims->selectedItems().isEmpty()); });
    row->addWidget(m_release, 0, Qt::AlignTop);
    claimsLayout->addLayout(row);
    right->addWidget(m_claimsBox);
  }
  m_banner->hide();
  right->addWidget(m_banner);
  outer->addLayout(right, 1);
}

void CQtBenchWindow::Attach(IBenchActions& session) {
  m_session = &session;
  m_profile->setTitle(Q(session.LockedCaption()));
  m_profile->setAccessibleName(Q(session.LockedCaption()));
  QStringList rows;
  for (const std::string& row : session.ProfileRows()) rows << Q(row);
  SetLabelText(m_profileRows, rows.join(QLatin1Char('\n')));
}

void CQtBenchWindow::Post(std::function<void()> task) {
  QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
}

void CQtBenchWindow::ShowBench(const CBenchSnapshot& bench) {
  for (std::size_t slot = 0; slot < m_tiles.size() && slot < bench.tiles.size(); ++slot)
    m_tiles[slot]->Show(bench.tiles[slot]);
  for (std::size_t i = 0; i < m_counters.size() && i < bench.counters.size(); ++i)
    SetLabelText(m_counters[i], Q(bench.counters[i]));
  if (m_claims && bench.unconfirmed != m_shownClaims) {
    const QString selected = m_claims->currentItem() ? m_claims->currentItem()->text(0) : QString();
    m_claims->clear();
    for (const CUnconfirmedClaim& claim : bench.unconfirmed) {
      QStringList cells;
      for (const std::string& cell : CBenchModel::UnconfirmedCells(claim)) cells << Q(cell);
      auto* item = new QTreeWidgetItem(m_claims, cells);
      if (cells.front() == selected) m_claims->setCurrentItem(item);
    }
    m_shownClaims = bench.unconfirmed;
  }
  if (m_poolNote) SetLabelText(m_poolNote, Q(bench.poolNote));
  SetLabelText(m_banner, Q(bench.banner));
  m_banner->setVisible(!bench.banner.empty());
}

void CQtBenchWindow::Beep() { QApplication::beep(); }

void CQtBenchWindow::BenchClosed(int exitStatus) {
  m_bClosed = true;
  if (onClosed) onClosed(exitStatus);
  close();
}

void CQtBenchWindow::closeEvent(QCloseEvent* event) {
  if (m_bClosed || !m_session) {
    event->accept();
    return;
  }
  // Each step under way finishes and each link closes first; BenchClosed closes the window then.
  event->ignore();
  m_session->Close();
}

void CQtBenchWindow::ShowLog(int slot) {
  const CBenchTile& tile = m_tiles.at(static_cast<std::size_t>(slot))->Shown();
  if (tile.log.empty()) return;
  auto* dialog = new QDialog(this);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  const QString title = Q(FormatString(LoadString(IDS_BENCH_LOG_TITLE), tile.name));
  dialog->setWindowTitle(title);
  dialog->setAccessibleName(title);
  auto* layout = new QVBoxLayout(dialog);
  auto* text = new QPlainTextEdit(dialog);
  text->setReadOnly(true);
  text->setAccessibleName(Text(IDS_BENCH_SHOW_LOG));
  text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  QStringList lines;
  for (const std::string& line : tile.log) lines << Q(line);
  text->setPlainText(lines.join(QLatin1Char('\n')));
  text->setMinimumSize(text->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 90,
                       text->fontMetrics().lineSpacing() * 20);
  layout->addWidget(text);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
  connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::close);
  layout->addWidget(buttons);
  dialog->show();
}

void CQtBenchWindow::OnRelease() {
  const QTreeWidgetItem* item = m_claims->currentItem();
  if (!item || !m_session) return;
  const std::string imei = item->text(0).toStdString();
  for (const CUnconfirmedClaim& claim : m_shownClaims) {
    if (claim.imei != imei) continue;
    const QString question = Q(ReleaseQuestion(claim));
    bool release = false;
    if (confirmRelease) {
      release = confirmRelease(question);
    } else {
      QMessageBox box(QMessageBox::Question, Text(IDS_BENCH_RELEASE), question, QMessageBox::NoButton, this);
      QPushButton* yes = box.addButton(Text(IDS_BENCH_RELEASE), QMessageBox::AcceptRole);
      box.addButton(Text(IDS_BENCH_KEEP), QMessageBox::RejectRole);
      box.exec();
      release = box.clickedButton() == yes;
    }
    release ? m_session->Release(imei) : m_session->Keep(imei);
    return;
  }
}

}  // namespace tolvane

#include "qt/ReportList.h"

#include <algorithm>

#include <QHeaderView>
#include <QImage>
#include <QMouseEvent>
#include <QPixmap>
#include <QScrollBar>

namespace tolvane {
namespace {

constexpr int kImageIndexRole = Qt::UserRole + 1;

QPixmap ToPixmap(const CPicture& picture) {
  QImage image(picture.width, picture.height, QImage::Format_RGB32);
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x) image.setPixel(x, y, 0xFF000000u | picture.At(x, y));
  return QPixmap::fromImage(image);
}

}  // namespace

CReportList::CReportList(QWidget* parent) : QTableWidget(parent) {
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setTabKeyNavigation(false);
  setShowGrid(false);
  setWordWrap(false);
  setCornerButtonEnabled(false);
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setStretchLastSection(false);
  horizontalHeader()->setMinimumSectionSize(0);
  UpdateRowHeight();
}

int CReportList::ClientWidth() const {
  // Before the first show the viewport is not laid out yet; the frame tells the same.
  int width = contentsRect().width();
  if (verticalScrollBar()->isVisible()) width -= verticalScrollBar()->width();
  return width;
}

void CReportList::AddExtendedStyle(unsigned styles) {
  m_styles |= styles;
  setShowGrid((m_styles & LVS_EX_GRIDLINES) != 0);
}

Qt::Alignment CReportList::ColumnAlignment(int column) const {
  if (column < 0 || column >= static_cast<int>(m_alignments.size())) return Qt::AlignLeft | Qt::AlignVCenter;
  return m_alignments[static_cast<std::size_t>(column)];
}

void CReportList::InsertColumn(int column, const QString& heading, ColumnAlign align, int width) {
  const int position = std::clamp(column, 0, columnCount());
  Qt::Alignment alignment = Qt::AlignLeft;
  if (position > 0 && align == ColumnAlign::Center) alignment = Qt::AlignHCenter;
  if (position > 0 && align == ColumnAlign::Right) alignment = Qt::AlignRight;
  alignment |= Qt::AlignVCenter;
  insertColumn(position);
  m_alignments.insert(m_alignments.begin() + position, alignment);
  auto* header = new QTableWidgetItem(heading);
  header->setTextAlignment(alignment);
  setHorizontalHeaderItem(position, header);
  setColumnWidth(position, width);
}

void CReportList::SetImages(const CImageList& images) {
  m_images.clear();
  for (const CPicture& picture : images.pictures) m_images.emplace_back(ToPixmap(picture));
  setIconSize(QSize(images.width, images.height));
  UpdateRowHeight();
}

void CReportList::UpdateRowHeight() {
  int height = fontMetrics().height() + 4;
  if (!m_images.empty()) height = std::max(height, iconSize().height() + 2);
  verticalHeader()->setMinimumSectionSize(0);
  verticalHeader()->setDefaultSectionSize(height);
}

int CReportList::InsertItem(int row, const QString& text, int image) {
  if (row < 0) return -1;
  const int position = std::min(row, rowCount());
  insertRow(position);
  if (columnCount() > 0) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(ColumnAlignment(0));
    if (image >= 0 && image < ImageCount()) {
      item->setIcon(m_images[static_cast<std::size_t>(image)]);
      // The pictures are levels (signal bars): screen readers say which one.
      item->setData(Qt::AccessibleDescriptionRole, QStringLiteral("%1/%2").arg(image).arg(ImageCount() - 1));
    }
    item->setData(kImageIndexRole, image);
    setItem(position, 0, item);
  }
  return position;
}

int CReportList::ItemImage(int row) const {
  const QTableWidgetItem* first = item(row, 0);
  return first ? first->data(kImageIndexRole).toInt() : -1;
}

void CReportList::SetItemText(int row, int column, const QString& text) {
  if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return;
  if (QTableWidgetItem* existing = item(row, column)) {
    existing->setText(text);
    return;
  }
  auto* created = new QTableWidgetItem(text);
  created->setTextAlignment(ColumnAlignment(column));
  if (column == 0) created->setData(kImageIndexRole, -1);
  setItem(row, column, created);
}

QString CReportList::ItemText(int row, int column) const {
  const QTableWidgetItem* cell = item(row, column);
  return cell ? cell->text() : QString();
}

void CReportList::DeleteAllItems() { setRowCount(0); }

void CReportList::mouseReleaseEvent(QMouseEvent* event) {
  QTableWidget::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton) emit ItemClicked(indexAt(event->position().toPoint()).row());
}

}  // namespace tolvane

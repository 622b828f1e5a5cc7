#pragma once

#include <QIcon>
#include <QTableWidget>
#include <vector>

#include "res/Picture.h"
#include "ui/IWindow.h"

namespace tolvane {

// A report-view list: columns with a header, rows of text, an optional picture at the start of
// each row, whole rows selected, several at once.
class CReportList : public QTableWidget {
  Q_OBJECT

 public:
  explicit CReportList(QWidget* parent = nullptr);

  // Width of the area that shows the rows, without the border.
  int ClientWidth() const;
  void AddExtendedStyle(unsigned styles);
  unsigned ExtendedStyle() const { return m_styles; }
  // The first column stays left-aligned whatever is asked, as report views keep it.
  void InsertColumn(int column, const QString& heading, ColumnAlign align, int width);
  void SetImages(const CImageList& images);
  int ImageCount() const { return static_cast<int>(m_images.size()); }
  // Inserts at `row` (at the end when beyond it); returns where the row landed, -1 on failure.
  int InsertItem(int row, const QString& text, int image);
  // The image index a row was given; -1 for none.
  int ItemImage(int row) const;
  void SetItemText(int row, int column, const QString& text);
  QString ItemText(int row, int column) const;
  void DeleteAllItems();

 signals:
  // A click in the list: the row hit, or -1 when the click hits no row.
  void ItemClicked(int row);

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  Qt::Alignment ColumnAlignment(int column) const;
  void UpdateRowHeight();

  std::vector<Qt::Alignment> m_alignments;
  std::vector<QIcon> m_images;
  unsigned m_styles = 0;
};

}  // namespace tolvane

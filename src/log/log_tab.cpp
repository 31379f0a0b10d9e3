#include "log_tab.h"

#include "measurement_log.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace orvex {

LogTab::LogTab(MeasurementLog& log, QWidget* parent)
    : QWidget(parent),
      log_(log),
      view_(new QTableView(this)),
      clearButton_(new QPushButton(QStringLiteral("Clear log"), this)) {
  view_->setObjectName(QStringLiteral("Log"));
  clearButton_->setObjectName(QStringLiteral("VrShadowButton1"));

  view_->setModel(&log_);
  view_->setFont(MeasurementLog::DataFont());
  view_->setWordWrap(false);
  view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  // Every row is as high as the data font needs: the view never asks rows for
  // their size, so millions of rows scroll as fast as a few.
  QHeaderView* rows = view_->verticalHeader();
  rows->setSectionResizeMode(QHeaderView::Fixed);
  rows->setDefaultSectionSize(QFontMetrics(MeasurementLog::DataFont()).height() + 6);
  rows->hide();
  QHeaderView* columns = view_->horizontalHeader();
  columns->setSectionResizeMode(QHeaderView::Interactive);
  columns->setHighlightSections(false);
  columns->setFont(MeasurementLog::HeaderFont());

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(view_, 1);
  layout->addWidget(clearButton_, 0, Qt::AlignLeft);

  applyColumnWidths();
  // A reset (load, clear) makes the header fall back to default sizes before
  // the log's widths are applied again; those interim sizes are not the user's.
  connect(&log_, &QAbstractItemModel::modelAboutToBeReset, this,
          [this] { applyingWidths_ = true; });
  connect(&log_, &QAbstractItemModel::modelReset, this, &LogTab::applyColumnWidths);
  connect(columns, &QHeaderView::sectionResized, this, [this](int column, int, int width) {
    if (!applyingWidths_) log_.setColumnWidth(column, width);
  });
  connect(clearButton_, &QPushButton::clicked, this, &LogTab::VrShadowButton1Click);
}

void LogTab::VrShadowButton1Click() { log_.Clear(); }

void LogTab::applyColumnWidths() {
  applyingWidths_ = true;
  const LogTable& table = log_.table();
  for (int column = 0; column < table.columnCount(); ++column) {
    view_->setColumnWidth(column, table.columnWidth(column));
  }
  applyingWidths_ = false;
}

}  // namespace orvex

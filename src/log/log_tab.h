#pragma once

#include <QWidget>

class QPushButton;
class QTableView;

namespace orvex {

class MeasurementLog;

// The "Log file" tab: the table `Log` over the measurement log and the
// "Clear log" button `VrShadowButton1` under it. Column widths go both ways:
// the log's widths are applied to the view, and a column the user resizes
// updates the log, so widths travel with saved files.
class LogTab : public QWidget {
  Q_OBJECT

 public:
  // Does not take ownership of `log`, which must outlive the tab.
  explicit LogTab(MeasurementLog& log, QWidget* parent = nullptr);

  QTableView* logView() const { return view_; }
  QPushButton* clearButton() const { return clearButton_; }

  // Handler of "Clear log".
  void VrShadowButton1Click();

 private:
  void applyColumnWidths();

  MeasurementLog& log_;
  QTableView* view_;
  QPushButton* clearButton_;
  bool applyingWidths_ = false;
};

}  // namespace orvex

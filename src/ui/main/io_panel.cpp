#include "io_panel.h"

#include "core/guard.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "ui/widgets/window_helpers.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace orvex {
namespace {

constexpr int kPanelWidth = 374;
const QColor kSilver(0xC0, 0xC0, 0xC0);
// The designed value of the date and time pickers; nothing reads them.
const QDateTime kPickerValue(QDate(2021, 7, 14), QTime(8, 21, 30));

QFrame* MakeSilverPanel(QWidget* parent, const QString& name) {
  auto* panel = new QFrame(parent);
  panel->setObjectName(name);
  panel->setFrameShape(QFrame::Panel);
  panel->setFrameShadow(QFrame::Raised);
  panel->setAutoFillBackground(true);
  QPalette palette = panel->palette();
  palette.setColor(QPalette::Window, kSilver);
  panel->setPalette(palette);
  panel->setFixedWidth(kPanelWidth);
  return panel;
}

// A coloured rectangle that carries a check box and a white bold name label.
struct ShapeRow {
  QFrame* shape;
  QCheckBox* box;
  QLabel* label;
};

ShapeRow MakeShapeRow(QWidget* parent, const QString& shapeName, const QString& boxName,
                      const QString& labelName, const QString& caption) {
  auto* shape = new QFrame(parent);
  shape->setObjectName(shapeName);
  shape->setFixedSize(320, 52);
  shape->setAutoFillBackground(true);
  SetHint(shape, QStringLiteral("Green if enabled red if disabled"));

  auto* box = new QCheckBox(shape);
  box->setObjectName(boxName);
  auto* label = new QLabel(caption, shape);
  label->setObjectName(labelName);
  QFont bold = label->font();
  bold.setBold(true);
  bold.setPixelSize(16);
  label->setFont(bold);
  label->setStyleSheet(QStringLiteral("QLabel { color: white; background: transparent; }"));
  label->setTextFormat(Qt::PlainText);

  auto* row = new QHBoxLayout(shape);
  row->setContentsMargins(14, 0, 8, 0);
  row->addWidget(box);
  row->addWidget(label, 1);
  return {shape, box, label};
}

// A date or time picker with its own enabling check box, unchecked.
QWidget* MakePicker(QWidget* parent, QDateTimeEdit* edit, const QString& name) {
  auto* holder = new QWidget(parent);
  auto* check = new QCheckBox(holder);
  check->setObjectName(name + QStringLiteral("Check"));
  check->setAccessibleName(QStringLiteral("Use ") + name);
  edit->setParent(holder);
  edit->setObjectName(name);
  edit->setDateTime(kPickerValue);
  edit->setEnabled(false);
  edit->setAccessibleName(name);
  QObject::connect(check, &QCheckBox::toggled, edit, &QWidget::setEnabled);
  auto* row = new QHBoxLayout(holder);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(check);
  row->addWidget(edit, 1);
  return holder;
}

}  // namespace

template <typename Handler>
void IoPanel::Run(Handler handler) {
  RunGuarded(prompts_, [&] { (this->*handler)(); });
}

IoPanel::IoPanel(SettingsStore& store, Prompts& prompts, QWidget* parent)
    : QWidget(parent), store_(store), prompts_(prompts) {
  setObjectName(QStringLiteral("Dinout"));

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(12, 12, 12, 12);
  grid->setHorizontalSpacing(24);
  grid->setVerticalSpacing(16);
  for (int n = 1; n <= 3; ++n) {
    grid->addWidget(BuildInputPanel(n), 0, n - 1);
    grid->addWidget(BuildOutputPanel(n), 1, n - 1);
  }
  grid->addWidget(BuildSettingsPanel(), 2, 0, 1, 3);
  grid->setRowStretch(3, 1);
}

QWidget* IoPanel::BuildInputPanel(int n) {
  const QString number = QString::number(n);
  QFrame* panel = MakeSilverPanel(this, QStringLiteral("Panel") + QString::number(n + 1));
  const ShapeRow row =
      MakeShapeRow(panel, QStringLiteral("Din") + number + QLatin1Char('1'), QStringLiteral("Din") + number,
                   QStringLiteral("Dig%1In").arg(n), QStringLiteral("Digital input ") + number);
  SetHint(row.label, QStringLiteral("Enable or disable digital input ") + number);
  SetHint(row.box, QStringLiteral("Digital input %1 if checked output is active").arg(n));
  row.box->setAccessibleName(row.label->text());
  PaintShape(row.shape, kOffColor);

  inputShapes_[n - 1] = row.shape;
  inputBoxes_[n - 1] = row.box;
  inputLabels_[n - 1] = row.label;
  connect(row.box, &QCheckBox::clicked, this, [this, n] {
    RunGuarded(prompts_, [&] { DinClick(n); });
  });

  auto* layout = new QVBoxLayout(panel);
  layout->setContentsMargins(26, 16, 26, 16);
  layout->addWidget(row.shape);
  return panel;
}

QWidget* IoPanel::BuildOutputPanel(int n) {
  const QString number = QString::number(n);
  QFrame* panel = MakeSilverPanel(this, QStringLiteral("Panel") + QString::number(n + 4));
  const ShapeRow row =
      MakeShapeRow(panel, QStringLiteral("Dout") + number + QLatin1Char('1'), QStringLiteral("Dout") + number,
                   QStringLiteral("Dig%1Out").arg(n), QStringLiteral("Digital output ") + number);
  SetHint(row.label, QStringLiteral("Enable or disable digital output ") + number);
  row.box->setAccessibleName(row.label->text());
  PaintShape(row.shape, kOffColor);
  outputLabels_[n - 1] = row.label;

  // The third group's name breaks the pattern of the other two.
  auto* mode = new QGroupBox(panel);
  mode->setObjectName(n == 3 ? QStringLiteral("Dig3OutMode")
                             : QStringLiteral("DigOut%1Mode").arg(n));
  SetHint(mode, QStringLiteral("Digital output %1 mode selection").arg(n));
  mode->setAccessibleName(mode->toolTip());
  auto* modes = new QButtonGroup(mode);
  auto* modeRow = new QHBoxLayout(mode);
  modeRow->setContentsMargins(6, 4, 6, 4);
  const QString choices[] = {QStringLiteral("Normal output"),
                             QStringLiteral("Controlled via measure"),
                             QStringLiteral("Controlled via date/time")};
  for (int i = 0; i < 3; ++i) {
    // Three columns fit the panel only with the captions on two lines.
    QString shown = choices[i];
    shown.replace(shown.indexOf(QLatin1Char(' ')), 1, QLatin1Char('\n'));
    auto* choice = new QRadioButton(shown, mode);
    choice->setAccessibleName(choices[i]);
    choice->setChecked(i == 0);
    modes->addButton(choice, i);
    modeRow->addWidget(choice);
  }

  // Date picker on the left, time picker on the right.
  static const char* const kDatePickers[] = {"DateTimePicker6", "DateTimePicker7",
                                             "DateTimePicker8"};
  static const char* const kTimePickers[] = {"DateTimePicker5", "DateTimePicker9",
                                             "DateTimePicker10"};
  auto* date = new QDateEdit;
  date->setCalendarPopup(true);
  auto* time = new QTimeEdit;
  time->setDisplayFormat(QStringLiteral("HH:mm:ss"));
  auto* pickers = new QHBoxLayout;
  pickers->addWidget(MakePicker(panel, date, QLatin1String(kDatePickers[n - 1])));
  pickers->addWidget(MakePicker(panel, time, QLatin1String(kTimePickers[n - 1])));

  auto* layout = new QVBoxLayout(panel);
  layout->setContentsMargins(26, 12, 26, 12);
  layout->addWidget(row.shape);
  layout->addWidget(mode);
  layout->addLayout(pickers);
  return panel;
}

QWidget* IoPanel::BuildSettingsPanel() {
  auto* panel = new QGroupBox(QStringLiteral("Settings"), this);
  panel->setObjectName(QStringLiteral("AdvPanel1"));

  auto blueLabel = [panel](const QString& name, const QString& text) {
    auto* label = new QLabel(text, panel);
    label->setObjectName(name);
    label->setStyleSheet(QStringLiteral("QLabel { color: blue; }"));
    return label;
  };
  auto renameBox = [panel](const QString& name, const QString& prefix, int visibleRows) {
    auto* box = new QComboBox(panel);
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMaxVisibleItems(visibleRows);
    for (int n = 1; n <= 3; ++n) box->addItem(prefix + QString::number(n));
    box->setCurrentIndex(-1);
    box->setMinimumWidth(200);
    return box;
  };
  auto button = [panel](const QString& name, const QString& text) {
    auto* b = new QPushButton(text, panel);
    b->setObjectName(name);
    return b;
  };

  QLabel* label3 = blueLabel(QStringLiteral("Label3"), QStringLiteral("Rename inputs"));
  renameInputs_ = renameBox(QStringLiteral("RenameInputs"), QStringLiteral("Digital input "), 3);
  renameInputs_->setAccessibleName(label3->text());
  QPushButton* renInputs = button(QStringLiteral("RenInputs"), QStringLiteral("Rename"));
  renInputs->setAccessibleName(QStringLiteral("Rename input"));
  QLabel* label4 = blueLabel(QStringLiteral("Label4"), QStringLiteral("Rename outputs"));
  renameOutputs_ =
      renameBox(QStringLiteral("RenameOutputs"), QStringLiteral("Digital output "), 5);
  renameOutputs_->setAccessibleName(label4->text());
  QPushButton* renOutputs = button(QStringLiteral("RenOutputs"), QStringLiteral("Rename"));
  renOutputs->setAccessibleName(QStringLiteral("Rename output"));

  auto serviceField = [panel](const QString& name, const QString& caption, QLabel*& label) {
    label = new QLabel(caption, panel);
    auto* edit = new QLineEdit(QStringLiteral("0"), panel);
    edit->setObjectName(name);
    edit->setAccessibleName(caption);
    edit->setFixedWidth(90);
    label->setBuddy(edit);
    return edit;
  };
  pass_ = serviceField(QStringLiteral("Pass"), QStringLiteral("Password"), passCaption_);
  offsets_[0] = serviceField(QStringLiteral("Tmp1"), QStringLiteral("TMP1"), offsetCaptions_[0]);
  offsets_[0]->setMaxLength(4);
  offsets_[1] = serviceField(QStringLiteral("Tmp2"), QStringLiteral("TMP2"), offsetCaptions_[1]);
  button3_ = button(QStringLiteral("Button3"), QStringLiteral("OK"));
  QPushButton* button4 = button(QStringLiteral("Button4"), QStringLiteral("Button4"));
  pass_->installEventFilter(this);

  auto* grid = new QGridLayout(panel);
  grid->setContentsMargins(16, 20, 16, 12);
  grid->setHorizontalSpacing(12);
  grid->addWidget(label3, 0, 0);
  grid->addWidget(renameInputs_, 1, 0);
  grid->addWidget(renInputs, 1, 1);
  grid->addWidget(label4, 0, 2);
  grid->addWidget(renameOutputs_, 1, 2);
  grid->addWidget(renOutputs, 1, 3);
  grid->addWidget(passCaption_, 0, 4);
  grid->addWidget(pass_, 1, 4);
  grid->addWidget(offsetCaptions_[0], 0, 5);
  grid->addWidget(offsets_[0], 1, 5);
  grid->addWidget(offsetCaptions_[1], 0, 6);
  grid->addWidget(offsets_[1], 1, 6);
  grid->addWidget(button3_, 1, 7);
  grid->addWidget(button4, 1, 9);
  grid->setColumnStretch(8, 1);
  // Hidden service fields keep their place so the panel does not jump.
  for (QWidget* hidden : {static_cast<QWidget*>(pass_), static_cast<QWidget*>(passCaption_),
                          static_cast<QWidget*>(offsets_[0]), static_cast<QWidget*>(offsetCaptions_[0]),
                          static_cast<QWidget*>(offsets_[1]), static_cast<QWidget*>(offsetCaptions_[1]),
                          static_cast<QWidget*>(button3_)}) {
    QSizePolicy policy = hidden->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    hidden->setSizePolicy(policy);
  }
  pass_->hide();
  passCaption_->hide();
  SetServiceFieldsVisible(false);

  connect(renameInputs_, &QComboBox::currentIndexChanged, this,
          [this] { Run(&IoPanel::RenameInputsChange); });
  connect(renameOutputs_, &QComboBox::currentIndexChanged, this,
          [this] { Run(&IoPanel::RenameOutputsChange); });
  connect(renInputs, &QPushButton::clicked, this, [this] { Run(&IoPanel::RenInputsClick); });
  connect(renOutputs, &QPushButton::clicked, this, [this] { Run(&IoPanel::RenOutputsClick); });
  connect(button3_, &QPushButton::clicked, this, [this] { Run(&IoPanel::Button3Click); });
  connect(button4, &QPushButton::clicked, this, [this] { Run(&IoPanel::Button4Click); });
  return panel;
}

void IoPanel::PaintShape(QFrame* shape, const QColor& color) {
  QPalette palette = shape->palette();
  palette.setColor(QPalette::Window, color);
  shape->setPalette(palette);
}

void IoPanel::SetServiceFieldsVisible(bool visible) {
  for (int i = 0; i < 2; ++i) {
    offsets_[i]->setVisible(visible);
    offsetCaptions_[i]->setVisible(visible);
  }
  button3_->setVisible(visible);
}

QString IoPanel::offsetText(int index) const { return offsets_[index]->text(); }

void IoPanel::DinClick(int n) {
  const bool checked = inputBoxes_[n - 1]->isChecked();
  store_.WriteSetting(RootKey, DigitalInputEnableNames[n - 1], FlagText(checked));
  PaintShape(inputShapes_[n - 1], checked ? kOnColor : kOffColor);
}

void IoPanel::LoadInputState(int n, bool checked) {
  QCheckBox* box = inputBoxes_[n - 1];
  if (box->isChecked() == checked) return;
  box->setChecked(checked);
  DinClick(n);
}

void IoPanel::RenameInputsChange() {
  const int index = renameInputs_->currentIndex();
  if (index >= 0 && index < 3) selectedInput_ = index + 1;
}

void IoPanel::RenameOutputsChange() {
  const int index = renameOutputs_->currentIndex();
  if (index >= 0 && index < 3) selectedOutput_ = index + 1;
}

void IoPanel::RenInputsClick() {
  if (selectedInput_ < 1) return;
  const QString name = renameInputs_->currentText();
  inputLabels_[selectedInput_ - 1]->setText(name);
  renameInputs_->setItemText(selectedInput_ - 1, name);
  store_.WriteSetting(RootKey, InputNameNames[selectedInput_ - 1], name);
}

void IoPanel::RenOutputsClick() {
  if (selectedOutput_ < 1) return;
  const QString name = renameOutputs_->currentText();
  outputLabels_[selectedOutput_ - 1]->setText(name);
  renameOutputs_->setItemText(selectedOutput_ - 1, name);
  store_.WriteSetting(RootKey, OutputNameNames[selectedOutput_ - 1], name);
}

void IoPanel::SetInputName(int n, const QString& name) {
  renameInputs_->setItemText(n - 1, name);
  inputLabels_[n - 1]->setText(name);
  inputBoxes_[n - 1]->setAccessibleName(name);
}

void IoPanel::SetOutputName(int n, const QString& name) {
  renameOutputs_->setItemText(n - 1, name);
  outputLabels_[n - 1]->setText(name);
}

void IoPanel::SetOffsetText(int index, const QString& text) { offsets_[index]->setText(text); }

void IoPanel::Image1DblClick() {
  pass_->show();
  passCaption_->show();
}

void IoPanel::PassDblClick() {
  if (pass_->text() == ServiceCode) SetServiceFieldsVisible(true);
}

void IoPanel::Button3Click() {
  SetServiceFieldsVisible(false);
  pass_->hide();
  passCaption_->hide();
  store_.WriteSetting(RootKey, TemperatureOffsetNames[0], offsets_[0]->text());
  store_.WriteSetting(RootKey, TemperatureOffsetNames[1], offsets_[1]->text());
}

void IoPanel::Button4Click() {
  // An empty window of its own each time, owned by the main window.
  auto* window = new QWidget(this->window(), Qt::Window);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setObjectName(QStringLiteral("PasswordWindow"));
  window->setWindowTitle(QStringLiteral("Password"));
  window->resize(320, 240);
  window->show();
  CentreOnScreen(window);
}

bool IoPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == pass_ && event->type() == QEvent::MouseButtonDblClick) {
    Run(&IoPanel::PassDblClick);
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace orvex

#include "tform2.h"

#include "core/guard.h"
#include "provisioning/com_port_settings_storage.h"
#include "provisioning/provisioning_line.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

namespace orvex {
namespace {

QLineEdit* NewEdit(const QString& objectName, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(objectName);
  return edit;
}

QPushButton* NewButton(const QString& objectName, const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(objectName);
  button->setMinimumHeight(40);
  return button;
}

QLabel* NewLabel(const QString& caption, QWidget* buddy, QWidget* parent) {
  auto* label = new QLabel(caption, parent);
  label->setBuddy(buddy);
  return label;
}

}  // namespace

TForm2::TForm2(SettingsStore& store, Prompts& prompts, PortDialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      store_(store),
      prompts_(prompts),
      dialogs_(dialogs),
      ssid_(NewEdit(QStringLiteral("ssid"), this)),
      pass_(NewEdit(QStringLiteral("pass"), this)),
      vrShadowButton1_(NewButton(QStringLiteral("VrShadowButton1"),
                                 QStringLiteral("Write network settings"), this)),
      virtualPort_(
          NewButton(QStringLiteral("VirtualPort"), QStringLiteral("Set virtual port"), this)) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(QStringLiteral("Setup"));

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(24, 24, 24, 24);
  layout->addWidget(NewLabel(QStringLiteral("SSID"), ssid_, this));
  layout->addWidget(ssid_);
  layout->addSpacing(12);
  layout->addWidget(NewLabel(QStringLiteral("PASS PHRASE"), pass_, this));
  layout->addWidget(pass_);
  layout->addStretch(2);
  layout->addWidget(vrShadowButton1_);
  layout->addSpacing(10);
  layout->addWidget(virtualPort_);
  layout->addStretch(1);

  setFixedSize(278, 334);
  if (const QScreen* desktop = screen()) {
    setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                    desktop->availableGeometry()));
  }

  connect(vrShadowButton1_, &QPushButton::clicked, this, &TForm2::VrShadowButton1Click);
  connect(virtualPort_, &QPushButton::clicked, this, &TForm2::VirtualPortClick);

  FormCreate();
}

void TForm2::FormCreate() {
  RunGuarded(prompts_,
             [this] { ComPortSettingsStorage(store_.backend()).Load(comPort1_.settings()); });
}

bool TForm2::FormClose() {
  return RunGuarded(
      prompts_, [this] { ComPortSettingsStorage(store_.backend()).Store(comPort1_.settings()); });
}

void TForm2::closeEvent(QCloseEvent* event) {
  if (FormClose()) {
    event->accept();
  } else {
    event->ignore();
  }
}

void TForm2::VirtualPortClick() {
  RunGuarded(prompts_, [this] { dialogs_.ShowSetupDialog(comPort1_.settings(), this); });
}

void TForm2::VrShadowButton1Click() {
  RunGuarded(prompts_, [this] {
    const QByteArray line = ProvisioningLine(ssid_->text(), pass_->text());
    comPort1_.Open();
    comPort1_.WriteStr(line);
    comPort1_.Close();
  });
}

}  // namespace orvex

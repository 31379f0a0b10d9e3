#pragma once

#include "settings/ini_settings_backend.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "support/fake_prompts.h"
#include "ui/main/main_window.h"

#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace orvex::test {

// A main window over its own settings file, in a comma-decimal locale, with
// message boxes recorded. `Start()` creates the window as a program start would;
// calling it again is a restart over the same settings.
class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  }
  void TearDown() override {
    window_.reset();
    QLocale::setDefault(QLocale::c());
  }

  QString settingsPath() const { return dir_.filePath(QStringLiteral("orvex.ini")); }

  // A store of its own over the same file, for setting up and checking values.
  std::unique_ptr<SettingsStore> MakeStore() {
    return std::make_unique<SettingsStore>(std::make_unique<IniSettingsBackend>(settingsPath()),
                                           prompts_);
  }
  QString Stored(const QString& key, const QString& name) {
    return MakeStore()->ReadSetting(key, name);
  }
  void Store(const QString& key, const QString& name, const QString& text) {
    MakeStore()->WriteSetting(key, name, text);
  }
  // Writes the first-run defaults, as a first start would.
  void FirstStartDone() { MakeStore()->RunFirstRunStep(); }

  TMain& Start(quint16 port = 2000) {
    window_.reset();
    store_ = MakeStore();
    window_ = std::make_unique<TMain>(*store_, prompts_, port);
    // Shown as at a real start, so that clicks land on laid-out controls.
    window_->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    return *window_;
  }

  template <typename T>
  T* Find(const QString& name) const {
    T* found = window_->findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name.toStdString();
    return found;
  }

  QTemporaryDir dir_;
  FakePrompts prompts_;
  std::unique_ptr<SettingsStore> store_;
  std::unique_ptr<TMain> window_;
};

}  // namespace orvex::test

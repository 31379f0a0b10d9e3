#pragma once

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace orvex::test {

// A temporary folder for one test's settings file.
class SettingsFolder : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

  QString path(const QString& relative = QStringLiteral("orvex-controller.ini")) const {
    return dir_.filePath(relative);
  }

  // A file path whose folder cannot exist: its parent is a regular file.
  QString unavailablePath() const {
    QFile blocker(path(QStringLiteral("blocker")));
    EXPECT_TRUE(blocker.open(QIODevice::WriteOnly));
    return path(QStringLiteral("blocker/orvex/orvex-controller.ini"));
  }

  // QSettings shares what it has read of a file between all its instances in the
  // process. A copy under a new name is read afresh from the disk, which shows what
  // the file itself holds.
  QString freshCopy(const QString& source) {
    const QString copy = path(QStringLiteral("copy-%1.ini").arg(++copies_));
    EXPECT_TRUE(QFile::copy(source, copy));
    return copy;
  }

  QByteArray contents(const QString& file) const {
    QFile f(file);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << file.toStdString();
    return f.readAll();
  }

  void writeFile(const QString& file, const QByteArray& bytes) const {
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
  }

  QTemporaryDir dir_;
  int copies_ = 0;
};

}  // namespace orvex::test

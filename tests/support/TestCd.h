#pragma once
// A fresh CD tree and settings folder for every test.
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/Errors.h"
#include "tests/support/QtPrinters.h"

namespace testing_support {

// Writes bytes to root/relative (slashes), creating folders.
void writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);

class TestCd : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // root of the CD tree (ends without slash) and the settings folder.
    QString cdRoot() const { return cd_.path(); }
    QString configHome() const { return config_.path(); }
    QString windowsDir() const { return config_.path() + QStringLiteral("/katalog/"); }
    QString cdFile(const QString& rel) const { return cd_.path() + QLatin1Char('/') + rel; }

    // Every skin bitmap of the four variants, the intro picture and the sounds
    // (installSounds). The files are hard links shared by all tests: replace one (remove,
    // then write), never write into it.
    // ... and a small catalogue (title "Test CD", program "Pexeso" in section "Hry").
    void installSkins();
    // The click "1xclick.WAV" and the songs "Melody1.MID" to "Melody6.MID", one second each.
    void installSounds();

    std::vector<std::pair<platform::MessageKind, QString>> messages;

private:
    bool skinsInstalled_ = false;
    QTemporaryDir cd_;
    QTemporaryDir config_;
};

}  // namespace testing_support

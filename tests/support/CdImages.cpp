#include "tests/support/CdImages.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace testing_support {

void makeIso(const QString& tree, const QString& iso, const QStringList& options) {
    const QString xorriso = QStandardPaths::findExecutable("xorriso");
    ASSERT_FALSE(xorriso.isEmpty()) << "xorriso is needed to make CD images";
    // xorriso 1.5.4 was seen to die of a signal of its own in a parallel test run; it is not what
    // is tested, so it is given another go.
    for (int attempt = 1;; ++attempt) {
        QFile::remove(iso);
        QProcess p;
        p.start(xorriso, QStringList{"-as", "mkisofs", "-quiet"} + options + QStringList{"-o", iso, tree});
        ASSERT_TRUE(p.waitForFinished(60000));
        const QByteArray errors = p.readAllStandardError();
        if (p.exitCode() != 0 && errors.contains("UNIX-SIGNAL") && attempt < 3)
            continue;
        ASSERT_EQ(p.exitCode(), 0) << errors.toStdString();
        return;
    }
}

QByteArray rawSectors(const QByteArray& iso, int mode) {
    constexpr int Sector = 2048;
    QByteArray raw;
    for (qsizetype at = 0; at < iso.size(); at += Sector) {
        QByteArray sector("\x00\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\x00", 12);
        const int lba = int(at / Sector) + 150;
        const auto bcd = [](int v) { return char(((v / 10) << 4) | (v % 10)); };
        sector += bcd(lba / 75 / 60);
        sector += bcd(lba / 75 % 60);
        sector += bcd(lba % 75);
        sector += char(mode);
        if (mode == 2)
            sector += QByteArray("\x00\x00\x08\x00\x00\x00\x08\x00", 8);  // Form 1 data
        sector += iso.mid(at, Sector);
        sector += QByteArray(2352 - sector.size(), '\0');
        raw += sector;
    }
    return raw;
}

}  // namespace testing_support

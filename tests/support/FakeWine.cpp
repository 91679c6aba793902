#include "tests/support/FakeWine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace testing_support {

QString recordedWineData() { return QStringLiteral(KATALOG_SOURCE_DIR "/tests/data/wine"); }

FakeWine::FakeWine(Wine wine) {
    if (wine == Wine::Installed) {
        QFile script(this->wine());
        if (script.open(QIODevice::WriteOnly))
            script.write("#!/bin/sh\nexit 0\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QDir().mkpath(prefix() + QStringLiteral("/drive_c/windows/system32"));
    QDir().mkpath(prefix() + QStringLiteral("/dosdevices"));
    QFile::link(QStringLiteral("../drive_c"), prefix() + QStringLiteral("/dosdevices/c:"));

    oldPath_ = qgetenv("PATH");
    hadPrefix_ = qEnvironmentVariableIsSet("WINEPREFIX");
    oldPrefix_ = qgetenv("WINEPREFIX");
    const QByteArray bin = QFile::encodeName(bin_.path());
    qputenv("PATH", wine == Wine::Installed ? bin + ':' + oldPath_ : bin);
    qputenv("WINEPREFIX", QFile::encodeName(prefix()));
}

FakeWine::~FakeWine() {
    qputenv("PATH", oldPath_);
    if (hadPrefix_)
        qputenv("WINEPREFIX", oldPrefix_);
    else
        qunsetenv("WINEPREFIX");
}

void FakeWine::layOutRecordedPrefix() {
    const QString data = recordedWineData();
    for (const char* name : {"system.reg", "user.reg", "userdef.reg"})
        QFile::copy(data + QLatin1Char('/') + QLatin1String(name), prefix() + QLatin1Char('/') + QLatin1String(name));
    QFile tree(data + QStringLiteral("/tree.txt"));
    if (tree.open(QIODevice::ReadOnly)) {
        for (const QString& line : QString::fromUtf8(tree.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            const QString path = prefix() + QStringLiteral("/drive_c/") + line;
            QDir().mkpath(QFileInfo(path).path());
            QFile(path).open(QIODevice::WriteOnly);
        }
    }
    QFile(prefix() + QStringLiteral("/drive_c/windows/system32/msiexec.exe")).open(QIODevice::WriteOnly);
    QFile::link(QStringLiteral("/"), prefix() + QStringLiteral("/dosdevices/z:"));
}

}  // namespace testing_support

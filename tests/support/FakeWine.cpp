#include "tests/support/FakeWine.h"

#include <QDir>
#include <QFile>

namespace testing_support {

FakeWine::FakeWine() {
    QFile script(wine());
    if (script.open(QIODevice::WriteOnly))
        script.write("#!/bin/sh\nexit 0\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QDir().mkpath(prefix() + QStringLiteral("/drive_c/windows/system32"));
    QDir().mkpath(prefix() + QStringLiteral("/dosdevices"));
    QFile::link(QStringLiteral("../drive_c"), prefix() + QStringLiteral("/dosdevices/c:"));

    oldPath_ = qgetenv("PATH");
    hadPrefix_ = qEnvironmentVariableIsSet("WINEPREFIX");
    oldPrefix_ = qgetenv("WINEPREFIX");
    qputenv("PATH", QFile::encodeName(bin_.path()) + ':' + oldPath_);
    qputenv("WINEPREFIX", QFile::encodeName(prefix()));
}

FakeWine::~FakeWine() {
    qputenv("PATH", oldPath_);
    if (hadPrefix_)
        qputenv("WINEPREFIX", oldPrefix_);
    else
        qunsetenv("WINEPREFIX");
}

}  // namespace testing_support

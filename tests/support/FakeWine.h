#pragma once
// A Wine prefix in a temporary folder, and a "wine" on the PATH that the launch hook stands
// in front of, so that launches of Windows programs can be recorded without Wine.
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace testing_support {

class FakeWine {
public:
    FakeWine();
    ~FakeWine();
    FakeWine(const FakeWine&) = delete;
    FakeWine& operator=(const FakeWine&) = delete;

    QString prefix() const { return prefix_.path(); }
    QString wine() const { return bin_.path() + QStringLiteral("/wine"); }
    // prefix/drive_c/relative, as the Windows path "C:\..." would name it.
    QString driveC(const QString& relative) const { return prefix() + QStringLiteral("/dosdevices/c:/") + relative; }

private:
    QTemporaryDir bin_;
    QTemporaryDir prefix_;
    QByteArray oldPath_;
    QByteArray oldPrefix_;
    bool hadPrefix_ = false;
};

}  // namespace testing_support

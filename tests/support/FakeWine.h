#pragma once
// A Wine prefix in a temporary folder, and a "wine" on the PATH that the launch hook stands
// in front of, so that launches of Windows programs can be recorded without Wine. Switched
// off, the PATH holds no wine at all, whatever the machine has installed.
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace testing_support {

class FakeWine {
public:
    enum class Wine { Installed, Missing };
    explicit FakeWine(Wine wine = Wine::Installed);
    ~FakeWine();
    FakeWine(const FakeWine&) = delete;
    FakeWine& operator=(const FakeWine&) = delete;

    QString prefix() const { return prefix_.path(); }
    QString wine() const { return bin_.path() + QStringLiteral("/wine"); }
    // prefix/drive_c/relative, as the Windows path "C:\..." would name it.
    QString driveC(const QString& relative) const { return prefix() + QStringLiteral("/dosdevices/c:/") + relative; }

    // Lays out the prefix recorded with real Wine (tests/data/wine): its registry files, the
    // programs' folders and files, and the drive Z: for the root folder.
    void layOutRecordedPrefix();

private:
    QTemporaryDir bin_;
    QTemporaryDir prefix_;
    QByteArray oldPath_;
    QByteArray oldPrefix_;
    bool hadPrefix_ = false;
};

// The recorded data's folder.
QString recordedWineData();

}  // namespace testing_support

// Registry files as they may come: damaged, truncated or hostile. Both formats parse the same
// bytes, then every key found is opened and every value read through the registry itself.
#include "platform/Errors.h"
#include "platform/Registry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

void write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

void readAll(platform::Registry& registry, const platform::registry_detail::Hive& hive) {
    int keys = 0;
    for (const auto& [path, key] : hive.keys) {
        if (++keys > 200)
            break;
        const qsizetype slash = path.indexOf(QLatin1Char('\\'));
        const auto root = platform::rootKeyFromName(slash < 0 ? QStringView(path) : QStringView(path).left(slash));
        if (!root)
            continue;
        const QString rest = slash < 0 ? QString() : path.mid(slash + 1);
        const auto opened = registry.openKey(*root, rest);
        if (!opened)
            continue;
        for (auto it = key.values.constBegin(); it != key.values.constEnd(); ++it) {
            try {
                (void)opened->readString(it.key());
            } catch (const platform::KatalogError&) {
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir;
    static const QString windowsDir = dir.path() + QStringLiteral("/windows/");
    static const QString prefix = dir.path() + QStringLiteral("/prefix");
    static const bool made = [] {
        return QDir().mkpath(windowsDir) && QDir().mkpath(prefix + QStringLiteral("/drive_c/windows")) &&
               QDir().mkpath(prefix + QStringLiteral("/dosdevices")) &&
               QFile::link(QStringLiteral("../drive_c"), prefix + QStringLiteral("/dosdevices/c:"));
    }();
    (void)made;

    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const auto regHive = platform::registry_detail::parseRegFile(bytes);
    const auto wineHive = platform::registry_detail::parseWineFile(bytes, QStringLiteral("hkey_local_machine"));

    write(windowsDir + QStringLiteral("registry.reg"), bytes);
    write(prefix + QStringLiteral("/system.reg"), bytes);
    platform::Registry registry(windowsDir, prefix);
    readAll(registry, regHive);
    readAll(registry, wineHive);
    try {
        (void)registry.readString(platform::RootKey::LocalMachine,
                                  QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\a.exe"),
                                  QString());
    } catch (const platform::KatalogError&) {
    }
    return 0;
}

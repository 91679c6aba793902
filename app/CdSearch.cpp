#include "app/CdSearch.h"

#include "app/CdFiles.h"
#include "catalogue/CatalogueLoader.h"
#include "platform/AtomicFile.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace katalog {
namespace {

// Kept out of kat.INI, whose keys are the CD's and the user's options.
QString rememberedFile(const QString& settingsDir) {
    return platform::withTrailingSlash(settingsDir) + QStringLiteral("last-cd");
}

std::optional<FoundCd> found(const QString& folder, const QString& label) {
    if (folder.isEmpty() || !holdsCd(folder))
        return std::nullopt;
    const QString root = platform::withTrailingSlash(QFileInfo(folder).absoluteFilePath());
    QString name = cdTitle(root);
    if (name.isEmpty())
        name = label;
    const QString place = QDir::toNativeSeparators(QFileInfo(folder).absoluteFilePath());
    return FoundCd{root, name.isEmpty() || name == place ? place : name + QStringLiteral(" (") + place + u')'};
}

}  // namespace

bool holdsCd(const QString& folder) {
    if (!QDir::isAbsolutePath(folder) || !QFileInfo(folder).isDir())
        return false;
    const auto system = platform::existingDir(folder, QStringLiteral("SYSTEM"));
    return system && platform::existingFile(*system, QString::fromLatin1(cdfiles::Container));
}

QString cdTitle(const QString& root) {
    CatalogueStore store;
    DescriptionTable descriptions;
    CatalogueLoader loader(store, descriptions);
    const QString programDir = platform::withTrailingSlash(root);
    if (!loader.open(programDir, platform::readableFolder(programDir, QStringLiteral("SYSTEM"))))
        return {};
    loader.LoadINI();
    return store.ReadString(QStringLiteral("Title"), QStringLiteral("Name"), {}).trimmed();
}

CdSearch CdSearch::onThisMachine(const QString& programDir, const QString& settingsDir) {
    return CdSearch({programDir, platform::localMedia(), rememberedCd(settingsDir)});
}

std::optional<FoundCd> CdSearch::programFolder() const { return found(places_.programDir, {}); }

QList<FoundCd> CdSearch::onMedia() const {
    QList<FoundCd> cds;
    for (const platform::Medium& m : places_.media)
        if (auto cd = found(m.root, m.label))
            cds.append(*cd);
    return cds;
}

std::optional<FoundCd> CdSearch::remembered() const { return found(places_.remembered, {}); }

QString rememberedCd(const QString& settingsDir) {
    QFile file(rememberedFile(settingsDir));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray line = file.readLine(4096);
    if (line.endsWith('\n'))
        line.chop(1);
    return QString::fromUtf8(line);
}

bool rememberCd(const QString& settingsDir, const QString& root) {
    if (rememberedCd(settingsDir) == root)
        return true;
    return QDir().mkpath(settingsDir) &&
           platform::writeFileAtomically(rememberedFile(settingsDir), root.toUtf8() + '\n');
}

}  // namespace katalog

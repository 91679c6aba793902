// mapic: decodes a CD's catalogue container to JSON as the program reads it, or builds a
// container from a readable source catalogue.
//   mapic decode CD-ROOT|CD-IMAGE [--slovak]
//   mapic build SOURCE.ini --key-file F --key-offset N --key-length L -o MAP.PIC
#include "app/CdFiles.h"
#include "catalogue/CatalogueJson.h"
#include "catalogue/CatalogueLoader.h"
#include "catalogue/ContainerBuilder.h"
#include "platform/AtomicFile.h"
#include "platform/CdImage.h"
#include "platform/Paths.h"
#include "platform/ProfileFile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {

constexpr int UsageError = 1;
constexpr int InputError = 2;

int usage() {
    std::fputs("usage: mapic decode CD-ROOT|CD-IMAGE [--slovak]\n"
               "       mapic build SOURCE.ini --key-file F --key-offset N --key-length L"
               " -o MAP.PIC\n",
               stderr);
    return UsageError;
}

int fail(const QString& message, int code) {
    std::fprintf(stderr, "mapic: %s\n", message.toLocal8Bit().constData());
    return code;
}

// The container and its key straight from a CD image, nothing else of it extracted.
bool openImage(katalog::CatalogueLoader& loader, const QString& image) {
    const auto track = platform::findDataTrack(image);
    if (!track)
        return false;
    const QString container = QStringLiteral("SYSTEM/") + QString::fromLatin1(katalog::cdfiles::Container);
    const QString key = QString::fromLatin1(katalog::cdfiles::KeyFile);
    QHash<QString, QByteArray> files;
    if (platform::CdImage(*track).readFiles({container, key}, files).status != platform::ImageStatus::Ok)
        return false;
    const auto device = [&](const QString& name) -> std::unique_ptr<QIODevice> {
        if (!files.contains(name))
            return nullptr;
        auto buffer = std::make_unique<QBuffer>();
        buffer->setData(files.value(name));
        return buffer;
    };
    return loader.open(device(container), device(key));
}

int decode(const QStringList& args) {
    if (args.isEmpty() || args.size() > 2 || (args.size() == 2 && args[1] != u"--slovak"))
        return usage();
    const bool slovak = args.size() == 2;
    const QFileInfo named(args[0]);
    if (!named.isDir() && !named.isFile())
        return fail(args[0] + QStringLiteral(": no such folder or CD image"), UsageError);

    katalog::CatalogueStore store;
    katalog::DescriptionTable descriptions;
    katalog::CatalogueLoader loader(store, descriptions);
    bool opened = false;
    if (named.isFile()) {
        if (!platform::findDataTrack(named.absoluteFilePath()))
            return fail(args[0] + QStringLiteral(": not a CD image (ISO 9660, or BIN with CUE)"), InputError);
        opened = openImage(loader, named.absoluteFilePath());
    } else {
        const QString programDir = platform::withTrailingSlash(named.absoluteFilePath());
        opened = loader.open(programDir, platform::readableFolder(programDir, QStringLiteral("SYSTEM")));
    }
    if (!opened) {
        std::fprintf(stderr, "%s\n", katalog::containerDamagedMessage().toLocal8Bit().constData());
        return InputError;
    }
    loader.LoadINI();
    loader.LoadTXT(slovak);
    loader.close();
    const QByteArray json = katalog::catalogueJson(store, loader.entries(), descriptions, slovak);
    std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    return std::fflush(stdout) == 0 ? 0 : InputError;
}

int build(const QStringList& args) {
    QString source, keyFile, output;
    std::optional<int> keyOffset, keyLength;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == u"--key-file" && hasValue)
            keyFile = args[++i];
        else if (a == u"--key-offset" && hasValue)
            keyOffset = platform::parseInteger(args[++i]);
        else if (a == u"--key-length" && hasValue)
            keyLength = platform::parseInteger(args[++i]);
        else if (a == u"-o" && hasValue)
            output = args[++i];
        else if (!a.startsWith(u'-') && source.isEmpty())
            source = a;
        else
            return usage();
    }
    if (source.isEmpty() || keyFile.isEmpty() || output.isEmpty() || !keyOffset || !keyLength)
        return usage();

    QFile key(keyFile);
    if (!key.open(QIODevice::ReadOnly))
        return fail(keyFile + QStringLiteral(": cannot read the key file"), InputError);
    auto builder = katalog::ContainerBuilder::fromKeyFile(key.readAll(), *keyOffset, *keyLength);
    if (!builder)
        return fail(QStringLiteral("%1: no key of %2 bytes at offset %3 (at most %4 bytes)")
                        .arg(keyFile).arg(*keyLength).arg(*keyOffset)
                        .arg(katalog::MaxKeyLength),
                    InputError);
    const auto result = katalog::buildFromSource(source, std::move(*builder));
    if (!result.error.isEmpty())
        return fail(result.error, InputError);
    if (!QDir().mkpath(QFileInfo(output).absolutePath()) ||
        !platform::writeFileAtomically(output, result.container))
        return fail(output + QStringLiteral(": cannot write"), InputError);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();
    if (args.isEmpty())
        return usage();
    const QString command = args.takeFirst();
    if (command == u"decode")
        return decode(args);
    if (command == u"build")
        return build(args);
    return usage();
}

// mapic: decodes a CD's catalogue container to JSON as the program reads it, or builds a
// container from a readable source catalogue.
//   mapic decode CD-ROOT [--slovak]
//   mapic build SOURCE.ini --key-file F --key-offset N --key-length L -o MAP.PIC
#include "catalogue/CatalogueJson.h"
#include "catalogue/CatalogueLoader.h"
#include "catalogue/ContainerBuilder.h"
#include "platform/AtomicFile.h"
#include "platform/Paths.h"
#include "platform/ProfileFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {

constexpr int UsageError = 1;
constexpr int InputError = 2;

int usage() {
    std::fputs("usage: mapic decode CD-ROOT [--slovak]\n"
               "       mapic build SOURCE.ini --key-file F --key-offset N --key-length L"
               " -o MAP.PIC\n",
               stderr);
    return UsageError;
}

int fail(const QString& message, int code) {
    std::fprintf(stderr, "mapic: %s\n", message.toLocal8Bit().constData());
    return code;
}

int decode(const QStringList& args) {
    if (args.isEmpty() || args.size() > 2 || (args.size() == 2 && args[1] != u"--slovak"))
        return usage();
    const bool slovak = args.size() == 2;
    if (!QFileInfo(args[0]).isDir())
        return fail(args[0] + QStringLiteral(": no such folder"), UsageError);
    const QString programDir = platform::withTrailingSlash(QFileInfo(args[0]).absoluteFilePath());
    const QString systemDir = platform::readableFolder(programDir, QStringLiteral("SYSTEM"));

    katalog::CatalogueStore store;
    katalog::DescriptionTable descriptions;
    katalog::CatalogueLoader loader(store, descriptions);
    if (!loader.FullDecrypt(programDir, systemDir, slovak)) {
        std::fprintf(stderr, "%s\n", katalog::containerDamagedMessage().toLocal8Bit().constData());
        return InputError;
    }
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

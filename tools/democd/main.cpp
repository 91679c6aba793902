// Generates CD trees for katalog.
//   democd [--data DIR] [--mapic PATH] OUT     the demo CD
//   democd --programs N [--mapic PATH] OUT     a catalogue of N entries, for the benchmarks
//   democd --previews DIR                      pictures of every skinned window, to look at
#include "tools/democd/DemoCd.h"
#include "tools/democd/Previews.h"
#include "tools/democd/SourceIni.h"

#include <QCommandLineParser>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    // Drawing needs no display: the generator runs during the build.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser cli;
    cli.setApplicationDescription(QStringLiteral("Generates the katalog demo CD."));
    cli.addHelpOption();
    const QCommandLineOption data(QStringLiteral("data"), QStringLiteral("Source folder."), QStringLiteral("DIR"),
                                  democd::defaultDataDir());
    const QCommandLineOption mapic(QStringLiteral("mapic"), QStringLiteral("The container builder."), QStringLiteral("PATH"));
    const QCommandLineOption programs(QStringLiteral("programs"), QStringLiteral("Write a catalogue of N entries."),
                                      QStringLiteral("N"));
    const QCommandLineOption previews(QStringLiteral("previews"), QStringLiteral("Write window previews to DIR."),
                                      QStringLiteral("DIR"));
    cli.addOptions({data, mapic, programs, previews});
    cli.addPositionalArgument(QStringLiteral("OUT"), QStringLiteral("Root of the CD tree to write."));
    cli.process(app);

    QStringList warnings;
    bool ok = true;
    if (cli.isSet(previews)) {
        const auto title = democd::SourceIni::load(cli.value(data) + QStringLiteral("/katalog.ini"));
        const democd::SourceSection* t = title ? title->section(QStringLiteral("Title")) : nullptr;
        for (const QString& p : democd::writePreviews(cli.value(previews), t ? t->value(QStringLiteral("Name")) : QString()))
            std::printf("%s\n", qPrintable(p));
        return 0;
    }
    if (cli.positionalArguments().size() != 1)
        cli.showHelp(1);
    const QString out = cli.positionalArguments().first();
    if (cli.isSet(programs)) {
        bool number = false;
        const int n = cli.value(programs).toInt(&number);
        if (!number || n < 1 || n > 100000) {
            std::fputs("democd: --programs wants a count from 1 to 100000\n", stderr);
            return 1;
        }
        ok = democd::writeLargeCatalogue(out, n, cli.value(mapic), warnings);
    } else {
        ok = democd::writeDemoCd({out, cli.value(data), cli.value(mapic)}, warnings);
    }
    for (const QString& w : warnings)
        std::fprintf(stderr, "democd: %s\n", qPrintable(w));
    return ok ? 0 : 1;
}

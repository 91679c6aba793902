#pragma once
// The demo CD: everything below build/cd except the program itself.
#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

namespace democd {

struct DemoOptions {
    QString out;    // CD root
    QString data;   // the sources (tools/democd/data)
    QString mapic;  // the container builder; empty: no container
};

// Where the key lies in CTIMNE.TXT.
inline constexpr int KeyOffset = 213;
inline constexpr int KeyLength = 64;

// The data folder compiled in for the build tree.
QString defaultDataDir();

// Writes the whole CD. Problems go to warnings; false when the CD is incomplete.
bool writeDemoCd(const DemoOptions& o, QStringList& warnings);

// The pieces, for tests and for the large catalogues.
bool writeSounds(const QString& root);
bool writeProgramFolders(const QString& data, const QString& root, QStringList& warnings);
bool writeKeyFile(const QString& root);
// "autorun.sh" at the CD root, which desktops offer to run for removable media: it starts the
// katalog copied onto the CD, else an installed katalog, with the CD root as its argument.
bool writeAutorun(const QString& root);
// Runs `mapic build`; false (with the reason in warnings) when it did not produce a container.
bool buildContainer(const QString& mapic, const QString& sourceIni, const QString& root,
                    QStringList& warnings);
bool writeOtherTitles(const QString& data, const QString& root, QStringList& warnings);
bool writeAboutPages(const QString& data, const QString& root, QStringList& warnings);
bool writeHelp(const QString& data, const QString& root);

// A catalogue of n program entries with descriptions of about 2 KB: its sources below
// out/zdroj/, the key file and, when mapic builds it, out/SYSTEM/MAP.PIC.
bool writeLargeCatalogue(const QString& out, int n, const QString& mapic, QStringList& warnings);

// A shell word that the shell reads back as exactly s.
QString shQuote(const QString& s);
// The setup and uninstall scripts of a program.
QByteArray setupScript(const QString& title, const QString& appName, const QString& uninstallReg,
                       const QStringList& files);
QByteArray uninstallScript(const QString& title, const QString& appName,
                           const QString& uninstallReg);

// Markup (# heading, ## subheading, - item, **bold**, *italic*, !!accent!!) to RTF with
// Windows-1250 escapes.
QByteArray markupToRtf(const QString& markup);

// Saves a picture by the file's extension (.bmp 24-bit, .jpg/.jpeg JPEG, others by Qt).
bool savePicture(const QImage& image, const QString& path);
bool writeBytes(const QString& path, const QByteArray& bytes, bool executable = false);

}  // namespace democd

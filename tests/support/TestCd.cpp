#include "tests/support/TestCd.h"

#include "tests/support/TestCatalogue.h"

#include "tests/support/SoundFiles.h"

#include "app/MainFormUnit1.h"
#include "app/Shell.h"
#include "platform/ShellOpen.h"
#include "tools/democd/CdWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>

namespace testing_support {
namespace {

// Skins are written once per process and hard-linked into every test's tree.
const QString& skinTemplate() {
    static QTemporaryDir dir;
    static const bool written = [] {
        democd::writePlainSkins(dir.path());
        democd::writePlainIntro(dir.path());
        return true;
    }();
    (void)written;
    static const QString path = dir.path();
    return path;
}

}  // namespace

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void TestCd::SetUp() {
    ASSERT_TRUE(cd_.isValid());
    ASSERT_TRUE(config_.isValid());
    qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit());
    katalog::resetShell();
    katalog::TMain::setScreenSizeForTests(QSize(1024, 768));
    platform::setMessageHook([this](platform::MessageKind k, const QString& t) { messages.emplace_back(k, t); });
    platform::setLaunchHook([](const platform::Launch&) {});
}

void TestCd::TearDown() {
    platform::setMessageHook(nullptr);
    platform::setLaunchHook(nullptr);
    katalog::TMain::setScreenSizeForTests(std::nullopt);
}

void TestCd::installSkins() {
    namespace fs = std::filesystem;
    if (skinsInstalled_)
        return;
    skinsInstalled_ = true;
    fs::copy(skinTemplate().toStdString(), cd_.path().toStdString(),
             fs::copy_options::recursive | fs::copy_options::create_hard_links);
    installSounds();
    // A small catalogue, so that start-up finds a container; tests that need their own
    // write it afterwards.
    writeCatalogue(cd_.path(), QStringLiteral("[Title]\nName=Test CD\n[sections]\nHry=\n[Hry]\nPexeso=\n"
                                              "[Pexeso]\nrun=pexeso.sh\nsource=pexeso\n"));
}

void TestCd::installSounds() {
    writeFile(cdFile(QStringLiteral("SYSTEM/1xclick.WAV")), waveFile(60));
    for (int n = 1; n <= 6; ++n)
        writeFile(cdFile(QStringLiteral("SYSTEM/Melody%1.MID").arg(n)), midiFile({{59 + n, 1000}}));
}

}  // namespace testing_support

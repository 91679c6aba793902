#include "app/CdImageOpen.h"

#include "app/CdFiles.h"
#include "app/CdSearch.h"
#include "app/Forms.h"
#include "platform/CdImage.h"
#include "platform/Errors.h"
#include "platform/Paths.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QProgressDialog>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <atomic>
#include <cstring>
#include <thread>

namespace katalog {
namespace {

struct Texts {
    const char16_t* notAnImage;
    const char16_t* damaged;
    const char16_t* refused;
    const char16_t* noCd;
    const char16_t* noRoom;
    const char16_t* notWritten;
    const char16_t* extracting;
    const char16_t* cancel;
};

constexpr Texts Czech{
    u"Soubor „%1“ není obraz CD, který katalog umí přečíst (ISO 9660, nebo BIN s CUE).",
    u"Obraz CD „%1“ je poškozený nebo neúplný a nedá se přečíst.",
    u"Obraz CD „%1“ obsahuje neplatnou položku „%2“, proto nebude otevřen.",
    u"V obrazu „%1“ není CD katalogu: chybí v něm složka SYSTEM se souborem MAP.PIC.",
    u"Pro obsah obrazu CD je potřeba %1 MB volného místa ve složce „%2“, volných je jen %3 MB.",
    u"Obsah obrazu CD se nepodařilo zapsat do složky „%1“: %2",
    u"Rozbaluje se obraz CD „%1“…",
    u"Storno",
};

constexpr Texts Slovak{
    u"Súbor „%1“ nie je obraz CD, ktorý katalóg vie prečítať (ISO 9660 alebo BIN s CUE).",
    u"Obraz CD „%1“ je poškodený alebo neúplný a nedá sa prečítať.",
    u"Obraz CD „%1“ obsahuje neplatnú položku „%2“, preto nebude otvorený.",
    u"V obraze „%1“ nie je CD katalógu: chýba v ňom priečinok SYSTEM so súborom MAP.PIC.",
    u"Pre obsah obrazu CD je potrebných %1 MB voľného miesta v priečinku „%2“, voľných je len %3 MB.",
    u"Obsah obrazu CD sa nepodarilo zapísať do priečinka „%1“: %2",
    u"Rozbaľuje sa obraz CD „%1“…",
    u"Zrušiť",
};

QString text(const char16_t* t) { return QString::fromUtf16(t); }
QString native(const QString& path) { return QDir::toNativeSeparators(path); }
qint64 megabytes(qint64 bytes) { return (bytes + (1 << 20) - 1) >> 20; }

bool holdsContainer(const QStringList& files) {
    const QString container = QStringLiteral("SYSTEM/") + QString::fromLatin1(cdfiles::Container);
    return files.contains(container, Qt::CaseInsensitive);
}

// Runs the extraction on a worker thread while a progress window with a cancel button shows
// how far it got.
platform::ImageResult extractWithProgress(const platform::CdImage& image, const QString& folder,
                                          const QString& label, const Texts& t) {
    std::atomic<qint64> done{0}, total{0};
    std::atomic<bool> cancelled{false}, finished{false};
    platform::ImageResult result;

    QProgressDialog progress(label, text(t.cancel), 0, 1000);
    progress.setWindowTitle(platform::applicationTitle());
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.setMinimumDuration(0);
    progress.setMinimumWidth(420);
    centreOnScreenWhenShown(&progress);
    QObject::connect(&progress, &QProgressDialog::canceled, [&] { cancelled = true; });

    QEventLoop loop;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        if (total > 0)
            progress.setValue(int(done * 1000 / total));
        if (finished)
            loop.quit();
    });
    std::thread worker([&] {
        result = image.extract(folder, [&](qint64 d, qint64 all) {
            done = d;
            total = all;
            return !cancelled;
        });
        finished = true;
    });
    progress.show();
    tick.start(50);
    loop.exec();
    worker.join();
    return result;
}

}  // namespace

std::optional<QString> openCdImage(const QString& imageFile, bool slovak) {
    const Texts& t = slovak ? Slovak : Czech;
    const QString shown = native(QFileInfo(imageFile).absoluteFilePath());
    const auto tell = [](const QString& message) {
        platform::showMessage(message);
        return std::nullopt;
    };
    const std::optional<platform::DataTrack> track = platform::findDataTrack(imageFile);
    if (!track)
        return tell(text(t.notAnImage).arg(shown));

    const QString cache = platform::imageCacheFolder();
    const QString key = platform::imageCacheKey(track->file);
    if (auto cached = platform::usedCacheEntry(cache, key); cached && holdsCd(*cached))
        return platform::withTrailingSlash(*cached);

    const platform::CdImage image(*track);
    const platform::CdImage::Listing listing = image.list();
    const auto failed = [&](const platform::ImageResult& r) -> std::optional<QString> {
        switch (r.status) {
        case platform::ImageStatus::Ok:
        case platform::ImageStatus::Cancelled:
            return std::nullopt;
        case platform::ImageStatus::Damaged:
            return tell(text(t.damaged).arg(shown));
        case platform::ImageStatus::Refused:
            return tell(text(t.refused).arg(shown, r.entry));
        case platform::ImageStatus::WriteFailed:
            return tell(text(t.notWritten).arg(native(cache), QString::fromLocal8Bit(std::strerror(r.error))));
        }
        return std::nullopt;
    };
    if (listing.result.status != platform::ImageStatus::Ok)
        return failed(listing.result);
    if (!holdsContainer(listing.files))
        return tell(text(t.noCd).arg(shown));

    if (!QDir().mkpath(cache))
        return failed({platform::ImageStatus::WriteFailed, {}, errno});
    const qint64 needed = listing.fileBytes + (1 << 20);
    const qint64 available = QStorageInfo(cache).bytesAvailable();
    if (available >= 0 && available < needed)
        return tell(text(t.noRoom).arg(megabytes(needed)).arg(native(cache)).arg(available >> 20));

    // Filled under a temporary name and renamed only when whole: a cancelled or failed
    // extraction leaves nothing that looks like a cache entry.
    QTemporaryDir part(cache + QStringLiteral(".part-") + key + QStringLiteral("-XXXXXX"));
    if (!part.isValid())
        return failed({platform::ImageStatus::WriteFailed, {}, errno});
    const platform::ImageResult extracted =
        extractWithProgress(image, part.path(), text(t.extracting).arg(QFileInfo(imageFile).fileName()), t);
    if (extracted.status != platform::ImageStatus::Ok)
        return failed(extracted);
    const auto entry = platform::completeCacheEntry(part.path(), cache, key);
    if (!entry)
        return failed({platform::ImageStatus::WriteFailed, {}, errno});
    platform::pruneImageCache(cache, KeptImages);
    return platform::withTrailingSlash(*entry);
}

}  // namespace katalog

// Wave files from the CD (the click sound) through the player's open, which hands them to
// the mixer: any bytes open or give the device's reason, never a crash or a hang.
#include "platform/Errors.h"
#include "platform/SoundPlayer.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir;
    static const QString path = dir.path() + QStringLiteral("/1xclick.WAV");
    static platform::SoundPlayer player;
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        f.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    player.setFileName(path);
    try {
        player.open();
        if (!player.isOpen())
            std::abort();
    } catch (const platform::KatalogError& e) {
        if (e.text().isEmpty())
            std::abort();
    }
    player.close();
    return 0;
}

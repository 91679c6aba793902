#pragma once
// What the program needs of a multimedia device: open a file by name (the extension picks
// the device: ".wav" a wave chunk, ".mid" a MIDI song), play asynchronously with an optional
// completion notice, stop, close, mode. Notices arrive queued on the user-interface thread.
//
// All players share one sound output. When it cannot be opened, the first open in a run
// throws with its text; every later open succeeds on a silent device, so a machine without
// sound shows one message and then plays nothing.
#include <QByteArray>
#include <QObject>
#include <QString>

#include <memory>
#include <optional>

namespace platform {

enum class NotifyOutcome { Successful, Superseded, Aborted, Failure };
enum class PlayerMode { NotReady, Stopped, Playing, Recording, Seeking, Paused, Open };

class SoundPlayer : public QObject {
    Q_OBJECT
public:
    explicit SoundPlayer(QObject* parent = nullptr);
    ~SoundPlayer() override;

    void setFileName(const QString& path) { fileName_ = path; }
    const QString& fileName() const { return fileName_; }
    // Ask for a completion notice for the next command; every command uses the request up.
    // Only a play gives a notice: Successful when it reaches the end, Aborted when a stop or
    // close cuts it short, Superseded when another play takes it over, Failure when the
    // device could not play it.
    void setNotify(bool notify) { notify_ = notify; }
    bool notify() const { return notify_; }

    // Closes first when open. Throws KatalogError with the device's text when the file
    // cannot be opened.
    void open();
    void close();
    // Returns at once. From the start when the media stands at its end or was never played;
    // after a stop it goes on from where it stopped. Throws KatalogError("No MCI device
    // open") when not open.
    void play();
    // Throws KatalogError("No MCI device open") when not open.
    void stop();
    bool isOpen() const;
    PlayerMode mode() const;

    // Closes every player and the shared sound output; the next open starts it again with
    // the environment as it is then (SDL_AUDIODRIVER, SDL_DISKAUDIOFILE). Runs by itself
    // when the application object is destroyed.
    static void shutdownAudio();

Q_SIGNALS:
    void notified(platform::NotifyOutcome outcome);

private:
    friend class SoundOutput;
    struct Impl;
    void postNotice(NotifyOutcome outcome);
    void finish(NotifyOutcome outcome);
    void startSong();

    std::unique_ptr<Impl> impl_;
    QString fileName_;
    bool notify_ = false;
};

// The Standard MIDI File in bytes (which may wrap it in RIFF) when every one of its tracks
// reads through; nothing otherwise. A song that fails this is refused by open.
std::optional<QByteArray> readableMidi(const QByteArray& bytes);

// A RIFF wave file with a format and a data chunk, its chunk lengths cut to the bytes that are
// there; nothing otherwise. A wave that fails this is refused by open.
std::optional<QByteArray> readableWave(const QByteArray& bytes);

}  // namespace platform

#pragma once
// What the program needs of a multimedia device: open a file by name (the extension picks
// the device: ".wav" a wave chunk, ".mid" a MIDI song), play asynchronously with an optional
// completion notice, stop, close, mode. Notices arrive on the user-interface thread.
#include <QObject>
#include <QString>

#include <memory>

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
    // Ask for a completion notice for the next command.
    void setNotify(bool notify) { notify_ = notify; }
    bool notify() const { return notify_; }

    // Throws KatalogError with the device's text when the file cannot be opened.
    void open();
    void close();
    // Throws KatalogError("No MCI device open") when not open.
    void play();
    void stop();
    bool isOpen() const;
    PlayerMode mode() const;

Q_SIGNALS:
    void notified(platform::NotifyOutcome outcome);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    QString fileName_;
    bool notify_ = false;
};

}  // namespace platform

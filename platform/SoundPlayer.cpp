#include "platform/SoundPlayer.h"

#include "platform/Errors.h"

namespace platform {

// Placeholder device: opens and plays nothing audible.
struct SoundPlayer::Impl {
    bool open = false;
    bool playing = false;
};

SoundPlayer::SoundPlayer(QObject* parent) : QObject(parent), impl_(std::make_unique<Impl>()) {}
SoundPlayer::~SoundPlayer() = default;

void SoundPlayer::open() {
    close();
    impl_->open = true;
}

void SoundPlayer::close() {
    impl_->open = false;
    impl_->playing = false;
}

void SoundPlayer::play() {
    if (!impl_->open)
        throw KatalogError(QStringLiteral("No MCI device open"));
    impl_->playing = true;
    notify_ = false;
}

void SoundPlayer::stop() { impl_->playing = false; }
bool SoundPlayer::isOpen() const { return impl_->open; }

PlayerMode SoundPlayer::mode() const {
    if (!impl_->open)
        return PlayerMode::NotReady;
    return impl_->playing ? PlayerMode::Playing : PlayerMode::Stopped;
}

}  // namespace platform

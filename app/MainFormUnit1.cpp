#include "app/MainFormUnit1.h"

#include "about/ONasUnit1.h"
#include "app/CdFiles.h"
#include "app/ErrorDialogUnit1.h"
#include "app/IntroFormUnit1.h"
#include "app/Settings.h"
#include "app/Shell.h"
#include "app/SkinSizes.h"
#include "catalogue/ProgramyFormUnit1.h"
#include "catalogue/VysledkyHledaniUnit1.h"
#include "copy/KopirovaniFormUnit1.h"
#include "menu/DesktopUnit1.h"
#include "orders/DalsiNaseCDUnit1.h"
#include "orders/TiskUnit1.h"
#include "platform/Errors.h"
#include "platform/Fonts.h"
#include "platform/Paths.h"
#include "platform/Pictures.h"
#include "settings/NastaveniUnit1.h"
#include "viewer/PicFormUnit1.h"
#include "widgets/EzRgnBtn.h"
#include "widgets/ImageList.h"

#include <QCoreApplication>
#include <QLabel>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QThread>
#include <QTimer>

namespace katalog {

TMain::TMain(TIntroForm* intro, const QString& programDir, QObject* parent)
    : QObject(parent),
      intro_(intro),
      mediaPlayer1_(std::make_unique<platform::SoundPlayer>()),
      mediaPlayer2_(std::make_unique<platform::SoundPlayer>()) {
    setObjectName(QStringLiteral("Main"));
    platform::setEnding(false);
    Shell& s = shell();
    s.ProgramDir = platform::withTrailingSlash(QDir(programDir).absolutePath());
    connect(mediaPlayer1_.get(), &platform::SoundPlayer::notified, this, &TMain::MediaPlayer1Notify);
    connect(mediaPlayer2_.get(), &platform::SoundPlayer::notified, this, &TMain::MediaPlayer2Notify);
}

TMain::~TMain() {
    DestroyForms();
    // Still there when start-up stopped early.
    delete intro_;
}

namespace {
std::optional<QRect> screenForTests;
}

void TMain::setScreenForTests(std::optional<QRect> geometry) { screenForTests = geometry; }

void TMain::setScreenSizeForTests(std::optional<QSize> size) {
    screenForTests = size ? std::optional<QRect>(QRect(QPoint(0, 0), *size)) : std::nullopt;
}

QRect TMain::screenGeometry() {
    if (screenForTests)
        return *screenForTests;
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 1024, 768);
}

void TMain::FormCreate() {
    Shell& s = shell();
    platform::setMessagesOnTop(true);

    // Step 2: folders.
    s.SystemDir = platform::readableFolder(s.ProgramDir, QStringLiteral("SYSTEM"));
    s.WindowsDir = settingsFolder();

    // Steps 3 to 5: settings, music, intro picture. Start-up stops at the first fatal error.
    platform::guarded([&] { NactiNastaveni(s, screenSize()); });
    // Without its picture the intro would be an empty black window: start-up goes on without it.
    if (intro_ && platform::guarded([&] { intro_->Prepare(); })) {
        intro_->show();
        intro_->repaint();
        // No event loop runs yet: let the window system map and paint the picture.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }

    // Steps 6 and 7.
    LoadForms();
    if (terminating_)
        return;

    // Step 8: the catalogue is the first content window.
    if (forms_.ProgramyForm && forms_.DesktopForm)
        ZobrazOkno(forms_.ProgramyForm, forms_.DesktopForm->mnuProgramy);

    // Step 4's song: opening the audio device and the synthesizer takes longer than
    // creating every window, so the song starts once the main menu window is on screen.
    StartMusicWhenShown();
}

void TMain::StartMusicWhenShown() {
    if (!shell().MusicOn)
        return;
    startupSongDue_ = true;
    if (forms_.DesktopForm)
        forms_.DesktopForm->installEventFilter(this);
    // Without a window system that paints, the song still starts.
    QTimer::singleShot(1000, this, &TMain::StartStartupSong);
}

bool TMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint && watched == forms_.DesktopForm && startupSongDue_) {
        watched->removeEventFilter(this);
        QTimer::singleShot(0, this, &TMain::StartStartupSong);
    }
    return QObject::eventFilter(watched, event);
}

void TMain::StartStartupSong() {
    if (!startupSongDue_)
        return;
    startupSongDue_ = false;
    if (forms_.DesktopForm)
        forms_.DesktopForm->removeEventFilter(this);
    // The settings window may have started or stopped the music in the meantime.
    if (!terminating_ && shell().MusicOn && mediaPlayer2_->mode() != platform::PlayerMode::Playing)
        platform::guarded([&] { PlayMusic(shell().SongNumber); });
}

void TMain::LoadForms() {
    Forms& f = forms_;
    const auto made = [this](auto* form) {
        platform::guarded([&] { form->FormCreate(); });
        return !terminating_;
    };
    if (!made(f.DesktopForm = new TDesktopForm(*this)))
        return;
    QWidget* desktop = f.DesktopForm;
    if (!made(f.TiskForm = new TTiskForm(*this, desktop)) || !made(f.ONas = new TONas(*this, desktop)) ||
        !made(f.DalsiNaseCDForm = new TDalsiNaseCDForm(*this, desktop)) ||
        !made(f.PicForm = new TPicForm(*this, desktop)) ||
        !made(f.ProgramyForm = new TProgramyForm(*this, desktop)) ||
        !made(f.KopirovaniForm = new TKopirovaniForm(*this, desktop)) ||
        !made(f.ErrorDialog = new TErrorDialog(*this, desktop)) ||
        !made(f.NastaveniForm = new TNastaveniForm(*this, desktop)))
        return;

    // Step 7.
    platform::guarded([&] {
        mediaPlayer1_->setFileName(platform::readablePath(shell().SystemDir, QString::fromLatin1(cdfiles::ClickSound)));
        mediaPlayer1_->open();
    });
    platform::guarded([&] { ApplyAppFont(); });
    if (terminating_)
        return;
    f.DesktopForm->ChainFocus();
    if (intro_) {
        intro_->hide();
        delete intro_;
    }
    platform::setMessagesOnTop(false);
    f.DesktopForm->show();
}

void TMain::CreateSearchResultForm() {
    if (terminating_)
        return;
    forms_.VysledkyHledaniForm = new TVysledkyHledaniForm(*this, forms_.DesktopForm);
    platform::guarded([&] { forms_.VysledkyHledaniForm->FormCreate(); });
}

void TMain::DestroyForms() {
    // The main menu window owns every other window.
    delete forms_.DesktopForm;
    forms_ = Forms();
    currentWindow_ = nullptr;
    currentButton_ = nullptr;
}

void TMain::ZobrazOkno(QWidget* window, TEzRgnBtn* button) {
    if (currentWindow_)
        currentWindow_->hide();
    if (currentButton_)
        currentButton_->setButtonEnabled(true);
    window->show();
    currentWindow_ = window;
    currentButton_ = button;
    if (button)
        button->setButtonEnabled(false);
}

void TMain::UnLoadForms() {
    if (terminating_)
        return;
    terminating_ = true;
    platform::setEnding(true);
    const int status = exitStatus_;
    // Taken by the event loop; before it runs, start-up stops and the entry point returns the
    // status itself. Leaving a loop that does not run would make every later one return at once.
    QMetaObject::invokeMethod(
        this,
        [status] {
            if (QThread::currentThread()->loopLevel() > 0)
                QCoreApplication::exit(status);
        },
        Qt::QueuedConnection);
}

void TMain::EndWithError(const QString& message) {
    if (terminating_)
        return;
    platform::showMessage(message);
    exitStatus_ = 1;
    UnLoadForms();
}

void TMain::NaplnImageList(TImageList& list, const skin::List& l) {
    list.reserve(l.count);
    for (int i = 0; i < l.count; ++i) {
        const QString rel = QString::fromStdString(skin::fileOf(l, i));
        const auto path = platform::resolvePath(shell().SkinDir, rel);
        QImage image;
        // The picture loader also refuses a bitmap that is shorter than its header says.
        if (path) {
            try {
                image = platform::loadPicture(*path);
            } catch (const platform::KatalogError&) {
            }
        }
        if (image.isNull()) {
            ChybaObrazku();
            return;
        }
        if (i == 0)
            list.setSize(image.size());
        if (!list.add(image))
            ChybaObrazku();
    }
}

void TMain::ChybaObrazku() { EndWithError(QStringLiteral("Chyba při načítání grafiky, aplikace bude ukončena.")); }

QPixmap TMain::LoadSkinPicture(const skin::Picture& p) {
    const QString rel = QString::fromStdString(skin::fileOf(p));
    const QString path = platform::readablePath(shell().SkinDir, rel);
    auto it = skinPictures_.constFind(path);
    if (it == skinPictures_.constEnd())
        it = skinPictures_.insert(path, QPixmap::fromImage(platform::loadPicture(path)));
    return *it;
}

QSize TMain::ShowSkinPicture(QLabel* label, const skin::Picture& p) {
    const QPixmap picture = LoadSkinPicture(p);
    label->setPixmap(picture);
    label->resize(picture.size());
    return picture.size();
}

QSize TMain::ShowSkinPictureOrReport(QLabel* label, const skin::Picture& p) {
    try {
        return ShowSkinPicture(label, p);
    } catch (const platform::KatalogError& e) {
        // The content windows share one background: its loss is said once.
        const QString file = QString::fromStdString(skin::fileOf(p)).toLower();
        if (!failedSkinPictures_.contains(file)) {
            failedSkinPictures_.insert(file);
            platform::reportError(e.text());
        }
    }
    label->clear();
    const auto size = skin::sizeOf(p, shell().HighRes);
    label->resize(size ? QSize(size->width, size->height) : QSize());
    return label->size();
}

void TMain::ShowSkinPictures(std::initializer_list<std::pair<QLabel*, skin::Picture>> pictures) {
    for (const auto& [label, picture] : pictures)
        ShowSkinPictureOrReport(label, picture);
}

void TMain::PlayMusic(int song) {
    Shell& s = shell();
    if (song >= 1 && song <= 6)
        s.SongNumber = song;
    platform::SoundPlayer& player = *mediaPlayer2_;
    player.setNotify(false);
    switch (player.mode()) {
    case platform::PlayerMode::Playing:
        player.stop();
        player.close();
        break;
    case platform::PlayerMode::Open:
        player.close();
        break;
    default:
        break;
    }
    if (song < 1 || song > cdfiles::SongCount)
        return;
    const QString file = QString::fromLatin1(cdfiles::SongPrefix) + QString::number(song) +
                         QString::fromLatin1(cdfiles::SongSuffix);
    player.setFileName(platform::readablePath(s.SystemDir, file));
    player.open();
    player.setNotify(true);
    player.play();
}

void TMain::PrehrajKliknuti() {
    // A click file that failed to open was reported once at start-up; from then on the
    // buttons are silent rather than showing a message on every press.
    if (shell().MusicOn && mediaPlayer1_->isOpen())
        platform::guarded([&] { mediaPlayer1_->play(); });
}

void TMain::MediaPlayer1Notify(platform::NotifyOutcome) { mediaPlayer1_->setNotify(true); }

void TMain::MediaPlayer2Notify(platform::NotifyOutcome outcome) {
    if (outcome != platform::NotifyOutcome::Successful)
        return;
    // The song played to its end: again from the beginning, without end.
    platform::guarded([&] {
        mediaPlayer2_->open();
        mediaPlayer2_->setNotify(true);
        mediaPlayer2_->play();
    });
}

void TMain::ApplyAppFont() {
    if (forms_.NastaveniForm)
        forms_.NastaveniForm->SetFont(toQFont(shell().AppFont), platform::colorFromInt(shell().AppFont.color));
}

}  // namespace katalog

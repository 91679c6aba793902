#pragma once
// The hidden owner of the program: start-up, settings, skins, players and the choice of the
// content window shown in the main menu.
#include "app/SkinTable.h"
#include "platform/SoundPlayer.h"

#include <QObject>
#include <QPointer>
#include <QHash>
#include <QSet>
#include <QPixmap>
#include <QRect>
#include <QSize>

#include <memory>
#include <optional>

class QLabel;
class QWidget;

namespace katalog {

class TImageList;
class TEzRgnBtn;
class TIntroForm;
class TDesktopForm;
class TTiskForm;
class TONas;
class TDalsiNaseCDForm;
class TPicForm;
class TProgramyForm;
class TKopirovaniForm;
class TErrorDialog;
class TNastaveniForm;
class TVysledkyHledaniForm;

struct Forms {
    TDesktopForm* DesktopForm = nullptr;
    TTiskForm* TiskForm = nullptr;
    TONas* ONas = nullptr;
    TDalsiNaseCDForm* DalsiNaseCDForm = nullptr;
    TPicForm* PicForm = nullptr;
    TProgramyForm* ProgramyForm = nullptr;
    TKopirovaniForm* KopirovaniForm = nullptr;
    TErrorDialog* ErrorDialog = nullptr;
    TNastaveniForm* NastaveniForm = nullptr;
    TVysledkyHledaniForm* VysledkyHledaniForm = nullptr;
};

class TMain : public QObject {
    Q_OBJECT
public:
    // programDir: the data root (the CD), a real folder.
    TMain(TIntroForm* intro, const QString& programDir, QObject* parent = nullptr);
    ~TMain() override;

    // Start-up steps 1 to 8; an error in one step is reported and the rest goes on.
    void FormCreate();
    // Step 9, after start-up: the search-result window.
    void CreateSearchResultForm();

    Forms& forms() { return forms_; }
    QWidget* CurrentWindow() const { return currentWindow_; }
    TEzRgnBtn* CurrentButton() const { return currentButton_; }

    void ZobrazOkno(QWidget* window, TEzRgnBtn* button);
    // Asks the application to end once control is back in the event loop; from then on no
    // message is shown.
    void UnLoadForms();
    // A fatal error: its one message, then the end with a failure status.
    void EndWithError(const QString& message);
    bool terminationRequested() const { return terminating_; }
    int exitStatus() const { return exitStatus_; }

    void NaplnImageList(TImageList& list, const skin::List& l);
    void ChybaObrazku();
    // A single skin picture; throws KatalogError when it cannot be loaded. Each file is read
    // once: the four content windows share one background.
    QPixmap LoadSkinPicture(const skin::Picture& p);
    // Shows the picture in label, at the picture's size; returns that size. Throws as above.
    QSize ShowSkinPicture(QLabel* label, const skin::Picture& p);
    // ShowSkinPicture, but a picture that fails is reported, the first time only, and the
    // label takes the size the layout gives the picture: nothing placed by it moves.
    // ShowSkinPictures does that for each pair.
    QSize ShowSkinPictureOrReport(QLabel* label, const skin::Picture& p);
    void ShowSkinPictures(std::initializer_list<std::pair<QLabel*, skin::Picture>> pictures);

    void PlayMusic(int song);
    void PrehrajKliknuti();
    void MediaPlayer1Notify(platform::NotifyOutcome outcome);
    void MediaPlayer2Notify(platform::NotifyOutcome outcome);
    platform::SoundPlayer& MediaPlayer1() { return *mediaPlayer1_; }
    platform::SoundPlayer& MediaPlayer2() { return *mediaPlayer2_; }

    // Applies the user's font to every window that shows text (the settings window's job).
    void ApplyAppFont();

    // The primary screen: its size chooses the layout, windows are centred on it.
    static QRect screenGeometry();
    static QSize screenSize() { return screenGeometry().size(); }
    // Tests choose the screen that the layouts are computed for, and where it lies.
    static void setScreenForTests(std::optional<QRect> geometry);
    static void setScreenSizeForTests(std::optional<QSize> size);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void LoadForms();
    void DestroyForms();
    // The start-up song, once the main menu window has been painted.
    void StartMusicWhenShown();
    void StartStartupSong();

    QPointer<TIntroForm> intro_;
    QHash<QString, QPixmap> skinPictures_;
    QSet<QString> failedSkinPictures_;
    Forms forms_;
    QWidget* currentWindow_ = nullptr;
    TEzRgnBtn* currentButton_ = nullptr;
    bool terminating_ = false;
    int exitStatus_ = 0;
    bool startupSongDue_ = false;
    std::unique_ptr<platform::SoundPlayer> mediaPlayer1_;
    std::unique_ptr<platform::SoundPlayer> mediaPlayer2_;
};

}  // namespace katalog

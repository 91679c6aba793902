#pragma once
// The copy dialog: the user picks a folder on any drive (creating one if asked) and the
// selected program's folder on the CD is copied into it.
#include "app/Forms.h"
#include "platform/Drives.h"
#include "widgets/ImageList.h"

#include <QList>

#include <functional>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;

namespace katalog {

class TDirectoryListBox;
class TEzRgnBtn;

class TKopirovaniForm : public TSkinDialog {
    Q_OBJECT
public:
    TKopirovaniForm(TMain& main, QWidget* parent);

    void FormCreate();
    void FormShow();
    void NovyAdresarClick();
    void SeznamJednotekChange(int index);
    // The drive-not-ready loop: true when the drive became ready, false when the user gave up.
    bool DialogMake(const platform::Drive& drive);
    void KopirujClick();
    void ZrusitClick();
    // Copies the contents of the folder From into the existing folder To; an entry whose
    // name is taken there is renamed (RenameOnCollision) or offered as an error.
    void CopyAllFiles(const QString& From, const QString& To, bool RenameOnCollision);

    QLabel* Plocha;
    TDirectoryListBox* SeznamAdresaru;
    QComboBox* SeznamJednotek;
    QLineEdit* DirName;
    TEzRgnBtn* NovyAdresar;
    TEzRgnBtn* Kopiruj;
    TEzRgnBtn* Zrusit;
    TEzRgnBtn* Close;
    TImageList AdresarList, KopirujList, ZrusitList, CloseList;

    // Test seams: the drives offered, and whether a drive's root can be listed.
    static void setDrivesForTests(std::function<QList<platform::Drive>()> drives);
    static void setDriveReadyForTests(std::function<bool(const QString& root)> ready);

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Lists the drives again and shows dir (or its nearest existing parent) on its drive.
    // dir shown on the drive whose root is root when it lies there, else on its own drive.
    void ShowDrivesFor(const QString& dir, const QString& root = QString());
    // The working folder, or the home folder when the working folder is on the CD or
    // cannot be written.
    QString FirstFolder() const;
    // The listed drive with that root (the directory list's, say).
    std::optional<qsizetype> driveWithRoot(const QString& root) const;
    // The program's folder on the CD; empty after telling the user why there is none.
    std::optional<QString> SourceFolder();

    QList<platform::Drive> drives_;
    bool opened_ = false;
};

}  // namespace katalog

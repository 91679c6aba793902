#include "copy/KopirovaniFormUnit1.h"

#include "app/ErrorDialogUnit1.h"
#include "app/Layouts.h"
#include "app/MainFormUnit1.h"
#include "app/Shell.h"
#include "copy/CopyProgress.h"
#include "copy/DirectoryListBox.h"
#include "platform/Errors.h"
#include "platform/FileCopy.h"
#include "platform/Paths.h"
#include "widgets/Cursors.h"
#include "widgets/EzRgnBtn.h"
#include "widgets/Keyboard.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QStorageInfo>

namespace katalog {
namespace {

std::function<QList<platform::Drive>()>& drivesForTests() {
    static std::function<QList<platform::Drive>()> f;
    return f;
}
std::function<bool(const QString&)>& readyForTests() {
    static std::function<bool(const QString&)> f;
    return f;
}

bool driveReady(const QString& root) {
    return readyForTests() ? readyForTests()(root) : platform::driveReady(root);
}

}  // namespace

TKopirovaniForm::TKopirovaniForm(TMain& main, QWidget* parent) : TSkinDialog(main, parent) {
    setObjectName(QStringLiteral("KopirovaniForm"));
    setWindowTitle(QStringLiteral("CD"));
    setWhiteBackground(this);

    Plocha = makePicture(this, QStringLiteral("Plocha"));
    Plocha->setAttribute(Qt::WA_TransparentForMouseEvents);
    DirName = new QLineEdit(this);
    DirName->setObjectName(QStringLiteral("DirName"));
    SeznamAdresaru = new TDirectoryListBox(this);
    SeznamAdresaru->setObjectName(QStringLiteral("SeznamAdresaru"));
    SeznamJednotek = new QComboBox(this);
    SeznamJednotek->setObjectName(QStringLiteral("SeznamJednotek"));
    NovyAdresar = makeButton(this, QStringLiteral("NovyAdresar"));
    Kopiruj = makeButton(this, QStringLiteral("Kopiruj"));
    Zrusit = makeButton(this, QStringLiteral("Zrusit"));
    Close = makeButton(this, QStringLiteral("Close"));

    connect(NovyAdresar, &TEzRgnBtn::clicked, this, &TKopirovaniForm::NovyAdresarClick);
    connect(Kopiruj, &TEzRgnBtn::clicked, this, &TKopirovaniForm::KopirujClick);
    connect(Zrusit, &TEzRgnBtn::clicked, this, &TKopirovaniForm::ZrusitClick);
    connect(Close, &TEzRgnBtn::clicked, this, &TKopirovaniForm::ZrusitClick);
    // Only a drive the user picks; setting the box from code changes nothing else.
    connect(SeznamJednotek, &QComboBox::activated, this, &TKopirovaniForm::SeznamJednotekChange);
    keys::setFocusOrder(layout::focusOrder(this, layout::KopirovaniFocus));
}

void TKopirovaniForm::FormCreate() {
    Plocha->move(0, 0);
    const QSize background = main_.ShowSkinPictureOrReport(Plocha, skin::KopirPlocha);
    Plocha->lower();
    setFixedSize(background);
    centreOnContentArea();

    main_.NaplnImageList(AdresarList, skin::KopirNovyadr);
    NovyAdresar->setImageList(&AdresarList);
    main_.NaplnImageList(KopirujList, skin::KopirKopiruj);
    Kopiruj->setImageList(&KopirujList);
    main_.NaplnImageList(ZrusitList, skin::KopirZrusit);
    Zrusit->setImageList(&ZrusitList);
    main_.NaplnImageList(CloseList, skin::KopirX);
    Close->setImageList(&CloseList);

    layout::apply(this, layout::Kopirovani, shell().HighRes);
}

void TKopirovaniForm::showEvent(QShowEvent* event) {
    FormShow();
    TSkinDialog::showEvent(event);
}

void TKopirovaniForm::FormShow() {
    DirName->setText(shell().CopyTarget);
    centreOnContentArea();
    // The first opening shows the working directory; later ones what the last one left.
    if (opened_)
        ShowDrivesFor(SeznamAdresaru->Directory(), SeznamAdresaru->Root());
    else
        ShowDrivesFor(FirstFolder());
    opened_ = true;
}

QString TKopirovaniForm::FirstFolder() const {
    // How the program was started decides the working folder: from the CD (its autorun, a
    // file manager or a terminal there) it is the CD itself, where nobody copies to.
    const QString work = QDir::currentPath();
    const QString cd = QFileInfo(shell().ProgramDir).canonicalFilePath();
    const QString here = QFileInfo(work).canonicalFilePath();
    const bool onCd = !cd.isEmpty() && (here == cd || here.startsWith(platform::withTrailingSlash(cd)));
    return onCd || !platform::folderWritable(work) ? QDir::homePath() : work;
}

std::optional<qsizetype> TKopirovaniForm::driveWithRoot(const QString& root) const {
    for (qsizetype i = 0; !root.isEmpty() && i < drives_.size(); ++i)
        if (QDir::cleanPath(drives_[i].root) == QDir::cleanPath(root))
            return i;
    return std::nullopt;
}

void TKopirovaniForm::ShowDrivesFor(const QString& wanted, const QString& root) {
    drives_ = drivesForTests() ? drivesForTests()() : platform::userDrives();
    // A folder removed since the last opening: its nearest parent that is still there.
    QString dir = QDir::cleanPath(wanted.isEmpty() ? QDir::homePath() : wanted);
    while (!QFileInfo(dir).isDir() && dir != QLatin1String("/"))
        dir = QFileInfo(dir).path();
    // The drive the list stood on, when the folder still lies on it; the user may have
    // walked down from "/" into the home folder, which is a drive of its own.
    std::optional<qsizetype> index = driveWithRoot(root);
    if (!index || !platform::driveOf({drives_[*index]}, dir))
        index = platform::driveOf(drives_, dir);
    if (!index) {
        // On a volume the list leaves out (a temporary folder, say): offer that one as well.
        QString root = QDir::cleanPath(QStorageInfo(dir).rootPath());
        if (root.isEmpty() || root == QLatin1String("."))
            root = QStringLiteral("/");
        drives_.append({root, root});
        index = drives_.size() - 1;
    }
    SeznamJednotek->clear();
    for (const platform::Drive& d : drives_) {
        SeznamJednotek->addItem(d.label);
        SeznamJednotek->setItemData(SeznamJednotek->count() - 1, d.root, Qt::ToolTipRole);
    }
    SeznamJednotek->setCurrentIndex(int(*index));
    SeznamAdresaru->SetDirectory(dir, drives_[*index].root);
}

void TKopirovaniForm::NovyAdresarClick() {
    main_.PrehrajKliknuti();
    // Both separators divide levels; empty and "." levels add nothing.
    static const QRegularExpression separators(QStringLiteral("[\\\\/]"));
    QStringList names;
    for (const QString& part : DirName->text().split(separators)) {
        const QString name = part.trimmed();
        if (name.isEmpty() || name == QLatin1String("."))
            continue;
        // A catalogue value fills this box: it may not climb out of the chosen folder.
        if (name == QLatin1String("..")) {
            platform::reportError(
                QStringLiteral("Název složky „%1“ není platný").arg(DirName->text()));
            return;
        }
        names.append(name);
    }
    QString path = SeznamAdresaru->Directory();
    for (const QString& name : names)
        path = platform::withTrailingSlash(path) + name;
    if (!names.isEmpty()) {
        if (const int error = platform::makeFolderPath(path)) {
            platform::reportError(QStringLiteral("Složku „%1“ nelze vytvořit: %2")
                                      .arg(path, platform::describeErrno(error)));
            return;
        }
    }
    if (!SeznamAdresaru->SetDirectory(path))
        SeznamAdresaru->Update();
}

void TKopirovaniForm::SeznamJednotekChange(int index) {
    if (index < 0 || index >= drives_.size())
        return;
    const std::optional<qsizetype> remembered = driveWithRoot(SeznamAdresaru->Root());
    if (remembered && *remembered == index)
        return;
    const platform::Drive chosen = drives_[index];
    if ((driveReady(chosen.root) || DialogMake(chosen)) &&
        SeznamAdresaru->SetDirectory(chosen.root, chosen.root))
        return;
    SeznamJednotek->setCurrentIndex(remembered ? int(*remembered) : -1);
}

bool TKopirovaniForm::DialogMake(const platform::Drive& drive) {
    TErrorDialog* dialog = main_.forms().ErrorDialog;
    if (!dialog)
        return false;
    bool ready = false;
    for (;;) {
        const int result = dialog->exec();
        if (result == TErrorDialog::Cancel)
            break;
        if (result == TErrorDialog::Retry && driveReady(drive.root)) {
            ready = true;
            break;
        }
    }
    return ready;
}

std::optional<QString> TKopirovaniForm::SourceFolder() {
    const QString source = shell().CopySource;
    const QString programDir = shell().ProgramDir;
    const std::optional<QString> folder = platform::existingDir(programDir, source);
    const bool whole = folder && QFileInfo(*folder).canonicalFilePath() ==
                                     QFileInfo(programDir).canonicalFilePath();
    // Without a folder of its own the source would be the whole CD.
    if (source.trimmed().isEmpty() || whole) {
        platform::showMessage(
            QStringLiteral("U vybraného programu není uvedena složka ke kopírování."));
        return std::nullopt;
    }
    if (!folder) {
        platform::showMessage(QStringLiteral("Složka programu „%1“ na CD chybí.").arg(source));
        return std::nullopt;
    }
    return folder;
}

void TKopirovaniForm::KopirujClick() {
    main_.PrehrajKliknuti();
    const std::optional<QString> source = SourceFolder();
    if (!source) {
        reject();
        return;
    }
    // Names the copy would take are settled once, before anything is written.
    const QString destination = SeznamAdresaru->Directory();
    const QStringList taken = platform::takenNames(*source, destination);
    const Collisions answer = taken.isEmpty() ? Collisions::KeepBoth : askCollisions(this, destination, taken);
    if (answer == Collisions::Cancel)
        return;
    CopyAllFiles(*source, destination, answer == Collisions::KeepBoth);
    accept();
}

void TKopirovaniForm::CopyAllFiles(const QString& From, const QString& To, bool RenameOnCollision) {
    const OverrideCursor hourGlass(Qt::WaitCursor);
    platform::CopyOptions options;
    options.renameOnCollision = true;
    options.replaceExisting = !RenameOnCollision;
    copyWithProgress(this, From, To, options);
}

void TKopirovaniForm::ZrusitClick() {
    main_.PrehrajKliknuti();
    reject();
}

void TKopirovaniForm::setDrivesForTests(std::function<QList<platform::Drive>()> drives) {
    drivesForTests() = std::move(drives);
}

void TKopirovaniForm::setDriveReadyForTests(std::function<bool(const QString&)> ready) {
    readyForTests() = std::move(ready);
}

}  // namespace katalog

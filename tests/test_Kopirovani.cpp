#include "copy/KopirovaniFormUnit1.h"

#include "app/ErrorDialogUnit1.h"
#include "app/Layouts.h"
#include "app/SkinSizes.h"
#include "app/MainFormUnit1.h"
#include "app/Shell.h"
#include "copy/CopyProgress.h"
#include "copy/DirectoryListBox.h"
#include "menu/DesktopUnit1.h"
#include "tests/support/TestCd.h"
#include "widgets/EzRgnBtn.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSemaphore>
#include <QStorageInfo>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <deque>
#include <filesystem>

#include <sys/resource.h>

using katalog::TKopirovaniForm;
using platform::CopyDecision;
using testing_support::readFile;
using testing_support::writeFile;

namespace {

QByteArray randomBytes(qsizetype n) {
    QList<quint32> words((n + 3) / 4);
    QRandomGenerator(7).fillRange(words.data(), words.size());
    return QByteArray(reinterpret_cast<const char*>(words.constData()), n);
}

QStringList itemTexts(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

QListWidgetItem* itemNamed(const QListWidget* list, const QString& text) {
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->text() == text)
            return list->item(i);
    return nullptr;
}

class KopirovaniTest : public testing_support::TestCd {
protected:
    void SetUp() override {
        TestCd::SetUp();
        ASSERT_TRUE(disks_.isValid());
        driveA = disks_.path() + "/A";
        driveB = disks_.path() + "/B";
        QDir().mkpath(driveA);
        QDir().mkpath(driveB);
        TKopirovaniForm::setDrivesForTests([this] {
            return QList<platform::Drive>{{driveA, "Disk A"}, {driveB, "Disk B"}};
        });
        savedCwd_ = QDir::currentPath();
        QDir::setCurrent(driveA);
        installSkins();
    }
    void TearDown() override {
        if (main && form())
            form()->hide();
        main.reset();
        QDir::setCurrent(savedCwd_);
        TKopirovaniForm::setDrivesForTests(nullptr);
        TKopirovaniForm::setDriveReadyForTests(nullptr);
        katalog::setCopyQuestionForTests(nullptr);
        katalog::setCollisionQuestionForTests(nullptr);
        katalog::setCopyShownHookForTests(nullptr);
        katalog::setCopyWorkerHookForTests(nullptr);
        TestCd::TearDown();
    }

    void start(QSize screen = {1024, 768}) {
        katalog::TMain::setScreenSizeForTests(screen);
        main = std::make_unique<katalog::TMain>(nullptr, cdRoot());
        main->FormCreate();
        ASSERT_NE(form(), nullptr);
    }
    TKopirovaniForm* form() const { return main->forms().KopirovaniForm; }
    katalog::TErrorDialog* errorDialog() const { return main->forms().ErrorDialog; }

    // Picks drive index in the drive box as the user does.
    void pickDrive(int index) {
        form()->SeznamJednotek->setCurrentIndex(index);
        Q_EMIT form()->SeznamJednotek->activated(index);
    }

    // Runs each action in turn whenever the error dialog comes up.
    void answerErrorDialog(std::deque<std::function<void(katalog::TErrorDialog*)>> actions) {
        errorActions_ = std::move(actions);
        errorShown = 0;
        filter_ = std::make_unique<ShowFilter>([this] {
            ++errorShown;
            QTimer::singleShot(0, errorDialog(), [this] {
                if (errorActions_.empty()) {
                    errorDialog()->ZrusitClick();
                    return;
                }
                auto action = std::move(errorActions_.front());
                errorActions_.pop_front();
                action(errorDialog());
            });
        });
        errorDialog()->installEventFilter(filter_.get());
    }

    std::unique_ptr<katalog::TMain> main;
    QString driveA, driveB;
    int errorShown = 0;

private:
    class ShowFilter : public QObject {
    public:
        explicit ShowFilter(std::function<void()> onShow) : onShow_(std::move(onShow)) {}
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Show)
                onShow_();
            return false;
        }

    private:
        std::function<void()> onShow_;
    };

    QTemporaryDir disks_;
    QString savedCwd_;
    std::deque<std::function<void(katalog::TErrorDialog*)>> errorActions_;
    std::unique_ptr<ShowFilter> filter_;
};

TEST_F(KopirovaniTest, CreationSizesTheWindowToItsPictureAndPlacesTheControlsInBothLayouts) {
    struct Case {
        QSize screen;
        QSize window;
        bool highRes;
    };
    const auto background = [](bool large) {
        const auto size = katalog::skin::sizeOf(katalog::skin::KopirPlocha, large).value();
        return QSize(size.width, size.height);
    };
    for (const Case& c : {Case{{1024, 768}, background(true), true}, Case{{800, 600}, background(false), false}}) {
        SCOPED_TRACE(c.screen.width());
        start(c.screen);
        TKopirovaniForm* f = form();
        EXPECT_EQ(f->size(), c.window);
        EXPECT_EQ(f->Plocha->geometry(), QRect(QPoint(0, 0), c.window));
        const auto& s = katalog::shell();
        EXPECT_EQ(f->pos(), QPoint(s.ContentLeft + (s.ContentWidth - c.window.width()) / 2,
                                   s.ContentTop + (s.ContentHeight - c.window.height()) / 2));
        for (const auto& row : katalog::layout::Kopirovani) {
            const QString name = QString::fromLatin1(row.control.data(), row.control.size());
            auto* w = f->findChild<QWidget*>(name);
            ASSERT_NE(w, nullptr) << name.toStdString();
            const auto& g = c.highRes ? row.large : row.small;
            EXPECT_EQ(w->pos(), QPoint(g.left, g.top)) << name.toStdString();
            if (g.width >= 0) {
                EXPECT_EQ(w->size(), QSize(g.width, g.height)) << name.toStdString();
            }
        }
        for (const katalog::TImageList* list :
             {&f->AdresarList, &f->KopirujList, &f->ZrusitList, &f->CloseList})
            EXPECT_EQ(list->count(), 3);
        EXPECT_FALSE(f->Kopiruj->picIdle().isNull());
        EXPECT_EQ(f->windowTitle(), "CD");
        // Modal above the catalogue, never above other applications.
        EXPECT_FALSE(f->windowFlags() & Qt::WindowStaysOnTopHint);
        EXPECT_TRUE(f->isModal());
        EXPECT_TRUE(messages.empty());
        main.reset();
    }
}

TEST_F(KopirovaniTest, EveryOpeningTakesTheSuggestedNameAndIsCentredInTheMovedContentArea) {
    start();
    katalog::shell().CopyTarget = "Tetris";
    form()->show();
    EXPECT_EQ(form()->DirName->text(), "Tetris");
    form()->DirName->setText("typed, never used");
    form()->hide();

    main->forms().DesktopForm->move(120, 80);
    katalog::shell().CopyTarget = "";
    form()->show();
    EXPECT_EQ(form()->DirName->text(), "");
    const auto& s = katalog::shell();
    const QSize w = form()->size();
    EXPECT_EQ(form()->pos(), QPoint(120 + 59 + (788 - w.width()) / 2, 80 + 27 + (536 - w.height()) / 2));
    EXPECT_EQ(s.ContentLeft, 120 + 59);
}

TEST_F(KopirovaniTest, FirstOpeningShowsTheWorkingDirectoryThenWhatTheLastClosingLeft) {
    QDir().mkpath(driveA + "/work/sub");
    QDir::setCurrent(driveA + "/work");
    start();
    form()->show();
    EXPECT_EQ(form()->SeznamAdresaru->Directory(), driveA + "/work");
    EXPECT_EQ(form()->SeznamJednotek->currentIndex(), 0);
    ASSERT_TRUE(form()->SeznamAdresaru->SetDirectory(driveA + "/work/sub"));
    form()->hide();

    form()->show();
    EXPECT_EQ(form()->SeznamAdresaru->Directory(), driveA + "/work/sub");
    form()->hide();

    // A folder removed meanwhile: its nearest parent that is still there.
    QDir(driveA + "/work/sub").removeRecursively();
    form()->show();
    EXPECT_EQ(form()->SeznamAdresaru->Directory(), driveA + "/work");
}

// Started from the CD, the working folder is the CD: nobody copies there.
TEST_F(KopirovaniTest, FirstOpeningFromTheCdShowsTheHomeFolder) {
    QDir::setCurrent(cdFile("SYSTEM"));
    start();
    form()->show();
    EXPECT_EQ(form()->SeznamAdresaru->Directory(), QDir::cleanPath(QDir::homePath()));
}

// One drive inside another, as the home folder inside "/": the list walked down from the
// outer root into the inner drive's folder still stands on the outer drive, and picking the
// inner drive moves it there, also after the dialog was closed and opened again.
TEST_F(KopirovaniTest, TheDriveBoxFollowsTheDriveTheListStandsOnNotTheDeepestRoot) {
    const QString inner = driveA + "/home";
    QDir().mkpath(inner + "/petr");
    TKopirovaniForm::setDrivesForTests([this, inner] {
        return QList<platform::Drive>{{driveA, "Disk A"}, {inner, "Domov"}};
    });
    start();
    form()->show();
    ASSERT_EQ(form()->SeznamJednotek->currentIndex(), 0);
    ASSERT_TRUE(form()->SeznamAdresaru->SetDirectory(inner + "/petr"));
    EXPECT_EQ(form()->SeznamAdresaru->Root(), driveA);
    form()->hide();

    form()->show();
    EXPECT_EQ(form()->SeznamJednotek->currentIndex(), 0);
    EXPECT_EQ(form()->SeznamAdresaru->Root(), driveA);
    EXPECT_EQ(form()->SeznamAdresaru->Directory(), inner + "/petr");

    pickDrive(1);
    EXPECT_EQ(form()->SeznamAdresaru->Root(), inner);
    EXPECT_EQ(form()->SeznamAdresaru->Directory(), inner);
    EXPECT_EQ(form()->SeznamJednotek->currentIndex(), 1);
}

TEST_F(KopirovaniTest, AWorkingDirectoryOnNoListedDriveBringsItsOwnVolume) {
    QTemporaryDir elsewhere;
    QDir::setCurrent(elsewhere.path());
    start();
    form()->show();
    ASSERT_EQ(form()->SeznamJednotek->count(), 3);
    EXPECT_EQ(form()->SeznamJednotek->currentIndex(), 2);
    const QString root = QDir::cleanPath(QStorageInfo(elsewhere.path()).rootPath());
    EXPECT_EQ(form()->SeznamJednotek->itemText(2), root);
    EXPECT_EQ(form()->SeznamAdresaru->Directory(), elsewhere.path());
    EXPECT_EQ(form()->SeznamAdresaru->Root(), root);
    // Back to a listed drive and into the folder again: the list follows.
    pickDrive(0);
    EXPECT_EQ(form()->SeznamAdresaru->Directory(), driveA);
}

TEST_F(KopirovaniTest, TheDirectoryListShowsThePathThenTheSubfoldersAndADoubleClickEntersOne) {
    for (const char* name :
         {"x/y/beta", "x/y/Alfa", "x/y/čaj", "x/y/dům", "x/y/.skryta", "x/other"})
        QDir().mkpath(driveA + "/" + QString::fromUtf8(name));
    writeFile(driveA + "/x/y/file.txt", "not a folder");
    QDir::setCurrent(driveA + "/x/y");
    start();
    form()->show();
    auto* list = form()->SeznamAdresaru;
    EXPECT_EQ(itemTexts(list), QStringList({driveA, "x", "y", "Alfa", "beta", "čaj", "dům"}));
    QList<int> levels;
    for (int i = 0; i < list->count(); ++i)
        levels << list->item(i)->data(katalog::TDirectoryListBox::LevelRole).toInt();
    EXPECT_EQ(levels, QList<int>({0, 1, 2, 3, 3, 3, 3}));
    EXPECT_EQ(list->currentItem()->text(), "y");

    // Up to a level of the path, then down into a subfolder.
    QListWidgetItem* x = itemNamed(list, "x");
    ASSERT_NE(x, nullptr);
    Q_EMIT list->itemDoubleClicked(x);
    EXPECT_EQ(list->Directory(), driveA + "/x");
    EXPECT_EQ(itemTexts(list), QStringList({driveA, "x", "other", "y"}));
    list->setCurrentItem(itemNamed(list, "other"));
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(list->Directory(), driveA + "/x/other");
    // Enter in the list is not the dialog's: the dialog stays open.
    EXPECT_TRUE(form()->isVisible());
}

TEST_F(KopirovaniTest, NovyAdresarCreatesTheNamedFoldersAndMovesTheListIntoThem) {
    struct Case {
        const char* typed;
        const char* expected;  // below the starting folder; "" for the folder itself
    };
    const Case cases[] = {
        {"Nová složka", "Nová složka"},
        {"Hry\\Tetris", "Hry/Tetris"},
        {"Hry/Pacman", "Hry/Pacman"},
        {"  Mezery  \\\\ dvojité ", "Mezery/dvojité"},
        {"Hry", "Hry"},  // already there: no error
        {"", ""},
    };
    start();
    form()->show();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        ASSERT_TRUE(form()->SeznamAdresaru->SetDirectory(driveA, driveA));
        form()->DirName->setText(QString::fromUtf8(c.typed));
        form()->NovyAdresarClick();
        const QString expected =
            *c.expected ? driveA + "/" + QString::fromUtf8(c.expected) : driveA;
        EXPECT_TRUE(QFileInfo(expected).isDir());
        EXPECT_EQ(form()->SeznamAdresaru->Directory(), expected);
        EXPECT_EQ(form()->SeznamAdresaru->currentItem()->data(katalog::TDirectoryListBox::PathRole),
                  expected);
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(KopirovaniTest, AnEmptyNameOnlyReadsTheFolderAgain) {
    start();
    form()->show();
    EXPECT_EQ(itemTexts(form()->SeznamAdresaru), QStringList({driveA}));
    QDir().mkpath(driveA + "/made elsewhere");
    form()->DirName->clear();
    form()->NovyAdresarClick();
    EXPECT_EQ(itemTexts(form()->SeznamAdresaru), QStringList({driveA, "made elsewhere"}));
    EXPECT_EQ(form()->SeznamAdresaru->Directory(), driveA);
}

TEST_F(KopirovaniTest, AFolderThatCannotBeCreatedIsReportedAndTheListStays) {
    struct Case {
        QString typed;
        QString reason;
    };
    writeFile(driveA + "/soubor.txt", "a file, not a folder");
    const Case cases[] = {
        {"soubor.txt\\nová", "v cestě je soubor, ne složka"},
        {QString(300, 'x'), "název nebo cesta je příliš dlouhá"},
        {"..\\..\\etc", ""},
    };
    start();
    form()->show();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        messages.clear();
        form()->DirName->setText(c.typed);
        form()->NovyAdresarClick();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].first, platform::MessageKind::ErrorReport);
        EXPECT_TRUE(messages[0].second.contains(c.reason)) << messages[0].second.toStdString();
        EXPECT_EQ(form()->SeznamAdresaru->Directory(), driveA);
    }
    EXPECT_FALSE(QFileInfo::exists(QDir::cleanPath(driveA + "/../../etc")));
}

TEST_F(KopirovaniTest, AReadyDriveMovesTheListToItsRootAndTheWorkingDirectoryStays) {
    QDir().mkpath(driveB + "/inside");
    start();
    form()->show();
    QStringList labels, roots;
    for (int i = 0; i < form()->SeznamJednotek->count(); ++i) {
        labels << form()->SeznamJednotek->itemText(i);
        roots << form()->SeznamJednotek->itemData(i, Qt::ToolTipRole).toString();
    }
    EXPECT_EQ(labels, QStringList({"Disk A", "Disk B"}));
    EXPECT_EQ(roots, QStringList({driveA, driveB}));
    const QString cwd = QDir::currentPath();
    pickDrive(1);
    EXPECT_EQ(errorShown, 0);
    EXPECT_EQ(form()->SeznamAdresaru->Directory(), driveB);
    EXPECT_EQ(itemTexts(form()->SeznamAdresaru), QStringList({driveB, "inside"}));
    EXPECT_EQ(form()->SeznamJednotek->currentIndex(), 1);
    EXPECT_EQ(QDir::currentPath(), cwd);
}

TEST_F(KopirovaniTest, ADriveThatIsNotReadyAsksUntilRetrySucceedsOrTheUserCancels) {
    struct Case {
        const char* name;
        std::vector<const char*> answers;  // "retry", "retry+ready", "cancel", "escape"
        bool switched;
    };
    const Case cases[] = {
        {"cancel", {"cancel"}, false},
        {"escape is cancel", {"escape"}, false},
        {"retry until ready", {"retry", "retry+ready"}, true},
        {"retry, then cancel", {"retry", "cancel"}, false},
    };
    start();
    form()->show();
    bool ready = false;
    TKopirovaniForm::setDriveReadyForTests(
        [&](const QString& root) { return root != driveB || ready; });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ready = false;
        ASSERT_TRUE(form()->SeznamAdresaru->SetDirectory(driveA, driveA));
        form()->SeznamJednotek->setCurrentIndex(0);
        std::deque<std::function<void(katalog::TErrorDialog*)>> actions;
        for (const std::string a : c.answers) {
            actions.push_back([a, &ready](katalog::TErrorDialog* d) {
                EXPECT_FALSE(d->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
                if (a == "escape") {
                    QTest::keyClick(d, Qt::Key_Escape);
                } else if (a == "cancel") {
                    d->Zrusit->Click();
                } else {
                    ready = a == "retry+ready";
                    d->Opakovat->Click();
                }
            });
        }
        answerErrorDialog(actions);
        pickDrive(1);
        EXPECT_EQ(errorShown, int(c.answers.size()));
        EXPECT_EQ(form()->SeznamJednotek->currentIndex(), c.switched ? 1 : 0);
        EXPECT_EQ(form()->SeznamAdresaru->Directory(), c.switched ? driveB : driveA);
        EXPECT_FALSE(errorDialog()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    }
}

TEST_F(KopirovaniTest, ZrusitCloseAndEscapeEndTheDialogWithCancel) {
    start();
    for (const char* how : {"Zrusit", "Close", "Escape"}) {
        SCOPED_TRACE(how);
        QTimer::singleShot(0, form(), [this, how] {
            if (QString(how) == "Escape")
                QTest::keyClick(form(), Qt::Key_Escape);
            else
                form()->findChild<katalog::TEzRgnBtn*>(how)->Click();
        });
        EXPECT_EQ(form()->exec(), QDialog::Rejected);
    }
}

class KopirovaniCopyTest : public KopirovaniTest {
protected:
    void SetUp() override {
        KopirovaniTest::SetUp();
        writeFile(cdFile("PROGRAMY/Hra/hra.exe"), "new exe");
        writeFile(cdFile("PROGRAMY/Hra/data/level1.dat"), "level");
        katalog::setCopyQuestionForTests([this](QWidget*, const platform::CopyError& e) {
            questions << platform::describeCopyError(e);
            return answers.empty() ? CopyDecision::Cancel : answers.takeFirst();
        });
        katalog::setCollisionQuestionForTests([](const QString&, const QStringList& taken) {
            ADD_FAILURE() << "asked about " << taken.join(' ').toStdString();
            return katalog::Collisions::Cancel;
        });
        katalog::setCopyShownHookForTests([this](katalog::TCopyProgress* p) {
            progress = p;
            const QCursor* cursor = QGuiApplication::overrideCursor();
            cursorDuringCopy = cursor ? cursor->shape() : Qt::ArrowCursor;
        });
    }

    int copyNow() {
        form()->show();
        form()->KopirujClick();
        return form()->result();
    }

    QStringList questions;
    QList<CopyDecision> answers;
    katalog::TCopyProgress* progress = nullptr;
    Qt::CursorShape cursorDuringCopy = Qt::ArrowCursor;
};

// Over an earlier copy the user is asked once, before anything is written: replace, keep
// both, or cancel.
TEST_F(KopirovaniCopyTest, KopirujAsksOnceWhatToDoWithTakenNamesAndDoesIt) {
    struct Case {
        katalog::Collisions answer;
        QByteArray exe, renamed;  // hra.exe and hra (2).exe afterwards
        QString level;            // where the program's data folder went
    };
    const Case cases[] = {
        {katalog::Collisions::KeepBoth, "old exe", "new exe", "data (2)/level1.dat"},
        {katalog::Collisions::Replace, "new exe", "", "data/level1.dat"},
        {katalog::Collisions::Cancel, "old exe", "", ""},
    };
    katalog::shell().CopySource = "programy\\HRA";
    start();
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.answer));
        QDir(driveB).removeRecursively();
        writeFile(driveB + "/hra.exe", "old exe");
        writeFile(driveB + "/data/mine.txt", "mine");
        progress = nullptr;
        QStringList asked;
        katalog::setCollisionQuestionForTests([&](const QString& destination, const QStringList& taken) {
            EXPECT_EQ(destination, driveB);
            EXPECT_TRUE(QDir(driveB + "/data").entryList(QDir::Files) == QStringList{"mine.txt"})
                << "written before the question";
            asked << taken;
            return c.answer;
        });
        form()->show();
        ASSERT_TRUE(form()->SeznamAdresaru->SetDirectory(driveB, driveB));
        form()->KopirujClick();
        const bool copied = !c.level.isEmpty();
        EXPECT_EQ(asked, QStringList({"data", "hra.exe"}));
        EXPECT_EQ(readFile(driveB + "/hra.exe"), c.exe);
        EXPECT_EQ(readFile(driveB + "/hra (2).exe"), c.renamed);
        EXPECT_EQ(readFile(driveB + "/data/mine.txt"), "mine");
        if (copied) {
            EXPECT_EQ(readFile(driveB + "/" + c.level), "level");
        }
        EXPECT_FALSE(QFileInfo::exists(driveB + "/Hra"));
        // Cancelled, the dialog stays for another folder.
        EXPECT_EQ(form()->isVisible(), !copied);
        EXPECT_EQ(progress != nullptr, copied);
        EXPECT_TRUE(questions.isEmpty());
        EXPECT_TRUE(messages.empty());
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
        form()->hide();
    }
    // Nothing taken: nobody is asked.
    QDir(driveB).removeRecursively();
    QDir().mkpath(driveB);
    katalog::setCollisionQuestionForTests([](const QString&, const QStringList&) {
        ADD_FAILURE() << "asked without a taken name";
        return katalog::Collisions::Cancel;
    });
    EXPECT_EQ(copyNow(), QDialog::Accepted);
    EXPECT_EQ(readFile(driveB + "/hra.exe"), "new exe");
    EXPECT_EQ(cursorDuringCopy, Qt::WaitCursor);
}

TEST_F(KopirovaniCopyTest, WithoutAProgramFolderNothingIsCopied) {
    struct Case {
        QString source;
        QString message;
    };
    writeFile(cdFile("README.TXT"), "the whole CD must not be copied");
    const Case cases[] = {
        {"", "U vybraného programu není uvedena složka ke kopírování."},
        {"\\", "U vybraného programu není uvedena složka ke kopírování."},
        {"PROGRAMY\\Chybi", "Složka programu „PROGRAMY\\Chybi“ na CD chybí."},
        {"..\\..\\etc", "Složka programu „..\\..\\etc“ na CD chybí."},
    };
    start();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source.toStdString());
        messages.clear();
        katalog::shell().CopySource = c.source;
        form()->show();
        ASSERT_TRUE(form()->SeznamAdresaru->SetDirectory(driveB, driveB));
        EXPECT_EQ(copyNow(), QDialog::Rejected);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].second, c.message);
        EXPECT_TRUE(QDir(driveB).isEmpty());
        EXPECT_EQ(progress, nullptr);
    }
}

TEST_F(KopirovaniCopyTest, LinkLoopsInTheProgramFolderAreCopiedAsLinksAndTheCopyEnds) {
    writeFile(cdFile("PROGRAMY/Smycka/a.txt"), "a");
    writeFile(cdFile("PROGRAMY/Smycka/sub/b.txt"), "b");
    const std::pair<const char*, const char*> links[] = {
        {"self", "."}, {"sub/up", ".."}, {"loop1", "loop2"}, {"loop2", "loop1"}, {"root", "/"}};
    for (const auto& [name, target] : links)
        ASSERT_TRUE(QFile::link(target, cdFile("PROGRAMY/Smycka/") + name)) << name;
    katalog::shell().CopySource = "PROGRAMY\\Smycka";
    start();
    form()->show();
    ASSERT_TRUE(form()->SeznamAdresaru->SetDirectory(driveB, driveB));
    EXPECT_EQ(copyNow(), QDialog::Accepted);
    EXPECT_EQ(readFile(driveB + "/a.txt"), "a");
    EXPECT_EQ(readFile(driveB + "/sub/b.txt"), "b");
    for (const auto& [name, target] : links)
        EXPECT_EQ(std::filesystem::read_symlink((driveB + "/" + name).toStdString()).string(), target) << name;
    EXPECT_TRUE(questions.isEmpty());
    EXPECT_TRUE(messages.empty());
}

TEST_F(KopirovaniCopyTest, CancelInTheProgressWindowStopsInTheMiddleOfAFile) {
    writeFile(cdFile("PROGRAMY/Velka/a.txt"), "first");
    writeFile(cdFile("PROGRAMY/Velka/b.bin"), randomBytes(20 * 1024 * 1024));
    writeFile(cdFile("PROGRAMY/Velka/c.txt"), "last");
    katalog::shell().CopySource = "PROGRAMY\\Velka";
    // The copying thread waits after its first chunk of b.bin until Storno was pressed.
    QSemaphore pressed;
    bool waited = false;
    bool cancelShown = false;
    katalog::setCopyWorkerHookForTests([&](qint64 done) {
        if (waited || done < 1024 * 1024)
            return;
        waited = true;
        QMetaObject::invokeMethod(
            progress,
            [&] {
                QTest::mouseClick(progress->Storno, Qt::LeftButton);
                cancelShown = progress->cancelRequested() && !progress->Storno->isEnabled();
                pressed.release();
            },
            Qt::QueuedConnection);
        pressed.acquire();
    });
    start();
    form()->show();
    ASSERT_TRUE(form()->SeznamAdresaru->SetDirectory(driveB, driveB));
    EXPECT_EQ(copyNow(), QDialog::Accepted);
    EXPECT_TRUE(waited);
    EXPECT_TRUE(cancelShown);
    EXPECT_EQ(readFile(driveB + "/a.txt"), "first");
    EXPECT_EQ(QDir(driveB).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList({"a.txt"}));
}

TEST_F(KopirovaniCopyTest, ACopyErrorIsAskedAndTheAnswerDecides) {
    struct Case {
        const char* name;
        QList<CopyDecision> answers;
        int asked;
        bool laterCopied;
    };
    const Case cases[] = {
        {"retry, then skip", {CopyDecision::Retry, CopyDecision::Skip}, 2, true},
        {"cancel", {CopyDecision::Cancel}, 1, false},
    };
    writeFile(cdFile("PROGRAMY/Plna/a.txt"), "small");
    writeFile(cdFile("PROGRAMY/Plna/b.bin"), randomBytes(1024 * 1024));
    writeFile(cdFile("PROGRAMY/Plna/c.txt"), "tail");
    katalog::shell().CopySource = "PROGRAMY/Plna";
    start();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(driveB).removeRecursively();
        QDir().mkpath(driveB);
        questions.clear();
        answers = c.answers;
        form()->show();
        ASSERT_TRUE(form()->SeznamAdresaru->SetDirectory(driveB, driveB));
        // A full disk, as a file-size limit that root cannot pass either.
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit limited = saved;
        limited.rlim_cur = 256 * 1024;
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &limited);
        const int result = copyNow();
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previous);

        EXPECT_EQ(result, QDialog::Accepted);
        ASSERT_EQ(questions.size(), c.asked);
        for (const QString& q : questions)
            EXPECT_EQ(q, QStringLiteral(
                             "Soubor „%1“ nelze zapsat do složky „%2“: soubor je pro cílový disk "
                             "příliš velký.")
                             .arg(cdFile("PROGRAMY/Plna/b.bin"), driveB));
        EXPECT_EQ(readFile(driveB + "/a.txt"), "small");
        EXPECT_FALSE(QFileInfo::exists(driveB + "/b.bin"));
        EXPECT_EQ(QFileInfo::exists(driveB + "/c.txt"), c.laterCopied);
        EXPECT_EQ(QDir(driveB).entryList(QDir::Hidden | QDir::Files).filter(".katalog-"),
                  QStringList());
    }
}

// The question's buttons map to the answers; Escape cancels.
TEST(CopyQuestion, ButtonsGiveRetrySkipOrCancel) {
    struct Case {
        platform::CopyStep step;
        const char* press;  // button text, or "Escape"
        CopyDecision expected;
        bool skipOffered;
    };
    const Case cases[] = {
        {platform::CopyStep::ReadFile, "Opakovat", CopyDecision::Retry, true},
        {platform::CopyStep::ReadFile, "Přeskočit", CopyDecision::Skip, true},
        {platform::CopyStep::WriteFile, "Storno", CopyDecision::Cancel, true},
        {platform::CopyStep::WriteFile, "Escape", CopyDecision::Cancel, true},
        {platform::CopyStep::Destination, "Opakovat", CopyDecision::Retry, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.press);
        bool skipSeen = false;
        QString text;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            text = box->text();
            for (QAbstractButton* b : box->buttons())
                skipSeen = skipSeen || b->text() == "Přeskočit";
            if (QString::fromUtf8(c.press) == "Escape") {
                QTest::keyClick(box, Qt::Key_Escape);
                return;
            }
            for (QAbstractButton* b : box->buttons())
                if (b->text() == QString::fromUtf8(c.press))
                    b->click();
        });
        const platform::CopyError error{c.step, "/cd/hra.exe", "/disk", EACCES};
        EXPECT_EQ(katalog::askCopyError(nullptr, error), c.expected);
        EXPECT_EQ(skipSeen, c.skipOffered);
        EXPECT_EQ(text, platform::describeCopyError(error));
    }
}

}  // namespace

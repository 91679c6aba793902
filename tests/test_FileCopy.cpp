#include "platform/FileCopy.h"

#include "tests/support/TestCd.h"
#include "tests/support/Unprivileged.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <csignal>
#include <map>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using platform::CopyDecision;
using platform::CopyError;
using platform::CopyStep;
using testing_support::readFile;
using testing_support::writeFile;

namespace {

constexpr uid_t Nobody = 65534;

// For a child process: writes past bytes fail with EFBIG, as on a full disk, even for root.
void limitFileSize(rlim_t bytes) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
}

QByteArray randomBytes(qsizetype n) {
    QList<quint32> words((n + 3) / 4);
    QRandomGenerator(42).fillRange(words.data(), words.size());
    return QByteArray(reinterpret_cast<const char*>(words.constData()), n);
}

// Every entry below root: "name" -> contents, "name/" for a folder, "name@" -> link text.
std::map<QString, QByteArray> treeOf(const QString& root) {
    std::map<QString, QByteArray> tree;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info(path);
        const QString rel = QDir(root).relativeFilePath(path);
        if (info.isSymLink()) {
            char buffer[4096];
            const ssize_t n =
                ::readlink(QFile::encodeName(path).constData(), buffer, sizeof buffer);
            tree[rel + "@"] = n < 0 ? QByteArray() : QByteArray(buffer, n);
        } else if (info.isDir()) {
            tree[rel + "/"] = {};
        } else {
            tree[rel] = readFile(path);
        }
    }
    return tree;
}

bool hasTemporaries(const QString& root) {
    for (const auto& [name, value] : treeOf(root))
        if (QFileInfo(name).fileName().startsWith(".katalog-"))
            return true;
    return false;
}

void chownTree(const QString& root, uid_t uid) {
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    ASSERT_EQ(::lchown(QFile::encodeName(root).constData(), uid, uid), 0);
    while (it.hasNext())
        ASSERT_EQ(::lchown(QFile::encodeName(it.next()).constData(), uid, uid), 0);
}

void setMode(const QString& path, mode_t mode) {
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0) << path.toStdString();
}

mode_t modeOf(const QString& path) {
    struct stat st{};
    ::lstat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 07777;
}

// What a copy saw, written by a child process and read back by the test.
QString logLine(const CopyError& e) {
    return QStringLiteral("%1 %2 %3")
        .arg(int(e.step))
        .arg(QFileInfo(e.source).fileName())
        .arg(e.error);
}

// Every case runs with unnamed temporaries (where the filesystem has them) and with named ones.
class FileCopyTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        // Children that gave up root must reach the trees.
        setMode(dir_.path(), 0777);
        src = dir_.path() + "/src";
        dst = dir_.path() + "/dst";
        log = dir_.path() + "/log";
        QDir().mkpath(src);
        QDir().mkpath(dst);
        setMode(dst, 0777);
    }
    void TearDown() override {
        // Give back what the cases took away, so that the folder can be removed.
        QDirIterator it(dir_.path(), QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            ::chmod(QFile::encodeName(it.next()).constData(), 0777);
    }

    platform::CopyOptions options() const {
        platform::CopyOptions o;
        o.unnamedTemporaries = GetParam();
        o.replaceExisting = replacing;
        return o;
    }

    platform::CopyReport copy(platform::CopyOptions options) {
        lastDone = 0;
        platform::CopyCallbacks cb;
        cb.error = [this](const CopyError& e) {
            errors.push_back(e);
            return answers.empty() ? CopyDecision::Skip : answers.takeFirst();
        };
        cb.progress = [this](qint64 done, qint64 total, const QString&) {
            EXPECT_GE(done, lastDone);
            EXPECT_LE(done, total);
            lastDone = done;
            lastTotal = total;
        };
        return platform::copyFolderContents(src, dst, cb, options);
    }
    platform::CopyReport copy() { return copy(options()); }

    // Runs a copy in a child process (unprivileged, or with a resource limit set by
    // prepare) and reads back the errors it met, one line each, and its report.
    QStringList copyInChild(bool unprivileged, const std::function<void()>& prepare = {}) {
        QFile::remove(log);
        const auto body = [&] {
            if (prepare)
                prepare();
            QStringList lines;
            platform::CopyCallbacks cb;
            cb.error = [&](const CopyError& e) {
                lines << logLine(e);
                return answers.empty() ? CopyDecision::Skip : answers.takeFirst();
            };
            const auto r = platform::copyFolderContents(src, dst, cb, options());
            lines << QStringLiteral("report files=%1 folders=%2 skipped=%3 cancelled=%4")
                         .arg(r.files)
                         .arg(r.folders)
                         .arg(r.skipped)
                         .arg(r.cancelled);
            QFile f(log);
            return f.open(QIODevice::WriteOnly) && f.write(lines.join('\n').toUtf8()) > 0;
        };
        bool ran = false;
        if (unprivileged) {
            ran = testing_support::runUnprivileged(body);
        } else {
            const pid_t pid = fork();
            if (pid == 0)
                _exit(body() ? 0 : 1);
            int status = 0;
            ran = pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
                  WEXITSTATUS(status) == 0;
        }
        EXPECT_TRUE(ran);
        return QString::fromUtf8(readFile(log)).split('\n');
    }

    QTemporaryDir dir_;
    QString src, dst, log;
    std::vector<CopyError> errors;
    QList<CopyDecision> answers;
    bool replacing = false;
    qint64 lastDone = 0;
    qint64 lastTotal = -1;
};

TEST_P(FileCopyTest, CopiesTheFolderContentsRecursivelyInChunks) {
    const QByteArray big = randomBytes(3 * 1024 * 1024 + 17);
    writeFile(src + "/readme.txt", "hello");
    writeFile(src + "/data/big.bin", big);
    writeFile(src + "/data/deeper/end.txt", "end");
    writeFile(src + "/data/empty.txt", "");
    QDir().mkpath(src + "/empty");
    ::utimensat(AT_FDCWD, QFile::encodeName(src + "/readme.txt").constData(),
                std::array<timespec, 2>{timespec{0, UTIME_OMIT}, timespec{1000000000, 0}}.data(),
                0);

    platform::CopyOptions o = options();
    o.chunkBytes = 256 * 1024;
    const auto r = copy(o);

    const std::map<QString, QByteArray> expected{{"readme.txt", "hello"},
                                                 {"data/", {}},
                                                 {"data/big.bin", big},
                                                 {"data/deeper/", {}},
                                                 {"data/deeper/end.txt", "end"},
                                                 {"data/empty.txt", ""},
                                                 {"empty/", {}}};
    EXPECT_EQ(treeOf(dst), expected);
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(r.files, 4);
    EXPECT_EQ(r.folders, 3);
    EXPECT_EQ(r.bytes, big.size() + 8);
    EXPECT_FALSE(r.cancelled);
    EXPECT_EQ(lastTotal, big.size() + 8);
    EXPECT_EQ(lastDone, lastTotal);
    EXPECT_EQ(QFileInfo(dst + "/readme.txt").lastModified().toSecsSinceEpoch(), 1000000000);
}

TEST_P(FileCopyTest, CollidingEntriesGetFreeNamesAndExistingOnesStayUntouched) {
    writeFile(src + "/a.txt", "new a");
    writeFile(src + "/sub/inner.txt", "new inner");
    writeFile(src + "/other.txt", "other");
    writeFile(dst + "/a.txt", "old a");
    writeFile(dst + "/a (2).txt", "old a2");
    writeFile(dst + "/sub/mine.txt", "mine");

    auto r = copy();
    const std::map<QString, QByteArray> expected{{"a.txt", "old a"},
                                                 {"a (2).txt", "old a2"},
                                                 {"a (3).txt", "new a"},
                                                 {"sub/", {}},
                                                 {"sub/mine.txt", "mine"},
                                                 {"sub (2)/", {}},
                                                 {"sub (2)/inner.txt", "new inner"},
                                                 {"other.txt", "other"}};
    EXPECT_EQ(treeOf(dst), expected);
    EXPECT_TRUE(errors.empty());
    ASSERT_EQ(r.renamed.size(), 2);
    EXPECT_EQ(r.renamed[0], std::make_pair(dst + "/a.txt", dst + "/a (3).txt"));
    EXPECT_EQ(r.renamed[1], std::make_pair(dst + "/sub", dst + "/sub (2)"));

    // Again: every entry collides now, nothing is replaced.
    r = copy();
    EXPECT_EQ(r.files, 3);
    EXPECT_EQ(readFile(dst + "/a.txt"), "old a");
    EXPECT_EQ(readFile(dst + "/a (4).txt"), "new a");
    EXPECT_EQ(readFile(dst + "/other (2).txt"), "other");
    EXPECT_EQ(readFile(dst + "/sub (3)/inner.txt"), "new inner");
    EXPECT_FALSE(QFileInfo::exists(dst + "/sub/inner.txt"));
}

TEST_P(FileCopyTest, WithoutRenamingATakenNameIsAnErrorAndNothingIsReplaced) {
    writeFile(src + "/a.txt", "new");
    writeFile(dst + "/a.txt", "old");
    platform::CopyOptions o = options();
    o.renameOnCollision = false;
    const auto r = copy(o);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].step, CopyStep::NameTaken);
    EXPECT_EQ(readFile(dst + "/a.txt"), "old");
    EXPECT_EQ(r.skipped, 1);
    EXPECT_FALSE(hasTemporaries(dst));
}

// Copying over an earlier copy of the program: it becomes the new copy, whole.
TEST_P(FileCopyTest, ReplacingPutsWholeFilesInPlaceMergesFoldersAndKeepsAnotherKindBeside) {
    writeFile(src + "/kresleni.htm", "new page");
    writeFile(src + "/data/level.dat", "new level");
    writeFile(src + "/data/extra.dat", "extra");
    writeFile(src + "/notes", "a file where a folder is");
    QFile::link("kresleni.htm", src + "/index.htm");
    writeFile(dst + "/kresleni.htm", "old page");
    writeFile(dst + "/data/level.dat", "old level");
    writeFile(dst + "/data/mine.txt", "mine");
    writeFile(dst + "/notes/keep.txt", "keep");
    writeFile(dst + "/index.htm", "an old file where the link goes");

    EXPECT_EQ(platform::takenNames(src, dst),
              QStringList({"data", "index.htm", "kresleni.htm", "notes"}));
    replacing = true;
    const auto r = copy();
    const std::map<QString, QByteArray> expected{{"kresleni.htm", "new page"},
                                                 {"index.htm@", "kresleni.htm"},
                                                 {"data/", {}},
                                                 {"data/level.dat", "new level"},
                                                 {"data/extra.dat", "extra"},
                                                 {"data/mine.txt", "mine"},
                                                 {"notes/", {}},
                                                 {"notes/keep.txt", "keep"},
                                                 {"notes (2)", "a file where a folder is"}};
    EXPECT_EQ(treeOf(dst), expected);
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(r.replaced, QStringList({dst + "/data/level.dat", dst + "/index.htm", dst + "/kresleni.htm"}));
    EXPECT_TRUE(platform::takenNames(src, dst + "/nowhere").isEmpty());
}

// Cancelled in the middle of a file, or failing for a full disk: the old file stays as it
// was, never half old and half new, and no temporary is left.
TEST_P(FileCopyTest, AReplacementThatStopsHalfWayLeavesTheOldFileWhole) {
    const QByteArray old = randomBytes(2 * 1024 * 1024);
    writeFile(src + "/a.txt", "new a");
    writeFile(src + "/b.bin", randomBytes(4 * 1024 * 1024 + 1));
    writeFile(dst + "/a.txt", "old a");
    writeFile(dst + "/b.bin", old);
    replacing = true;
    platform::CopyOptions o = options();
    o.chunkBytes = 64 * 1024;
    platform::CopyCallbacks cb;
    qint64 seen = 0;
    cb.progress = [&](qint64 done, qint64, const QString&) { seen = done; };
    cb.cancelled = [&] { return seen > 1024 * 1024; };
    EXPECT_TRUE(platform::copyFolderContents(src, dst, cb, o).cancelled);
    EXPECT_EQ(readFile(dst + "/a.txt"), "new a");
    EXPECT_EQ(readFile(dst + "/b.bin"), old);
    EXPECT_FALSE(hasTemporaries(dst));

    const QStringList lines = copyInChild(false, [] { limitFileSize(1024 * 1024); });
    ASSERT_GE(lines.size(), 2) << lines.join('\n').toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("%1 b.bin %2").arg(int(CopyStep::WriteFile)).arg(EFBIG));
    EXPECT_EQ(readFile(dst + "/b.bin"), old);
    EXPECT_FALSE(hasTemporaries(dst));
}

TEST(CollisionName, NumbersTheNameBeforeItsExtension) {
    struct Case {
        QByteArray name;
        int n;
        bool folder;
        QByteArray expected;
    };
    const Case cases[] = {
        {"readme.txt", 2, false, "readme (2).txt"},
        {"archive.tar.gz", 3, false, "archive.tar (3).gz"},
        {".profile", 2, false, ".profile (2)"},
        {"noext", 10, false, "noext (10)"},
        {"data.v1", 2, true, "data.v1 (2)"},
        {"trailing.", 2, false, "trailing (2)."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::collisionName(c.name, c.n, c.folder), c.expected) << c.name.constData();
}

TEST(CollisionName, StaysWithinTheNameLimitWithoutCuttingACharacter) {
    const QByteArray ascii = QByteArray(251, 'x') + ".txt";
    const QByteArray a = platform::collisionName(ascii, 2, false);
    EXPECT_EQ(a.size(), 255);
    EXPECT_TRUE(a.endsWith("x (2).txt"));

    const QByteArray czech = QString(127, QChar(0x010D)).toUtf8();  // 254 bytes of "č"
    for (int n : {2, 10, 100}) {
        const QByteArray c = platform::collisionName(czech, n, true);
        EXPECT_LE(c.size(), 255);
        EXPECT_EQ(QString::fromUtf8(c).toUtf8(), c) << "cut inside a character";
        EXPECT_FALSE(QString::fromUtf8(c).contains(QChar::ReplacementCharacter));
        EXPECT_TRUE(c.endsWith(" (" + QByteArray::number(n) + ")"));
    }
}

TEST_P(FileCopyTest, CancelInTheMiddleLeavesNoHalfWrittenFile) {
    writeFile(src + "/a.txt", "first");
    writeFile(src + "/b.bin", randomBytes(4 * 1024 * 1024));
    writeFile(src + "/c.txt", "last");
    platform::CopyCallbacks cb;
    qint64 seen = 0;
    cb.progress = [&](qint64 done, qint64, const QString&) { seen = done; };
    cb.cancelled = [&] { return seen > 1024 * 1024; };
    platform::CopyOptions o = options();
    o.chunkBytes = 64 * 1024;
    const auto r = platform::copyFolderContents(src, dst, cb, o);

    EXPECT_TRUE(r.cancelled);
    EXPECT_GT(seen, 1024 * 1024);
    EXPECT_LT(seen, 4 * 1024 * 1024);
    const std::map<QString, QByteArray> expected{{"a.txt", "first"}};
    EXPECT_EQ(treeOf(dst), expected);
}

TEST_P(FileCopyTest, CopiesOfAReadOnlyTreeAreWritableByTheirOwner) {
    writeFile(src + "/setup.sh", "#!/bin/sh\n");
    writeFile(src + "/doc/readme.txt", "read me");
    writeFile(src + "/doc/more/notes.txt", "notes");
    setMode(src + "/setup.sh", 0500);
    setMode(src + "/doc/readme.txt", 0400);
    setMode(src + "/doc/more/notes.txt", 0444);
    setMode(src + "/doc/more", 0555);
    setMode(src + "/doc", 0500);
    setMode(src, 0500);
    // As on a CD: everything belongs to the user who copies, nothing may be written.
    chownTree(src, Nobody);
    chownTree(dst, Nobody);

    // The copy runs, and writes into what it made, as that user.
    const bool ok = testing_support::runUnprivileged([&] {
        const auto r = platform::copyFolderContents(src, dst, {}, options());
        QFile appended(dst + "/doc/readme.txt");
        return r.files == 3 && r.skipped == 0 && appended.open(QIODevice::Append) &&
               appended.write("!") == 1 &&
               QFile(dst + "/doc/more/new.txt").open(QIODevice::WriteOnly);
    });
    EXPECT_TRUE(ok);
    EXPECT_EQ(readFile(dst + "/doc/readme.txt"), "read me!");
    EXPECT_EQ(modeOf(dst + "/setup.sh") & 0700, 0700u);  // still runnable
    EXPECT_EQ(modeOf(dst + "/doc/more/notes.txt") & 0600, 0600u);
    EXPECT_EQ(modeOf(dst + "/doc") & 0700, 0700u);
}

// An error is offered with the entry it concerns; the answer decides what follows.
TEST_P(FileCopyTest, AnUnreadableSourceFileIsOfferedAndTheAnswerDecides) {
    struct Case {
        const char* name;
        QList<CopyDecision> answers;
        int offered;
        bool laterCopied;
        bool cancelled;
    };
    const Case cases[] = {
        {"skip", {CopyDecision::Skip}, 1, true, false},
        {"cancel", {CopyDecision::Cancel}, 1, false, true},
        {"retry, then skip", {CopyDecision::Retry, CopyDecision::Skip}, 2, true, false},
    };
    writeFile(src + "/a.txt", "a");
    writeFile(src + "/b-locked.txt", "secret");
    writeFile(src + "/c.txt", "c");
    setMode(src + "/b-locked.txt", 0000);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(dst).removeRecursively();
        QDir().mkpath(dst);
        setMode(dst, 0777);
        answers = c.answers;
        const QStringList lines = copyInChild(true);
        ASSERT_EQ(lines.size(), c.offered + 1) << lines.join('\n').toStdString();
        for (int i = 0; i < c.offered; ++i)
            EXPECT_EQ(
                lines[i],
                QStringLiteral("%1 b-locked.txt %2").arg(int(CopyStep::ReadFile)).arg(EACCES));
        EXPECT_THAT(lines.last().toStdString(),
                    ::testing::HasSubstr(c.cancelled ? "cancelled=1" : "skipped=1"));
        EXPECT_EQ(readFile(dst + "/a.txt"), "a");
        EXPECT_FALSE(QFileInfo::exists(dst + "/b-locked.txt"));
        EXPECT_EQ(QFileInfo::exists(dst + "/c.txt"), c.laterCopied);
        EXPECT_FALSE(hasTemporaries(dst));
    }
}

TEST_P(FileCopyTest, AnUnreadableFolderIsOfferedAndSkippedWhole) {
    writeFile(src + "/a.txt", "a");
    writeFile(src + "/locked/inner.txt", "inner");
    writeFile(src + "/z.txt", "z");
    setMode(src + "/locked", 0000);
    const QStringList lines = copyInChild(true);
    ASSERT_EQ(lines.size(), 2) << lines.join('\n').toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("%1 locked %2").arg(int(CopyStep::ReadFolder)).arg(EACCES));
    EXPECT_EQ(lines[1], "report files=2 folders=0 skipped=1 cancelled=0");
    const std::map<QString, QByteArray> expected{{"a.txt", "a"}, {"z.txt", "z"}};
    EXPECT_EQ(treeOf(dst), expected);
}

TEST_P(FileCopyTest, AReadOnlyDestinationOffersEveryEntry) {
    writeFile(src + "/a.txt", "a");
    writeFile(src + "/sub/b.txt", "b");
    setMode(dst, 0555);
    const QStringList lines = copyInChild(true);
    EXPECT_EQ(lines,
              QStringList({QStringLiteral("%1 a.txt %2").arg(int(CopyStep::WriteFile)).arg(EACCES),
                           QStringLiteral("%1 sub %2").arg(int(CopyStep::CreateFolder)).arg(EACCES),
                           "report files=0 folders=0 skipped=2 cancelled=0"}));
    EXPECT_TRUE(treeOf(dst).empty());
}

TEST_P(FileCopyTest, AFullDiskIsOfferedAndLeavesNoPartialFile) {
    writeFile(src + "/a.txt", "small");
    writeFile(src + "/b.bin", randomBytes(1024 * 1024));
    writeFile(src + "/c.txt", "tail");
    // A file-size limit stands in for a full disk; even root cannot write past it.
    const QStringList lines = copyInChild(false, [] { limitFileSize(256 * 1024); });
    ASSERT_EQ(lines.size(), 2) << lines.join('\n').toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("%1 b.bin %2").arg(int(CopyStep::WriteFile)).arg(EFBIG));
    const std::map<QString, QByteArray> expected{{"a.txt", "small"}, {"c.txt", "tail"}};
    EXPECT_EQ(treeOf(dst), expected);
}

TEST_P(FileCopyTest, SymbolicLinksAreCopiedAsLinksAndNeverFollowed) {
    writeFile(src + "/sub/file.txt", "inside");
    ASSERT_EQ(::symlink("sub", QFile::encodeName(src + "/to-sub").constData()), 0);
    ASSERT_EQ(::symlink("../../outside/secret", QFile::encodeName(src + "/sub/up").constData()), 0);
    ASSERT_EQ(::symlink("/etc/passwd", QFile::encodeName(src + "/absolute").constData()), 0);
    ASSERT_EQ(::symlink("loop", QFile::encodeName(src + "/loop").constData()), 0);
    const auto r = copy();
    const std::map<QString, QByteArray> expected{
        {"sub/", {}},       {"sub/file.txt", "inside"},   {"sub/up@", "../../outside/secret"},
        {"to-sub@", "sub"}, {"absolute@", "/etc/passwd"}, {"loop@", "loop"}};
    EXPECT_EQ(treeOf(dst), expected);
    EXPECT_EQ(r.links, 4);
    EXPECT_TRUE(errors.empty());
}

TEST_P(FileCopyTest, PipesAreLeftOutWithoutWaiting) {
    writeFile(src + "/a.txt", "a");
    ASSERT_EQ(::mkfifo(QFile::encodeName(src + "/pipe").constData(), 0644), 0);
    const auto r = copy();
    const std::map<QString, QByteArray> expected{{"a.txt", "a"}};
    EXPECT_EQ(treeOf(dst), expected);
    EXPECT_EQ(r.specialSkipped, 1);
}

TEST_P(FileCopyTest, ADestinationInsideTheSourceIsRefused) {
    writeFile(src + "/a.txt", "a");
    QDir().mkpath(src + "/sub/target");
    dst = src + "/sub/target";
    const auto r = copy();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].step, CopyStep::Destination);
    EXPECT_EQ(platform::describeCopyError(errors[0]),
              QStringLiteral("Cílová složka „%1“ leží uvnitř kopírované složky.").arg(dst));
    EXPECT_TRUE(treeOf(dst).empty());
    EXPECT_EQ(r.files, 0);
}

TEST_P(FileCopyTest, AMissingSourceOrDestinationIsReported) {
    QDir(src).removeRecursively();
    copy();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].step, CopyStep::ReadFolder);
    errors.clear();
    QDir().mkpath(src);
    QDir(dst).removeRecursively();
    copy();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].step, CopyStep::Destination);
    EXPECT_EQ(
        platform::describeCopyError(errors[0]),
        QStringLiteral("Do složky „%1“ nelze kopírovat: soubor nebo složka neexistuje.").arg(dst));
}

INSTANTIATE_TEST_SUITE_P(Temporaries, FileCopyTest, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "Unnamed" : "Named";
                         });

TEST(MakeFolderPath, CreatesEveryMissingLevel) {
    QTemporaryDir dir;
    EXPECT_EQ(platform::makeFolderPath(dir.path() + "/a/b/c"), 0);
    EXPECT_TRUE(QFileInfo(dir.path() + "/a/b/c").isDir());
    EXPECT_EQ(platform::makeFolderPath(dir.path() + "/a/b"), 0);  // existing: no error
    writeFile(dir.path() + "/file", "x");
    EXPECT_EQ(platform::makeFolderPath(dir.path() + "/file/d"), ENOTDIR);
}

}  // namespace

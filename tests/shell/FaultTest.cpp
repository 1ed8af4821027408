// What the carer sees when the disk or the files let the program down: a full disk, a folder
// that cannot be written, a board that cannot be read, a huge board file. Each time the
// program says so, the file already on disk is left whole and the board on screen is kept.
#include "board/TOnglet.h"
#include "shell/Startup.h"
#include "shell/TMainFrame.h"
#include "board/BoardView.h"
#include "editing/BoardHistory.h"
#include "editing/CreationPanel.h"
#include "execution/ScanSession.h"
#include "execution/SwitchKeyFilter.h"
#include "support/MainFrameHarness.h"
#include "support/TestRegistry.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {

QByteArray readAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeAll(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.flush();
}

// Every tab with its texts, in order: what the carer sees of the board.
QList<QPair<QString, QStringList>> boardOnScreen(TMainFrame& frame) {
  QList<QPair<QString, QStringList>> board;
  for (TOnglet* page : frame.view().pages()) {
    page->JoinPieces();
    board << qMakePair(page->caption(), page->GetTexts());
    page->SplitAllTexts();
    page->ArrangeButtons();
  }
  return board;
}

// A small file system of its own mounted on a folder, so that "the disk is full" and "the
// disk is read-only" can be made real even for root, who ignores permissions. Needs root and
// a kernel that lets this process mount; otherwise `ok` stays false and the test skips.
class TinyDisk {
public:
  TinyDisk(const QString& where, int kib) : FWhere(QFile::encodeName(where)) {
    if (geteuid() != 0)
      return;
    const QByteArray options = "size=" + QByteArray::number(kib) + "k,mode=0755";
    ok = ::mount("tmpfs", FWhere.constData(), "tmpfs", MS_NOSUID | MS_NODEV, options.constData()) ==
         0;
  }
  ~TinyDisk() {
    if (ok)
      ::umount2(FWhere.constData(), MNT_DETACH);
  }
  bool makeReadOnly() {
    return ::mount("tmpfs", FWhere.constData(), "tmpfs",
                   MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV, nullptr) == 0;
  }
  // Fills what is left of the disk, so that the next write runs out of space. Plain system
  // calls: the error must come from this write, not from a buffer flushed later.
  bool fill() {
    const QByteArray path = FWhere + "/filler";
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
      return false;
    const QByteArray block(4096, 'x');
    while (::write(fd, block.constData(), size_t(block.size())) > 0) {
    }
    // A part of a page may be left: fill it byte by byte.
    while (::write(fd, "x", 1) == 1) {
    }
    const bool full = errno == ENOSPC;
    ::close(fd);
    return full;
  }
  bool ok = false;

private:
  QByteArray FWhere;
};

const QString kSaveError = QStringLiteral("erreur d'enregistrement du fichier");
const QString kLoadError = QStringLiteral("erreur de chargement du fichier");
const QString kConfError =
    QStringLiteral("erreur d'enregistrement dans le fichier de configuration");

} // namespace

class FaultTest : public QObject {
  Q_OBJECT
private slots:
  void saveThatFails_data() {
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("why"); // "%1": the harness folder
    QTest::newRow("disk full") << "full"
                               << "le disque est plein";
    QTest::newRow("read-only disk") << "readonly"
                                    << "le dossier %1/disque est protégé en écriture";
    QTest::newRow("folder is a file") << "parentfile"
                                      << "%1/fichier n'est pas un dossier";
  }
  void saveThatFails() {
    QFETCH(QString, fault);
    QFETCH(QString, why);
    MainFrameHarness h;
    const QString folder = h.path("disque");
    QVERIFY(QDir(h.folder()).mkpath("disque"));
    TinyDisk disk(folder, 64);
    if (fault != "parentfile" && !disk.ok)
      QSKIP("needs root and the right to mount a small file system");

    // A first save that works: the file the failing save must not spoil.
    const QString board = folder + "/tableau.ord";
    h.fakes.fileDialogs.saveReplies = {board};
    h.frame().document().SaveBoard(true);
    QVERIFY(h.fakes.messages.shown.isEmpty());
    const QByteArray saved = readAll(board);
    QVERIFY(saved.startsWith("Ordinogramme\r\n"));

    // A change on screen, then the fault, then the save.
    h.enterCreationMode();
    h.frame().panel().BtnAjoutTexteClick();
    const auto onScreen = boardOnScreen(h.frame());
    QString target = board;
    if (fault == "full")
      QVERIFY(disk.fill());
    else if (fault == "readonly")
      QVERIFY(disk.makeReadOnly());
    else {
      QVERIFY(writeAll(h.path("fichier"), "a file, not a folder"));
      target = h.path("fichier/tableau.ord");
      h.fakes.fileDialogs.saveReplies = {target};
    }
    h.frame().document().SaveBoard(fault == "parentfile");

    QCOMPARE(h.fakes.messages.shown,
             QStringList{kSaveError + " " + target + " : " + why.arg(h.folder())});
    QCOMPARE(readAll(board), saved);
    QCOMPARE(boardOnScreen(h.frame()), onScreen);
    QVERIFY(!h.frame().document().saved());
    QCOMPARE(h.frame().document().fileName(), board);
    QCOMPARE(h.frame().windowTitle(), "Orivox v1.0 : " + board);
    // Nothing half-written is left beside the file.
    const QStringList expected =
        fault == "full" ? QStringList{"filler", "tableau.ord"} : QStringList{"tableau.ord"};
    QCOMPARE(QDir(folder).entryList(QDir::Files, QDir::Name), expected);
  }

  // Closing, the carer answers "Oui" to saving and the save fails: the window stays open with
  // the board, its file name, its title and its changes; answered "Non" it closes.
  void failedSaveAtCloseKeepsTheWindowOpen_data() {
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("why");
    QTest::newRow("a text the file cannot hold")
        << "text"
        << "le texte 1 de l'onglet « Onglet1 » contient « Ω », que le fichier ne peut pas "
           "contenir";
    QTest::newRow("read-only disk") << "readonly"
                                    << "le dossier %1/disque est protégé en écriture";
    QTest::newRow("no file name chosen") << "cancel" << QString();
  }
  void failedSaveAtCloseKeepsTheWindowOpen() {
    QFETCH(QString, fault);
    QFETCH(QString, why);
    MainFrameHarness h;
    const QString folder = h.path("disque");
    QVERIFY(QDir(h.folder()).mkpath("disque"));
    TinyDisk disk(folder, 64);
    if (fault == "readonly" && !disk.ok)
      QSKIP("needs root and the right to mount a small file system");
    const QString board = folder + "/tableau.ord";
    if (fault != "cancel") {
      h.fakes.fileDialogs.saveReplies = {board};
      h.frame().document().SaveBoard(true);
    }
    const QByteArray saved = readAll(board);
    h.enterCreationMode();
    h.frame().panel().BtnAjoutOnglClick();
    if (fault == "text")
      h.frame().view().activePage()->AddText(true, QStringLiteral("Ωmega"), false);
    else if (fault == "readonly")
      QVERIFY(disk.makeReadOnly());
    const auto onScreen = boardOnScreen(h.frame());
    const QString title = h.frame().windowTitle();
    const QString fileName = h.frame().document().fileName();

    h.fakes.messages.answers = {true};
    QVERIFY(!h.frame().close());
    QVERIFY(h.frame().isVisible());
    QCOMPARE(h.fakes.messages.questions,
             QStringList{"Voulez vous enregistrer les modifications?"});
    QCOMPARE(h.fakes.messages.shown,
             why.isEmpty() ? QStringList()
                           : QStringList{kSaveError + " " + board + " : " + why.arg(h.folder())});
    QCOMPARE(boardOnScreen(h.frame()), onScreen);
    QCOMPARE(h.frame().windowTitle(), title);
    QCOMPARE(h.frame().document().fileName(), fileName);
    QVERIFY(!h.frame().document().saved());
    QCOMPARE(readAll(board), saved);

    // Asked again, "Non": the carer chose to leave the changes.
    h.fakes.messages.answers = {false};
    QVERIFY(h.frame().close());
    QCOMPARE(h.fakes.messages.questions.size(), 2);
  }

  void loadThatFails_data() {
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("why"); // as the board named at start is refused
    QTest::newRow("no read permission") << "permission"
                                        << "il ne peut pas être lu";
    QTest::newRow("read error") << "ioerror"
                                << "il ne peut pas être lu";
    QTest::newRow("huge line of letters") << "hugeletters"
                                          << "il est trop volumineux";
    QTest::newRow("huge number") << "hugenumber"
                                 << "il est trop volumineux";
  }
  void loadThatFails() {
    QFETCH(QString, fault);
    QFETCH(QString, why);
    MainFrameHarness h;
    const QString current = h.path("actuel.ord");
    h.fakes.fileDialogs.saveReplies = {current};
    h.frame().document().SaveBoard(true);
    const auto onScreen = boardOnScreen(h.frame());
    const QString title = h.frame().windowTitle();

    QString path = h.path("illisible.ord");
    if (fault == "permission") {
      if (geteuid() == 0)
        QSKIP("root reads every file whatever its permissions");
      QVERIFY(writeAll(path, readAll(current)));
      QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions()));
    } else if (fault == "ioerror") {
      // A file that exists and opens but fails at the first read.
      path = QStringLiteral("/proc/self/mem");
      if (!QFileInfo(path).isFile())
        QSKIP("no /proc here");
    } else {
      // 50 MiB on one line after the header, with no line end: the reader must neither hang
      // nor take the machine's memory, and must refuse the file.
      const char fill = fault == "hugeletters" ? 'a' : '9';
      QVERIFY(writeAll(path, "Ordinogramme\r\n" + QByteArray(50 * 1024 * 1024, fill)));
    }

    QElapsedTimer clock;
    clock.start();
    QCOMPARE(h.frame().LoadBoard(path), BoardDocument::LoadOutcome::Broken);
    QVERIFY2(clock.elapsed() < 20000, "loading a broken file took too long");
    QCOMPARE(h.fakes.messages.shown, QStringList{kLoadError + " " + path + " : " + why});
    QCOMPARE(boardOnScreen(h.frame()), onScreen);
    QCOMPARE(h.frame().document().fileName(), current);
    QCOMPARE(h.frame().windowTitle(), title);
    QVERIFY(h.frame().document().saved());
  }

  void firstStartOnAFullDisk() {
    // The configuration cannot be made: said so, and no empty file left to be read as one.
    QTemporaryDir program;
    TinyDisk disk(program.path(), 64);
    if (!disk.ok)
      QSKIP("needs root and the right to mount a small file system");
    QVERIFY(QDir(program.path()).mkpath("fic"));
    QVERIFY(QDir(program.path()).mkpath("conf"));
    QVERIFY(disk.fill());
    FakeServices fakes;
    const StartupValues v = prepareProgramFolder(program.path(), fakes.services());
    QCOMPARE(fakes.messages.shown,
             (QStringList{"erreur de creation du fichier conf", "erreur chargement fichier"}));
    QVERIFY(!QFileInfo::exists(program.filePath("conf/conf.txt")));
    QCOMPARE(v.password, QString());
  }

  void configurationThatCannotBeRewritten_data() {
    QTest::addColumn<QString>("fault");
    QTest::newRow("read-only disk") << "readonly";
    QTest::newRow("disk full") << "full";
  }
  void configurationThatCannotBeRewritten() {
    QFETCH(QString, fault);
    MainFrameHarness h;
    TinyDisk disk(h.path("conf"), 64);
    if (!disk.ok)
      QSKIP("needs root and the right to mount a small file system");
    const QByteArray before = "ancien mot de passe\r\n/tmp/ancien.ord\r\n";
    QVERIFY(writeAll(h.path("conf/conf.txt"), before));
    if (fault == "readonly")
      QVERIFY(disk.makeReadOnly());
    else
      QVERIFY(disk.fill());
    h.frame().SetPassword(QStringLiteral("nouveau"));
    h.frame().close();
    QCOMPARE(h.fakes.messages.shown, QStringList{kConfError});
    QCOMPARE(readAll(h.path("conf/conf.txt")), before);
  }
};

// Where "fic" and "conf" are kept: beside a program run from a folder of its own, in the user's
// data folder for a program installed where only the administrator may write.
class DataFolderTest : public QObject {
  Q_OBJECT
private slots:
  void writableProgramFolderKeepsEverythingBesideIt() {
    QTemporaryDir program, user;
    QCOMPARE(chooseDataFolder(program.path(), user.filePath("Orivox")), program.path());
    QVERIFY(!QFileInfo::exists(user.filePath("Orivox")));
  }

  void readOnlyProgramFolderUsesTheUserFolder() {
    QTemporaryDir program, user;
    TinyDisk disk(program.path(), 64);
    if (!disk.ok) {
      if (geteuid() == 0)
        QSKIP("needs the right to mount a small file system");
      QVERIFY(
          QFile::setPermissions(program.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    } else {
      QVERIFY(disk.makeReadOnly());
    }
    const QString userFolder = user.filePath("share/Orivox");
    const QString chosen = chooseDataFolder(program.path(), userFolder);
    QCOMPARE(chosen, userFolder);

    // A first start there: both folders and the configuration made, nothing to report.
    FakeServices fakes;
    const StartupValues v = prepareProgramFolder(chosen, fakes.services());
    QCOMPARE(fakes.messages.shown, QStringList());
    QVERIFY(QFileInfo(userFolder + "/fic").isDir());
    QVERIFY(QFileInfo(userFolder + "/conf/conf.txt").isFile());
    QCOMPARE(v.password, QStringLiteral("wmo"));
    if (!disk.ok)
      QFile::setPermissions(program.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                QFileDevice::ExeOwner);
  }

  void noUserFolderFallsBackToTheProgramFolder() {
    // Without a home the messages of the usual start-up tell the carer what went wrong.
    QCOMPARE(chooseDataFolder(QStringLiteral("/nonexistent/orivox"), QString()),
             QStringLiteral("/nonexistent/orivox"));
  }
};

ORIVOX_TEST(FaultTest)
ORIVOX_TEST(DataFolderTest)
#include "FaultTest.moc"

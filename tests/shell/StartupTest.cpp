// Start-up and close: the folders and the configuration file beside the program, the messages
// when they cannot be made, and the configuration rewritten at every close.
#include "documents/TEncryption.h"
#include "shell/ConfigFile.h"
#include "shell/Startup.h"
#include "shell/TMainFrame.h"
#include "board/BoardView.h"
#include "editing/BoardHistory.h"
#include "editing/CreationPanel.h"
#include "execution/ScanSession.h"
#include "execution/SwitchKeyFilter.h"
#include "support/Fakes.h"
#include <QFileInfo>
#include "support/MainFrameHarness.h"
#include "support/TestRegistry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
QByteArray readAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
void writeAll(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  QVERIFY(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}
// The encipherment of "wmo", from the cipher alone.
QByteArray wmoLine() { return TEncryption("ZebPlanar").Encrypt(QByteArray("wmo")); }
} // namespace

class StartupTest : public QObject {
  Q_OBJECT
private slots:
  void firstStartInEmptyFolder() {
    QTemporaryDir dir;
    FakeServices fakes;
    const StartupValues v = prepareProgramFolder(dir.path(), fakes.services());
    QVERIFY(QFileInfo(dir.filePath("fic")).isDir());
    QVERIFY(QFileInfo(dir.filePath("conf")).isDir());
    QCOMPARE(readAll(dir.filePath("conf/conf.txt")), wmoLine() + "\r\n");
    QCOMPARE(v.password, QStringLiteral("wmo"));
    QCOMPARE(v.lastBoard, QString());
    QVERIFY(fakes.messages.shown.isEmpty());
  }

  void foldersThatCannotBeMade_data() {
    QTest::addColumn<QString>("blocked");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("fic") << "fic" << QStringList{"erreur de creation du repertoire fic"};
    QTest::newRow("conf") << "conf"
                          << QStringList{"erreur de creation du repertoire conf",
                                         "erreur de creation du fichier conf",
                                         "erreur chargement fichier"};
  }
  void foldersThatCannotBeMade() {
    QFETCH(QString, blocked);
    QFETCH(QStringList, messages);
    QTemporaryDir dir;
    writeAll(dir.filePath(blocked), "a file where the folder should be");
    FakeServices fakes;
    const StartupValues v = prepareProgramFolder(dir.path(), fakes.services());
    QCOMPARE(fakes.messages.shown, messages);
    if (blocked == "conf")
      QCOMPARE(v.password, QString()); // nothing could be read: start-up goes on, empty
  }

  void existingConfigurationIsReadNotRewritten() {
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("conf");
    const QByteArray bytes = configfile::encode("secret", "/tmp/tableau.ord");
    writeAll(dir.filePath("conf/conf.txt"), bytes);
    FakeServices fakes;
    const StartupValues v = prepareProgramFolder(dir.path(), fakes.services());
    QCOMPARE(v.password, QStringLiteral("secret"));
    QCOMPARE(v.lastBoard, QStringLiteral("/tmp/tableau.ord"));
    QCOMPARE(readAll(dir.filePath("conf/conf.txt")), bytes);
  }

  void closeWithoutChangesAsksNothingAndRewritesTheFile() {
    MainFrameHarness h;
    h.frame().SetPassword("nouveau");
    h.frame().close();
    QVERIFY(h.fakes.messages.questions.isEmpty());
    QCOMPARE(readAll(h.path("conf/conf.txt")),
             TEncryption("ZebPlanar").Encrypt(QByteArray("nouveau")) + "\r\n\r\n");
  }

  void closeWithChangesOnANeverSavedBoard() {
    // Yes, then the save dialog is cancelled: the board is not saved, so the window stays open
    // with it; No then closes, nothing saved, line 2 written empty.
    MainFrameHarness h;
    h.frame().document().setSaved(false);
    const QByteArray before = readAll(h.path("conf/conf.txt"));
    h.fakes.messages.answers = {true, false};
    QVERIFY(!h.frame().close());
    QCOMPARE(h.fakes.messages.questions,
             QStringList{"Voulez vous enregistrer les modifications?"});
    QCOMPARE(h.fakes.fileDialogs.saveFilters.size(), 1);
    QCOMPARE(readAll(h.path("conf/conf.txt")), before);
    QVERIFY(h.frame().close());
    QCOMPARE(readAll(h.path("conf/conf.txt")), wmoLine() + "\r\n\r\n");
  }

  void closeWithChangesSavesOnYes() {
    MainFrameHarness h;
    h.frame().document().setSaved(false);
    h.fakes.messages.answers = {true};
    h.fakes.fileDialogs.saveReplies = {h.path("tableau")};
    h.frame().close();
    QVERIFY(QFileInfo::exists(h.path("tableau.ord")));
    QCOMPARE(readAll(h.path("conf/conf.txt")),
             wmoLine() + "\r\n" + h.path("tableau.ord").toUtf8() + "\r\n");
  }

  void unwritableConfigurationAtClose() {
    MainFrameHarness h;
    QDir(h.path("conf")).removeRecursively();
    writeAll(h.path("conf"), "not a folder");
    h.frame().close();
    QCOMPARE(h.fakes.messages.shown,
             QStringList{"erreur d'enregistrement dans le fichier de configuration"});
  }

  void passwordWithAwkwardEncipherment() {
    // A password whose encipherment holds a line-ending byte survives a close and a start.
    QString awkward;
    for (int i = 0; i < 5000 && awkward.isEmpty(); ++i) {
      const QString p = QStringLiteral("p%1").arg(i);
      const QByteArray e = TEncryption("ZebPlanar").Encrypt(p.toLatin1());
      if (e.contains('\n') || e.contains('\r') || e.contains('\x1a'))
        awkward = p;
    }
    QVERIFY(!awkward.isEmpty());
    QTemporaryDir dir;
    {
      MainFrameHarness h;
      h.frame().SetPassword(awkward);
      h.frame().close();
      QFile::copy(h.path("conf/conf.txt"), dir.filePath("conf.txt"));
    }
    QDir(dir.path()).mkpath("conf");
    QFile::rename(dir.filePath("conf.txt"), dir.filePath("conf/conf.txt"));
    FakeServices fakes;
    QCOMPARE(prepareProgramFolder(dir.path(), fakes.services()).password, awkward);
  }
};

ORIVOX_TEST(StartupTest)
#include "StartupTest.moc"

// What the person taught is kept: a learning file another program holds is waited for and never
// set aside, a damaged one is set aside beside earlier copies, the board is taught once however
// often it opens, forgetting removes every file prediction keeps or says which stayed, and
// without a folder to write in prediction says it is unavailable and lets the program quit.
#include "prediction/LearningFile.h"
#include "prediction/PresagePredictor.h"
#include "support/TestRegistry.h"

#include "PredictionSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

using namespace predictiontest;

namespace {
// Another program's hold on a file, taken with the SQL it would run; released when destroyed.
class Holder {
public:
  Holder(const QString& path, const char* begin) {
    sqlite3_open(path.toUtf8().constData(), &FDb);
    FHeld = sqlite3_exec(FDb, begin, nullptr, nullptr, nullptr) == SQLITE_OK;
    // An exclusive hold is only taken by writing.
    if (FHeld && std::string_view(begin) == "BEGIN EXCLUSIVE")
      FHeld = sqlite3_exec(FDb, "CREATE TABLE held (x)", nullptr, nullptr, nullptr) == SQLITE_OK;
  }
  ~Holder() {
    sqlite3_exec(FDb, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(FDb);
  }
  bool held() const { return FHeld; }

private:
  sqlite3* FDb = nullptr;
  bool FHeld = false;
};

QStringList filesIn(const QString& dir) {
  return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}
} // namespace

class LearningTest : public QObject {
  Q_OBJECT
  QTemporaryDir FDir;
  QString FModel;

  QString freshFolder() {
    static int n = 0;
    const QString dir = FDir.filePath(QStringLiteral("case-%1").arg(++n));
    QDir().mkpath(dir);
    return dir;
  }

private slots:
  void initTestCase() {
    FModel = FDir.filePath(QStringLiteral("fr.db"));
    QVERIFY(buildModel(FModel));
  }

  void aBusyFileIsWaitedForAndKept_data() {
    QTest::addColumn<QByteArray>("hold");
    QTest::addColumn<bool>("heldAtStart");
    QTest::addColumn<QString>("whileHeld"); // offered first: the person's word or the model's
    // Readers still read under a writer's hold.
    QTest::newRow("a writer's hold, taken before the start")
        << QByteArray("BEGIN IMMEDIATE") << true << "bonhomme";
    QTest::newRow("an exclusive hold, taken before the start")
        << QByteArray("BEGIN EXCLUSIVE") << true << "bonjour";
    QTest::newRow("an exclusive hold, taken while the board runs")
        << QByteArray("BEGIN EXCLUSIVE") << false << "bonjour";
  }
  void aBusyFileIsWaitedForAndKept() {
    QFETCH(QByteArray, hold);
    QFETCH(bool, heldAtStart);
    QFETCH(QString, whileHeld);
    const QString dir = freshFolder();
    const QString user = dir + QStringLiteral("/mots.db");
    {
      PresagePredictor p(FModel, user);
      p.learn(QStringLiteral("Un bonhomme de neige."));
      QCOMPARE(ask(p, 1, QStringLiteral("Un bo")).value(0), QStringLiteral("bonhomme"));
    }
    {
      std::unique_ptr<Holder> holder;
      if (heldAtStart)
        holder = std::make_unique<Holder>(user, hold.constData());
      PresagePredictor p(FModel, user);
      QVERIFY(ask(p, 1, QStringLiteral("bo")) != QStringList{"<no answer>"});
      if (!heldAtStart)
        holder = std::make_unique<Holder>(user, hold.constData());
      QVERIFY(holder->held());
      QCOMPARE(ask(p, 2, QStringLiteral("Un bo")).value(0), whileHeld);
      p.learn(QStringLiteral("Une bonbonnière."));
      // Waited for, then the base model answers alone: still a prediction, the file untouched.
      QCOMPARE(ask(p, 3, QStringLiteral("Un bo")).value(0), QStringLiteral("bonjour"));
      QCOMPARE(p.status(), WordPredictor::Status::Ok);
      // Nothing set aside; the holder's journal is the holder's.
      QCOMPARE(filesIn(dir).filter(QStringLiteral(".damaged")), QStringList());
      QVERIFY(QFileInfo::exists(user));
      holder.reset();
      // Free again: the next lesson brings the one that waited.
      p.learn(QStringLiteral("Un bonnet."));
      const QStringList offered = ask(p, 4, QStringLiteral("Une bo"));
      QVERIFY2(offered.mid(0, 3).contains(QStringLiteral("bonbonnière")),
               qPrintable(offered.join(',')));
    }
    QCOMPARE(wordCount(user, QStringLiteral("bonhomme")), 1);
    QCOMPARE(wordCount(user, QStringLiteral("bonbonnière")), 1);
    QCOMPARE(wordCount(user, QStringLiteral("bonnet")), 1);
  }

  void aDamagedFileGoesBesideEarlierCopies() {
    const QString dir = freshFolder();
    const QString user = dir + QStringLiteral("/mots.db");
    for (const char* content : {"first", "second", "third"}) {
      QFile f(user);
      QVERIFY(f.open(QIODevice::WriteOnly));
      f.write(content);
      f.close();
      PresagePredictor p(FModel, user);
      p.learn(QStringLiteral("Un bonhomme."));
      QCOMPARE(ask(p, 1, QStringLiteral("Un bo")).value(0), QStringLiteral("bonhomme"));
    }
    const auto content = [&dir](const char* name) {
      QFile f(dir + QLatin1Char('/') + QLatin1String(name));
      return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
    };
    QCOMPARE(content("mots.db.damaged"), QByteArray("first"));
    QCOMPARE(content("mots.db.damaged-2"), QByteArray("second"));
    QCOMPARE(content("mots.db.damaged-3"), QByteArray("third"));
  }

  // The board's texts count once, the person's own phrases each time they say them.
  void theBoardIsTaughtOnce() {
    const QString user = freshFolder() + QStringLiteral("/mots.db");
    for (int start = 1; start <= 3; ++start) {
      PresagePredictor p(FModel, user);
      p.teachBoardTexts({QStringLiteral("Bonne nuit"), QStringLiteral("Il fait beau.")});
      p.learn(QStringLiteral("Un bonhomme."));
      QVERIFY(ask(p, start, QStringLiteral("bo")) != QStringList{"<no answer>"});
    }
    QCOMPARE(wordCount(user, QStringLiteral("nuit")), 1);
    QCOMPARE(wordCount(user, QStringLiteral("beau")), 1);
    QCOMPARE(wordCount(user, QStringLiteral("bonhomme")), 3);
    // The same words written otherwise are the same lesson; forgotten, the board is taught anew.
    PresagePredictor p(FModel, user);
    p.teachBoardTexts({QStringLiteral("BONNE NUIT !")});
    QVERIFY(ask(p, 1, QStringLiteral("bo")) != QStringList{"<no answer>"});
    QCOMPARE(wordCount(user, QStringLiteral("nuit")), 1);
    QVERIFY(p.forgetLearned().ok());
    p.teachBoardTexts({QStringLiteral("Bonne nuit")});
    QVERIFY(ask(p, 2, QStringLiteral("bo")) != QStringList{"<no answer>"});
    QCOMPARE(wordCount(user, QStringLiteral("nuit")), 1);
    QCOMPARE(wordCount(user, QStringLiteral("bonhomme")), 0);
  }

  void forgettingRemovesWhatPredictionKept_data() {
    QTest::addColumn<QString>("obstacle"); // "": none; "folder": a copy that is a folder;
                                           // "read-only": the folder cannot be written
    QTest::addColumn<QString>("error");    // with %1 for the folder
    QTest::addColumn<QStringList>("left"); // opened again after: a new learning file
    QTest::addColumn<qint64>("learned");
    QTest::newRow("all of it") << QString() << QString()
                               << QStringList{"autre.txt", "mots-prediction.xml", "mots.db"}
                               << qint64(0);
    QTest::newRow("a copy set aside that is a folder")
        << "folder"
        << "impossible de supprimer « %1/mots.db.damaged » (c'est un dossier)"
        << QStringList{"autre.txt", "mots-prediction.xml", "mots.db", "mots.db.damaged"}
        << qint64(0);
    QTest::newRow("a folder that cannot be written")
        << "read-only"
        << "impossible de supprimer « %1/mots.db » (Permission denied)"
        << QStringList{"autre.txt", "mots-prediction.xml", "mots.db", "mots.db.damaged-2"}
        << qint64(1);
  }
  void forgettingRemovesWhatPredictionKept() {
    QFETCH(QString, obstacle);
    QFETCH(QString, error);
    QFETCH(QStringList, left);
    QFETCH(qint64, learned);
    const QString dir = freshFolder();
    const QString user = dir + QStringLiteral("/mots.db");
    PresagePredictor p(FModel, user);
    p.learn(QStringLiteral("Un bonhomme."));
    QCOMPARE(ask(p, 1, QStringLiteral("Un bo")).value(0), QStringLiteral("bonhomme"));
    for (const char* name : {"autre.txt", "mots.db.damaged-2"}) { // not prediction's; a copy
      QFile f(dir + QLatin1Char('/') + QLatin1String(name));
      QVERIFY(f.open(QIODevice::WriteOnly));
    }
    if (obstacle == QLatin1String("folder"))
      QVERIFY(QDir().mkpath(dir + QStringLiteral("/mots.db.damaged/dedans")));
    if (obstacle == QLatin1String("read-only")) {
      QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner);
      QFile probe(dir + QStringLiteral("/probe"));
      if (probe.open(QIODevice::WriteOnly)) {
        probe.remove();
        QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QSKIP("this user writes in a read-only folder");
      }
    }
    const PredictionResult r = p.forgetLearned();
    QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(r.errorString(), error.isEmpty() ? error : error.arg(dir));
    QCOMPARE(r.ok(), error.isEmpty());
    QCOMPARE(filesIn(dir), left);
    QCOMPARE(wordCount(user, QStringLiteral("bonhomme")), learned);
  }

  // Where the library would write in the home folder, or spin for ever without one.
  void withoutAHomeFolder_data() {
    QTest::addColumn<QString>("home"); // "unset", "temporary", or "a file": no folder in it
    QTest::addColumn<WordPredictor::Status>("status");
    QTest::newRow("unset") << "unset" << WordPredictor::Status::Unavailable;
    QTest::newRow("a learning folder that cannot be made")
        << "a file" << WordPredictor::Status::Unavailable;
    QTest::newRow("a home folder of its own") << "temporary" << WordPredictor::Status::Ok;
  }
  void withoutAHomeFolder() {
    QFETCH(QString, home);
    QFETCH(WordPredictor::Status, status);
    const QByteArray savedHome = qgetenv("HOME");
    const QString dir = freshFolder();
    QString user;
    if (home == QLatin1String("unset")) {
      qunsetenv("HOME");
    } else {
      qputenv("HOME", dir.toUtf8());
      QFile file(dir + QStringLiteral("/fichier"));
      QVERIFY(file.open(QIODevice::WriteOnly));
      user = home == QLatin1String("a file") ? file.fileName() + QStringLiteral("/mots.db")
                                             : dir + QStringLiteral("/donnees/mots.db");
    }
    QElapsedTimer quitting;
    {
      PresagePredictor p(FModel, user);
      QSignalSpy spy(&p, &WordPredictor::suggestions);
      p.request(1, QStringLiteral("bo"));
      p.learn(QStringLiteral("Un bonhomme."));
      QTRY_COMPARE(p.status(), status);
      if (status == WordPredictor::Status::Unavailable)
        QCOMPARE(WordPredictor::statusText(status),
                 QStringLiteral("Prédiction indisponible : aucun dossier où garder les mots "
                                "appris n'est accessible."));
      QCOMPARE(spy.wait(1000), status == WordPredictor::Status::Ok);
      quitting.start();
    }
    QVERIFY2(quitting.elapsed() < 2000, qPrintable(QString::number(quitting.elapsed())));
    qputenv("HOME", savedHome);
    QVERIFY(!QFileInfo::exists(dir + QStringLiteral("/.presage")));
  }
};

ORIVOX_TEST(LearningTest)
#include "LearningTest.moc"

// Word prediction from the model builder to the suggestions: French words survive the way into
// the model and back, the predictor answers only the latest request, survives a bad model, and
// learns and forgets the person's own words.
#include "prediction/FrenchText.h"
#include "prediction/PresagePredictor.h"
#include "support/FakePredictor.h" // compiled here until a window test uses it
#include "support/TestRegistry.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <sqlite3.h>

namespace {
qint64 scalar(const QString& path, const QString& sql) {
  sqlite3* db = nullptr;
  qint64 v = -1;
  if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW)
      v = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
  }
  sqlite3_close(db);
  return v;
}

bool exec(const QString& path, const char* sql) {
  sqlite3* db = nullptr;
  const bool ok = sqlite3_open(path.toUtf8().constData(), &db) == SQLITE_OK &&
                  sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
  sqlite3_close(db);
  return ok;
}

// The words offered for `text`, or a marker when no answer came.
QStringList ask(WordPredictor& p, int id, const QString& text) {
  QSignalSpy spy(&p, &WordPredictor::suggestions);
  p.request(id, text);
  if (!spy.wait(5000))
    return {QStringLiteral("<no answer>")};
  return spy.last().at(1).toStringList();
}
} // namespace

class PredictionTest : public QObject {
  Q_OBJECT
  QTemporaryDir FDir;
  QString FModel;

private slots:
  void initTestCase() {
    FModel = FDir.filePath(QStringLiteral("fr.db"));
    QProcess builder;
    builder.start(QStringLiteral("python3"),
                  {QStringLiteral(ORIVOX_SOURCE_DIR "/scripts/build-french-model.py"), FModel,
                   QStringLiteral("--from-text"),
                   QStringLiteral(ORIVOX_TEST_DATA "/prediction/phrases.txt")});
    QVERIFY(builder.waitForFinished(60000));
    QCOMPARE(builder.exitCode(), 0);
  }

  void builderKeepsFrenchWords_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<qint64>("expected");
    // Capitals, the typographic apostrophe and the non-breaking space of the text do not make
    // words of their own.
    QTest::newRow("déjà, in capitals too")
        << "SELECT count FROM _1_gram WHERE word = 'déjà'" << qint64(2);
    QTest::newRow("aujourd'hui whole")
        << QStringLiteral("SELECT count FROM _1_gram WHERE word = 'aujourd\u02bchui'") << qint64(1);
    QTest::newRow("j'ai as j' then ai, whichever apostrophe")
        << QStringLiteral("SELECT count FROM _2_gram WHERE word_1 = 'j\u02bc' AND word = 'ai'")
        << qint64(3);
    QTest::newRow("peut-être whole")
        << QStringLiteral("SELECT count FROM _1_gram WHERE word = 'peut\u2011être'") << qint64(1);
    QTest::newRow("bonjour before the non-breaking space")
        << "SELECT count FROM _1_gram WHERE word = 'bonjour'" << qint64(3);
    QTest::newRow("no plain apostrophe, which breaks the library's SQL")
        << "SELECT count(*) FROM _1_gram WHERE instr(word, '''') > 0" << qint64(0);
  }
  void builderKeepsFrenchWords() {
    QFETCH(QString, sql);
    QFETCH(qint64, expected);
    QCOMPARE(scalar(FModel, sql), expected);
  }

  void textToTheModel_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("model");
    QTest::newRow("elision, accents, capitals")
        << QStringLiteral("J\u2019ai DÉJÀ") << QStringLiteral("\ue000 j\u02bc ai déjà");
    QTest::newRow("only the current phrase; apostrophe and hyphen inside words")
        << QStringLiteral("Il dit. Aujourd'hui peut-être")
        << QStringLiteral("\ue000  aujourd\u02bchui peut\u2011être");
    QTest::newRow("non-breaking space and French quotes separate")
        << QStringLiteral("qu'il\u00a0«bon»") << QStringLiteral("\ue000 qu\u02bc il  bon ");
    QTest::newRow("decomposed accent composed")
        << QStringLiteral("e\u0301te\u0301") << QStringLiteral("\ue000 été");
  }
  void textToTheModel() {
    QFETCH(QString, text);
    QFETCH(QString, model);
    QCOMPARE(frenchtext::toModel(text), model);
  }

  void choosingASuggestion_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("modelWord");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("remove");
    QTest::addColumn<QString>("insert");
    QTest::newRow("phrase start takes the capital") << "bo"
                                                    << "bonjour"
                                                    << "Bonjour" << 2 << "Bonjour ";
    QTest::newRow("inside a phrase as typed") << "Il dit bo"
                                              << "bonjour"
                                              << "bonjour" << 2 << "bonjour ";
    QTest::newRow("a capital typed stays") << "Il dit Bo"
                                           << "bonjour"
                                           << "Bonjour" << 2 << "Bonjour ";
    QTest::newRow("capitals typed: all capitals") << "Il dit DÉ"
                                                  << "déjà"
                                                  << "DÉJÀ" << 2 << "DÉJÀ ";
    QTest::newRow("after an elision the word alone, no capital") << "J'a"
                                                                 << "ai"
                                                                 << "ai" << 1 << "ai ";
    QTest::newRow("an apostrophe inside the word is part of it")
        << QStringLiteral("Il est là aujourd\u2019h") << QStringLiteral("aujourd\u02bchui")
        << "aujourd'hui" << 9 << "aujourd'hui ";
    QTest::newRow("an elided word takes no space")
        << "Bon. j" << QStringLiteral("j\u02bc") << "J'" << 1 << "J'";
    QTest::newRow("next word after a space") << "Il dit "
                                             << "bonjour"
                                             << "bonjour" << 0 << "bonjour ";
  }
  void choosingASuggestion() {
    QFETCH(QString, text);
    QFETCH(QString, modelWord);
    QFETCH(QString, shown);
    QFETCH(int, remove);
    QFETCH(QString, insert);
    const QString word =
        frenchtext::restoreCase(frenchtext::fromModel(modelWord), frenchtext::wordPrefix(text),
                                frenchtext::startsPhrase(text));
    QCOMPARE(word, shown);
    QCOMPARE(frenchtext::complete(text, word), (frenchtext::Completion{remove, insert}));
  }

  void predictorRestoresWhatItOffers_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("first");
    QTest::newRow("capital at the phrase start") << "Bo"
                                                 << "Bonjour";
    QTest::newRow("accents from the model") << "Il a dé"
                                            << "déjà";
    QTest::newRow("the word after an elision") << QStringLiteral("Et j\u2019") << "ai";
  }
  void predictorRestoresWhatItOffers() {
    QFETCH(QString, text);
    QFETCH(QString, first);
    PresagePredictor p(FModel, FDir.filePath(QStringLiteral("restore.db")));
    const QStringList words = ask(p, 1, text);
    QVERIFY2(!words.isEmpty() && words.first() == first, qPrintable(words.join(',')));
  }

  void onlyTheLatestRequestIsAnswered() {
    PresagePredictor p(FModel, FDir.filePath(QStringLiteral("stale.db")));
    QSignalSpy spy(&p, &WordPredictor::suggestions);
    p.request(1, QStringLiteral("bo"));
    p.request(2, QStringLiteral("dé"));
    QVERIFY(spy.wait(5000));
    QTest::qWait(200);
    QCOMPARE(spy.size(), 1);
    QCOMPARE(spy.first().at(0).toInt(), 2);
  }

  void badModelHidesSuggestions_data() {
    QTest::addColumn<QString>("content"); // "" no file; "inconsistent": counts that disagree
    QTest::addColumn<WordPredictor::Status>("status");
    QTest::newRow("missing") << QString() << WordPredictor::Status::ModelMissing;
    QTest::newRow("not a database") << "garbage" << WordPredictor::Status::ModelDamaged;
    QTest::newRow("a database without the tables")
        << "empty" << WordPredictor::Status::ModelDamaged;
    // The library aborts the program on a pair counted more often than its first word.
    QTest::newRow("pair counted more than its word")
        << "inconsistent" << WordPredictor::Status::ModelDamaged;
  }
  void badModelHidesSuggestions() {
    QFETCH(QString, content);
    QFETCH(WordPredictor::Status, status);
    const QString path = FDir.filePath(QStringLiteral("bad-%1.db").arg(QTest::currentDataTag()));
    if (content == QLatin1String("garbage")) {
      QFile f(path);
      QVERIFY(f.open(QIODevice::WriteOnly));
      f.write("not a model at all");
    } else if (content == QLatin1String("empty")) {
      QVERIFY(exec(path, "CREATE TABLE other (x INTEGER)"));
    } else if (content == QLatin1String("inconsistent")) {
      QVERIFY(QFile::copy(FModel, path));
      QVERIFY(exec(path, "UPDATE _2_gram SET count = 1000 WHERE word = 'ai'"));
    }
    PresagePredictor p(path, FDir.filePath(QStringLiteral("user-bad.db")));
    QSignalSpy spy(&p, &WordPredictor::suggestions);
    p.request(1, QStringLiteral("bo"));
    QTRY_COMPARE(p.status(), status);
    p.request(2, QStringLiteral("bo"));
    QTest::qWait(200);
    QVERIFY(spy.isEmpty());
    QVERIFY(!WordPredictor::statusText(status).isEmpty());
  }

  void learnedWordComesFirstUntilForgotten() {
    const QString user = FDir.filePath(QStringLiteral("learn/user.db"));
    {
      PresagePredictor p(FModel, user);
      QCOMPARE(ask(p, 1, QStringLiteral("Il dit bo")).value(0), QStringLiteral("bonjour"));
      p.learn(QStringLiteral("Un bonhomme de neige."));
      QCOMPARE(ask(p, 2, QStringLiteral("Il dit bo")).value(0), QStringLiteral("bonhomme"));
    }
    // Kept in the person's file for the next session; forgetting clears it.
    PresagePredictor again(FModel, user);
    QCOMPARE(ask(again, 1, QStringLiteral("Il dit bo")).value(0), QStringLiteral("bonhomme"));
    again.forgetLearned();
    QVERIFY(!ask(again, 2, QStringLiteral("Il dit bo")).contains(QStringLiteral("bonhomme")));
  }
};

ORIVOX_TEST(PredictionTest)
#include "PredictionTest.moc"

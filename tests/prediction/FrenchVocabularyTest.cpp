// Today's French on the real model: a word spelled without accents, apostrophes or hyphens finds
// the accented word, proper nouns keep their capitals, and no old spelling is ever offered.
#include "prediction/FoldedWords.h"
#include "prediction/FrenchText.h"
#include "prediction/LearningFile.h"
#include "prediction/PresagePredictor.h"
#include "support/TestRegistry.h"

#include "PredictionSupport.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace predictiontest;

class FrenchVocabularyTest : public QObject {
  Q_OBJECT
  QTemporaryDir FDir;
  std::unique_ptr<PresagePredictor> FReal;
  int FId = 0;

private slots:
  void initTestCase() {
    // The model the build made, as the program finds it beside itself.
    QVERIFY2(QFileInfo::exists(QStringLiteral(ORIVOX_MODEL_PATH)),
             "build the target orivox_model first");
    FReal = std::make_unique<PresagePredictor>(QStringLiteral(ORIVOX_MODEL_PATH),
                                               FDir.filePath(QStringLiteral("user.db")));
    FReal->setSuggestionCount(5);
  }

  void folding_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("folded");
    QTest::newRow("accents") << "fenêtre"
                             << "fenetre";
    QTest::newRow("capitals and accents") << "ÉCOLE Ôter"
                                          << "ecole oter";
    QTest::newRow("cedilla") << "ça"
                             << "ca";
    QTest::newRow("ligatures") << "Œuf cœur ex æquo"
                               << "oeuf coeur ex aequo";
    QTest::newRow("apostrophes of every kind")
        << QStringLiteral("j'ai c\u2019est aujourd\u02bchui") << "jai cest aujourdhui";
    QTest::newRow("hyphens, the model's too")
        << QStringLiteral("peut-être arc\u2011en\u2011ciel") << "peutetre arcenciel";
    QTest::newRow("accent as a separate mark") << QStringLiteral("e\u0301te\u0301") << "ete";
    QTest::newRow("nothing to fold") << "bonjour"
                                     << "bonjour";
    QTest::newRow("empty") << ""
                           << "";
  }
  void folding() {
    QFETCH(QString, text);
    QFETCH(QString, folded);
    QCOMPARE(frenchtext::fold(text), folded);
  }

  // What the person types (the board has no accents, no apostrophe) and what must and must not
  // be among the five words offered.
  void offers_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("must");
    QTest::addColumn<QStringList>("mustNot");
    using L = QStringList;
    QTest::newRow("accent inside") << "Ouvre la fenetr" << L{"fenêtre"} << L{};
    QTest::newRow("accent at the end") << "Il fait tres" << L{"très"} << L{};
    QTest::newRow("cedilla") << "Ca" << L{"Ça"} << L{"C'a", "C'à"};
    QTest::newRow("elision without apostrophe") << "Jai" << L{"J'ai"} << L{};
    QTest::newRow("elision mid-phrase") << "Oui cest" << L{"c'est"} << L{};
    QTest::newRow("apostrophe inside")
        << "Il vient aujourdh" << L{"aujourd'hui"} << L{"aujourd'huy"};
    QTest::newRow("ligature") << "Je veux un oeu" << L{"œuf"} << L{};
    QTest::newRow("hyphen typed") << "Il est peut-" << L{"peut-être"} << L{"peut-estre"};
    QTest::newRow("old verb form") << "J'a" << L{} << L{"ay"};
    QTest::newRow("old first name") << "Bonjour. je" << L{} << L{"Jehan", "jehan"};
    QTest::newRow("roman numeral") << "x" << L{} << L{"Xiv", "xiv"};
    QTest::newRow("old spelling of être") << "Il veut es" << L{} << L{"estre"};
    QTest::newRow("proper noun keeps its capital") << "je vais à pa" << L{"Paris"} << L{"paris"};
    QTest::newRow("first name keeps its capital") << "la vierge mar" << L{"Marie"} << L{"marie"};
    QTest::newRow("typed word with its accent") << "Il fait très" << L{"très"} << L{};
    QTest::newRow("cedilla after a comma") << "Oui, ca" << L{"ça"} << L{};
    QTest::newRow("a feast's name") << "Joyeux no" << L{"Noël"} << L{"noël"};
    // Two "Match" in a magazine's name once made every match a capital one.
    QTest::newRow("common noun seldom written with a capital")
        << "Qui a gagné le mat" << L{"match"} << L{"Match"};
    QTest::newRow("elided word and the word after it") << "J" << L{"J'", "J'ai"} << L{};
    // Where a phrase likely ends its sign is offered; not after a comma, where the words before
    // alone would call for it.
    QTest::newRow("the end of a phrase") << "Merci beaucoup " << L{"."} << L{};
    QTest::newRow("the end of a question") << "Tu viens à quelle heure " << L{"?"} << L{};
    QTest::newRow("no sign after a comma") << "Merci beaucoup, " << L{} << L{".", "?", "!"};
  }
  void offers() {
    QFETCH(QString, text);
    QFETCH(QStringList, must);
    QFETCH(QStringList, mustNot);
    const QStringList offered = ask(*FReal, ++FId, text);
    for (const QString& w : must)
      QVERIFY2(offered.contains(w), qPrintable(text + " → " + offered.join('|')));
    for (const QString& w : mustNot)
      QVERIFY2(!offered.contains(w), qPrintable(text + " → " + offered.join('|')));
  }

  // Where the board asks for it, a word shown and let go by while the person spells on makes
  // room for others, and a letter taken back shows it again. Otherwise a person who spells a
  // few letters before looking still finds the word they passed.
  void wordsLetGoBy_data() {
    QTest::addColumn<bool>("replaced");
    QTest::newRow("replaced") << true;
    QTest::newRow("offered again, as by default") << false;
  }
  void wordsLetGoBy() {
    QFETCH(bool, replaced);
    FReal->setReplacePassedOver(replaced);
    const QStringList first = ask(*FReal, ++FId, QStringLiteral("Bonjour m"));
    const QStringList next = ask(*FReal, ++FId, QStringLiteral("Bonjour ma"));
    FReal->setReplacePassedOver(false);
    const QString seen = first.join('|') + " → " + next.join('|');
    QCOMPARE(next.size(), 5);
    QVERIFY2(first.contains(QStringLiteral("madame")), qPrintable(seen));
    for (const QString& w : first)
      if (w.startsWith(QStringLiteral("ma")))
        QVERIFY2(next.contains(w) != replaced, qPrintable(seen));
    if (replaced)
      QCOMPARE(ask(*FReal, ++FId, QStringLiteral("Bonjour m")), first);
  }

  // Whatever is typed, the model holds none of the spellings of past centuries.
  void noOldSpellingInTheModel_data() {
    QTest::addColumn<QString>("word");
    for (const char* w : {"estre", "ay", "jehan", "xiv", "aujourd\u02bchuy", "estoit", "moy",
                          "sçavoir", "peut\u2011estre"})
      QTest::newRow(w) << QString::fromUtf8(w);
  }
  void noOldSpellingInTheModel() {
    QFETCH(QString, word);
    QCOMPARE(wordCount(QStringLiteral(ORIVOX_MODEL_PATH), word), 0);
  }

  // The capitals table only ever changes case: a row that would write another word is ignored.
  void capitalsChangeOnlyTheCase() {
    const QString path = FDir.filePath(QStringLiteral("capitals.db"));
    QVERIFY(buildModel(path));
    QVERIFY(exec(path, "CREATE TABLE IF NOT EXISTS capitals (word TEXT PRIMARY KEY, written TEXT);"
                       "INSERT OR REPLACE INTO capitals VALUES ('bonjour', 'Au revoir');"
                       "INSERT OR REPLACE INTO capitals VALUES ('bonne', 'Bonne')"));
    FoldedWords words;
    QVERIFY(words.load(path).ok());
    QCOMPARE(words.written(QStringLiteral("bonjour")), QStringLiteral("bonjour"));
    QCOMPARE(words.written(QStringLiteral("bonne")), QStringLiteral("Bonne"));
    QCOMPARE(words.beginningsFor(QStringLiteral("bo"), 24), QStringList{"bo"});
    QVERIFY(words.beginningsFor(QStringLiteral("zz"), 24).isEmpty());
  }

  // The library reads a prefix's words in the order the rows were written: a learning file
  // written in a hash's order made equal counts fall differently from one run to the next.
  void learningWritesInTheWordsOrder() {
    const QString path = FDir.filePath(QStringLiteral("order.db"));
    LearningFile file(path);
    QVERIFY(file.open().ok());
    QVERIFY(file.learn({QStringLiteral("zèbre mouton arbre chat lapin éléphant bœuf")}).ok());
    file.close();
    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr),
             SQLITE_OK);
    QStringList written;
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "SELECT word FROM _1_gram ORDER BY rowid", -1, &st, nullptr);
    while (sqlite3_step(st) == SQLITE_ROW)
      written << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    sqlite3_close(db);
    QStringList sorted = written;
    std::sort(sorted.begin(), sorted.end());
    QCOMPARE(written.size(), 8); // the phrase-start word and the seven
    QCOMPARE(written, sorted);
  }

  // A model without the table of words is refused, not half-used.
  void unreadableWordsAreReported() {
    const QString path = FDir.filePath(QStringLiteral("empty.db"));
    QVERIFY(exec(path, "CREATE TABLE other (x)"));
    FoldedWords words;
    QCOMPARE(words.load(path).kind(), PredictionResult::Kind::Damaged);
    QVERIFY(words.isEmpty());
  }
};

ORIVOX_TEST(FrenchVocabularyTest)
#include "FrenchVocabularyTest.moc"

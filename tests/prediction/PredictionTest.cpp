// Word prediction from the model builder to the suggestions: French words survive the way into
// the model and back, the predictor answers only the latest request, survives a bad model, and
// learns and forgets the person's own words.
#include "prediction/FrenchText.h"
#include "prediction/PassedOver.h"
#include "prediction/PresagePredictor.h"
#include "support/FakePredictor.h" // compiled here until a window test uses it
#include "support/TestRegistry.h"

#include "PredictionSupport.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace predictiontest;

namespace {
// A text of the shared table with its escapes read: \uXXXX, \n, \r, \\.
QString unescape(const QString& s) {
  QString out;
  for (qsizetype i = 0; i < s.size(); ++i) {
    if (s.at(i) != QLatin1Char('\\') || i + 1 >= s.size()) {
      out += s.at(i);
      continue;
    }
    const QChar c = s.at(++i);
    if (c == QLatin1Char('u')) {
      out += QChar(char16_t(s.mid(i + 1, 4).toUShort(nullptr, 16)));
      i += 4;
    } else {
      out += c == QLatin1Char('n') ? QChar(u'\n') : c == QLatin1Char('r') ? QChar(u'\r') : c;
    }
  }
  return out;
}
} // namespace

class PredictionTest : public QObject {
  Q_OBJECT
  QTemporaryDir FDir;
  QString FModel;

private slots:
  void initTestCase() {
    FModel = FDir.filePath(QStringLiteral("fr.db"));
    QVERIFY(buildModel(FModel));
  }

  // The same table is run through the model builder by ctest (prediction_tokens).
  void programCutsAsTheBuilder_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("words");
    QFile table(QStringLiteral(ORIVOX_TEST_DATA "/prediction/tokens.tsv"));
    QVERIFY(table.open(QIODevice::ReadOnly | QIODevice::Text));
    while (!table.atEnd()) {
      const QString line = QString::fromUtf8(table.readLine()).chopped(1);
      if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
        continue;
      const QStringList cols = line.split(QLatin1Char('\t'));
      QCOMPARE(cols.size(), 3);
      QTest::newRow(qPrintable(cols[0])) << unescape(cols[1]) << unescape(cols[2]);
    }
  }
  void programCutsAsTheBuilder() {
    QFETCH(QString, text);
    QFETCH(QString, words);
    QStringList phrases;
    for (const QStringList& p : frenchtext::phrases(text))
      phrases << p.join(QLatin1Char(' '));
    QCOMPARE(phrases.join(QStringLiteral(" | ")), words);
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
        << QStringLiteral("\ue000 aujourd\u02bchui peut\u2011être");
    QTest::newRow("non-breaking space separates")
        << QStringLiteral("qu'il\u00a0bon") << QStringLiteral("\ue000 qu\u02bc il bon");
    QTest::newRow("a quotation starts the context again")
        << QStringLiteral("Il dit « bo") << QStringLiteral("\ue000 bo");
    QTest::newRow("digits are no words")
        << QStringLiteral("J'ai 3 ch") << QStringLiteral("\ue000 j\u02bc ai ch");
    QTest::newRow("a word being written keeps its signs")
        << QStringLiteral("Il est peut-") << QStringLiteral("\ue000 il est peut\u2011");
    QTest::newRow("a prime typed for an apostrophe")
        << QStringLiteral("aujourd\u2032h") << QStringLiteral("\ue000 aujourd\u02bch");
    QTest::newRow("after a space the next word is empty")
        << QStringLiteral("Il dit ") << QStringLiteral("\ue000 il dit ");
    QTest::newRow("decomposed accent composed")
        << QStringLiteral("e\u0301te\u0301") << QStringLiteral("\ue000 été");
  }
  void textToTheModel() {
    QFETCH(QString, text);
    QFETCH(QString, model);
    QCOMPARE(frenchtext::toModel(text), model);
  }

  // Texts answered one after the other, each showing the words after its "=", then the text
  // asked and whether a word is passed over there.
  void passedOver_data() {
    QTest::addColumn<QStringList>("answered");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("passed");
    using L = QStringList;
    QTest::newRow("a letter more") << L{"Je =suis|vais"} << "Je v"
                                   << "vais" << true;
    QTest::newRow("letters more, words of every step")
        << L{"Je =vais", "Je v=veux", "Je ve=vends"} << "Je ven"
        << "vais" << true;
    QTest::newRow("letter case does not count") << L{"J=Je"} << "Je"
                                                << "je" << true;
    QTest::newRow("the same text asked again") << L{"Je =vais"} << "Je "
                                               << "vais" << false;
    QTest::newRow("a space ends the word") << L{"Je v=vais"} << "Je v "
                                           << "vais" << false;
    QTest::newRow("a suggestion taken") << L{"Je v=vais"} << "Je vais "
                                        << "vais" << false;
    QTest::newRow("a letter taken back") << L{"Je =vais", "Je v=veux"} << "Je "
                                         << "vais" << false;
    QTest::newRow("a comma ends the word") << L{"Oui=oui"} << "Oui,"
                                           << "oui" << false;
    QTest::newRow("an apostrophe goes on") << L{"j=j'ai"} << "j'"
                                           << "j'ai" << true;
    QTest::newRow("never shown") << L{"Je =suis"} << "Je v"
                                 << "vais" << false;
  }
  void passedOver() {
    QFETCH(QStringList, answered);
    QFETCH(QString, text);
    QFETCH(QString, word);
    QFETCH(bool, passed);
    PassedOver p;
    for (const QString& a : answered) {
      p.moveTo(a.section(QLatin1Char('='), 0, 0));
      p.shown(a.section(QLatin1Char('='), 1).split(QLatin1Char('|')));
    }
    p.moveTo(text);
    QCOMPARE(p.contains(word), passed);
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
    // One capital is a capital word, not a word in capitals.
    QTest::newRow("one capital typed: a capital") << "Il dit B"
                                                  << "bonjour"
                                                  << "Bonjour" << 1 << "Bonjour ";
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
    // The model's hyphen is no character of the board file: the plain one is written.
    QTest::newRow("a hyphenated word with a plain hyphen")
        << "Il dit peu" << QStringLiteral("peut\u2011être") << "peut-être" << 3 << "peut-être ";
    QTest::newRow("a hyphenated word after an elision")
        << "Qu'" << QStringLiteral("est\u2011ce") << "est-ce" << 0 << "est-ce ";
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
    QTest::newRow("a hyphenated word with a plain hyphen")
        << QStringLiteral("C'est peu") << "peut-être";
  }
  void predictorRestoresWhatItOffers() {
    QFETCH(QString, text);
    QFETCH(QString, first);
    PresagePredictor p(FModel, FDir.filePath(QStringLiteral("restore.db")));
    const QStringList words = ask(p, 1, text);
    QVERIFY2(!words.isEmpty() && words.first() == first, qPrintable(words.join(',')));
  }

  // An elided word is offered alone (for every word that may follow it) and, below it, with the
  // word likeliest after it, so that "j'ai" costs one choice instead of two.
  void elidedWordComesAloneAndWithTheNextWord_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("alone");
    QTest::addColumn<QString>("pair");
    QTest::newRow("its first letter typed")
        << "Et j" << QStringLiteral("j'") << QStringLiteral("j'ai");
    QTest::newRow("at a phrase start") << "J" << QStringLiteral("J'") << QStringLiteral("J'ai");
    QTest::newRow("nothing typed yet")
        << "faim et " << QStringLiteral("j'") << QStringLiteral("j'ai");
  }
  void elidedWordComesAloneAndWithTheNextWord() {
    QFETCH(QString, text);
    QFETCH(QString, alone);
    QFETCH(QString, pair);
    PresagePredictor p(FModel, FDir.filePath(QStringLiteral("pair.db")));
    const QStringList words = ask(p, 1, text);
    QVERIFY2(words.contains(alone) && words.contains(pair) &&
                 words.indexOf(alone) < words.indexOf(pair),
             qPrintable(words.join(',')));
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

  // The worker has already answered the first request when the second is made: its answer
  // arrives after, and must not be shown.
  void anAnswerOvertakenIsDropped() {
    PresagePredictor p(FModel, FDir.filePath(QStringLiteral("overtaken.db")));
    QCOMPARE(ask(p, 1, QStringLiteral("bo")).value(0), QStringLiteral("Bonjour"));
    QSignalSpy spy(&p, &WordPredictor::suggestions);
    p.request(2, QStringLiteral("Il dit bo"));
    QThread::msleep(1000); // the worker answers; the answer waits in this thread's queue
    p.request(3, QStringLiteral("dé"));
    QVERIFY(spy.wait(5000));
    QTest::qWait(200);
    QCOMPARE(spy.size(), 1);
    QCOMPARE(spy.first().at(0).toInt(), 3);
  }

  void anAnswerHoldsAsManyWordsAsAsked_data() {
    QTest::addColumn<int>("asked");
    QTest::addColumn<int>("held");
    QTest::newRow("one") << 1 << 1;
    QTest::newRow("five") << 5 << 5;
    QTest::newRow("the most") << WordPredictor::kMostSuggestions << WordPredictor::kMostSuggestions;
    QTest::newRow("more than the most")
        << WordPredictor::kMostSuggestions + 1 << WordPredictor::kMostSuggestions;
  }
  void anAnswerHoldsAsManyWordsAsAsked() {
    QFETCH(int, asked);
    QFETCH(int, held);
    PresagePredictor p(FModel, FDir.filePath(QStringLiteral("count.db")));
    p.setSuggestionCount(asked);
    // The model knows more words than the most asked for.
    QCOMPARE(ask(p, 1, QStringLiteral("Il ")).size(), held);
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
    QTest::newRow("a folder") << "folder" << WordPredictor::Status::ModelDamaged;
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
    } else if (content == QLatin1String("folder")) {
      QVERIFY(QDir().mkpath(path));
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
      QCOMPARE(ask(p, 1, QStringLiteral("Un bo")).value(0), QStringLiteral("bonjour"));
      p.learn(QStringLiteral("Un bonhomme de neige."));
      QCOMPARE(ask(p, 2, QStringLiteral("Un bo")).value(0), QStringLiteral("bonhomme"));
      // Said once, the word comes first where it was said, not wherever its letters start:
      // elsewhere the model's likeliest word keeps its place.
      QCOMPARE(ask(p, 3, QStringLiteral("Il dit bo")).value(0), QStringLiteral("bonjour"));
    }
    // Kept in the person's file for the next session; forgetting clears it.
    PresagePredictor again(FModel, user);
    QCOMPARE(ask(again, 1, QStringLiteral("Un bo")).value(0), QStringLiteral("bonhomme"));
    QVERIFY(again.forgetLearned().ok());
    QVERIFY(!ask(again, 2, QStringLiteral("Un bo")).contains(QStringLiteral("bonhomme")));
  }
};

ORIVOX_TEST(PredictionTest)
#include "PredictionTest.moc"

// The French words a carer types, searched in the real built-in set as the program finds it
// beside itself: each must bring its picture among the first results.
#include "pictures/PictureCatalogue.h"
#include "support/TestRegistry.h"

#include <QtTest>

namespace {
QString shown(const std::vector<PictureEntry>& entries) {
  QStringList out;
  for (const PictureEntry& e : entries)
    out << e.hexcode + " " + e.emoji + " " + e.name;
  return out.join(QStringLiteral("; "));
}
} // namespace

class BuiltInSetTest : public QObject {
  Q_OBJECT
  PictureCatalogue FCatalogue;

private slots:
  void initTestCase() {
    const auto result = FCatalogue.load(PictureCatalogue::defaultFolder());
    // Never skipped: without the set these tests would prove nothing.
    QVERIFY2(result.ok(), qPrintable(result.errorString() +
                                     "\nRun scripts/fetch-pictures.sh (./test and ./run do), "
                                     "then build again."));
    QCOMPARE(result.skippedLines(), 0);
    QVERIFY2(FCatalogue.size() > 4000, qPrintable(QString::number(FCatalogue.size())));
  }

  void everySearchedPictureIsThere() {
    for (const PictureEntry& e : FCatalogue.search(QStringLiteral("eau"), 50))
      QVERIFY2(QFile::exists(e.path), qPrintable(e.path));
  }

  void words_data() {
    QTest::addColumn<QString>("query");
    QTest::addColumn<int>("within");
    QTest::addColumn<QStringList>("oneOf");
    QTest::newRow("eau") << "eau" << 3 << QStringList{"1F6B0", "1F4A7"};
    QTest::newRow("boire") << "boire" << 3 << QStringList{"1F6B0", "1F964"};
    QTest::newRow("manger") << "manger" << 3 << QStringList{"1F37D", "1F374"};
    QTest::newRow("dormir") << "dormir" << 3 << QStringList{"1F6CC", "1F634", "1F6CF"};
    QTest::newRow("toilettes") << "toilettes" << 1 << QStringList{"1F6BD"};
    QTest::newRow("toilette, singular") << "toilette" << 3 << QStringList{"1F6BD"};
    QTest::newRow("mal") << "mal" << 1 << QStringList{"1F915"};
    QTest::newRow("mal au ventre") << "mal au ventre" << 1 << QStringList{"E313"};
    QTest::newRow("content") << "content" << 3 << QStringList{"1F642", "1F600", "1F60A"};
    QTest::newRow("triste") << "triste" << 3 << QStringList{"2639", "1F622"};
    // What a person needs to say most: needs, feelings, people, yes and no.
    QTest::newRow("soif") << "soif" << 3 << QStringList{"1F6B0", "1F964"};
    QTest::newRow("faim") << "faim" << 3 << QStringList{"1F37D", "1F60B"};
    QTest::newRow("froid") << "froid" << 3 << QStringList{"1F976", "1F9CA"};
    QTest::newRow("chaud") << "chaud" << 3 << QStringList{"1F975", "2615"};
    QTest::newRow("fatigué") << "fatigué" << 3 << QStringList{"1F634", "1F62B", "E280"};
    QTest::newRow("peur") << "peur" << 3 << QStringList{"1F628", "1F631"};
    QTest::newRow("colère") << "colère" << 3 << QStringList{"1F620", "1F4A2"};
    QTest::newRow("aide") << "aide" << 3 << QStringList{"1F198", "E083"};
    QTest::newRow("malade") << "malade" << 3 << QStringList{"1F912"};
    QTest::newRow("mal de tête") << "mal de tête" << 1 << QStringList{"E31D"};
    QTest::newRow("médecin") << "médecin" << 3
                             << QStringList{"E300", "E301", "1F9D1-200D-2695-FE0F"};
    QTest::newRow("pipi") << "pipi" << 1 << QStringList{"1F6BD"};
    QTest::newRow("douche") << "douche" << 1 << QStringList{"1F6BF"};
    QTest::newRow("lit") << "lit" << 3 << QStringList{"1F6CF", "1F6CC"};
    QTest::newRow("maman") << "maman" << 3 << QStringList{"1F469"};
    QTest::newRow("papa") << "papa" << 3 << QStringList{"1F468"};
    QTest::newRow("musique") << "musique" << 3 << QStringList{"1F3B5", "1F3B6", "1F3A7"};
    QTest::newRow("oui") << "oui" << 3 << QStringList{"1F44D", "2714", "2705"};
    QTest::newRow("non") << "non" << 1 << QStringList{"1F44E"};
    QTest::newRow("stop") << "stop" << 3 << QStringList{"1F6D1", "270B"};
    QTest::newRow("fenetre without accent") << "fenetre" << 1 << QStringList{"1FA9F"};
    QTest::newRow("FENÊTRE in capitals") << "FENÊTRE" << 1 << QStringList{"1FA9F"};
    QTest::newRow("oeil with the ligature written out") << "oeil" << 3 << QStringList{"1F441"};
    QTest::newRow("pommes, plural") << "pommes" << 3 << QStringList{"1F34E", "1F34F"};
    QTest::newRow("grand mere without hyphen") << "grand mere" << 1 << QStringList{"1F475"};
    QTest::newRow("s'il vous plait") << "s'il vous plait" << 1 << QStringList{"1F64F"};
    QTest::newRow("chien") << "chien" << 3 << QStringList{"1F415", "1F436"};
    QTest::newRow("voiture") << "voiture" << 3 << QStringList{"1F697"};
    QTest::newRow("tele, typed half") << "tele" << 3 << QStringList{"1F4FA"};
  }
  void words() {
    QFETCH(QString, query);
    QFETCH(int, within);
    QFETCH(QStringList, oneOf);
    const auto found = FCatalogue.search(query, within);
    bool hit = false;
    for (const PictureEntry& e : found)
      hit = hit || oneOf.contains(e.hexcode);
    QVERIFY2(hit, qPrintable(query + " found: " + shown(found)));
  }

  void buttonTexts_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("oneOf");
    QTest::newRow("J'ai soif") << "J'ai soif" << QStringList{"1F6B0", "1F964"};
    QTest::newRow("Je veux manger") << "Je veux manger" << QStringList{"1F37D", "1F374"};
    QTest::newRow("Je veux dormir") << "Je veux dormir" << QStringList{"1F6CC", "1F634", "1F6CF"};
    QTest::newRow("J'ai mal au ventre") << "J'ai mal au ventre" << QStringList{"E313"};
    QTest::newRow("Je suis content") << "Je suis content" << QStringList{"1F642", "1F600", "1F60A"};
    QTest::newRow("Je ne suis pas content")
        << "Je ne suis pas content" << QStringList{"2639", "1F620"};
    QTest::newRow("aux toilettes") << "Je veux aller aux toilettes" << QStringList{"1F6BD"};
    QTest::newRow("Ouvre la fenêtre") << "Ouvre la fenêtre" << QStringList{"1FA9F"};
    QTest::newRow("Bonjour") << "Bonjour" << QStringList{"1F44B"};
    QTest::newRow("Merci") << "Merci" << QStringList{"1F64F"};
    QTest::newRow("Ça va, nothing but stop words") << "Ça va" << QStringList{"1F642"};
    QTest::newRow("Je ne sais pas") << "Je ne sais pas" << QStringList{"1F937"};
  }
  void buttonTexts() {
    QFETCH(QString, text);
    QFETCH(QStringList, oneOf);
    const auto match = FCatalogue.bestMatch(text);
    QVERIFY2(match && oneOf.contains(match->hexcode),
             qPrintable(text + " found: " + (match ? shown({*match}) : QString("nothing"))));
  }
};

ORIVOX_TEST(BuiltInSetTest)
#include "BuiltInSetTest.moc"

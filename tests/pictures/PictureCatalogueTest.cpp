// The picture search on a small index of our own: folding of French words, the order of the
// results, damaged lines and damaged or missing indexes, and the choice for a button's text.
#include "pictures/PictureCatalogue.h"
#include "pictures/WordFolding.h"
#include "support/TestRegistry.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString kFixture = QStringLiteral(ORIVOX_TEST_DATA "/pictures");

QStringList hexcodes(const std::vector<PictureEntry>& entries) {
  QStringList out;
  for (const PictureEntry& e : entries)
    out << e.hexcode;
  return out;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}
} // namespace

class PictureCatalogueTest : public QObject {
  Q_OBJECT
  PictureCatalogue FCatalogue;

private slots:
  void initTestCase() {
    const auto result = FCatalogue.load(kFixture);
    QVERIFY2(result.ok(), qPrintable(result.errorString()));
  }

  void fold_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("words");
    QTest::newRow("case and accents") << "FENÊTRE Élève" << QStringList{"fenetre", "eleve"};
    QTest::newRow("ligatures") << "Œuf cœur Æther" << QStringList{"oeuf", "coeur", "aether"};
    QTest::newRow("apostrophes of every kind")
        << "J'ai l’œil aujourdʼhui" << QStringList{"j", "ai", "l", "oeil", "aujourd", "hui"};
    QTest::newRow("hyphens and punctuation")
        << "porte-monnaie, grand‑mère !" << QStringList{"porte", "monnaie", "grand", "mere"};
    QTest::newRow("decomposed accents")
        << QString::fromUtf8("e\xCC\x81te\xCC\x81") << QStringList{"ete"};
    QTest::newRow("compatibility forms") << QString::fromUtf8("\xEF\xAC\x81n") // the ﬁ ligature
                                         << QStringList{"fin"};
    QTest::newRow("nothing but separators") << "  ' - … " << QStringList{};
  }
  void fold() {
    QFETCH(QString, text);
    QFETCH(QStringList, words);
    QCOMPARE(wordfolding::words(text), words);
  }

  void load() {
    QCOMPARE(FCatalogue.size(), 12);
    // The line without columns, the one whose hexcode would leave the folder, the repeat.
    PictureCatalogue c;
    QCOMPARE(c.load(kFixture).skippedLines(), 3);
    const auto found = FCatalogue.search(QStringLiteral("chat"), 1);
    QCOMPARE(found.size(), std::size_t(1));
    QCOMPARE(found[0].path, kFixture + "/1F408.svg");
    QCOMPARE(found[0].name, QStringLiteral("chat"));
    QCOMPARE(found[0].emoji, QStringLiteral("🐈"));
    QVERIFY(FCatalogue.search(QStringLiteral("passwd"), 5).empty());
    QVERIFY(FCatalogue.search(QStringLiteral("doublon"), 5).empty());
  }

  void search_data() {
    QTest::addColumn<QString>("query");
    QTest::addColumn<int>("max");
    QTest::addColumn<QStringList>("found");
    QTest::newRow("whole word before word start, whatever the order of the set")
        << "chat" << 5 << QStringList{"1F408", "1F3F0"};
    QTest::newRow("own words, then the spoken name, shorter first, then keywords")
        << "maison" << 5 << QStringList{"E000", "1F3E0", "1F3E1", "1F6D6"};
    QTest::newRow("at most max") << "maison" << 2 << QStringList{"E000", "1F3E0"};
    QTest::newRow("every word must match") << "maison jardin" << 5 << QStringList{"1F3E1"};
    QTest::newRow("the picture before its skin-tone variant")
        << "pouce" << 5 << QStringList{"1F44D", "1F44D-1F3FB"};
    QTest::newRow("our own word") << "oui" << 5 << QStringList{"1F44D"};
    QTest::newRow("capitals and ligature") << "ŒUF" << 5 << QStringList{"1F95A"};
    QTest::newRow("ligature written out") << "oeuf" << 5 << QStringList{"1F95A"};
    QTest::newRow("hyphen as a space") << "petit dejeuner" << 5 << QStringList{"1F95A"};
    QTest::newRow("space as a hyphen") << "porte-monnaie" << 5 << QStringList{"1F45B"};
    QTest::newRow("elided article and curly apostrophe") << "l’œil" << 5 << QStringList{"1F441"};
    QTest::newRow("a plural finds its singular") << "chats" << 5 << QStringList{"1F408"};
    QTest::newRow("a word being typed") << "fourch" << 5 << QStringList{"1F37D"};
    QTest::newRow("a name of our own words alone") << "chez" << 5 << QStringList{"E000"};
    QTest::newRow("empty query") << "" << 5 << QStringList{};
    QTest::newRow("nothing but separators") << " '-, " << 5 << QStringList{};
    QTest::newRow("no room") << "chat" << 0 << QStringList{};
    QTest::newRow("no such word") << "girafe" << 5 << QStringList{};
  }
  void search() {
    QFETCH(QString, query);
    QFETCH(int, max);
    QFETCH(QStringList, found);
    QCOMPARE(hexcodes(FCatalogue.search(query, max)), found);
  }

  void bestMatch_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("found");
    QTest::newRow("stop words left out") << "Je veux manger"
                                         << "1F37D";
    QTest::newRow("the words together") << "la maison avec un jardin"
                                        << "1F3E1";
    QTest::newRow("else the best word alone") << "le chat et la fourchette"
                                              << "1F408";
    QTest::newRow("a word start when no whole word") << "fourchettes"
                                                     << "1F37D";
    QTest::newRow("nothing but stop words") << "je le la"
                                            << "";
    QTest::newRow("empty text") << ""
                                << "";
    QTest::newRow("a short word start means nothing") << "ch"
                                                      << "";
  }
  void bestMatch() {
    QFETCH(QString, text);
    QFETCH(QString, found);
    const auto match = FCatalogue.bestMatch(text);
    QCOMPARE(match ? match->hexcode : QString(), found);
  }

  void damagedIndexes_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("not an index") << QByteArray("hexcode\temoji\n1F408\t\tchat\t\t\n");
    QTest::newRow("not UTF-8") << QByteArray("# orivox-pictures 1\n1F408\t\tch\xE2t\t\t\n");
    QTest::newRow("a later format") << QByteArray("# orivox-pictures 2\n1F408\t\tchat\t\t\n");
  }
  void damagedIndexes() {
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("index.tsv"), bytes));
    PictureCatalogue c;
    QVERIFY(c.load(kFixture).ok());
    const auto result = c.load(dir.path());
    QCOMPARE(result.status(), PictureCatalogue::LoadResult::Status::Damaged);
    QCOMPARE(result.errorString(), "Les images intégrées sont inutilisables : le fichier « " +
                                       dir.path() + "/index.tsv » est endommagé.");
    // What was loaded before is gone, not mixed with the damaged index.
    QCOMPARE(c.size(), 0);
    QVERIFY(c.search(QStringLiteral("chat"), 5).empty());
  }

  void oversizedIndex() {
    QTemporaryDir dir;
    QFile f(dir.filePath("index.tsv"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(PictureCatalogue::kIndexHeader.toUtf8() + "\n");
    QVERIFY(f.resize(PictureCatalogue::kMaxIndexBytes + 1));
    f.close();
    PictureCatalogue c;
    QCOMPARE(c.load(dir.path()).status(), PictureCatalogue::LoadResult::Status::Damaged);
  }

  void missingSet() {
    QTemporaryDir dir;
    PictureCatalogue c;
    const auto result = c.load(dir.filePath("pictures"));
    QCOMPARE(result.status(), PictureCatalogue::LoadResult::Status::Missing);
    QCOMPARE(result.errorString(), "Les images intégrées ne sont pas installées : le fichier « " +
                                       dir.path() + "/pictures/index.tsv » est introuvable.");
    QCOMPARE(c.size(), 0);
    QVERIFY(!c.bestMatch(QStringLiteral("chat")));
  }

  void windowsLineEnds() {
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("index.tsv"),
                      "# orivox-pictures 1\r\n1F408\t\tchat\tanimal\tminou\r\n"));
    PictureCatalogue c;
    const auto result = c.load(dir.path());
    QVERIFY(result.ok());
    QCOMPARE(result.skippedLines(), 0);
    QCOMPARE(hexcodes(c.search(QStringLiteral("minou"), 5)), QStringList{"1F408"});
  }
};

ORIVOX_TEST(PictureCatalogueTest)
#include "PictureCatalogueTest.moc"

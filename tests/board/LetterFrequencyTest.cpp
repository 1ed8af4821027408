// The cheapest-cell order of a letter tab, on the plain functions: which cells row-column
// scanning reaches first, and which texts go there.
#include "board/LetterFrequency.h"
#include "support/TestRegistry.h"

#include <QTest>

using IntList = QList<int>;

class LetterFrequencyTest : public QObject {
  Q_OBJECT
private slots:
  // Cell numbers in reading order; a cell (row, column) costs row + column steps, and among
  // cells of one cost the upper row comes first.
  void cellsByCost_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("columns");
    QTest::addColumn<IntList>("cells");
    QTest::newRow("two full rows") << 6 << 3 << IntList{0, 1, 3, 2, 4, 5};
    QTest::newRow("a short last row") << 5 << 3 << IntList{0, 1, 3, 2, 4};
    QTest::newRow("two columns") << 7 << 2 << IntList{0, 1, 2, 3, 4, 5, 6};
    QTest::newRow("one column") << 3 << 1 << IntList{0, 1, 2};
    QTest::newRow("no columns given: one row") << 4 << 0 << IntList{0, 1, 2, 3};
    QTest::newRow("more columns than texts") << 3 << 8 << IntList{0, 1, 2};
    QTest::newRow("nothing") << 0 << 4 << IntList{};
  }
  void cellsByCost() {
    QFETCH(int, count);
    QFETCH(int, columns);
    QFETCH(IntList, cells);
    const std::vector<int> got = letterfrequency::cellsByCost(count, columns);
    QCOMPARE(IntList(got.begin(), got.end()), cells);
  }

  // The texts as the grid reads them after ordering.
  void frequencyOrder_data() {
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("columns");
    QTest::addColumn<QStringList>("placed");
    QTest::newRow("the space before every letter")
        << QStringList{"a", "b", " ", "e"} << 2 << QStringList{" ", "e", "a", "b"};
    // e before a before b; the second cell of the first row and the first of the second cost
    // the same: the upper one takes the more frequent text.
    QTest::newRow("capitals count as their letters")
        << QStringList{"B", "A", "E"} << 0 << QStringList{"E", "A", "B"};
    QTest::newRow("accents and signs known")
        << QStringList{"ù", ",", "é", "k"} << 0 << QStringList{",", "é", "k", "ù"};
    QTest::newRow("equal frequencies keep their order")
        << QStringList{"v", "h", "f"} << 0 << QStringList{"v", "h", "f"};
    // Cells 2 to 5 are left: by cost they would be taken 3, 2, 4, 5; unknown texts cost the
    // same anywhere and keep their reading order.
    QTest::newRow("unknown texts after, in their order")
        << QStringList{"x1", "e", "2", "a", "@", "x4"} << 3
        << QStringList{"e", "a", "x1", "2", "@", "x4"};
    QTest::newRow("nothing known changes nothing")
        << QStringList{"Bonjour", "1", "2"} << 2 << QStringList{"Bonjour", "1", "2"};
  }
  void frequencyOrder() {
    QFETCH(QStringList, texts);
    QFETCH(int, columns);
    QFETCH(QStringList, placed);
    QStringList got;
    for (int i : letterfrequency::frequencyOrder(texts, columns))
      got << texts.at(i);
    QCOMPARE(got, placed);
  }

  void mostlySingleCharacters_data() {
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<bool>("letters");
    QTest::newRow("letters") << QStringList{"a", "b", " "} << true;
    QTest::newRow("letters and a word") << QStringList{"a", "b", "Merci"} << true;
    QTest::newRow("half words") << QStringList{"a", "b", "Oui", "Non"} << false;
    QTest::newRow("one letter alone") << QStringList{"a"} << false;
    QTest::newRow("empty") << QStringList{} << false;
  }
  void mostlySingleCharacters() {
    QFETCH(QStringList, texts);
    QFETCH(bool, letters);
    QCOMPARE(letterfrequency::mostlySingleCharacters(texts), letters);
  }
};

ORIVOX_TEST(LetterFrequencyTest)
#include "LetterFrequencyTest.moc"

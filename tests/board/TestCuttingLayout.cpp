// The cutting of texts into pieces and the placement of buttons, as plain arithmetic.
#include "board/ButtonLayout.h"
#include "board/TextCutting.h"
#include "support/TestRegistry.h"

#include <QRandomGenerator>
#include <QRect>
#include <QtTest>

using buttonlayout::Input;
using Points = std::vector<QPoint>;
Q_DECLARE_METATYPE(Points)

namespace {
int sixPerChar(const QString& s) {
  return int(s.size()) * 6;
}

std::vector<QSize> sameSizes(int count, int w, int h) {
  return std::vector<QSize>(size_t(count), QSize(w, h));
}
} // namespace

class TestCuttingLayout : public QObject {
  Q_OBJECT
private slots:
  void cut_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("tabWidth");
    QTest::addColumn<QList<int>>("lengths");
    // On a 400 px tab control a piece fits while 6 * length + 16 < 365: at most 58 characters.
    QTest::newRow("fits") << "court" << 400 << QList<int>{5};
    QTest::newRow("exactly the longest") << QString(58, 'x') << 400 << QList<int>{58};
    QTest::newRow("one too many") << QString(59, 'x') << 400 << QList<int>{58, 1};
    QTest::newRow("three pieces") << QString(130, 'y') << 400 << QList<int>{58, 58, 14};
    QTest::newRow("empty") << QString() << 400 << QList<int>{0};
    QTest::newRow("too narrow for a character") << "abc" << 40 << QList<int>{1, 1, 1};
    QTest::newRow("zero width page") << "ab" << 0 << QList<int>{1, 1};
  }
  void cut() {
    QFETCH(QString, text);
    QFETCH(int, tabWidth);
    QFETCH(QList<int>, lengths);
    const QStringList pieces = textcutting::cutText(text, tabWidth, sixPerChar);
    QList<int> got;
    for (const QString& p : pieces)
      got << int(p.size());
    QCOMPARE(got, lengths);
    QCOMPARE(pieces.join(QString()), text);
    // Cutting from the prefix widths measured once gives the same pieces.
    std::vector<int> prefix(size_t(text.size()) + 1);
    for (int i = 0; i <= text.size(); ++i)
      prefix[size_t(i)] = sixPerChar(text.left(i));
    QCOMPARE(textcutting::cutTextByPrefixWidths(text, tabWidth, prefix), pieces);
  }

  void cutKeepsSurrogatePairsWhole() {
    const QString smiles = QString::fromUtf8("\xF0\x9F\x98\x80\xF0\x9F\x98\x80");
    const QStringList pieces = textcutting::cutText(smiles, 10, sixPerChar);
    QCOMPARE(pieces.size(), 2);
    QCOMPARE(pieces.join(QString()), smiles);
  }

  void cutTakesTheLongestFittingPrefixEvenWhenWidthsDip() {
    // A width function that is not monotonic: "ab" is wider than "abc".
    auto odd = [](const QString& s) { return s == QLatin1String("ab") ? 1000 : int(s.size()); };
    QCOMPARE(textcutting::cutText("abcd", 55, odd), (QStringList{"abc", "d"}));
  }

  void texts_data() {
    QTest::addColumn<int>("W");
    QTest::addColumn<QList<int>>("widths");
    QTest::addColumn<Points>("expected");
    QTest::newRow("one row") << 200 << QList<int>{50, 50, 50} << Points{{5, 5}, {60, 5}, {115, 5}};
    QTest::newRow("wraps") << 200 << QList<int>{50, 50, 50, 50}
                           << Points{{5, 5}, {60, 5}, {115, 5}, {5, 30}};
    // A button continues the row while 5 + 50 + 5 + width + 10 < W - 1.
    QTest::newRow("edge fits") << 200 << QList<int>{50, 128} << Points{{5, 5}, {60, 5}};
    QTest::newRow("edge wraps") << 200 << QList<int>{50, 129} << Points{{5, 5}, {5, 30}};
    QTest::newRow("wider than the page") << 100 << QList<int>{300, 10} << Points{{5, 5}, {5, 30}};
  }
  void texts() {
    QFETCH(int, W);
    QFETCH(QList<int>, widths);
    QFETCH(Points, expected);
    Input in;
    in.tabControlWidth = W;
    in.pageHeight = 400;
    for (int w : widths)
      in.texts.push_back(QSize(w, 20));
    in.reserved = sameSizes(7, 40, 20);
    const auto out = buttonlayout::arrange(in);
    QCOMPARE(out.texts, expected);
    QCOMPARE(out.textsBottom, expected.back().y() + 25);
  }

  void grid_data() {
    QTest::addColumn<int>("W");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("texts");
    QTest::addColumn<Points>("expected");
    QTest::addColumn<QList<int>>("rowStarts"); // first button of each row, texts then reserved
    // 3 columns on 200 px: cells of (200 - 35 - 10) / 3 = 51 px, at 5, 61 and 117.
    QTest::newRow("two rows of three")
        << 200 << 3 << 5 << Points{{5, 5}, {61, 5}, {117, 5}, {5, 30}, {61, 30}}
        << QList<int>{0, 3, 5};
    // The widths given are ignored: every text takes one cell.
    QTest::newRow("one column") << 400 << 1 << 2 << Points{{5, 5}, {5, 30}} << QList<int>{0, 1, 2};
    QTest::newRow("no texts") << 500 << 6 << 0 << Points{} << QList<int>{0};
  }
  void grid() {
    QFETCH(int, W);
    QFETCH(int, columns);
    QFETCH(int, texts);
    QFETCH(Points, expected);
    QFETCH(QList<int>, rowStarts);
    Input in;
    in.tabControlWidth = W;
    in.pageHeight = 400;
    in.gridColumns = columns;
    for (int i = 0; i < texts; ++i)
      in.texts.push_back(QSize(10 + 40 * i, 20));
    in.reserved = sameSizes(7, 10, 20);
    const auto out = buttonlayout::arrange(in);
    QCOMPARE(out.texts, expected);
    QList<int> starts;
    int next = 0;
    for (const buttonlayout::Row& r : out.rows) {
      QCOMPARE(r.first, next); // rows follow one another over every button
      next += r.count;
      starts << r.first;
    }
    QCOMPARE(next, texts + 7);
    QCOMPARE(starts, rowStarts);
    // The last cell ends where the reserved row does, 30 px from the right.
    const int cell = buttonlayout::gridCellWidth(W, columns);
    if (texts >= columns)
      QVERIFY(expected[columns - 1].x() + cell <= W - 30);
    // A piece cut for the grid's cutting width fills at most one cell.
    const int cutting = buttonlayout::gridCuttingWidth(W, columns);
    QVERIFY(textcutting::pieceFits(cell - 16, cutting));
    QVERIFY(!textcutting::pieceFits(cell - 15, cutting));
  }

  void fittedFontScale_data() {
    QTest::addColumn<int>("cell");
    QTest::addColumn<QList<int>>("widths");
    QTest::addColumn<double>("scale");
    // 116 px of room in a 132 px cell.
    QTest::newRow("widest fitting text decides") << 132 << QList<int>{10, 29} << 3.6;
    QTest::newRow("texts cut anyway are ignored") << 132 << QList<int>{29, 500} << 3.6;
    QTest::newRow("capped") << 132 << QList<int>{1} << 9.0;
    QTest::newRow("never shrinks") << 132 << QList<int>{115} << 1.0;
    QTest::newRow("no texts") << 132 << QList<int>{} << 9.0;
  }
  void fittedFontScale() {
    QFETCH(int, cell);
    QFETCH(QList<int>, widths);
    QFETCH(double, scale);
    QCOMPARE(
        buttonlayout::fittedFontScale(cell, std::vector<int>(widths.begin(), widths.end()), 10.0),
        scale);
  }

  void reserved_data() {
    QTest::addColumn<int>("W");
    QTest::addColumn<int>("H");
    QTest::addColumn<int>("P");
    QTest::addColumn<int>("textRows");    // text buttons of 20 px, one per row (width 300)
    QTest::addColumn<Points>("expected"); // ANNULATION ... SONNERIE
    QTest::newRow("wide page, bottom row")
        << 500 << 300 << 0 << 0 << Points{{160, 275}, {205, 275}, {250, 275}, {295, 275},
                                          {340, 275}, {385, 275}, {430, 275}};
    QTest::newRow("scrolled: under the texts")
        << 500 << 300 << 10 << 3
        << Points{{160, 80}, {205, 80}, {250, 80}, {295, 80}, {340, 80}, {385, 80}, {430, 80}};
    QTest::newRow("texts below the page bottom")
        << 500 << 50 << 0 << 3
        << Points{{160, 80}, {205, 80}, {250, 80}, {295, 80}, {340, 80}, {385, 80}, {430, 80}};
    // On 150 px only SONNERIE and RETOUR fit in the chain; the others wrap into two rows
    // above, right-aligned, a row taking buttons while its right edge is still positive.
    QTest::newRow("narrow page wraps above")
        << 150 << 300 << 0 << 0
        << Points{{35, 225}, {80, 225}, {-10, 250}, {35, 250}, {80, 250}, {35, 275}, {80, 275}};
    // One text row (B = 30) on a low page: the wrapped rows would cover it, so the block
    // moves down until the highest wrapped row starts at or below B.
    QTest::newRow("narrow page shifts down")
        << 150 << 80 << 0 << 1
        << Points{{35, 30}, {80, 30}, {-10, 55}, {35, 55}, {80, 55}, {35, 80}, {80, 80}};
  }
  void reserved() {
    QFETCH(int, W);
    QFETCH(int, H);
    QFETCH(int, P);
    QFETCH(int, textRows);
    QFETCH(Points, expected);
    Input in;
    in.tabControlWidth = W;
    in.pageHeight = H;
    in.scrollPosition = P;
    in.texts = sameSizes(textRows, W - 200 > 100 ? 300 : 150, 20);
    in.reserved = sameSizes(7, 40, 20);
    QCOMPARE(buttonlayout::arrange(in).reserved, expected);
  }

  void reservedAlwaysEndsBelowTheTextsWithoutOverlap() {
    QRandomGenerator rng(1234);
    for (int round = 0; round < 500; ++round) {
      Input in;
      in.tabControlWidth = rng.bounded(0, 900);
      in.pageHeight = rng.bounded(0, 600);
      in.scrollPosition = rng.bounded(0, 3) == 0 ? rng.bounded(1, 500) : 0;
      const int h = rng.bounded(1, 60);
      for (int i = rng.bounded(0, 40); i > 0; --i)
        in.texts.push_back(QSize(rng.bounded(10, 400), h));
      for (int i = 0; i < 7; ++i)
        in.reserved.push_back(QSize(rng.bounded(10, 200), h));
      const auto out = buttonlayout::arrange(in);
      for (size_t i = 0; i < 7; ++i) {
        QVERIFY(out.reserved[i].y() >= out.textsBottom);
        const QRect a(out.reserved[i], in.reserved[i]);
        for (size_t j = i + 1; j < 7; ++j)
          QVERIFY2(!a.intersects(QRect(out.reserved[j], in.reserved[j])),
                   qPrintable(QStringLiteral("round %1").arg(round)));
      }
    }
  }
};

ORIVOX_TEST(TestCuttingLayout)
#include "TestCuttingLayout.moc"

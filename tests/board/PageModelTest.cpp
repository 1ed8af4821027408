// The page's model alone: the carer's edits, cutting and joining, and the arithmetic of items,
// stepping and what is lit, over texts measured at 6 px a character.
#include "board/PageModel.h"
#include "SixPerChar.h"
#include "support/TestRegistry.h"

#include <QtTest>

namespace {

// On a 100 px tab control a piece fits while 6 * length + 16 < 65: at most 8 characters.
constexpr int kWidth = 100;
const QString kTwelve = QStringLiteral("abcdefghijkl"); // cut as "abcdefgh" + "ijkl"

// The texts as "piece+piece|text|…".
QString shape(const PageModel& m) {
  QStringList texts;
  for (int t = 0; t < m.textCount(); ++t) {
    QStringList pieces;
    const int first = m.firstPieceOfText(t);
    for (int k = first; k < first + m.piecesOfTextAt(first); ++k)
      pieces << m.pieceAt(k);
    texts << pieces.join(QLatin1Char('+'));
  }
  return texts.join(QLatin1Char('|'));
}

// Runs the operations, one a string: "add T a,b", "del T N", "set T text", "back T", "fwd T",
// "cut", "cut W", "join", "inv T", "cur I", "slots N".
void run(PageModel& m, const QStringList& ops) {
  SixPerChar measure;
  for (const QString& op : ops) {
    const QStringList w = op.split(QLatin1Char(' '));
    const int a = w.value(1).toInt();
    if (w[0] == "add")
      m.insertTexts(a, w.value(2).split(QLatin1Char(',')));
    else if (w[0] == "del")
      m.removeTexts(a, w.value(2).toInt());
    else if (w[0] == "set")
      m.setText(a, w.value(2));
    else if (w[0] == "back" || w[0] == "fwd")
      m.moveText(a, w[0] == "back");
    else if (w[0] == "cut")
      m.recutChangedTexts(w.size() > 1 ? a : kWidth, measure);
    else if (w[0] == "join")
      m.joinPieces();
    else if (w[0] == "inv")
      m.invalidateCut(a);
    else if (w[0] == "cur")
      m.setCurrentItem(a);
    else if (w[0] == "slots")
      m.setSuggestionSlots(a);
    else
      QFAIL(qPrintable("unknown operation " + op));
  }
}

} // namespace

class PageModelTest : public QObject {
  Q_OBJECT
private slots:
  // Each row starts from the texts "a", kTwelve and "b" cut for 100 px ("a|abcdefgh+ijkl|b"),
  // then runs its operations; what the model says it changed is what the page's buttons follow.
  void operations_data() {
    QTest::addColumn<QStringList>("ops");
    QTest::addColumn<QString>("texts");
    QTest::addColumn<int>("current");
    QTest::addColumn<QStringList>("said");
    const QString start = "a|abcdefgh+ijkl|b";
    QTest::newRow("nothing") << QStringList{} << start << -1 << QStringList{};
    QTest::newRow("add at the end") << QStringList{"add 3 c,d"} << start + "|c|d" << -1
                                    << QStringList{"replaced 4 0 2", "edited"};
    QTest::newRow("add past the end goes at the end")
        << QStringList{"add 99 c"} << start + "|c" << -1 << QStringList{"replaced 4 0 1", "edited"};
    QTest::newRow("add before a cut text: the current piece follows")
        << QStringList{"cur 2", "add 1 x"} << "a|x|abcdefgh+ijkl|b" << 3
        << QStringList{"replaced 1 0 1", "edited"};
    QTest::newRow("add a long text: one piece until cut")
        << QStringList{"add 0 " + kTwelve} << kTwelve + "|" + start << -1
        << QStringList{"replaced 0 0 1", "edited"};
    QTest::newRow("then cut: only the new text")
        << QStringList{"add 0 " + kTwelve, "cut"} << "abcdefgh+ijkl|" + start << -1
        << QStringList{"replaced 0 0 1", "edited", "replaced 0 1 2"};
    QTest::newRow("delete a cut text") << QStringList{"cur 4", "del 1 1"} << "a|b" << -1
                                       << QStringList{"replaced 1 2 0", "edited"};
    QTest::newRow("delete more than there are")
        << QStringList{"del 1 5"} << "a" << -1 << QStringList{"replaced 1 3 0", "edited"};
    QTest::newRow("delete past the end") << QStringList{"del 3 1"} << start << -1 << QStringList{};
    QTest::newRow("rename a cut text: whole until cut")
        << QStringList{"set 1 " + kTwelve + "mnop"} << "a|abcdefghijklmnop|b" << -1
        << QStringList{"replaced 1 2 1", "edited"};
    QTest::newRow("rename then cut")
        << QStringList{"set 1 " + kTwelve + "mnop", "cut"} << "a|abcdefgh+ijklmnop|b" << -1
        << QStringList{"replaced 1 2 1", "edited", "replaced 1 1 2"};
    QTest::newRow("move a cut text back") << QStringList{"back 1"} << "abcdefgh+ijkl|a|b" << -1
                                          << QStringList{"swapped 0 1 3", "edited"};
    QTest::newRow("move a cut text forward") << QStringList{"fwd 1"} << "a|b|abcdefgh+ijkl" << -1
                                             << QStringList{"swapped 1 3 4", "edited"};
    QTest::newRow("the first text back: nothing")
        << QStringList{"back 0"} << start << -1 << QStringList{};
    QTest::newRow("the last text forward: nothing")
        << QStringList{"fwd 2"} << start << -1 << QStringList{};
    QTest::newRow("join: the current piece is its text's first")
        << QStringList{"cur 2", "join"} << "a|" + kTwelve + "|b" << 1
        << QStringList{"replaced 1 2 1"};
    QTest::newRow("join, the current item a command after the texts")
        << QStringList{"cur 6", "join"} << "a|" + kTwelve + "|b" << 5
        << QStringList{"replaced 1 2 1"};
    QTest::newRow("cut again: nothing changed, nothing said")
        << QStringList{"cut"} << start << -1 << QStringList{};
    QTest::newRow("a text whose font changed is cut again")
        << QStringList{"inv 1", "cut"} << start << -1 << QStringList{"replaced 1 2 2"};
    QTest::newRow("a narrower page: a character a piece")
        << QStringList{"cur 4", "cut 60"} << "a|a+b+c+d+e+f+g+h+i+j+k+l|b" << 14
        << QStringList{"replaced 0 1 1", "replaced 1 2 12", "replaced 13 1 1"};
    QTest::newRow("suggestions before the buttons: the current item follows")
        << QStringList{"cur 4", "slots 2"} << start << 6 << QStringList{};
    QTest::newRow("suggestions go: the current item follows")
        << QStringList{"slots 2", "cur 6", "slots 0"} << start << 4 << QStringList{};
    QTest::newRow("the current suggestion goes: the page starts again")
        << QStringList{"slots 3", "cur 2", "slots 1"} << start << 11 << QStringList{};
  }
  void operations() {
    QFETCH(QStringList, ops);
    QFETCH(QString, texts);
    QFETCH(int, current);
    QFETCH(QStringList, said);
    PageModel m;
    run(m, {"add 0 a," + kTwelve + ",b", "cut"});
    QCOMPARE(shape(m), QString("a|abcdefgh+ijkl|b"));
    QStringList log;
    connect(&m, &PageModel::piecesReplaced, this, [&log](int first, int removed, int inserted) {
      log << QStringLiteral("replaced %1 %2 %3").arg(first).arg(removed).arg(inserted);
    });
    connect(&m, &PageModel::piecesSwapped, this, [&log](int first, int middle, int end) {
      log << QStringLiteral("swapped %1 %2 %3").arg(first).arg(middle).arg(end);
    });
    connect(&m, &PageModel::textsEdited, this, [&log] { log << QStringLiteral("edited"); });
    run(m, ops);
    QCOMPARE(shape(m), texts);
    QCOMPARE(m.currentItem(), current);
    QCOMPARE(log, said);
    // The flat index agrees with the texts whatever the operations.
    for (int k = 0; k < m.pieceCount(); ++k) {
      const int t = m.textOfPiece(k);
      QCOMPARE(m.firstPieceOf(k), m.firstPieceOfText(t));
      QCOMPARE(m.pieceNumber(k), k - m.firstPieceOfText(t) + 1);
      QCOMPARE(m.wholeTextAt(k), m.text(t));
    }
  }

  void defaultNamesCount() {
    PageModel m;
    m.insertTexts(0, {"a", "b", "c"});
    QCOMPARE(m.textCounter(), 3);
    m.removeTexts(0, 2);
    QCOMPARE(m.textCounter(), 1);
    m.removeTexts(0, 5);
    QCOMPARE(m.textCounter(), 0);
  }

  // Items: two suggestions, the texts "a" and kTwelve cut in two, then the seven commands.
  void items_data() {
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("startsItem");
    QTest::addColumn<bool>("command");
    QTest::newRow("a suggestion") << 0 << "mot" << true << false;
    QTest::newRow("an empty slot") << 1 << "" << true << false;
    QTest::newRow("a whole text") << 2 << "a" << true << false;
    QTest::newRow("a first piece") << 3 << kTwelve << true << false;
    QTest::newRow("a further piece") << 4 << kTwelve << false << false;
    QTest::newRow("the first command") << 5 << "ANNULATION" << true << true;
    QTest::newRow("the last command") << 11 << "SONNERIE" << true << true;
    QTest::newRow("past the end") << 12 << "" << true << false;
  }
  void items() {
    QFETCH(int, item);
    QFETCH(QString, text);
    QFETCH(bool, startsItem);
    QFETCH(bool, command);
    PageModel m;
    run(m, {"add 0 a," + kTwelve, "cut", "slots 2"});
    m.setSuggestions({"mot"});
    QCOMPARE(m.itemCount(), 12);
    QCOMPARE(m.textAt(item), text);
    QCOMPARE(m.startsItem(item), startsItem);
    QCOMPARE(PageModel::isCommand(m.kindAt(item)), command);
  }

  void steppingGoesRoundThePage() {
    PageModel m;
    run(m, {"add 0 a," + kTwelve, "cut"});
    QCOMPARE(m.nextItem(), -1); // no current item: no step
    m.resetCurrent();
    QCOMPARE(m.currentItem(), 9);
    QCOMPARE(m.nextItem(), 0);
    m.setCurrentItem(2);
    QCOMPARE(m.nextItem(), 3);
  }

  void litRows_data() {
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<int>>("heads");
    // One suggestion, "a", kTwelve in two pieces (items 2 and 3), "b", the commands from 5.
    QTest::newRow("a row from a suggestion") << 0 << 3 << QList<int>{0, 1, 2};
    QTest::newRow("a row from a further piece: its whole text") << 3 << 2 << QList<int>{2, 4};
    QTest::newRow("a row of commands") << 5 << 2 << QList<int>{5, 6};
    QTest::newRow("nothing lit") << -1 << 0 << QList<int>{};
    QTest::newRow("past the end") << 11 << 5 << QList<int>{11};
  }
  void litRows() {
    QFETCH(int, first);
    QFETCH(int, count);
    QFETCH(QList<int>, heads);
    PageModel m;
    run(m, {"add 0 a," + kTwelve + ",b", "cut", "slots 1"});
    const std::vector<int> lit = m.litHeads(first, count);
    QCOMPARE(QList<int>(lit.begin(), lit.end()), heads);
  }

  void cuttingEndsWhereNothingFits() {
    SixPerChar measure;
    const auto width = [&](const QString& s) { return measure.captionWidth(0, s); };
    const auto prefixes = [&](const QString& s) { return measure.captionPrefixWidths(0, s); };
    QCOMPARE(PageModel::cutPieces("abc", 10, width, prefixes), (QStringList{"a", "b", "c"}));
    QCOMPARE(PageModel::cutPieces(QString(), kWidth, width, prefixes), QStringList{QString()});
    // A pair of surrogates is never cut apart, even where it does not fit.
    const QString pair = QString::fromUtf8("\xF0\x9F\x98\x80");
    QCOMPARE(PageModel::fitPieces({"ab" + pair}, 10, width), (QStringList{"a", "b", pair}));
  }
};

ORIVOX_TEST(PageModelTest)
#include "PageModelTest.moc"

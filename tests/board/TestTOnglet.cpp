// The tab page as a widget: its texts, pieces, layout and the scanning highlight, on an
// offscreen tab control with text measured at fixed widths.
#include "board/TOnglet.h"
#include "support/Fakes.h"
#include "support/TestRegistry.h"

#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QtTest>
#include <memory>

using Points = std::vector<QPoint>;

namespace {

const QStringList kReserved{"ANNULATION", "SUPPRESSION", "VALIDATION", "AJOUT",
                            "CLEAR",      "RETOUR",      "SONNERIE"};

// What a page reads of its board, recording what the page says. The unselected font measures
// 6 px a character, the selected one (bold) 7 px.
class TestHost : public TOngletHost {
public:
  explicit TestHost(int charWidth) {
    measurer.charWidth = charWidth;
    unselected.color = clNavy;
    selected.color = clRed;
    selected.bold = true;
    selMeasure.setFont(selected);
    unselMeasure.setFont(unselected);
  }
  bool execMode() const override { return exec; }
  bool tabScanning() const override { return scanning; }
  bool allSelected() const override { return all; }
  int buttonHeight() const override { return 22; }
  const BoardFont& selectedFont() const override { return selected; }
  const BoardFont& unselectedFont() const override { return unselected; }
  TMeasureLabel& selectedMeasure() override { return selMeasure; }
  TMeasureLabel& unselectedMeasure() override { return unselMeasure; }
  TMeasureLabel& measureLabel() override { return anyMeasure; }
  void listenTo(TOnglet* page) {
    QObject::connect(page, &TOnglet::textChosen, page, [this](TTextButton* b) { current = b; });
    QObject::connect(page, &TOnglet::textNameShown, page,
                     [this](const QString& t) { nameField << t; });
    QObject::connect(page, &TOnglet::textNameAttached, page, [this](bool a) { attached << a; });
    QObject::connect(page, &TOnglet::textNameEnabled, page, [this] { ++enabled; });
  }

  FixedWidthMeasurer measurer;
  BoardFont selected, unselected;
  TMeasureLabel selMeasure{&measurer}, unselMeasure{&measurer}, anyMeasure{&measurer};
  bool exec = true, scanning = false, all = false;
  TTextButton* current = nullptr;
  QStringList nameField;
  QList<bool> attached;
  int enabled = 0;
};

// A page alone in a tab control 300 px high (400 px wide unless told), shown offscreen.
struct Board {
  explicit Board(bool exec, int charWidth = 6, int width = 400) : host(charWidth) {
    host.exec = exec;
    tabs.resize(width, 300);
    page = new TOnglet(&tabs, &host);
    host.listenTo(page);
  }
  void show() {
    tabs.addTab(page, QStringLiteral("Page"));
    tabs.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tabs));
  }
  // The way the main window fills a page in execution mode.
  void fill(const QStringList& texts) {
    for (const QString& t : texts)
      page->AddText(true, t, false);
    page->ApplyUnselectedFont();
    page->SplitAllTexts();
    page->ArrangeButtons();
  }
  QStringList captions() const {
    QStringList c;
    for (int i = 0; i < page->GetButtonCount(); ++i)
      c << page->GetButtonCaption(i);
    return c;
  }
  int viewportHeight() const { return page->scrollArea()->viewport()->height(); }

  TestHost host;
  QTabWidget tabs;
  TOnglet* page;
};

// Everything a user could see of the buttons, and the piece lists.
QStringList snapshot(const TOnglet& p) {
  QStringList s;
  for (const TTextButton* b : p.buttons())
    s << QStringLiteral("%1|%2%3|%4,%5 %6x%7|%8")
             .arg(b->caption())
             .arg(b->boardFont().bold ? "B" : "")
             .arg(b->boardFont().color)
             .arg(b->x())
             .arg(b->y())
             .arg(b->width())
             .arg(b->height())
             .arg(!b->isShownOnPage());
  for (int i = 0; i < p.textButtonCount(); ++i)
    s << QStringLiteral("%1/%2").arg(p.model().pieceNumber(i)).arg(p.model().piecesOfTextAt(i));
  return s;
}

// The number of pieces of the text each button shows.
std::vector<int> pieceCounts(const TOnglet& p) {
  std::vector<int> counts;
  for (int i = 0; i < p.textButtonCount(); ++i)
    counts.push_back(p.model().piecesOfTextAt(i));
  return counts;
}

// A kind as the tables below name it: "texte", or the command's word.
QString kindName(ButtonKind kind) {
  switch (kind) {
  case ButtonKind::None:
    return QStringLiteral("aucun");
  case ButtonKind::Text:
    return QStringLiteral("texte");
  case ButtonKind::Suggestion:
    return QStringLiteral("suggestion");
  default:
    return PageModel::commandWord(kind);
  }
}

const QString kFiftyFive = QString("abcdefghij").repeated(5) + "abcde"; // cut only when bold
const QString kHundred = QString("0123456789").repeated(10);

class MoveCounter : public QObject {
public:
  int moves = 0, children = 0;
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Move)
      ++moves;
    if (e->type() == QEvent::ChildAdded || e->type() == QEvent::ChildRemoved)
      ++children;
    return false;
  }
};

} // namespace

class TestTOnglet : public QObject {
  Q_OBJECT
private slots:
  void newPage() {
    Board b(false);
    QCOMPARE(b.captions(), kReserved);
    QCOMPARE(b.page->textCounter(), 0);
    QCOMPARE(b.page->textButtonCount(), 0);
    QCOMPARE(b.page->currentIndex(), -1);
    b.page->StepNext();
    QCOMPARE(b.page->currentIndex(), -1);
    QCOMPARE(b.page->GetCurrentKind(), ButtonKind::None);
    for (TTextButton* r : b.page->buttons())
      QVERIFY(!r->isShownOnPage()); // creation mode
  }

  void reservedRowAtThePageBottom() {
    Board b(true, 6, 600); // wide enough for one row
    b.show();
    b.page->ArrangeButtons();
    const int rowTop = b.viewportHeight() - 5 - 22;
    for (TTextButton* r : b.page->buttons()) {
      QVERIFY(r->isShownOnPage());
      QCOMPARE(r->y(), rowTop);
    }
    QCOMPARE(b.page->reservedButton(ButtonKind::Sonnerie)->x() +
                 b.page->reservedButton(ButtonKind::Sonnerie)->width(),
             b.tabs.width() - 30);
    QCOMPARE(b.page->reservedButton(ButtonKind::Retour)->x() +
                 b.page->reservedButton(ButtonKind::Retour)->width(),
             b.page->reservedButton(ButtonKind::Sonnerie)->x() - 5);
  }

  void defaultCaptions() {
    Board b(false);
    b.show();
    QCOMPARE(b.page->AddText(false, QString(), false), 1);
    b.page->AddText(false, QString(), true);
    QCOMPARE(b.page->GetTexts(), (QStringList{"Texte0", "Texte1"}));
    QCOMPARE(b.host.current, b.page->buttonAt(1));
    QCOMPARE(b.host.nameField, QStringList{"Texte1"});
    QCOMPARE(b.page->currentIndex(), 1);
    b.page->DeleteButton(b.page->buttonAt(0));
    QCOMPARE(b.page->currentIndex(), -1);
    b.page->AddText(false, QString(), false);
    QCOMPARE(b.page->GetTexts(), (QStringList{"Texte1", "Texte1"}));
    b.page->DeleteButton(b.page->reservedButton(ButtonKind::Sonnerie)); // never removed
    QCOMPARE(b.page->GetButtonCount(), 9);
  }

  void moves_data() {
    QTest::addColumn<bool>("forward");
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("first back") << false << 0 << QStringList{"A", "B", "C"};
    QTest::newRow("last forward") << true << 2 << QStringList{"A", "B", "C"};
    QTest::newRow("second back") << false << 1 << QStringList{"B", "A", "C"};
    QTest::newRow("second forward") << true << 1 << QStringList{"A", "C", "B"};
  }
  void moves() {
    QFETCH(bool, forward);
    QFETCH(int, index);
    QFETCH(QStringList, texts);
    Board b(false);
    b.show();
    for (const char* t : {"A", "B", "C"})
      b.page->AddText(true, t, false);
    TTextButton* moved = b.page->buttonAt(index);
    forward ? b.page->MoveButtonForward(moved) : b.page->MoveButtonBack(moved);
    QCOMPARE(b.captions(), texts + kReserved);
  }

  void cutAndJoin() {
    Board b(false);
    b.show();
    b.page->AddText(true, "court", false);
    b.page->AddText(true, kHundred, false);
    b.page->SplitAllTexts();
    // 58 characters of 6 px: 348 + 16 < 400 - 35; one more would not fit.
    QCOMPARE(b.captions().mid(0, 3), (QStringList{"court", kHundred.left(58), kHundred.mid(58)}));
    QCOMPARE(pieceCounts(*b.page), (std::vector<int>{1, 2, 2}));
    QCOMPARE(b.page->model().pieceNumber(2), 2);
    QCOMPARE(b.page->buttonAt(1)->width(), 58 * 6 + 16);
    QCOMPARE(b.page->GetButtonCount(), 10);
    b.page->JoinPieces();
    QCOMPARE(b.page->GetTexts(), (QStringList{"court", kHundred}));
    QCOMPARE(b.page->GetButtonCount(), 9);
  }

  void cuttingEndsOnATooNarrowPage() {
    Board b(false, 500); // not one character fits
    b.show();
    b.page->AddText(true, "abc", false);
    b.page->SplitAllTexts();
    QCOMPARE(b.captions().mid(0, 3), (QStringList{"a", "b", "c"}));
    b.page->JoinPieces();
    QCOMPARE(b.page->GetTexts(), QStringList{"abc"});
  }

  void stepCycle_data() {
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QStringList>("currentTexts"); // after each step
    QTest::addColumn<QStringList>("kinds");
    QTest::addColumn<QList<int>>("buttonCounts");
    QTest::newRow("no texts") << QStringList{} << kReserved + QStringList{"ANNULATION"}
                              << kReserved + QStringList{"ANNULATION"}
                              << QList<int>{7, 7, 7, 7, 7, 7, 7, 7};
    // The long text fits in the plain font but is cut in two while highlighted.
    QTest::newRow("texts") << QStringList{"un", "deux", kFiftyFive}
                           << QStringList{"un", "deux", kFiftyFive, kFiftyFive} + kReserved +
                                  QStringList{"un"}
                           << QStringList{"texte", "texte", "texte", "texte"} + kReserved +
                                  QStringList{"texte"}
                           << QList<int>{10, 10, 11, 11, 10, 10, 10, 10, 10, 10, 10, 10};
  }
  void stepCycle() {
    QFETCH(QStringList, texts);
    QFETCH(QStringList, currentTexts);
    QFETCH(QStringList, kinds);
    QFETCH(QList<int>, buttonCounts);
    Board b(true);
    b.show();
    b.fill(texts);
    b.page->ResetCurrent();
    TTextButton* previous = nullptr;
    for (int step = 0; step < currentTexts.size(); ++step) {
      b.page->StepNext();
      const QByteArray at = QByteArray::number(step);
      QVERIFY2(b.page->GetCurrentText() == currentTexts[step], at);
      QVERIFY2(kindName(b.page->GetCurrentKind()) == kinds[step], at);
      QVERIFY2(b.page->GetButtonCount() == buttonCounts[step], at);
      TTextButton* current = b.page->GetCurrentButton();
      QVERIFY2(current->boardFont() == b.host.selected, at);
      QCOMPARE(b.host.current, current);
      if (previous && b.page->indexOfButton(previous) >= 0 &&
          b.page->GetCurrentText() != kFiftyFive)
        QVERIFY2(previous->boardFont() == b.host.unselected, at);
      if (PageModel::isCommand(b.page->GetCurrentKind()))
        QCOMPARE(b.page->scrollPosition(), b.page->scrollMaximum());
      previous = current;
    }
  }

  void cutTextHighlightedAsAWhole() {
    Board b(true);
    b.show();
    b.fill({"un", kFiftyFive, "trois"});
    b.page->ResetCurrent();
    b.page->StepNext();
    b.page->StepNext(); // onto the long text: cut for the bold font
    QCOMPARE(b.captions().mid(1, 2), (QStringList{kFiftyFive.left(49), kFiftyFive.mid(49)}));
    QCOMPARE(b.page->currentIndex(), 1);
    b.page->StepNext(); // its second piece
    QCOMPARE(b.page->currentIndex(), 2);
    QCOMPARE(b.page->GetCurrentText(), kFiftyFive);
    QVERIFY(b.page->buttonAt(1)->boardFont() == b.host.selected);
    QVERIFY(b.page->buttonAt(2)->boardFont() == b.host.selected);
    QCOMPARE(b.page->buttonAt(1)->width(), 49 * 7 + 16);
    b.page->StepNext(); // "trois": the long text is one plain button again
    QCOMPARE(b.captions().mid(0, 3), (QStringList{"un", kFiftyFive, "trois"}));
    QVERIFY(b.page->buttonAt(1)->boardFont() == b.host.unselected);
    QCOMPARE(b.page->buttonAt(1)->width(), 55 * 6 + 16);
    QCOMPARE(pieceCounts(*b.page), (std::vector<int>{1, 1, 1}));
  }

  // A step reuses what it can, but must leave exactly what joining and cutting every text
  // would have left.
  void stepEqualsFullJoinAndCut() {
    Board b(true);
    b.show();
    b.fill({"a", kFiftyFive, kHundred, "b", kHundred + kFiftyFive, "c"});
    b.page->ResetCurrent();
    for (int step = 0; step < 2 * b.page->GetButtonCount(); ++step) {
      b.page->StepNext();
      const QStringList afterStep = snapshot(*b.page);
      b.page->JoinPieces();
      b.page->SplitAllTexts();
      b.page->ArrangeButtons();
      QCOMPARE(snapshot(*b.page), afterStep);
    }
  }

  void noWidgetWorkWhenNothingChanges_data() {
    QTest::addColumn<bool>("exec");
    QTest::newRow("scanning tabs") << true;
    QTest::newRow("creation mode") << false;
  }
  void noWidgetWorkWhenNothingChanges() {
    QFETCH(bool, exec);
    Board b(exec);
    b.host.scanning = true;
    b.show();
    QStringList texts{kHundred};
    for (int i = 0; i < 20; ++i)
      texts << QStringLiteral("t%1").arg(i);
    b.fill(texts);
    b.page->ResetCurrent();
    b.page->StepNext(); // settles what adding left to be cut
    const std::vector<TTextButton*> before = b.page->buttons();
    MoveCounter counter;
    b.page->scrollArea()->widget()->installEventFilter(&counter);
    for (TTextButton* button : before)
      button->installEventFilter(&counter);
    for (int step = 0; step < 2 * int(before.size()); ++step)
      b.page->StepNext();
    QCOMPARE(counter.moves, 0);
    QCOMPARE(counter.children, 0);
    QVERIFY(b.page->buttons() == before);
  }

  // A text is a text whatever it reads: only the seven buttons made as commands are commands.
  void kinds_data() {
    QTest::addColumn<QString>("caption");
    QTest::newRow("ordinary") << "bonjour";
    QTest::newRow("lower case") << "retour";
    QTest::newRow("a command's word") << "RETOUR";
    QTest::newRow("SONNERIE") << "SONNERIE";
    QTest::newRow("CLEAR") << "CLEAR";
  }
  void kinds() {
    QFETCH(QString, caption);
    Board b(true);
    b.page->AddText(true, caption, false);
    QStringList kinds;
    for (int i = 0; i < b.page->itemCount(); ++i)
      kinds << kindName(b.page->GetKindAt(i));
    QCOMPARE(kinds, QStringList{"texte"} + kReserved);
    b.page->setCurrentIndex(0);
    QCOMPARE(b.page->GetCurrentKind(), ButtonKind::Text);
  }

  void queriesPastTheEndFindNothing() {
    Board b(true);
    b.page->AddText(true, "x", false);
    b.page->setCurrentIndex(50); // left over from a longer list
    QVERIFY(!b.page->GetCurrentButton());
    QCOMPARE(b.page->GetCurrentText(), QString());
    QCOMPARE(b.page->GetCurrentKind(), ButtonKind::None);
  }

  void selectReservedLeavesTheNameField() {
    Board b(true);
    b.show();
    b.fill({"bonjour"});
    b.page->SelectButton(b.page->reservedButton(ButtonKind::Clear));
    QCOMPARE(b.host.current, b.page->reservedButton(ButtonKind::Clear));
    QVERIFY(b.host.nameField.isEmpty());
    QCOMPARE(b.host.attached, QList<bool>{false});
    QVERIFY(b.page->reservedButton(ButtonKind::Clear)->boardFont() == b.host.selected);
    b.page->SelectButton(b.page->buttonAt(0));
    QCOMPARE(b.host.nameField, QStringList{"bonjour"});
    QCOMPARE(b.host.attached, (QList<bool>{false, false, true}));
  }

  void clicks() {
    Board run(true);
    run.show();
    run.fill({"bonjour"});
    run.page->buttonAt(0)->click();
    QVERIFY(!run.host.current);
    QCOMPARE(run.host.enabled, 0);

    Board edit(false);
    edit.show();
    edit.page->AddText(true, kHundred, false);
    edit.page->SplitAllTexts();
    edit.page->buttonAt(1)->click(); // the second piece
    QCOMPARE(edit.host.current, edit.page->buttonAt(0));
    QCOMPARE(edit.host.nameField.last(), kHundred);
    QCOMPARE(edit.host.attached.last(), true);
    QCOMPARE(edit.host.enabled, 1);
  }

  void captionsShownLiterally() {
    Board b(true);
    b.show();
    b.page->AddText(true, "Tom & Jerry", false);
    TTextButton* t = b.page->buttonAt(0);
    QCOMPARE(t->text(), QString("Tom && Jerry"));
    QCOMPARE(t->caption(), QString("Tom & Jerry"));
    QCOMPARE(t->width(), 11 * 6 + 16); // measured as typed
    b.page->setCaption("A & B");
    QCOMPARE(b.tabs.tabText(0), QString("A && B"));
    QCOMPARE(b.page->caption(), QString("A & B"));
  }

  void stepFocusesTheCurrentButton() {
    Board b(true);
    b.show();
    b.fill({"un", "deux"});
    b.tabs.activateWindow();
    if (!QTest::qWaitForWindowActive(&b.tabs))
      QSKIP("no window activation on this platform");
    b.page->ResetCurrent();
    b.page->StepNext();
    b.page->StepNext();
    QCOMPARE(QApplication::focusWidget(), b.page->buttonAt(1));
    QVERIFY(b.page->buttonAt(0)->boardFont() == b.host.unselected);
  }

  void gridCellsCutTextsAndGoBackToFlowingRows() {
    const QString forty = kHundred.left(40);
    Board b(true);
    b.show();
    b.fill({"a", "bb", forty});
    const QStringList flowing = snapshot(*b.page);
    b.page->setGridColumns(3, false);
    // Cells of (400 - 35 - 10) / 3 = 118 px: a piece holds 17 characters of 6 px.
    QCOMPARE(b.captions().mid(0, 5),
             (QStringList{"a", "bb", forty.left(17), forty.mid(17, 17), forty.mid(34)}));
    const Points places{{5, 5}, {128, 5}, {251, 5}, {5, 32}, {128, 32}};
    for (int i = 0; i < 5; ++i) {
      QCOMPARE(b.page->buttonAt(i)->pos(), places[size_t(i)]);
      QCOMPARE(b.page->buttonAt(i)->width(), 118);
    }
    QCOMPARE(b.page->layoutRows().at(0), (buttonlayout::Row{0, 3}));
    QCOMPARE(b.page->layoutRows().at(1), (buttonlayout::Row{3, 2}));
    b.page->setGridColumns(0, false);
    QCOMPARE(snapshot(*b.page), flowing);
  }

  void gridFitFontEnlargesTextsNotReservedButtons() {
    Board b(true);
    b.show();
    b.fill({"a", "bb", kHundred.left(40)});
    b.page->setGridColumns(3, true);
    b.page->ApplyUnselectedFont(); // as every visit of the tab does
    // The widest text that fits a cell, "bb" in bold, 14 px at 8 points: 102 px of room allow
    // 7.29 times, less a tenth: 52 points, and the height follows. The long text is cut for
    // that size: 2 characters of 39 px a cell.
    QCOMPARE(b.page->buttonAt(1)->font().pointSize(), 52);
    QCOMPARE(b.page->buttonAt(1)->height(), 2 * 52 + 6);
    QCOMPARE(b.page->reservedButton(ButtonKind::Retour)->font().pointSize(), 8);
    QCOMPARE(b.page->GetButtonCount(), 2 + 20 + 7);
    b.page->ResetCurrent();
    b.page->StepNext();
    b.page->StepNext(); // bold "bb" at 52 points still fits its cell: not cut
    QCOMPARE(b.page->GetButtonCount(), 2 + 20 + 7);
    QCOMPARE(b.page->buttonAt(1)->font().pointSize(), 52);
    QVERIFY(b.page->buttonAt(1)->font().bold());
  }

  void lightRowLightsWholeTextsAndPutsOutTheRowBefore() {
    Board b(true);
    b.show();
    b.fill({"un", kHundred, "trois"}); // the long text in two pieces: buttons 1 and 2
    b.page->setHighlightStyle(HighlightStyle::Frame);
    b.page->LightRow(2, 2); // a row from the second piece: the whole long text and "trois"
    QStringList lit;
    for (const TTextButton* button : b.page->buttons())
      if (button->isFramed())
        lit << button->caption();
    QCOMPARE(lit.join(QString()), kHundred + "trois");
    QCOMPARE(b.page->buttonAt(0)->boardFont(), b.host.unselected);
    b.page->LightRow(0, 1);
    QVERIFY(b.page->buttonAt(0)->isFramed());
    QCOMPARE(b.page->buttons().back()->boardFont(), b.host.unselected);
    QCOMPARE(b.page->reservedButton(ButtonKind::Annulation)->boardFont(), b.host.unselected);
    for (size_t i = 1; i < b.page->buttons().size(); ++i)
      QVERIFY(!b.page->buttonAt(i)->isFramed());
  }

  void frameHighlightFollowsTheCurrentItem() {
    Board b(true);
    b.show();
    b.fill({"un", kHundred});
    b.page->setHighlightStyle(HighlightStyle::Frame);
    b.page->ResetCurrent();
    b.page->StepNext();
    QVERIFY(b.page->buttonAt(0)->isFramed());
    b.page->StepNext(); // the long text: all its pieces framed, the one left not
    QVERIFY(!b.page->buttonAt(0)->isFramed());
    QVERIFY(b.page->buttonAt(1)->isFramed() && b.page->buttonAt(2)->isFramed());
    b.page->setHighlightStyle(HighlightStyle::TextColour);
    for (const TTextButton* button : b.page->buttons())
      QVERIFY(!button->isFramed());
    QCOMPARE(b.page->buttonAt(1)->boardFont(), b.host.selected); // still lit by its colour
  }
};

ORIVOX_TEST(TestTOnglet)
#include "TestTOnglet.moc"

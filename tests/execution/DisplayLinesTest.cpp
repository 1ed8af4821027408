// The display-line rules, checked on the plain model and on a real QTextEdit with the same
// tables: both wrap at ten characters of a monospace font.
#include "execution/LineModel.h"
#include "execution/QtDisplayLines.h"
#include "support/TestRegistry.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QtTest>
#include <memory>

namespace {
constexpr int kWidth = 10;
const QString kMonoFamily = QStringLiteral("DejaVu Sans Mono");

// A display area of either kind, wrapping at kWidth characters.
struct Area {
  std::unique_ptr<QTextEdit> edit;
  std::unique_ptr<DisplayLines> lines;
  LineModel* model = nullptr;

  explicit Area(const QString& kind, bool shown = true) {
    if (kind == QLatin1String("model")) {
      auto m = std::make_unique<LineModel>(kWidth);
      model = m.get();
      lines = std::move(m);
      return;
    }
    edit = std::make_unique<QTextEdit>();
    edit->setReadOnly(true);
    edit->setFrameShape(QFrame::NoFrame);
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont font(kMonoFamily);
    font.setPixelSize(12);
    edit->setFont(font);
    edit->document()->setDefaultFont(font);
    edit->document()->setDocumentMargin(2);
    const qreal advance = QFontMetricsF(font).horizontalAdvance(QLatin1Char('x'));
    // Room for kWidth characters and half of one more.
    const int viewportWidth = int(4 + advance * (kWidth + 0.5));
    edit->resize(viewportWidth + edit->verticalScrollBar()->sizeHint().width(), 60);
    if (shown) {
      edit->show();
      edit->resize(edit->width() + viewportWidth - edit->viewport()->width(), 60);
    }
    lines = std::make_unique<QtDisplayLines>(edit.get());
  }
};

// Runs a small script of edits: "s<i>:<text>" writes line i, "d<i>" deletes it, "a" adds an
// empty line, "c" clears, "k<pos>" puts the caret.
void run(DisplayLines& lines, const QStringList& script) {
  for (const QString& step : script) {
    const QChar op = step.at(0);
    const int colon = step.indexOf(QLatin1Char(':'));
    const int number = step.mid(1, colon < 0 ? -1 : colon - 1).toInt();
    if (op == QLatin1Char('s'))
      lines.setLine(number, step.mid(colon + 1));
    else if (op == QLatin1Char('d'))
      lines.deleteLine(number);
    else if (op == QLatin1Char('a'))
      lines.addEmptyLine();
    else if (op == QLatin1Char('c'))
      lines.clear();
    else if (op == QLatin1Char('k'))
      lines.setCaret(number);
  }
}

QStringList readLines(const DisplayLines& lines) {
  QStringList result;
  for (int i = 0; i < lines.lineCount(); ++i)
    result << lines.line(i);
  return result;
}

QString familyAt(const Area& area, int position) {
  if (area.model) {
    const auto font = area.model->fontAt(position);
    return font ? font->name : QString();
  }
  QTextCursor cursor(area.edit->document());
  cursor.setPosition(position + 1);
  return cursor.charFormat().fontFamilies().toStringList().value(0);
}
} // namespace

class DisplayLinesTest : public QObject {
  Q_OBJECT
private slots:
  void initTestCase() {
    if (!QFontDatabase::families().contains(kMonoFamily))
      QSKIP("the monospace font of these tests is not installed");
  }

  void lineRules_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<QStringList>("lines"); // the counted lines
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("caret");
    struct Row {
      const char* name;
      QStringList script;
      QStringList lines;
      QString text;
      int caret;
    };
    const Row rows[] = {
        {"empty area", {}, {}, "", 0},
        {"write line 0 of an empty area", {"s0:Je "}, {"Je "}, "Je ", 3},
        {"wrap keeps the space on the upper line",
         {"s0:Je veux manger "},
         {"Je veux ", "manger "},
         "Je veux manger ",
         15},
        {"exactly the width", {"s0:abcd efgh"}, {"abcd efgh"}, "abcd efgh", 9},
        {"space after a full line hangs",
         {"s0:abcdefghij klm"},
         {"abcdefghij ", "klm"},
         "abcdefghij klm",
         14},
        {"long word cut at the width",
         {"s0:Je abcdefghijkl "},
         {"Je ", "abcdefghij", "kl "},
         "Je abcdefghijkl ",
         16},
        {"final empty line not counted", {"s0:abc", "a"}, {"abc"}, "abc\n", 4},
        {"writing line N fills the final empty line",
         {"s0:abc", "a", "s1:def"},
         {"abc", "def"},
         "abc\ndef",
         7},
        {"writing a missing line does nothing", {"s0:abc", "s2:x", "s5:y"}, {"abc"}, "abc", 3},
        {"rewrite a wrapped line",
         {"s0:Je veux manger ", "s1:boire "},
         {"Je veux ", "boire "},
         "Je veux boire ",
         14},
        {"writing an upper line rewraps",
         {"s0:Je veux manger ", "s0:Tu "},
         {"Tu manger "},
         "Tu manger ",
         3},
        {"delete the last wrapped line", {"s0:Je veux manger ", "d1"}, {"Je veux "}, "Je veux ", 8},
        {"delete the first wrapped line", {"s0:Je veux manger ", "d0"}, {"manger "}, "manger ", 0},
        {"delete a line with its break", {"s0:abc", "a", "s1:def", "d0"}, {"def"}, "def", 0},
        {"delete the last line keeps the break above",
         {"s0:abc", "a", "s1:def", "d1"},
         {"abc"},
         "abc\n",
         4},
        {"delete a line ending the text with a break", {"s0:abc", "a", "d0"}, {}, "", 0},
        {"delete a missing line does nothing", {"s0:abc", "k1", "d3"}, {"abc"}, "abc", 1},
        {"empty line in the middle counts",
         {"s0:abc", "a", "a", "s2:d"},
         {"abc", "", "d"},
         "abc\n\nd",
         6},
        {"add an empty line to an empty area", {"a"}, {""}, "\n", 1},
        {"clear", {"s0:Je veux manger ", "a", "c"}, {}, "", 0},
        {"caret is clamped", {"s0:abc", "k99"}, {"abc"}, "abc", 3},
    };
    for (const char* kind : {"model", "qt"})
      for (const Row& r : rows)
        QTest::addRow("%s: %s", kind, r.name)
            << QString::fromLatin1(kind) << r.script << r.lines << r.text << r.caret;
  }
  void lineRules() {
    QFETCH(QString, kind);
    QFETCH(QStringList, script);
    QFETCH(QStringList, lines);
    QFETCH(QString, text);
    QFETCH(int, caret);
    Area area(kind);
    run(*area.lines, script);
    QCOMPARE(readLines(*area.lines), lines);
    QCOMPARE(area.lines->text(), text);
    QCOMPARE(area.lines->caret(), caret);
    // Lines past the count read as empty, and joining the lines gives the text back.
    QCOMPARE(area.lines->line(area.lines->lineCount()), QString());
    QCOMPARE(area.lines->line(-1), QString());
    QString joined = text;
    joined.remove(QLatin1Char('\n'));
    QCOMPARE(readLines(*area.lines).join(QString()), joined);
  }

  void formatRange_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("model") << "model";
    QTest::newRow("qt") << "qt";
  }
  void formatRange() {
    QFETCH(QString, kind);
    Area area(kind);
    area.lines->setLine(0, QStringLiteral("abcdef"));
    BoardFont bold;
    bold.name = QStringLiteral("Liberation Serif");
    bold.bold = true;
    // Cut at the end of the text, whatever the length asks.
    area.lines->formatRange(3, 100, bold);
    QCOMPARE(area.lines->text(), QStringLiteral("abcdef"));
    QCOMPARE(familyAt(area, 2) == bold.name, false);
    for (int p = 3; p < 6; ++p)
      QCOMPARE(familyAt(area, p), bold.name);
    QCOMPARE(area.lines->caret(), 6);
    // A negative or empty range changes nothing.
    BoardFont other;
    other.name = QStringLiteral("Liberation Sans");
    area.lines->formatRange(0, -4, other);
    area.lines->formatRange(2, 0, other);
    QCOMPARE(familyAt(area, 2) == other.name, false);
  }

  void qtFormatCarriesEveryValue() {
    Area area(QStringLiteral("qt"));
    area.lines->setLine(0, QStringLiteral("abc"));
    BoardFont font;
    font.name = QStringLiteral("Liberation Serif");
    font.size = 14;
    font.color = clRed;
    font.italic = true;
    font.underline = true;
    area.lines->formatRange(0, 3, font);
    QTextCursor cursor(area.edit->document());
    cursor.setPosition(2);
    const QTextCharFormat f = cursor.charFormat();
    QCOMPARE(f.fontFamilies().toStringList().value(0), font.name);
    QCOMPARE(f.fontPointSize(), 14.0);
    QVERIFY(f.fontItalic());
    QVERIFY(f.fontUnderline());
    QVERIFY(f.fontWeight() < QFont::Bold);
    QCOMPARE(f.foreground().color(), QColor(Qt::red));
  }

  void qtScrollToEnd() {
    Area area(QStringLiteral("qt"));
    for (int i = 0; i < 30; ++i) {
      area.lines->setLine(area.lines->lineCount(), QStringLiteral("line %1").arg(i));
      area.lines->addEmptyLine();
    }
    QScrollBar* bar = area.edit->verticalScrollBar();
    bar->setValue(0);
    area.lines->scrollToEnd();
    QVERIFY(bar->maximum() > 0);
    QCOMPARE(bar->value(), bar->maximum());
  }

  void qtHiddenEditWrapsAtItsWidth() {
    // Before the window is shown the edit has had no resize event; its lines still follow
    // its width rather than an unbounded one.
    Area area(QStringLiteral("qt"), false);
    area.lines->setLine(0, QStringLiteral("Je veux manger une pomme "));
    LineModel model(kWidth);
    model.setLine(0, QStringLiteral("Je veux manger une pomme "));
    QCOMPARE(readLines(*area.lines), readLines(model));
    QCOMPARE(readLines(model).size(), 3);
  }
};

ORIVOX_TEST(DisplayLinesTest)
#include "DisplayLinesTest.moc"

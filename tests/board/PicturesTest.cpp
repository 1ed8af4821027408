// Pictures on the buttons: a text with a picture is one button whatever its length, the edits
// carry pictures, the board view loads and saves them, and a picture fills its cell under its
// label, above it or alone, the highlight visible round it, a broken one shown as missing, and
// its decoded copy let go out of view.
#include "SixPerChar.h"
#include "board/BoardView.h"
#include "board/ButtonPicture.h"
#include "board/PageModel.h"
#include "board/TOnglet.h"
#include "board/TPageControl.h"
#include "platform/PictureDecoder.h"
#include "support/Fakes.h"
#include "support/TestRegistry.h"

#include <QTabWidget>
#include <QtTest>

Q_DECLARE_METATYPE(PictureLabel)
Q_DECLARE_METATYPE(HighlightStyle)

namespace {

const QString kTwelve = QStringLiteral("abcdefghijkl"); // two pieces on a 100 px page

BoardPicture svg(const QString& colour, int w = 40, int h = 20) {
  const QString text = QStringLiteral("<svg xmlns='http://www.w3.org/2000/svg' width='%1' "
                                      "height='%2'><rect width='%1' height='%2' fill='%3'/>"
                                      "<circle cx='%4' cy='%5' r='%6' fill='white'/></svg>")
                           .arg(w)
                           .arg(h)
                           .arg(colour)
                           .arg(w / 2)
                           .arg(h / 2)
                           .arg(std::min(w, h) / 3);
  return BoardPicture{text.toUtf8(), QStringLiteral("image/svg+xml"), QString()};
}

// The texts as "piece+piece|…", a text with a picture marked by its picture's licence in [].
QString shape(const PageModel& m) {
  QStringList texts;
  for (int t = 0; t < m.textCount(); ++t) {
    QStringList pieces;
    const int first = m.firstPieceOfText(t);
    for (int k = first; k < first + m.piecesOfTextAt(first); ++k)
      pieces << m.pieceAt(k);
    const BoardPicture p = m.picture(t);
    texts << pieces.join(QLatin1Char('+')) + (p.isNull() ? QString() : "[" + p.licence + "]");
  }
  return texts.join(QLatin1Char('|'));
}

BoardPicture named(const QString& name) {
  BoardPicture p = svg(QStringLiteral("red"));
  p.licence = name;
  return p;
}

// A page alone in a tab control, its texts measured at 6 px a character.
class Host : public TOngletHost {
public:
  bool execMode() const override { return true; }
  bool tabScanning() const override { return false; }
  bool allSelected() const override { return false; }
  int buttonHeight() const override { return 22; }
  const BoardFont& selectedFont() const override { return selected; }
  const BoardFont& unselectedFont() const override { return unselected; }
  TMeasureLabel& selectedMeasure() override { return selMeasure; }
  TMeasureLabel& unselectedMeasure() override { return unselMeasure; }
  TMeasureLabel& measureLabel() override { return anyMeasure; }
  PictureLabel pictureLabel() const override { return label; }
  FixedWidthMeasurer measurer;
  BoardFont selected, unselected;
  TMeasureLabel selMeasure{&measurer}, unselMeasure{&measurer}, anyMeasure{&measurer};
  PictureLabel label = PictureLabel::Above;
};

} // namespace

class PicturesTest : public QObject {
  Q_OBJECT
private slots:
  // From "a", kTwelve with picture P and "b", cut for 100 px.
  void editsCarryPictures_data() {
    QTest::addColumn<QString>("op");
    QTest::addColumn<QString>("texts");
    const QString start = "a|" + kTwelve + "[P]|b";
    QTest::newRow("a long text with a picture is one piece") << "" << start;
    QTest::newRow("cut for a narrow page: still one piece") << "cut 30"
                                                            << "a|" + kTwelve + "[P]|b";
    QTest::newRow("moved back with its picture") << "back 1" << kTwelve + "[P]|a|b";
    QTest::newRow("moved forward with its picture") << "fwd 1"
                                                    << "a|b|" + kTwelve + "[P]";
    QTest::newRow("a text before it deleted") << "del 0" << kTwelve + "[P]|b";
    QTest::newRow("deleted with its picture") << "del 1"
                                              << "a|b";
    QTest::newRow("texts added with theirs, before it") << "add 1"
                                                        << "a|x[Q]|y|" + kTwelve + "[P]|b";
    QTest::newRow("picture taken away: cut as any text") << "none 1"
                                                         << "a|abcdefgh+ijkl|b";
    QTest::newRow("a cut text given a picture is joined") << "none 1;give 1" << start;
    QTest::newRow("renamed, it keeps its picture") << "set 1"
                                                   << "a|" + kTwelve + "mn[P]|b";
  }
  void editsCarryPictures() {
    QFETCH(QString, op);
    QFETCH(QString, texts);
    SixPerChar measure;
    PageModel m;
    m.insertTexts(0, {"a", kTwelve, "b"}, {BoardPicture(), named("P")});
    m.recutChangedTexts(100, measure);
    for (const QString& step : op.split(';', Qt::SkipEmptyParts)) {
      const QStringList w = step.split(' ');
      const int a = w.value(1).toInt();
      if (w[0] == "cut")
        m.recutChangedTexts(a, measure);
      else if (w[0] == "back" || w[0] == "fwd")
        QVERIFY(m.moveText(a, w[0] == "back"));
      else if (w[0] == "del")
        m.removeTexts(a, 1);
      else if (w[0] == "add")
        m.insertTexts(a, {"x", "y"}, {named("Q")});
      else if (w[0] == "none")
        m.setPicture(a, BoardPicture());
      else if (w[0] == "give")
        m.setPicture(a, named("P"));
      else if (w[0] == "set")
        m.setText(a, kTwelve + "mn");
      m.recutChangedTexts(100, measure);
    }
    QCOMPARE(shape(m), texts);
    // The file's list: one entry a text while any has a picture, none at all otherwise.
    const QList<BoardPicture> all = m.pictures();
    const bool any = texts.contains('[');
    QCOMPARE(all.size(), any ? m.textCount() : 0);
  }

  void boardKeepsPicturesThroughThePages() {
    QWidget parent;
    FixedWidthMeasurer measurer;
    BoardView view(&measurer, &parent);
    BoardData d = view.boardData();
    d.tabs.clear();
    d.tabs << BoardTab{"Images",
                       {"eau", "manger " + kTwelve.repeated(10), "dormir"},
                       {svg("blue"), named("CC BY-SA 4.0"), BoardPicture()}};
    d.tabs << BoardTab{"Mots", {"oui", "non"}, {}};
    d.settings.pictureLabel = PictureLabel::Hidden;
    view.showBoard(d);
    const BoardData back = view.boardData();
    QCOMPARE(back.tabs, d.tabs);
    QVERIFY(back.tabs[1].pictures.isEmpty());
    QCOMPARE(back.settings.pictureLabel, PictureLabel::Hidden);
    // The long text with a picture is one button however narrow the page.
    QCOMPARE(view.pageAt(0)->textButtonCount(), 3);
  }

  void pictureOnlyButtonIsNamedByItsText() {
    Host host;
    host.label = PictureLabel::Hidden;
    QTabWidget tabs;
    tabs.resize(400, 300);
    auto* page = new TOnglet(&tabs, &host);
    page->AddTexts({"J'ai soif & faim"}, {svg("blue")});
    tabs.addTab(page, "Page");
    tabs.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tabs));
    TTextButton* b = page->textButton(0);
    b->grab();
    QVERIFY(!b->shownPicture().isNull());
    QCOMPARE(b->caption(), QStringLiteral("J'ai soif & faim"));
    QCOMPARE(b->accessibleName(), QStringLiteral("J'ai soif & faim"));
    QCOMPARE(page->GetTextAt(page->itemIndexOf(b)), QStringLiteral("J'ai soif & faim"));
  }

  void brokenPicturesShowAsMissing_data() {
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("type");
    QByteArray png;
    {
      QBuffer buffer(&png);
      buffer.open(QIODevice::WriteOnly);
      QImage(8, 8, QImage::Format_RGB32).save(&buffer, "PNG");
    }
    QTest::newRow("a PNG cut short") << png.left(png.size() / 2) << "image/png";
    QTest::newRow("noise") << QByteArray(300, '\x7f') << "image/png";
    QTest::newRow("SVG that is no SVG") << QByteArray("<svg><rect") << "image/svg+xml";
    // Drawn at the size shown, a huge canvas costs nothing; a huge document is not parsed.
    QTest::newRow("an SVG past its bound in bytes")
        << "<svg xmlns='http://www.w3.org/2000/svg' width='4' height='4'>" +
               QByteArray(picturedecoder::kMaxSourceBytes, ' ') + "</svg>"
        << "image/svg+xml";
    // A PNG header claiming 100000 x 100000 pixels, refused before any pixel is decoded.
    QByteArray bomb = png;
    bomb.replace(16, 8, QByteArray::fromHex("000186a0000186a0"));
    QTest::newRow("a decompression bomb's header") << bomb << "image/png";
  }
  void brokenPicturesShowAsMissing() {
    QFETCH(QByteArray, data);
    QFETCH(QString, type);
    const BoardPicture picture{data, type, QString()};
    QVERIFY(buttonpicture::render(picture, QSize(60, 60)).isNull());
    Host host;
    QTabWidget tabs;
    tabs.resize(400, 300);
    auto* page = new TOnglet(&tabs, &host);
    page->AddTexts({"cassé"}, {picture});
    tabs.addTab(page, "Page");
    const QImage shot = page->textButton(0)->grab().toImage();
    QVERIFY(!shot.isNull());
    QVERIFY(page->textButton(0)->shownPicture().isNull());
  }

  void picturesKeepTheirProportions() {
    const QPixmap wide = buttonpicture::render(svg("green", 40, 20), QSize(60, 60));
    QCOMPARE(wide.size(), QSize(60, 30));
    const QPixmap tall = buttonpicture::render(svg("green", 20, 40), QSize(60, 60));
    QCOMPARE(tall.size(), QSize(30, 60));
  }

  // Where label and picture go in a cell 100 x 120 (inside the highlight's margin: 86 x 106).
  void cellIsSharedBetweenLabelAndPicture_data() {
    QTest::addColumn<QSize>("cell");
    QTest::addColumn<PictureLabel>("where");
    QTest::addColumn<int>("labelHeight");
    QTest::addColumn<QRect>("label");
    QTest::addColumn<QRect>("picture");
    const int in = buttonpicture::kInset, gap = buttonpicture::kGap;
    const QSize cell(100, 120);
    QTest::newRow("label above: the picture takes all below it")
        << cell << PictureLabel::Above << 20 << QRect(in, in, 86, 20)
        << QRect(in, in + 20 + gap, 86, 106 - 20 - gap);
    QTest::newRow("label below: the picture takes all above it")
        << cell << PictureLabel::Below << 20 << QRect(in, in + 106 - 20, 86, 20)
        << QRect(in, in, 86, 106 - 20 - gap);
    QTest::newRow("label hidden: the picture takes the whole cell but the margin")
        << cell << PictureLabel::Hidden << 20 << QRect() << QRect(in, in, 86, 106);
    QTest::newRow("a tall label takes no more than half")
        << cell << PictureLabel::Above << 90 << QRect(in, in, 86, 53)
        << QRect(in, in + 53 + gap, 86, 106 - 53 - gap);
    QTest::newRow("no label to show: the picture takes it all")
        << cell << PictureLabel::Below << 0 << QRect() << QRect(in, in, 86, 106);
    QTest::newRow("a cell smaller than the margins shows nothing")
        << QSize(12, 12) << PictureLabel::Above << 20 << QRect() << QRect();
  }
  void cellIsSharedBetweenLabelAndPicture() {
    QFETCH(QSize, cell);
    QFETCH(PictureLabel, where);
    QFETCH(int, labelHeight);
    QFETCH(QRect, label);
    QFETCH(QRect, picture);
    const buttonpicture::Boxes b =
        buttonpicture::split(QRect(QPoint(0, 0), cell), where, labelHeight);
    QCOMPARE(b.label, label);
    QCOMPARE(b.picture, picture);
    QVERIFY(!b.label.intersects(b.picture));
  }

  // A button as drawn on a page: a square picture fills the cell but for its label and the
  // highlight's margin, and the highlight shows round the picture in either style, label or no.
  void pictureFillsItsButtonAndShowsTheHighlight_data() {
    QTest::addColumn<PictureLabel>("where");
    QTest::addColumn<HighlightStyle>("style");
    QTest::newRow("label above, text colour") << PictureLabel::Above << HighlightStyle::TextColour;
    QTest::newRow("label below, text colour") << PictureLabel::Below << HighlightStyle::TextColour;
    QTest::newRow("picture only, text colour")
        << PictureLabel::Hidden << HighlightStyle::TextColour;
    QTest::newRow("label above, frame") << PictureLabel::Above << HighlightStyle::Frame;
    QTest::newRow("picture only, frame") << PictureLabel::Hidden << HighlightStyle::Frame;
  }
  void pictureFillsItsButtonAndShowsTheHighlight() {
    QFETCH(PictureLabel, where);
    QFETCH(HighlightStyle, style);
    Host host;
    host.unselected.size = 12;
    host.unselected.color = clNavy;
    host.selected = host.unselected;
    host.selected.color = clRed;
    host.label = where;
    QTabWidget tabs;
    tabs.resize(400, 300);
    auto* page = new TOnglet(&tabs, &host);
    page->setHighlightStyle(style);
    page->AddTexts({"Boire", "Manger"}, {svg("green", 40, 40), svg("green", 40, 40)});
    tabs.addTab(page, "Images");
    tabs.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tabs));
    page->ApplyUnselectedFont();
    page->ArrangeButtons();
    TTextButton* b = page->textButton(0);
    const QImage unlit = b->grab().toImage();
    const int inside = b->height() - 2 * buttonpicture::kInset;
    const int side = b->shownPicture().height();
    if (where == PictureLabel::Hidden)
      QCOMPARE(side, inside);
    else // a one-line label: the picture has well over half the cell
      QVERIFY2(side >= inside - 2 * QFontMetrics(b->font()).height() && side > inside / 2,
               qPrintable(QString::number(side)));
    page->StepNext(); // the first text lit
    const QImage lit = b->grab().toImage();
    // All round the button, the margin left free of the picture shows the highlight.
    const QColor expected = style == HighlightStyle::Frame ? QColor(Qt::black) : QColor(Qt::red);
    const QList<QPoint> edges = {{2, lit.height() / 2},
                                 {lit.width() - 3, lit.height() / 2},
                                 {lit.width() / 2, 2},
                                 {lit.width() / 2, lit.height() - 3}};
    for (const QPoint& at : edges) {
      QCOMPARE(lit.pixelColor(at), expected);
      QVERIFY(unlit.pixelColor(at) != expected);
    }
    if (style == HighlightStyle::Frame) // inside the frame, the highlight's colour
      QCOMPARE(lit.pixelColor(5, lit.height() / 2), QColor(Qt::red));
  }

  // Out of view the decoded picture is let go: memory follows what is on screen.
  void picturesOutOfViewAreLetGo() {
    Host host;
    QTabWidget tabs;
    tabs.resize(400, 300);
    auto* page = new TOnglet(&tabs, &host);
    page->AddTexts({"Boire"}, {svg("green", 40, 40)});
    tabs.addTab(page, "Images");
    auto* other = new QWidget;
    tabs.addTab(other, "Autre");
    tabs.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tabs));
    page->ArrangeButtons();
    TTextButton* b = page->textButton(0);
    b->repaint();
    QVERIFY(!b->shownPicture().isNull());
    tabs.setCurrentWidget(other);
    QVERIFY(b->shownPicture().isNull());
    tabs.setCurrentWidget(page);
    b->repaint();
    QVERIFY(!b->shownPicture().isNull());
  }
};

ORIVOX_TEST(PicturesTest)
#include "PicturesTest.moc"

// The tab strip's highlight in both styles, as painted.
#include "board/TPageControl.h"
#include "support/TestRegistry.h"

#include <QtTest>

class TabStripTest : public QObject {
  Q_OBJECT
private slots:
  void highlightStyles_data() {
    QTest::addColumn<bool>("frame");
    QTest::addColumn<QColor>("inside"); // a few pixels within the highlighted tab
    QTest::newRow("text colour: yellow fill") << false << QColor(255, 220, 0);
    QTest::newRow("frame: the caption colour inside a yellow frame") << true << QColor(0, 0, 0x80);
  }
  void highlightStyles() {
    QFETCH(bool, frame);
    QFETCH(QColor, inside);
    TTabBar bar;
    bar.addTab(QStringLiteral("Divers"));
    bar.addTab(QStringLiteral("Alphabet"));
    bar.setCaptionColor(QColor(0, 0, 0x80));
    bar.setHighlightStyle(frame ? HighlightStyle::Frame : HighlightStyle::TextColour);
    bar.resize(bar.sizeHint());
    bar.setHighlighted(1);
    const QImage image = bar.grab().toImage();
    const QRect r = bar.tabRect(1).adjusted(1, 1, -1, -1);
    QCOMPARE(QColor(image.pixel(r.left() + 7, r.top() + 7)), inside);
    QCOMPARE(QColor(image.pixel(r.left() + 1, r.top() + 1)),
             frame ? QColor(255, 220, 0) : QColor(0x80, 0, 0));
  }
};

ORIVOX_TEST(TabStripTest)
#include "TabStripTest.moc"

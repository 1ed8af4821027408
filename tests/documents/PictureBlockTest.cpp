// Pictures in the board file: stored once and read back byte for byte beside the settings
// block, the bounds at and one past, damaged picture lines, and hostile pictures decoded safely.
#include "documents/BoardFile.h"
#include "platform/PictureDecoder.h"

#include "support/TestRegistry.h"

#include <QBuffer>
#include <QImage>
#include <QTest>

namespace {

BoardPicture picture(const QByteArray& data, const QString& licence = {}) {
  return BoardPicture{data, QStringLiteral("image/png"), licence};
}

BoardTab tab(const QString& caption, const QStringList& texts) {
  BoardTab t;
  t.caption = caption;
  t.texts = texts;
  return t;
}

BoardData board() {
  BoardData b;
  b.tabs = {tab("Un", {"a", "b", "c"}), tab("Deux", {"d"}), tab("Trois", {"e", "f"})};
  return b;
}

// A board with `count` distinct pictures of `bytes` bytes each, one per text of a single tab.
BoardData withPictures(int count, qint64 bytes) {
  BoardData b;
  BoardTab t = tab("Images", {});
  for (int i = 0; i < count; ++i) {
    QByteArray data = QByteArray::number(i).rightJustified(8, '0');
    data.resize(bytes, 'x');
    t.texts << QString::number(i);
    t.pictures << picture(data);
  }
  b.tabs = {t};
  return b;
}

QByteArray png(const QSize& size) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::red);
  QByteArray bytes;
  QBuffer out(&bytes);
  out.open(QIODevice::WriteOnly);
  image.save(&out, "PNG");
  return bytes;
}

int lineCount(const QByteArray& bytes) {
  return int(bytes.count("\r\n"));
}

} // namespace

class PictureBlockTest : public QObject {
  Q_OBJECT
private slots:
  void roundTrip_data() {
    QTest::addColumn<BoardData>("board");
    QTest::addColumn<int>("storedPictures");
    const BoardPicture shared =
        picture("\x89PNG shared", QStringLiteral("{\"type\":\"CC BY-SA\"}"));
    const BoardPicture svg{"<svg/>\x1a\r\n", QStringLiteral("image/svg+xml"), QStringLiteral("é")};
    BoardData b = board();
    b.tabs[0].pictures = {shared, {}, svg};
    b.tabs[2].pictures = {{},
                          BoardPicture{QByteArray(shared.data.constData()), shared.contentType,
                                       shared.licence}}; // equal bytes, not the same buffer
    QTest::newRow("shared picture stored once, a tab and texts without") << b << 2;
    BoardData settingsFirst = b;
    settingsFirst.settings.gridColumns = 4;
    QTest::newRow("settings block then pictures") << settingsFirst << 2;
    BoardData picturesFirst = settingsFirst;
    picturesFirst.picturesBeforeSettings = true;
    QTest::newRow("pictures then settings block") << picturesFirst << 2;
    BoardData other = b;
    other.tabs[2].pictures[1].licence.clear();
    QTest::newRow("same bytes, another licence: two pictures") << other << 3;
  }
  void roundTrip() {
    QFETCH(BoardData, board);
    QFETCH(int, storedPictures);
    const QByteArray bytes = boardfile::write(board);
    QCOMPARE(int(bytes.count("\r\nimage=")), storedPictures);
    BoardReadResult r = boardfile::read(bytes);
    QCOMPARE(r.status, BoardReadStatus::Ok);
    QCOMPARE(r.data.tabs, board.tabs);
    QCOMPARE(r.data.picturesBeforeSettings, board.picturesBeforeSettings);
    QCOMPARE(r.data.settings.gridColumns, board.settings.gridColumns);
    QCOMPARE(boardfile::write(r.data), bytes);
    // The settings reader never sees a picture line, so an older reader keeps its settings.
    for (const QByteArray& l : r.data.settings.storedBlock)
      QVERIFY(!l.startsWith("image=") && !l.startsWith("text=") && !l.startsWith("#OrivoxPic"));
  }

  void noPictureWritesNoBlock() {
    BoardData b = board();
    const QByteArray before = boardfile::write(b);
    b.tabs[1].pictures = {BoardPicture{}}; // a list of nulls is no picture
    QCOMPARE(boardfile::write(b), before);
    QVERIFY(!before.contains("#OrivoxPictures"));
  }

  // Lines the reader does not know, in the settings block and in the pictures block, whichever
  // comes first.
  void unknownLinesBesideBothBlocks_data() {
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<bool>("sameBytes");
    QTest::addColumn<int>("gridColumns");
    QTest::addColumn<bool>("picture");
    const QByteArray pics = "#OrivoxPictures 1\r\nimage=1,image/png,,YWJj\r\ntext=0,1,1\r\n";
    const QByteArray settings = "#OrivoxSettings 1\r\ngridColumns=3\r\nfutur=1\r\n";
    QTest::newRow("settings, unknown kept, pictures") << settings + pics << true << 3 << true;
    QTest::newRow("pictures, settings, unknown kept") << pics + settings << true << 3 << true;
    QTest::newRow("unknown picture line passed over")
        << pics + "label=above\r\n" + settings << false << 3 << true;
    QTest::newRow("later version's pictures")
        << QByteArray(pics).replace(" 1\r\n", " 2\r\n") << false << 0 << true;
    QTest::newRow("lines starting no block are never read")
        << "garbage\r\n" + pics + settings << false << 0 << false;
  }
  void unknownLinesBesideBothBlocks() {
    QFETCH(QByteArray, after);
    QFETCH(bool, sameBytes);
    QFETCH(int, gridColumns);
    QFETCH(bool, picture);
    const QByteArray bytes = boardfile::write(board()) + after;
    const BoardReadResult r = boardfile::read(bytes);
    QCOMPARE(r.status, BoardReadStatus::Ok);
    QCOMPARE(r.data.settings.gridColumns, gridColumns);
    QCOMPARE(r.data.tabs[0].pictureOf(1) != nullptr, picture);
    if (picture)
      QCOMPARE(r.data.tabs[0].pictureOf(1)->data, QByteArray("abc"));
    QCOMPARE(boardfile::write(r.data) == bytes, sameBytes);
    QCOMPARE(boardfile::read(boardfile::write(r.data)).data, r.data);
  }

  void bounds_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<QString>("reason"); // empty: read
    using namespace boardfile;
    QTest::newRow("pictures at the bound") << kMaxPictures << qint64(8) << QString();
    QTest::newRow("one picture more")
        << kMaxPictures + 1 << qint64(8) << QStringLiteral("il contient plus de 5000 images");
    QTest::newRow("picture bytes at the bound") << 1 << kMaxPictureBytes << QString();
    QTest::newRow("one byte more")
        << 1 << kMaxPictureBytes + 1 << QStringLiteral("une image dépasse 1 Mo");
    const int perBytes = int(kMaxPictureBytesInAll / kMaxPictureBytes);
    QTest::newRow("bytes in all at the bound") << perBytes << kMaxPictureBytes << QString();
    QTest::newRow("one picture of bytes more")
        << perBytes + 1 << kMaxPictureBytes << QStringLiteral("ses images dépassent 64 Mo en tout");
  }
  void bounds() {
    QFETCH(int, count);
    QFETCH(qint64, bytes);
    QFETCH(QString, reason);
    BoardData b = withPictures(count, bytes);
    const BoardReadResult r = boardfile::read(boardfile::write(b));
    if (reason.isEmpty()) {
      QCOMPARE(r.status, BoardReadStatus::Ok);
      QCOMPARE(r.data.tabs, b.tabs);
    } else {
      QCOMPARE(r.status, BoardReadStatus::Error);
      QVERIFY(r.tooLarge);
      QCOMPARE(boardfile::refusalReason(r), reason);
    }
    // The commands that add pictures stop at the same bound.
    const BoardPicture last = b.tabs[0].pictures.takeLast();
    b.tabs[0].texts.removeLast();
    const auto passed = boardfile::pictureBoundPassed(b, last);
    QCOMPARE(passed.has_value(), !reason.isEmpty());
    // A picture the board holds already adds nothing.
    QVERIFY(!boardfile::pictureBoundPassed(b, b.tabs[0].pictures.value(0)) ||
            bytes > boardfile::kMaxPictureBytes);
  }

  void commandBoundMessages() {
    BoardData b = withPictures(boardfile::kMaxPictures, 8);
    QCOMPARE(boardfile::pictureBoundPassed(b, picture("new")).value_or(QString()),
             QStringLiteral("Un tableau ne peut pas avoir plus de 5000 images"));
    QCOMPARE(boardfile::pictureBoundPassed(
                 BoardData(), picture(QByteArray(boardfile::kMaxPictureBytes + 1, 'x')))
                 .value_or(QString()),
             QStringLiteral("Une image ne peut pas dépasser 1 Mo"));
    b = withPictures(64, boardfile::kMaxPictureBytes);
    QCOMPARE(boardfile::pictureBoundPassed(b, picture("new")).value_or(QString()),
             QStringLiteral("Les images d'un tableau ne peuvent pas dépasser 64 Mo en tout"));
  }

  void damagedLines_data() {
    QTest::addColumn<QByteArray>("lines"); // after the marker; the last one is damaged
    QTest::newRow("bad base64") << QByteArray("image=1,image/png,,YW@j\r\n");
    QTest::newRow("base64 without its padding") << QByteArray("image=1,image/png,,YQ\r\n");
    QTest::newRow("no bytes") << QByteArray("image=1,image/png,,\r\n");
    QTest::newRow("a field missing") << QByteArray("image=1,image/png,YWJj\r\n");
    QTest::newRow("not a picture type") << QByteArray("image=1,text/html,,YWJj\r\n");
    QTest::newRow("id twice") << QByteArray(
        "image=1,image/png,,YWJj\r\nimage=1,image/png,,YWJj\r\n");
    QTest::newRow("unknown id") << QByteArray("image=1,image/png,,YWJj\r\ntext=0,0,2\r\n");
    QTest::newRow("tab out of range") << QByteArray("image=1,image/png,,YWJj\r\ntext=3,0,1\r\n");
    QTest::newRow("text out of range") << QByteArray("image=1,image/png,,YWJj\r\ntext=1,1,1\r\n");
    QTest::newRow("negative index") << QByteArray("image=1,image/png,,YWJj\r\ntext=-1,0,1\r\n");
    QTest::newRow("two pictures for a text")
        << QByteArray("image=1,image/png,,YWJj\r\ntext=0,0,1\r\ntext=0,0,1\r\n");
  }
  void damagedLines() {
    QFETCH(QByteArray, lines);
    const QByteArray head = boardfile::write(board()) + "#OrivoxPictures 1\r\n";
    const BoardReadResult r = boardfile::read(head + lines);
    QCOMPARE(r.status, BoardReadStatus::Error);
    QVERIFY(!r.tooLarge);
    QCOMPARE(boardfile::refusalReason(r),
             QStringLiteral("il est endommagé (ligne %1)").arg(lineCount(head + lines)));
  }

  void decodeHostilePictures_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QSize>("expected"); // empty: shown as missing
    QTest::newRow("tiny PNG fitted, proportions kept")
        << png(QSize(4, 2)) << "image/png" << QSize(64, 32);
    QTest::newRow("tiny SVG drawn at the size shown")
        << QByteArray("<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 10 20'>"
                      "<rect width='10' height='20' fill='red'/></svg>")
        << "image/svg+xml" << QSize(32, 64);
    QTest::newRow("SVG announcing a huge size")
        << QByteArray("<svg xmlns='http://www.w3.org/2000/svg' width='1000000000' "
                      "height='1000000000'><rect width='1000000000' height='1000000000' "
                      "fill='red'/></svg>")
        << "image/svg+xml" << QSize(64, 64);
    // A header announcing 100000 x 100000 pixels over a body of a few bytes.
    QByteArray bomb = png(QSize(1, 1));
    bomb.replace(16, 8, QByteArray::fromHex("000186a0000186a0"));
    QTest::newRow("PNG bomb header") << bomb << "image/png" << QSize(0, 0);
    QTest::newRow("PNG cut short") << png(QSize(8, 8)).left(40) << "image/png" << QSize(0, 0);
    QTest::newRow("not a picture") << QByteArray("bonjour") << "image/png" << QSize(0, 0);
    QTest::newRow("broken SVG") << QByteArray("<svg><rect") << "image/svg+xml" << QSize(0, 0);
  }
  void decodeHostilePictures() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, type);
    QFETCH(QSize, expected);
    const QImage image = picturedecoder::decode(bytes, type, QSize(64, 64));
    QCOMPARE(image.size(), expected);
    if (!expected.isEmpty())
      QCOMPARE(image.pixelColor(expected.width() / 2, expected.height() / 2).red(), 255);
  }

  void prepareForStorage() {
    const auto big = picturedecoder::prepareForStorage(png(QSize(2000, 1000)), 512, 1 << 20);
    QVERIFY(big);
    QCOMPARE(big->contentType, QStringLiteral("image/png"));
    QImage stored;
    QVERIFY(stored.loadFromData(big->data, "PNG"));
    QCOMPARE(stored.size(), QSize(512, 256));
    const QByteArray small = png(QSize(10, 10)); // never scaled up
    QVERIFY(QImage::fromData(picturedecoder::prepareForStorage(small, 512, 1 << 20)->data).size() ==
            QSize(10, 10));
    const QByteArray svg("<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 1 1'/>");
    QCOMPARE(picturedecoder::prepareForStorage(svg, 512, 1 << 20)->data, svg);
    QVERIFY(!picturedecoder::prepareForStorage(svg, 512, 10));
    QVERIFY(!picturedecoder::prepareForStorage("bonjour", 512, 1 << 20));
  }
};

ORIVOX_TEST(PictureBlockTest)
#include "PictureBlockTest.moc"

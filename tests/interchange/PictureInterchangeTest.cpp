// Boards with pictures through the Open Board Format: exported and imported back byte for byte,
// each picture written once, and a picture named by many buttons read and decoded once.
#include "interchange/FormatCheck.h"
#include "interchange/Interchange.h"
#include "interchange/ZipPackage.h"

#include "PictureFixtures.h"
#include "support/TestRegistry.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace interchange;
using namespace picturefixtures;

Q_DECLARE_METATYPE(BoardData)

namespace {

const QString kPng = QStringLiteral("image/png");
const QString kSvg = QStringLiteral("image/svg+xml");

BoardData boardOf(const QList<BoardTab>& tabs) {
  BoardData b;
  b.selectedFont.color = clRed;
  b.unselectedFont.color = clNavy;
  b.tabs = tabs;
  return b;
}

QByteArray compact(const QJsonObject& o) {
  return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

QJsonObject boardJson(const QJsonArray& buttons, const QJsonArray& images) {
  QJsonArray row;
  for (const QJsonValue& b : buttons)
    row.append(b.toObject().value("id"));
  QJsonArray order;
  order.append(row);
  return QJsonObject{{"format", "open-board-0.1"},
                     {"id", "b"},
                     {"locale", "fr"},
                     {"name", "Photos"},
                     {"buttons", buttons},
                     {"images", images},
                     {"grid", QJsonObject{{"rows", 1}, {"columns", row.size()}, {"order", order}}}};
}

QByteArray packageOf(const QJsonObject& board, const QList<QPair<QString, QByteArray>>& files) {
  QList<QPair<QString, QByteArray>> entries{
      {"manifest.json",
       compact(
           QJsonObject{{"format", "open-board-0.1"},
                       {"root", "boards/b.obf"},
                       {"paths", QJsonObject{{"boards", QJsonObject{{"b", "boards/b.obf"}}}}}})},
      {"boards/b.obf", compact(board)}};
  return writeZip(entries + files).value();
}

// Every picture of an imported board shares one buffer: read, decoded and stored once.
bool oneBuffer(const BoardData& board, qsizetype expected) {
  const BoardTab& tab = board.tabs.value(0);
  if (tab.pictures.size() != expected)
    return false;
  for (const BoardPicture& p : tab.pictures)
    if (p.isNull() || p.data.constData() != tab.pictures[0].data.constData())
      return false;
  return true;
}

} // namespace

class PictureInterchangeTest : public QObject {
  Q_OBJECT
private slots:
  // Through a package and through a lone board: the same board, pictures and licences byte for
  // byte once saved, each picture written once however many texts show it.
  void picturesComeBackUnchanged_data() {
    QTest::addColumn<BoardData>("board");
    QTest::addColumn<int>("written"); // pictures in the exported file

    // Keys out of the order the format's object keeps them in.
    const QString openLicence = QStringLiteral(
        "{\"type\":\"CC BY-SA "
        "4.0\",\"author_name\":\"OpenMoji\",\"source_url\":\"https://example.org/1F600\"}");
    const QString compactLicence =
        QStringLiteral("{\"author_name\":\"Marie\",\"type\":\"CC BY 4.0\"}");
    const BoardPicture cup{png(QSize(40, 30)), kPng, openLicence};
    const BoardPicture leaf{svg("feuille"), kSvg, compactLicence};
    QTest::newRow("a PNG and an SVG with their licences")
        << boardOf({{"Repas", {"pain", "tasse", "eau", "merci"}, {cup, cup, leaf, {}}}}) << 2;
    // The second tab's copy has a buffer of its own: equal bytes are still one picture.
    const BoardPicture copy{QByteArray(cup.data.constData(), cup.data.size()), kPng, openLicence};
    QTest::newRow("one picture on texts of two tabs")
        << boardOf({{"Un", {"oui", "non"}, {cup, {}}}, {"Deux", {"a", "encore"}, {{}, copy}}}) << 1;
    QTest::newRow("a licence in plain words, and none")
        << boardOf({{"Mots",
                     {"chat", "chien"},
                     {{png(QSize(8, 8), Qt::green), kPng, QString::fromUtf8("CC BY-SA 4.0 — Zoé")},
                      {svg("chien"), kSvg, {}}}}})
        << 2;
    QTest::newRow("the same bytes under two licences")
        << boardOf({{"Deux", {"a", "b"}, {{cup.data, kPng, "A"}, {cup.data, kPng, "B"}}}}) << 2;
    QTest::newRow("a picture as large as a picture may be")
        << boardOf({{"Grand", {"grand"}, {{svg("g", boardfile::kMaxPictureBytes), kSvg, {}}}}})
        << 1;
  }
  void picturesComeBackUnchanged() {
    QFETCH(BoardData, board);
    QFETCH(int, written);
    const QByteArray saved = boardfile::write(board);

    const QByteArray obz = obzBytes(board, QStringLiteral("Mon tableau")).value();
    QCOMPARE(checkObz(obz), QStringList());
    ZipReader zip = ZipReader::fromBytes(obz, qint64(1) << 30);
    int files = 0;
    for (const QString& name : zip.names())
      files += name.startsWith(QLatin1String("images/"));
    QCOMPARE(files, written);
    const ImportResult fromObz = importObz(obz);
    QVERIFY2(fromObz.ok, qPrintable(fromObz.errorMessage));
    QCOMPARE(fromObz.dropped.text(), QString());
    QCOMPARE(fromObz.board.tabs, board.tabs);
    QVERIFY(boardfile::write(fromObz.board) == saved);

    const QByteArray obf = obfBytes(board, QStringLiteral("Mon tableau")).value();
    QCOMPARE(checkObf(obf), QStringList());
    QCOMPARE(int(obf.count("\"data:image/")), written);
    const ImportResult fromObf = importObf(obf);
    QVERIFY2(fromObf.ok, qPrintable(fromObf.errorMessage));
    QCOMPARE(fromObf.dropped.text(), QString());
    QCOMPARE(fromObf.board.tabs, board.tabs);
    QVERIFY(boardfile::write(fromObf.board) == saved);
  }

  // What another program reads: the button's image_id, the image's type, size, licence as the
  // format's object, and its bytes in the package or in a data address.
  void exportedImagesSayWhatTheyAre() {
    const QString licence = QStringLiteral("{\"author_name\":\"Marie\",\"type\":\"CC BY 4.0\"}");
    const BoardData board = boardOf({{"Photos", {"tasse"}, {{png(QSize(40, 30)), kPng, licence}}}});
    const QJsonObject expected{{"id", "image-1"},
                               {"content_type", kPng},
                               {"width", 40},
                               {"height", 30},
                               {"license", QJsonDocument::fromJson(licence.toUtf8()).object()}};

    ZipReader zip = ZipReader::fromBytes(obzBytes(board, "t").value(), qint64(1) << 30);
    const QJsonObject tabBoard =
        QJsonDocument::fromJson(zip.read("boards/onglet-1.obf").value()).object();
    QCOMPARE(tabBoard["buttons"][0]["image_id"].toString(), QStringLiteral("image-1"));
    QJsonObject inPackage = expected;
    inPackage.insert("path", "images/image-1.png");
    QCOMPARE(tabBoard["images"].toArray(), QJsonArray{inPackage});
    QCOMPARE(zip.read("images/image-1.png").value(), board.tabs[0].pictures[0].data);

    const QJsonObject lone = QJsonDocument::fromJson(obfBytes(board, "t").value()).object();
    QCOMPARE(lone["buttons"][0]["image_id"].toString(), QStringLiteral("image-1"));
    QJsonObject inData = expected;
    inData.insert("data", QString::fromLatin1("data:image/png;base64," +
                                              board.tabs[0].pictures[0].data.toBase64()));
    QCOMPARE(lone["images"].toArray(), QJsonArray{inData});
  }

  // A licence another program changed after Orivox wrote it: taken as it now is. A button
  // naming no image of its board is not the format's.
  void theFormatsLicenceWinsOverAStaleOne() {
    QJsonObject image{{"id", "i"},
                      {"data", "data:image/svg+xml," + QString::fromLatin1(svg())},
                      {"license", QJsonObject{{"type", "CC0"}}},
                      {"ext_orivox_licence", "{\"type\": \"CC BY\"}"}};
    const QJsonArray buttons{QJsonObject{{"id", "1"}, {"label", "a"}, {"image_id", "i"}}};
    const ImportResult changed = importObf(compact(boardJson(buttons, {image})));
    QCOMPARE(changed.board.tabs.value(0).pictures.value(0).licence,
             QStringLiteral("{\"type\":\"CC0\"}"));
    image.insert("license", QJsonObject{{"type", "CC BY"}});
    const ImportResult same = importObf(compact(boardJson(buttons, {image})));
    QCOMPARE(same.board.tabs.value(0).pictures.value(0).licence,
             QStringLiteral("{\"type\": \"CC BY\"}"));
    const QString noImage = QStringLiteral("bouton 1 : image_id ne nomme aucune image");
    QVERIFY(!checkObf(compact(boardJson(buttons, {image}))).contains(noImage));
    image.insert("id", "autre");
    QVERIFY(checkObf(compact(boardJson(buttons, {image}))).contains(noImage));
  }

  // A licence no import would read is not written: nothing leaves that could not come back.
  void exportRefusesALicencePastItsBound() {
    QTemporaryDir dir;
    BoardData board = boardOf({{"Un", {"a"}, {{svg(), kSvg, QString(1024, QLatin1Char('x'))}}}});
    QVERIFY(exportFile(board, dir.filePath("juste.obz")).ok);
    board.tabs[0].pictures[0].licence = QString(1023, QLatin1Char('x')) + QChar(0xE9);
    for (const char* name : {"long.obz", "long.obf"}) {
      QCOMPARE(exportFile(board, dir.filePath(name)).errorString(),
               QString::fromUtf8("Exportation impossible : la licence d'une image dépasse 1024 "
                                 "octets, plus qu'un import n'en lit."));
      QVERIFY(!QFile::exists(dir.filePath(name)));
    }
  }

  // A thousand buttons naming one picture, by one id, by a thousand ids of one file, or by a
  // thousand copies of one data address: one read, one decoding, one stored picture. Decoded
  // for each, the photo would take minutes.
  void onePictureNamedByManyButtons() {
    const QByteArray photo = jpeg(QSize(2400, 1800));
    const QString address = "data:image/jpeg;base64," + photo.toBase64();
    QJsonArray sameId, byPath, byData, pathImages, dataImages;
    for (int i = 0; i < 1000; ++i) {
      const QString id = QString::number(i), image = QStringLiteral("i%1").arg(i);
      sameId.append(QJsonObject{{"id", id}, {"label", "tasse"}, {"image_id", "i0"}});
      byPath.append(QJsonObject{{"id", id}, {"label", "tasse"}, {"image_id", image}});
      pathImages.append(QJsonObject{{"id", image}, {"path", "images/tasse.jpg"}});
      dataImages.append(QJsonObject{{"id", image}, {"data", address}});
    }
    const QJsonArray one{QJsonObject{{"id", "i0"}, {"path", "images/tasse.jpg"}}};
    const QList<QPair<QString, QByteArray>> files{{"images/tasse.jpg", photo}};

    const ImportResult a = importObz(packageOf(boardJson(sameId, one), files));
    QVERIFY2(a.ok && a.dropped.total() == 0, qPrintable(a.errorMessage + a.dropped.text()));
    QVERIFY(oneBuffer(a.board, 1000));
    QCOMPARE(QImage::fromData(a.board.tabs[0].pictures[0].data, "PNG").size(), QSize(512, 384));
    const ImportResult b = importObz(packageOf(boardJson(byPath, pathImages), files));
    QVERIFY2(b.ok && b.dropped.total() == 0, qPrintable(b.errorMessage + b.dropped.text()));
    QVERIFY(oneBuffer(b.board, 1000));
    const ImportResult c = importObf(compact(boardJson(byPath, dataImages)));
    QVERIFY2(c.ok && c.dropped.total() == 0, qPrintable(c.errorMessage + c.dropped.text()));
    QVERIFY(oneBuffer(c.board, 1000));
    QCOMPARE(boardfile::write(c.board).count("image="), 1);
  }
};

ORIVOX_TEST(PictureInterchangeTest)
#include "PictureInterchangeTest.moc"

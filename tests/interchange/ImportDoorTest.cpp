// Files made to hurt or to puzzle the importer, read the way "Importer..." and --convert read
// them, each with what the carer is then told; and what the exporter writes for them to read.
#include "interchange/Bounds.h"
#include "interchange/FormatCheck.h"
#include "interchange/Interchange.h"
#include "interchange/ZipPackage.h"
#include "platform/PictureDecoder.h"

#include "PictureFixtures.h"

#include "support/TestRegistry.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace interchange;
using namespace picturefixtures;

namespace {

// A grid of one row. (Braces around one array would copy it, not nest it.)
QJsonArray oneRow(const QJsonArray& row) {
  QJsonArray order;
  order.append(row);
  return order;
}

QByteArray compact(const QJsonObject& o) {
  return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

QJsonObject boardJson(const QString& id, const QString& name, const QJsonArray& buttons,
                      const QJsonArray& order) {
  return QJsonObject{{"format", "open-board-0.1"},
                     {"id", id},
                     {"locale", "fr"},
                     {"name", name},
                     {"buttons", buttons},
                     {"grid", QJsonObject{{"rows", order.size()},
                                          {"columns", order.first().toArray().size()},
                                          {"order", order}}}};
}

// One row of buttons labelled with the texts, in that order.
QByteArray boardOfTexts(const QString& name, const QStringList& labels) {
  QJsonArray buttons, row;
  for (qsizetype i = 0; i < labels.size(); ++i) {
    buttons.append(QJsonObject{{"id", QString::number(i)}, {"label", labels[i]}});
    row.append(QString::number(i));
  }
  return compact(boardJson("b", name, buttons, oneRow(row)));
}

// A grid naming one button `cells` times: the amplification a few bytes of zip can carry.
QByteArray oneButtonManyCells(const QJsonObject& button, qint64 cells) {
  QByteArray json = R"({"format":"open-board-0.1","id":"b","locale":"fr","name":"Onglet",)"
                    R"("buttons":[)" +
                    compact(button) + R"(],"grid":{"rows":1,"columns":)" +
                    QByteArray::number(cells) + R"(,"order":[[)";
  json.reserve(json.size() + cells * 4 + 8);
  for (qint64 i = 0; i < cells; ++i)
    json += i ? ",\"1\"" : "\"1\"";
  return json + "]]}}";
}

QByteArray manifestFor(const QStringList& boards) {
  QJsonObject paths;
  for (const QString& b : boards)
    paths.insert(b, QStringLiteral("boards/%1.obf").arg(b));
  return compact(QJsonObject{{"format", "open-board-0.1"},
                             {"root", QStringLiteral("boards/%1.obf").arg(boards.first())},
                             {"paths", QJsonObject{{"boards", paths}}}});
}

// A root board "Accueil" (one text) leading to a board per name, each holding one text.
QByteArray packageOfTabs(const QStringList& names, const QList<QByteArray>& padding = {}) {
  QJsonArray buttons{QJsonObject{{"id", "t"}, {"label", "bonjour"}}};
  QJsonArray row{"t"};
  QStringList ids{"root"};
  QList<QPair<QString, QByteArray>> entries;
  for (qsizetype i = 0; i < names.size(); ++i) {
    const QString id = QStringLiteral("b%1").arg(i);
    ids << id;
    buttons.append(QJsonObject{
        {"id", id},
        {"label", names[i]},
        {"load_board", QJsonObject{{"path", QStringLiteral("boards/%1.obf").arg(id)}}}});
    row.append(id);
    entries.append(
        {QStringLiteral("boards/%1.obf").arg(id),
         compact(boardJson(id, names[i], QJsonArray{QJsonObject{{"id", "1"}, {"label", "x"}}},
                           oneRow(QJsonArray{"1"}))) +
             padding.value(i)});
  }
  entries.prepend({"boards/root.obf", compact(boardJson("root", "Accueil", buttons, oneRow(row)))});
  entries.prepend({"manifest.json", manifestFor(ids)});
  return writeZip(entries).value();
}

QByteArray zipOfBoard(const QByteArray& board) {
  return writeZip({{"manifest.json", manifestFor({"1"})}, {"boards/1.obf", board}}).value();
}

// The package's entries with their inflated sizes announced as 1000 bytes.
QByteArray lyingAboutSize(QByteArray zip, quint32 realSize) {
  for (const auto& [signature, offset] :
       {qMakePair(QByteArray("PK\x03\x04", 4), 22), qMakePair(QByteArray("PK\x01\x02", 4), 24)})
    for (qsizetype at = zip.indexOf(signature); at >= 0; at = zip.indexOf(signature, at + 1)) {
      char* field = zip.data() + at + offset;
      if (qFromLittleEndian<quint32>(field) == realSize)
        qToLittleEndian<quint32>(1000, field);
    }
  return zip;
}

// An Orivox board of two tabs, exported, then given a button by another program that knows
// nothing of Orivox's own fields.
QByteArray orivoxBoardWithAddedButton(bool package) {
  BoardData board;
  board.tabs = {{QStringLiteral("Un"), {QStringLiteral("a")}},
                {QStringLiteral("Deux"), {QStringLiteral("b")}}};
  const QJsonObject added{{"id", "ajout"}, {"label", "ajouté ailleurs"}};
  if (!package) {
    QJsonObject lone = QJsonDocument::fromJson(obfBytes(board, "Mon tableau").value()).object();
    QJsonArray buttons = lone["buttons"].toArray();
    buttons.append(added);
    lone["buttons"] = buttons;
    QJsonObject grid = lone["grid"].toObject();
    QJsonArray order = grid["order"].toArray();
    QJsonArray lastRow = order.last().toArray();
    lastRow.append("ajout"); // after "b", in the row of the second tab
    order.replace(order.size() - 1, lastRow);
    grid["order"] = order;
    grid["columns"] = lastRow.size();
    lone["grid"] = grid;
    return compact(lone);
  }
  ZipReader zip = ZipReader::fromBytes(obzBytes(board, "Mon tableau").value(), 1 << 20);
  QList<QPair<QString, QByteArray>> entries;
  for (const QString& name : zip.names()) {
    QByteArray bytes = zip.read(name).value();
    if (name == QLatin1String("boards/root.obf")) {
      QJsonObject root = QJsonDocument::fromJson(bytes).object();
      QJsonArray buttons = root["buttons"].toArray();
      buttons.append(added);
      root["buttons"] = buttons;
      root["grid"] = QJsonObject{{"rows", 1},
                                 {"columns", 3},
                                 {"order", oneRow(QJsonArray{"onglet-1", "onglet-2", "ajout"})}};
      bytes = compact(root);
    }
    entries.append({name, bytes});
  }
  return writeZip(entries).value();
}

// What the carer sees of a board: each tab as "caption: text|text[png]", a text's picture in
// brackets, or its count of texts and pictures.
QStringList summary(const BoardData& board) {
  QStringList tabs;
  for (const BoardTab& tab : board.tabs) {
    QStringList texts;
    int pictures = 0;
    for (qsizetype i = 0; i < tab.texts.size(); ++i) {
      const BoardPicture* p = tab.pictureOf(i);
      pictures += p != nullptr;
      texts << tab.texts[i] +
                   (p ? "[" + p->contentType.section('/', 1).section('+', 0, 0) + "]" : QString());
    }
    QString shown =
        texts.size() <= 6 ? texts.join('|') : QStringLiteral("%1 textes").arg(tab.texts.size());
    if (texts.size() > 6 && pictures > 0)
      shown += QStringLiteral(", %1 images").arg(pictures);
    tabs << tab.caption + ": " + shown;
  }
  return tabs;
}

// One board whose buttons ("a", "b", ...) name the images i0, i1, ... of the list, in order; a
// package of it and of `files`, or the board alone.
QByteArray picturedBoard(const QJsonArray& images, const QString& suffix,
                         const QList<QPair<QString, QByteArray>>& files = {}) {
  QJsonArray buttons, row;
  for (qsizetype i = 0; i < images.size(); ++i) {
    const QString id = QString::number(i);
    const QString label = images.size() <= 26 ? QString(QChar('a' + int(i))) : "t" + id;
    buttons.append(QJsonObject{{"id", id}, {"label", label}, {"image_id", "i" + id}});
    row.append(id);
  }
  QJsonArray listed;
  for (qsizetype i = 0; i < images.size(); ++i) {
    QJsonObject image = images[i].toObject();
    if (!image.contains("id"))
      image.insert("id", QStringLiteral("i%1").arg(i));
    listed.append(image);
  }
  QJsonObject board = boardJson("1", "Photos", buttons, oneRow(row));
  board.insert("images", listed);
  if (suffix == QLatin1String("obf"))
    return compact(board);
  return writeZip(QList<QPair<QString, QByteArray>>{{"manifest.json", manifestFor({"1"})},
                                                    {"boards/1.obf", compact(board)}} +
                  files)
      .value();
}

QJsonObject byData(const QByteArray& bytes, const QString& type) {
  return QJsonObject{{"content_type", type},
                     {"data", "data:" + type + ";base64," + QString::fromLatin1(bytes.toBase64())}};
}

QJsonObject byPath(const QString& path, const QString& type = "image/png") {
  return QJsonObject{{"content_type", type}, {"path", path}};
}

const QString kRefused = QStringLiteral("Import impossible : ");
const QString kLeftOut =
    QStringLiteral("Laissé de côté à l'import : ");

// Pictures kept, and pictures left out and counted while the rest of the board comes in.
void pictureRows() {
  const QString kPng = QStringLiteral("image/png");
  const QString kSvg = QStringLiteral("image/svg+xml");
  const QByteArray cup = png(QSize(40, 30));
  const QJsonObject good = byData(cup, kPng);
  const QStringList oneLeftOut{"Photos: a|b[png]"};
  QTest::newRow("pictures by data, base64 and percent-encoded")
      << "obf"
      << picturedBoard(
             {good,
              QJsonObject{{"content_type", kSvg},
                          {"data", "data:image/svg+xml," +
                                       QString::fromLatin1(svg("é").toPercentEncoding())}},
              QJsonObject{{"data", "data:image/jpeg;base64," +
                                       QString::fromLatin1(jpeg(QSize(900, 600)).toBase64())}}},
             "obf")
      << QString() << QStringList{"Photos: a[png]|b[svg]|c[png]"};
  QTest::newRow("pictures by path in a package")
      << "obz"
      << picturedBoard({byPath("images/a.png"), byPath("./images/b.svg", kSvg),
                        byPath("images/c.jpg", "image/jpeg")},
                       "obz",
                       {{"images/a.png", cup},
                        {"images/b.svg", svg()},
                        {"images/c.jpg", jpeg(QSize(900, 600))}})
      << QString() << QStringList{"Photos: a[png]|b[svg]|c[png]"};
  QTest::newRow("a picture only reachable by url")
      << "obf"
      << picturedBoard(
             {QJsonObject{{"content_type", kPng}, {"url", "https://example.org/a.png"}}, good},
             "obf")
      << kLeftOut + "1 image." << oneLeftOut;
  const auto leftOut = [&](const char* name, const QJsonObject& image) {
    QTest::newRow(name) << "obf" << picturedBoard({image, good}, "obf") << kLeftOut + "1 image."
                        << oneLeftOut;
  };
  leftOut("a PNG announcing 100000 x 100000 pixels", byData(pngAnnouncing(100000, 100000), kPng));
  leftOut("a broken PNG", byData(brokenPng(), kPng));
  leftOut("an SVG one byte past the bound",
          byData(svg("grand", boardfile::kMaxPictureBytes + 1), kSvg));
  leftOut("bytes that are no picture", byData("bonjour", kPng));
  leftOut("a JPEG said to be a PNG", byData(jpeg(QSize(8, 8)), kPng));
  leftOut("a picture said to be a web page", byData(svg(), "text/html"));
  leftOut("an SVG reaching for a file of the machine",
          byData(R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 9 9">)"
                 R"(<image href = '/etc/hostname' width="9" height="9"/></svg>)",
                 kSvg));
  // A character base64 lacks, amid a real picture: the address is broken, not read around.
  QByteArray damaged = cup.toBase64();
  damaged.insert(damaged.size() / 2, '*');
  leftOut("a broken data address",
          QJsonObject{{"data", "data:image/png;base64," + QString::fromLatin1(damaged)}});
  QJsonObject longLicence = good;
  longLicence.insert("license", QJsonObject{{"type", QString(1100, QLatin1Char('x'))}});
  leftOut("a licence past its bound", longLicence);
  QJsonObject otherId = good;
  otherId.insert("id", "autre");
  leftOut("an image_id naming nothing", otherId);
  QTest::newRow("a path the package lacks")
      << "obz"
      << picturedBoard({byPath("images/absent.png"), byPath("images/b.png")}, "obz",
                       {{"images/b.png", cup}})
      << kLeftOut + "1 image." << oneLeftOut;
  QTest::newRow("a file of the package past a picture's bound")
      << "obz"
      << picturedBoard({byPath("images/a.png"), byPath("images/b.png")}, "obz",
                       {{"images/a.png", cup + QByteArray(bounds::kMaxPictureSourceBytes, '\0')},
                        {"images/b.png", cup}})
      << kLeftOut + "1 image." << oneLeftOut;
  // The bytes read from the package's pictures in all: files that are no pictures use it up,
  // the last one found part way; a picture after them is left out.
  QJsonArray junk;
  QList<QPair<QString, QByteArray>> junkFiles;
  const qint64 spent = bounds::kMaxPictureSourceBytesInAll / bounds::kMaxPictureSourceBytes + 1;
  for (qint64 i = 0; i < spent; ++i) {
    const QString path = QStringLiteral("images/%1.png").arg(i);
    junk.append(byPath(path));
    junkFiles.append({path, QByteArray(bounds::kMaxPictureSourceBytes, char(i))});
  }
  junk.append(byPath("images/bon.png"));
  junkFiles.append({"images/bon.png", cup});
  QTest::newRow("picture files past the bytes read in all")
      << "obz" << picturedBoard(junk, "obz", junkFiles)
      << kLeftOut + QStringLiteral("%1 images.").arg(spent + 1)
      << QStringList{QStringLiteral("Photos: %1 textes").arg(spent + 1)};
  QTest::newRow("a picture named outside the package")
      << "obz" << picturedBoard({byPath("../secret.png")}, "obz")
      << kRefused + QString::fromUtf8("le chemin « ../secret.png » sort du paquet.")
      << QStringList();

  // The board's bounds: the bytes of its pictures in all, their number.
  QJsonArray large;
  QList<QPair<QString, QByteArray>> largeFiles;
  const qint64 fit = boardfile::kMaxPictureBytesInAll / boardfile::kMaxPictureBytes;
  for (qint64 i = 0; i <= fit; ++i) {
    const QString path = QStringLiteral("images/%1.svg").arg(i);
    large.append(byPath(path, kSvg));
    largeFiles.append({path, svg(QByteArray::number(i), boardfile::kMaxPictureBytes)});
  }
  QTest::newRow("pictures one past the bytes a board holds in all")
      << "obz" << picturedBoard(large, "obz", largeFiles) << kLeftOut + "1 image."
      << QStringList{QStringLiteral("Photos: %1 textes, %2 images").arg(fit + 1).arg(fit)};
  QJsonArray many;
  QList<QPair<QString, QByteArray>> manyFiles;
  for (int i = 0; i <= boardfile::kMaxPictures; ++i) {
    const QString path = QStringLiteral("images/%1.svg").arg(i);
    many.append(byPath(path, kSvg));
    manyFiles.append({path, svg(QByteArray::number(i))});
  }
  QTest::newRow("one picture more than a board holds")
      << "obz" << picturedBoard(many, "obz", manyFiles) << kLeftOut + "1 image."
      << QStringList{QStringLiteral("Photos: %1 textes, %2 images")
                         .arg(boardfile::kMaxPictures + 1)
                         .arg(boardfile::kMaxPictures)};

  // The pixels decoders are let loose on in all: bombs announcing the most a picture may, then
  // a real picture of what is left, and of one row more.
  const qint64 bombs = bounds::kMaxPicturePixelsInAll / picturedecoder::kMaxSourcePixels;
  const qint64 left = bounds::kMaxPicturePixelsInAll % picturedecoder::kMaxSourcePixels;
  // One more past what a picture may announce: refused before it costs the budget anything.
  QJsonArray exhausting{byData(pngAnnouncing(8193, 8192), kPng)};
  for (qint64 i = 0; i < bombs; ++i)
    exhausting.append(byData(pngAnnouncing(8192, 8192) + QByteArray::number(i), kPng));
  for (const int rows : {int(left / 1024), int(left / 1024) + 1}) {
    QJsonArray images = exhausting;
    images.append(byData(png(QSize(1024, rows)), kPng));
    const bool fits = qint64(rows) * 1024 <= left;
    QTest::newRow(fits ? "bombs, then a picture of the pixels left"
                       : "bombs, then a picture one row past the pixels left")
        << "obf" << picturedBoard(images, "obf")
        << kLeftOut + QStringLiteral("%1 images.").arg(bombs + 1 + !fits)
        << QStringList{QStringLiteral("Photos: %1 textes").arg(bombs + 2) +
                       (fits ? QStringLiteral(", 1 images") : QString())};
  }
}

} // namespace

class ImportDoorTest : public QObject {
  Q_OBJECT
private slots:
  void hostileAndPuzzlingFiles_data() {
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("told");      // the refusal, or what was left out
    QTest::addColumn<QStringList>("board"); // the tabs imported, empty when refused

    const QJsonObject longButton{{"id", "1"}, {"label", QString(32000, QLatin1Char('a'))}};
    QTest::newRow("grid naming one long button 4 million times")
        << "obz" << zipOfBoard(oneButtonManyCells(longButton, 4000000))
        << kRefused + "le fichier boards/1.obf du paquet compte plus de 800000 éléments : aucun "
                      "tableau Orivox n'en a autant."
        << QStringList();
    QJsonArray actions;
    for (int i = 0; i < 1000; ++i)
      actions.append(QStringLiteral("+%1").arg(i));
    const QJsonObject manyActions{
        {"id", "1"}, {"label", QString(3000, QLatin1Char('b'))}, {"actions", actions}};
    QTest::newRow("1000 actions on a button named by 10000 cells")
        << "obf" << oneButtonManyCells(manyActions, 10000)
        << kRefused + "le tableau est trop grand pour Orivox (un tableau ne peut pas avoir plus "
                      "de 16 Mo de texte en tout)."
        << QStringList();
    const QJsonObject shortButton{{"id", "1"}, {"label", "oui"}};
    QTest::newRow("exactly as many texts as a board holds")
        << "obz" << zipOfBoard(oneButtonManyCells(shortButton, boardfile::kMaxTexts)) << QString()
        << QStringList{"Onglet: 25000 textes"};
    QTest::newRow("one text more than a board holds")
        << "obf" << oneButtonManyCells(shortButton, boardfile::kMaxTexts + 1)
        << kRefused + "le tableau est trop grand pour Orivox (un tableau ne peut pas avoir plus "
                      "de 25000 textes)."
        << QStringList();
    // Counted as the board file stores them, one byte a letter, accents included.
    const QString longest(boardfile::kMaxLineBytes, QChar(0xE9));
    QTest::newRow("a text as long as a text may be")
        << "obf" << boardOfTexts("Long", {longest}) << QString() << QStringList{"Long: " + longest};
    QTest::newRow("a text one character longer")
        << "obf" << boardOfTexts("Long", {longest + "e"})
        << kRefused + "le tableau est trop grand pour Orivox (un texte ne peut pas avoir plus de "
                      "32767 caractères)."
        << QStringList();
    QTest::newRow("characters outside the code page")
        << "obf"
        << boardOfTexts("Signes",
                        {QString::fromUtf8("peut\u2011être"), QString::fromUtf8("5 \u2212 3"),
                         QString::fromUtf8("10\u202F000"), QString::fromUtf8("e\u0301te"),
                         QString::fromUtf8("\uFB01n\u2009!"), QString::fromUtf8("αβγ"),
                         QString::fromUtf8("merci 😀")})
        << kLeftOut + "2 textes aux caractères qu'Orivox ne peut pas enregistrer."
        << QStringList{QString::fromUtf8("Signes: peut-être|5 - 3|10\u00A0000|éte|fin !")};
    QTest::newRow("command words in any case")
        << "obf"
        << boardOfTexts("Mots", {"retour", "Clear", "AJOUT", QString::fromUtf8("suppreSSion"),
                                 "validation ", "Ajouter"})
        << kLeftOut + "4 textes identiques à des commandes."
        << QStringList{"Mots: validation |Ajouter"};
    QTest::newRow("reserved tab names twice, in any case")
        << "obz"
        << packageOfTabs({"Divers", "Divers (2)", "divers", "ALPHABET", "Alphabet",
                          QString::fromUtf8("AUTRES CARACTÈRES"),
                          QString::fromUtf8("autres caractères")})
        << QString::fromUtf8(
               "Onglets renommés à l'import (Orivox n'a qu'un onglet de chaque nom réservé) : "
               "« divers » devient « Divers (3) », « Alphabet » devient « Alphabet (2) » et "
               "« autres caractères » devient « Autres caractères (2) ».")
        << QStringList{"Accueil: bonjour",
                       "Divers: x",
                       "Divers (2): x",
                       "Divers (3): x",
                       "ALPHABET: x",
                       "Alphabet (2): x",
                       QString::fromUtf8("AUTRES CARACTÈRES: x"),
                       QString::fromUtf8("Autres caractères (2): x")};
    QTest::newRow("a button added elsewhere to a lone board")
        << "obf" << orivoxBoardWithAddedButton(false) << QString()
        << QStringList{"Un: a", QString::fromUtf8("Deux: b|ajouté ailleurs")};
    QTest::newRow("a text added elsewhere to a package's first board")
        << "obz" << orivoxBoardWithAddedButton(true) << QString()
        << QStringList{QString::fromUtf8("Mon tableau: ajouté ailleurs"), "Un: a", "Deux: b"};
    // Each board well under the bound, together past it.
    const QByteArray third(bounds::kMaxPackageJsonBytes / 3, ' ');
    QTest::newRow("boards inflating past the package's bound together")
        << "obz" << packageOfTabs({"Un", "Deux", "Trois"}, {third, third, third})
        << kRefused + "le paquet se décompresse au-delà de 128 Mo." << QStringList();
    // Announced as small, one byte past the bound in truth: not one chunk more is taken.
    const QByteArray manifest = manifestFor({"1"});
    const QByteArray board = boardOfTexts("Un", {"a"});
    const QByteArray onePast =
        board + QByteArray(bounds::kMaxPackageJsonBytes + 1 - manifest.size() - board.size(), ' ');
    QTest::newRow("an entry lying about its size, one byte past the bound")
        << "obz"
        << lyingAboutSize(
               writeZip({{"manifest.json", manifest}, {"boards/1.obf", onePast}}).value(),
               quint32(onePast.size()))
        << kRefused + "le paquet se décompresse au-delà de 128 Mo." << QStringList();
    pictureRows();
  }
  void hostileAndPuzzlingFiles() {
    QFETCH(QString, suffix);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, told);
    QFETCH(QStringList, board);
    QTemporaryDir dir;
    const QString path = dir.filePath("tableau." + suffix);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();
    bytes.clear();

    const ImportResult r = importFile(path);
    QCOMPARE(r.ok ? r.dropped.text() : r.errorString(), told);
    QCOMPARE(summary(r.board), board);
    if (r.ok)
      QCOMPARE(boardfile::read(boardfile::write(r.board)).data.tabs, r.board.tabs);
  }

  // The colours other programs show: a known colour and system colours, red not taken for blue.
  void exportedColours_data() {
    QTest::addColumn<int>("colour");
    QTest::addColumn<QString>("rgb");
    QTest::newRow("red") << int(clRed) << "rgb(255, 0, 0)";
    QTest::newRow("orange") << 0x0080FF << "rgb(255, 128, 0)";
    QTest::newRow("button face") << int(clBtnFace) << "rgb(240, 240, 240)";
    QTest::newRow("highlight") << int(0x8000000Du) << "rgb(0, 120, 215)";
  }
  void exportedColours() {
    QFETCH(int, colour);
    QFETCH(QString, rgb);
    BoardData board;
    board.tabColor = colour;
    board.tabs = {{QStringLiteral("Un"), {QStringLiteral("a")}}};
    const QJsonObject lone = QJsonDocument::fromJson(obfBytes(board, "x").value()).object();
    QCOMPARE(lone["buttons"].toArray().first()["background_color"].toString(), rgb);
    QVERIFY(isColour(rgb));
  }

  void colourPattern_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("colour");
    QTest::newRow("rgb") << "rgb(1, 2, 3)" << true;
    QTest::newRow("rgba") << "rgba(1,2,3,0.5)" << true;
    QTest::newRow("trailing junk") << "rgb(1,2,3)junk" << false;
    QTest::newRow("leading junk") << "junk rgb(1,2,3)" << false;
    QTest::newRow("two values") << "rgb(1,2)" << false;
  }
  void colourPattern() {
    QFETCH(QString, value);
    QFETCH(bool, colour);
    QCOMPARE(isColour(value), colour);
  }

  // One spelling of a path inside a package, or none when it leaves it: the importer and the
  // format check go by the same function.
  void packagePaths_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("inside");
    QTest::newRow("plain") << "boards/a.obf"
                           << "boards/a.obf";
    QTest::newRow("dot first") << "./a"
                               << "a";
    QTest::newRow("double slash") << "a//b"
                                  << "a/b";
    QTest::newRow("dot inside") << "a/./b"
                                << "a/b";
    QTest::newRow("drive") << "C:x"
                           << "";
    QTest::newRow("drive and slash") << "c:/x"
                                     << "";
    QTest::newRow("absolute") << "/etc/passwd"
                              << "";
    QTest::newRow("backslash") << "a\\b"
                               << "";
    QTest::newRow("parent") << "../a"
                            << "";
    QTest::newRow("parent inside") << "a/../b"
                                   << "";
    QTest::newRow("nothing but a dot") << "."
                                       << "";
    QTest::newRow("empty") << ""
                           << "";
  }
  void packagePaths() {
    QFETCH(QString, path);
    QFETCH(QString, inside);
    QCOMPARE(packagePath(path), inside);
  }

  // A board from an older file past the bound on a board's text in all: nothing written, and
  // the carer told which bound. An existing export is kept as ".bak" when replaced.
  void exportRefusesWhatCouldNotComeBack() {
    QTemporaryDir dir;
    BoardData old;
    old.tabs = {{QStringLiteral("Longs"), QStringList(2500, QString(30000, QLatin1Char('x')))}};
    for (const char* name : {"vieux.obz", "vieux.obf"}) {
      const QString path = dir.filePath(name);
      QCOMPARE(exportFile(old, path).errorString(),
               QStringLiteral("Exportation impossible : le tableau est trop grand pour Orivox (un "
                              "tableau ne peut pas avoir plus de 16 Mo de texte en tout)."));
      QVERIFY(!QFile::exists(path));
    }
    BoardData board;
    board.tabs = {{QStringLiteral("Un"), {QStringLiteral("a")}}};
    for (const char* name : {"tableau.obz", "tableau.obf"}) {
      const QString path = dir.filePath(name);
      QVERIFY(exportFile(board, path).ok);
      board.tabs[0].texts << QStringLiteral("b");
      QVERIFY(exportFile(board, path).ok);
      const QString before = dir.filePath(QStringLiteral("avant-") + name);
      QVERIFY(QFile::copy(path + ".bak", before));
      QCOMPARE(importFile(before).board.tabs.first().texts.size(), board.tabs[0].texts.size() - 1);
    }
  }
};

ORIVOX_TEST(ImportDoorTest)
#include "ImportDoorTest.moc"

// Files made to hurt or to puzzle the importer, read the way "Importer..." and --convert read
// them, each with what the carer is then told; and what the exporter writes for them to read.
#include "interchange/Bounds.h"
#include "interchange/FormatCheck.h"
#include "interchange/Interchange.h"
#include "interchange/ZipPackage.h"

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

// What the carer sees of a board: each tab as "caption: text|text", or its count of texts.
QStringList summary(const BoardData& board) {
  QStringList tabs;
  for (const BoardTab& tab : board.tabs)
    tabs << tab.caption + ": " +
                (tab.texts.size() <= 6 ? tab.texts.join('|')
                                       : QStringLiteral("%1 textes").arg(tab.texts.size()));
  return tabs;
}

const QString kRefused = QStringLiteral("Import impossible : ");
const QString kLeftOut =
    QStringLiteral("Laissé de côté à l'import (Orivox ne montre que des textes) : ");

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
        << kRefused + "le fichier boards/1.obf du paquet compte plus de 400000 éléments : aucun "
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
        << kRefused + "le paquet se décompresse au-delà de 24 Mo." << QStringList();
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
        << kRefused + "le paquet se décompresse au-delà de 24 Mo." << QStringList();
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

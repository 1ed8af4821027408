// Boards travelling through the Open Board Format: Orivox boards exported and imported back
// unchanged, boards written the way other programs write them, and hostile files refused whole.
#include "interchange/Interchange.h"
#include "interchange/Bounds.h"
#include "interchange/CommandLine.h"
#include "interchange/FormatCheck.h"
#include "interchange/ZipPackage.h"
#include "support/Fixtures.h"

#include "board/DefaultBoard.h"
#include "documents/ReservedNames.h"
#include "support/TestRegistry.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace interchange;

Q_DECLARE_METATYPE(BoardData)

namespace {

BoardData fixture(const QString& name) {
  const BoardReadResult r = boardfile::read(boardFixture(name));
  if (r.status != BoardReadStatus::Ok)
    qFatal("fixture %s does not read", qPrintable(name));
  return r.data;
}

// The board "Nouveau" makes, from the same lists.
BoardData defaultBoard() {
  BoardData b;
  b.selectedFont.color = clRed;
  b.unselectedFont.color = clNavy;
  b.tabs = {{QStringLiteral("Divers"), {}},
            {QStringLiteral("Alphabet"), defaultboard::alphabetTexts()},
            {QStringLiteral("Autres caractères"), defaultboard::otherCharacterTexts()}};
  return b;
}

// What a carer's board may hold that a plain board does not: an empty tab and caption, empty
// texts, control characters a save keeps, signs, system colours, a grid, speech and settings
// this version does not know.
BoardData richBoard() {
  BoardData b = fixture(QStringLiteral("settings.ord"));
  b.tabs << BoardTab{QString(), {}}
         << BoardTab{QStringLiteral("Repas"),
                     {QString(), QStringLiteral("un\tdeux\x01trois\x7F"),
                      QStringLiteral("J'ai « faim » — œuf"), QStringLiteral("  deux espaces  "),
                      QString()}};
  b.tabColor = clBtnFace;
  b.settings.voice = QStringLiteral("Amélie");
  b.settings.speakPrompts = true;
  b.settings.storedBlock << QByteArray("futureKey=\xe9"
                                       "1");
  b.currentPhraseFont.name = QStringLiteral("DejaVu Sans");
  b.currentPhraseFont.italic = true;
  return b;
}

QByteArray json(const QJsonObject& o) {
  return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

QByteArray zipOf(const QList<QPair<QString, QByteArray>>& entries) {
  return writeZip(entries).value();
}

QJsonObject board(const QJsonValue& id, const QString& name, const QJsonArray& buttons,
                  const QJsonArray& order) {
  return QJsonObject{{"format", "open-board-0.1"},
                     {"id", id},
                     {"locale", "en"},
                     {"name", name},
                     {"buttons", buttons},
                     {"grid", QJsonObject{{"rows", order.size()},
                                          {"columns", order.first().toArray().size()},
                                          {"order", order}}},
                     {"images", QJsonArray()},
                     {"sounds", QJsonArray()}};
}

QByteArray manifest(const QJsonObject& boards, const QString& root = "boards/1.obf") {
  return json(QJsonObject{
      {"format", "open-board-0.1"}, {"root", root}, {"paths", QJsonObject{{"boards", boards}}}});
}

// The same package claiming that its entries inflate to a few bytes: only counting the bytes
// as they come finds out.
QByteArray lyingAboutSizes(QByteArray bytes, quint32 realSize) {
  auto patch = [&bytes, realSize](const QByteArray& signature, int sizeOffset) {
    for (qsizetype at = bytes.indexOf(signature); at >= 0; at = bytes.indexOf(signature, at + 1)) {
      char* field = bytes.data() + at + sizeOffset;
      if (qFromLittleEndian<quint32>(field) == realSize)
        qToLittleEndian<quint32>(1000, field);
    }
  };
  patch(QByteArray("PK\x03\x04", 4), 22);
  patch(QByteArray("PK\x01\x02", 4), 24);
  return bytes;
}

QByteArray nested(int depth) {
  return "{\"buttons\":[],\"x\":" + QByteArray(depth, '[') + QByteArray(depth, ']') + "}";
}

} // namespace

class InterchangeTest : public QObject {
  Q_OBJECT
private slots:
  // Every file written passes the format's rules, and imports into the same board, byte for
  // byte once saved, through a package and through a lone board alike.
  void orivoxBoardsComeBackUnchanged_data() {
    QTest::addColumn<BoardData>("board");
    QTest::addColumn<QString>("dropped"); // what the carer is told
    QTest::newRow("default board") << defaultBoard() << QString();
    QTest::newRow("rich board") << richBoard() << QString();
    for (const char* name : {"default.ord", "settings.ord", "colour-forms.ord", "zero-tabs.ord",
                             "short-final-block.ord", "extra-lines.ord"})
      QTest::newRow(name) << fixture(QString::fromLatin1(name)) << QString();
    // An older file's text spelled like a command would act as the command: it stays behind.
    QTest::newRow("texts.ord") << fixture(QStringLiteral("texts.ord"))
                               << "Laissé de côté à l'import : 1 "
                                  "texte identique à une commande.";
    // The largest boards the program saves: many tabs of sentences, and long texts up to the
    // bound on a board's text in all.
    BoardData manyTabs = defaultBoard();
    manyTabs.tabs.clear();
    for (int t = 0; t < boardfile::kMaxTabs; ++t)
      manyTabs.tabs << BoardTab{QStringLiteral("Onglet %1").arg(t),
                                QStringList(50, QString(210, QChar(0xE9)))};
    QTest::newRow("500 tabs of 50 texts of 210 characters") << manyTabs << QString();
    BoardData longTexts = defaultBoard();
    longTexts.tabs = {BoardTab{QStringLiteral("Longs"), {}}};
    const qint64 room = boardfile::kMaxBoardTextBytes - 5;
    for (qint64 used = 0; used < room; used += 30000)
      longTexts.tabs[0].texts << QString(int(qMin<qint64>(30000, room - used)), QLatin1Char('x'));
    QTest::newRow("texts up to the bound in all") << longTexts << QString();
  }
  void orivoxBoardsComeBackUnchanged() {
    QFETCH(BoardData, board);
    QFETCH(QString, dropped);
    BoardData expected = board;
    for (BoardTab& tab : expected.tabs)
      tab.texts.removeIf([](const QString& t) { return reservednames::isCommandText(t); });
    const QByteArray saved = boardfile::write(expected);

    const QByteArray obz = obzBytes(board, QStringLiteral("Mon tableau")).value();
    if (board.tabs.size() < 10)
      QCOMPARE(checkObz(obz), QStringList());
    const ImportResult fromObz = importObz(obz);
    QVERIFY2(fromObz.ok, qPrintable(fromObz.errorMessage));
    QCOMPARE(fromObz.dropped.text(), dropped);
    QVERIFY(boardfile::write(fromObz.board) == saved);

    const QByteArray obf = obfBytes(board, QStringLiteral("Mon tableau")).value();
    if (board.tabs.size() < 10)
      QCOMPARE(checkObf(obf), QStringList());
    QVERIFY(!obf.contains('\n')); // compact: every byte counts against the import's bound
    const ImportResult fromObf = importObf(obf);
    QVERIFY2(fromObf.ok, qPrintable(fromObf.errorMessage));
    QCOMPARE(fromObf.dropped.text(), dropped);
    QVERIFY(boardfile::write(fromObf.board) == saved);
  }

  // A package as other programs write it: numeric ids, empty cells, links by path and by id,
  // a link back to the start, a link to a board the package lacks, hidden buttons, pictures,
  // sounds and commands.
  void boardsMadeElsewhereBecomeTabsOfTexts() {
    const QJsonArray home{
        QJsonObject{{"id", 1}, {"label", "bonjour"}, {"image_id", "img1"}},
        QJsonObject{{"id", 2}, {"label", "merci"}, {"vocalization", "merci beaucoup"}},
        QJsonObject{{"id", 3}, {"label", "secret"}, {"hidden", true}},
        QJsonObject{{"id", 4}, {"label", "effacer"}, {"action", ":clear"}},
        QJsonObject{{"id", 5},
                    {"label", "à manger"},
                    {"load_board", QJsonObject{{"path", "boards/2.obf"}}}},
        QJsonObject{{"id", 6}, {"label", "boire"}, {"load_board", QJsonObject{{"id", "3"}}}},
        QJsonObject{{"id", 7},
                    {"label", "ailleurs"},
                    {"load_board", QJsonObject{{"path", "boards/absent.obf"}}}},
        QJsonObject{{"id", 8}, {"label", "au revoir"}, {"vocalization", "au revoir"}},
        QJsonObject{{"id", 9}, {"label", "pas dans la grille"}}};
    const QJsonArray homeOrder{QJsonArray{1, QJsonValue(), 2}, QJsonArray{3, 4, 5},
                               QJsonArray{"6", "7", "8"}};
    const QJsonArray food{
        QJsonObject{{"id", "a"}, {"label", "pain"}},
        QJsonObject{{"id", "b"},
                    {"label", "accueil"},
                    {"load_board", QJsonObject{{"path", "boards/1.obf"}}}},
        QJsonObject{{"id", "c"}, {"label", "boire"}, {"load_board", QJsonObject{{"id", "3"}}}},
        QJsonObject{{"id", "d"}, {"label", "pomme\nrouge"}}};
    const QJsonArray drinks{QJsonObject{{"id", "x"}, {"label", "eau"}, {"sound_id", "s1"}},
                            QJsonObject{{"id", "y"}, {"label", "espace"}, {"action", ":space"}},
                            QJsonObject{{"id", "z"}, {"label", "A"}, {"action", "+a"}}};
    const QByteArray package = zipOf(
        {{"manifest.json",
          manifest(
              QJsonObject{{"1", "boards/1.obf"}, {"2", "boards/2.obf"}, {"3", "./boards/3.obf"}})},
         {"boards/1.obf", json(board("1", "Accueil", home, homeOrder))},
         {"boards/2.obf", json(board(2, "Nourriture", food,
                                     QJsonArray{QJsonArray{"c", "a"}, QJsonArray{"d", "b"}}))},
         {"boards/3.obf",
          json(board("3", QString(), drinks, QJsonArray{QJsonArray{"x", "y", "z"}}))}});

    const ImportResult r = importObz(package);
    QVERIFY2(r.ok, qPrintable(r.errorMessage));
    QCOMPARE(r.board.tabs.size(), 3);
    QCOMPARE(r.board.tabs[0].caption, QStringLiteral("Accueil"));
    QCOMPARE(r.board.tabs[0].texts, QStringList({"bonjour", "merci beaucoup", "au revoir"}));
    QCOMPARE(r.board.tabs[1].caption, QStringLiteral("Nourriture"));
    QCOMPARE(r.board.tabs[1].texts, QStringList({"pain", "pomme rouge"}));
    // A board without a name takes the label of the first button leading to it.
    QCOMPARE(r.board.tabs[2].caption, QStringLiteral("boire"));
    QCOMPARE(r.board.tabs[2].texts, QStringList({"eau", " ", "A"}));
    QCOMPARE(
        r.dropped.text(),
        QStringLiteral("Laissé de côté à l'import : 1 image, "
                       "1 son et 2 actions autres que des textes."));
    // A new board, in the default board's look.
    QCOMPARE(r.board.unselectedFont.color, clNavy);

    // The same start board alone: its links lead nowhere and are counted.
    const ImportResult alone = importObf(json(board("1", "Accueil", home, homeOrder)));
    QVERIFY(alone.ok);
    QCOMPARE(alone.board.tabs.size(), 1);
    QCOMPARE(alone.board.tabs[0].texts, QStringList({"bonjour", "merci beaucoup", "au revoir"}));
    QCOMPARE(alone.dropped.text(),
             QStringLiteral("Laissé de côté à l'import : 1 image "
                            "et 4 actions autres que des textes."));
  }

  // Hostile or broken files: one clear message, nothing imported.
  void hostileFilesAreRefusedWhole_data() {
    QTest::addColumn<bool>("package");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    const QJsonArray one{QJsonObject{{"id", "1"}, {"label", "a"}}};
    const QJsonArray order{QJsonArray{"1"}};
    const QByteArray plain = json(board("1", "Un", one, order));

    // Blanks after the board: valid JSON, a few kilobytes once deflated.
    const QByteArray padded = plain + QByteArray(bounds::kMaxPackageJsonBytes, ' ');
    QTest::newRow("package inflating past its bound")
        << true
        << zipOf({{"manifest.json", manifest({{"1", "boards/1.obf"}})}, {"boards/1.obf", padded}})
        << "Import impossible : le paquet se décompresse au-delà de 128 Mo.";
    QTest::newRow("package lying about its inflated size")
        << true
        << lyingAboutSizes(zipOf({{"manifest.json", manifest({{"1", "boards/1.obf"}})},
                                  {"boards/1.obf", padded}}),
                           quint32(padded.size()))
        << "Import impossible : le paquet se décompresse au-delà de 128 Mo.";
    QTest::newRow("board path leaving the package")
        << true
        << zipOf({{"manifest.json", manifest({{"1", "boards/1.obf"}, {"2", "../../etc/passwd"}})},
                  {"boards/1.obf", plain}})
        << "Import impossible : le chemin « ../../etc/passwd » sort du paquet.";
    QTest::newRow("image path absolute")
        << true
        << zipOf({{"manifest.json",
                   json(QJsonObject{
                       {"format", "open-board-0.1"},
                       {"root", "boards/1.obf"},
                       {"paths", QJsonObject{{"boards", QJsonObject{{"1", "boards/1.obf"}}},
                                             {"images", QJsonObject{{"i", "/etc/shadow"}}}}}})},
                  {"boards/1.obf", plain}})
        << "Import impossible : le chemin « /etc/shadow » sort du paquet.";
    QTest::newRow("link leaving the package")
        << true
        << zipOf({{"manifest.json", manifest({{"1", "boards/1.obf"}})},
                  {"boards/1.obf",
                   json(board("1", "Un",
                              QJsonArray{QJsonObject{
                                  {"id", "1"},
                                  {"label", "x"},
                                  {"load_board", QJsonObject{{"path", "boards/../../x.obf"}}}}},
                              order))}})
        << "Import impossible : le chemin « boards/../../x.obf » sort du paquet.";
    QTest::newRow("two boards with one id")
        << true
        << zipOf({{"manifest.json", manifest({{"1", "boards/1.obf"}, {"2", "boards/2.obf"}})},
                  {"boards/1.obf",
                   json(board("1", "Un",
                              QJsonArray{QJsonObject{
                                  {"id", "1"},
                                  {"label", "x"},
                                  {"load_board", QJsonObject{{"path", "boards/2.obf"}}}}},
                              order))},
                  {"boards/2.obf", json(board(1, "Deux", one, order))}})
        << "Import impossible : deux tableaux portent l'identifiant « 1 ».";
    QTest::newRow("several boards and no manifest")
        << true << zipOf({{"a.obf", plain}, {"b.obf", plain}})
        << "Import impossible : le paquet n'a pas de manifest.json.";
    QTest::newRow("not a zip")
        << true << plain << "Import impossible : ce fichier n'est pas un paquet .obz lisible.";
    QTest::newRow("button ids colliding as string and number")
        << false
        << json(board("1", "Un",
                      QJsonArray{QJsonObject{{"id", "7"}, {"label", "a"}},
                                 QJsonObject{{"id", 7}, {"label", "b"}}},
                      QJsonArray{QJsonArray{"7"}}))
        << "Import impossible : deux boutons portent l'identifiant « 7 » dans ce fichier.";
    QTest::newRow("nested beyond reason")
        << false << nested(33)
        << "Import impossible : ce fichier est imbriqué sur plus de 32 niveaux.";
    QTest::newRow("sized beyond reason") << false << plain + QByteArray(bounds::kMaxJsonBytes, ' ')
                                         << "Import impossible : ce fichier dépasse 128 Mo.";
    QTest::newRow("not a board") << false << QByteArray("{\"format\":\"open-board-0.1\"}")
                                 << "Import impossible : ce fichier n'est pas un tableau au format "
                                    "Open Board.";
    QJsonArray captions;
    for (int i = 0; i < 501; ++i)
      captions.append(QJsonObject{{"caption", QString::number(i)}});
    QJsonObject tooMany = board("1", "Un", one, order);
    tooMany.insert("ext_orivox_board", QJsonObject());
    tooMany.insert("ext_orivox_tabs", captions);
    QTest::newRow("more tabs than a board holds")
        << false << json(tooMany)
        << "Import impossible : le tableau est trop grand pour Orivox (un tableau ne peut pas "
           "avoir plus de 500 onglets).";
  }
  void hostileFilesAreRefusedWhole() {
    QFETCH(bool, package);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    const ImportResult r = package ? importObz(bytes) : importObf(bytes);
    QCOMPARE(r.errorMessage, message);
    QVERIFY(!r.ok);
    QVERIFY(r.board.tabs.isEmpty());
  }

  // The command line as the desktop entry ("orivox %f") and carers preparing boards use it.
  void commandLine_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("first");  // the file to open, or the conversion's input
    QTest::addColumn<QString>("second"); // the conversion's output, or the problem
    const int start = int(CommandLine::Action::Start);
    const int convert = int(CommandLine::Action::Convert);
    const int usage = int(CommandLine::Action::Usage);
    QTest::newRow("nothing: the last board") << QStringList() << start << ""
                                             << "";
    QTest::newRow("a file from the file manager") << QStringList{"/home/a/Mes tableaux/repas.obz"}
                                                  << start << "/home/a/Mes tableaux/repas.obz"
                                                  << "";
    QTest::newRow("options left to Qt") << QStringList{"--reverse", "b.ord"} << start << "b.ord"
                                        << "";
    QTest::newRow("a file named like an option") << QStringList{"--", "-b.ord"} << start << "-b.ord"
                                                 << "";
    QTest::newRow("conversion") << QStringList{"--convert", "a.obz", "b.ord"} << convert << "a.obz"
                                << "b.ord";
    QTest::newRow("conversion among Qt's options")
        << QStringList{"-platform", "offscreen", "--convert", "a.obz", "b.ord"} << convert
        << "a.obz"
        << "b.ord";
    QTest::newRow("conversion without its output")
        << QStringList{"--convert", "a.obz"} << usage << ""
        << "--convert attend deux fichiers : l'entrée et la sortie.";
  }
  void commandLine() {
    QFETCH(QStringList, arguments);
    QFETCH(int, action);
    QFETCH(QString, first);
    QFETCH(QString, second);
    const CommandLine c = parseCommandLine(arguments);
    QCOMPARE(int(c.action), action);
    if (c.action == CommandLine::Action::Convert) {
      QCOMPARE(c.input, first);
      QCOMPARE(c.output, second);
    } else {
      QCOMPARE(c.fileToOpen, first);
      QCOMPARE(c.problem, second);
    }
  }
};

ORIVOX_TEST(InterchangeTest)
#include "InterchangeTest.moc"

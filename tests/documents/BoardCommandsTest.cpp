// The whole-board commands of the main window as a carer meets them: boards opened and saved
// through the window, the file names chosen, and what a broken file or a failed save leaves.
#include "board/BoardView.h"
#include "board/TOnglet.h"
#include "board/TPageControl.h"
#include "documents/BoardFile.h"
#include "documents/TFormChangeMdp.h"
#include "editing/BoardHistory.h"
#include "editing/CreationPanel.h"
#include "execution/ScanSession.h"
#include "execution/SwitchKeyFilter.h"
#include "shell/ConfigFile.h"
#include "shell/Startup.h"
#include "shell/TMainFrame.h"
#include "support/Fakes.h"
#include "support/Fixtures.h"
#include "support/MainFrameHarness.h"
#include "support/TestRegistry.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <map>

namespace {

const QString kLoadError = QStringLiteral("erreur de chargement du fichier");
const QString kSaveError = QStringLiteral("erreur d'enregistrement du fichier");
const QString kFilter = QStringLiteral("Fichiers ordinogrammes (*.ord) |*.ord");

QByteArray fixture(const QString& name) {
  return boardFixture(name);
}

QByteArray bytesOf(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

bool writeFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// A file in the writer's form with some lines replaced (1-based numbers).
QByteArray withLines(const QByteArray& bytes, const std::map<int, QByteArray>& lines) {
  QList<QByteArray> all = boardfile::splitLines(bytes);
  for (const auto& [number, content] : lines)
    all[number - 1] = content;
  return all.join("\r\n") + "\r\n";
}

QStringList captions(TMainFrame& f) {
  QStringList list;
  for (TOnglet* page : f.view().pages())
    list << page->caption();
  return list;
}

// Every text of every page, whole, as the carer typed them.
QList<QStringList> texts(TMainFrame& f) {
  QList<QStringList> all;
  for (TOnglet* page : f.view().pages()) {
    page->JoinPieces();
    all << page->GetTexts();
    page->SplitAllTexts();
    page->ArrangeButtons();
  }
  return all;
}

int buttonCount(TMainFrame& f) {
  int n = 0;
  for (TOnglet* page : f.view().pages())
    n += page->GetButtonCount();
  return n;
}

// Copies a fixture into the harness folder and loads it: the tests never write beside the
// fixtures.
QString loadCopy(MainFrameHarness& h, const QString& name, const QByteArray& bytes) {
  const QString path = h.path(name);
  if (!writeFile(path, bytes))
    qFatal("cannot write %s", qPrintable(path));
  h.frame().LoadBoard(path);
  return path;
}

// Saves under a chosen name, as "Enregistrer sous" does.
void saveAs(MainFrameHarness& h, const QString& chosen) {
  h.fakes.fileDialogs.saveReplies.push_back(chosen);
  h.frame().document().SaveBoard(true);
}

// A board on screen with unsaved changes and a file of its own: what a failure must not touch.
struct EditedBoard {
  QString path;
  QByteArray bytes;
  QStringList captions;
  int buttons;
};
EditedBoard editedBoard(MainFrameHarness& h, const QString& path) {
  TMainFrame& f = h.frame();
  saveAs(h, path);
  EditedBoard b;
  b.path = path;
  b.bytes = bytesOf(path);
  f.panel().BtnAjoutOnglClick(); // "Onglet1", unsaved
  b.captions = captions(f);
  b.buttons = buttonCount(f);
  return b;
}

bool runningAsRoot() {
  // Permissions do not stop the superuser: a read-only folder is writable to it.
  QTemporaryDir probe;
  QFile::setPermissions(probe.path(), QFile::ReadOwner | QFile::ExeOwner);
  QFile f(probe.filePath("x"));
  const bool writable = f.open(QIODevice::WriteOnly);
  QFile::setPermissions(probe.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  return writable;
}

} // namespace

class BoardCommandsTest : public QObject {
  Q_OBJECT
private slots:
  void savedThroughTheWindowInTheWriterForm_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("expected");
    const QByteArray def = fixture("default.ord");
    QTest::newRow("default board") << "default.ord" << def;
    QTest::newRow("board without tabs") << "zero-tabs.ord" << fixture("zero-tabs.ord");
    QTest::newRow("settings and unknown settings kept")
        << "settings.ord" << fixture("settings.ord");
    QTest::newRow("lines after the final block ignored") << "extra-lines.ord" << def;
    QTest::newRow("missing final block keeps the phrase font") << "no-final-block.ord" << def;
    QTest::newRow("short final block applies what it has")
        << "short-final-block.ord" << withLines(def, {{99, "Tahoma"}, {100, "11"}});
    QTest::newRow("bad colour ends the final block")
        << "bad-final-colour.ord" << withLines(def, {{99, "Tahoma"}, {100, "11"}});
    QTest::newRow("ctrl-z ends the file") << "ctrl-z.ord" << withLines(def, {{99, "Tahoma"}});
    // Fonts that are not installed keep their names; the empty tab-strip name keeps the name
    // the strip had; the display colour of the final block is the one the board ends with.
    QTest::newRow("texts, styles and colours") << "texts.ord" << fixture("texts-saved.ord");
  }
  void savedThroughTheWindowInTheWriterForm() {
    QFETCH(QString, file);
    QFETCH(QByteArray, expected);
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    const QString loaded = loadCopy(h, file, fixture(file));
    QCOMPARE(f.document().fileName(), loaded);
    QCOMPARE(f.windowTitle(), QStringLiteral("Orivox v1.0 : ") + loaded);
    QVERIFY(f.document().saved());

    f.panel().BtnAjoutOnglClick();
    f.panel().BtnSupprOnglClick(); // a change and its undoing: the board is the loaded one again
    QVERIFY(!f.document().saved());
    const QString saved = h.path("copy.ord");
    saveAs(h, saved);
    QCOMPARE(bytesOf(saved), expected);
    QCOMPARE(bytesOf(loaded), fixture(file)); // save as leaves the opened file alone
    QCOMPARE(f.document().fileName(), saved);
    QCOMPARE(f.windowTitle(), QStringLiteral("Orivox v1.0 : ") + saved);
    QVERIFY(f.document().saved());
    QCOMPARE(h.fakes.fileDialogs.saveFilters, QStringList{kFilter});
    QVERIFY(h.fakes.messages.shown.isEmpty());
    QVERIFY(h.fakes.messages.questions.isEmpty());
  }

  void loadedValuesReachTheWindow() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    loadCopy(h, "texts.ord", fixture("texts.ord"));
    QCOMPARE(captions(f), (QStringList{QStringLiteral("Phrases à dire"), "Vide"}));
    // The tab strip, set aside while the tabs were added, is back above the pages, each tab as
    // wide as its caption.
    QCoreApplication::processEvents();
    QVERIFY(f.view().tabBar()->isVisible());
    QVERIFY(f.view().tabBar()->tabRect(0).width() >
            f.view().tabBar()->fontMetrics().horizontalAdvance(QStringLiteral("Phrases à dire")));
    QVERIFY(f.view().activePage()->mapTo(&f, QPoint()).y() >=
            f.view().tabBar()->mapTo(&f, QPoint(0, f.view().tabBar()->height())).y());
    QCOMPARE(f.panel().EdtT1->value(), 12);
    QCOMPARE(f.panel().EdtT2->value(), 100);
    QCOMPARE(f.session().tabTimer().interval(), 12000);
    QCOMPARE(f.session().textTimer().interval(), 100000);
    QCOMPARE(f.view().selectedFont().name, QStringLiteral("Comic Sans MS"));
    QCOMPARE(f.view().unselectedFont().name, QStringLiteral("Times New Roman"));
    QCOMPARE(f.view().currentPhraseFont().name, QStringLiteral("Verdana"));
    QCOMPARE(f.view().tabColor(), static_cast<TColor>(0x80000018u));
    QCOMPARE(f.view().memoColor(), 0xF0FBFF);
    for (TOnglet* page : f.view().pages())
      QCOMPARE(page->GetBackgroundColor(), f.view().tabColor());
    // No reserved tab in this board: the references of the board before are gone.
    QVERIFY(!f.view().diversTab() && !f.view().pageNamed(QStringLiteral("Alphabet")) &&
            !f.view().pageNamed(QStringLiteral("Autres caractères")));
    QCOMPARE(f.view().tabCounter(), 2);
    f.panel().BtnAjoutOnglClick();
    QCOMPARE(captions(f).last(), QStringLiteral("Onglet2"));
  }

  void pacesOutsideTheSpinLimitsFollowTheShownValue_data() {
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<int>("shown");
    QTest::newRow("zero") << QByteArray("0") << 1;
    QTest::newRow("negative") << QByteArray("-4") << 1;
    QTest::newRow("above 100") << QByteArray("500") << 100;
    QTest::newRow("hexadecimal") << QByteArray("$0A") << 10;
  }
  void pacesOutsideTheSpinLimitsFollowTheShownValue() {
    QFETCH(QByteArray, stored);
    QFETCH(int, shown);
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    loadCopy(h, "paces.ord", withLines(fixture("default.ord"), {{2, stored}, {3, stored}}));
    QVERIFY(h.fakes.messages.shown.isEmpty());
    QCOMPARE(f.panel().EdtT1->value(), shown);
    QCOMPARE(f.panel().EdtT2->value(), shown);
    // The scan runs at the pace the carer sees and that the next save writes.
    QCOMPARE(f.session().tabTimer().interval(), shown * 1000);
    QCOMPARE(f.session().textTimer().interval(), shown * 1000);
  }

  void defaultBoardSavedAsThreeTabBlocks() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    QVERIFY(f.document().fileName().isEmpty());
    const QString chosen = h.path("nouveau");
    h.fakes.fileDialogs.saveReplies.push_back(chosen);
    f.document().SaveBoard(false); // never saved: the name is asked for
    QCOMPARE(h.fakes.fileDialogs.saveFilters, QStringList{kFilter});
    QCOMPARE(f.document().fileName(), chosen + ".ord");
    const QByteArray bytes = bytesOf(chosen + ".ord");
    QCOMPARE(bytes, fixture("default.ord"));
    const BoardData d = boardfile::read(bytes).data;
    QCOMPARE(d.tabs.size(), 3);
    QCOMPARE(d.tabs[0].texts.size(), 0);
    QCOMPARE(d.tabs[1].texts.size(), 27);
    QCOMPARE(d.tabs[2].texts.size(), 30);

    // Saved again: no question, the same file.
    f.panel().BtnAjoutOnglClick();
    f.document().SaveBoard(false);
    QCOMPARE(h.fakes.fileDialogs.saveFilters.size(), 1);
    QCOMPARE(boardfile::read(bytesOf(f.document().fileName())).data.tabs.last().caption,
             QStringLiteral("Onglet1"));
  }

  void longTextIsCutOnScreenAndSavedWhole() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    const QString longText = QString("abcdefghij").repeated(30);
    BoardData d = boardfile::read(fixture("default.ord")).data;
    d.tabs[0].texts = QStringList{"oui", "non", longText, "merci", "RETOUR"};
    loadCopy(h, "long.ord", boardfile::write(d));
    TOnglet* page = f.view().pages().at(0);
    const int pieces = page->model().piecesOfTextAt(2);
    QVERIFY2(pieces > 1, "the 300-character text is not cut");
    QCOMPARE(page->textButtonCount(), 4 + pieces);
    QString joined;
    for (int i = 0; i < pieces; ++i)
      joined += page->GetButtonCaption(2 + i);
    QCOMPARE(joined, longText);
    const int buttonsBefore = page->GetButtonCount();

    saveAs(h, h.path("saved.ord"));
    QVERIFY(boardfile::splitLines(bytesOf(h.path("saved.ord"))).contains(longText.toLatin1()));
    QCOMPARE(page->GetButtonCount(), buttonsBefore); // cut again once saved
    QCOMPARE(texts(f).at(0), d.tabs[0].texts);
    QCOMPARE(boardfile::read(bytesOf(h.path("saved.ord"))).data, d);
  }

  void reservedTabsAreTheFirstOfTheirName() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    BoardData d;
    d.tabs = {{"Phrases", {"bonjour"}},
              {"Alphabet", {"a"}},
              {QStringLiteral("Autres caractères"), {"1"}},
              {"Alphabet", {"b"}},
              {"divers", {}}};
    loadCopy(h, "reserved.ord", boardfile::write(d));
    const QList<TOnglet*> all = f.view().pages();
    QCOMPARE(all.size(), 5);
    // One letter-case rule: "divers" is the tab of the user's phrases; the second "Alphabet" is
    // an ordinary tab.
    QCOMPARE(f.view().diversTab(), all[4]);
    QList<bool> reserved, letters;
    for (TOnglet* page : all) {
      reserved << f.view().isReservedTab(page);
      letters << f.view().isLetterPage(page);
    }
    QCOMPARE(reserved, (QList<bool>{false, true, true, false, true}));
    QCOMPARE(letters, (QList<bool>{false, true, true, false, false}));
    QCOMPARE(f.view().tabCounter(), 5);
    f.panel().BtnAjoutOnglClick();
    QCOMPARE(captions(f).last(), QStringLiteral("Onglet5"));
  }

  void brokenFileChangesNothing_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("viaOpen");
    const QByteArray def = fixture("default.ord");
    QTest::newRow("cut short, load") << fixture("truncated.ord") << false;
    QTest::newRow("cut short, open") << fixture("truncated.ord") << true;
    QTest::newRow("pace not a number") << withLines(def, {{2, "x"}}) << true;
    QTest::newRow("text count not a number, after a tab") << withLines(def, {{36, "x"}}) << true;
    QTest::newRow("only the header") << QByteArray("Ordinogramme\r\n") << true;
    // Opened as an empty board, it would be overwritten by the next save.
    QTest::newRow("not a board") << fixture("wrong-header.ord") << true;
  }
  void brokenFileChangesNothing() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, viaOpen);
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    const EditedBoard before = editedBoard(h, h.path("mine.ord"));
    const QString caption = f.windowTitle();
    const QString broken = h.path("broken.ord");
    QVERIFY(writeFile(broken, bytes));

    if (viaOpen) {
      h.fakes.fileDialogs.openReplies.push_back(broken);
      f.panel().BtnOuvrirClick();
    } else {
      QCOMPARE(f.LoadBoard(broken), BoardDocument::LoadOutcome::Broken);
    }
    QCOMPARE(h.fakes.messages.shown,
             QStringList{viaOpen ? kLoadError
                                 : kLoadError + " " + broken + " : il est endommagé (ligne 91)"});
    QCOMPARE(captions(f), before.captions);
    QCOMPARE(buttonCount(f), before.buttons);
    QCOMPARE(f.document().fileName(), before.path);
    QCOMPARE(f.windowTitle(), caption);
    QVERIFY(!f.document().saved());
    QVERIFY(f.view().pageNamed(QStringLiteral("Alphabet")) &&
            f.view().pageNamed(QStringLiteral("Alphabet"))->caption() == "Alphabet");
  }

  void unreadableFileChangesNothing() {
    if (runningAsRoot())
      QSKIP("the superuser reads any file");
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    const EditedBoard before = editedBoard(h, h.path("mine.ord"));
    const QString locked = h.path("locked.ord");
    QVERIFY(writeFile(locked, fixture("texts.ord")));
    QFile::setPermissions(locked, QFileDevice::Permissions());
    QCOMPARE(f.LoadBoard(locked), BoardDocument::LoadOutcome::Broken);
    QCOMPARE(h.fakes.messages.shown,
             QStringList{kLoadError + " " + locked + " : il ne peut pas être lu"});
    QCOMPARE(captions(f), before.captions);
    QCOMPARE(f.document().fileName(), before.path);
  }

  void missingFileChangesNothing() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    const EditedBoard before = editedBoard(h, h.path("mine.ord"));
    const QString missing = h.path("absent.ord");

    QCOMPARE(f.LoadBoard(missing), BoardDocument::LoadOutcome::Missing);
    QCOMPARE(h.fakes.messages.shown,
             QStringList{QStringLiteral("le fichier ") + missing + QStringLiteral("n'existe pas")});
    QCOMPARE(f.windowTitle(), QStringLiteral("Orivox v1.0 : ") + before.path);

    // Through the open command the caption keeps the bare path that was typed.
    h.fakes.fileDialogs.openReplies.push_back(missing);
    f.panel().BtnOuvrirClick();
    QCOMPARE(h.fakes.messages.shown.size(), 2);
    QCOMPARE(h.fakes.messages.shown.last(), h.fakes.messages.shown.first());
    QCOMPARE(f.windowTitle(), missing);
    QCOMPARE(captions(f), before.captions);
    QCOMPARE(f.document().fileName(), before.path);
    QVERIFY(!f.document().saved());
  }

  void startBoard_data() {
    QTest::addColumn<QString>("file"); // copied into the program folder; empty: none named
    QTest::addColumn<QStringList>("tabs");
    QTest::addColumn<bool>("named");
    QTest::addColumn<QStringList>("messages");
    const QStringList defaults{"Divers", "Alphabet", QStringLiteral("Autres caractères")};
    QTest::newRow("none named") << "" << defaults << false << QStringList();
    QTest::newRow("named file is gone") << "gone" << defaults << false << QStringList();
    QTest::newRow("board") << "texts.ord" << QStringList{QStringLiteral("Phrases à dire"), "Vide"}
                           << true << QStringList();
    // Nothing of a refused file is shown: the user still gets a board to speak with, and the
    // carer is told which file and why.
    QTest::newRow("broken board") << "truncated.ord" << defaults << false
                                  << QStringList{"il est endommagé (ligne 91)"};
    QTest::newRow("not a board") << "wrong-header.ord" << defaults << false
                                 << QStringList{"ce n'est pas un ordinogramme"};
    QTest::newRow("too large") << "501 tabs" << defaults << false
                               << QStringList{"il est trop volumineux"};
  }
  void startBoard() {
    QFETCH(QString, file);
    QFETCH(QStringList, tabs);
    QFETCH(bool, named);
    QFETCH(QStringList, messages);
    MainFrameHarness h(false);
    TMainFrame& f = h.frame();
    QString path;
    if (!file.isEmpty()) {
      path = h.path("last.ord");
      BoardData big;
      big.tabs = QList<BoardTab>(boardfile::kMaxTabs + 1, BoardTab{"T", {}});
      if (file != "gone")
        QVERIFY(writeFile(path, file == "501 tabs" ? boardfile::write(big) : fixture(file)));
    }
    QVERIFY(QDir(h.folder()).mkpath("conf"));
    const QString conf = h.path("conf/conf.txt");
    QVERIFY(writeFile(conf, configfile::encode("wmo", path)));
    openStartBoard(f, path);
    QCOMPARE(captions(f), tabs);
    QCOMPARE(f.document().fileName(), named ? path : QString());
    QCOMPARE(f.windowTitle(),
             named ? QStringLiteral("Orivox v1.0 : ") + path : QStringLiteral("Orivox v1.0"));
    for (QString& why : messages)
      why = kLoadError + " " + path + " : " + why;
    QCOMPARE(h.fakes.messages.shown, messages);
    QVERIFY(f.document().saved());
    // Closed cleanly, the configuration still names the board: refused, it is not forgotten.
    f.FormClose();
    QCOMPARE(configfile::decode(bytesOf(conf)).lastBoard, path);
  }

  // A start that froze or was stopped while it opened the last board leaves a marker naming it:
  // the next starts show a new board and name the file, until a clean close names another.
  void startStuckOnItsBoardIsNotRepeated() {
    MainFrameHarness h(false);
    TMainFrame& f = h.frame();
    const QString path = h.path("last.ord");
    QVERIFY(writeFile(path, fixture("texts.ord")));
    const QString marker = interruptedStartMarker(h.folder());
    QVERIFY(writeFile(marker, path.toUtf8()));
    QVERIFY(writeFile(h.path("conf/conf.txt"), configfile::encode("wmo", path)));

    openStartBoard(f, path);
    QCOMPARE(captions(f), (QStringList{"Divers", "Alphabet", QStringLiteral("Autres caractères")}));
    QCOMPARE(f.document().fileName(), QString());
    const QStringList stuck{kLoadError + " " + path +
                            " : son ouverture précédente ne s'est pas terminée"};
    QCOMPARE(h.fakes.messages.shown, stuck);
    QVERIFY(QFile::exists(marker));

    // Neither forgotten nor tried again at the next start, until the carer opens it.
    f.FormClose();
    QVERIFY(QFile::exists(marker));
    QCOMPARE(configfile::decode(bytesOf(h.path("conf/conf.txt"))).lastBoard, path);
    h.fakes.messages.shown.clear();
    openStartBoard(f, path);
    QCOMPARE(h.fakes.messages.shown, stuck);
    h.fakes.fileDialogs.openReplies = {path};
    f.panel().BtnOuvrirClick();
    f.FormClose();
    QVERIFY(!QFile::exists(marker));
    h.fakes.messages.shown.clear();
    openStartBoard(f, path);
    QCOMPARE(captions(f), (QStringList{QStringLiteral("Phrases à dire"), "Vide"}));
    QVERIFY(h.fakes.messages.shown.isEmpty());
    QVERIFY(!QFile::exists(marker));

    // The marker is there while the board loads, and gone once the load has ended, even badly.
    QList<bool> present; // whether the marker was there when each message appeared
    h.fakes.messages.shown.clear();
    h.fakes.messages.onShown = [&](const QString&) { present << QFile::exists(marker); };
    QVERIFY(writeFile(path, fixture("truncated.ord")));
    openStartBoard(f, path);
    QCOMPARE(h.fakes.messages.shown,
             QStringList{kLoadError + " " + path + " : il est endommagé (ligne 91)"});
    QCOMPARE(present, QList<bool>{true});
    QVERIFY(!QFile::exists(marker));
  }

  void failedSaveKeepsThePreviousFile_data() {
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("target"); // the file the save was to write
    QTest::addColumn<QString>("why");    // "%1": the harness folder
    QTest::newRow("folder does not exist") << "missing folder"
                                           << "absent/mine.ord"
                                           << "le dossier %1/absent n'existe pas";
    QTest::newRow("name of a folder") << "folder"
                                      << "dossier.ord"
                                      << "c'est le nom d'un dossier";
    QTest::newRow("read-only folder") << "read-only"
                                      << "locked/mine.ord"
                                      << "le dossier %1/locked est protégé en écriture";
    QTest::newRow("backup cannot be kept")
        << "backup"
        << "mine.ord"
        << "la copie de sauvegarde %1/mine.ord.bak ne peut pas être faite : c'est le nom "
           "d'un dossier";
  }
  void failedSaveKeepsThePreviousFile() {
    QFETCH(QString, where);
    QFETCH(QString, target);
    QFETCH(QString, why);
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    QDir(h.folder()).mkdir("locked");
    const QString previous = where == "read-only" ? h.path("locked/mine.ord") : h.path("mine.ord");
    const EditedBoard before = editedBoard(h, previous);
    if (where == "read-only") {
      QFile::setPermissions(previous, QFile::ReadOwner);
      QFile::setPermissions(h.path("locked"), QFile::ReadOwner | QFile::ExeOwner);
      if (runningAsRoot())
        QSKIP("the superuser writes into a read-only folder");
      f.document().SaveBoard(false);
    } else if (where == "backup") {
      QDir(h.folder()).mkdir("mine.ord.bak"); // the previous file cannot be kept there
      f.document().SaveBoard(false);
    } else if (where == "folder") {
      QDir(h.folder()).mkdir("dossier.ord");
      saveAs(h, h.path("dossier.ord"));
    } else {
      saveAs(h, h.path("absent/mine.ord"));
    }
    QFile::setPermissions(h.path("locked"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile::setPermissions(previous, QFile::ReadOwner | QFile::WriteOwner);

    QCOMPARE(h.fakes.messages.shown,
             QStringList{kSaveError + " " + h.path(target) + " : " + why.arg(h.folder())});
    QCOMPARE(bytesOf(previous), before.bytes);
    QVERIFY(QDir(h.path("locked")).entryList(QDir::Files | QDir::Hidden).size() <= 1);
    // The board keeps its file, its title and its changes to save.
    QCOMPARE(f.document().fileName(), previous);
    QCOMPARE(f.windowTitle(), "Orivox v1.0 : " + previous);
    QVERIFY(!f.document().saved());
    QCOMPARE(captions(f), before.captions);
    QCOMPARE(buttonCount(f), before.buttons); // texts cut again as before the save
  }

  // Whatever the commands make, the board file holds and opens again: at each bound of a
  // board the command still acts, one step past it refuses with a message naming the bound.
  void whatTheCommandsMakeOpensAgain_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("room"); // texts or tabs that still fit before the action
    QTest::addColumn<QString>("message");
    const QString texts = QStringLiteral("Un tableau ne peut pas avoir plus de 25000 textes");
    const QString tabs = QStringLiteral("Un tableau ne peut pas avoir plus de 500 onglets");
    const QString line = QStringLiteral("Un texte ne peut pas avoir plus de 32767 caractères");
    QTest::newRow("the last text that fits, by Ajouter") << "Ajouter" << 1 << QString();
    QTest::newRow("a text past the bound, by Ajouter") << "Ajouter" << 0 << texts;
    QTest::newRow("a list pasted past the bound") << "paste 3" << 1 << texts;
    QTest::newRow("the last tab that fits") << "tab" << 1 << QString();
    QTest::newRow("a tab past the bound") << "tab" << 0 << tabs;
    QTest::newRow("a pasted line of 32,767 characters") << "paste 32767" << -1 << QString();
    QTest::newRow("a pasted line of 32,768 characters") << "paste 32768" << -1 << line;
  }
  void whatTheCommandsMakeOpensAgain() {
    QFETCH(QString, action);
    QFETCH(int, room);
    QFETCH(QString, message);
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    h.enterCreationMode();
    f.panel().BtnAjoutOngl->click();
    f.panel().BtnAjoutTexte->click(); // a chosen text: a pasted list's first line renames it
    TOnglet* page = f.view().activePage();
    if (action == "tab") {
      while (f.view().pageCount() < boardfile::kMaxTabs - room)
        f.view().AddTab(QStringLiteral("T"), false);
    } else if (room >= 0) {
      int count = 0;
      for (TOnglet* p : f.view().pages())
        count += int(p->wholeTexts().size());
      page->AddTexts(QStringList(boardfile::kMaxTexts - count - room, QStringLiteral("x")));
    }
    const QList<QStringList> before = texts(f);
    const int tabsBefore = f.view().pageCount();
    if (action == "Ajouter")
      f.panel().BtnAjoutTexte->click();
    else if (action == "tab")
      f.panel().BtnAjoutOngl->click();
    else if (action == "paste 3")
      f.panel().pasteTextList(QStringLiteral("a\nb\nc"));
    else
      f.panel().pasteTextList(QStringLiteral("\n") +
                              QString(action.mid(6).toInt(), QLatin1Char('m')));
    QCOMPARE(h.fakes.messages.shown, message.isEmpty() ? QStringList() : QStringList{message});
    if (!message.isEmpty()) {
      QCOMPARE(texts(f), before); // nothing of the refused edit was made
      QCOMPARE(f.view().pageCount(), tabsBefore);
    }
    const QList<QStringList> made = texts(f);
    saveAs(h, h.path("grand.ord"));
    QCOMPARE(f.LoadBoard(h.path("grand.ord")), BoardDocument::LoadOutcome::Loaded);
    QCOMPARE(texts(f), made);
  }

  // The board's text in all is bounded as its counts are: an edit that takes it to the bound is
  // made, one byte further it is refused with the bound named; a rename is checked when its
  // field is left. A few huge texts make the board; every text is one button.
  void theTextInAllIsBounded_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("past"); // bytes past the bound the action would take the board
    for (const char* action : {"Ajouter", "tab", "paste", "rename"}) {
      QTest::addRow("%s to the bound", action) << action << 0;
      QTest::addRow("%s one byte past", action) << action << 1;
    }
  }
  void theTextInAllIsBounded() {
    QFETCH(QString, action);
    QFETCH(int, past);
    MainFrameHarness h;
    h.fakes.measurer.charWidth = 0; // a text of any length is one button
    TMainFrame& f = h.frame();
    h.enterCreationMode();
    f.panel().BtnAjoutOngl->click();
    f.panel().BtnAjoutTexte->click(); // "Texte0", chosen
    TOnglet* page = f.view().activePage();
    const QString newName = action == "Ajouter" ? QStringLiteral("Texte%1").arg(page->textCounter())
                            : action == "tab"
                                ? QStringLiteral("Onglet%1").arg(f.view().tabCounter())
                                : QString(1000, QLatin1Char('n'));
    const qint64 added = newName.size() - (action == "rename" || action == "paste" ? 6 : 0);
    qint64 fill = boardfile::kMaxBoardTextBytes - f.view().extent().textBytes - added + past;
    QStringList huge;
    for (; fill > 0; fill -= boardfile::kMaxLineBytes)
      huge << QString(int(std::min<qint64>(fill, boardfile::kMaxLineBytes)), QLatin1Char('x'));
    f.view().pageAt(0)->AddTexts(huge);
    const int tabs = f.view().pageCount();
    const int texts = int(page->wholeTexts().size());

    if (action == "Ajouter") {
      f.panel().BtnAjoutTexte->click();
    } else if (action == "tab") {
      f.panel().BtnAjoutOngl->click();
    } else if (action == "paste") {
      f.panel().EdtNomTexte->selectAll();
      f.panel().pasteTextList(QStringLiteral("\n") + newName);
    } else {
      f.panel().EdtNomTexte->setFocus();
      f.panel().EdtNomTexte->setText(newName); // typed: the text is renamed as it goes
      f.panel().EdtT2->setFocus();             // the carer leaves the field
      QCoreApplication::processEvents();
    }
    const QString bound = QStringLiteral("Un tableau ne peut pas avoir plus de 16 Mo de texte");
    QCOMPARE(h.fakes.messages.shown, past ? QStringList{bound} : QStringList());
    if (action == "rename") {
      QTRY_COMPARE(f.panel().EdtNomTexte->hasFocus(), bool(past)); // held until mended
      return;
    }
    QCOMPARE(f.view().pageCount(), tabs + (action == "tab" && !past ? 1 : 0));
    QCOMPARE(int(page->wholeTexts().size()), texts + (action == "Ajouter" && !past ? 1 : 0));
    QCOMPARE(f.view().extent().textBytes, boardfile::kMaxBoardTextBytes - (past ? added - 1 : 0));
  }

  // A board from an older file past the bound opens and saves as it is; what adds text is
  // refused, what takes text away is not.
  void aBoardPastTheTextBoundOpensAndSaves() {
    MainFrameHarness h;
    h.fakes.measurer.charWidth = 0;
    TMainFrame& f = h.frame();
    BoardData d = f.view().boardData();
    d.tabs << BoardTab{"Gros",
                       QStringList(520, QString(boardfile::kMaxLineBytes, QLatin1Char('g')))};
    QVERIFY(boardfile::extentOf(d).textBytes > boardfile::kMaxBoardTextBytes);
    const QString path = loadCopy(h, "gros.ord", boardfile::write(d));
    QCOMPARE(f.view().boardData(), d);
    h.enterCreationMode();
    f.view().showTab(3);
    f.panel().BtnAjoutTexte->click();
    QCOMPARE(h.fakes.messages.shown,
             QStringList{"Un tableau ne peut pas avoir plus de 16 Mo de texte"});
    QMetaObject::invokeMethod(f.view().activePage()->buttonAt(0), "click");
    f.panel().BtnSupprTexte->click();
    QCOMPARE(f.view().activePage()->wholeTexts().size(), 519);
    f.document().SaveBoard(false);
    QCOMPARE(h.fakes.messages.shown.size(), 1);
    d.tabs.last().texts.removeFirst();
    const BoardReadResult saved = boardfile::read(bytesOf(path));
    QCOMPARE(saved.status, BoardReadStatus::Ok);
    QCOMPARE(saved.data.tabs, d.tabs);
  }

  void everySaveKeepsThePreviousFileAsItsBackup() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    const QString path = h.path("mine.ord");
    const QString backup = path + ".bak";
    QByteArray saved[3];
    for (int i = 0; i < 3; ++i) {
      f.panel().BtnAjoutOnglClick();
      if (i == 0)
        saveAs(h, path);
      else
        f.document().SaveBoard(false);
      saved[i] = bytesOf(path);
      // One generation: the file as it was before this save.
      QCOMPARE(bytesOf(backup), i == 0 ? QByteArray("<unreadable>") : saved[i - 1]);
    }
    QVERIFY(saved[2] != saved[1]);
    // Saved again unchanged (CTRL+R twice): the backup stays the last version that differed.
    f.document().SaveBoard(false);
    QCOMPARE(bytesOf(path), saved[2]);
    QCOMPARE(bytesOf(backup), saved[1]);
    // A save refused leaves the file and its backup as they were.
    f.view().activePage()->AddText(true, QStringLiteral("日本"), false);
    f.document().SaveBoard(false);
    QCOMPARE(h.fakes.messages.shown,
             QStringList{kSaveError + " " + path +
                         " : le texte 1 de l'onglet « Onglet3 » contient « 日 », que le fichier "
                         "ne peut pas contenir"});
    QCOMPARE(bytesOf(path), saved[2]);
    QCOMPARE(bytesOf(backup), saved[1]);
  }

  void aTabCharacterFromAnotherBoardIsSavedAsItCame() {
    // A board made elsewhere may hold a tab inside a text: it does not cut the file, so the
    // board stays savable.
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    f.view().pages().first()->AddText(true, QStringLiteral("a\tb"), false);
    h.fakes.fileDialogs.saveReplies = {h.path("tab.ord")};
    f.document().SaveBoard(false);
    QVERIFY(h.fakes.messages.shown.isEmpty());
    QVERIFY(bytesOf(h.path("tab.ord")).contains("\r\na\tb\r\n"));
  }

  void unstorableTextRefusesTheSave_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("asCaption");
    QTest::addColumn<QString>("why");
    const QString text1 = QStringLiteral("le texte 1 de l'onglet « Onglet1 » contient « %1 »");
    QTest::newRow("outside the code page") << QStringLiteral("日本") << false << text1.arg("日");
    QTest::newRow("emoji") << QStringLiteral("ok 🙂") << false << text1.arg("🙂");
    QTest::newRow("line feed") << QStringLiteral("a\nb") << false << text1.arg("U+000A");
    QTest::newRow("carriage return") << QStringLiteral("a\rb") << false << text1.arg("U+000D");
    QTest::newRow("end-of-file byte") << QStringLiteral("a\x1A") << false << text1.arg("U+001A");
    QTest::newRow("tab caption outside the code page")
        << QStringLiteral("Ωmega") << true
        << QStringLiteral("le nom de l'onglet 4 « Ωmega » contient « Ω »");
  }
  void unstorableTextRefusesTheSave() {
    QFETCH(QString, text);
    QFETCH(bool, asCaption);
    QFETCH(QString, why);
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    const EditedBoard before = editedBoard(h, h.path("mine.ord"));
    TOnglet* page = f.view().pages().last();
    if (asCaption)
      page->setCaption(text);
    else
      page->AddText(true, text, false);
    f.document().SaveBoard(false);
    const QStringList said{kSaveError + " " + before.path + " : " + why +
                           ", que le fichier ne peut pas contenir"};
    QCOMPARE(h.fakes.messages.shown, said);
    // "Enregistrer sous" is refused the same, before a name is asked.
    f.document().SaveBoard(true);
    QCOMPARE(h.fakes.messages.shown, said + said);
    QVERIFY(h.fakes.fileDialogs.saveFilters.size() == 1); // the first "Enregistrer sous" only
    QCOMPARE(bytesOf(before.path), before.bytes);
    QCOMPARE(f.document().fileName(), before.path);
    QCOMPARE(f.windowTitle(), "Orivox v1.0 : " + before.path);
    QVERIFY(!f.document().saved());
    // The text stays on screen for the carer to mend.
    if (asCaption)
      QCOMPARE(page->caption(), text);
    else
      QCOMPARE(texts(f).last(), QStringList{text});
  }

  void chosenNamesGetTheExtension_data() {
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("stored");
    QTest::newRow("no extension") << "tableau"
                                  << "tableau.ord";
    QTest::newRow("extension") << "tableau.ord"
                               << "tableau.ord";
    QTest::newRow("other extension") << "tableau.txt"
                                     << "tableau.txt.ord";
    QTest::newRow("upper-case extension") << "tableau.ORD"
                                          << "tableau.ORD.ord";
    QTest::newRow("extension alone") << ".ord"
                                     << ".ord.ord";
    QTest::newRow("short name") << "a.ord"
                                << "a.ord";
  }
  void chosenNamesGetTheExtension() {
    QFETCH(QString, chosen);
    QFETCH(QString, stored);
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    // Bare names, as typed: they are relative to the working folder.
    const QString oldCurrent = QDir::currentPath();
    QDir::setCurrent(h.folder());
    saveAs(h, chosen);
    QDir::setCurrent(oldCurrent);
    QCOMPARE(f.document().fileName(), stored);
    QCOMPARE(bytesOf(h.path(stored)), fixture("default.ord"));
    QCOMPARE(QDir(h.folder()).entryList(QDir::Files | QDir::Hidden), QStringList{stored});
  }

  void cancelledSaveWritesNothing() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    f.panel().BtnAjoutOnglClick();
    const int buttons = buttonCount(f);
    f.document().SaveBoard(true); // no reply: cancelled
    QCOMPARE(h.fakes.fileDialogs.saveFilters, QStringList{kFilter});
    QVERIFY(f.document().fileName().isEmpty());
    QCOMPARE(f.windowTitle(), QStringLiteral("Orivox v1.0"));
    QVERIFY(!f.document().saved());
    QCOMPARE(buttonCount(f), buttons);
    QCOMPARE(QDir(h.folder()).entryList(QDir::Files).size(), 0);
    QVERIFY(h.fakes.messages.shown.isEmpty());
  }

  void openCommand() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    h.enterCreationMode();
    f.panel().BtnAjoutOnglClick();
    QVERIFY(!f.document().saved());

    f.panel().BtnOuvrirClick(); // cancelled
    QCOMPARE(h.fakes.fileDialogs.openFilters, QStringList{kFilter});
    QCOMPARE(f.view().pageCount(), 4);
    QCOMPARE(f.windowTitle(), QStringLiteral("Orivox v1.0"));
    QVERIFY(!f.document().saved());

    // Unsaved changes are dropped without a question.
    const QString path = h.path("texts.ord");
    QVERIFY(writeFile(path, fixture("texts.ord")));
    h.fakes.fileDialogs.openReplies.push_back(path);
    f.panel().BtnOuvrirClick();
    QVERIFY(h.fakes.messages.questions.isEmpty());
    QVERIFY(h.fakes.messages.shown.isEmpty());
    QCOMPARE(captions(f), (QStringList{QStringLiteral("Phrases à dire"), "Vide"}));
    QCOMPARE(f.windowTitle(), QStringLiteral("Orivox v1.0 : ") + path);
    QVERIFY(f.document().saved());
  }

  void boardOpenedInCreationModeShowsTheCreationLook() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    h.enterCreationMode();
    QVERIFY(!f.view().execMode());
    const QString path = h.path("default.ord");
    QVERIFY(writeFile(path, fixture("texts.ord")));
    h.fakes.fileDialogs.openReplies.push_back(path);
    f.panel().BtnOuvrirClick();
    QVERIFY(!f.view().execMode());
    for (TOnglet* page : f.view().pages()) {
      for (int i = 0; i < page->GetButtonCount(); ++i) {
        TTextButton* b = page->buttonAt(i);
        QCOMPARE(!b->isShownOnPage(), i >= page->textButtonCount()); // reserved buttons hidden
        QCOMPARE(b->boardFont(), f.view().selectedFont());           // all texts shown selected
      }
    }
    // The name fields speak of the new board, not of the old one.
    QCOMPARE(f.panel().EdtNomOnglet->text(), f.view().activePage()->caption());
    QVERIFY(f.panel().EdtNomOnglet->isEnabled());
    QVERIFY(f.panel().EdtNomTexte->text().isEmpty());
    QVERIFY(!f.panel().EdtNomTexte->isEnabled());
    QVERIFY(!f.session().tabTimer().isActive() && !f.session().textTimer().isActive());
    // Typing a name renames the new board's tab and marks the change.
    f.panel().EdtNomOnglet->setText("Mes phrases");
    QCOMPARE(f.view().activePage()->caption(), QStringLiteral("Mes phrases"));
    QVERIFY(!f.document().saved());

    // Back in execution mode the reserved buttons come back.
    h.enterExecutionMode();
    for (TOnglet* page : f.view().pages())
      QVERIFY(page->buttons().back()->isShownOnPage());
  }

  void changedPasswordGuardsCreationModeAndIsKept() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    const auto change = [](const QString& first, const QString& second, bool ok) {
      MainFrameHarness::whenModal([=](QWidget* modal) {
        auto* dialog = qobject_cast<TFormChangeMdp*>(modal);
        QVERIFY(dialog);
        dialog->MaskEditMdp1->setText(first);
        dialog->MaskEditMdp2->setText(second);
        (ok ? dialog->BitBtnOK : dialog->BitBtnAnnuler)->click();
      });
    };
    h.enterCreationMode();
    change("Secret", "Secret", false); // cancelled
    f.FormShortCut(Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(f.document().password(), QStringLiteral("wmo"));
    change("Secret", "Secret", true);
    f.FormShortCut(Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(f.document().password(), QStringLiteral("Secret"));
    QVERIFY(f.document().saved()); // the password is no part of the board

    h.enterExecutionMode();
    h.enterCreationMode("wmo");
    QVERIFY(f.view().execMode());
    QCOMPARE(h.fakes.messages.shown, QStringList{"Mot de passe incorrect"});
    h.enterCreationMode("Secret");
    QVERIFY(!f.view().execMode());

    f.FormClose();
    const configfile::ConfigValues kept = configfile::decode(bytesOf(h.path("conf/conf.txt")));
    QCOMPARE(kept.password, QStringLiteral("Secret"));
  }
};

ORIVOX_TEST(BoardCommandsTest)
#include "BoardCommandsTest.moc"

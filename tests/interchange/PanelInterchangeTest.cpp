// Boards that travel, as the carer and the desktop meet them: "Exporter..." and "Importer..." in
// the creation panel, and a file named at start-up.
#include "board/BoardView.h"
#include "board/TOnglet.h"
#include "documents/BoardDocument.h"
#include "editing/BoardHistory.h"
#include "editing/CreationPanel.h"
#include "shell/Startup.h"
#include "shell/TMainFrame.h"
#include "support/MainFrameHarness.h"
#include "support/TestRegistry.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <QTest>

namespace {
QStringList captions(TMainFrame& f) {
  QStringList list;
  for (TOnglet* page : f.view().pages())
    list << page->caption();
  return list;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A board as another communication aid writes it: a picture and a sound beside the texts.
QByteArray boardFromElsewhere() {
  const QJsonArray buttons{
      QJsonObject{{"id", 1}, {"label", "bonjour"}, {"image_id", "i1"}},
      QJsonObject{{"id", 2}, {"label", "merci"}, {"sound_id", "s1"}},
  };
  const QJsonObject board{
      {"format", "open-board-0.1"},
      {"id", "b1"},
      {"name", "Politesse"},
      {"buttons", buttons},
      {"grid", QJsonObject{{"rows", 1}, {"columns", 2}, {"order", QJsonArray{QJsonArray{1, 2}}}}},
      {"images", QJsonArray{QJsonObject{{"id", "i1"}, {"url", "http://example.invalid/a.png"}}}},
      {"sounds", QJsonArray{QJsonObject{{"id", "s1"}, {"url", "http://example.invalid/a.mp3"}}}},
  };
  return QJsonDocument(board).toJson();
}
} // namespace

class PanelInterchangeTest : public QObject {
  Q_OBJECT
private slots:
  void boardsTravelThroughThePanel() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    h.enterCreationMode();
    f.panel().BtnAjoutOnglClick();
    f.panel().BtnAjoutTexteClick();
    const QStringList made = captions(f);
    const QStringList madeTexts = f.view().pages().last()->wholeTexts();

    // Exported under a name without extension: a package is written.
    h.fakes.fileDialogs.saveReplies = {h.path("tableau")};
    f.panel().BtnExporter->click();
    QVERIFY(QFile::exists(h.path("tableau.obz")));
    QVERIFY(h.fakes.messages.shown.isEmpty());

    // Imported again over a new board: the same tabs and texts, as a board with no file that
    // is to be saved, and one step the carer can take back.
    f.panel().BtnNouveau->click();
    h.fakes.fileDialogs.openReplies = {h.path("tableau.obz")};
    f.panel().BtnImporter->click();
    QCOMPARE(captions(f), made);
    QCOMPARE(f.view().pages().last()->wholeTexts(), madeTexts);
    QVERIFY(f.document().fileName().isEmpty());
    QVERIFY(!f.document().saved());
    QCOMPARE(f.windowTitle(), QStringLiteral("Orivox v1.0 : tableau.obz"));
    f.panel().BtnAnnulerEdition->click();
    QCOMPARE(captions(f), (QStringList{"Divers", "Alphabet", "Autres caractères"}));

    // What cannot be shown is counted in one message; a file that is no package changes nothing.
    QVERIFY(writeFile(h.path("ailleurs.obf"), boardFromElsewhere()));
    h.fakes.fileDialogs.openReplies = {h.path("ailleurs.obf"), h.path("abime.obz")};
    QVERIFY(writeFile(h.path("abime.obz"), "pas un paquet"));
    f.panel().BtnImporter->click();
    QCOMPARE(captions(f), QStringList{"Politesse"});
    QCOMPARE(f.view().pages().first()->wholeTexts(), (QStringList{"bonjour", "merci"}));
    f.panel().BtnImporter->click();
    QCOMPARE(captions(f), QStringList{"Politesse"});
    QCOMPARE(h.fakes.messages.shown,
             (QStringList{"Laissé de côté à l'import : 1 image "
                          "et 1 son.",
                          "Import impossible : ce fichier n'est pas un paquet .obz lisible."}));
  }

  void aFileNamedAtStartOpensInPlaceOfTheLastBoard() {
    MainFrameHarness h(false);
    TMainFrame& f = h.frame();
    QVERIFY(writeFile(h.path("ailleurs.obf"), boardFromElsewhere()));
    openNamedBoard(f, h.path("ailleurs.obf"));
    QCOMPARE(captions(f), QStringList{"Politesse"});
    QVERIFY(!f.document().saved());

    // A board file is itself, to be saved where it is; a missing one leaves a new board.
    h.fakes.fileDialogs.saveReplies = {h.path("politesse.ord")};
    QVERIFY(f.document().SaveBoard(false));
    openNamedBoard(f, h.path("politesse.ord"));
    QCOMPARE(f.document().fileName(), h.path("politesse.ord"));
    QVERIFY(f.document().saved());
    h.fakes.messages.shown.clear();
    openNamedBoard(f, h.path("absent.ord"));
    QCOMPARE(captions(f), (QStringList{"Divers", "Alphabet", "Autres caractères"}));
    QCOMPARE(h.fakes.messages.shown,
             QStringList{"le fichier " + h.path("absent.ord") + "n'existe pas"});
  }
};

ORIVOX_TEST(PanelInterchangeTest)
#include "PanelInterchangeTest.moc"

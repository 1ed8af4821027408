// The board settings dialog: it shows and gives back every setting, and the window takes the
// carer's choice as an edit of the board.
#include "editing/TFormReglages.h"
#include "board/BoardView.h"
#include "editing/BoardHistory.h"
#include "editing/CreationPanel.h"
#include "execution/ScanSession.h"
#include "execution/SpeechFeedback.h"
#include "execution/SwitchKeyFilter.h"
#include "shell/TMainFrame.h"
#include "support/MainFrameHarness.h"
#include "support/TestRegistry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTest>

Q_DECLARE_METATYPE(BoardSettings)
Q_DECLARE_METATYPE(PictureLabel)

class TFormReglagesTest : public QObject {
  Q_OBJECT
private slots:
  void showsAndGivesBackEverySetting_data() {
    QTest::addColumn<BoardSettings>("settings");
    QTest::newRow("defaults") << BoardSettings();
    BoardSettings top;
    top.tabPaceMs = 100000;
    top.textPaceMs = 300;
    top.firstItemExtraMs = 10000;
    top.acceptanceMs = 2000;
    top.pauseAfterSelectionMs = 2000;
    top.loopsBeforeBack = 20;
    top.gridColumns = 20;
    top.gridFitFont = true;
    top.rowColumn = true;
    top.highlight = HighlightStyle::Frame;
    top.speakPhrase = true;
    top.speakTexts = true;
    top.speakPrompts = true;
    top.voice = "fr+f2";
    top.rate = 100;
    top.volume = -100;
    top.prediction = true;
    top.predictionWords = 8;
    top.replacePassedOver = true;
    top.pictureLabel = PictureLabel::Hidden;
    top.promptsWithScreenReader = true;
    QTest::newRow("every limit, every box ticked") << top;
    BoardSettings tenths;
    tenths.tabPaceMs = 2700;
    tenths.textPaceMs = 1100;
    tenths.firstItemExtraMs = 300;
    tenths.acceptanceMs = 100;
    tenths.pauseAfterSelectionMs = 900;
    tenths.gridColumns = 6;
    tenths.rate = -35;
    tenths.volume = 0;
    tenths.speakTexts = true;
    tenths.predictionWords = 1;
    tenths.pictureLabel = PictureLabel::Below;
    QTest::newRow("tenths of a second") << tenths;
    BoardSettings elsewhere;
    elsewhere.voice = "voix d'un autre ordinateur";
    elsewhere.storedBlock = {"#OrivoxSettings 2", "later=1", "x=y"};
    QTest::newRow("voice this computer lacks, settings of a later version") << elsewhere;
  }
  void showsAndGivesBackEverySetting() {
    QFETCH(BoardSettings, settings);
    RecordingSpeech speech;
    TFormReglages dialog(&speech);
    dialog.setSettings(BoardSettings{} == settings ? top() : BoardSettings());
    dialog.setSettings(settings); // over different values, so that nothing is left over
    QCOMPARE(dialog.settings(), settings);
  }

  // The carer reads where the label goes; the board keeps the choice.
  void pictureLabelChoices_data() {
    QTest::addColumn<QString>("shown");
    QTest::addColumn<PictureLabel>("label");
    QTest::newRow("above, the default") << "Au-dessus de l'image" << PictureLabel::Above;
    QTest::newRow("below") << "Sous l'image" << PictureLabel::Below;
    QTest::newRow("hidden") << "Caché (image seule)" << PictureLabel::Hidden;
  }
  void pictureLabelChoices() {
    QFETCH(QString, shown);
    QFETCH(PictureLabel, label);
    TFormReglages dialog(nullptr);
    QCOMPARE(dialog.CbxPictureLabel->currentText(), QStringLiteral("Au-dessus de l'image"));
    auto* form = qobject_cast<QFormLayout*>(dialog.CbxPictureLabel->parentWidget()->layout());
    QVERIFY(form);
    auto* caption = qobject_cast<QLabel*>(form->labelForField(dialog.CbxPictureLabel));
    QCOMPARE(caption->text(), QStringLiteral("Texte des boutons à image :"));
    dialog.CbxPictureLabel->setCurrentIndex(dialog.CbxPictureLabel->findText(shown));
    QCOMPARE(dialog.settings().pictureLabel, label);
    BoardSettings s;
    s.pictureLabel = label;
    dialog.setSettings(s);
    QCOMPARE(dialog.CbxPictureLabel->currentText(), shown);
  }

  // The groups are taller than a small screen: the dialog stays within it, OK in sight, and
  // the groups scroll.
  void fitsTheScreen() {
    TFormReglages dialog(nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QRect room = dialog.screen()->availableGeometry();
    QVERIFY(dialog.frameGeometry().height() <= room.height());
    const QRect ok(dialog.BtnOK->mapTo(&dialog, QPoint(0, 0)), dialog.BtnOK->size());
    QVERIFY(dialog.rect().contains(ok));
  }

  // Beside the prompts' option, the carer reads whether a screen reader speaks already, as the
  // dialog opens; the option to speak anyway comes with it.
  void screenReaderLine_data() {
    QTest::addColumn<bool>("running");
    QTest::addColumn<QString>("line");
    QTest::newRow("none") << false
                          << "Aucun lecteur d'écran ne fonctionne : le tableau dit les noms s'il "
                             "y est réglé.";
    QTest::newRow("one runs") << true
                              << "Un lecteur d'écran lit déjà le tableau : cochez pour que le "
                                 "tableau parle aussi.";
  }
  void screenReaderLine() {
    QFETCH(bool, running);
    QFETCH(QString, line);
    FakeScreenReader reader;
    TFormReglages dialog(nullptr);
    dialog.setScreenReaderStatus(&reader);
    reader.running = running;
    dialog.show();
    QCOMPARE(dialog.LblScreenReader->text(), line);
    QCOMPARE(dialog.ChkPromptsWithScreenReader->text(),
             QStringLiteral("Dire les noms même quand un lecteur d'écran fonctionne"));
    auto* form = qobject_cast<QFormLayout*>(dialog.ChkSpeakPrompts->parentWidget()->layout());
    QVERIFY(form);
    int promptsRow = -1, optionRow = -1, lineRow = -1;
    QFormLayout::ItemRole role;
    form->getWidgetPosition(dialog.ChkSpeakPrompts, &promptsRow, &role);
    form->getWidgetPosition(dialog.ChkPromptsWithScreenReader, &optionRow, &role);
    form->getWidgetPosition(dialog.LblScreenReader, &lineRow, &role);
    QCOMPARE(optionRow, promptsRow + 1);
    QCOMPARE(lineRow, promptsRow + 2);
  }

  void windowTakesTheChoiceAsAnEdit() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    h.fakes.speech.currentState = SpeechState::Unavailable;
    h.enterCreationMode();
    QVERIFY(f.document().saved());

    QString stateShown;
    MainFrameHarness::whenModal([&](QWidget* w) {
      auto* d = qobject_cast<TFormReglages*>(w);
      stateShown = d->LblSpeechState->text();
      d->BtnOK->click(); // nothing changed
    });
    f.panel().BtnReglages->click();
    QVERIFY(f.document().saved());
    QCOMPARE(stateShown, QStringLiteral("Synthèse vocale indisponible : aucun service de synthèse "
                                        "vocale avec une voix française n'a répondu. Le tableau "
                                        "reste muet."));
    QCOMPARE(h.fakes.speech.probes, 1);

    // The service answers while the dialog is open: the voice can be tried, with the values
    // shown, and cancelling keeps none of them.
    bool triableWithoutSpeech = true;
    MainFrameHarness::whenModal([&](QWidget* w) {
      auto* d = qobject_cast<TFormReglages*>(w);
      triableWithoutSpeech = d->BtnTryVoice->isEnabled();
      h.fakes.speech.currentState = SpeechState::Available;
      d->showSpeechState();
      d->ChkSpeakPhrase->setChecked(true);
      d->EdtRate->setValue(40);
      d->BtnTryVoice->click();
      d->BtnCancel->click();
    });
    f.panel().BtnReglages->click();
    QVERIFY(!triableWithoutSpeech);
    QVERIFY(f.document().saved());
    QCOMPARE(f.view().settings(), BoardSettings());
    QCOMPARE(h.fakes.speech.texts(), QStringList{SpeechFeedback::sampleText()});
    QCOMPARE(h.fakes.speech.said.last().voice.rate, 40);

    QStringList shown;
    MainFrameHarness::whenModal([&shown](QWidget* w) {
      auto* d = qobject_cast<TFormReglages*>(w);
      d->ChkSpeakPhrase->setChecked(true);
      d->EdtPaceTabs->setValue(2.5);
      // Below the shortest pace the box offers only the panel's pace, which is what is kept.
      d->EdtPaceTexts->setValue(0.1);
      shown << d->EdtPaceTexts->text();
      d->EdtPaceTexts->stepBy(1);
      shown << d->EdtPaceTexts->text();
      d->EdtPaceTexts->stepBy(-1);
      shown << d->EdtPaceTexts->text();
      d->BtnOK->click();
    });
    f.panel().BtnReglages->click();
    QCOMPARE(shown,
             QStringList({"comme le temps chenillard", "0,3 s", "comme le temps chenillard"}));
    QVERIFY(!f.document().saved());
    QVERIFY(f.view().settings().speakPhrase);
    QCOMPARE(f.view().settings().tabPaceMs, 2500);
    QCOMPARE(f.view().settings().textPaceMs, 0);
    // The whole-second paces stored for older versions are the finer ones rounded...
    QCOMPARE(f.panel().EdtT1->value(), 3);
    QCOMPARE(f.panel().EdtT2->value(), 1);
    // ...and a whole-second pace typed afterwards is the pace from then on.
    f.panel().EdtT1->setValue(7);
    QCOMPARE(f.view().settings().tabPaceMs, 0);
    QVERIFY(h.fakes.messages.shown.isEmpty());
    // Each is one step, and undone each gives back exactly what was there.
    f.panel().BtnAnnulerEdition->click();
    QCOMPARE(f.view().settings().tabPaceMs, 2500);
    QCOMPARE(f.panel().EdtT1->value(), 3);
    QVERIFY(!f.document().saved());
    f.panel().BtnAnnulerEdition->click();
    QCOMPARE(f.view().settings(), BoardSettings());
    QVERIFY(f.document().saved());
    f.panel().BtnRetablirEdition->click();
    QVERIFY(f.view().settings().speakPhrase);
    // A new board starts from the defaults.
    f.BtnNouveauClick();
    QCOMPARE(f.view().settings(), BoardSettings());

    // The words learned are forgotten once the carer says yes, and the state of the model is
    // told as it changes.
    h.predictor.learnt = QStringList{"Bonne nuit"};
    QStringList states;
    MainFrameHarness::whenModal([&](QWidget* w) {
      auto* d = qobject_cast<TFormReglages*>(w);
      states << d->LblPredictionState->text();
      d->BtnForgetWords->click(); // answered No
      h.fakes.messages.answers = {true};
      d->BtnForgetWords->click();
      // A file that stays is said, with the reason, and what was learned is still there.
      h.predictor.learnt = QStringList{"Bonjour"};
      h.predictor.forgetting = PredictionResult::failed(
          QStringLiteral("impossible de supprimer « /d/mots-appris.db » (Permission denied)"));
      h.fakes.messages.answers = {true};
      d->BtnForgetWords->click();
      h.predictor.currentStatus = WordPredictor::Status::ModelMissing;
      emit h.predictor.statusChanged(h.predictor.currentStatus);
      states << d->LblPredictionState->text();
      d->BtnCancel->click();
    });
    f.panel().BtnReglages->click();
    QCOMPARE(states, QStringList({"Prédiction de mots prête.",
                                  "Prédiction indisponible : le dictionnaire de prédiction est "
                                  "introuvable."}));
    QCOMPARE(h.fakes.messages.questions,
             QStringList({"Oublier tous les mots appris ?", "Oublier tous les mots appris ?",
                          "Oublier tous les mots appris ?"}));
    QCOMPARE(h.fakes.messages.shown,
             QStringList({"Les mots appris sont oubliés.",
                          "Les mots appris n'ont pas pu être oubliés : impossible de supprimer "
                          "« /d/mots-appris.db » (Permission denied)."}));
    QCOMPARE(h.predictor.learnt, QStringList{"Bonjour"});
  }

private:
  static BoardSettings top() {
    BoardSettings s;
    s.tabPaceMs = 5000;
    s.speakPrompts = true;
    s.highlight = HighlightStyle::Frame;
    s.voice = "fr";
    s.pictureLabel = PictureLabel::Below;
    s.storedBlock = {"#OrivoxSettings 1", "old=1"};
    return s;
  }
};

ORIVOX_TEST(TFormReglagesTest)
#include "TFormReglagesTest.moc"

// The group "Accès" of the settings dialog: what the carer reads, a switch's key set by pressing
// it, and the choice taken by the window as one edit that a save keeps.
#include "board/BoardView.h"
#include "documents/BoardFile.h"
#include "editing/AccessSettingsGroup.h"
#include "editing/CreationPanel.h"
#include "editing/TFormReglages.h"
#include "shell/TMainFrame.h"
#include "support/MainFrameHarness.h"
#include "support/TestRegistry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QTest>

Q_DECLARE_METATYPE(BoardSettings)

namespace {
QString caption(QWidget* field) {
  auto* form = qobject_cast<QFormLayout*>(field->parentWidget()->layout());
  auto* label = form ? qobject_cast<QLabel*>(form->labelForField(field)) : nullptr;
  return label ? label->text() : QString();
}
} // namespace

class AccessSettingsTest : public QObject {
  Q_OBJECT
private slots:
  void theCarerReadsTheGroup() {
    TFormReglages dialog(nullptr);
    AccessSettingsGroup* g = dialog.GrpAccess;
    QCOMPARE(g->title(), QStringLiteral("Accès"));
    QStringList modes;
    for (int i = 0; i < g->CbxAccessMode->count(); ++i)
      modes << g->CbxAccessMode->itemText(i);
    QCOMPARE(modes, QStringList({"Automatique, un contacteur",
                                 "Deux contacteurs : l'un avance, l'autre choisit",
                                 "Un contacteur maintenu (balayage inverse)",
                                 "Un contacteur : chaque appui avance, l'attente choisit"}));
    QCOMPARE(g->CbxAccessMode->currentIndex(), 0);
    QCOMPARE(caption(g->CbxAccessMode), QStringLiteral("Mode d'accès :"));
    QCOMPARE(g->BtnMoveKey->text(), QStringLiteral("Touche pour avancer : Espace"));
    QCOMPARE(g->BtnChooseKey->text(), QStringLiteral("Touche pour choisir : Entrée"));
    QCOMPARE(g->ChkMoveRepeat->text(),
             QStringLiteral("Avancer encore tant que le contacteur pour avancer reste appuyé"));
    QCOMPARE(caption(g->EdtMoveRepeatDelay), QStringLiteral("Appui avant de répéter :"));
    QCOMPARE(caption(g->EdtMoveRepeatPace), QStringLiteral("Temps entre deux répétitions :"));
    QCOMPARE(caption(g->EdtDwell), QStringLiteral("Attente qui choisit :"));
    QCOMPARE(g->EdtDwell->text(), QStringLiteral("2,0 s"));
  }

  void onlyWhatTheModeUsesCanBeChanged_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("repeatTicked");
    QTest::addColumn<QString>("enabled"); // keys, repeat box, repeat times, dwell as 0/1
    QTest::newRow("automatic") << int(AccessMode::Automatic) << true << "0000";
    QTest::newRow("two switches") << int(AccessMode::TwoSwitchStep) << false << "1100";
    QTest::newRow("two switches, repeat ticked")
        << int(AccessMode::TwoSwitchStep) << true << "1110";
    QTest::newRow("held switch") << int(AccessMode::Inverse) << true << "0000";
    QTest::newRow("dwell, repeat ticked") << int(AccessMode::StepDwell) << true << "0111";
  }
  void onlyWhatTheModeUsesCanBeChanged() {
    QFETCH(int, mode);
    QFETCH(bool, repeatTicked);
    QFETCH(QString, enabled);
    AccessSettingsGroup g(nullptr);
    g.CbxAccessMode->setCurrentIndex(mode);
    g.ChkMoveRepeat->setChecked(repeatTicked);
    const auto bit = [](bool b) { return b ? QLatin1Char('1') : QLatin1Char('0'); };
    QString got;
    got += bit(g.BtnMoveKey->isEnabled() && g.BtnChooseKey->isEnabled());
    got += bit(g.ChkMoveRepeat->isEnabled());
    got += bit(g.EdtMoveRepeatDelay->isEnabled() && g.EdtMoveRepeatPace->isEnabled());
    got += bit(g.EdtDwell->isEnabled());
    QCOMPARE(got, enabled);
  }

  void aKeyIsSetByPressingIt_data() {
    QTest::addColumn<bool>("move"); // which switch's button is pressed
    QTest::addColumn<int>("qtKey");
    QTest::addColumn<bool>("keypad");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("moveKey");
    QTest::addColumn<int>("chooseKey");
    const QString waitingMove = QStringLiteral("Touche pour avancer : appuyez sur la touche...");
    const QString waitingChoose = QStringLiteral("Touche pour choisir : appuyez sur la touche...");
    QTest::newRow("a letter") << true << int(Qt::Key_A) << false << "Touche pour avancer : A"
                              << "" << 65 << 13;
    QTest::newRow("keypad 0") << true << int(Qt::Key_0) << true
                              << "Touche pour avancer : 0 du pavé numérique"
                              << "" << 96 << 13;
    QTest::newRow("keypad Enter is Enter")
        << false << int(Qt::Key_Enter) << true << "Touche pour choisir : Entrée"
        << "" << 32 << 13;
    QTest::newRow("the other switch's key is refused, the button still waits")
        << false << int(Qt::Key_Space) << false << waitingChoose
        << "Cette touche sert déjà à avancer." << 32 << 13;
    QTest::newRow("Enter while waiting is a key, not the dialog's OK")
        << true << int(Qt::Key_Return) << false << waitingMove
        << "Cette touche sert déjà à choisir." << 32 << 13;
    QTest::newRow("Ctrl cannot be a switch")
        << true << int(Qt::Key_Control) << false << waitingMove
        << "Cette touche ne peut pas servir de contacteur." << 32 << 13;
    QTest::newRow("Escape gives up")
        << true << int(Qt::Key_Escape) << false << "Touche pour avancer : Espace"
        << "" << 32 << 13;
  }
  void aKeyIsSetByPressingIt() {
    QFETCH(bool, move);
    QFETCH(int, qtKey);
    QFETCH(bool, keypad);
    QFETCH(QString, shown);
    QFETCH(QString, message);
    QFETCH(int, moveKey);
    QFETCH(int, chooseKey);
    TFormReglages dialog(nullptr);
    BoardSettings s;
    s.accessMode = AccessMode::TwoSwitchStep;
    dialog.setSettings(s);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    SwitchKeyButton* b = move ? dialog.GrpAccess->BtnMoveKey : dialog.GrpAccess->BtnChooseKey;
    b->setFocus();
    QTest::keyClick(b, Qt::Key_Space); // the button pressed from the keyboard, as a carer may
    QVERIFY(b->waiting());
    QTest::keyClick(b, Qt::Key(qtKey), keypad ? Qt::KeypadModifier : Qt::NoModifier);
    QCOMPARE(b->text(), shown);
    QCOMPARE(dialog.GrpAccess->LblKeyMessage->text(), message);
    QVERIFY(dialog.isVisible()); // no key reached the dialog's buttons
    QCOMPARE(dialog.settings().moveKey, moveKey);
    QCOMPARE(dialog.settings().chooseKey, chooseKey);
  }

  void showsAndGivesBackTheAccessSettings_data() {
    QTest::addColumn<BoardSettings>("settings");
    BoardSettings top;
    top.accessMode = AccessMode::StepDwell;
    top.moveKey = 96;
    top.chooseKey = 97;
    top.moveRepeat = true;
    top.moveRepeatDelayMs = 5000;
    top.moveRepeatPaceMs = 100;
    top.dwellMs = 10000;
    QTest::newRow("every limit") << top;
    BoardSettings tenths;
    tenths.accessMode = AccessMode::TwoSwitchStep;
    tenths.moveRepeatDelayMs = 700;
    tenths.moveRepeatPaceMs = 300;
    tenths.dwellMs = 300;
    QTest::newRow("tenths of a second, the shortest dwell") << tenths;
    BoardSettings held;
    held.accessMode = AccessMode::Inverse;
    QTest::newRow("held switch") << held;
  }
  void showsAndGivesBackTheAccessSettings() {
    QFETCH(BoardSettings, settings);
    TFormReglages dialog(nullptr);
    dialog.setSettings(settings);
    QCOMPARE(dialog.settings(), settings);
    dialog.setSettings(BoardSettings());
    QCOMPARE(dialog.settings(), BoardSettings()); // nothing left over
  }

  void aModeChangeIsOneEditThatASaveKeeps() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    h.enterCreationMode();
    MainFrameHarness::whenModal([](QWidget* w) {
      auto* d = qobject_cast<TFormReglages*>(w);
      d->GrpAccess->CbxAccessMode->setCurrentIndex(int(AccessMode::TwoSwitchStep));
      d->GrpAccess->BtnMoveKey->click();
      QTest::keyClick(d->GrpAccess->BtnMoveKey, Qt::Key_0, Qt::KeypadModifier);
      d->GrpAccess->ChkMoveRepeat->setChecked(true);
      d->BtnOK->click();
    });
    f.panel().BtnReglages->click();
    QCOMPARE(f.view().settings().accessMode, AccessMode::TwoSwitchStep);
    QCOMPARE(f.view().settings().moveKey, 96);
    QVERIFY(f.view().settings().moveRepeat);
    QVERIFY(!f.document().saved());
    f.panel().BtnAnnulerEdition->click(); // one step takes all of it back
    QCOMPARE(f.view().settings(), BoardSettings());
    QVERIFY(f.document().saved());
    f.panel().BtnRetablirEdition->click();
    h.fakes.fileDialogs.saveReplies = {h.path("acces.ord")};
    f.panel().BtnEnr->click();
    QFile file(h.path("acces.ord"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const BoardSettings read = boardfile::read(file.readAll()).data.settings;
    QCOMPARE(read.accessMode, AccessMode::TwoSwitchStep);
    QCOMPARE(read.moveKey, 96);
    QCOMPARE(read.chooseKey, 13);
    QVERIFY(read.moveRepeat);
  }
};

ORIVOX_TEST(AccessSettingsTest)
#include "AccessSettingsTest.moc"

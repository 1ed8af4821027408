// The two modes and the window's shortcuts, driven as a carer would: CTRL+C, the password
// typed in the prompt, Enter; CTRL+E back.
#include "board/BoardView.h"
#include "board/TOnglet.h"
#include "board/TPageControl.h"
#include "documents/BoardDocument.h"
#include "editing/BoardHistory.h"
#include "editing/CreationPanel.h"
#include "execution/DisplayArea.h"
#include "execution/ScanSession.h"
#include "execution/SwitchKeyFilter.h"
#include "shell/TMainFrame.h"
#include "support/MainFrameHarness.h"
#include "support/TestRegistry.h"

#include <QApplication>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

class ModesTest : public QObject {
  Q_OBJECT
private slots:
  void startsInExecutionModeScanningTabs() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    QCOMPARE(f.windowTitle(), QStringLiteral("Orivox v1.0"));
    QVERIFY(f.view().execMode());
    QVERIFY(f.session().tabScanning());
    QVERIFY(f.document().saved());
    QVERIFY(!(&f.panel())->isVisible());
    QVERIFY(f.session().tabTimer().isActive());
    QVERIFY(!f.session().textTimer().isActive());
    QCOMPARE(f.session().tabTimer().interval(), 3000);
    QCOMPARE(f.session().textTimer().interval(), 1000);
    QCOMPARE(f.panel().EdtT1->value(), 3);
    QCOMPARE(f.panel().EdtT2->value(), 1);
    QVERIFY(f.session().display().widget()->isReadOnly());
    // A screen reader names the area the phrase is written in.
    QCOMPARE(f.session().display().widget()->accessibleName(), QStringLiteral("Zone d'affichage"));
    QCOMPARE(f.focusHolder()->size(), QSize(57, 57));
    QVERIFY(f.focusHolder()->hasFocus());
  }

  void panelCaptions() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    const QStringList groups = {f.panel().GrpBxOnglet->title(), f.panel().GrpBxTxt->title(),
                                f.panel().GrpBxAppa->title(), f.panel().GrpBxGene->title()};
    QCOMPARE(groups, (QStringList{"Gestion des onglets", "Gestion des textes",
                                  "Modification de l'apparence", "Gestion générale"}));
    const QStringList general = {f.panel().BtnNouveau->text(), f.panel().BtnOuvrir->text(),
                                 f.panel().BtnEnr->text(), f.panel().BtnEnrSous->text(),
                                 f.panel().BtnChangMdp->text()};
    QCOMPARE(general, (QStringList{"Nouveau fichier", "Ouvrir un fichier", "Enregistrer le fichier",
                                   "Enregistrer sous", "Changer Mot de Passe"}));
    QCOMPARE(f.panel().GroupBoxDeplTexte->title(), QStringLiteral("Deplacement intra-onglet"));
    QCOMPARE(f.panel().GroupBox2->title(), QStringLiteral("Deplacement extra-onglet"));
    QCOMPARE(f.findChild<QLabel*>(QStringLiteral("Logo"))->toolTip(),
             QStringLiteral("Afficher l'aide"));
  }

  // Every control of the creation panel whole and reachable on the screens carers have; where
  // the form's layout fits, the boxes stay where its spacing rule puts them.
  void creationPanelFitsTheScreen_data() {
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<bool>("asDesigned");
    QTest::newRow("1024x768") << QSize(1024, 768) << false;
    QTest::newRow("1280x800") << QSize(1280, 800) << true;
  }
  void creationPanelFitsTheScreen() {
    QFETCH(QSize, screen);
    QFETCH(bool, asDesigned);
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    f.resize(screen);
    h.enterCreationMode();
    QCoreApplication::processEvents();
    QCOMPARE((&f.panel())->width(), screen.width());
    QList<QWidget*> controls; // the boxes and what they hold, not the parts of a spin box
    for (QWidget* w : (&f.panel())->findChildren<QWidget*>())
      if (w->parentWidget() == &f.panel() || qobject_cast<QGroupBox*>(w->parentWidget()))
        controls << w;
    QVERIFY(controls.size() >= 39);
    for (QWidget* w : controls) {
      const QString what = w->objectName() + QLatin1Char(' ') + w->property("text").toString() +
                           w->property("title").toString();
      QVERIFY2(w->isVisible(), qPrintable(what));
      QVERIFY2(f.rect().contains(QRect(w->mapTo(&f, QPoint()), w->size())), qPrintable(what));
      QVERIFY2(w->parentWidget()->rect().contains(w->geometry()), qPrintable(what));
      for (QWidget* other : controls)
        QVERIFY2(other == w || other->parentWidget() != w->parentWidget() ||
                     !other->geometry().intersects(w->geometry()),
                 qPrintable(what + QStringLiteral(" overlaps ") + other->objectName()));
      // Captions whole (a box's title is drawn 8 pixels in).
      if (auto* b = qobject_cast<QPushButton*>(w))
        QVERIFY2(b->fontMetrics().horizontalAdvance(b->text()) + 6 <= b->width(), qPrintable(what));
      if (auto* l = qobject_cast<QLabel*>(w))
        QVERIFY2(l->width() >= l->sizeHint().width(), qPrintable(what));
      if (auto* g = qobject_cast<QGroupBox*>(w))
        QVERIFY2(g->fontMetrics().horizontalAdvance(g->title()) + 8 <= g->width(),
                 qPrintable(what));
    }
    // Where they fit, the boxes keep the form's sizes and its spacing rule.
    const int gap = (screen.width() - f.panel().GrpBxOnglet->width() - f.panel().GrpBxTxt->width() -
                     f.panel().GrpBxAppa->width()) /
                    4;
    QCOMPARE(f.panel().GrpBxOnglet->x(), gap);
    QCOMPARE(f.panel().GrpBxTxt->x(), gap + f.panel().GrpBxOnglet->width() + gap);
    if (asDesigned) {
      QCOMPARE(f.panel().GrpBxOnglet->geometry(), QRect(gap, 6, 260, 228));
      QCOMPARE(f.panel().BtnVisuAff->geometry(), QRect(204, 56, 188, 25));
      QCOMPARE(f.panel().BtnEnrSous->geometry(), QRect(60, 54, 130, 25));
    }
  }

  void creationModeWithTheRightPassword() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    h.enterCreationMode();
    QVERIFY(!f.view().execMode());
    QVERIFY((&f.panel())->isVisible());
    QVERIFY(!f.session().tabTimer().isActive());
    QVERIFY(!f.session().textTimer().isActive());
    QVERIFY(f.view().allSelected());
    QCOMPARE(f.panel().BitBtnTtAff->text(), QStringLiteral("Désélectionner les textes"));
    for (TOnglet* page : f.view().pages()) {
      for (int i = 0; i < page->GetButtonCount(); ++i) {
        TTextButton* b = page->buttonAt(i);
        QCOMPARE(b->isShownOnPage(), i < page->textButtonCount()); // reserved buttons hidden
        QCOMPARE(b->boardFont(), f.view().selectedFont());
      }
    }
    // The letters of "Alphabet" cannot be chosen for editing; longer texts can.
    TOnglet* alphabet = f.view().pageNamed(QStringLiteral("Alphabet"));
    QVERIFY(!alphabet->buttonAt(0)->isEnabled());
    QVERIFY(h.fakes.messages.shown.isEmpty());
  }

  void wrongOrCancelledPasswordKeepsScanning_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("wrong") << "WMO" << QStringList{"Mot de passe incorrect"};
    QTest::newRow("empty") << "" << QStringList{"Mot de passe incorrect"};
  }
  void wrongOrCancelledPasswordKeepsScanning() {
    QFETCH(QString, typed);
    QFETCH(QStringList, messages);
    MainFrameHarness h;
    h.enterCreationMode(typed);
    QCOMPARE(h.fakes.messages.shown, messages);
    QVERIFY(h.frame().view().execMode());
    QVERIFY(h.frame().session().tabTimer().isActive());
    QVERIFY(!h.frame().panel().isVisible());
  }

  void cancelledPromptSaysNothing() {
    MainFrameHarness h;
    MainFrameHarness::whenModal([](QWidget* d) { static_cast<QDialog*>(d)->reject(); });
    h.frame().FormShortCut(Qt::Key_C, Qt::ControlModifier);
    QVERIFY(h.fakes.messages.shown.isEmpty());
    QVERIFY(h.frame().view().execMode());
  }

  void emptyPasswordMatchesEmptyEntry() {
    MainFrameHarness h;
    h.frame().SetPassword(QString());
    h.enterCreationMode(QString());
    QVERIFY(!h.frame().view().execMode());
  }

  void executionModeTakesThePacesOfTheSpinEdits() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    h.enterCreationMode();
    f.panel().EdtT1->setValue(5);
    f.panel().EdtT2->setValue(2);
    QCOMPARE(f.session().tabTimer().interval(), 3000); // nothing changes until CTRL+E
    QVERIFY(!f.document().saved());
    h.enterExecutionMode();
    QVERIFY(f.view().execMode());
    QVERIFY(f.session().tabScanning());
    QCOMPARE(f.session().tabTimer().interval(), 5000);
    QCOMPARE(f.session().textTimer().interval(), 2000);
    QVERIFY(f.session().tabTimer().isActive());
    QVERIFY(!(&f.panel())->isVisible());
    QVERIFY(!f.view().allSelected());
    for (TOnglet* page : f.view().pages())
      for (TTextButton* b : page->buttons()) {
        QVERIFY(b->isEnabled());
        QCOMPARE(b->boardFont(), f.view().unselectedFont());
      }
  }

  void shortcutsInTheWrongModeDoNothing() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    f.FormShortCut(Qt::Key_E, Qt::ControlModifier);
    f.FormShortCut(Qt::Key_P, Qt::ControlModifier);
    f.FormShortCut(Qt::Key_O, Qt::ControlModifier);
    f.FormShortCut(Qt::Key_R, Qt::ControlModifier);
    f.FormShortCut(Qt::Key_C, Qt::NoModifier);
    QVERIFY(h.fakes.fileDialogs.openFilters.isEmpty());
    QVERIFY(h.fakes.fileDialogs.saveFilters.isEmpty());
    QVERIFY(f.view().execMode());
    h.enterCreationMode();
    // CTRL+C again in creation mode asks nothing.
    f.FormShortCut(Qt::Key_C, Qt::ControlModifier);
    QVERIFY(!f.view().execMode());
    f.FormShortCut(Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(h.fakes.fileDialogs.openFilters, QStringList{"Fichiers ordinogrammes (*.ord) |*.ord"});
    f.FormShortCut(Qt::Key_R, Qt::ControlModifier);
    QCOMPARE(h.fakes.fileDialogs.saveFilters.size(), 1);
  }

  void realKeysReachTheShortcuts() {
    MainFrameHarness h;
    MainFrameHarness::answerPassword("wmo");
    MainFrameHarness::pressKey(Qt::Key_C, Qt::ControlModifier);
    QVERIFY(!h.frame().view().execMode());
    h.reactivate();
    MainFrameHarness::pressKey(Qt::Key_E, Qt::ControlModifier);
    QVERIFY(h.frame().view().execMode());
  }

  void tabNameFieldFollowsTheActiveTab() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    f.view().pageControl()->setCurrentIndex(0); // "Divers"
    h.enterCreationMode();
    QVERIFY(!f.panel().EdtNomOnglet->isEnabled());
    h.enterExecutionMode();
    f.panel().BtnAjoutOnglClick();
    h.enterCreationMode();
    QVERIFY(f.panel().EdtNomOnglet->isEnabled());
  }

  void previewToggleIsForgottenOnReentry() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    h.enterCreationMode();
    f.panel().BitBtnTtAffClick();
    QCOMPARE(f.panel().BitBtnTtAff->text(), QStringLiteral("Sélectionner les textes"));
    h.enterExecutionMode();
    h.enterCreationMode();
    QVERIFY(f.view().allSelected());
    QCOMPARE(f.view().activePage()->buttonAt(0)->boardFont(), f.view().selectedFont());
  }

  void aPieceLastHighlightedChoosesTheWholeText() {
    // A text cut into pieces, highlighted on its second piece when the carer enters creation
    // mode: the name field holds the whole text and a rename renames all of it.
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    const QString longText(400, QLatin1Char('x'));
    f.view().diversTab()->AddText(true, longText, false);
    f.view().diversTab()->SplitAllTexts();
    QVERIFY(f.view().diversTab()->textButtonCount() > 1);
    f.view().pageControl()->setCurrentWidget(f.view().diversTab());
    f.session().setTabScanning(false);
    f.view().diversTab()->ResetCurrent();
    f.session().TimerT2Timer();
    f.session().TimerT2Timer(); // the second piece
    QCOMPARE(f.view().diversTab()->currentIndex(), 1);
    h.enterCreationMode();
    QCOMPARE(f.panel().EdtNomTexte->text(), longText);
    f.panel().EdtNomTexte->setText(QStringLiteral("court"));
    f.view().diversTab()->JoinPieces();
    QCOMPARE(f.view().diversTab()->GetTexts(), QStringList{"court"});
  }

  void changePassword() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    h.enterCreationMode();
    MainFrameHarness::whenModal([](QWidget* d) {
      auto fields = d->findChildren<QLineEdit*>();
      QCOMPARE(fields.size(), 2);
      fields[0]->setText("neuf");
      fields[1]->setText("neuf");
      QTest::keyClick(fields[1], Qt::Key_Return);
    });
    f.FormShortCut(Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(f.document().password(), QStringLiteral("neuf"));
  }

  // A phrase holding a character the file cannot store (a text brought in from elsewhere) is
  // not added by AJOUT: the board stays one that saves, and the message names the character.
  void aPhraseTheFileCannotHoldIsNotAdded() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    BoardData board = f.view().boardData();
    board.tabs << BoardTab{QStringLiteral("Mots"), {QStringLiteral("peut\u2011être"), "oui"}};
    f.document().applyBoard(board, QString());
    TOnglet* words = f.view().pageAt(3);
    f.session().startScanning();
    h.frame().document().setSaved(true);
    for (int i = 0;
         i < 8 && !(f.view().activePage() == words && f.view().tabBar()->highlighted() >= 0); ++i)
      f.session().TimerT1Timer();
    QCOMPARE(f.view().activePage(), words);
    MainFrameHarness::pressSwitch();
    QVERIFY(MainFrameHarness::stepTo(f, QStringLiteral("peut\u2011être")));
    MainFrameHarness::pressSwitch();
    QVERIFY(MainFrameHarness::stepTo(f, QStringLiteral("oui")));
    MainFrameHarness::pressSwitch();
    QVERIFY(MainFrameHarness::stepTo(f, QStringLiteral("AJOUT")));
    MainFrameHarness::pressSwitch();
    QCOMPARE(h.fakes.messages.shown,
             QStringList{"Le caractère « \u2011 » ne peut pas être enregistré dans un tableau."});
    QVERIFY(f.view().diversTab()->wholeTexts().isEmpty());
    QVERIFY(f.document().saved());
  }
};

ORIVOX_TEST(ModesTest)
#include "ModesTest.moc"

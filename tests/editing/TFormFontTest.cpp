// The appearance dialog: its layout for each kind of target and back, what OK writes into the
// caller's font, what cancelling leaves alone, and where Enter goes.
#include "editing/TFormFont.h"
#include "support/Fakes.h"
#include "support/TestRegistry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

// Runs the dialog modally; the steps run once it is up. A watchdog closes a dialog that a
// failing step left open, so that a fault shows as a failure rather than a hang.
int runModal(TFormFont& dlg, const std::function<void()>& steps, bool* timedOut) {
  *timedOut = false;
  QTimer::singleShot(0, &dlg, steps);
  QTimer watchdog;
  watchdog.setSingleShot(true);
  QObject::connect(&watchdog, &QTimer::timeout, &dlg, [&] {
    *timedOut = true;
    dlg.done(0);
  });
  watchdog.start(10000);
  return dlg.exec();
}

// What a user sees of the layout: which colour rows are there, where the rows stand.
struct Layout {
  bool textColourRow, backColourRow;
  int textColourTop, backColourTop, fontNameTop, styleTop, buttonsTop, height;
};

Layout layoutOf(const TFormFont& d) {
  auto rowShown = [](QWidget* l, QWidget* e, QWidget* b) {
    return l->isVisible() && e->isVisible() && b->isVisible();
  };
  auto rowTop = [](QWidget* l, QWidget* e, QWidget* b) {
    // A row stands together: label 4 pixels lower than its input and its "..." button.
    return (l->y() == e->y() + 4 && b->y() == e->y()) ? e->y() : -1;
  };
  return {rowShown(d.LblCoul, d.EditCouleurP, d.ButtonChoixCoulP),
          rowShown(d.LblFd, d.EdtCoulFond, d.BtnCoulFond),
          rowTop(d.LblCoul, d.EditCouleurP, d.ButtonChoixCoulP),
          rowTop(d.LblFd, d.EdtCoulFond, d.BtnCoulFond),
          d.LblPolice->y() == d.ComboBoxNomP->y() + 4 ? d.ComboBoxNomP->y() : -1,
          d.GrpBxStyle->y(),
          d.BitBtnOK->y() == d.BitBtnAnnuler->y() ? d.BitBtnOK->y() : -1,
          d.height()};
}

// A user ticks a check box by clicking its box, at its left end.
void clickBox(QCheckBox* box) {
  QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

const Layout kDesign{true, true, 40, 70, 100, 130, 226, 258};

} // namespace

Q_DECLARE_METATYPE(Layout)

class TFormFontTest : public QObject {
  Q_OBJECT
private slots:
  void initTestCase();
  void layoutByKind_data();
  void layoutByKind();
  void loadFontFillsControls();
  void endings_data();
  void endings();
  void fontNotInstalledKeepsItsName();
  void sizeStaysInRange_data();
  void sizeStaysInRange();
  void colourButtons_data();
  void colourButtons();
  void enterGoesThroughFocusedOrDefaultButton_data();
  void enterGoesThroughFocusedOrDefaultButton();

private:
  QString FOtherFamily; // an installed family other than the one the dialog starts on
};

void TFormFontTest::initTestCase() {
  FakeColorChooser chooser;
  TFormFont dlg(&chooser);
  QCOMPARE(dlg.windowTitle(), QStringLiteral("Choix de l'apparence"));
  QStringList listed;
  for (int i = 0; i < dlg.ComboBoxNomP->count(); ++i)
    listed << dlg.ComboBoxNomP->itemText(i);
  QStringList sorted = listed;
  sorted.sort(Qt::CaseInsensitive);
  QCOMPARE(listed, sorted);
  if (listed.contains(QStringLiteral("Arial")))
    QCOMPARE(dlg.ComboBoxNomP->currentText(), QStringLiteral("Arial"));
  else if (!listed.isEmpty())
    QCOMPARE(dlg.ComboBoxNomP->currentIndex(), 0);
  if (listed.size() >= 2)
    FOtherFamily = listed.last();
}

void TFormFontTest::layoutByKind_data() {
  QTest::addColumn<int>("kind");
  QTest::addColumn<Layout>("shown");
  const Layout noBack{true, false, 40, 70, 70, 100, 196, 228};
  const Layout noTextColour{false, true, -1, 40, 70, 100, 196, 228};
  QTest::newRow("0 selected text") << 0 << noBack;
  QTest::newRow("1 non-selected texts") << 1 << noBack;
  QTest::newRow("2 tabs") << 2 << noTextColour;
  QTest::newRow("3 phrases") << 3 << kDesign;
  QTest::newRow("4 unknown") << 4 << kDesign;
  QTest::newRow("-1 unknown") << -1 << kDesign;
}

void TFormFontTest::layoutByKind() {
  QFETCH(int, kind);
  QFETCH(Layout, shown);
  FakeColorChooser chooser;
  TFormFont dlg(&chooser);
  // Twice laid out for the kind, then opened as it is: every opening after a hide starts from
  // the design layout again.
  for (int opening = 0; opening < 3; ++opening) {
    if (opening < 2)
      dlg.SetTargetKind(kind);
    const Layout expected = opening < 2 ? shown : kDesign;
    Layout seen{};
    bool timedOut = false;
    runModal(
        dlg,
        [&] {
          seen = layoutOf(dlg);
          QTest::mouseClick(dlg.BitBtnAnnuler, Qt::LeftButton);
        },
        &timedOut);
    QVERIFY(!timedOut);
    QCOMPARE(seen.textColourRow, expected.textColourRow);
    QCOMPARE(seen.backColourRow, expected.backColourRow);
    if (expected.textColourRow)
      QCOMPARE(seen.textColourTop, expected.textColourTop);
    if (expected.backColourRow)
      QCOMPARE(seen.backColourTop, expected.backColourTop);
    QCOMPARE(seen.fontNameTop, expected.fontNameTop);
    QCOMPARE(seen.styleTop, expected.styleTop);
    QCOMPARE(seen.buttonsTop, expected.buttonsTop);
    QCOMPARE(seen.height, expected.height);
    // Hidden again, every row is back in place.
    QVERIFY(!dlg.LblCoul->isHidden() && !dlg.EditCouleurP->isHidden());
    QVERIFY(!dlg.LblFd->isHidden() && !dlg.BtnCoulFond->isHidden());
    QCOMPARE(dlg.ComboBoxNomP->y(), kDesign.fontNameTop);
    QCOMPARE(dlg.BitBtnOK->y(), kDesign.buttonsTop);
  }
}

void TFormFontTest::loadFontFillsControls() {
  if (FOtherFamily.isEmpty())
    QSKIP("fewer than two font families installed");
  FakeColorChooser chooser;
  TFormFont dlg(&chooser);
  BoardFont font;
  font.name = FOtherFamily;
  font.size = 23;
  font.color = 0x3050A0; // $00BBGGRR: red A0, green 50, blue 30
  font.bold = true;
  font.underline = true;
  dlg.LoadFont(&font);
  QCOMPARE(dlg.SpinEditTailleP->value(), 23);
  QCOMPARE(dlg.ComboBoxNomP->currentText(), FOtherFamily);
  QVERIFY(dlg.CheckBoxGras->isChecked());
  QVERIFY(!dlg.CheckBoxItalique->isChecked());
  QVERIFY(dlg.CheckBoxSouligne->isChecked());
  QCOMPARE(dlg.GetEditedFont(), &font);
  // The swatch is an empty, disabled field painted in the colour.
  QVERIFY(!dlg.EditCouleurP->isEnabled());
  dlg.show();
  const QImage swatch = dlg.EditCouleurP->grab().toImage();
  dlg.hide();
  QCOMPARE(swatch.pixelColor(swatch.rect().center()), QColor(0xA0, 0x50, 0x30));
}

void TFormFontTest::endings_data() {
  QTest::addColumn<QString>("ending");
  QTest::addColumn<int>("result");
  QTest::addColumn<bool>("written");
  QTest::newRow("OK") << "ok" << 1 << true;
  QTest::newRow("Annuler") << "annuler" << 2 << false;
  QTest::newRow("window closed") << "close" << 2 << false;
  QTest::newRow("Escape") << "escape" << 2 << false;
}

void TFormFontTest::endings() {
  QFETCH(QString, ending);
  QFETCH(int, result);
  QFETCH(bool, written);
  FakeColorChooser chooser;
  chooser.replies = {TColor(0x00FF00)};
  TFormFont dlg(&chooser);
  BoardFont font;
  font.size = 8;
  font.color = clRed;
  font.italic = true;
  const BoardFont before = font;
  dlg.SetTargetKind(0);
  dlg.LoadFont(&font);
  bool timedOut = false;
  const int r = runModal(
      dlg,
      [&] {
        dlg.SpinEditTailleP->setFocus();
        dlg.SpinEditTailleP->selectAll();
        QTest::keyClicks(dlg.focusWidget(), QStringLiteral("20"));
        QTest::mouseClick(dlg.ButtonChoixCoulP, Qt::LeftButton);
        if (!FOtherFamily.isEmpty())
          dlg.ComboBoxNomP->setCurrentText(FOtherFamily);
        clickBox(dlg.CheckBoxGras);
        clickBox(dlg.CheckBoxItalique);
        clickBox(dlg.CheckBoxSouligne);
        if (ending == "ok")
          QTest::mouseClick(dlg.BitBtnOK, Qt::LeftButton);
        else if (ending == "annuler")
          QTest::mouseClick(dlg.BitBtnAnnuler, Qt::LeftButton);
        else if (ending == "close")
          dlg.close();
        else
          QTest::keyClick(dlg.focusWidget(), Qt::Key_Escape);
      },
      &timedOut);
  QVERIFY(!timedOut);
  QCOMPARE(r, result);
  QCOMPARE(chooser.offered, QList<TColor>{clRed});
  if (!written) {
    QCOMPARE(font, before);
    return;
  }
  QCOMPARE(dlg.GetEditedFont(), &font); // written in place, not into a copy
  QCOMPARE(font.size, 20);
  QCOMPARE(font.color, TColor(0x00FF00));
  QCOMPARE(font.name, FOtherFamily.isEmpty() ? before.name : FOtherFamily);
  QVERIFY(font.bold);
  QVERIFY(!font.italic);
  QVERIFY(font.underline);
}

void TFormFontTest::fontNotInstalledKeepsItsName() {
  FakeColorChooser chooser;
  TFormFont dlg(&chooser);
  BoardFont font;
  font.name = QStringLiteral("Police Introuvable Ici");
  font.size = 12;
  dlg.LoadFont(&font);
  QCOMPARE(dlg.ComboBoxNomP->currentIndex(), -1);
  bool timedOut = false;
  const int r = runModal(
      dlg,
      [&] {
        clickBox(dlg.CheckBoxGras);
        QTest::mouseClick(dlg.BitBtnOK, Qt::LeftButton);
      },
      &timedOut);
  QVERIFY(!timedOut);
  QCOMPARE(r, 1);
  QCOMPARE(font.name, QStringLiteral("Police Introuvable Ici"));
  QVERIFY(font.bold);
  QCOMPARE(font.size, 12);
}

void TFormFontTest::sizeStaysInRange_data() {
  QTest::addColumn<int>("loaded");
  QTest::addColumn<QString>("typed"); // replaces the spin box text; "-" types nothing
  QTest::addColumn<int>("written");
  QTest::newRow("loaded 0") << 0 << "-" << 1;
  QTest::newRow("loaded negative") << -5 << "-" << 1;
  QTest::newRow("loaded 250") << 250 << "-" << 100;
  QTest::newRow("typed 100") << 8 << "100" << 100;
  QTest::newRow("typed 1") << 8 << "1" << 1;
  QTest::newRow("typed 0") << 8 << "0" << 8;
  QTest::newRow("text erased") << 12 << "" << 12;
}

void TFormFontTest::sizeStaysInRange() {
  QFETCH(int, loaded);
  QFETCH(QString, typed);
  QFETCH(int, written);
  FakeColorChooser chooser;
  TFormFont dlg(&chooser);
  BoardFont font;
  font.size = loaded;
  dlg.LoadFont(&font);
  bool timedOut = false;
  const int r = runModal(
      dlg,
      [&] {
        if (typed != "-") {
          dlg.SpinEditTailleP->setFocus();
          dlg.SpinEditTailleP->selectAll();
          QTest::keyClick(dlg.focusWidget(), Qt::Key_Delete);
          QTest::keyClicks(dlg.focusWidget(), typed);
        }
        QTest::mouseClick(dlg.BitBtnOK, Qt::LeftButton);
      },
      &timedOut);
  QVERIFY(!timedOut);
  QCOMPARE(r, 1);
  QCOMPARE(font.size, written);
}

void TFormFontTest::colourButtons_data() {
  QTest::addColumn<bool>("background");
  QTest::addColumn<bool>("chosen"); // the chooser confirms (or is cancelled)
  QTest::newRow("text colour chosen") << false << true;
  QTest::newRow("text colour cancelled") << false << false;
  QTest::newRow("background chosen") << true << true;
  QTest::newRow("background cancelled") << true << false;
}

void TFormFontTest::colourButtons() {
  QFETCH(bool, background);
  QFETCH(bool, chosen);
  const TColor textColour = clNavy, backColour = clSilver, picked = 0x123456;
  FakeColorChooser chooser;
  chooser.replies = {chosen ? std::optional<TColor>(picked) : std::nullopt};
  TFormFont dlg(&chooser);
  BoardFont font;
  font.color = textColour;
  dlg.SetTargetKind(3);
  dlg.SetBackColor(backColour);
  dlg.LoadFont(&font);
  bool timedOut = false;
  const int r = runModal(
      dlg,
      [&] {
        QTest::mouseClick(background ? dlg.BtnCoulFond : dlg.ButtonChoixCoulP, Qt::LeftButton);
        QTest::mouseClick(dlg.BitBtnOK, Qt::LeftButton);
      },
      &timedOut);
  QVERIFY(!timedOut);
  QCOMPARE(r, 1);
  // The chooser opens on the swatch's colour.
  QCOMPARE(chooser.offered, QList<TColor>{background ? backColour : textColour});
  QCOMPARE(font.color, (chosen && !background) ? picked : textColour);
  QCOMPARE(dlg.GetBackColor(), (chosen && background) ? picked : backColour);
}

void TFormFontTest::enterGoesThroughFocusedOrDefaultButton_data() {
  QTest::addColumn<QString>("focus"); // where Enter is pressed
  QTest::addColumn<int>("offers");    // how many times the chooser opened
  QTest::addColumn<bool>("stillOpen");
  QTest::addColumn<int>("result");
  QTest::addColumn<bool>("written");
  QTest::newRow("text colour ...") << "dots-text" << 1 << true << 2 << false;
  QTest::newRow("background ...") << "dots-back" << 1 << true << 2 << false;
  QTest::newRow("Annuler") << "annuler" << 0 << false << 2 << false;
  QTest::newRow("OK") << "ok" << 0 << false << 1 << true;
  QTest::newRow("size field") << "size" << 0 << false << 1 << true;
  QTest::newRow("check box") << "bold" << 0 << false << 1 << true;
}

void TFormFontTest::enterGoesThroughFocusedOrDefaultButton() {
  QFETCH(QString, focus);
  QFETCH(int, offers);
  QFETCH(bool, stillOpen);
  QFETCH(int, result);
  QFETCH(bool, written);
  FakeColorChooser chooser;
  chooser.replies = {TColor(0x0000FF), TColor(0x00FF00)};
  TFormFont dlg(&chooser);
  BoardFont font;
  font.size = 9;
  font.color = clBlack;
  const BoardFont before = font;
  dlg.SetTargetKind(3);
  dlg.LoadFont(&font);
  bool open = false;
  bool timedOut = false;
  const int r = runModal(
      dlg,
      [&] {
        dlg.SpinEditTailleP->setValue(30);
        QWidget* target = focus == "dots-text"   ? dlg.ButtonChoixCoulP
                          : focus == "dots-back" ? dlg.BtnCoulFond
                          : focus == "annuler"   ? dlg.BitBtnAnnuler
                          : focus == "ok"        ? dlg.BitBtnOK
                          : focus == "size"      ? static_cast<QWidget*>(dlg.SpinEditTailleP)
                                                 : dlg.CheckBoxGras;
        target->setFocus();
        QTest::keyClick(dlg.focusWidget(), Qt::Key_Return);
        open = dlg.isVisible();
        if (open)
          QTest::mouseClick(dlg.BitBtnAnnuler, Qt::LeftButton);
      },
      &timedOut);
  QVERIFY(!timedOut);
  QCOMPARE(int(chooser.offered.size()), offers);
  QCOMPARE(open, stillOpen);
  QCOMPARE(r, result);
  if (written)
    QCOMPARE(font.size, 30);
  else
    QCOMPARE(font, before);
}

ORIVOX_TEST(TFormFontTest)
#include "TFormFontTest.moc"

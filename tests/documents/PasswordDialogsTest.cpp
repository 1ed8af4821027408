// The password prompt and the change-password dialog driven as a user would: typing into the
// focused field, Enter, the buttons and the window's close box.
#include "documents/TFormChangeMdp.h"
#include "documents/TFormMdp.h"
#include "support/Fakes.h"
#include "support/MainFrameHarness.h"
#include "support/TestRegistry.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

// Runs the dialog modally; the steps run once it is up. A watchdog closes a dialog that a
// failing step left open, so that a fault shows as a failure rather than a hang.
int runModal(QDialog& dlg, const std::function<void()>& steps, bool* timedOut) {
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

void typeIntoFocused(QDialog& dlg, const QString& text) {
  QWidget* focused = dlg.focusWidget();
  QVERIFY(focused);
  QTest::keyClicks(focused, text);
}

} // namespace

class PasswordDialogsTest : public QObject {
  Q_OBJECT
private slots:
  void texts();
  void fieldsEchoHashes();
  void promptEndings_data();
  void promptEndings();
  void promptStartsBlankEachTime();
  void changeOutcomes_data();
  void changeOutcomes();
  void changeStartsBlankEachTime();
};

void PasswordDialogsTest::texts() {
  TFormMdp mdp;
  QCOMPARE(mdp.windowTitle(), QStringLiteral("Veuillez rentrer le mot de passe"));
  QCOMPARE(mdp.Label1->text(), QStringLiteral("Mot de passe : "));
  QCOMPARE(mdp.BitBtnOK->text(), QStringLiteral("OK"));
  QCOMPARE(mdp.BitBtnAnnuler->text(), QStringLiteral("Annuler"));
  QCOMPARE(mdp.size(), QSize(223, 72));
  QVERIFY(mdp.BitBtnOK->isDefault());

  RecordingMessages messages;
  TFormChangeMdp change(&messages);
  QCOMPARE(change.windowTitle(), QStringLiteral("Changement du mot de passe"));
  QCOMPARE(change.LabelMdp1->text(), QStringLiteral("Nouveau mot de passe : "));
  QCOMPARE(change.LabelMdp2->text(), QStringLiteral("Confirmation :"));
  QCOMPARE(change.BitBtnOK->text(), QStringLiteral("OK"));
  QCOMPARE(change.BitBtnAnnuler->text(), QStringLiteral("Annuler"));
  QCOMPARE(change.size(), QSize(268, 105));
  QVERIFY(change.BitBtnOK->isDefault());
}

void PasswordDialogsTest::fieldsEchoHashes() {
  RecordingMessages messages;
  TFormMdp mdp;
  TFormChangeMdp change(&messages);
  for (QLineEdit* field : {mdp.MaskEditMdp, change.MaskEditMdp1, change.MaskEditMdp2}) {
    field->show(); // the style sheet's echo character is applied once the field is polished
    QTest::keyClicks(field, QStringLiteral("aB 9"));
    QCOMPARE(field->text(), QStringLiteral("aB 9"));
    QCOMPARE(field->displayText(), QStringLiteral("####"));
    field->hide();
  }
}

void PasswordDialogsTest::promptEndings_data() {
  QTest::addColumn<QString>("ending");
  QTest::addColumn<int>("result");
  QTest::addColumn<bool>("escapeKeptOpen");
  QTest::newRow("Enter in the field") << "enter" << 1 << false;
  QTest::newRow("OK button") << "ok" << 1 << false;
  QTest::newRow("Annuler button") << "annuler" << 2 << false;
  QTest::newRow("window closed") << "close" << 2 << false;
  QTest::newRow("Escape then Annuler") << "escape" << 2 << true;
}

void PasswordDialogsTest::promptEndings() {
  QFETCH(QString, ending);
  QFETCH(int, result);
  QFETCH(bool, escapeKeptOpen);
  TFormMdp mdp;
  bool keptOpen = false;
  bool timedOut = false;
  const int r = runModal(
      mdp,
      [&] {
        typeIntoFocused(mdp, QStringLiteral("Wmo 2"));
        if (ending == "enter")
          QTest::keyClick(mdp.focusWidget(), Qt::Key_Return);
        else if (ending == "ok")
          QTest::mouseClick(mdp.BitBtnOK, Qt::LeftButton);
        else if (ending == "annuler")
          QTest::mouseClick(mdp.BitBtnAnnuler, Qt::LeftButton);
        else if (ending == "close")
          mdp.close();
        else if (ending == "escape") {
          QTest::keyClick(mdp.focusWidget(), Qt::Key_Escape);
          keptOpen = mdp.isVisible();
          QTest::mouseClick(mdp.BitBtnAnnuler, Qt::LeftButton);
        }
      },
      &timedOut);
  QVERIFY(!timedOut);
  QCOMPARE(r, result);
  QCOMPARE(keptOpen, escapeKeptOpen);
  QCOMPARE(mdp.GetPassword(), QStringLiteral("Wmo 2"));
}

void PasswordDialogsTest::promptStartsBlankEachTime() {
  TFormMdp mdp;
  bool timedOut = false;
  runModal(
      mdp,
      [&] {
        typeIntoFocused(mdp, QStringLiteral("premier"));
        QTest::mouseClick(mdp.BitBtnAnnuler, Qt::LeftButton);
      },
      &timedOut);
  QString atShow = QStringLiteral("unset");
  const int r = runModal(
      mdp,
      [&] {
        atShow = mdp.MaskEditMdp->text();
        QTest::keyClick(mdp.focusWidget(), Qt::Key_Enter); // keypad Enter, empty entry
      },
      &timedOut);
  QVERIFY(!timedOut);
  QCOMPARE(atShow, QString());
  QCOMPARE(r, 1);
  QCOMPARE(mdp.GetPassword(), QString());
}

// Each step: "1:text" / "2:text" types into that field (replacing it), "enter1"/"enter2"
// presses Enter in that field, "ok"/"annuler" click the buttons, "close" closes the window,
// "open?" records whether the dialog is still open.
void PasswordDialogsTest::changeOutcomes_data() {
  QTest::addColumn<QStringList>("steps");
  QTest::addColumn<int>("result");
  QTest::addColumn<QString>("newPassword");
  QTest::addColumn<QStringList>("messages");
  QTest::addColumn<QList<bool>>("openChecks");
  const QStringList none;
  const QStringList mismatch{QStringLiteral("Confirmation incorrecte")};
  QTest::newRow("match, OK") << QStringList{"1:Nouveau", "2:Nouveau", "ok"} << 1 << "Nouveau"
                             << none << QList<bool>{};
  QTest::newRow("match, Enter in confirmation")
      << QStringList{"1:abc", "2:abc", "enter2"} << 1 << "abc" << none << QList<bool>{};
  QTest::newRow("match, Enter in new password")
      << QStringList{"1:abc", "2:abc", "enter1"} << 1 << "abc" << none << QList<bool>{};
  QTest::newRow("empty and empty") << QStringList{"ok"} << 1 << "" << none << QList<bool>{};
  QTest::newRow("mismatch, Enter keeps it open")
      << QStringList{"1:abc", "2:abd", "enter2", "open?", "annuler"} << 2 << "abc" << mismatch
      << QList<bool>{true};
  QTest::newRow("case counts") << QStringList{"1:Abc", "2:abc", "ok", "open?", "close"} << 2
                               << "Abc" << mismatch << QList<bool>{true};
  QTest::newRow("confirmation empty") << QStringList{"1:abc", "enter1", "open?", "annuler"} << 2
                                      << "abc" << mismatch << QList<bool>{true};
  QTest::newRow("mismatch then corrected")
      << QStringList{"1:abc", "2:ab", "ok", "open?", "2:abc", "enter2"} << 1 << "abc" << mismatch
      << QList<bool>{true};
  // The configuration file could not give back a character outside cp1252.
  QTest::newRow("characters outside cp1252 refused")
      << QStringList{"1:mć€dp", "2:mć€dpŁ", "ok"} << 1 << "m€dp" << none << QList<bool>{};
  QTest::newRow("two mismatches") << QStringList{"1:a", "2:b", "ok", "enter1", "annuler"} << 2
                                  << "a" << QStringList{mismatch + mismatch} << QList<bool>{};
}

void PasswordDialogsTest::changeOutcomes() {
  QFETCH(QStringList, steps);
  QFETCH(int, result);
  QFETCH(QString, newPassword);
  QFETCH(QStringList, messages);
  QFETCH(QList<bool>, openChecks);
  RecordingMessages shown;
  TFormChangeMdp dlg(&shown);
  QList<bool> open;
  QStringList typedAtMismatch;
  bool timedOut = false;
  const int r = runModal(
      dlg,
      [&] {
        for (const QString& step : steps) {
          if (step.startsWith("1:") || step.startsWith("2:")) {
            QLineEdit* field = step[0] == '1' ? dlg.MaskEditMdp1 : dlg.MaskEditMdp2;
            field->setFocus();
            field->selectAll();
            MainFrameHarness::typeText(dlg.focusWidget(), step.mid(2));
          } else if (step == "enter1" || step == "enter2") {
            QLineEdit* field = step == "enter1" ? dlg.MaskEditMdp1 : dlg.MaskEditMdp2;
            field->setFocus();
            QTest::keyClick(dlg.focusWidget(), Qt::Key_Return);
          } else if (step == "ok") {
            QTest::mouseClick(dlg.BitBtnOK, Qt::LeftButton);
          } else if (step == "annuler") {
            QTest::mouseClick(dlg.BitBtnAnnuler, Qt::LeftButton);
          } else if (step == "close") {
            dlg.close();
          } else if (step == "open?") {
            open << dlg.isVisible();
            typedAtMismatch = {dlg.MaskEditMdp1->text(), dlg.MaskEditMdp2->text()};
          }
        }
      },
      &timedOut);
  QVERIFY(!timedOut);
  QCOMPARE(r, result);
  QCOMPARE(shown.shown, messages);
  QCOMPARE(open, openChecks);
  QCOMPARE(dlg.GetNewPassword(), newPassword);
  // A refused confirmation leaves both fields exactly as typed.
  if (!openChecks.isEmpty()) {
    QCOMPARE(typedAtMismatch.size(), 2);
    QCOMPARE(typedAtMismatch[0], dlg.MaskEditMdp1->text());
  }
}

void PasswordDialogsTest::changeStartsBlankEachTime() {
  RecordingMessages shown;
  TFormChangeMdp dlg(&shown);
  dlg.MaskEditMdp1->setText(QStringLiteral("reste"));
  dlg.MaskEditMdp2->setText(QStringLiteral("ici"));
  QStringList atShow;
  QWidget* focusAtShow = nullptr;
  bool timedOut = false;
  const int r = runModal(
      dlg,
      [&] {
        atShow = {dlg.MaskEditMdp1->text(), dlg.MaskEditMdp2->text()};
        focusAtShow = dlg.focusWidget();
        QTest::keyClick(dlg.focusWidget(), Qt::Key_Return);
      },
      &timedOut);
  QVERIFY(!timedOut);
  QCOMPARE(atShow, (QStringList{QString(), QString()}));
  QCOMPARE(focusAtShow, dlg.MaskEditMdp1);
  QCOMPARE(r, 1);
  QVERIFY(shown.shown.isEmpty());
}

ORIVOX_TEST(PasswordDialogsTest)
#include "PasswordDialogsTest.moc"

// Qt's own windows as a carer meets them once the program has loaded Qt's French texts: the
// close question, the open and save dialogs and the colour chooser.
#include "shell/Translations.h"
#include "platform/QtServices.h"
#include "support/MainFrameHarness.h"
#include "support/TestRegistry.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QTest>
#include <QTranslator>
#include <functional>

class TranslationsTest : public QObject {
  Q_OBJECT
private slots:
  void initTestCase() {
    FTranslator = installQtTranslations(*qApp);
    QVERIFY(FTranslator);
  }
  void cleanupTestCase() {
    QCoreApplication::removeTranslator(FTranslator);
    delete FTranslator;
  }

  // A copy of the program run alone finds the catalogue in itself.
  void catalogueCompiledIn() {
    QTranslator own;
    QVERIFY(own.load(QStringLiteral("qtbase_fr"), QStringLiteral(":/translations")));
  }

  void qtWindowsSpeakFrench_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QStringList>("french");
    QTest::addColumn<QStringList>("english");
    QTest::newRow("close question")
        << "question" << QStringList{"&Oui", "&Non"} << QStringList{"&Yes", "&No"};
    QTest::newRow("open dialog") << "open"
                                 << QStringList{"Ouvrir", "&Ouvrir", "Annuler",
                                                "Voir dans :", "&Nom de fichier :"}
                                 << QStringList{"Open", "&Open", "Cancel",
                                                "Look in:", "File name:"};
    QTest::newRow("save dialog") << "save" << QStringList{"Enregistrer sous", "Annuler"}
                                 << QStringList{"Save As", "&Save", "Cancel"};
    QTest::newRow("colour chooser")
        << "colour" << QStringList{"Annuler", "Couleurs de &base"}
        << QStringList{"&Basic colors", "&Add to Custom Colors", "Cancel"};
  }
  void qtWindowsSpeakFrench() {
    QFETCH(QString, window);
    QFETCH(QStringList, french);
    QFETCH(QStringList, english);
    QStringList shown;
    bool seen = false;
    MainFrameHarness::whenModal([&](QWidget* modal) {
      seen = true;
      shown << modal->windowTitle();
      for (QAbstractButton* b : modal->findChildren<QAbstractButton*>())
        if (b->isVisible())
          shown << b->text();
      for (QLabel* l : modal->findChildren<QLabel*>())
        if (l->isVisible())
          shown << l->text();
      if (auto* dialog = qobject_cast<QDialog*>(modal))
        dialog->reject();
    });
    if (window == "question")
      QtMessages().question(QStringLiteral("Voulez vous enregistrer les modifications?"));
    else if (window == "open")
      QtFileDialogs().openFileName(QStringLiteral("Fichiers ordinogrammes (*.ord) |*.ord"));
    else if (window == "save")
      QtFileDialogs().saveFileName(QStringLiteral("Fichiers ordinogrammes (*.ord) |*.ord"));
    else
      QtColorChooser().chooseColor(0);
    QVERIFY(seen);
    const QString all = shown.join(QStringLiteral(" | "));
    for (const QString& text : french)
      QVERIFY2(shown.contains(text), qPrintable(text + QStringLiteral(" not in ") + all));
    for (const QString& text : english)
      QVERIFY2(!shown.contains(text), qPrintable(text + QStringLiteral(" in ") + all));
  }

private:
  QTranslator* FTranslator = nullptr;
};

ORIVOX_TEST(TranslationsTest)
#include "TranslationsTest.moc"

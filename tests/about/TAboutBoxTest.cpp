// The about box: what it lists, that the user sees every line of it, and that OK closes it.
#include "about/TAboutBox.h"
#include "support/TestRegistry.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

class TAboutBoxTest : public QObject {
  Q_OBJECT
private slots:
  void lists_data();
  void lists();
  void everyEntryIsShown();
  void okCloses();
};

void TAboutBoxTest::lists_data() {
  QTest::addColumn<int>("index");
  QTest::addColumn<QString>("key");
  QTest::addColumn<QString>("explanation");
  const QList<QPair<QString, QString>> expected{
      {"CTRL+C", "passer en mode création (mot de passe demandé)"},
      {"CTRL+E", "revenir en mode exécution"},
      {"CTRL+O", "ouvrir un fichier"},
      {"CTRL+R", "enregistrer le fichier"},
      {"CTRL+P", "changer le mot de passe"},
      {"CTRL+Z", "annuler la dernière modification"},
      {"CTRL+Y", "rétablir la modification annulée"},
      {"Pavé numérique", "n'importe quelle touche choisit l'onglet en surbrillance, puis le "
                         "texte en surbrillance"},
      {"RETOUR", "revenir au défilement des onglets"},
      {"CLEAR", "effacer toute la zone d'affichage"},
      {"AJOUT", "valider la phrase et l'ajouter à l'onglet « Divers »"},
      {"VALIDATION", "valider la phrase en cours"},
      {"SUPPRESSION", "effacer la phrase en cours"},
      {"SONNERIE", "faire sonner pour appeler quelqu'un"},
      {"ANNULATION", "retirer le dernier texte ajouté"},
  };
  for (int i = 0; i < expected.size(); ++i)
    QTest::newRow(qPrintable(expected[i].first)) << i << expected[i].first << expected[i].second;
}

void TAboutBoxTest::lists() {
  QFETCH(int, index);
  QFETCH(QString, key);
  QFETCH(QString, explanation);
  const auto entries = TAboutBox::entries();
  QCOMPARE(entries.size(), 15);
  QCOMPARE(entries[index].first, key);
  QCOMPARE(entries[index].second, explanation);
}

void TAboutBoxTest::everyEntryIsShown() {
  TAboutBox box;
  QCOMPARE(box.windowTitle(), QStringLiteral("A propos"));
  QCOMPARE(box.OKButton->text(), QStringLiteral("OK"));
  box.show();
  QStringList shown;
  for (QLabel* l : box.findChildren<QLabel*>())
    if (l->isVisible())
      shown << l->text();
  for (const auto& [key, explanation] : TAboutBox::entries()) {
    QVERIFY2(shown.contains(key), qPrintable(key));
    QVERIFY2(shown.contains(explanation), qPrintable(explanation));
  }
  // Nothing is cut off: the window is wide enough for its longest line.
  for (QLabel* l : box.findChildren<QLabel*>())
    QVERIFY2(l->width() >= l->sizeHint().width(), qPrintable(l->text()));
}

void TAboutBoxTest::okCloses() {
  TAboutBox box;
  bool timedOut = false;
  QTimer::singleShot(0, &box, [&] { QTest::mouseClick(box.OKButton, Qt::LeftButton); });
  QTimer::singleShot(10000, &box, [&] {
    timedOut = true;
    box.done(-1);
  });
  const int r = box.exec();
  QVERIFY(!timedOut);
  QCOMPARE(r, int(QDialog::Accepted));
  QVERIFY(!box.isVisible());
}

ORIVOX_TEST(TAboutBoxTest)
#include "TAboutBoxTest.moc"

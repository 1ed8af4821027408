// The creation panel's picture buttons: a picture chosen for the chosen text, taken away from
// it, or found in the built-in set for every text of the active tab. Each is one edit step.
#include "editing/CreationPanel.h"

#include "board/BoardView.h"
#include "board/TOnglet.h"
#include "editing/BoardEdits.h"
#include "editing/BoardHistory.h"
#include "platform/Services.h"

#include <QPushButton>

void CreationPanel::showPictureButtons() {
  const bool editing = !FView.execMode();
  TOnglet* page = FView.activePage();
  const int chosen = chosenTextIndex();
  const bool chooser = editing && FServices.pictures;
  BtnImageTexte->setEnabled(chooser && chosen >= 0);
  // Taking a picture away needs no chooser: a board from elsewhere may come with pictures.
  BtnRetirerImage->setEnabled(editing && chosen >= 0 && page->model().hasPicture(chosen));
  // The letters of the reserved letter tabs are no texts the carer edits.
  BtnImagesOnglet->setEnabled(chooser && page && !FView.isLetterPage(page));
  // The same moments decide whether the tab shown is one of letters.
  BtnRangerFrequence->setEnabled(mayOrderByFrequency());
}

void CreationPanel::BtnImageTexteClick() {
  const int chosen = chosenTextIndex();
  if (FView.execMode() || !FServices.pictures || chosen < 0)
    return;
  const int tab = FView.currentIndex();
  TOnglet* page = FView.activePage();
  const QString caption = page->model().text(chosen);
  const std::optional<BoardPicture> picture = FServices.pictures->choosePicture(caption);
  if (!picture || picture->isNull())
    return; // cancelled
  // The chooser is a dialog of its own: the picture goes to the text it was chosen for, if
  // that text is still the one chosen.
  if (FView.currentIndex() != tab || chosenTextIndex() != chosen ||
      page->model().text(chosen) != caption)
    return;
  const BoardPicture before = page->model().picture(chosen);
  if (*picture == before)
    return;
  const QList<boardedit::PictureChange> change{{chosen, before, *picture}};
  if (boardedit::refusedPastPictureBounds(*this, tab, change))
    return;
  FHistory->push(new SetPicturesCommand(*this, tab, change, true));
}

void CreationPanel::BtnRetirerImageClick() {
  const int chosen = chosenTextIndex();
  if (FView.execMode() || chosen < 0)
    return;
  const BoardPicture before = FView.activePage()->model().picture(chosen);
  if (before.isNull())
    return;
  FHistory->push(new SetPicturesCommand(*this, FView.currentIndex(),
                                        {{chosen, before, BoardPicture()}}, true));
}

QString CreationPanel::picturesGivenMessage(int given, int without) {
  QString text = given == 0   ? QStringLiteral("Aucun texte n'a reçu d'image")
                 : given == 1 ? QStringLiteral("1 texte a reçu une image")
                              : QStringLiteral("%1 textes ont reçu une image").arg(given);
  if (without == 1)
    text += QStringLiteral(" ; 1 n'a trouvé aucune image");
  else if (without > 1)
    text += QStringLiteral(" ; %1 n'ont trouvé aucune image").arg(without);
  return text + QLatin1Char('.');
}

void CreationPanel::BtnImagesOngletClick() {
  TOnglet* page = FView.activePage();
  if (FView.execMode() || !FServices.pictures || !page || FView.isLetterPage(page))
    return;
  const PageModel& model = page->model();
  QList<boardedit::PictureChange> changes;
  int without = 0;
  for (int t = 0; t < model.textCount(); ++t) {
    if (model.hasPicture(t))
      continue; // a picture the carer chose stays
    const std::optional<BoardPicture> best = FServices.pictures->bestPicture(model.text(t));
    if (best && !best->isNull())
      changes.append({t, BoardPicture(), *best});
    else
      ++without;
  }
  if (changes.isEmpty() && without == 0) {
    FServices.messages->information(model.textCount() == 0
                                        ? QStringLiteral("L'onglet n'a aucun texte.")
                                        : QStringLiteral("Tous les textes de l'onglet ont déjà "
                                                         "une image."));
    return;
  }
  const int tab = FView.currentIndex();
  if (!changes.isEmpty()) {
    if (boardedit::refusedPastPictureBounds(*this, tab, changes))
      return; // refused whole, as a list pasted past a bound is
    FHistory->push(new SetPicturesCommand(*this, tab, changes, false));
  }
  FServices.messages->information(picturesGivenMessage(int(changes.size()), without));
}

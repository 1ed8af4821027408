// The texts and reserved commands carried out on the phrase, the board and the tones.
#include "execution/CommandActions.h"

#include "board/BoardView.h"
#include "board/TOnglet.h"
#include "execution/DisplayArea.h"
#include "execution/SpeechFeedback.h"

CommandActions::CommandActions(const Services& services, BoardView& view, DisplayArea& display,
                               SpeechFeedback& speech, QObject* parent)
    : QObject(parent), FServices(services), FView(view), FDisplay(display), FSpeech(speech) {}

void CommandActions::run(ButtonKind kind, TOnglet& page) {
  PhraseComposer& phrase = FDisplay.phrase();
  switch (kind) {
  case ButtonKind::Text: {
    const QString caption = page.caption();
    const bool letterTab =
        caption == QStringLiteral("Alphabet") || caption == QStringLiteral("Autres caractères");
    phrase.AppendText(page.GetCurrentText(), letterTab, FView.currentPhraseFont());
    FSpeech.textChosen(page.GetCurrentText());
    break;
  }
  case ButtonKind::Retour:
    emit returnToTabs();
    break;
  case ButtonKind::Clear:
    phrase.Clear();
    break;
  case ButtonKind::Ajout:
    Ajout();
    break;
  case ButtonKind::Validation:
    emit phraseClosed(phrase.phraseText());
    FSpeech.phraseClosed(phrase.phraseText());
    phrase.Validation(FView.validatedFont());
    break;
  case ButtonKind::Suppression:
    phrase.Suppression();
    break;
  case ButtonKind::Annulation:
    phrase.Annulation();
    break;
  case ButtonKind::Sonnerie:
    Sonnerie();
    break;
  case ButtonKind::Suggestion:
  case ButtonKind::None:
    break;
  }
}

void CommandActions::Ajout() {
  PhraseComposer& composer = FDisplay.phrase();
  // The composer decides whether there is a phrase: after CLEAR or SUPPRESSION its first line
  // is the empty one left behind, and the phrase follows it.
  if (const QString phrase = composer.phraseText(); !phrase.isEmpty()) {
    FSpeech.phraseClosed(phrase);
    emit phraseClosed(phrase);
  }
  // A phrase the board file could not hold again is not added: it is closed as a phrase already
  // on the board is, and the message names the bound.
  const auto fits = [this](const QString& text) {
    const auto passed = FView.boundPassedBy(FView.diversTab() ? 0 : 1, {text}, {text});
    if (passed)
      FServices.messages->information(*passed);
    return !passed;
  };
  const std::optional<QString> added =
      composer.Ajout(FView.validatedFont(), [&](const QString& text) {
        return FView.hasButtonCaption(text) || !fits(text);
      });
  if (added) {
    FView.addPhrase(*added);
    // The user's own phrase: no undo of the carer's takes it back, yet it is to be saved.
    emit userTextAdded();
  }
  if (TOnglet* page = FView.activePage())
    page->refitTexts(FView.unselectedFont());
  emit boardChanged();
}

void CommandActions::Sonnerie() {
  // Six tones, one after the other; the user's input waits while they play.
  static const int frequencies[6] = {500, 250, 500, 250, 500, 250};
  for (int hz : frequencies)
    FServices.tones->playTone(hz, 500);
}

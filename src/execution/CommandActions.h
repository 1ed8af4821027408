// What choosing a button of the board does, text or reserved command: the phrase written,
// cleared, validated, added to "Divers" or taken back, the bell rung. What it means for the scan
// (back to the tabs, a new text to step over) or for the board file is told by signals.
#pragma once

#include "board/PageModel.h"
#include "platform/Services.h"

#include <QObject>

class BoardView;
class DisplayArea;
class SpeechFeedback;
class TOnglet;

class CommandActions : public QObject {
  Q_OBJECT
public:
  CommandActions(const Services& services, BoardView& view, DisplayArea& display,
                 SpeechFeedback& speech, QObject* parent = nullptr);

  // The current item of `page` chosen with the switch (suggestions are not commands).
  void run(ButtonKind kind, TOnglet& page);
  void Ajout();
  void Sonnerie();

signals:
  // RETOUR: the scan goes back to the tabs.
  void returnToTabs();
  // The person closed a phrase of their own (VALIDATION, AJOUT): a predictor may learn it.
  void phraseClosed(const QString& phrase);
  // The user's own phrase became a text of the board (AJOUT): the board is to be saved.
  void userTextAdded();
  // AJOUT may have added a text, or a tab for it: the scan takes the board's shape again.
  void boardChanged();

private:
  Services FServices;
  BoardView& FView;
  DisplayArea& FDisplay;
  SpeechFeedback& FSpeech;
};

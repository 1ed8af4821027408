// The board settings dialog opened from the creation panel.
#include "shell/TMainFrame.h"

#include "editing/BoardEdits.h"
#include "editing/BoardHistory.h"
#include "editing/TFormReglages.h"
#include "execution/SpeechFeedback.h"

void TMainFrame::BtnReglagesClick() {
  if (!FormReglages) {
    FormReglages = new TFormReglages(FServices.speech, this);
    FormReglages->onTryVoice = [this](const BoardSettings& s) { FSpeech->tryVoice(s); };
  }
  // The dialog says at once whether speech is there; looking for it never waits.
  if (FServices.speech)
    FServices.speech->probe();
  FormReglages->setSettings(FSettings);
  const bool accepted = FormReglages->exec() == QDialog::Accepted;
  activateWindow();
  if (!accepted)
    return;
  // One step the carer can undo; the panel's paces follow the finer ones (see settingsChosen).
  if (QUndoCommand* change = ScanSetupCommand::settingsChosen(*this, FormReglages->settings()))
    FHistory->push(change);
}

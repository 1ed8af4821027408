// The board settings dialog opened from the creation panel.
#include "shell/TMainFrame.h"

#include "editing/BoardHistory.h"
#include "editing/TFormReglages.h"
#include "execution/SpeechFeedback.h"

#include <QSignalBlocker>
#include <QSpinBox>

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
  const BoardSettings chosen = FormReglages->settings();
  if (chosen == FSettings)
    return;
  FSettings = chosen;
  FHistory->markChangedOutsideHistory();
  // The panel's whole-second paces, which older versions read from the file, show the finer
  // paces rounded; they are written from there.
  const QSignalBlocker b1(EdtT1), b2(EdtT2);
  if (FSettings.tabPaceMs)
    EdtT1->setValue(boardsettings::wholeSeconds(FSettings.tabPaceMs));
  if (FSettings.textPaceMs)
    EdtT2->setValue(boardsettings::wholeSeconds(FSettings.textPaceMs));
  applyBoardSettings();
}

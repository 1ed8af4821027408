// The dialog "Réglages du tableau": the board's scanning, speech, word prediction and picture
// settings, with a button that tries the voice and one that forgets the words learned. It edits
// a copy; the window takes it back on OK.
#pragma once

#include "documents/BoardSettings.h"

#include <QDialog>
#include <functional>

class QScrollArea;
class AccessSettingsGroup;
class IMessages;
class IScreenReaderStatus;
class ISpeech;
class QFormLayout;
class WordPredictor;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTimer;

class TFormReglages : public QDialog {
  Q_OBJECT
public:
  // The speech service tells whether speech is available and which French voices it has;
  // none: speech is unavailable. The predictor tells whether its model works and forgets what it
  // learned, once the carer confirms through the messages; none: prediction is unavailable.
  explicit TFormReglages(ISpeech* speech, QWidget* parent = nullptr,
                         WordPredictor* predictor = nullptr, IMessages* messages = nullptr);

  void setSettings(const BoardSettings& settings);
  BoardSettings settings() const;
  // Called by "Tester la voix" with the settings as the dialog shows them.
  std::function<void(const BoardSettings&)> onTryVoice;
  // Shows what the speech service answered so far.
  void showSpeechState();
  void showPredictionState();
  // "Oublier les mots appris": asks, then forgets.
  void forgetLearnedWords();
  // Whether a screen reader runs (none: it does not), told beside the prompts' option.
  void setScreenReaderStatus(const IScreenReaderStatus* status);
  void showScreenReaderState();

  QDoubleSpinBox* EdtPaceTabs;
  QDoubleSpinBox* EdtPaceTexts;
  QDoubleSpinBox* EdtFirstItem;
  QDoubleSpinBox* EdtAcceptance;
  QDoubleSpinBox* EdtPause;
  QSpinBox* EdtLoops;
  QSpinBox* EdtColumns;
  QCheckBox* ChkFitFont;
  QCheckBox* ChkRowColumn;
  QComboBox* CbxHighlight;
  QCheckBox* ChkSpeakPhrase;
  QCheckBox* ChkSpeakTexts;
  QCheckBox* ChkSpeakPrompts;
  QCheckBox* ChkPromptsWithScreenReader;
  QLabel* LblScreenReader;
  QComboBox* CbxVoice;
  QSpinBox* EdtRate;
  QSpinBox* EdtVolume;
  QPushButton* BtnTryVoice;
  QLabel* LblSpeechState;
  QCheckBox* ChkPrediction;
  QSpinBox* EdtPredictionWords;
  QPushButton* BtnForgetWords;
  QLabel* LblPredictionState;
  QComboBox* CbxPictureLabel; // where the label of a button with a picture goes
  AccessSettingsGroup* GrpAccess;
  QPushButton* BtnOK;
  QPushButton* BtnCancel;

protected:
  void showEvent(QShowEvent* e) override;
  void hideEvent(QHideEvent* e) override;

private:
  void fillVoices(const QString& current);
  void addScreenReaderRows(QWidget* box, QFormLayout* form);
  // Every control named for assistive technologies, with what it is for.
  void nameControls();
  void fitToScreen(QScrollArea* scroll, QWidget* content);
  const IScreenReaderStatus* FScreenReader = nullptr;
  ISpeech* FSpeech;
  WordPredictor* FPredictor;
  IMessages* FMessages;
  QTimer* FStatePoll;
  QCheckBox* FReplacePassedOver;
  QList<QByteArray> FStoredBlock; // carried through untouched
  bool FVoicesListed = false;
};

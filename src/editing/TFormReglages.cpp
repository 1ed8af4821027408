// Times are shown in seconds to the tenth and kept in milliseconds; a zero shows a word that
// says what zero means for that setting.
#include "editing/TFormReglages.h"

#include "editing/AccessSettingsGroup.h"
#include "platform/Accessibility.h"
#include "platform/Services.h"
#include "platform/Speech.h"
#include "prediction/WordPredictor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace {
template <typename W> W* named(W* w, const char* name) {
  w->setObjectName(QLatin1String(name));
  return w;
}

QDoubleSpinBox* seconds(QWidget* parent, const char* name, double max, const QString& zero) {
  auto* s = named(new QDoubleSpinBox(parent), name);
  s->setRange(0, max);
  s->setDecimals(1);
  s->setSingleStep(0.1);
  s->setSuffix(QStringLiteral(" s"));
  s->setSpecialValueText(zero);
  s->setLocale(QLocale(QLocale::French, QLocale::France)); // "1,5 s"
  return s;
}

// A finer pace: 0.3 s to 100 s, or "same as the panel's pace". The box's lowest value stands
// for the latter, right below the shortest pace, so that nothing shorter than a pace that
// can be stored is ever shown.
constexpr double kPaceOff = 0.2;

QDoubleSpinBox* pace(QWidget* parent, const char* name, const QString& sameAsPanel) {
  auto* s = seconds(parent, name, 100, sameAsPanel);
  s->setMinimum(kPaceOff);
  // A step down from 0.3 s lands a hair off the lowest value, which would then show as a pace.
  QObject::connect(s, &QDoubleSpinBox::valueChanged, s, [s](double v) {
    if (v != s->minimum() && std::lround(v * 10) <= std::lround(kPaceOff * 10))
      s->setValue(s->minimum());
  });
  return s;
}

int paceToMs(const QDoubleSpinBox* s) {
  const long tenths = std::lround(s->value() * 10);
  return tenths <= std::lround(kPaceOff * 10) ? 0 : int(tenths) * 100;
}

QSpinBox* count(QWidget* parent, const char* name, int min, int max, const QString& zero = {}) {
  auto* s = named(new QSpinBox(parent), name);
  s->setRange(min, max);
  s->setSpecialValueText(zero);
  return s;
}

int toMs(const QDoubleSpinBox* s) {
  return int(std::lround(s->value() * 10)) * 100;
}

QString defaultVoiceCaption() {
  return QStringLiteral("Voix française par défaut");
}
} // namespace

TFormReglages::TFormReglages(ISpeech* speech, QWidget* parent, WordPredictor* predictor,
                             IMessages* messages)
    : QDialog(parent), FSpeech(speech), FPredictor(predictor), FMessages(messages) {
  setObjectName(QStringLiteral("FormReglages"));
  setWindowTitle(QStringLiteral("Réglages du tableau"));
  setModal(true);
  // Five groups are taller than many screens: they scroll, and OK and Annuler stay in sight.
  auto* outer = new QVBoxLayout(this);
  auto* scroll = named(new QScrollArea(this), "ScrReglages");
  scroll->setAccessibleName(QStringLiteral("Réglages du tableau"));
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  auto* content = new QWidget(scroll);
  auto* column = new QVBoxLayout(content);
  column->setContentsMargins(0, 0, 0, 0);

  // How the person's switches reach the items comes first: the scanning below depends on it.
  GrpAccess = new AccessSettingsGroup(this);
  column->addWidget(GrpAccess);

  auto* scan = new QGroupBox(QStringLiteral("Défilement"), this);
  auto* scanForm = new QFormLayout(scan);
  const QString sameAsPanel = QStringLiteral("comme le temps chenillard");
  EdtPaceTabs = pace(scan, "EdtPaceTabs", sameAsPanel);
  EdtPaceTexts = pace(scan, "EdtPaceTexts", sameAsPanel);
  EdtFirstItem = seconds(scan, "EdtFirstItem", 10, QStringLiteral("aucun"));
  EdtAcceptance = seconds(scan, "EdtAcceptance", 2, QStringLiteral("aucun"));
  EdtPause = seconds(scan, "EdtPause", 2, QStringLiteral("aucune"));
  EdtLoops = count(scan, "EdtLoops", 0, 20, QStringLiteral("jamais"));
  EdtColumns = count(scan, "EdtColumns", 0, 20, QStringLiteral("pas de grille"));
  ChkFitFont =
      named(new QCheckBox(QStringLiteral("Agrandir les textes à la taille des cases"), scan),
            "ChkFitFont");
  ChkRowColumn = named(new QCheckBox(QStringLiteral("Défilement par lignes puis par textes"), scan),
                       "ChkRowColumn");
  CbxHighlight = named(new QComboBox(scan), "CbxHighlight");
  CbxHighlight->addItem(QStringLiteral("Couleur du texte"));
  CbxHighlight->addItem(QStringLiteral("Cadre épais, couleurs inversées"));
  scanForm->addRow(QStringLiteral("Temps chenillard des onglets :"), EdtPaceTabs);
  scanForm->addRow(QStringLiteral("Temps chenillard des textes :"), EdtPaceTexts);
  scanForm->addRow(QStringLiteral("Temps en plus sur le premier élément :"), EdtFirstItem);
  scanForm->addRow(QStringLiteral("Temps d'appui pour valider :"), EdtAcceptance);
  scanForm->addRow(QStringLiteral("Pause après une sélection :"), EdtPause);
  scanForm->addRow(QStringLiteral("Tours sans choix avant le retour aux onglets :"), EdtLoops);
  scanForm->addRow(QStringLiteral("Colonnes de la grille :"), EdtColumns);
  scanForm->addRow(ChkFitFont);
  scanForm->addRow(ChkRowColumn);
  scanForm->addRow(QStringLiteral("Surbrillance :"), CbxHighlight);
  column->addWidget(scan);

  auto* voice = new QGroupBox(QStringLiteral("Voix"), this);
  auto* voiceForm = new QFormLayout(voice);
  ChkSpeakPhrase =
      named(new QCheckBox(QStringLiteral("Dire la phrase validée"), voice), "ChkSpeakPhrase");
  ChkSpeakTexts =
      named(new QCheckBox(QStringLiteral("Dire chaque texte choisi"), voice), "ChkSpeakTexts");
  ChkSpeakPrompts = named(
      new QCheckBox(QStringLiteral("Dire le nom de chaque onglet et texte en surbrillance"), voice),
      "ChkSpeakPrompts");
  CbxVoice = named(new QComboBox(voice), "CbxVoice");
  EdtRate = count(voice, "EdtRate", -100, 100);
  EdtVolume = count(voice, "EdtVolume", -100, 100);
  BtnTryVoice = named(new QPushButton(QStringLiteral("Tester la voix"), voice), "BtnTryVoice");
  LblSpeechState = named(new QLabel(voice), "LblSpeechState");
  LblSpeechState->setWordWrap(true);
  voiceForm->addRow(ChkSpeakPhrase);
  voiceForm->addRow(ChkSpeakTexts);
  voiceForm->addRow(ChkSpeakPrompts);
  addScreenReaderRows(voice, voiceForm);
  voiceForm->addRow(QStringLiteral("Voix :"), CbxVoice);
  voiceForm->addRow(QStringLiteral("Débit :"), EdtRate);
  voiceForm->addRow(QStringLiteral("Volume :"), EdtVolume);
  voiceForm->addRow(BtnTryVoice);
  voiceForm->addRow(LblSpeechState);
  column->addWidget(voice);

  auto* words = new QGroupBox(QStringLiteral("Prédiction de mots"), this);
  auto* wordsForm = new QFormLayout(words);
  ChkPrediction =
      named(new QCheckBox(QStringLiteral("Proposer des mots sur les onglets de lettres"), words),
            "ChkPrediction");
  EdtPredictionWords = count(words, "EdtPredictionWords", 1, boardsettings::kMaxPredictionWords);
  FReplacePassedOver =
      named(new QCheckBox(QStringLiteral("Remplacer les mots laissés passer par d'autres"), words),
            "ChkReplacePassedOver");
  BtnForgetWords =
      named(new QPushButton(QStringLiteral("Oublier les mots appris"), words), "BtnForgetWords");
  LblPredictionState = named(new QLabel(words), "LblPredictionState");
  LblPredictionState->setWordWrap(true);
  wordsForm->addRow(ChkPrediction);
  wordsForm->addRow(QStringLiteral("Nombre de mots proposés :"), EdtPredictionWords);
  wordsForm->addRow(FReplacePassedOver);
  wordsForm->addRow(BtnForgetWords);
  wordsForm->addRow(LblPredictionState);
  column->addWidget(words);

  auto* pictures = new QGroupBox(QStringLiteral("Images"), this);
  auto* picturesForm = new QFormLayout(pictures);
  CbxPictureLabel = named(new QComboBox(pictures), "CbxPictureLabel");
  // In the order of PictureLabel.
  CbxPictureLabel->addItem(QStringLiteral("Au-dessus de l'image"));
  CbxPictureLabel->addItem(QStringLiteral("Sous l'image"));
  CbxPictureLabel->addItem(QStringLiteral("Caché (image seule)"));
  picturesForm->addRow(QStringLiteral("Texte des boutons à image :"), CbxPictureLabel);
  column->addWidget(pictures);
  scroll->setWidget(content);
  outer->addWidget(scroll);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  BtnOK = named(new QPushButton(QStringLiteral("OK"), this), "BtnOK");
  BtnOK->setDefault(true);
  BtnCancel = named(new QPushButton(QStringLiteral("Annuler"), this), "BtnCancel");
  buttons->addWidget(BtnOK);
  buttons->addWidget(BtnCancel);
  outer->addLayout(buttons);

  connect(BtnOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(BtnForgetWords, &QPushButton::clicked, this, [this] { forgetLearnedWords(); });
  if (FPredictor)
    connect(FPredictor, &WordPredictor::statusChanged, this, [this] { showPredictionState(); });
  connect(BtnTryVoice, &QPushButton::clicked, this, [this] {
    if (onTryVoice)
      onTryVoice(settings());
  });
  // The service answers from its own thread: the dialog looks again while it is open.
  FStatePoll = new QTimer(this);
  FStatePoll->setInterval(500);
  connect(FStatePoll, &QTimer::timeout, this, [this] { showSpeechState(); });
  setSettings(BoardSettings());
  showSpeechState();
  showPredictionState();
  showScreenReaderState();
  nameControls();
  fitToScreen(scroll, content);
}

void TFormReglages::fitToScreen(QScrollArea* scroll, QWidget* content) {
  // The whole content when the screen has room; else as tall as the screen allows, scrolled.
  const QSize wanted = content->sizeHint();
  scroll->setMinimumWidth(wanted.width() + scroll->verticalScrollBar()->sizeHint().width());
  const QScreen* where = screen();
  const int room = where ? where->availableGeometry().height() * 9 / 10 : wanted.height();
  const int chrome = sizeHint().height() - scroll->sizeHint().height();
  resize(sizeHint().width(), std::min(wanted.height() + chrome, room));
}

void TFormReglages::addScreenReaderRows(QWidget* box, QFormLayout* form) {
  ChkPromptsWithScreenReader = named(
      new QCheckBox(QStringLiteral("Dire les noms même quand un lecteur d'écran fonctionne"), box),
      "ChkPromptsWithScreenReader");
  LblScreenReader = named(new QLabel(box), "LblScreenReader");
  LblScreenReader->setWordWrap(true);
  form->addRow(ChkPromptsWithScreenReader);
  form->addRow(LblScreenReader);
}

void TFormReglages::setScreenReaderStatus(const IScreenReaderStatus* status) {
  FScreenReader = status;
  showScreenReaderState();
}

void TFormReglages::showScreenReaderState() {
  const bool running = FScreenReader && FScreenReader->screenReaderRunning();
  LblScreenReader->setText(
      running ? QStringLiteral("Un lecteur d'écran lit déjà le tableau : cochez pour que le "
                               "tableau parle aussi.")
              : QStringLiteral("Aucun lecteur d'écran ne fonctionne : le tableau dit les noms "
                               "s'il y est réglé."));
}

void TFormReglages::nameControls() {
  accessibility::nameFormFields(this);
  LblSpeechState->setAccessibleName(QStringLiteral("État de la synthèse vocale"));
  LblPredictionState->setAccessibleName(QStringLiteral("État de la prédiction de mots"));
  LblScreenReader->setAccessibleName(QStringLiteral("Lecteur d'écran"));
}

void TFormReglages::showPredictionState() {
  const auto status = FPredictor ? FPredictor->status() : WordPredictor::Status::ModelMissing;
  LblPredictionState->setText(WordPredictor::statusText(status));
  BtnForgetWords->setEnabled(FPredictor != nullptr);
}

void TFormReglages::forgetLearnedWords() {
  if (!FPredictor)
    return;
  // What was learned over months cannot be got back: the carer says so first.
  if (FMessages && !FMessages->question(QStringLiteral("Oublier tous les mots appris ?")))
    return;
  const PredictionResult forgotten = FPredictor->forgetLearned();
  if (!FMessages)
    return;
  if (forgotten.ok())
    FMessages->information(QStringLiteral("Les mots appris sont oubliés."));
  else
    FMessages->information(QStringLiteral("Les mots appris n'ont pas pu être oubliés : %1.")
                               .arg(forgotten.errorString()));
}

void TFormReglages::fillVoices(const QString& current) {
  CbxVoice->clear();
  CbxVoice->addItem(defaultVoiceCaption(), QString());
  QStringList names = FSpeech ? FSpeech->voices() : QStringList();
  FVoicesListed = !names.isEmpty();
  // The board's voice stays offered even where this computer lacks it, so that OK keeps it.
  if (!current.isEmpty() && !names.contains(current))
    names.prepend(current);
  for (const QString& n : names)
    CbxVoice->addItem(n, n);
  CbxVoice->setCurrentIndex(std::max(0, CbxVoice->findData(current)));
}

void TFormReglages::showSpeechState() {
  const SpeechState state = FSpeech ? FSpeech->state() : SpeechState::Unavailable;
  QString text;
  switch (state) {
  case SpeechState::NotTried:
  case SpeechState::Connecting:
    text = QStringLiteral("Recherche de la synthèse vocale...");
    break;
  case SpeechState::Available:
    text = QStringLiteral("Synthèse vocale disponible.");
    // Voices arrive with the answer: offered as soon as they are known.
    if (!FVoicesListed)
      fillVoices(CbxVoice->currentData().toString());
    break;
  case SpeechState::Unavailable:
    text = QStringLiteral("Synthèse vocale indisponible : aucun service de synthèse vocale "
                          "avec une voix française n'a répondu. Le tableau reste muet.");
    break;
  }
  LblSpeechState->setText(text);
  BtnTryVoice->setEnabled(state == SpeechState::Available);
}

void TFormReglages::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  showSpeechState();
  showPredictionState();
  showScreenReaderState();
  FStatePoll->start();
}

void TFormReglages::hideEvent(QHideEvent* e) {
  FStatePoll->stop();
  QDialog::hideEvent(e);
}

void TFormReglages::setSettings(const BoardSettings& given) {
  const BoardSettings s = boardsettings::clamped(given);
  EdtPaceTabs->setValue(s.tabPaceMs ? s.tabPaceMs / 1000.0 : kPaceOff);
  EdtPaceTexts->setValue(s.textPaceMs ? s.textPaceMs / 1000.0 : kPaceOff);
  EdtFirstItem->setValue(s.firstItemExtraMs / 1000.0);
  EdtAcceptance->setValue(s.acceptanceMs / 1000.0);
  EdtPause->setValue(s.pauseAfterSelectionMs / 1000.0);
  EdtLoops->setValue(s.loopsBeforeBack);
  EdtColumns->setValue(s.gridColumns);
  ChkFitFont->setChecked(s.gridFitFont);
  ChkRowColumn->setChecked(s.rowColumn);
  CbxHighlight->setCurrentIndex(s.highlight == HighlightStyle::Frame ? 1 : 0);
  ChkSpeakPhrase->setChecked(s.speakPhrase);
  ChkSpeakTexts->setChecked(s.speakTexts);
  ChkSpeakPrompts->setChecked(s.speakPrompts);
  fillVoices(s.voice);
  EdtRate->setValue(s.rate);
  EdtVolume->setValue(s.volume);
  ChkPrediction->setChecked(s.prediction);
  EdtPredictionWords->setValue(s.predictionWords);
  FReplacePassedOver->setChecked(s.replacePassedOver);
  CbxPictureLabel->setCurrentIndex(int(s.pictureLabel));
  ChkPromptsWithScreenReader->setChecked(s.promptsWithScreenReader);
  GrpAccess->setSettings(s);
  FStoredBlock = s.storedBlock;
}

BoardSettings TFormReglages::settings() const {
  BoardSettings s;
  s.tabPaceMs = paceToMs(EdtPaceTabs);
  s.textPaceMs = paceToMs(EdtPaceTexts);
  s.firstItemExtraMs = toMs(EdtFirstItem);
  s.acceptanceMs = toMs(EdtAcceptance);
  s.pauseAfterSelectionMs = toMs(EdtPause);
  s.loopsBeforeBack = EdtLoops->value();
  s.gridColumns = EdtColumns->value();
  s.gridFitFont = ChkFitFont->isChecked();
  s.rowColumn = ChkRowColumn->isChecked();
  s.highlight =
      CbxHighlight->currentIndex() == 1 ? HighlightStyle::Frame : HighlightStyle::TextColour;
  s.speakPhrase = ChkSpeakPhrase->isChecked();
  s.speakTexts = ChkSpeakTexts->isChecked();
  s.speakPrompts = ChkSpeakPrompts->isChecked();
  s.voice = CbxVoice->currentData().toString();
  s.rate = EdtRate->value();
  s.volume = EdtVolume->value();
  s.prediction = ChkPrediction->isChecked();
  s.predictionWords = EdtPredictionWords->value();
  s.replacePassedOver = FReplacePassedOver->isChecked();
  s.pictureLabel = PictureLabel(std::clamp(CbxPictureLabel->currentIndex(), 0, 2));
  s.promptsWithScreenReader = ChkPromptsWithScreenReader->isChecked();
  GrpAccess->applyTo(s);
  s.storedBlock = FStoredBlock;
  return boardsettings::clamped(s);
}

// The carer sets a switch's key by pressing it, as the switch itself would send it: what the
// button takes is the same board key code the scan will see.
#include "editing/AccessSettingsGroup.h"

#include "platform/SwitchKeys.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <algorithm>
#include <cmath>

SwitchKeyButton::SwitchKeyButton(const QString& caption, QWidget* parent)
    : QPushButton(parent), FCaption(caption) {
  connect(this, &QPushButton::clicked, this, [this] { startWaiting(); });
}

void SwitchKeyButton::setKey(int virtualKey) {
  FKey = virtualKey;
  stopWaiting();
}

void SwitchKeyButton::startWaiting() {
  FWaiting = true;
  setText(FCaption + QStringLiteral(" : appuyez sur la touche..."));
}

void SwitchKeyButton::stopWaiting() {
  FWaiting = false;
  setText(FCaption + QStringLiteral(" : ") + switchkeys::keyName(FKey));
}

void SwitchKeyButton::keyPressEvent(QKeyEvent* e) {
  if (!FWaiting) {
    QPushButton::keyPressEvent(e);
    return;
  }
  // Every key is taken while waiting, Enter and Space included: none may reach the dialog's
  // default button or click this one again.
  e->accept();
  if (e->isAutoRepeat())
    return;
  if (e->key() == Qt::Key_Escape) {
    stopWaiting();
    return;
  }
  const int code = switchkeys::virtualKeyCode(*e);
  QString why;
  if (!switchkeys::canBeChosen(code))
    why = QStringLiteral("Cette touche ne peut pas servir de contacteur.");
  else if (refusal)
    why = refusal(code);
  if (!why.isEmpty()) {
    emit refused(why);
    return;
  }
  setKey(code);
  emit keyChanged(code);
}

void SwitchKeyButton::focusOutEvent(QFocusEvent* e) {
  if (FWaiting)
    stopWaiting();
  QPushButton::focusOutEvent(e);
}

namespace {
QDoubleSpinBox* secondsBox(QWidget* parent, const char* name, double min, double max) {
  auto* s = new QDoubleSpinBox(parent);
  s->setObjectName(QLatin1String(name));
  s->setRange(min, max);
  s->setDecimals(1);
  s->setSingleStep(0.1);
  s->setSuffix(QStringLiteral(" s"));
  s->setLocale(QLocale(QLocale::French, QLocale::France));
  return s;
}

int toMs(const QDoubleSpinBox* s) {
  return int(std::lround(s->value() * 10)) * 100;
}
} // namespace

AccessSettingsGroup::AccessSettingsGroup(QWidget* parent)
    : QGroupBox(QStringLiteral("Accès"), parent) {
  setObjectName(QStringLiteral("GrpAccess"));
  auto* form = new QFormLayout(this);
  CbxAccessMode = new QComboBox(this);
  CbxAccessMode->setObjectName(QStringLiteral("CbxAccessMode"));
  // In the order of AccessMode.
  CbxAccessMode->addItem(QStringLiteral("Automatique, un contacteur"));
  CbxAccessMode->addItem(QStringLiteral("Deux contacteurs : l'un avance, l'autre choisit"));
  CbxAccessMode->addItem(QStringLiteral("Un contacteur maintenu (balayage inverse)"));
  CbxAccessMode->addItem(QStringLiteral("Un contacteur : chaque appui avance, l'attente choisit"));
  BtnMoveKey = new SwitchKeyButton(QStringLiteral("Touche pour avancer"), this);
  BtnMoveKey->setObjectName(QStringLiteral("BtnMoveKey"));
  BtnChooseKey = new SwitchKeyButton(QStringLiteral("Touche pour choisir"), this);
  BtnChooseKey->setObjectName(QStringLiteral("BtnChooseKey"));
  // One key for both switches could not be told apart.
  BtnMoveKey->refusal = [this](int code) {
    return code == BtnChooseKey->key() ? QStringLiteral("Cette touche sert déjà à choisir.")
                                       : QString();
  };
  BtnChooseKey->refusal = [this](int code) {
    return code == BtnMoveKey->key() ? QStringLiteral("Cette touche sert déjà à avancer.")
                                     : QString();
  };
  LblKeyMessage = new QLabel(this);
  LblKeyMessage->setObjectName(QStringLiteral("LblKeyMessage"));
  LblKeyMessage->setWordWrap(true);
  for (SwitchKeyButton* b : {BtnMoveKey, BtnChooseKey}) {
    connect(b, &SwitchKeyButton::refused, LblKeyMessage, &QLabel::setText);
    connect(b, &SwitchKeyButton::keyChanged, LblKeyMessage, [this] { LblKeyMessage->clear(); });
  }
  ChkMoveRepeat = new QCheckBox(
      QStringLiteral("Avancer encore tant que le contacteur pour avancer reste appuyé"), this);
  ChkMoveRepeat->setObjectName(QStringLiteral("ChkMoveRepeat"));
  EdtMoveRepeatDelay = secondsBox(this, "EdtMoveRepeatDelay", 0.1, 5);
  EdtMoveRepeatPace = secondsBox(this, "EdtMoveRepeatPace", 0.1, 5);
  EdtDwell = secondsBox(this, "EdtDwell", 0.3, 10);
  form->addRow(QStringLiteral("Mode d'accès :"), CbxAccessMode);
  form->addRow(BtnMoveKey);
  form->addRow(BtnChooseKey);
  form->addRow(LblKeyMessage);
  form->addRow(ChkMoveRepeat);
  form->addRow(QStringLiteral("Appui avant de répéter :"), EdtMoveRepeatDelay);
  form->addRow(QStringLiteral("Temps entre deux répétitions :"), EdtMoveRepeatPace);
  form->addRow(QStringLiteral("Attente qui choisit :"), EdtDwell);
  connect(CbxAccessMode, &QComboBox::currentIndexChanged, this, [this] { enableForMode(); });
  connect(ChkMoveRepeat, &QCheckBox::toggled, this, [this] { enableForMode(); });
  setSettings(BoardSettings());
}

void AccessSettingsGroup::enableForMode() {
  const auto mode = AccessMode(CbxAccessMode->currentIndex());
  const bool two = mode == AccessMode::TwoSwitchStep;
  const bool stepping = two || mode == AccessMode::StepDwell;
  BtnMoveKey->setEnabled(two);
  BtnChooseKey->setEnabled(two);
  ChkMoveRepeat->setEnabled(stepping);
  EdtMoveRepeatDelay->setEnabled(stepping && ChkMoveRepeat->isChecked());
  EdtMoveRepeatPace->setEnabled(stepping && ChkMoveRepeat->isChecked());
  EdtDwell->setEnabled(mode == AccessMode::StepDwell);
}

void AccessSettingsGroup::setSettings(const BoardSettings& s) {
  CbxAccessMode->setCurrentIndex(int(s.accessMode));
  BtnMoveKey->setKey(s.moveKey);
  BtnChooseKey->setKey(s.chooseKey);
  LblKeyMessage->clear();
  ChkMoveRepeat->setChecked(s.moveRepeat);
  EdtMoveRepeatDelay->setValue(s.moveRepeatDelayMs / 1000.0);
  EdtMoveRepeatPace->setValue(s.moveRepeatPaceMs / 1000.0);
  EdtDwell->setValue(s.dwellMs / 1000.0);
  enableForMode();
}

void AccessSettingsGroup::applyTo(BoardSettings& s) const {
  s.accessMode = AccessMode(std::clamp(CbxAccessMode->currentIndex(), 0, 3));
  s.moveKey = BtnMoveKey->key();
  s.chooseKey = BtnChooseKey->key();
  s.moveRepeat = ChkMoveRepeat->isChecked();
  s.moveRepeatDelayMs = toMs(EdtMoveRepeatDelay);
  s.moveRepeatPaceMs = toMs(EdtMoveRepeatPace);
  s.dwellMs = toMs(EdtDwell);
}

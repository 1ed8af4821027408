// The appearance dialog: one font (size, colour, name, style) and, for the tabs and the display
// area, a background colour. Rows are placed absolutely so that the layout by kind is exact.
#include "editing/TFormFont.h"

#include "platform/Services.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <algorithm>

namespace {

// Design layout: one row every 30 pixels, labels 4 pixels lower than their inputs.
constexpr int kRowPitch = 30;
constexpr int kLabelLeft = 8;
constexpr int kInputLeft = 101;
constexpr int kDotsLeft = 221;
constexpr int kLabelWidth = kInputLeft - kLabelLeft - 1;
constexpr int kSizeTop = 10;
constexpr int kTextColourTop = 40;
constexpr int kBackColourTop = 70;
constexpr int kFontNameTop = 100;
constexpr int kStyleTop = 130;
constexpr int kButtonsTop = 226;
constexpr int kClientWidth = 252;
constexpr int kClientHeight = 258;

// The label column is narrow; a platform font wider than the one it was drawn for would clip
// the captions, so when the widest caption does not fit, all of them are drawn a little smaller.
void fitLabels(std::initializer_list<QLabel*> labels) {
  QFont f = (*labels.begin())->font();
  auto widest = [&] {
    int w = 0;
    for (QLabel* l : labels)
      w = std::max(w, QFontMetrics(f).horizontalAdvance(l->text()));
    return w;
  };
  while (widest() > kLabelWidth && f.pointSizeF() > 6)
    f.setPointSizeF(f.pointSizeF() - 0.5);
  for (QLabel* l : labels)
    l->setFont(f);
}

void placeRow(QLabel* label, QWidget* input, QWidget* dots, int top) {
  label->move(kLabelLeft, top + 4);
  input->move(kInputLeft, top);
  if (dots)
    dots->move(kDotsLeft, top);
}

void showRow(bool shown, std::initializer_list<QWidget*> widgets) {
  for (QWidget* w : widgets)
    w->setVisible(shown);
}

void paintSwatch(QLineEdit* swatch, TColor colour) {
  swatch->setStyleSheet(
      QStringLiteral("QLineEdit { background-color: %1; }").arg(toQColor(colour).name()));
}

} // namespace

TFormFont::TFormFont(IColorChooser* chooser, QWidget* parent) : QDialog(parent), FChooser(chooser) {
  setWindowTitle(QStringLiteral("Choix de l'apparence"));

  auto makeLabel = [this](const QString& text) {
    auto* l = new QLabel(text, this);
    l->resize(kLabelWidth, 17);
    return l;
  };
  auto makeSwatch = [this] {
    auto* e = new QLineEdit(this);
    e->resize(113, 21);
    e->setEnabled(false);
    return e;
  };
  auto makeDots = [this] {
    auto* b = new QPushButton(QStringLiteral("..."), this);
    b->resize(25, 21);
    return b;
  };

  LblTaille = makeLabel(QStringLiteral("Taille du texte :"));
  SpinEditTailleP = new QSpinBox(this);
  SpinEditTailleP->setRange(1, 100);
  SpinEditTailleP->resize(57, 21);

  LblCoul = makeLabel(QStringLiteral("Couleur du texte :"));
  EditCouleurP = makeSwatch();
  ButtonChoixCoulP = makeDots();

  LblFd = makeLabel(QStringLiteral("Couleur de fond :"));
  EdtCoulFond = makeSwatch();
  BtnCoulFond = makeDots();

  LblPolice = makeLabel(QStringLiteral("Nom de la police :"));
  ComboBoxNomP = new QComboBox(this);
  ComboBoxNomP->resize(kClientWidth - kInputLeft - 6, 21);
  QStringList families = QFontDatabase::families();
  families.sort(Qt::CaseInsensitive);
  ComboBoxNomP->addItems(families);
  const int arial = ComboBoxNomP->findText(QStringLiteral("Arial"));
  ComboBoxNomP->setCurrentIndex(arial >= 0 ? arial : (families.isEmpty() ? -1 : 0));

  fitLabels({LblTaille, LblCoul, LblFd, LblPolice});
  // Named for assistive technologies: the labels beside them are not tied to them, and "..."
  // says nothing of what it chooses.
  SpinEditTailleP->setAccessibleName(QStringLiteral("Taille du texte"));
  EditCouleurP->setAccessibleName(QStringLiteral("Couleur du texte"));
  ButtonChoixCoulP->setAccessibleName(QStringLiteral("Choisir la couleur du texte"));
  EdtCoulFond->setAccessibleName(QStringLiteral("Couleur de fond"));
  BtnCoulFond->setAccessibleName(QStringLiteral("Choisir la couleur de fond"));
  ComboBoxNomP->setAccessibleName(QStringLiteral("Nom de la police"));

  GrpBxStyle = new QGroupBox(QStringLiteral("Style du texte"), this);
  GrpBxStyle->resize(kClientWidth - 2 * kLabelLeft, 89);
  CheckBoxGras = new QCheckBox(QStringLiteral("Gras"), GrpBxStyle);
  CheckBoxGras->setGeometry(16, 20, 150, 19);
  CheckBoxSouligne = new QCheckBox(QStringLiteral("Souligné"), GrpBxStyle);
  CheckBoxSouligne->setGeometry(16, 42, 150, 19);
  CheckBoxItalique = new QCheckBox(QStringLiteral("Italique"), GrpBxStyle);
  CheckBoxItalique->setGeometry(16, 64, 150, 19);

  BitBtnOK = new QPushButton(QStringLiteral("OK"), this);
  BitBtnOK->resize(75, 25);
  BitBtnOK->setDefault(true);
  BitBtnAnnuler = new QPushButton(QStringLiteral("Annuler"), this);
  BitBtnAnnuler->resize(75, 25);

  connect(ButtonChoixCoulP, &QPushButton::clicked, this, &TFormFont::ButtonChoixCoulPClick);
  connect(BtnCoulFond, &QPushButton::clicked, this, &TFormFont::BtnCoulFd);
  connect(BitBtnOK, &QPushButton::clicked, this, &TFormFont::BitBtnOKClick);
  connect(BitBtnAnnuler, &QPushButton::clicked, this, &TFormFont::BitBtnAnnulerClick);

  paintSwatch(EditCouleurP, FTextColor);
  paintSwatch(EdtCoulFond, FBackColor);
  layOutFor(3);
}

// Lays the rows out from the design positions for a kind: 0 and 1 lose the background row,
// 2 loses the text colour row, and what stood below the missing row moves up one pitch.
// Computing from the design (not shifting what is there) keeps the layout right whatever the
// order of calls.
void TFormFont::layOutFor(int kind) {
  const bool noBackRow = kind == 0 || kind == 1;
  const bool noTextColourRow = kind == 2;
  const int below = (noBackRow || noTextColourRow) ? kRowPitch : 0;

  placeRow(LblTaille, SpinEditTailleP, nullptr, kSizeTop);
  placeRow(LblCoul, EditCouleurP, ButtonChoixCoulP, kTextColourTop);
  showRow(!noTextColourRow, {LblCoul, EditCouleurP, ButtonChoixCoulP});
  placeRow(LblFd, EdtCoulFond, BtnCoulFond, kBackColourTop - (noTextColourRow ? kRowPitch : 0));
  showRow(!noBackRow, {LblFd, EdtCoulFond, BtnCoulFond});
  placeRow(LblPolice, ComboBoxNomP, nullptr, kFontNameTop - below);
  GrpBxStyle->move(kLabelLeft, kStyleTop - below);
  BitBtnOK->move(44, kButtonsTop - below);
  BitBtnAnnuler->move(133, kButtonsTop - below);
  setFixedSize(kClientWidth, kClientHeight - below);
}

void TFormFont::SetTargetKind(int kind) {
  // An unknown kind changes nothing, so hiding has nothing of it to undo either.
  if (kind < 0 || kind > 3)
    return;
  FTargetKind = kind;
  layOutFor(kind);
}

void TFormFont::SetBackColor(TColor color) {
  FBackColor = color;
  paintSwatch(EdtCoulFond, FBackColor);
}

void TFormFont::LoadFont(BoardFont* font) {
  if (!font)
    return;
  SpinEditTailleP->setValue(std::clamp(font->size, 1, 100));
  FTextColor = font->color;
  paintSwatch(EditCouleurP, FTextColor);
  // Exact, case-sensitive match; a font not installed here leaves the list without selection.
  ComboBoxNomP->setCurrentIndex(
      ComboBoxNomP->findText(font->name, Qt::MatchExactly | Qt::MatchCaseSensitive));
  CheckBoxGras->setChecked(font->bold);
  CheckBoxItalique->setChecked(font->italic);
  CheckBoxSouligne->setChecked(font->underline);
  FEditedFont = font;
}

int TFormFont::exec() {
  // The window system may report the size of the last showing after the hide that restored
  // the design layout; the layout's own size is the one to show.
  resize(minimumSize());
  // Centred on the screen rather than on the main window; moving first stops Qt re-placing it.
  if (QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen())
    move(s->availableGeometry().center() - rect().center());
  // Closing the window or Escape rejects with 0; every way out other than OK is a cancel.
  return QDialog::exec() == 1 ? 1 : 2;
}

void TFormFont::ButtonChoixCoulPClick() {
  if (!FChooser)
    return;
  if (const auto chosen = FChooser->chooseColor(FTextColor)) {
    FTextColor = *chosen;
    paintSwatch(EditCouleurP, FTextColor);
  }
}

void TFormFont::BtnCoulFd() {
  if (!FChooser)
    return;
  if (const auto chosen = FChooser->chooseColor(FBackColor)) {
    FBackColor = *chosen;
    paintSwatch(EdtCoulFond, FBackColor);
  }
}

void TFormFont::BitBtnOKClick() {
  // Take a half-typed size as it stands; the spin box keeps it within 1..100.
  SpinEditTailleP->interpretText();
  FEditedFont->color = FTextColor;
  FEditedFont->size = std::clamp(SpinEditTailleP->value(), 1, 100);
  // A font not installed here has no entry in the list: it keeps its name rather than
  // taking an empty one.
  if (ComboBoxNomP->currentIndex() >= 0)
    FEditedFont->name = ComboBoxNomP->currentText();
  FEditedFont->bold = CheckBoxGras->isChecked();
  FEditedFont->italic = CheckBoxItalique->isChecked();
  FEditedFont->underline = CheckBoxSouligne->isChecked();
  done(1);
}

void TFormFont::BitBtnAnnulerClick() {
  done(2);
}

void TFormFont::hideEvent(QHideEvent* e) {
  // Every opening starts from the design layout; a minimised window keeps its layout.
  if (!e->spontaneous()) {
    FTargetKind = 3;
    layOutFor(FTargetKind);
  }
  QDialog::hideEvent(e);
}

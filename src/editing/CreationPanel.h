// The creation panel: the carer's fields and buttons for the tabs, the texts, the appearance and
// the whole board, their handlers, the history of the edits they make, and the lock that keeps
// a reserved name out of the name fields. It edits the board view it is given and saves through
// the document; the window only shows or hides it.
#pragma once

#include "platform/BoardFont.h"
#include "platform/Services.h"

#include <QWidget>
#include <memory>
#include <optional>

class BoardDocument;
class BoardHistory;
struct BoardSettings;
class BoardView;
class CreationPanelLayout;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class ReservedNameGuard;
class TFormFont;
class TFormReglages;
class WordPredictor;

class CreationPanel : public QWidget {
  Q_OBJECT
public:
  // The predictor (not owned, may be null) is the settings dialog's, for its state and to
  // forget what it learned.
  CreationPanel(const Services& services, BoardView& view, BoardDocument& document, QWidget* parent,
                WordPredictor* predictor = nullptr);
  ~CreationPanel() override;

  BoardView& view() { return FView; }
  const BoardView& view() const { return FView; }
  BoardDocument& document() { return FDocument; }
  BoardHistory& history() { return *FHistory; }
  ReservedNameGuard& nameGuard() { return *FNameGuard; }
  const Services& services() const { return FServices; }

  // The carer enters the panel (the text last lit becomes the text chosen for editing, shown
  // whole) or leaves it.
  void enter();
  void leave();
  // A whole board was put on screen: the paces and, while editing, the name fields follow it.
  void showBoard();
  // The paces the board holds, shown without counting as an edit.
  void showPaces();
  // Writes a name field without running its change handler: the program shows, nobody renames.
  // A field already showing the text keeps its cursor.
  void showTabName(const QString& text);
  void showTextName(const QString& text);
  // The name field never speaks of a text that is gone; the chosen text's mark is redrawn.
  void settleChosenText();
  // The board's settings changed (an edit or its undo): the pages and the scan take them.
  void settingsApplied();

  // Tab editing.
  void BtnAjoutOnglClick();
  void BtnSupprOnglClick();
  void BtnAvtOnglClick();
  void BtnSuivOnglClick();
  void EdtNomOngletChange();
  bool EdtNomOngletExit(); // false: the focus must stay in the field (the carer is told why)
  void EdtT1Change();
  // The active letter tab's texts ordered so that the letters written most often in French
  // cost the fewest scan steps; one edit step.
  void BtnRangerFrequenceClick();
  // Whether the active tab is one of letters, where that order is offered.
  bool mayOrderByFrequency() const;

  // Text editing.
  void BtnAjoutTexteClick();
  void BtnSupprTexteClick();
  void EdtNomTexteChange();
  bool EdtNomTexteExit(); // false: the focus must stay in the field
  void BtnAvtTexteClick();
  void BtnSuivRTexteClick();
  void BtnOngletAvtClick();
  void BtnOngletSuivClick();
  void EdtT2Change();
  int chosenTextIndex() const; // index of the chosen text on the active page, -1 when not there
  void EdtNomTexteReturn();    // Enter in the name field: the next text
  bool pasteTextList(const QString& list);

  // Pictures: the chosen text's, chosen or taken away, and the built-in set's best match for
  // every text of the active tab that has none. Each is one step.
  void BtnImageTexteClick();
  void BtnRetirerImageClick();
  void BtnImagesOngletClick();
  // The picture buttons enabled as the chosen text, the active tab and the chooser allow.
  void showPictureButtons();
  // What "Images pour l'onglet" tells the carer: how many texts received a picture, and how
  // many found none.
  static QString picturesGivenMessage(int given, int without);

  // Appearance.
  void BtnVisuSelecClick();
  void BtnVisuNonSelecClick();
  void BtnVisuOngletClick();
  void BtnVisuAffClick();
  void BtnVisuAff2Click();
  void BitBtnTtAffClick();
  // Opens the appearance dialog on a font; true when the carer accepted it.
  bool runFontDialog(int kind, BoardFont* font, std::optional<TColor> back);

  // The whole board.
  void BtnNouveauClick();
  void BtnOuvrirClick();
  void BtnEnrClick();
  void BtnEnrSousClick();
  void BtnChangMdpClick();
  void BtnReglagesClick();

  // Why a name field may not be left as it stands: a reserved name typed, or a name that takes
  // the board past a bound of its file; none when it may. A name the board already held when
  // the field showed it is no new name: a board made elsewhere may hold one.
  std::optional<QString> nameFieldRefusal(const QLineEdit* field) const;
  // Boards of the Open Board Format (and ".ord"), as a new board without a file of its own;
  // false when the file was refused (a message says why, the board on screen is unchanged).
  bool importBoard(const QString& path);
  void BtnImporterClick();
  void BtnExporterClick();

  // The panel's controls.
  QGroupBox* GrpBxOnglet;
  QLineEdit* EdtNomOnglet;
  QPushButton* BtnAjoutOngl;
  QPushButton* BtnSupprOngl;
  QSpinBox* EdtT1;
  QGroupBox* GroupBoxDeplOngl;
  QPushButton* BtnAvtOngl;
  QPushButton* BtnSuivOngl;
  QPushButton* BtnRangerFrequence;
  QGroupBox* GrpBxTxt;
  QLineEdit* EdtNomTexte;
  QPushButton* BtnAjoutTexte;
  QPushButton* BtnSupprTexte;
  QSpinBox* EdtT2;
  QGroupBox* GroupBoxDeplTexte;
  QPushButton* BtnAvtTexte;
  QPushButton* BtnSuivRTexte;
  QGroupBox* GroupBox2;
  QPushButton* BtnOngletAvt;
  QPushButton* BtnOngletSuiv;
  QPushButton* BtnImageTexte;
  QPushButton* BtnRetirerImage;
  QPushButton* BtnImagesOnglet;
  QGroupBox* GrpBxAppa;
  QPushButton* BtnVisuSelec;
  QPushButton* BtnVisuNonSelec;
  QPushButton* BtnVisuOnglet;
  QPushButton* BtnVisuAff;
  QPushButton* BtnVisuAff2;
  QPushButton* BitBtnTtAff;
  QGroupBox* GrpBxGene;
  QPushButton* BtnNouveau;
  QPushButton* BtnOuvrir;
  QPushButton* BtnEnr;
  QPushButton* BtnEnrSous;
  QPushButton* BtnChangMdp;
  // Beyond the original panel: the board's scanning and speech settings, and undo / redo of
  // the carer's edits.
  QPushButton* BtnReglages;
  QPushButton* BtnAnnulerEdition;
  QPushButton* BtnRetablirEdition;
  QPushButton* BtnImporter;
  QPushButton* BtnExporter;
  TFormFont* FormFont = nullptr;
  TFormReglages* FormReglages = nullptr;

signals:
  // The carer asked to hear a voice of the settings dialog.
  void voiceTried(const BoardSettings& settings);
  // The board's scanning or speech settings changed.
  void settingsChanged();

protected:
  void resizeEvent(QResizeEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void buildControls();
  // Every control named for assistive technologies with what it acts on: the captions alone
  // ("Ajouter", "<<") do not say whether a tab or a text.
  void nameControls();
  void connectControls();
  // False when the field holds a name it may not be left with (the carer is told why).
  bool nameFieldMayBeLeft(const QLineEdit* field);
  // A keystroke or paste the field refused: the carer is told what could not be taken.
  void inputRefused(const QLineEdit* field);
  // The program writes a name field: a text it cannot store (from a board made elsewhere) is
  // shown as it is, without a word.
  void showingName(QLineEdit* field, const QString& text);
  void moveChosenTextWithinTab(bool back);
  void moveChosenTextToTab(int direction);
  // The name fields spoke of the board just replaced: left as they were, typing in the tab
  // name field would rename a tab of the new board after one of the old.
  void showNewBoardInNameFields();

  Services FServices;
  BoardView& FView;
  BoardDocument& FDocument;
  WordPredictor* FPredictor;
  BoardHistory* FHistory = nullptr;
  std::unique_ptr<ReservedNameGuard> FNameGuard;
  std::unique_ptr<CreationPanelLayout> FPanelLayout;
  bool FTextNameChangeAttached = false;
  bool FTabNameChangeAttached = false;
  // What the program last wrote in each name field: the name the board held before typing.
  QString FTabNameShown;
  QString FTextNameShown;
  bool FShowingName = false;
};

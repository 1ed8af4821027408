// The main window: the board (one TOnglet page per tab), the display area, the creation panel,
// the two scanning timers, the two modes and their shortcuts. Its handlers are spread over the
// subsystem folders (scanning, phrases, tab and text editing, appearance, documents); this
// header is the one place that lists its fields.
#pragma once

#include "board/TOnglet.h"
#include "board/TOngletHost.h"
#include "documents/BoardSettings.h"
#include "execution/PhraseComposer.h"
#include "execution/Scanner.h"
#include "platform/BoardFont.h"
#include "platform/MeasureLabel.h"
#include "platform/Services.h"

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QSplitter;
class QTabWidget;
class QTextEdit;
class QTimer;
class QWidget;
class TAboutBox;
class TFormChangeMdp;
class TFormFont;
class TFormMdp;
class TOnglet;
class TTextButton;
class TTabBar;
class QtDisplayLines;
class SwitchKeyFilter;
class AcceptanceBar;
class ActionJournal;
class JournalTones;
class ReservedNameGuard;
class CreationPanelLayout;
class BoardHistory;
struct BoardReadResult;
class SpeechFeedback;
class TFormReglages;

class TMainFrame : public QMainWindow, public TOngletHost {
  Q_OBJECT
public:
  // The program folder holds "conf/conf.txt"; the services are not owned.
  TMainFrame(const Services& services, const QString& programFolder, QWidget* parent = nullptr);
  ~TMainFrame() override;

  // The four other windows, created after the main window in this order.
  void createDialogs();

  // Start-up, life cycle.
  void SetPassword(const QString& password) { FPassword = password; }
  void FormShow();
  void FormClose();
  void ClearDisplay();

  // Board model and default board.
  // Creates a tab at the end of the row; it becomes the active tab unless told otherwise.
  TOnglet* AddTab(const QString& caption, bool activate = true);
  void BtnNouveauClick();
  void buildDefaultBoard(); // the default board in place of the board shown, without history
  QList<TOnglet*> pages() const;
  TOnglet* activePage() const;
  int pageCount() const;

  // Documents.
  enum class LoadOutcome { Loaded, Missing, Broken };
  LoadOutcome LoadBoard(const QString& path);
  // LoadBoard in two steps: the file read and checked (messages shown), then put on screen.
  LoadOutcome readBoardFile(const QString& path, BoardReadResult& result);
  void applyBoard(const BoardReadResult& result, const QString& path);
  void SaveBoard(bool saveAs);
  void ClearBoard();
  void BtnOuvrirClick();
  void BtnEnrClick() { SaveBoard(false); }
  void BtnEnrSousClick() { SaveBoard(true); }
  void BtnChangMdpClick();

  // Modes and shortcuts.
  // True when the key was a shortcut of the moment and acted.
  bool FormShortCut(int key, Qt::KeyboardModifiers modifiers);
  void EnterExecutionMode();
  void EnterCreationMode();
  void LogoClick();
  static bool isReservedTabCaption(const QString& caption);

  // Scanning and the switch.
  void TimerT1Timer();
  void TimerT2Timer();
  void PageControlChanging();
  void PageControlChange();
  void PageControlMouseDown();
  void FormKeyDown(int virtualKey);
  void FormKeyUp(int virtualKey);
  void Sonnerie();
  void Ajout();
  // The scanning decisions: the window's timers and widgets carry them out.
  Scanner FScanner;
  void startScanning();
  // The board's layout, highlight and switch settings given to the pages and the switch.
  void applyBoardSettings();
  ScanSettings scanSettings() const;
  std::vector<ScanTab> scanShapes() const;
  ScanTab scanShape(TOnglet* page) const;
  // The switch acted in the text phase (the item chosen is the page's current one).
  void switchReleased(int virtualKey);

  // Tab editing.
  void BtnAjoutOnglClick();
  void BtnSupprOnglClick();
  void BtnAvtOnglClick();
  void BtnSuivOnglClick();
  void EdtNomOngletChange();
  bool EdtNomOngletExit(); // false: the focus must stay in the field
  void EdtT1Change();

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
  int chosenTextIndex() const; // index of FCurrentText on the active page, -1 when not there
  void moveChosenTextWithinTab(bool back);
  void moveChosenTextToTab(int direction);
  void EdtNomTexteReturn(); // Enter in the name field: the next text
  bool pasteTextList(const QString& list);
  static bool isReservedTextCaption(const QString& caption);

  // Appearance.
  void BtnVisuSelecClick();
  void BtnVisuNonSelecClick();
  void BtnVisuOngletClick();
  void BtnVisuAffClick();
  void BtnVisuAff2Click();
  void BitBtnTtAffClick();
  void SplitterMoved();
  // Opens the appearance dialog on a font; true when the carer accepted it.
  bool runFontDialog(int kind, BoardFont* font, std::optional<TColor> back);
  // Button height from the larger text font, then every page refitted to the fonts.
  void refitTextFonts();

  // TOngletHost.
  bool execMode() const override { return FExecMode; }
  bool tabScanning() const override { return FTabScanning; }
  bool allSelected() const override { return FAllSelected; }
  int buttonHeight() const override { return FButtonHeight; }
  const BoardFont& selectedFont() const override { return FSelectedFont; }
  const BoardFont& unselectedFont() const override { return FUnselectedFont; }
  TMeasureLabel& selectedMeasure() override { return FSelectedMeasure; }
  TMeasureLabel& unselectedMeasure() override { return FUnselectedMeasure; }
  TMeasureLabel& measureLabel() override { return FMeasureLabel; }
  void setCurrentText(TTextButton* button) override;
  const TTextButton* chosenText() const override { return FCurrentText; }
  void setTextNameField(const QString& text) override;
  void setTextNameChangeAttached(bool attached) override;
  void enableTextNameField() override;
  void textReached(const QString& caption) override;

  // Fields.
  Services FServices;
  QString FProgramFolder;
  QString FPassword;
  QString FFileName;
  int FTabCounter = 0;
  // Cleared by Qt when their page is destroyed.
  QPointer<TOnglet> FDiversTab;
  QPointer<TOnglet> FAlphabetTab;
  QPointer<TOnglet> FOtherCharsTab;
  bool FSaved = false;
  TColor FTabColor = 0xC0C0C0;
  bool FTabScanning = false;
  bool FExecMode = true;
  QPointer<TTextButton> FCurrentText; // cleared by Qt when its button is destroyed
  BoardFont FSelectedFont;
  BoardFont FUnselectedFont;
  BoardFont FValidatedFont;
  BoardFont FCurrentPhraseFont;
  BoardFont FTabFont; // the tab strip's font (its colour is maroon, not stored)
  TMeasureLabel FSelectedMeasure;
  TMeasureLabel FUnselectedMeasure;
  TMeasureLabel FMeasureLabel;
  int FButtonHeight = 0;
  bool FAllSelected = false;
  TColor FMemoColor = static_cast<TColor>(0x80000005u);
  bool FTextNameChangeAttached = false;
  bool FTabNameChangeAttached = false;
  // Loaded and saved with the board, back to the defaults with a new board.
  BoardSettings FSettings;

  // Components.
  QWidget* PnlModeCreation;
  QGroupBox* GrpBxOnglet;
  QLineEdit* EdtNomOnglet;
  QPushButton* BtnAjoutOngl;
  QPushButton* BtnSupprOngl;
  QSpinBox* EdtT1;
  QGroupBox* GroupBoxDeplOngl;
  QPushButton* BtnAvtOngl;
  QPushButton* BtnSuivOngl;
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
  QSplitter* Splitter;
  QTabWidget* PageControl;
  TTabBar* TabBar;
  QWidget* PnlBas;
  QTextEdit* Memo;
  QWidget* PnlLogo;
  QLabel* Logo;
  QPushButton* Buttoncache;
  QTimer* TimerT1;
  QTimer* TimerT2;

  TFormFont* FormFont = nullptr;
  TFormMdp* FormMdp = nullptr;
  TFormChangeMdp* FormChangeMdp = nullptr;
  TAboutBox* AboutBox = nullptr;

  std::unique_ptr<QtDisplayLines> FDisplay;
  std::unique_ptr<PhraseComposer> FPhrase;
  // The switch and the shortcuts: every key event of the application passes through it.
  SwitchKeyFilter* FSwitch = nullptr;
  AcceptanceBar* FAcceptanceBar = nullptr; // a held switch being accepted
  // In the text phase, whether a text is lit yet (a release before the first tick does
  // nothing).
  bool FTextLit = false;
  // What the board showed and did, when ORIVOX_JOURNAL asks for it (end-to-end checks).
  std::unique_ptr<ActionJournal> FJournal;
  std::unique_ptr<JournalTones> FJournalTones;
  void journal(const char* event, const QString& detail = QString());
  // The detail worked out only when a journal is kept: the scanning step must not pay for it.
  void journal(const char* event, const std::function<QString()>& detail);
  // Holds the window up while a name field holds a reserved name (see eventFilter).
  std::unique_ptr<ReservedNameGuard> FNameGuard;
  // Fits the creation panel's boxes to the window's width.
  std::unique_ptr<CreationPanelLayout> FPanelLayout;
  BoardHistory* FHistory = nullptr; // the carer's edits, undone and redone

  void setMemoColor(TColor color);
  std::unique_ptr<SpeechFeedback> FSpeech; // reads FSettings
  TFormReglages* FormReglages = nullptr;
  void BtnReglagesClick();

protected:
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void buildLayout();
  qint64 scanNow() const;
  // The timer of the phase armed for the scan's next step; `now` is the time the scan was
  // given, so that a step that starts now lasts exactly its pace.
  void armScanTimer(const ScanOutcome& out, qint64 now);
  void showTextView(TOnglet* page, const ScanView& view);
  void backToTabs();
  void connectSwitch();
  void FormCreate();
  void placeGroupBoxes();
  // The look of the current mode on every page: fonts (texts cut again for them), reserved
  // buttons shown or hidden, one-character letters enabled or not.
  void applyModeLook();
  TOnglet* createPage(const QString& caption);
  void showNewBoardInNameFields();
  bool FShown = false;
  bool FClosed = false;
};

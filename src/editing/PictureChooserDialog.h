// The picture chooser the carer opens for a text: the built-in set searched by French words, the
// text's own words offered first, or a picture file of their own made ready for the board file.
#pragma once

#include "pictures/PictureCatalogue.h"
#include "platform/Services.h"

#include <QDialog>
#include <QHash>
#include <QImage>
#include <QTimer>
#include <memory>
#include <optional>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QStackedWidget;

namespace picturechoice {
// A picture is stored at no more than twice the largest size a button shows it.
constexpr int kStoredSide = 512;
// The file dialog's filter, in the board's own form.
QString fileFilter();

// A picture made ready for a text, or the French sentence saying why there is none.
struct Outcome {
  std::optional<BoardPicture> picture;
  QString message;
};
// A file of the carer's own: an SVG kept as it is, a bitmap scaled down and stored as PNG; no
// licence, the picture being theirs.
Outcome fromFile(const QString& path);
// A picture of the built-in set, with the set's licence.
Outcome fromBuiltIn(const PictureEntry& entry);
} // namespace picturechoice

// Pictures of the built-in set drawn at icon size, kept between searches and between openings of
// the chooser: typing a word again shows its pictures at once. Bounded, so that a long session of
// searching does not hold the whole set in memory.
class PictureIconCache {
public:
  static constexpr int kMaxIcons = 600;
  // Null when the file is missing or is no picture.
  QImage icon(const PictureEntry& entry, int side, qreal pixelRatio);
  bool contains(const QString& hexcode) const { return FIcons.contains(hexcode); }

private:
  QHash<QString, QImage> FIcons;
};

// The dialog "Image du texte". Without a catalogue (the set is missing or damaged) it says so in
// place of the grid and still offers "Fichier...".
class PictureChooserDialog : public QDialog {
  Q_OBJECT
public:
  static constexpr int kMaxResults = 60;
  static constexpr int kIconSide = 64;

  // `catalogue` null: `missingMessage` says why there are no built-in pictures.
  PictureChooserDialog(const QString& caption, const PictureCatalogue* catalogue,
                       const QString& missingMessage, IFileDialogs* fileDialogs,
                       IMessages* messages, PictureIconCache* icons, QWidget* parent = nullptr);

  // What the carer chose, once the dialog was accepted.
  const std::optional<BoardPicture>& chosen() const { return FChosen; }
  // The pictures the grid shows, in order.
  const std::vector<PictureEntry>& shown() const { return FShown; }

  QLineEdit* EdtSearch;
  QStackedWidget* StkResults;
  QListWidget* LstPictures;
  QLabel* LblNoPictures;
  QPushButton* BtnFile;
  QPushButton* BtnChoose;
  QPushButton* BtnCancel;

private:
  void showResults();
  void showPictures(std::vector<PictureEntry> entries, const QString& emptyMessage);
  void drawSomeIcons();
  void chooseCurrent();
  void chooseFile();
  std::vector<PictureEntry> textSuggestions() const;

  QString FCaption;
  const PictureCatalogue* FCatalogue;
  IFileDialogs* FFileDialogs;
  IMessages* FMessages;
  PictureIconCache* FIcons;
  std::vector<PictureEntry> FShown;
  int FIconsDrawn = 0;
  QTimer FIconTimer;
  std::optional<BoardPicture> FChosen;
};

// The chooser the program hands to the panel. The set is loaded at first use, not at start-up;
// each choice opens a dialog over the active window.
class PictureChooser : public IPictureChooser {
public:
  // `folder` empty: the set beside the program (PictureCatalogue::defaultFolder()).
  PictureChooser(IFileDialogs* fileDialogs, IMessages* messages, QString folder = QString());
  ~PictureChooser() override;

  std::optional<BoardPicture> choosePicture(const QString& caption) override;
  std::optional<BoardPicture> bestPicture(const QString& caption) override;

  bool catalogueLoaded() const { return FLoad.has_value(); }

private:
  // The loaded catalogue; null when the set is missing or damaged (FLoad says why).
  const PictureCatalogue* catalogue();

  IFileDialogs* FFileDialogs;
  IMessages* FMessages;
  QString FFolder;
  std::unique_ptr<PictureCatalogue> FCatalogue;
  std::optional<PictureCatalogue::LoadResult> FLoad;
  PictureIconCache FIcons;
};

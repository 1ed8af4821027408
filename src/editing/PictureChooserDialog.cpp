// The picture chooser: the dialog, the pictures it offers for a text, and the files the carer
// brings, checked and made ready for the board file before the dialog closes.
#include "editing/PictureChooserDialog.h"

#include "documents/BoardFile.h"
#include "pictures/WordFolding.h"
#include "platform/PictureDecoder.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QSet>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

constexpr int kIconsPerTurn = 8; // drawn between two turns of the event loop: typing stays quick

enum Page { GridPage, MessagePage };

// Reads at most `bound` bytes of a regular file; nothing when it cannot be read, the flag set
// when it holds more.
std::optional<QByteArray> readBounded(const QString& path, qint64 bound, bool* tooLarge) {
  *tooLarge = false;
  // A device or a pipe could be read for ever, or block.
  if (!QFileInfo(path).isFile())
    return std::nullopt;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return std::nullopt;
  if (file.size() > bound) {
    *tooLarge = true;
    return std::nullopt;
  }
  QByteArray bytes = file.read(bound + 1); // the file may have grown since
  if (file.error() != QFileDevice::NoError)
    return std::nullopt;
  if (bytes.size() > bound) {
    *tooLarge = true;
    return std::nullopt;
  }
  return bytes;
}

QString entryName(const PictureEntry& entry) {
  return entry.name.isEmpty() ? entry.emoji : entry.name;
}

} // namespace

namespace picturechoice {

QString fileFilter() {
  // The patterns stand in the description's parentheses too: that is where the file dialog
  // reads them.
  return QStringLiteral(
      "Images PNG, JPEG, SVG (*.png *.jpg *.jpeg *.svg) |*.png;*.jpg;*.jpeg;*.svg");
}

Outcome fromFile(const QString& path) {
  const QString name = QFileInfo(path).fileName();
  bool tooLarge = false;
  const auto bytes = readBounded(path, picturedecoder::kMaxSourceBytes, &tooLarge);
  if (tooLarge)
    return {std::nullopt,
            QStringLiteral("Le fichier « %1 » est trop gros pour une image du tableau (%2 Mo au "
                           "plus).")
                .arg(name)
                .arg(picturedecoder::kMaxSourceBytes >> 20)};
  if (!bytes)
    return {std::nullopt,
            QStringLiteral("Le fichier « %1 » est introuvable ou ne peut pas être lu.").arg(name)};
  const auto prepared =
      picturedecoder::prepareForStorage(*bytes, kStoredSide, boardfile::kMaxPictureBytes);
  if (!prepared)
    return {std::nullopt,
            QStringLiteral("Le fichier « %1 » n'est pas une image que le tableau peut garder.")
                .arg(name)};
  return {BoardPicture{prepared->data, prepared->contentType, QString()}, QString()};
}

Outcome fromBuiltIn(const PictureEntry& entry) {
  bool tooLarge = false;
  const auto bytes = readBounded(entry.path, boardfile::kMaxPictureBytes, &tooLarge);
  // The set is checked as any file: an index and a folder that no longer agree show here.
  const auto prepared =
      bytes ? picturedecoder::prepareForStorage(*bytes, kStoredSide, boardfile::kMaxPictureBytes)
            : std::nullopt;
  if (!prepared || prepared->contentType != QLatin1String("image/svg+xml"))
    return {std::nullopt,
            QStringLiteral("L'image « %1 » des images intégrées est introuvable ou endommagée.")
                .arg(entryName(entry))};
  return {BoardPicture{prepared->data, prepared->contentType, QString::fromUtf8(kBuiltInLicence)},
          QString()};
}

} // namespace picturechoice

QImage PictureIconCache::icon(const PictureEntry& entry, int side, qreal pixelRatio) {
  const auto found = FIcons.constFind(entry.hexcode);
  if (found != FIcons.constEnd() && found->devicePixelRatio() == pixelRatio)
    return *found;
  bool tooLarge = false;
  const auto bytes = readBounded(entry.path, boardfile::kMaxPictureBytes, &tooLarge);
  const int pixels = qRound(side * pixelRatio);
  QImage image =
      bytes ? picturedecoder::decode(*bytes, QStringLiteral("image/svg+xml"), QSize(pixels, pixels))
            : QImage();
  image.setDevicePixelRatio(pixelRatio);
  if (FIcons.size() >= kMaxIcons)
    FIcons.clear();
  FIcons.insert(entry.hexcode, image); // a broken picture too: it is not read again
  return image;
}

PictureChooserDialog::PictureChooserDialog(const QString& caption,
                                           const PictureCatalogue* catalogue,
                                           const QString& missingMessage, IFileDialogs* fileDialogs,
                                           IMessages* messages, PictureIconCache* icons,
                                           QWidget* parent)
    : QDialog(parent), FCaption(caption), FCatalogue(catalogue), FFileDialogs(fileDialogs),
      FMessages(messages), FIcons(icons) {
  setWindowTitle(QStringLiteral("Image du texte"));
  auto* layout = new QVBoxLayout(this);

  // The text is a user's: shown literally, never read as markup.
  auto* text = new QLabel(QStringLiteral("Texte : %1").arg(caption), this);
  text->setTextFormat(Qt::PlainText);
  text->setWordWrap(true);
  layout->addWidget(text);

  EdtSearch = new QLineEdit(this);
  EdtSearch->setPlaceholderText(QStringLiteral("Chercher par un mot : eau, manger, dormir…"));
  EdtSearch->setClearButtonEnabled(true);
  EdtSearch->setAccessibleName(QStringLiteral("Chercher une image"));
  layout->addWidget(EdtSearch);

  StkResults = new QStackedWidget(this);
  LstPictures = new QListWidget(StkResults);
  LstPictures->setViewMode(QListView::IconMode);
  LstPictures->setIconSize(QSize(kIconSide, kIconSide));
  LstPictures->setGridSize(QSize(kIconSide + 20, kIconSide + 20));
  LstPictures->setResizeMode(QListView::Adjust);
  LstPictures->setMovement(QListView::Static);
  LstPictures->setUniformItemSizes(true);
  LstPictures->setSelectionMode(QAbstractItemView::SingleSelection);
  LstPictures->setAccessibleName(QStringLiteral("Images"));
  LstPictures->setMinimumSize(6 * (kIconSide + 20) + 24, 3 * (kIconSide + 20) + 8);
  LblNoPictures = new QLabel(StkResults);
  LblNoPictures->setTextFormat(Qt::PlainText);
  LblNoPictures->setWordWrap(true);
  LblNoPictures->setAlignment(Qt::AlignCenter);
  LblNoPictures->setMargin(12);
  StkResults->insertWidget(GridPage, LstPictures);
  StkResults->insertWidget(MessagePage, LblNoPictures);
  layout->addWidget(StkResults, 1);

  auto* buttons = new QHBoxLayout;
  BtnFile = new QPushButton(QStringLiteral("Fichier..."), this);
  BtnFile->setAutoDefault(false);
  buttons->addWidget(BtnFile);
  buttons->addStretch(1);
  BtnChoose = new QPushButton(QStringLiteral("Choisir"), this);
  BtnChoose->setDefault(true);
  BtnCancel = new QPushButton(QStringLiteral("Annuler"), this);
  BtnCancel->setAutoDefault(false);
  buttons->addWidget(BtnChoose);
  buttons->addWidget(BtnCancel);
  layout->addLayout(buttons);

  connect(EdtSearch, &QLineEdit::textChanged, this, [this] { showResults(); });
  connect(LstPictures, &QListWidget::currentRowChanged, this,
          [this](int row) { BtnChoose->setEnabled(row >= 0); });
  connect(LstPictures, &QListWidget::itemActivated, this, [this] { chooseCurrent(); });
  connect(BtnChoose, &QPushButton::clicked, this, [this] { chooseCurrent(); });
  connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(BtnFile, &QPushButton::clicked, this, [this] { chooseFile(); });
  FIconTimer.setInterval(0);
  connect(&FIconTimer, &QTimer::timeout, this, [this] { drawSomeIcons(); });

  if (!FCatalogue) {
    EdtSearch->setEnabled(false);
    BtnChoose->setEnabled(false);
    LblNoPictures->setText(missingMessage + QStringLiteral("\n\nVous pouvez prendre une image à "
                                                           "vous avec « Fichier... »."));
    StkResults->setCurrentIndex(MessagePage);
    BtnFile->setFocus();
    return;
  }
  showResults();
  EdtSearch->setFocus();
}

std::vector<PictureEntry> PictureChooserDialog::textSuggestions() const {
  // The best picture for the whole text first, then those of each of its words in turn, so that
  // every word of a longer text shows among the first.
  std::vector<PictureEntry> out;
  QSet<QString> seen;
  const auto add = [&](const PictureEntry& e) {
    if (int(out.size()) < kMaxResults && !seen.contains(e.hexcode)) {
      seen.insert(e.hexcode);
      out.push_back(e);
    }
  };
  if (const auto best = FCatalogue->bestMatch(FCaption))
    add(*best);
  std::vector<std::vector<PictureEntry>> perWord;
  for (const QString& word : wordfolding::contentWords(FCaption))
    perWord.push_back(FCatalogue->search(word, kMaxResults));
  for (std::size_t rank = 0; int(out.size()) < kMaxResults; ++rank) {
    bool any = false;
    for (const auto& found : perWord)
      if (rank < found.size()) {
        any = true;
        add(found[rank]);
      }
    if (!any)
      break;
  }
  return out;
}

void PictureChooserDialog::showResults() {
  const QString query = EdtSearch->text().trimmed();
  if (query.isEmpty())
    showPictures(textSuggestions(),
                 QStringLiteral("Aucune image ne répond aux mots du texte. Cherchez par un autre "
                                "mot, ou prenez une image à vous avec « Fichier... »."));
  else
    showPictures(FCatalogue->search(query, kMaxResults),
                 QStringLiteral("Aucune image ne répond à « %1 ».").arg(query));
}

void PictureChooserDialog::showPictures(std::vector<PictureEntry> entries,
                                        const QString& emptyMessage) {
  FIconTimer.stop();
  FShown = std::move(entries);
  FIconsDrawn = 0;
  LstPictures->clear();
  // Every cell is laid out at its picture's size before the picture is drawn: a click or a
  // double-click lands on the picture the carer sees there.
  QPixmap blank(QSize(kIconSide, kIconSide) * devicePixelRatioF());
  blank.setDevicePixelRatio(devicePixelRatioF());
  blank.fill(Qt::transparent);
  const QIcon placeholder(blank);
  for (const PictureEntry& e : FShown) {
    auto* item = new QListWidgetItem(placeholder, QString(), LstPictures);
    item->setToolTip(entryName(e));
    item->setData(Qt::AccessibleTextRole, entryName(e));
  }
  if (FShown.empty()) {
    LblNoPictures->setText(emptyMessage);
    StkResults->setCurrentIndex(MessagePage);
    BtnChoose->setEnabled(false);
    return;
  }
  StkResults->setCurrentIndex(GridPage);
  // The first is the likeliest: one click on "Choisir", or Enter in the search field, takes it.
  LstPictures->setCurrentRow(0);
  BtnChoose->setEnabled(true);
  drawSomeIcons();
}

void PictureChooserDialog::drawSomeIcons() {
  // The first pictures at once; the rest a few at a time, so that a keystroke never waits for
  // a whole grid to be drawn.
  const int end = std::min(int(FShown.size()), FIconsDrawn + kIconsPerTurn);
  const qreal ratio = devicePixelRatioF();
  for (; FIconsDrawn < end; ++FIconsDrawn) {
    const QImage image = FIcons->icon(FShown[std::size_t(FIconsDrawn)], kIconSide, ratio);
    QListWidgetItem* item = LstPictures->item(FIconsDrawn);
    if (!image.isNull())
      item->setIcon(QIcon(QPixmap::fromImage(image)));
    else // a picture of the set that cannot be drawn is still named
      item->setText(item->toolTip());
  }
  if (FIconsDrawn < int(FShown.size()))
    FIconTimer.start();
  else
    FIconTimer.stop();
}

void PictureChooserDialog::chooseCurrent() {
  const int row = LstPictures->currentRow();
  if (!FCatalogue || row < 0 || row >= int(FShown.size()))
    return;
  const picturechoice::Outcome outcome = picturechoice::fromBuiltIn(FShown[std::size_t(row)]);
  if (!outcome.picture) {
    FMessages->information(outcome.message);
    return;
  }
  FChosen = outcome.picture;
  accept();
}

void PictureChooserDialog::chooseFile() {
  const QString path = FFileDialogs->openFileName(picturechoice::fileFilter());
  if (path.isEmpty())
    return;
  const picturechoice::Outcome outcome = picturechoice::fromFile(path);
  if (!outcome.picture) {
    FMessages->information(outcome.message);
    return;
  }
  FChosen = outcome.picture;
  accept();
}

PictureChooser::PictureChooser(IFileDialogs* fileDialogs, IMessages* messages, QString folder)
    : FFileDialogs(fileDialogs), FMessages(messages), FFolder(std::move(folder)) {}

PictureChooser::~PictureChooser() = default;

const PictureCatalogue* PictureChooser::catalogue() {
  if (!FLoad) {
    FCatalogue = std::make_unique<PictureCatalogue>();
    FLoad = FCatalogue->load(FFolder.isEmpty() ? PictureCatalogue::defaultFolder() : FFolder);
  }
  return FLoad->ok() ? FCatalogue.get() : nullptr;
}

std::optional<BoardPicture> PictureChooser::choosePicture(const QString& caption) {
  const PictureCatalogue* set = catalogue();
  PictureChooserDialog dialog(caption, set, set ? QString() : FLoad->errorString(), FFileDialogs,
                              FMessages, &FIcons, QApplication::activeWindow());
  if (dialog.exec() != QDialog::Accepted)
    return std::nullopt;
  return dialog.chosen();
}

std::optional<BoardPicture> PictureChooser::bestPicture(const QString& caption) {
  const PictureCatalogue* set = catalogue();
  if (!set)
    return std::nullopt;
  const auto best = set->bestMatch(caption);
  if (!best)
    return std::nullopt;
  return picturechoice::fromBuiltIn(*best).picture;
}

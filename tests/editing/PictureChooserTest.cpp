// The picture chooser as the carer uses it: the pictures offered for a text before anything is
// typed, the search as one types, the carer's own files (kept, scaled, or refused by name), a
// broken or missing built-in set. A small set of our own is written for each test.
#include "documents/BoardFile.h"
#include "editing/PictureChooserDialog.h"
#include "platform/PictureDecoder.h"
#include "platform/QtServices.h"
#include "support/Fakes.h"
#include "support/TestRegistry.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

const QByteArray kIndex = "# orivox-pictures 1\n"
                          "1F6B0\t🚰\teau potable\teau | robinet\tboire | soif\n"
                          "1F964\t🥤\tgobelet avec paille\tboisson | paille\tboire | soif\n"
                          "1F4A7\t💧\tgoutte\teau | goutte\t\n"
                          "1F408\t🐈\tchat\tanimal | chat\t\n"
                          "1F3E0\t🏠\tmaison\tmaison\t\n"
                          "1F3E1\t🏡\tmaison avec jardin\tjardin | maison\t\n"
                          "1F494\t💔\tcœur brisé\tcœur\t\n"; // its file is missing

QByteArray svg(const char* colour) {
  return QByteArray(R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 72 72">)") +
         R"(<circle cx="36" cy="36" r="30" fill=")" + colour + R"("/></svg>)";
}

bool writeFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray contents(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray encoded(const QImage& image, const char* format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, format);
  return bytes;
}

QImage photo(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      image.setPixel(x, y, qRgb(x % 256, y % 256, (x * y) % 256));
  return image;
}

QStringList hexcodes(const std::vector<PictureEntry>& entries) {
  QStringList out;
  for (const PictureEntry& e : entries)
    out << e.hexcode;
  return out;
}

// Opens the chooser for `caption`; `steps` act on the dialog once it is up. A watchdog closes a
// dialog that a failing step left open, so that a fault shows as a failure rather than a hang.
std::optional<BoardPicture> runChooser(PictureChooser& chooser, const QString& caption,
                                       const std::function<void(PictureChooserDialog*)>& steps) {
  bool ran = false;
  QTimer::singleShot(0, [&] {
    if (auto* dialog = qobject_cast<PictureChooserDialog*>(QApplication::activeModalWidget())) {
      ran = true;
      steps(dialog);
    }
  });
  QTimer watchdog;
  watchdog.setSingleShot(true);
  QObject::connect(&watchdog, &QTimer::timeout, [] {
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
      dialog->done(QDialog::Rejected);
  });
  watchdog.start(10000);
  const auto picture = chooser.choosePicture(caption);
  if (!ran)
    qWarning("the chooser's dialog never came up");
  return picture;
}

} // namespace

class PictureChooserTest : public QObject {
  Q_OBJECT
  QTemporaryDir FDir;
  QString FSet;
  QString file(const QString& name) const { return FDir.filePath(name); }

private slots:
  void initTestCase() {
    FSet = FDir.filePath(QStringLiteral("pictures"));
    QVERIFY(QDir().mkpath(FSet));
    QVERIFY(writeFile(FSet + "/index.tsv", kIndex));
    const char* colours[] = {"#1e90ff", "#ff8c00", "#87ceeb", "#808080", "#a0522d", "#228b22"};
    int i = 0;
    for (const char* hex : {"1F6B0", "1F964", "1F4A7", "1F408", "1F3E0", "1F3E1"})
      QVERIFY(writeFile(FSet + "/" + hex + ".svg", svg(colours[i++])));
  }

  void offersTheTextsOwnWordsFirst_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("the best match, then the word's other pictures")
        << "J'ai soif" << QStringList{"1F6B0", "1F964"};
    QTest::newRow("every word of a longer text among the first")
        << "La maison et l'eau" << QStringList{"1F3E0", "1F6B0", "1F3E1", "1F4A7"};
    QTest::newRow("no picture for the text") << "Bonjour" << QStringList{};
  }
  void offersTheTextsOwnWordsFirst() {
    QFETCH(QString, caption);
    QFETCH(QStringList, shown);
    FakeServices fakes;
    PictureChooser chooser(&fakes.fileDialogs, &fakes.messages, FSet);
    QStringList seen;
    QString title, emptyMessage;
    bool chooseEnabled = true;
    const auto picture = runChooser(chooser, caption, [&](PictureChooserDialog* d) {
      title = d->windowTitle();
      seen = hexcodes(d->shown());
      chooseEnabled = d->BtnChoose->isEnabled();
      if (d->StkResults->currentWidget() == d->LblNoPictures)
        emptyMessage = d->LblNoPictures->text();
      // One click takes the first picture.
      QTest::mouseClick(d->BtnChoose, Qt::LeftButton);
      if (d->isVisible())
        d->reject();
    });
    QCOMPARE(title, QStringLiteral("Image du texte"));
    QCOMPARE(seen, shown);
    QCOMPARE(chooseEnabled, !shown.isEmpty());
    if (shown.isEmpty()) {
      QVERIFY(!picture);
      QCOMPARE(emptyMessage, QStringLiteral("Aucune image ne répond aux mots du texte. Cherchez "
                                            "par un autre mot, ou prenez une image à vous avec "
                                            "« Fichier... »."));
      return;
    }
    QVERIFY(picture);
    QCOMPARE(*picture, (BoardPicture{contents(FSet + "/" + shown.first() + ".svg"), "image/svg+xml",
                                     QString::fromUtf8(kBuiltInLicence)}));
  }

  void searchesAsOneTypes() {
    FakeServices fakes;
    PictureChooser chooser(&fakes.fileDialogs, &fakes.messages, FSet);
    QStringList typed, nothing, cleared;
    QString nothingMessage, tooltip, accessibleName;
    bool iconsDrawn = false;
    const auto picture = runChooser(chooser, "J'ai soif", [&](PictureChooserDialog* d) {
      QTest::keyClicks(d->EdtSearch, "mai"); // a word being typed finds its pictures
      typed = hexcodes(d->shown());
      tooltip = d->LstPictures->item(1)->toolTip();
      accessibleName = d->LstPictures->item(1)->data(Qt::AccessibleTextRole).toString();
      QTest::keyClicks(d->EdtSearch, "zz");
      nothing = hexcodes(d->shown());
      nothingMessage =
          d->StkResults->currentWidget() == d->LblNoPictures ? d->LblNoPictures->text() : QString();
      d->EdtSearch->clear(); // back to the text's own words
      cleared = hexcodes(d->shown());
      QTest::keyClicks(d->EdtSearch, "maison");
      iconsDrawn = QTest::qWaitFor([d] {
        return !d->LstPictures->item(0)->icon().isNull() &&
               !d->LstPictures->item(1)->icon().isNull();
      });
      // A double-click on a picture takes it: the first press selects, as a real one does.
      QListWidget* list = d->LstPictures;
      const QPoint at = list->visualItemRect(list->item(1)).center();
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
      QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
      if (d->isVisible())
        d->reject();
    });
    QCOMPARE(typed, (QStringList{"1F3E0", "1F3E1"}));
    QCOMPARE(tooltip, QStringLiteral("maison avec jardin"));
    QCOMPARE(accessibleName, QStringLiteral("maison avec jardin"));
    QCOMPARE(nothing, QStringList{});
    QCOMPARE(nothingMessage, QStringLiteral("Aucune image ne répond à « maizz »."));
    QCOMPARE(cleared, (QStringList{"1F6B0", "1F964"}));
    QVERIFY(iconsDrawn);
    QVERIFY(picture);
    QCOMPARE(picture->data, svg("#228b22"));
  }

  void carersOwnFiles_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("contentType"); // empty: refused
    QTest::addColumn<QSize>("size");          // of a stored bitmap
    QTest::addColumn<QString>("message");
    const QByteArray png = encoded(photo(40, 30), "PNG");
    QTest::newRow("a small PNG, kept at its size")
        << "tasse.png" << png << "image/png" << QSize(40, 30) << "";
    QTest::newRow("a photo, scaled down and stored as PNG")
        << "famille.jpg" << encoded(photo(1500, 1000), "JPEG") << "image/png" << QSize(512, 341)
        << "";
    QTest::newRow("an SVG, kept as it is")
        << "soleil.svg" << svg("#ffd700") << "image/svg+xml" << QSize() << "";
    QTest::newRow("a broken PNG")
        << "cassé.png" << png.left(png.size() / 2) << "" << QSize()
        << "Le fichier « cassé.png » n'est pas une image que le tableau peut garder.";
    QTest::newRow("no picture at all")
        << "chat.txt" << QByteArray("un chat noir\n") << "" << QSize()
        << "Le fichier « chat.txt » n'est pas une image que le tableau peut garder.";
    QTest::newRow("an SVG past the bound of a picture")
        << "énorme.svg"
        << svg("red").replace("</svg>",
                              "<!--" + QByteArray(boardfile::kMaxPictureBytes, 'x') + "--></svg>")
        << "" << QSize()
        << "Le fichier « énorme.svg » n'est pas une image que le tableau peut garder.";
    QTest::newRow("a file that is not there")
        << "" << QByteArray() << "" << QSize()
        << "Le fichier « absent.png » est introuvable ou ne peut pas être lu.";
  }
  void carersOwnFiles() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, contentType);
    QFETCH(QSize, size);
    QFETCH(QString, message);
    const QString path = file(name.isEmpty() ? QStringLiteral("absent.png") : name);
    if (!name.isEmpty())
      QVERIFY(writeFile(path, bytes));
    FakeServices fakes;
    fakes.fileDialogs.openReplies = {path};
    PictureChooser chooser(&fakes.fileDialogs, &fakes.messages, FSet);
    bool stayedOpen = false;
    const auto picture = runChooser(chooser, "Ma tasse", [&](PictureChooserDialog* d) {
      QTest::mouseClick(d->BtnFile, Qt::LeftButton);
      stayedOpen = d->isVisible();
      if (stayedOpen)
        QTest::mouseClick(d->BtnCancel, Qt::LeftButton);
    });
    QCOMPARE(fakes.fileDialogs.openFilters,
             QStringList{"Images PNG, JPEG, SVG (*.png *.jpg *.jpeg *.svg) |"
                         "*.png;*.jpg;*.jpeg;*.svg"});
    if (contentType.isEmpty()) {
      QVERIFY(stayedOpen);
      QVERIFY(!picture);
      QCOMPARE(fakes.messages.shown, QStringList{message});
      return;
    }
    QVERIFY(!stayedOpen);
    QVERIFY(picture);
    QVERIFY(fakes.messages.shown.isEmpty());
    QCOMPARE(picture->contentType, contentType);
    QCOMPARE(picture->licence, QString()); // the carer's own
    if (contentType == QLatin1String("image/svg+xml")) {
      QCOMPARE(picture->data, bytes);
      return;
    }
    QVERIFY(picture->data.startsWith("\x89PNG"));
    QCOMPARE(QImage::fromData(picture->data).size(), size);
  }

  void aFileTooLargeToReadIsNotRead() {
    const QString path = file(QStringLiteral("film.png"));
    QFile big(path);
    QVERIFY(big.open(QIODevice::WriteOnly));
    QVERIFY(big.resize(picturedecoder::kMaxSourceBytes + 1));
    big.close();
    const auto outcome = picturechoice::fromFile(path);
    QVERIFY(!outcome.picture);
    QCOMPARE(outcome.message, QStringLiteral("Le fichier « film.png » est trop gros pour une image "
                                             "du tableau (32 Mo au plus)."));
    // Nor is a device read as a file: it could be read for ever.
    QCOMPARE(picturechoice::fromFile("/dev/zero").message,
             QStringLiteral("Le fichier « zero » est introuvable ou ne peut pas être lu."));
    // Nor is a folder taken for a file.
    QCOMPARE(picturechoice::fromFile(FDir.path()).message,
             "Le fichier « " + QFileInfo(FDir.path()).fileName() +
                 " » est introuvable ou ne peut pas être lu.");
  }

  void theFileDialogShowsEveryKindOfPicture() {
    // The file dialog reads its patterns from the last parentheses of the description.
    const QString filter = QtFileDialogs::toQtFilter(picturechoice::fileFilter());
    const QRegularExpression lastParentheses(QStringLiteral("\\(([^()]*)\\)$"));
    const auto match = lastParentheses.match(filter);
    QVERIFY2(match.hasMatch(), qPrintable(filter));
    QCOMPARE(match.captured(1).split(QLatin1Char(' ')),
             (QStringList{"*.png", "*.jpg", "*.jpeg", "*.svg"}));
  }

  void aBrokenBuiltInPictureKeepsTheDialogOpen() {
    FakeServices fakes;
    PictureChooser chooser(&fakes.fileDialogs, &fakes.messages, FSet);
    bool stayedOpen = false;
    QStringList shown;
    const auto picture = runChooser(chooser, "J'ai le cœur brisé", [&](PictureChooserDialog* d) {
      shown = hexcodes(d->shown());
      QTest::keyClick(d->EdtSearch, Qt::Key_Return); // Enter takes the first
      stayedOpen = d->isVisible();
      d->reject();
    });
    QCOMPARE(shown, QStringList{"1F494"});
    QVERIFY(stayedOpen);
    QVERIFY(!picture);
    QCOMPARE(fakes.messages.shown,
             QStringList{"L'image « cœur brisé » des images intégrées est introuvable ou "
                         "endommagée."});
    QVERIFY(!chooser.bestPicture(QStringLiteral("cœur brisé")));
  }

  void missingSetStillOffersFiles() {
    FakeServices fakes;
    const QString png = file(QStringLiteral("maman.png"));
    QVERIFY(writeFile(png, encoded(photo(20, 20), "PNG")));
    fakes.fileDialogs.openReplies = {png};
    const QString missing = FDir.filePath(QStringLiteral("nulle-part"));
    PictureChooser chooser(&fakes.fileDialogs, &fakes.messages, missing);
    QVERIFY(!chooser.bestPicture(QStringLiteral("J'ai soif")));
    QString shown;
    bool searchEnabled = true, chooseEnabled = true;
    const auto picture = runChooser(chooser, "Maman", [&](PictureChooserDialog* d) {
      shown =
          d->StkResults->currentWidget() == d->LblNoPictures ? d->LblNoPictures->text() : QString();
      searchEnabled = d->EdtSearch->isEnabled();
      chooseEnabled = d->BtnChoose->isEnabled();
      QTest::mouseClick(d->BtnFile, Qt::LeftButton);
      if (d->isVisible())
        d->reject();
    });
    QCOMPARE(shown, "Les images intégrées ne sont pas installées : le fichier « " + missing +
                        "/index.tsv » est introuvable.\n\nVous pouvez prendre une image à vous "
                        "avec « Fichier... ».");
    QVERIFY(!searchEnabled);
    QVERIFY(!chooseEnabled);
    QVERIFY(picture);
    QCOMPARE(picture->contentType, QStringLiteral("image/png"));
    QVERIFY(fakes.messages.shown.isEmpty());
  }

  void oneClickForJaiSoifInTheRealSet() {
    FakeServices fakes;
    PictureChooser chooser(&fakes.fileDialogs, &fakes.messages); // the set beside the program
    QString first;
    bool drawn = false;
    QElapsedTimer clock;
    clock.start();
    qint64 upMs = -1;
    const auto picture = runChooser(chooser, "J'ai soif", [&](PictureChooserDialog* d) {
      upMs = clock.elapsed();
      first = d->shown().empty() ? d->LblNoPictures->text() : d->shown().front().hexcode;
      drawn = QTest::qWaitFor([d] { return !d->LstPictures->item(0)->icon().isNull(); });
      QTest::mouseClick(d->BtnChoose, Qt::LeftButton);
      if (d->isVisible())
        d->reject();
    });
    qInfo("set loaded and chooser shown in %lld ms", upMs);
    QVERIFY2(first == QLatin1String("1F6B0") || first == QLatin1String("1F964"), qPrintable(first));
    QVERIFY(drawn);
    QVERIFY(picture);
    QCOMPARE(picture->contentType, QStringLiteral("image/svg+xml"));
    QCOMPARE(picture->licence, QString::fromUtf8(kBuiltInLicence));
    QVERIFY(!picturedecoder::decode(picture->data, picture->contentType, QSize(64, 64)).isNull());
  }

  void bestPictureForATab_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("hexcode"); // empty: none
    QTest::newRow("a word of the text") << "Je veux boire"
                                        << "1F6B0";
    QTest::newRow("nothing for the text") << "Bonjour"
                                          << "";
    QTest::newRow("an empty text") << ""
                                   << "";
  }
  void bestPictureForATab() {
    QFETCH(QString, caption);
    QFETCH(QString, hexcode);
    FakeServices fakes;
    PictureChooser chooser(&fakes.fileDialogs, &fakes.messages, FSet);
    // Nothing is read before the first picture is asked for: the program starts as quickly.
    QVERIFY(!chooser.catalogueLoaded());
    const auto picture = chooser.bestPicture(caption);
    QVERIFY(chooser.catalogueLoaded());
    if (hexcode.isEmpty()) {
      QVERIFY(!picture);
      return;
    }
    QVERIFY(picture);
    QCOMPARE(*picture, (BoardPicture{contents(FSet + "/" + hexcode + ".svg"), "image/svg+xml",
                                     QString::fromUtf8(kBuiltInLicence)}));
    QVERIFY(fakes.messages.shown.isEmpty());
  }
};

ORIVOX_TEST(PictureChooserTest)
#include "PictureChooserTest.moc"

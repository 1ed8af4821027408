// Pictures out to the Open Board Format, with their licences as the format gives them and, when
// that would change a byte of them, as the board keeps them.
#include "interchange/PictureExport.h"

#include "interchange/Bounds.h"
#include "interchange/OrivoxFields.h"

#include <QBuffer>
#include <QImageReader>
#include <QJsonDocument>

namespace interchange {

Status PictureExport::check(const BoardData& board) {
  for (const BoardTab& tab : board.tabs)
    for (const BoardPicture& p : tab.pictures)
      if (p.licence.toUtf8().size() > bounds::kMaxLicenceBytes)
        return Status::failure(
            QStringLiteral("la licence d'une image dépasse %1 octets, plus qu'un import n'en lit.")
                .arg(bounds::kMaxLicenceBytes));
  return succeeded();
}

QString PictureExport::idOf(int index) {
  return QStringLiteral("image-%1").arg(index + 1);
}

QString PictureExport::pathOf(int index) const {
  const BoardPicture& p = FSet.pictures()[index];
  return QStringLiteral("images/%1.%2")
      .arg(idOf(index), p.contentType == QLatin1String("image/svg+xml") ? QStringLiteral("svg")
                                                                        : QStringLiteral("png"));
}

QString PictureExport::idFor(const BoardTab& tab, qsizetype text) {
  const BoardPicture* p = tab.pictureOf(text);
  if (!p)
    return {};
  const int index = FSet.idOf(*p) - 1;
  if (index == FEntries.size())
    FEntries << entryFor(*p, index);
  if (!FInBoard.contains(index)) {
    FInBoard.insert(index);
    FBoard << index;
  }
  return idOf(index);
}

QJsonArray PictureExport::takeBoardImages() {
  QJsonArray images;
  for (int index : FBoard)
    images.append(FEntries[index]);
  FBoard.clear();
  FInBoard.clear();
  return images;
}

QList<QPair<QString, QByteArray>> PictureExport::files() const {
  QList<QPair<QString, QByteArray>> files;
  for (qsizetype i = 0; i < FSet.pictures().size(); ++i)
    files.append({pathOf(int(i)), FSet.pictures()[i].data});
  return files;
}

QJsonObject PictureExport::manifestPaths() const {
  QJsonObject paths;
  for (qsizetype i = 0; i < FSet.pictures().size(); ++i)
    paths.insert(idOf(int(i)), pathOf(int(i)));
  return paths;
}

QJsonObject PictureExport::entryFor(const BoardPicture& picture, int index) const {
  QJsonObject entry{{"id", idOf(index)}, {"content_type", picture.contentType}};
  if (picture.contentType == QLatin1String("image/png")) {
    // The size is in the header: read without decoding a pixel.
    QByteArray copy = picture.data;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    const QSize size = QImageReader(&buffer, "png").size();
    if (size.isValid()) {
      entry.insert("width", size.width());
      entry.insert("height", size.height());
    }
  }
  if (FInPackage)
    entry.insert("path", pathOf(index));
  else
    entry.insert("data", QStringLiteral("data:%1;base64,").arg(picture.contentType) +
                             QString::fromLatin1(picture.data.toBase64()));
  if (!picture.licence.isEmpty()) {
    const QJsonDocument parsed = QJsonDocument::fromJson(picture.licence.toUtf8());
    if (parsed.isObject())
      entry.insert("license", parsed.object());
    // The format's object reorders keys and spacing: the text itself travels beside it, so
    // that the licence comes back byte for byte.
    if (!parsed.isObject() ||
        QString::fromUtf8(parsed.toJson(QJsonDocument::Compact)) != picture.licence)
      entry.insert(orivoxfields::kLicence, picture.licence);
  }
  return entry;
}

} // namespace interchange

// The pictures block: a marker line with the block's version, then one line per distinct
// picture, "image=ID,TYPE,LICENCE,DATA" (the licence in UTF-8 and the bytes, both in base64),
// then one line per text that shows one, "text=TAB,TEXT,ID" (0-based indexes). Base64 holds
// neither a line end nor byte 26, so a picture never shifts the lines that follow it.
#include "documents/PictureBlock.h"

#include <QStringList>

namespace {

constexpr char kMarker[] = "#OrivoxPictures";
constexpr int kVersion = 1;
constexpr char kPictureKey[] = "image=";
constexpr char kTextKey[] = "text=";
constexpr qsizetype kMaxContentTypeBytes = 100;

qsizetype base64Length(qint64 bytes) {
  return qsizetype((bytes + 2) / 3 * 4);
}

// Plain decimal, as written: no sign, no blank, no leading zero but for 0 itself.
std::optional<qint64> index(const QByteArray& field) {
  if (field.isEmpty() || field.size() > 9 || (field.size() > 1 && field[0] == '0'))
    return std::nullopt;
  qint64 v = 0;
  for (char c : field) {
    if (c < '0' || c > '9')
      return std::nullopt;
    v = v * 10 + (c - '0');
  }
  return v;
}

std::optional<QByteArray> fromBase64(const QByteArray& field) {
  auto decoded = QByteArray::fromBase64Encoding(field, QByteArray::AbortOnBase64DecodingErrors);
  // Only the form this version writes is read, so that what is read is written back the same.
  if (!decoded || decoded.decoded.toBase64() != field)
    return std::nullopt;
  return decoded.decoded;
}

bool plainContentType(const QByteArray& t) {
  if (!t.startsWith("image/") || t.size() > kMaxContentTypeBytes)
    return false;
  for (char c : t)
    if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '/' || c == '+' || c == '-' ||
          c == '.'))
      return false;
  return true;
}

} // namespace

namespace pictureblock {

bool isMarker(const QByteArray& line) {
  const QByteArray prefix = QByteArray(kMarker) + ' ';
  return line.startsWith(prefix) && index(line.mid(prefix.size())).value_or(0) >= 1;
}

qsizetype maxLineBytes() {
  return qsizetype(sizeof kPictureKey) + 10 + kMaxContentTypeBytes +
         base64Length(boardfile::kMaxLineBytes * 3) + base64Length(boardfile::kMaxPictureBytes) + 3;
}

int PictureSet::idOf(const BoardPicture& p) {
  auto same = [&p](const BoardPicture& q) {
    return q.contentType == p.contentType && q.licence == p.licence &&
           ((q.data.constData() == p.data.constData() && q.data.size() == p.data.size()) ||
            q.data == p.data);
  };
  for (int i : FByBuffer.value(p.data.constData()))
    if (same(FPictures[i]))
      return i + 1;
  for (int i : FByData.value(p.data))
    if (same(FPictures[i])) {
      FByBuffer[p.data.constData()].append(i);
      return i + 1;
    }
  const int i = int(FPictures.size());
  FPictures.append(p);
  FByBuffer[p.data.constData()].append(i);
  FByData[p.data].append(i);
  FBytes += p.data.size();
  return i + 1;
}

std::optional<Reader::Failure> Reader::take(const QByteArray& line) {
  if (line.startsWith(kPictureKey))
    return picture(line.mid(qsizetype(sizeof kPictureKey) - 1));
  if (line.startsWith(kTextKey))
    return text(line.mid(qsizetype(sizeof kTextKey) - 1));
  return std::nullopt; // a later version's line
}

std::optional<Reader::Failure> Reader::picture(const QByteArray& fields) {
  const Failure damaged;
  const QList<QByteArray> f = fields.split(',');
  if (f.size() != 4)
    return damaged;
  const auto id = index(f[0]);
  const auto licence = fromBase64(f[2]);
  if (!id || FById.contains(*id) || !plainContentType(f[1]) || !licence)
    return damaged;
  if (f[3].size() > base64Length(boardfile::kMaxPictureBytes))
    return Failure{true, BoardBound::PictureBytes};
  const auto data = fromBase64(f[3]);
  if (!data || data->isEmpty())
    return damaged;
  if (data->size() > boardfile::kMaxPictureBytes)
    return Failure{true, BoardBound::PictureBytes};
  if (FById.size() >= boardfile::kMaxPictures)
    return Failure{true, BoardBound::PictureCount};
  if ((FBytes += data->size()) > boardfile::kMaxPictureBytesInAll)
    return Failure{true, BoardBound::PictureBytesInAll};
  FById.insert(*id, BoardPicture{*data, QString::fromLatin1(f[1]), QString::fromUtf8(*licence)});
  return std::nullopt;
}

std::optional<Reader::Failure> Reader::text(const QByteArray& fields) {
  const Failure damaged;
  const QList<QByteArray> f = fields.split(',');
  if (f.size() != 3)
    return damaged;
  const auto tab = index(f[0]);
  const auto text = index(f[1]);
  const auto id = index(f[2]);
  if (!tab || !text || !id || *tab >= FTabs.size() || *text >= FTabs[*tab].texts.size() ||
      !FById.contains(*id))
    return damaged;
  QList<BoardPicture>& pictures = FTabs[*tab].pictures;
  if (pictures.isEmpty())
    pictures.resize(FTabs[*tab].texts.size());
  if (!pictures[*text].isNull())
    return damaged; // one picture per text: a second one is not this program's writing
  pictures[*text] = FById.value(*id);
  return std::nullopt;
}

QByteArray write(const QList<BoardTab>& tabs) {
  PictureSet set;
  QByteArray texts;
  for (qsizetype t = 0; t < tabs.size(); ++t)
    for (qsizetype i = 0; i < tabs[t].texts.size(); ++i)
      if (const BoardPicture* p = tabs[t].pictureOf(i))
        texts += kTextKey + QByteArray::number(t) + ',' + QByteArray::number(i) + ',' +
                 QByteArray::number(set.idOf(*p)) + "\r\n";
  if (texts.isEmpty())
    return {};
  QByteArray out = QByteArray(kMarker) + ' ' + QByteArray::number(kVersion) + "\r\n";
  for (qsizetype i = 0; i < set.pictures().size(); ++i) {
    const BoardPicture& p = set.pictures()[i];
    out += kPictureKey + QByteArray::number(i + 1) + ',' + p.contentType.toLatin1() + ',' +
           p.licence.toUtf8().toBase64() + ',' + p.data.toBase64() + "\r\n";
  }
  return out + texts;
}

} // namespace pictureblock

namespace boardfile {

std::optional<QString> pictureBoundPassed(const BoardData& board, const BoardPicture& added) {
  return pictureBoundPassed(board, QList<BoardPicture>{added});
}

std::optional<QString> pictureBoundPassed(const BoardData& board,
                                          const QList<BoardPicture>& added) {
  for (const BoardPicture& p : added)
    if (p.data.size() > kMaxPictureBytes)
      return QStringLiteral("Une image ne peut pas dépasser %1 Mo").arg(kMaxPictureBytes >> 20);
  pictureblock::PictureSet set;
  for (const BoardTab& tab : board.tabs)
    for (const BoardPicture& p : tab.pictures)
      if (!p.isNull())
        set.idOf(p);
  const qsizetype had = set.pictures().size();
  for (const BoardPicture& p : added)
    if (!p.isNull())
      set.idOf(p);
  if (set.pictures().size() == had)
    return std::nullopt; // pictures the board holds already add nothing
  if (set.pictures().size() > kMaxPictures)
    return QStringLiteral("Un tableau ne peut pas avoir plus de %1 images").arg(kMaxPictures);
  if (set.bytes() > kMaxPictureBytesInAll)
    return QStringLiteral("Les images d'un tableau ne peuvent pas dépasser %1 Mo en tout")
        .arg(kMaxPictureBytesInAll >> 20);
  return std::nullopt;
}

} // namespace boardfile

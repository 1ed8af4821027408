// The shape of a board's JSON, counted before it is parsed.
#include "interchange/BoardJson.h"

#include "interchange/Bounds.h"

#include <QJsonDocument>
#include <QJsonParseError>

namespace interchange {

namespace {

using namespace bounds;

// Counts outside strings: every value but the first of its array or object follows a comma, so
// commas and opening brackets together are at least the values held.
Result<Done> checkShape(const QByteArray& json, const QString& what) {
  const auto tooMany = [&what](qint64 bound) {
    return Status::failure(
        QStringLiteral("%1 compte plus de %2 éléments : aucun tableau Orivox n'en a autant.")
            .arg(what)
            .arg(bound));
  };
  int depth = 0;
  qint64 elements = 0;
  qint64 groups = 0;
  qint64 stringStart = -1;
  const char* p = json.constData();
  const qsizetype size = json.size();
  for (qsizetype i = 0; i < size; ++i) {
    const char c = p[i];
    if (stringStart >= 0) {
      if (c == '\\')
        ++i;
      else if (c == '"') {
        if (i - stringStart > kMaxJsonString)
          return Status::failure(QStringLiteral("%1 contient un texte de plus de %2 Mo.")
                                     .arg(what, megabytes(kMaxJsonString)));
        stringStart = -1;
      }
      continue;
    }
    switch (c) {
    case '"':
      stringStart = i;
      break;
    case '[':
    case '{':
      if (++depth > kMaxJsonDepth)
        return Status::failure(
            QStringLiteral("%1 est imbriqué sur plus de %2 niveaux.").arg(what).arg(kMaxJsonDepth));
      if (++groups > kMaxJsonGroups)
        return tooMany(kMaxJsonGroups);
      [[fallthrough]];
    case ',':
      if (++elements > kMaxJsonElements)
        return tooMany(kMaxJsonElements);
      break;
    case ']':
    case '}':
      --depth;
      break;
    default:
      break;
    }
  }
  // An unterminated string is left to the parser, which refuses it.
  if (stringStart >= 0 && size - stringStart > kMaxJsonString)
    return Status::failure(QStringLiteral("%1 contient un texte de plus de %2 Mo.")
                               .arg(what, megabytes(kMaxJsonString)));
  return succeeded();
}

} // namespace

QString tooLargeFile(const QString& what) {
  return QStringLiteral("%1 dépasse %2 Mo.").arg(what, megabytes(kMaxJsonBytes));
}

Result<QJsonObject> parseBoardJson(QByteArray bytes, const QString& what) {
  using R = Result<QJsonObject>;
  if (bytes.size() > kMaxJsonBytes)
    return R::failure(tooLargeFile(what));
  if (const Status shape = checkShape(bytes, what); !shape.ok())
    return R::failure(shape.errorString());
  QJsonParseError error;
  const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
  bytes = QByteArray();
  if (error.error != QJsonParseError::NoError || !doc.isObject())
    return R::failure(QStringLiteral("%1 n'est pas un fichier JSON valide.").arg(what));
  return doc.object();
}

} // namespace interchange

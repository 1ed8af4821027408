// Checks of the Open Board Format's rules.
#include "interchange/FormatCheck.h"

#include "interchange/Bounds.h"
#include "interchange/ZipPackage.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace interchange {

namespace {

const QString kFormat = QStringLiteral("open-board-0.1");

bool positiveInteger(const QJsonValue& v) {
  return v.isDouble() && v.toDouble() >= 1 && v.toDouble() == double(qint64(v.toDouble()));
}

// Ids are strings by the format (numbers are tolerated on reading, never written).
bool stringId(const QJsonValue& v) {
  return v.isString() && !v.toString().isEmpty();
}

// Named as stored: the format wants the exact entry name, not another spelling of it.
bool inPackage(const QString& path, const QSet<QString>* files) {
  return files && packagePath(path) == path && files->contains(path);
}

void checkMedia(const QJsonObject& board, const char* kind, QStringList& errors,
                const QSet<QString>* files) {
  const QJsonValue list = board.value(QLatin1String(kind));
  if (!list.isArray()) {
    errors << QStringLiteral("%1 doit être un tableau JSON").arg(kind);
    return;
  }
  for (const QJsonValue& item : list.toArray()) {
    const QJsonObject o = item.toObject();
    if (!item.isObject() || !stringId(o.value("id")))
      errors << QStringLiteral("%1 : chaque élément a un id").arg(kind);
    if (!o.value("content_type").isString())
      errors << QStringLiteral("%1 : content_type manquant").arg(kind);
    if (!o.contains("url") && !o.contains("data") && !o.contains("path") && !o.contains("symbol"))
      errors << QStringLiteral("%1 : ni url, ni data, ni path, ni symbol").arg(kind);
    if (o.contains("path") && !inPackage(o.value("path").toString(), files))
      errors << QStringLiteral("%1 : path hors du paquet").arg(kind);
    if (o.contains("license") && !o.value("license").isObject())
      errors << QStringLiteral("%1 : license doit être un objet").arg(kind);
  }
}

QSet<QString> mediaIds(const QJsonObject& board, const char* kind) {
  QSet<QString> ids;
  for (const QJsonValue& item : board.value(QLatin1String(kind)).toArray())
    ids.insert(item.toObject().value("id").toString());
  return ids;
}

void checkHeader(const QJsonObject& b, QStringList& errors) {
  if (b.value("format").toString() != kFormat)
    errors << QStringLiteral("format différent de %1").arg(kFormat);
  if (!stringId(b.value("id")))
    errors << QStringLiteral("id manquant ou non textuel");
  if (!b.value("locale").isString())
    errors << QStringLiteral("locale manquante");
  static const QSet<QString> known{
      "format",           "id",      "locale", "url",    "data_url", "name",
      "description_html", "buttons", "images", "sounds", "grid",     "license"};
  for (const QString& key : b.keys())
    if (!known.contains(key) && !key.startsWith(QLatin1String("ext_")))
      errors << QStringLiteral("attribut %1 sans préfixe ext_").arg(key);
}

} // namespace

bool isColour(const QString& value) {
  // The whole value: "rgb(1,2,3)junk" is no colour.
  static const QRegularExpression colour(
      QStringLiteral(R"(^\s*rgba?\(\s*\d+\s*,\s*\d+\s*,\s*\d+\s*(,\s*[01]?\.?\d*\s*)?\)\s*$)"));
  return colour.match(value).hasMatch();
}

namespace {

void checkButton(const QJsonObject& button, const QSet<QString>* files, QSet<QString>& buttonIds,
                 const QSet<QString>& imageIds, QStringList& errors) {
  const QString id = button.value("id").toString();
  if (!stringId(button.value("id")))
    errors << QStringLiteral("bouton sans id textuel");
  else if (buttonIds.contains(id))
    errors << QStringLiteral("id de bouton en double : %1").arg(id);
  buttonIds.insert(id);
  if (!button.value("label").isString())
    errors << QStringLiteral("bouton %1 sans label").arg(id);
  for (const char* key : {"background_color", "border_color"})
    if (button.contains(QLatin1String(key)) &&
        !isColour(button.value(QLatin1String(key)).toString()))
      errors << QStringLiteral("bouton %1 : couleur %2 invalide").arg(id, key);
  if (button.contains("hidden") && !button.value("hidden").isBool())
    errors << QStringLiteral("bouton %1 : hidden non booléen").arg(id);
  if (button.contains("action") && !button.value("action").toString().startsWith(':') &&
      !button.value("action").toString().startsWith('+'))
    errors << QStringLiteral("bouton %1 : action invalide").arg(id);
  if (button.contains("image_id") && !imageIds.contains(button.value("image_id").toString()))
    errors << QStringLiteral("bouton %1 : image_id ne nomme aucune image").arg(id);
  const QJsonObject load = button.value("load_board").toObject();
  if (load.contains("path") && !inPackage(load.value("path").toString(), files))
    errors << QStringLiteral("bouton %1 : load_board.path hors du paquet").arg(id);
}

void checkGrid(const QJsonObject& b, const QSet<QString>& buttonIds, QStringList& errors) {
  const QJsonObject grid = b.value("grid").toObject();
  if (!b.value("grid").isObject() || !positiveInteger(grid.value("rows")) ||
      !positiveInteger(grid.value("columns"))) {
    errors << QStringLiteral("grid.rows et grid.columns doivent être des entiers positifs");
    return;
  }
  const QJsonArray order = grid.value("order").toArray();
  const int rows = grid.value("rows").toInt();
  const int columns = grid.value("columns").toInt();
  if (!grid.value("order").isArray() || order.size() != rows)
    errors << QStringLiteral("grid.order n'a pas %1 lignes").arg(rows);
  for (const QJsonValue& row : order) {
    if (!row.isArray() || row.toArray().size() != columns)
      errors << QStringLiteral("une ligne de grid.order n'a pas %1 colonnes").arg(columns);
    for (const QJsonValue& cell : row.toArray())
      if (!cell.isNull() && !buttonIds.contains(cell.toString()))
        errors << QStringLiteral("grid.order nomme un bouton absent : %1").arg(cell.toString());
  }
}

} // namespace

QStringList checkObf(const QByteArray& json, const QSet<QString>* files) {
  QJsonParseError parse;
  const QJsonDocument doc = QJsonDocument::fromJson(json, &parse);
  if (parse.error != QJsonParseError::NoError || !doc.isObject())
    return {QStringLiteral("JSON illisible")};
  const QJsonObject b = doc.object();
  QStringList errors;
  checkHeader(b, errors);
  QSet<QString> buttonIds;
  if (!b.value("buttons").isArray())
    errors << QStringLiteral("buttons doit être un tableau JSON");
  const QSet<QString> imageIds = mediaIds(b, "images");
  for (const QJsonValue& v : b.value("buttons").toArray())
    checkButton(v.toObject(), files, buttonIds, imageIds, errors);
  checkGrid(b, buttonIds, errors);
  checkMedia(b, "images", errors, files);
  checkMedia(b, "sounds", errors, files);
  return errors;
}

QStringList checkObz(const QByteArray& package) {
  ZipReader zip = ZipReader::fromBytes(package, bounds::kMaxPackageJsonBytes);
  if (!zip.isOpen())
    return {QStringLiteral("zip illisible")};
  QSet<QString> files;
  for (const QString& name : zip.names())
    files.insert(name);
  QStringList errors;
  const QJsonObject manifest = QJsonDocument::fromJson(zip.read("manifest.json").value()).object();
  if (manifest.isEmpty())
    return {QStringLiteral("manifest.json manquant ou illisible")};
  if (manifest.value("format").toString() != kFormat)
    errors << QStringLiteral("manifest : format différent de %1").arg(kFormat);
  const QString root = manifest.value("root").toString();
  if (!inPackage(root, &files))
    errors << QStringLiteral("manifest : root ne nomme pas un fichier du paquet");
  const QJsonObject paths = manifest.value("paths").toObject();
  if (!paths.value("boards").isObject())
    errors << QStringLiteral("manifest : paths.boards doit être un objet");
  for (const char* kind : {"images", "sounds"})
    if (paths.contains(QLatin1String(kind)) && !paths.value(QLatin1String(kind)).isObject())
      errors << QStringLiteral("manifest : paths.%1 doit être un objet").arg(kind);
  QSet<QString> listed{QStringLiteral("manifest.json")};
  for (const char* kind : {"boards", "images", "sounds"}) {
    const QJsonObject map = paths.value(QLatin1String(kind)).toObject();
    for (auto it = map.begin(); it != map.end(); ++it) {
      const QString path = it->toString();
      listed.insert(path);
      if (!inPackage(path, &files))
        errors << QStringLiteral("manifest : %1 n'est pas un fichier du paquet").arg(path);
    }
  }
  for (const QString& f : files)
    if (!listed.contains(f))
      errors << QStringLiteral("%1 n'est pas dans le manifest").arg(f);
  const QJsonObject boards = paths.value("boards").toObject();
  for (auto it = boards.begin(); it != boards.end(); ++it) {
    const QByteArray json = zip.read(it->toString()).value();
    if (QJsonDocument::fromJson(json).object().value("id").toString() != it.key())
      errors << QStringLiteral("%1 : l'id ne correspond pas au manifest").arg(it->toString());
    for (const QString& e : checkObf(json, &files))
      errors << it->toString() + QStringLiteral(" : ") + e;
  }
  return errors;
}

} // namespace interchange

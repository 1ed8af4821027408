// Packages (".obz") read breadth first from their root board, each board once, every path they
// name checked, and their boards inflated within one bound for all.
#include "interchange/BoardImporter.h"
#include "interchange/BoardJson.h"
#include "interchange/Formats.h"
#include "interchange/ZipPackage.h"

#include <QSet>

namespace interchange {

namespace {

using namespace boardimport;

Result<QString> checkedPath(const QString& path) {
  const QString inside = packagePath(path);
  if (inside.isEmpty())
    return Result<QString>::failure(QStringLiteral("le chemin « %1 » sort du paquet.").arg(path));
  return inside;
}

// A package read breadth first from its root board: the root's own board, then the boards it
// leads to, in order, each once.
class PackageImport {
public:
  explicit PackageImport(ZipReader& zip) : FZip(zip) {
    // Entries by their one spelling, so that "./boards/a.obf" is found as "boards/a.obf".
    for (const QString& name : zip.names())
      if (const QString inside = packagePath(name); !inside.isEmpty())
        FEntries.insert(inside, name);
    FImporter.pictures = PictureImport(
        [this](const QString& path, qint64 maxBytes, qint64& spent) -> std::optional<QByteArray> {
          const auto stored = FEntries.constFind(path);
          if (stored == FEntries.constEnd())
            return std::nullopt;
          spent = maxBytes; // what a read that fails part way may have inflated
          Result<QByteArray> bytes = FZip.readUpTo(*stored, maxBytes);
          if (!bytes.ok())
            return std::nullopt;
          spent = bytes.value().size();
          return bytes.take();
        });
  }

  ImportResult run() {
    Result<QString> root = rootPath();
    if (!root.ok())
      return refused(root.errorString());
    if (const Status walked = walkFrom(root.value()); !walked.ok())
      return refused(walked.errorString());
    return done(FImporter);
  }

private:
  ZipReader& FZip;
  QHash<QString, QString> FEntries;    // one spelling -> stored name
  QHash<QString, QString> FBoardPaths; // id -> path, from the manifest
  BoardImporter FImporter;

  Result<QJsonObject> readBoardFile(const QString& path) {
    Result<QByteArray> bytes = FZip.read(FEntries.value(path));
    if (!bytes.ok())
      return Result<QJsonObject>::failure(bytes.errorString());
    return parseBoardJson(bytes.take(), QStringLiteral("le fichier %1 du paquet").arg(path));
  }

  // Every path the manifest names is checked, images and sounds included: a package that
  // points outside itself is not trusted with anything.
  Result<QString> rootPath() {
    using R = Result<QString>;
    const QString manifestName = QStringLiteral("manifest.json");
    if (!FEntries.contains(manifestName))
      return rootWithoutManifest();
    Result<QJsonObject> manifest = readBoardFile(manifestName);
    if (!manifest.ok())
      return R::failure(manifest.errorString());
    const QJsonObject paths = manifest.value().value(QLatin1String("paths")).toObject();
    for (const char* kind : {"boards", "images", "sounds"}) {
      const QJsonObject map = paths.value(QLatin1String(kind)).toObject();
      for (auto it = map.begin(); it != map.end(); ++it) {
        if (!it->isString())
          continue;
        const R path = checkedPath(it->toString());
        if (!path.ok())
          return path;
        if (qstrcmp(kind, "boards") == 0)
          FBoardPaths.insert(it.key(), path.value());
      }
    }
    const QJsonValue root = manifest.value().value(QLatin1String("root"));
    const R path = root.isString() ? checkedPath(root.toString()) : R(QString());
    if (path.ok() && !FEntries.contains(path.value()))
      return R::failure(QStringLiteral("le tableau principal du paquet est introuvable."));
    return path;
  }

  // A package of one board may go without a manifest.
  Result<QString> rootWithoutManifest() const {
    QStringList boards;
    for (auto it = FEntries.begin(); it != FEntries.end(); ++it)
      if (it.key().endsWith(QLatin1String(".obf"), Qt::CaseInsensitive))
        boards << it.key();
    if (boards.size() != 1)
      return Result<QString>::failure(QStringLiteral("le paquet n'a pas de manifest.json."));
    return boards.first();
  }

  Result<QString> resolve(const QJsonObject& loadBoard) const {
    const QJsonValue path = loadBoard.value(QLatin1String("path"));
    QString target;
    if (path.isString()) {
      Result<QString> checked = checkedPath(path.toString());
      if (!checked.ok())
        return checked;
      target = checked.value();
    } else {
      target = FBoardPaths.value(idOf(loadBoard.value(QLatin1String("id"))));
    }
    // A board the package lacks is a link that leads nowhere: left out, counted.
    return FEntries.contains(target) ? target : QString();
  }

  // As for the manifest: a picture named outside the package distrusts the whole of it.
  static Status picturePathsInside(const QJsonObject& board) {
    for (const QJsonValue& image : board.value(QLatin1String("images")).toArray()) {
      const QJsonValue path = image.toObject().value(QLatin1String("path"));
      if (path.isString())
        if (const Result<QString> checked = checkedPath(path.toString()); !checked.ok())
          return Status::failure(checked.errorString());
    }
    return succeeded();
  }

  Status walkFrom(const QString& rootPath) {
    const Resolver resolver = [this](const QJsonObject& l) { return resolve(l); };
    QList<Link> queue{Link{rootPath, {}}};
    QSet<QString> seen{rootPath};
    QHash<QString, QString> boardIds; // id -> path, for collisions
    for (qsizetype next = 0; next < queue.size(); ++next) {
      const Link link = queue[next];
      const Result<QJsonObject> obj = readBoardFile(link.path);
      if (!obj.ok())
        return Status::failure(obj.errorString());
      if (const Status inside = picturePathsInside(obj.value()); !inside.ok())
        return inside;
      const QString id = idOf(obj.value().value(QLatin1String("id")));
      if (!id.isEmpty()) {
        if (boardIds.contains(id) && boardIds.value(id) != link.path)
          return Status::failure(
              QStringLiteral("deux tableaux portent l'identifiant « %1 ».").arg(id));
        boardIds.insert(id, link.path);
      }
      Result<BoardContent> content = FImporter.readBoard(
          obj.value(), QStringLiteral("le tableau %1").arg(link.path), resolver);
      if (!content.ok())
        return Status::failure(content.errorString());
      if (const Status added = addBoard(obj.value(), link, next == 0, content.value().entries);
          !added.ok())
        return added;
      for (const Link& l : content.value().links) {
        if (seen.contains(l.path))
          continue;
        seen.insert(l.path);
        // Boards beyond the root, each a tab to be: the queue never outgrows the board.
        if (const auto bound = boardfile::boundPassed(seen.size() - 1, 0, {}))
          return Status::failure(bounds::tooLarge(*bound));
        queue << l;
      }
    }
    return succeeded();
  }

  // The root of an Orivox package only leads to the tabs, and carries the board's look; texts
  // another program put there make a tab of their own.
  Status addBoard(const QJsonObject& obj, const Link& link, bool isRoot,
                  const QList<Entry>& entries) {
    const bool orivoxRoot = isRoot && obj.value(orivoxfields::kBoard).isObject();
    if (orivoxRoot)
      orivoxfields::applyBoardFields(obj.value(orivoxfields::kBoard).toObject(), FImporter.board);
    if (orivoxRoot && entries.isEmpty())
      return succeeded();
    const QString fallback = link.label.isEmpty()
                                 ? QStringLiteral("Onglet%1").arg(FImporter.board.tabs.size() + 1)
                                 : link.label;
    return FImporter.addTab(BoardImporter::nameOf(obj, fallback), entries);
  }
};

ImportResult importPackage(ZipReader zip) {
  if (!zip.isOpen())
    return refused(QStringLiteral("ce fichier n'est pas un paquet .obz lisible."));
  return PackageImport(zip).run();
}

} // namespace

ImportResult importObz(const QByteArray& package) {
  return importPackage(ZipReader::fromBytes(package, bounds::kMaxPackageJsonBytes));
}

ImportResult importObzFile(const QString& path) {
  return importPackage(ZipReader::fromFile(path, bounds::kMaxPackageJsonBytes));
}

} // namespace interchange

// Boards read from the Open Board Format: each board a tab of texts, in grid order, boards
// linked from the package followed once each; what cannot be shown counted, hostile files
// refused whole.
#include "interchange/Interchange.h"
#include "interchange/OrivoxFields.h"
#include "interchange/ZipPackage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>

#include <cmath>

namespace interchange {

namespace {

// A board is a few hundred kilobytes of JSON at most; a package's boards together stay far
// below the total. Images and sounds are never inflated at all.
constexpr qint64 kMaxJsonBytes = 8 << 20;
constexpr qint64 kMaxPackageJsonBytes = 64 << 20;
// Boards nest objects five or six deep; anything far deeper is not a board.
constexpr int kMaxDepth = 32;
// What a board file of Orivox may hold: an import beyond it could be saved but never opened.
constexpr int kMaxTabs = boardfile::kMaxTabs;
constexpr qint64 kMaxTexts = boardfile::kMaxTexts;
constexpr qsizetype kMaxTextLength = boardfile::kMaxLineBytes;

struct Refusal {
  QString message;
};

[[noreturn]] void refuse(const QString& message) {
  throw Refusal{message};
}

QString megabytes(qint64 bytes) {
  return QString::number(bytes >> 20);
}

// Ids are strings by the format, numbers in many files: both name the same button.
QString idOf(const QJsonValue& v) {
  if (v.isString())
    return v.toString();
  if (v.isDouble()) {
    const double d = v.toDouble();
    if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 9e15)
      return QString::number(qint64(d));
    return QString::number(d, 'g', 17);
  }
  return {};
}

// Depth of brackets outside strings, counted before parsing so that a pathological nesting is
// refused with our own message whatever the parser's own limit.
bool nestingWithin(const QByteArray& json, int maxDepth) {
  int depth = 0;
  bool inString = false;
  for (qsizetype i = 0; i < json.size(); ++i) {
    const char c = json[i];
    if (inString) {
      if (c == '\\')
        ++i;
      else if (c == '"')
        inString = false;
    } else if (c == '"') {
      inString = true;
    } else if (c == '[' || c == '{') {
      if (++depth > maxDepth)
        return false;
    } else if (c == ']' || c == '}') {
      --depth;
    }
  }
  return true;
}

QJsonObject parseObject(const QByteArray& bytes, const QString& what) {
  if (bytes.size() > kMaxJsonBytes)
    refuse(QStringLiteral("%1 dépasse %2 Mo.").arg(what, megabytes(kMaxJsonBytes)));
  if (!nestingWithin(bytes, kMaxDepth))
    refuse(QStringLiteral("%1 est imbriqué sur plus de %2 niveaux.").arg(what).arg(kMaxDepth));
  QJsonParseError error;
  const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
  if (error.error != QJsonParseError::NoError || !doc.isObject())
    refuse(QStringLiteral("%1 n'est pas un fichier JSON valide.").arg(what));
  return doc.object();
}

// Texts are single lines of the board file: a line break or a control character would shift
// every line after it, so each becomes a space.
QString oneLine(QString s) {
  for (QChar& c : s)
    if (c.unicode() < 0x20 || c.unicode() == 0x7F)
      c = QLatin1Char(' ');
  return s;
}

// A path inside the package, in one spelling ("./a//b" is "a/b"), or nothing when it leaves
// the package: absolute, a drive, a backslash or a "..".
std::optional<QString> insidePath(const QString& path) {
  if (path.isEmpty() || path.startsWith(QLatin1Char('/')) || path.contains(QLatin1Char('\\')) ||
      path.contains(QChar(0)))
    return std::nullopt;
  QStringList parts;
  for (const QString& part : path.split(QLatin1Char('/'))) {
    if (part.isEmpty() || part == QLatin1String("."))
      continue;
    if (part == QLatin1String(".."))
      return std::nullopt;
    parts << part;
  }
  if (parts.isEmpty() || parts.first().contains(QLatin1Char(':')))
    return std::nullopt;
  return parts.join(QLatin1Char('/'));
}

QString checkedPath(const QString& path) {
  const auto inside = insidePath(path);
  if (!inside)
    refuse(QStringLiteral("le chemin « %1 » sort du paquet.").arg(path));
  return *inside;
}

// A new board's look (the default board's fonts), for boards made elsewhere.
BoardData newBoard() {
  BoardData b;
  b.selectedFont.color = clRed;
  b.unselectedFont.color = clNavy;
  return b;
}

struct Link {
  QString path;  // inside the package
  QString label; // the button's, a name for a board that has none
};

class Importer {
public:
  BoardData board = newBoard();
  Dropped dropped;

  // The texts of one board, in grid order. `resolve` turns a load_board into a package path
  // (empty when it cannot be followed); links found go to `links`.
  struct Entry {
    QString text;
    int tab = -1; // the tab of a lone Orivox board
  };
  template <typename Resolve>
  QList<Entry> readButtons(const QJsonObject& obj, const QString& what, Resolve resolve,
                           QList<Link>& links) {
    const QJsonValue buttonsValue = obj.value(QLatin1String("buttons"));
    if (!buttonsValue.isArray())
      refuse(QStringLiteral("%1 n'est pas un tableau au format Open Board.").arg(what));
    const QJsonArray buttons = buttonsValue.toArray();
    QHash<QString, QJsonObject> byId;
    for (const QJsonValue& b : buttons) {
      const QString id = idOf(b.toObject().value(QLatin1String("id")));
      if (id.isEmpty())
        continue;
      if (byId.contains(id))
        refuse(QStringLiteral("deux boutons portent l'identifiant « %1 » dans %2.").arg(id, what));
      byId.insert(id, b.toObject());
    }
    // Grid order, row by row, empty cells skipped; without a grid, the buttons as listed.
    QList<QJsonObject> ordered;
    const QJsonValue order =
        obj.value(QLatin1String("grid")).toObject().value(QLatin1String("order"));
    if (order.isArray()) {
      for (const QJsonValue& row : order.toArray())
        for (const QJsonValue& cell : row.toArray()) {
          const auto it = byId.constFind(idOf(cell));
          if (it != byId.constEnd())
            ordered << *it;
        }
    } else {
      for (const QJsonValue& b : buttons)
        if (b.isObject())
          ordered << b.toObject();
    }
    const bool fromOrivox = obj.contains(orivoxfields::kTab) || obj.contains(orivoxfields::kBoard);
    QList<Entry> entries;
    for (const QJsonObject& b : ordered) {
      if (b.value(QLatin1String("hidden")).toBool())
        continue;
      if (!b.value(QLatin1String("image_id")).isNull() &&
          !b.value(QLatin1String("image_id")).isUndefined())
        ++dropped.images;
      if (!b.value(QLatin1String("sound_id")).isNull() &&
          !b.value(QLatin1String("sound_id")).isUndefined())
        ++dropped.sounds;
      const QString label = b.value(QLatin1String("label")).toString();
      const QString vocalization = b.value(QLatin1String("vocalization")).toString();
      if (b.value(QLatin1String("load_board")).isObject()) {
        const QString target = resolve(b.value(QLatin1String("load_board")).toObject());
        if (target.isEmpty())
          ++dropped.actions;
        else
          links << Link{target, label};
        continue;
      }
      QStringList actions;
      if (b.value(QLatin1String("action")).isString())
        actions << b.value(QLatin1String("action")).toString();
      for (const QJsonValue& a : b.value(QLatin1String("actions")).toArray())
        if (a.isString() && !actions.contains(a.toString()))
          actions << a.toString();
      QString text = !vocalization.isEmpty() ? vocalization : label;
      bool command = false;
      for (const QString& a : actions) {
        // Spelling ("+a") adds letters, as a text does; a space is a text of its own here.
        if (a == QLatin1String(":space"))
          text = QStringLiteral(" ");
        else if (a.startsWith(QLatin1Char(':')))
          command = true;
      }
      if (command) {
        ++dropped.actions;
        continue;
      }
      if (text.isEmpty() && !fromOrivox)
        continue; // a picture alone, or an empty cell: nothing to show
      Entry e{oneLine(text), -1};
      const QJsonValue tab = b.value(orivoxfields::kTabIndex);
      if (tab.isDouble())
        e.tab = int(tab.toDouble());
      entries << e;
    }
    return entries;
  }

  void addTab(const QString& caption, const QList<Entry>& entries) {
    if (board.tabs.size() >= kMaxTabs)
      tooLarge();
    BoardTab tab;
    tab.caption = oneLine(caption);
    for (const Entry& e : entries)
      tab.texts << e.text;
    board.tabs << tab;
    count(tab);
  }

  void count(const BoardTab& tab) {
    texts += tab.texts.size();
    for (const QString& t : tab.texts)
      if (t.size() > kMaxTextLength)
        tooLarge();
    if (tab.caption.size() > kMaxTextLength || texts > kMaxTexts)
      tooLarge();
  }

  [[noreturn]] static void tooLarge() {
    refuse(QStringLiteral("le tableau dépasse ce qu'un tableau Orivox peut contenir (%1 onglets, "
                          "25 000 textes, 32 767 caractères par texte).")
               .arg(kMaxTabs));
  }

  static QString nameOf(const QJsonObject& obj, const QString& fallback) {
    const QJsonValue orivox =
        obj.value(orivoxfields::kTab).toObject().value(QLatin1String("caption"));
    if (orivox.isString())
      return orivox.toString();
    const QString name = obj.value(QLatin1String("name")).toString();
    return name.isEmpty() ? fallback : name;
  }

private:
  qint64 texts = 0;
};

ImportResult refused(const QString& message) {
  ImportResult r;
  r.errorMessage = QStringLiteral("Import impossible : ") + message;
  return r;
}

ImportResult done(Importer& importer) {
  ImportResult r;
  r.ok = true;
  r.board = importer.board;
  r.dropped = importer.dropped;
  return r;
}

} // namespace

QString Dropped::text() const {
  QStringList parts;
  auto part = [&parts](int n, const char* one, const char* many) {
    if (n > 0)
      parts << QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(n == 1 ? one : many));
  };
  part(images, "image", "images");
  part(sounds, "son", "sons");
  part(actions, "action autre qu'un texte", "actions autres que des textes");
  if (parts.isEmpty())
    return {};
  const QString last = parts.takeLast();
  const QString list = parts.isEmpty() ? last : parts.join(QStringLiteral(", ")) + " et " + last;
  return QStringLiteral("Laissé de côté à l'import (Orivox ne montre que des textes) : %1.")
      .arg(list);
}

ImportResult importObf(const QByteArray& json) {
  try {
    Importer importer;
    const QString what = QStringLiteral("ce fichier");
    const QJsonObject obj = parseObject(json, what);
    QList<Link> links;
    // A lone board leads nowhere: its links are left out.
    const QList<Importer::Entry> entries = importer.readButtons(
        obj, what, [](const QJsonObject&) { return QString(); }, links);
    const QJsonArray tabs = obj.value(orivoxfields::kTabs).toArray();
    if (obj.value(orivoxfields::kBoard).isObject() && obj.value(orivoxfields::kTabs).isArray()) {
      // A whole Orivox board in one: each text goes back to its tab.
      orivoxfields::applyBoardFields(obj.value(orivoxfields::kBoard).toObject(), importer.board);
      QList<QList<Importer::Entry>> perTab(qMin<qsizetype>(tabs.size(), kMaxTabs + 1));
      for (const Importer::Entry& e : entries)
        if (e.tab >= 0 && e.tab < perTab.size())
          perTab[e.tab] << e;
      for (qsizetype t = 0; t < perTab.size(); ++t)
        importer.addTab(tabs[t].toObject().value(QLatin1String("caption")).toString(), perTab[t]);
    } else {
      importer.addTab(Importer::nameOf(obj, QStringLiteral("Onglet1")), entries);
    }
    return done(importer);
  } catch (const Refusal& r) {
    return refused(r.message);
  }
}

namespace {

ImportResult importPackage(const ZipReader& zip) {
  if (!zip.isOpen())
    return refused(QStringLiteral("ce fichier n'est pas un paquet .obz lisible."));
  try {
    Importer importer;
    // Entries by their one spelling, so that "./boards/a.obf" is found as "boards/a.obf".
    QHash<QString, QString> entries;
    for (const QString& name : zip.names())
      if (const auto inside = insidePath(name))
        entries.insert(*inside, name);
    qint64 inflated = 0;
    auto readJson = [&](const QString& path) -> std::optional<QJsonObject> {
      if (!entries.contains(path))
        return std::nullopt;
      ZipReader::Failure failure;
      const QByteArray bytes = zip.read(
          entries.value(path), qMin(kMaxJsonBytes, kMaxPackageJsonBytes - inflated), &failure);
      if (failure == ZipReader::Failure::TooLarge)
        refuse(QStringLiteral("le paquet se décompresse au-delà de la taille permise (%1 Mo par "
                              "tableau, %2 Mo pour tous).")
                   .arg(megabytes(kMaxJsonBytes), megabytes(kMaxPackageJsonBytes)));
      if (failure != ZipReader::Failure::None)
        refuse(QStringLiteral("le fichier %1 du paquet est illisible.").arg(path));
      inflated += bytes.size();
      return parseObject(bytes, QStringLiteral("le fichier %1 du paquet").arg(path));
    };

    QString rootPath;
    QHash<QString, QString> boardPaths; // id -> path, from the manifest
    if (const auto manifest = readJson(QStringLiteral("manifest.json"))) {
      const QJsonObject paths = manifest->value(QLatin1String("paths")).toObject();
      // Every path the manifest names is checked, images and sounds included: a package that
      // points outside itself is not trusted with anything.
      for (const char* kind : {"boards", "images", "sounds"}) {
        const QJsonObject map = paths.value(QLatin1String(kind)).toObject();
        for (auto it = map.begin(); it != map.end(); ++it)
          if (it->isString()) {
            const QString p = checkedPath(it->toString());
            if (qstrcmp(kind, "boards") == 0)
              boardPaths.insert(it.key(), p);
          }
      }
      if (manifest->value(QLatin1String("root")).isString())
        rootPath = checkedPath(manifest->value(QLatin1String("root")).toString());
    } else {
      // A package of one board may go without a manifest.
      QStringList boards;
      for (auto it = entries.begin(); it != entries.end(); ++it)
        if (it.key().endsWith(QLatin1String(".obf"), Qt::CaseInsensitive))
          boards << it.key();
      if (boards.size() == 1)
        rootPath = boards.first();
      else
        refuse(QStringLiteral("le paquet n'a pas de manifest.json."));
    }
    if (rootPath.isEmpty() || !entries.contains(rootPath))
      refuse(QStringLiteral("le tableau principal du paquet est introuvable."));

    auto resolve = [&](const QJsonObject& loadBoard) -> QString {
      const QJsonValue path = loadBoard.value(QLatin1String("path"));
      QString target;
      if (path.isString())
        target = checkedPath(path.toString());
      else
        target = boardPaths.value(idOf(loadBoard.value(QLatin1String("id"))));
      // A board the package lacks is a link that leads nowhere: left out, counted.
      return entries.contains(target) ? target : QString();
    };

    // Breadth first from the root: the root's own board, then the boards it leads to, in order.
    QList<Link> queue{Link{rootPath, {}}};
    QSet<QString> seen{rootPath};
    QHash<QString, QString> boardIds; // id -> path, for collisions
    for (qsizetype next = 0; next < queue.size(); ++next) {
      const Link link = queue[next];
      const QString what = QStringLiteral("le tableau %1").arg(link.path);
      const QJsonObject obj = *readJson(link.path);
      const QString id = idOf(obj.value(QLatin1String("id")));
      if (!id.isEmpty()) {
        if (boardIds.contains(id) && boardIds.value(id) != link.path)
          refuse(QStringLiteral("deux tableaux portent l'identifiant « %1 ».").arg(id));
        boardIds.insert(id, link.path);
      }
      QList<Link> links;
      const QList<Importer::Entry> texts = importer.readButtons(obj, what, resolve, links);
      if (next == 0 && obj.value(orivoxfields::kBoard).isObject()) {
        // The root of an Orivox package only leads to the tabs, and carries the board's look.
        orivoxfields::applyBoardFields(obj.value(orivoxfields::kBoard).toObject(), importer.board);
      } else {
        importer.addTab(
            Importer::nameOf(obj,
                             link.label.isEmpty()
                                 ? QStringLiteral("Onglet%1").arg(importer.board.tabs.size() + 1)
                                 : link.label),
            texts);
      }
      for (const Link& l : links)
        if (!seen.contains(l.path)) {
          if (seen.size() > kMaxTabs)
            Importer::tooLarge();
          seen.insert(l.path);
          queue << l;
        }
    }
    return done(importer);
  } catch (const Refusal& r) {
    return refused(r.message);
  }
}

} // namespace

ImportResult importObz(const QByteArray& package) {
  return importPackage(ZipReader::fromBytes(package));
}

Format formatOf(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == QLatin1String("ord"))
    return Format::Ord;
  if (suffix == QLatin1String("obf"))
    return Format::Obf;
  if (suffix == QLatin1String("obz"))
    return Format::Obz;
  return Format::Unknown;
}

ImportResult importFile(const QString& path) {
  const QString shown = QDir::toNativeSeparators(path);
  if (!QFileInfo(path).isFile())
    return refused(QStringLiteral("le fichier « %1 » n'existe pas.").arg(shown));
  const Format format = formatOf(path);
  if (format == Format::Obz)
    return importPackage(ZipReader::fromFile(path));
  QFile file(path);
  if (format == Format::Unknown)
    return refused(QStringLiteral("« %1 » n'est ni un .ord, ni un .obf, ni un .obz.").arg(shown));
  if (!file.open(QIODevice::ReadOnly))
    return refused(QStringLiteral("le fichier « %1 » ne peut pas être lu.").arg(shown));
  if (format == Format::Ord) {
    BoardReadResult read = boardfile::read(file);
    if (read.status != BoardReadStatus::Ok)
      return refused(
          QStringLiteral("le fichier « %1 » n'est pas un tableau Orivox lisible.").arg(shown));
    ImportResult r;
    r.ok = true;
    r.board = read.data;
    return r;
  }
  // Read one byte past the bound: a larger file is refused without reading it whole.
  return importObf(file.read(kMaxJsonBytes + 1));
}

} // namespace interchange

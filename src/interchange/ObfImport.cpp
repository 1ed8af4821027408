// Boards read from the Open Board Format: each board a tab of texts, in grid order, boards
// linked from the package followed once each; what cannot be shown counted, hostile files
// refused whole. Every bound of the board file is counted while reading, before anything is
// copied past it.
#include "interchange/BoardJson.h"
#include "interchange/Bounds.h"
#include "interchange/Formats.h"
#include "interchange/OrivoxFields.h"
#include "interchange/ZipPackage.h"

#include "documents/Cp1252.h"
#include "documents/ReservedNames.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QSet>

#include <cmath>
#include <functional>

namespace interchange {

namespace {

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

// A text as the board file can hold it: the code page's own characters where they have a
// faithful equivalent, and a space for the three bytes that would end the line or the file
// (the board file itself writes them so). Other control characters stay, as a save keeps them.
QString asBoardLine(const QString& text) {
  QString s = cp1252::withFaithfulEquivalents(text);
  for (QChar& c : s)
    if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c.unicode() == 26)
      c = QLatin1Char(' ');
  return s;
}

bool present(const QJsonValue& v) {
  return !v.isNull() && !v.isUndefined();
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

struct Entry {
  QString text;
  int tab = -1; // the tab of a lone Orivox board, when the button says
};

// What one board gives: its texts in grid order, and the boards it leads to.
struct BoardContent {
  QList<Entry> entries;
  QList<Link> links;
};

// What a button gives every cell naming it, worked out once per button.
struct ButtonOutcome {
  enum class Kind { Hidden, Nothing, Text, Link, Command, Characters, Reserved };
  Kind kind = Kind::Nothing;
  Entry entry;
  Link link;
  bool image = false;
  bool sound = false;
};

// A load_board to the package path it leads to; empty when the package lacks the board.
using Resolver = std::function<Result<QString>(const QJsonObject&)>;

// Builds the board, counting every bound of the board file as it goes.
class BoardImporter {
public:
  BoardData board = newBoard();
  Dropped dropped;

  Result<BoardContent> readBoard(const QJsonObject& obj, const QString& what,
                                 const Resolver& resolve) {
    using R = Result<BoardContent>;
    const QJsonValue buttonsValue = obj.value(QLatin1String("buttons"));
    if (!buttonsValue.isArray())
      return R::failure(QStringLiteral("%1 n'est pas un tableau au format Open Board.").arg(what));
    const QJsonArray buttons = buttonsValue.toArray();
    Result<QHash<QString, qsizetype>> byId = indexButtons(buttons, what);
    if (!byId.ok())
      return R::failure(byId.errorString());
    const bool fromOrivox = obj.contains(orivoxfields::kTab) || obj.contains(orivoxfields::kBoard);
    QHash<qsizetype, ButtonOutcome> outcomes; // of the buttons the grid names
    BoardContent content;
    for (const qsizetype index : cellsInOrder(obj, buttons, byId.value())) {
      auto outcome = outcomes.find(index);
      if (outcome == outcomes.end()) {
        Result<ButtonOutcome> made = outcomeOf(buttons[index].toObject(), fromOrivox, resolve);
        if (!made.ok())
          return R::failure(made.errorString());
        outcome = outcomes.insert(index, made.take());
      }
      if (const Status added = addCell(*outcome, content); !added.ok())
        return R::failure(added.errorString());
    }
    return content;
  }

  // A tab of texts already counted by readBoard.
  Status addTab(const QString& caption, const QList<Entry>& entries) {
    if (const auto bound = boardfile::boundPassed(board.tabs.size() + 1, 0, {}))
      return Status::failure(bounds::tooLarge(*bound));
    BoardTab tab;
    tab.caption = asBoardLine(caption);
    if (!cp1252::canEncode(tab.caption)) {
      ++dropped.characters;
      tab.caption = QStringLiteral("Onglet%1").arg(board.tabs.size() + 1);
    }
    tab.caption = freeTabName(tab.caption);
    if (const auto bound = boardfile::boundPassed(0, 0, {tab.caption}))
      return Status::failure(bounds::tooLarge(*bound));
    if (const Status counted = countBytes(tab.caption); !counted.ok())
      return counted;
    tab.texts.reserve(entries.size());
    for (const Entry& e : entries)
      tab.texts << e.text;
    board.tabs << tab;
    return succeeded();
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
  qint64 FTexts = 0;
  qint64 FTextBytes = 0;

  static Result<QHash<QString, qsizetype>> indexButtons(const QJsonArray& buttons,
                                                        const QString& what) {
    QHash<QString, qsizetype> byId;
    byId.reserve(buttons.size());
    for (qsizetype i = 0; i < buttons.size(); ++i) {
      const QString id = idOf(buttons[i].toObject().value(QLatin1String("id")));
      if (id.isEmpty())
        continue;
      if (byId.contains(id))
        return Result<QHash<QString, qsizetype>>::failure(
            QStringLiteral("deux boutons portent l'identifiant « %1 » dans %2.").arg(id, what));
      byId.insert(id, i);
    }
    return byId;
  }

  // Grid order, row by row, empty cells skipped; without a grid, the buttons as listed. The
  // cells are as many as the file's values at most, which its shape bounds.
  static QList<qsizetype> cellsInOrder(const QJsonObject& obj, const QJsonArray& buttons,
                                       const QHash<QString, qsizetype>& byId) {
    QList<qsizetype> cells;
    const QJsonValue order =
        obj.value(QLatin1String("grid")).toObject().value(QLatin1String("order"));
    if (order.isArray()) {
      for (const QJsonValue& row : order.toArray())
        for (const QJsonValue& cell : row.toArray()) {
          const auto it = byId.constFind(idOf(cell));
          if (it != byId.constEnd())
            cells << *it;
        }
    } else {
      for (qsizetype i = 0; i < buttons.size(); ++i)
        if (buttons[i].isObject())
          cells << i;
    }
    return cells;
  }

  static Result<ButtonOutcome> outcomeOf(const QJsonObject& b, bool fromOrivox,
                                         const Resolver& resolve) {
    using Kind = ButtonOutcome::Kind;
    ButtonOutcome o;
    if (b.value(QLatin1String("hidden")).toBool()) {
      o.kind = Kind::Hidden;
      return o;
    }
    o.image = present(b.value(QLatin1String("image_id")));
    o.sound = present(b.value(QLatin1String("sound_id")));
    const QString label = b.value(QLatin1String("label")).toString();
    if (b.value(QLatin1String("load_board")).isObject()) {
      Result<QString> target = resolve(b.value(QLatin1String("load_board")).toObject());
      if (!target.ok())
        return Result<ButtonOutcome>::failure(target.errorString());
      o.kind = target.value().isEmpty() ? Kind::Command : Kind::Link;
      o.link = Link{target.value(), label};
      return o;
    }
    const QString vocalization = b.value(QLatin1String("vocalization")).toString();
    QString text = !vocalization.isEmpty() ? vocalization : label;
    // Spelling ("+a") adds letters, as a text does; a space is a text of its own here. Each
    // action is looked at once, however many the button lists.
    bool command = false;
    auto act = [&](const QJsonValue& a) {
      if (!a.isString())
        return;
      const QString s = a.toString();
      if (s == QLatin1String(":space"))
        text = QStringLiteral(" ");
      else if (s.startsWith(QLatin1Char(':')))
        command = true;
    };
    act(b.value(QLatin1String("action")));
    for (const QJsonValue& a : b.value(QLatin1String("actions")).toArray())
      act(a);
    if (command) {
      o.kind = Kind::Command;
      return o;
    }
    if (text.isEmpty() && !fromOrivox)
      return o; // a picture alone, or an empty cell: nothing to show
    o.entry.text = asBoardLine(text);
    const QJsonValue tab = b.value(orivoxfields::kTabIndex);
    if (tab.isDouble() && tab.toDouble() >= 0 && tab.toDouble() < boardfile::kMaxTabs)
      o.entry.tab = int(tab.toDouble());
    if (!cp1252::canEncode(o.entry.text))
      o.kind = Kind::Characters;
    else if (reservednames::isCommandText(o.entry.text))
      o.kind = Kind::Reserved;
    else if (const auto bound = boardfile::boundPassed(0, 0, {o.entry.text}))
      return Result<ButtonOutcome>::failure(bounds::tooLarge(*bound));
    else
      o.kind = Kind::Text;
    return o;
  }

  Status addCell(const ButtonOutcome& o, BoardContent& content) {
    using Kind = ButtonOutcome::Kind;
    if (o.kind == Kind::Hidden)
      return succeeded();
    dropped.images += o.image;
    dropped.sounds += o.sound;
    switch (o.kind) {
    case Kind::Text:
      if (const auto bound = boardfile::boundPassed(0, ++FTexts, {}))
        return Status::failure(bounds::tooLarge(*bound));
      if (const Status counted = countBytes(o.entry.text); !counted.ok())
        return counted;
      content.entries << o.entry; // the text is shared, not copied, however many cells
      break;
    case Kind::Link:
      content.links << o.link;
      break;
    case Kind::Command:
      ++dropped.actions;
      break;
    case Kind::Characters:
      ++dropped.characters;
      break;
    case Kind::Reserved:
      ++dropped.reserved;
      break;
    case Kind::Hidden:
    case Kind::Nothing:
      break;
    }
    return succeeded();
  }

  Status countBytes(const QString& text) {
    // One byte a character: every character kept is one of the code page's.
    FTextBytes += text.size();
    if (FTextBytes > boardfile::kMaxBoardTextBytes)
      return Status::failure(bounds::tooLarge(bounds::totalTextBound()));
    return succeeded();
  }

  static bool sameName(const QString& a, const QString& b) {
    return a.toCaseFolded() == b.toCaseFolded();
  }

  bool taken(const QString& caption) const {
    for (const BoardTab& t : board.tabs)
      if (sameName(t.caption, caption))
        return true;
    return false;
  }

  // A reserved tab the board already has, in any case, comes under a free name: the board
  // relies on there being one of each.
  QString freeTabName(const QString& caption) {
    if (!reservednames::isReservedTab(caption) || !taken(caption))
      return caption;
    QString reserved = caption;
    for (const QString& r : reservednames::tabCaptions())
      if (sameName(r, caption))
        reserved = r;
    QString free;
    for (int n = 2; free.isEmpty() || taken(free); ++n)
      free = QStringLiteral("%1 (%2)").arg(reserved).arg(n);
    dropped.renamedTabs << qMakePair(caption, free);
    return free;
  }
};

ImportResult importLoneBoard(QByteArray json);

ImportResult refused(const QString& message) {
  ImportResult r;
  r.errorMessage = QStringLiteral("Import impossible : ") + message;
  return r;
}

ImportResult done(BoardImporter& importer) {
  ImportResult r;
  r.ok = true;
  r.board = std::move(importer.board);
  r.dropped = importer.dropped;
  return r;
}

// A whole Orivox board in one file: each text goes back to its tab. A button another program
// added has no tab of its own: it joins the tab of the text before it.
Status addOrivoxTabs(BoardImporter& importer, const QJsonObject& obj, const QList<Entry>& entries) {
  const QJsonArray tabs = obj.value(orivoxfields::kTabs).toArray();
  if (const auto bound = boardfile::boundPassed(tabs.size(), 0, {}))
    return Status::failure(bounds::tooLarge(*bound));
  orivoxfields::applyBoardFields(obj.value(orivoxfields::kBoard).toObject(), importer.board);
  if (tabs.isEmpty())
    return entries.isEmpty()
               ? succeeded()
               : importer.addTab(BoardImporter::nameOf(obj, QStringLiteral("Onglet1")), entries);
  QList<QList<Entry>> perTab(tabs.size());
  int tab = 0;
  for (const Entry& e : entries) {
    if (e.tab >= 0 && e.tab < perTab.size())
      tab = e.tab;
    perTab[tab] << e;
  }
  for (qsizetype t = 0; t < perTab.size(); ++t)
    if (const Status added = importer.addTab(
            tabs[t].toObject().value(QLatin1String("caption")).toString(), perTab[t]);
        !added.ok())
      return added;
  return succeeded();
}

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
  part(characters, "texte aux caractères qu'Orivox ne peut pas enregistrer",
       "textes aux caractères qu'Orivox ne peut pas enregistrer");
  part(reserved, "texte identique à une commande", "textes identiques à des commandes");
  QStringList sentences;
  if (!parts.isEmpty()) {
    const QString last = parts.takeLast();
    const QString list = parts.isEmpty() ? last : parts.join(QStringLiteral(", ")) + " et " + last;
    sentences << QStringLiteral("Laissé de côté à l'import (Orivox ne montre que des textes) : %1.")
                     .arg(list);
  }
  if (!renamedTabs.isEmpty()) {
    QStringList renames;
    for (const auto& [from, to] : renamedTabs)
      renames << QStringLiteral("« %1 » devient « %2 »").arg(from, to);
    const QString last = renames.takeLast();
    sentences << QStringLiteral(
                     "%1 à l'import (Orivox n'a qu'un onglet de chaque nom réservé) : %2.")
                     .arg(renamedTabs.size() == 1 ? QStringLiteral("Onglet renommé")
                                                  : QStringLiteral("Onglets renommés"),
                          renames.isEmpty() ? last
                                            : renames.join(QStringLiteral(", ")) + " et " + last);
  }
  return sentences.join(QLatin1Char(' '));
}

ImportResult importObf(const QByteArray& json) {
  return importLoneBoard(json);
}

ImportResult importObfFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return refused(QStringLiteral("le fichier « %1 » ne peut pas être lu.")
                       .arg(QDir::toNativeSeparators(path)));
  // One byte past the bound: a larger file is refused without reading it whole.
  return importLoneBoard(file.read(bounds::kMaxJsonBytes + 1));
}

namespace {

ImportResult importLoneBoard(QByteArray json) {
  const QString what = QStringLiteral("ce fichier");
  const Result<QJsonObject> parsed = parseBoardJson(std::move(json), what);
  if (!parsed.ok())
    return refused(parsed.errorString());
  const QJsonObject& obj = parsed.value();
  BoardImporter importer;
  // A lone board leads nowhere: its links are left out.
  const Resolver nowhere = [](const QJsonObject&) { return Result<QString>(QString()); };
  const Result<BoardContent> content = importer.readBoard(obj, what, nowhere);
  if (!content.ok())
    return refused(content.errorString());
  const bool orivox =
      obj.value(orivoxfields::kBoard).isObject() && obj.value(orivoxfields::kTabs).isArray();
  const Status added = orivox
                           ? addOrivoxTabs(importer, obj, content.value().entries)
                           : importer.addTab(BoardImporter::nameOf(obj, QStringLiteral("Onglet1")),
                                             content.value().entries);
  if (!added.ok())
    return refused(added.errorString());
  return done(importer);
}

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

// Builds a board from Open Board Format boards, counting every bound of the board file while
// reading: the cells a grid names, the texts, their bytes, the tabs. Shared by the lone board
// and the package readers.
#pragma once

#include "interchange/Bounds.h"
#include "interchange/Interchange.h"
#include "interchange/OrivoxFields.h"
#include "interchange/PictureImport.h"

#include "documents/Cp1252.h"
#include "documents/ReservedNames.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonObject>

#include <cmath>
#include <functional>
#include <optional>

namespace interchange::boardimport {

// Ids are strings by the format, numbers in many files: both name the same button.
inline QString idOf(const QJsonValue& v) {
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
inline QString asBoardLine(const QString& text) {
  QString s = cp1252::withFaithfulEquivalents(text);
  for (QChar& c : s)
    if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c.unicode() == 26)
      c = QLatin1Char(' ');
  return s;
}

inline bool present(const QJsonValue& v) {
  return !v.isNull() && !v.isUndefined();
}

// A new board's look (the default board's fonts), for boards made elsewhere.
inline BoardData newBoard() {
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
  int tab = -1;         // the tab of a lone Orivox board, when the button says
  BoardPicture picture; // shared, not copied, by every cell naming the button
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
  bool image = false; // one left out
  bool sound = false;
};

// A load_board to the package path it leads to; empty when the package lacks the board.
using Resolver = std::function<Result<QString>(const QJsonObject&)>;

// Builds the board, counting every bound of the board file as it goes.
class BoardImporter {
public:
  BoardData board = newBoard();
  Dropped dropped;
  PictureImport pictures;

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
    pictures.startBoard(obj.value(QLatin1String("images")).toArray());
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
    bool pictured = false;
    for (const Entry& e : entries) {
      tab.texts << e.text;
      pictured = pictured || !e.picture.isNull();
    }
    if (pictured) {
      tab.pictures.reserve(entries.size());
      for (const Entry& e : entries)
        tab.pictures << e.picture;
    }
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

  Result<ButtonOutcome> outcomeOf(const QJsonObject& b, bool fromOrivox, const Resolver& resolve) {
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
    // Only a text keeps its picture: it is decoded for none of the others.
    if (o.kind == Kind::Text && o.image) {
      o.entry.picture = pictures.pictureFor(idOf(b.value(QLatin1String("image_id"))));
      o.image = o.entry.picture.isNull();
    }
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

inline ImportResult refused(const QString& message) {
  ImportResult r;
  r.errorMessage = QStringLiteral("Import impossible : ") + message;
  return r;
}

inline ImportResult done(BoardImporter& importer) {
  ImportResult r;
  r.ok = true;
  r.board = std::move(importer.board);
  r.dropped = importer.dropped;
  return r;
}

} // namespace interchange::boardimport

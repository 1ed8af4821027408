// Boards written in the Open Board Format: a package with a root board leading to a board per
// tab, or one lone board with every text.
#include "interchange/Bounds.h"
#include "interchange/Formats.h"
#include "interchange/OrivoxFields.h"
#include "interchange/PictureExport.h"
#include "interchange/ZipPackage.h"

#include "documents/SafeSave.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

#include <cmath>

namespace interchange {

namespace {

const QString kFormat = QStringLiteral("open-board-0.1");

// Colours as rgb(); a system colour has no value of its own, so it is given the one a classic
// desktop shows (the exact value travels in the Orivox fields).
QString rgb(TColor c) {
  auto u = static_cast<std::uint32_t>(c);
  if ((u & 0xFF000000u) == 0x80000000u) {
    switch (u & 0xFFu) {
    case 5:
    case 14:
    case 24:
      u = 0xFFFFFF;
      break;
    case 7:
    case 8:
    case 9:
    case 18:
    case 23:
      u = 0x000000;
      break;
    case 13:
      u = 0xD77800;
      break;
    default:
      u = 0xF0F0F0;
    }
  } else if (u == 0x1FFFFFFFu || u == 0x20000000u) {
    u = 0xFFFFFF;
  }
  return QStringLiteral("rgb(%1, %2, %3)").arg(u & 0xFF).arg((u >> 8) & 0xFF).arg((u >> 16) & 0xFF);
}

// A grid of the board's columns when it sets some, else about as wide as tall, at most 8 wide;
// never narrower than an import counts on (a row per text would double the file's groups).
int columnsFor(const BoardData& board, qsizetype count) {
  if (board.settings.gridColumns > 0)
    return qMax(bounds::kMinExportColumns, board.settings.gridColumns);
  const int side = int(std::ceil(std::sqrt(double(count))));
  return qBound(1, side, 8);
}

QJsonObject grid(const QList<QJsonArray>& rows, int columns) {
  QJsonArray order;
  for (const QJsonArray& r : rows)
    order.append(r);
  if (order.isEmpty()) { // the format wants one row at least
    QJsonArray empty;
    for (int c = 0; c < columns; ++c)
      empty.append(QJsonValue::Null);
    order.append(empty);
  }
  return QJsonObject{{"rows", order.size()}, {"columns", columns}, {"order", order}};
}

// The ids of a run of buttons laid out row by row, the last row filled with empty cells.
QList<QJsonArray> rowsOf(const QStringList& ids, int columns) {
  QList<QJsonArray> rows;
  for (qsizetype i = 0; i < ids.size(); i += columns) {
    QJsonArray row;
    for (int c = 0; c < columns; ++c)
      row.append(i + c < ids.size() ? QJsonValue(ids[i + c]) : QJsonValue(QJsonValue::Null));
    rows << row;
  }
  return rows;
}

QJsonObject boardObject(const QString& id, const QString& name, const QJsonArray& buttons,
                        const QJsonObject& grid, const QJsonArray& images = {}) {
  return QJsonObject{{"format", kFormat},
                     {"id", id},
                     {"locale", "fr"},
                     {"name", name},
                     {"description_html", QStringLiteral("Tableau Orivox")},
                     {"buttons", buttons},
                     {"grid", grid},
                     {"images", images},
                     {"sounds", QJsonArray()}};
}

QJsonObject textButton(const QString& id, const QString& text, const BoardData& board,
                       const QString& imageId = {}) {
  QJsonObject button{{"id", id},
                     {"label", text},
                     {"background_color", rgb(board.tabColor)},
                     {"border_color", rgb(board.unselectedFont.color)}};
  if (!imageId.isEmpty())
    button.insert("image_id", imageId);
  return button;
}

QString tabBoardId(qsizetype t) {
  return QStringLiteral("onglet-%1").arg(t + 1);
}

QByteArray json(const QJsonObject& o) {
  return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

// A board read from an older file may hold more text than the program now lets a board have:
// written out, it could not come back.
Status withinTextBound(const BoardData& board) {
  if (const Status pictures = PictureExport::check(board); !pictures.ok())
    return pictures;
  qint64 bytes = 0;
  for (const BoardTab& tab : board.tabs) {
    bytes += tab.caption.size();
    for (const QString& t : tab.texts)
      bytes += t.size();
  }
  if (bytes > boardfile::kMaxBoardTextBytes)
    return Status::failure(bounds::tooLarge(bounds::totalTextBound()));
  return succeeded();
}

// Texts full of characters JSON escapes (control characters take six bytes) may still make a
// board's JSON larger than an import reads: refused here rather than written for nothing.
Status withinJsonBound(qint64 jsonBytes) {
  if (jsonBytes > bounds::kMaxJsonBytes)
    return Status::failure(
        QStringLiteral("le tableau exporté dépasserait %1 Mo, plus qu'un import n'en lit.")
            .arg(bounds::megabytes(bounds::kMaxJsonBytes)));
  return succeeded();
}

ExportResult writeWhole(const QString& path, const Result<QByteArray>& bytes) {
  if (!bytes.ok())
    return {false, QStringLiteral("Exportation impossible : ") + bytes.errorString()};
  if (!saveKeepingBackup(path, bytes.value()))
    return {false, QStringLiteral("Impossible d'écrire le fichier « %1 ».")
                       .arg(QDir::toNativeSeparators(path))};
  return {true, {}};
}

} // namespace

Result<QByteArray> obzBytes(const BoardData& board, const QString& name) {
  if (const Status within = withinTextBound(board); !within.ok())
    return Result<QByteArray>::failure(within.errorString());
  qint64 jsonBytes = 0;
  QList<QPair<QString, QByteArray>> entries;
  QJsonObject boardPaths;
  QJsonArray rootButtons;
  QStringList rootIds;
  PictureExport pictures(true);
  for (qsizetype t = 0; t < board.tabs.size(); ++t) {
    const BoardTab& tab = board.tabs[t];
    const QString id = tabBoardId(t);
    const QString path = QStringLiteral("boards/%1.obf").arg(id);
    QJsonArray buttons;
    QStringList ids;
    for (qsizetype i = 0; i < tab.texts.size(); ++i) {
      ids << QString::number(i + 1);
      buttons.append(textButton(ids.last(), tab.texts[i], board, pictures.idFor(tab, i)));
    }
    const int columns = columnsFor(board, ids.size());
    QJsonObject tabBoard = boardObject(
        id, tab.caption, buttons, grid(rowsOf(ids, columns), columns), pictures.takeBoardImages());
    tabBoard.insert(orivoxfields::kTab, orivoxfields::tabFields(tab));
    entries.append({path, json(tabBoard)});
    jsonBytes += entries.last().second.size();
    boardPaths.insert(id, path);

    QJsonObject link = textButton(id, tab.caption, board);
    link.insert("load_board", QJsonObject{{"id", id}, {"name", tab.caption}, {"path", path}});
    rootButtons.append(link);
    rootIds << id;
  }
  const int rootColumns = qBound(1, int(std::ceil(std::sqrt(double(rootIds.size())))), 8);
  QJsonObject root =
      boardObject("root", name, rootButtons, grid(rowsOf(rootIds, rootColumns), rootColumns));
  root.insert(orivoxfields::kBoard, orivoxfields::boardFields(board));
  const QString rootPath = QStringLiteral("boards/root.obf");
  boardPaths.insert("root", rootPath);
  entries.prepend({rootPath, json(root)});
  const QJsonObject manifest{{"format", kFormat},
                             {"root", rootPath},
                             {"paths", QJsonObject{{"boards", boardPaths},
                                                   {"images", pictures.manifestPaths()},
                                                   {"sounds", QJsonObject()}}}};
  entries.prepend({QStringLiteral("manifest.json"), json(manifest)});
  // The package's boards together are read within the same bound as one board.
  for (qsizetype e = 0; e < 2; ++e)
    jsonBytes += entries[e].second.size();
  if (const Status within = withinJsonBound(jsonBytes); !within.ok())
    return Result<QByteArray>::failure(within.errorString());
  entries << pictures.files();
  return writeZip(entries);
}

Result<QByteArray> obfBytes(const BoardData& board, const QString& name) {
  if (const Status within = withinTextBound(board); !within.ok())
    return Result<QByteArray>::failure(within.errorString());
  int columns = 1;
  for (const BoardTab& tab : board.tabs)
    columns = qMax(columns, columnsFor(board, tab.texts.size()));
  QJsonArray buttons;
  QList<QJsonArray> rows;
  QJsonArray captions;
  PictureExport pictures(false);
  for (qsizetype t = 0; t < board.tabs.size(); ++t) {
    const BoardTab& tab = board.tabs[t];
    captions.append(orivoxfields::tabFields(tab));
    QStringList ids;
    for (qsizetype i = 0; i < tab.texts.size(); ++i) {
      ids << QStringLiteral("%1-%2").arg(t + 1).arg(i + 1);
      QJsonObject button = textButton(ids.last(), tab.texts[i], board, pictures.idFor(tab, i));
      button.insert(orivoxfields::kTabIndex, int(t));
      buttons.append(button);
    }
    rows << rowsOf(ids, columns);
  }
  QJsonObject lone =
      boardObject("1", name, buttons, grid(rows, columns), pictures.takeBoardImages());
  lone.insert(orivoxfields::kBoard, orivoxfields::boardFields(board));
  lone.insert(orivoxfields::kTabs, captions);
  QByteArray bytes = json(lone);
  if (const Status within = withinJsonBound(bytes.size()); !within.ok())
    return Result<QByteArray>::failure(within.errorString());
  return bytes;
}

ExportResult exportObz(const BoardData& board, const QString& path) {
  return writeWhole(path, obzBytes(board, QFileInfo(path).completeBaseName()));
}

ExportResult exportObf(const BoardData& board, const QString& path) {
  return writeWhole(path, obfBytes(board, QFileInfo(path).completeBaseName()));
}

} // namespace interchange

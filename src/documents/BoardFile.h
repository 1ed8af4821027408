// The board file (".ord") as a plain value: read from and written to bytes without any widget.
#pragma once

#include "documents/BoardSettings.h"
#include "platform/BoardFont.h"
#include "platform/BoardPicture.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace boardfile {
// The final block: phrase font name, size, colour, display colour, bold, italic, underline.
constexpr int kFinalBlockLines = 7;
} // namespace boardfile

struct BoardTab {
  QString caption;
  QStringList texts;
  // Empty when no text of the tab has a picture; otherwise one entry per text, null where a
  // text has none.
  QList<BoardPicture> pictures = {};
  const BoardPicture* pictureOf(qsizetype text) const {
    return text < pictures.size() && !pictures[text].isNull() ? &pictures[text] : nullptr;
  }
  bool operator==(const BoardTab& o) const {
    return caption == o.caption && texts == o.texts && pictures == o.pictures;
  }
  bool operator!=(const BoardTab& o) const { return !(*this == o); }
};

struct BoardData {
  int t1Seconds = 3; // line 2
  int t2Seconds = 1; // line 3
  // Fonts as stored. An empty name in the file means "keep the name the font had": the
  // reader leaves the name empty and the loader decides.
  BoardFont selectedFont;
  BoardFont unselectedFont;
  BoardFont tabFont; // its colour is not stored
  BoardFont validatedFont;
  TColor tabColor = 0xC0C0C0;
  TColor memoColor = static_cast<TColor>(0x80000005u);
  QList<BoardTab> tabs;
  // The final block is optional and may be cut short: how many of its seven lines were read
  // (0 to 7), and what they held. Lines F1 name, F2 size, F3 colour, F4 display colour,
  // F5..F7 bold, italic, underline.
  int finalLinesRead = boardfile::kFinalBlockLines;
  BoardFont currentPhraseFont;
  TColor finalMemoColor = static_cast<TColor>(0x80000005u);
  // Stored after the final block, and only when they differ from the defaults.
  BoardSettings settings;
  // The pictures block (written only when a text has a picture) came before the settings
  // block in the file read: a save keeps that order.
  bool picturesBeforeSettings = false;

  bool operator==(const BoardData& o) const {
    return t1Seconds == o.t1Seconds && t2Seconds == o.t2Seconds && selectedFont == o.selectedFont &&
           unselectedFont == o.unselectedFont && tabFont == o.tabFont &&
           validatedFont == o.validatedFont && tabColor == o.tabColor && memoColor == o.memoColor &&
           tabs == o.tabs && finalLinesRead == o.finalLinesRead &&
           currentPhraseFont == o.currentPhraseFont && finalMemoColor == o.finalMemoColor &&
           settings == o.settings && picturesBeforeSettings == o.picturesBeforeSettings;
  }
  bool operator!=(const BoardData& o) const { return !(*this == o); }
};

enum class BoardReadStatus { Ok, WrongHeader, Error };
// Which bound a file too large passes, for the message that names it.
enum class BoardBound { Board, PictureCount, PictureBytes, PictureBytesInAll };

struct BoardReadResult {
  BoardReadStatus status = BoardReadStatus::Error;
  BoardData data;
  int failedLine = 0;    // 1-based line at which an error stopped the read; 0: nothing read
  bool tooLarge = false; // the error is a bound of what a board may hold
  BoardBound bound = BoardBound::Board; // which one, when tooLarge
};

class QIODevice;

namespace boardfile {
// What one board may hold. The reader refuses a file beyond it (a file that would hold the
// program for minutes), and the commands that make tabs and texts refuse to go beyond it, so
// that every board the program saves, it opens again.
constexpr int kMaxTabs = 500;
constexpr int kMaxTexts = 25000;
constexpr int kMaxLineBytes = 32767; // a text or caption, as the name fields accept it
// The bytes of every text and caption together: far above any real board (25,000 texts of a
// long sentence each stay under 5 MiB), low enough that an import's own limits can admit every
// board the program saves while a hostile file stays small.
constexpr qint64 kMaxBoardTextBytes = qint64(16) << 20;
// The settings block after the final block holds a line per setting: a few dozen at most.
constexpr int kMaxSettingsLines = 1000;

// The bytes a text or caption takes in the file: the writer puts one byte for each UTF-16
// unit, so counting needs no encoding.
inline qint64 storedBytes(const QString& text) {
  return text.size();
}
// Whether a text or caption of `bytes` bytes fits on one line of the file.
constexpr bool fitsOnALine(qint64 bytes) {
  return bytes <= kMaxLineBytes;
}

// How much a board holds, as its bounds count it.
struct BoardExtent {
  qint64 tabs = 0;
  qint64 texts = 0;
  qint64 textBytes = 0; // every text and caption, see storedBytes
};
BoardExtent extentOf(const BoardData& board);

// The message naming the bound a board of `board` extent passes, or one of `newTexts` (the
// texts or captions an edit writes) passes; none when everything stays within.
std::optional<QString> boundPassed(const BoardExtent& board, const QStringList& newTexts);
// The message of a text or caption longer than a line of the file.
QString textTooLongMessage();
// The same without the bound on the text in all.
std::optional<QString> boundPassed(qint64 tabs, qint64 texts, const QStringList& newTexts);

// Pictures. A picture is stored once however many texts show it, at no more than twice the
// largest size a button shows it (512 px on its longer side), as PNG or SVG: a symbol takes a
// few kB, a photo of the family some 100 to 700 kB, and a PNG of 512 x 512 that does not
// compress at all stays under 1 MiB. A real board has a few hundred pictures; the built-in set
// has about 4,000. The bytes in all keep a board a file a carer can send by mail, and its load
// short (64 MiB of pictures read in well under a second).
constexpr int kMaxPictures = 5000;
constexpr qint64 kMaxPictureBytes = qint64(1) << 20;
constexpr qint64 kMaxPictureBytesInAll = qint64(64) << 20;
// The message naming the bound the board would pass if `added` were given to one of its texts;
// none when it stays within (a picture the board already holds adds nothing).
std::optional<QString> pictureBoundPassed(const BoardData& board, const BoardPicture& added);
// The same for pictures given to several texts at once (one picture given twice is stored once).
std::optional<QString> pictureBoundPassed(const BoardData& board, const QList<BoardPicture>& added);

// Why a file was refused, as the carer is told: not a board, too large, damaged, unreadable.
QString refusalReason(const BoardReadResult& refused);
// The message that names a refused file and why.
QString refusalMessage(const QString& path, const QString& why);

BoardReadResult read(const QByteArray& bytes);
// The same read from an open device, its lines taken as they come: the cost follows the file,
// and a file that announces more than it holds, or a line longer than any text a board can
// use, fails before anything is built for it.
BoardReadResult read(QIODevice& device);
QByteArray write(const BoardData& board);

// The general integer parser: leading blanks, optional sign, decimal or "$" hexadecimal.
std::optional<std::int32_t> parseInteger(const QByteArray& line);
// A colour line: an identifier of the colour table (any case), otherwise an integer.
std::optional<TColor> parseColour(const QByteArray& line);
// The colour-string form: the identifier when the value has one, else "$" + 8 hex digits.
QByteArray colourToString(TColor c);
// The lines of a file: a line ends at the first CR or LF, reading continues after the next
// LF, byte 26 ends the file.
QList<QByteArray> splitLines(const QByteArray& bytes);
} // namespace boardfile

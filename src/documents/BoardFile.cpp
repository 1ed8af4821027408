// Reader and writer of board files (".ord"): a header line, the scanning paces, five font
// records, one block per tab and a final block for the phrase font, one value per CR LF line.
#include "documents/BoardFile.h"

#include "documents/Cp1252.h"
#include "documents/PictureBlock.h"

#include <QBuffer>

#include <array>
#include <limits>

namespace {

constexpr char kHeader[] = "Ordinogramme";
constexpr char kCtrlZ = 26;
// The bounds (see BoardFile.h) are far beyond any board a person scans and keep the load of
// any file within about a second: each tab and each piece of text is a widget, and the tab
// strip lays out every tab each time one is added. The bytes of the texts need no bound of
// their own: with the counts and the line length bounded, a load costs in proportion to the
// file.
using boardfile::kMaxLineBytes;
using boardfile::kMaxTabs;
using boardfile::kMaxTexts;

struct ColourName {
  const char* name;
  std::uint32_t value;
};

constexpr std::uint32_t sys(std::uint32_t n) {
  return 0x80000000u + n;
}

constexpr std::array<ColourName, 49> kColourNames = {{
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0},
    {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},
    {"clMedGray", 0xA4A0A0},
    {"clNone", 0x1FFFFFFF},
    {"clDefault", 0x20000000},
    {"clScrollBar", sys(0)},
    {"clBackground", sys(1)},
    {"clActiveCaption", sys(2)},
    {"clInactiveCaption", sys(3)},
    {"clMenu", sys(4)},
    {"clWindow", sys(5)},
    {"clWindowFrame", sys(6)},
    {"clMenuText", sys(7)},
    {"clWindowText", sys(8)},
    {"clCaptionText", sys(9)},
    {"clActiveBorder", sys(10)},
    {"clInactiveBorder", sys(11)},
    {"clAppWorkSpace", sys(12)},
    {"clHighlight", sys(13)},
    {"clHighlightText", sys(14)},
    {"clBtnFace", sys(15)},
    {"clBtnShadow", sys(16)},
    {"clGrayText", sys(17)},
    {"clBtnText", sys(18)},
    {"clInactiveCaptionText", sys(19)},
    {"clBtnHighlight", sys(20)},
    {"cl3DDkShadow", sys(21)},
    {"cl3DLight", sys(22)},
    {"clInfoText", sys(23)},
    {"clInfoBk", sys(24)},
    {"clGradientActiveCaption", sys(27)},
    {"clGradientInactiveCaption", sys(28)},
}};
static_assert(kColourNames.back().name != nullptr, "every identifier of the table is listed");

char asciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool equalsIgnoringAsciiCase(const QByteArray& a, const char* b) {
  qsizetype i = 0;
  for (; b[i] != '\0'; ++i)
    if (i >= a.size() || asciiLower(a[i]) != asciiLower(b[i]))
      return false;
  return i == a.size();
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return -1;
}

// A text line as written: a byte that would end the line or the file when read back would
// shift every following line, so it is stored as a space instead.
QByteArray textLine(const QString& s) {
  QByteArray b = cp1252::fromUnicode(s);
  for (char& c : b)
    if (c == '\r' || c == '\n' || c == kCtrlZ)
      c = ' ';
  return b;
}

// Walks the lines of a file by their 1-based numbers, reading the bytes as the lines are asked
// for: a file is never held whole, and a line's content is copied only when it is taken. A
// line past the end is missing.
class LineReader {
public:
  LineReader(QIODevice& in, qsizetype maxLineBytes) : FIn(in), FMaxLineBytes(maxLineBytes) {}
  int nextNumber() const { return FNumber + 1; }
  bool atEnd() { return !available(1); }
  std::optional<QByteArray> take() {
    if (atEnd())
      return std::nullopt;
    ++FNumber;
    // The content runs to the first CR or LF; the next line starts after the next LF.
    QByteArray content;
    qsizetype stop = -1;
    while (stop < 0) {
      stop = indexOfLineEnd();
      const qsizetype upTo = stop < 0 ? FEnd : stop;
      if (content.size() + (upTo - FPos) > FMaxLineBytes) {
        FTooLong = true;
        return std::nullopt; // longer than any text a board can show: the file is refused
      }
      content.append(FBuffer.constData() + FPos, upTo - FPos);
      FPos = upTo;
      if (stop < 0 && !available(1))
        return content; // the last line, ended by the end of the file
    }
    skipPastLineFeed();
    return content;
  }
  // Lines that remain at most: every line takes at least one byte.
  qint64 linesLeftAtMost() {
    if (atEnd())
      return 0;
    return FIn.isSequential() ? std::numeric_limits<qint64>::max()
                              : FEnd - FPos + std::max<qint64>(0, FIn.size() - FIn.pos());
  }
  // Reads to the end without keeping anything, counting the lines.
  void skipToEnd() {
    while (!atEnd()) {
      ++FNumber;
      skipPastLineFeed();
    }
  }
  bool failed() const { return FReadError; }
  bool tooLong() const { return FTooLong; }
  // The pictures block holds lines far longer than any text.
  void setMaxLineBytes(qsizetype maxLineBytes) { FMaxLineBytes = maxLineBytes; }

private:
  static constexpr qint64 kChunk = 64 * 1024;
  QIODevice& FIn;
  qsizetype FMaxLineBytes;
  QByteArray FBuffer;
  qsizetype FPos = 0;  // next unread byte of FBuffer
  qsizetype FEnd = 0;  // end of the usable bytes of FBuffer (a Ctrl+Z ends them for good)
  bool FEnded = false; // no byte beyond FEnd will ever come
  bool FReadError = false;
  bool FTooLong = false;
  int FNumber = 0;

  // Makes at least `want` unread bytes available if the file still has them.
  bool available(qsizetype want) {
    while (FEnd - FPos < want && !FEnded) {
      FBuffer.remove(0, FPos);
      FEnd -= FPos;
      FPos = 0;
      const qsizetype had = FBuffer.size();
      FBuffer.resize(had + kChunk);
      const qint64 got = FIn.read(FBuffer.data() + had, kChunk);
      if (got < 0)
        FReadError = true;
      FBuffer.resize(had + std::max<qint64>(0, got));
      if (got <= 0)
        FEnded = true;
      const qsizetype z = FBuffer.indexOf(kCtrlZ, had);
      if (z >= 0) {
        FBuffer.truncate(z);
        FEnded = true;
      }
      FEnd = FBuffer.size();
    }
    return FEnd - FPos >= want;
  }
  qsizetype indexOfLineEnd() const {
    for (qsizetype i = FPos; i < FEnd; ++i)
      if (FBuffer[i] == '\r' || FBuffer[i] == '\n')
        return i;
    return -1;
  }
  // Past the next LF; without one, the file has no further line.
  void skipPastLineFeed() {
    for (;;) {
      const qsizetype lf = FBuffer.indexOf('\n', FPos);
      if (lf >= 0 && lf < FEnd) {
        FPos = lf + 1;
        return;
      }
      FPos = FEnd;
      if (!available(1)) {
        FEnded = true;
        return;
      }
    }
  }
};

// Reads the main part of the file (lines 2 to the end of the last tab block) into data;
// on failure returns the number of the line that failed.
class MainPartReader {
public:
  MainPartReader(LineReader& in, BoardData& data) : FIn(in), FData(data) {}

  struct Failure {
    int line;
    bool tooLarge = false;
  };
  std::optional<Failure> run() {
    try {
      readAll();
    } catch (const Failure& f) {
      return f;
    }
    return std::nullopt;
  }

private:
  LineReader& FIn;
  BoardData& FData;

  // The file ends before what it announces: the read fails at the first missing line.
  [[noreturn]] void runOut() {
    FIn.skipToEnd();
    throw Failure{FIn.nextNumber()};
  }

  QByteArray text() {
    const int n = FIn.nextNumber();
    auto l = FIn.take();
    if (!l)
      throw Failure{n};
    return *l;
  }
  int integer() {
    const int n = FIn.nextNumber();
    auto v = boardfile::parseInteger(text());
    if (!v)
      throw Failure{n};
    return *v;
  }
  TColor colour() {
    const int n = FIn.nextNumber();
    auto v = boardfile::parseColour(text());
    if (!v)
      throw Failure{n};
    return *v;
  }
  bool flag() { return text() == "1"; }
  void flags(BoardFont& f) {
    f.bold = flag();
    f.italic = flag();
    f.underline = flag();
  }
  void nameAndSize(BoardFont& f) {
    f.name = cp1252::toUnicode(text());
    f.size = integer();
  }

  void readAll() {
    FData.t1Seconds = integer();
    FData.t2Seconds = integer();
    text();
    const int tabCount = integer();
    text();
    nameAndSize(FData.selectedFont);
    FData.selectedFont.color = colour();
    flags(FData.selectedFont);
    nameAndSize(FData.unselectedFont);
    FData.unselectedFont.color = colour();
    flags(FData.unselectedFont);
    nameAndSize(FData.tabFont);
    FData.tabColor = colour();
    flags(FData.tabFont);
    nameAndSize(FData.validatedFont);
    FData.validatedFont.color = colour();
    FData.memoColor = colour();
    flags(FData.validatedFont);
    separator(tabCount <= 0);
    // Counts come from the file: one the rest of the file cannot hold fails at once, before
    // anything is built for it. Every tab block takes three lines at least (the last one's
    // separator may be missing), every line a byte at least.
    if (tabCount > kMaxTabs)
      throw Failure{5, true};
    if (tabCount > 0 && 3 * qint64(tabCount) - 1 > FIn.linesLeftAtMost())
      runOut();
    qint64 texts = 0;
    for (int t = 0; t < tabCount; ++t) {
      const int countLine = FIn.nextNumber();
      const int textCount = integer();
      if (textCount > 0 && (texts += textCount) > kMaxTexts)
        throw Failure{countLine, true};
      if (textCount > 0 && qint64(textCount) + 1 > FIn.linesLeftAtMost())
        runOut();
      FData.tabs.append(BoardTab{});
      BoardTab& tab = FData.tabs.last();
      tab.caption = cp1252::toUnicode(text());
      for (int i = 0; i < textCount; ++i)
        tab.texts.append(cp1252::toUnicode(text()));
      separator(t == tabCount - 1);
    }
  }

  // An empty line that is read and ignored. The one before the final block may be missing
  // along with that block: nothing of the board is lost then.
  void separator(bool beforeFinalBlock) {
    if (beforeFinalBlock && FIn.atEnd())
      return;
    text();
  }
};

// The optional final block: stops silently at the first line that is missing or unreadable.
int readFinalBlock(LineReader& in, BoardData& data) {
  BoardFont& f = data.currentPhraseFont;
  auto l = in.take();
  if (!l)
    return 0;
  f.name = cp1252::toUnicode(*l);
  l = in.take();
  const auto size = l ? boardfile::parseInteger(*l) : std::nullopt;
  if (!size)
    return 1;
  f.size = *size;
  l = in.take();
  const auto colour = l ? boardfile::parseColour(*l) : std::nullopt;
  if (!colour)
    return 2;
  f.color = *colour;
  l = in.take();
  const auto memo = l ? boardfile::parseColour(*l) : std::nullopt;
  if (!memo)
    return 3;
  data.finalMemoColor = *memo;
  bool* styles[] = {&f.bold, &f.italic, &f.underline};
  int read = 4;
  for (bool* style : styles) {
    l = in.take();
    if (!l)
      return read;
    *style = *l == "1";
    ++read;
  }
  return read;
}

// The blocks after a whole final block: the settings and the pictures, each once, in either
// order, each running to the other's marker. Lines that start neither are never read, as by
// the versions before these blocks; the settings block is short, and what lies beyond a
// settings block of more lines than it can hold is never read either.
std::optional<pictureblock::Reader::Failure> readBlocksAfterFinal(LineReader& in, BoardData& data) {
  enum class In { Nothing, Settings, Pictures };
  In block = In::Nothing;
  bool picturesSeen = false;
  QList<QByteArray> settings;
  pictureblock::Reader pictures(data.tabs);
  const auto stop = [&]() {
    data.settings = boardsettings::parse(settings);
    data.picturesBeforeSettings =
        picturesSeen && !settings.isEmpty() && data.picturesBeforeSettings;
  };
  for (;;) {
    in.setMaxLineBytes(block == In::Pictures ? pictureblock::maxLineBytes() : kMaxLineBytes);
    const auto line = in.take();
    if (!line) {
      stop();
      if (block == In::Pictures && in.tooLong())
        return pictureblock::Reader::Failure{true, BoardBound::PictureBytes};
      return std::nullopt;
    }
    if (!picturesSeen && pictureblock::isMarker(*line)) {
      block = In::Pictures;
      picturesSeen = true;
      data.picturesBeforeSettings = settings.isEmpty();
      continue;
    }
    // Only the settings block's marker reads as something other than the defaults alone.
    if (settings.isEmpty() && boardsettings::parse({*line}) != BoardSettings()) {
      block = In::Settings;
      settings << *line;
      continue;
    }
    if (block == In::Nothing || (block == In::Settings && settings.size() >= boardfile::kMaxSettingsLines)) {
      stop();
      return std::nullopt;
    }
    if (block == In::Settings) {
      settings << *line;
    } else if (const auto failed = pictures.take(*line)) {
      stop();
      return failed;
    }
  }
}

} // namespace

namespace boardfile {

QList<QByteArray> splitLines(const QByteArray& bytes) {
  QByteArray copy = bytes;
  QBuffer buffer(&copy);
  buffer.open(QIODevice::ReadOnly);
  LineReader in(buffer, std::numeric_limits<qsizetype>::max());
  QList<QByteArray> lines;
  while (auto l = in.take())
    lines.append(*l);
  return lines;
}

std::optional<std::int32_t> parseInteger(const QByteArray& line) {
  qsizetype i = 0;
  const qsizetype n = line.size();
  while (i < n && (line[i] == ' ' || line[i] == '\t'))
    ++i;
  bool negative = false;
  if (i < n && (line[i] == '+' || line[i] == '-'))
    negative = line[i++] == '-';
  if (i < n && line[i] == '$') {
    // Hexadecimal covers the whole 32-bit pattern, so system colours ($80000005) read back.
    ++i;
    if (i == n)
      return std::nullopt;
    std::uint64_t v = 0;
    for (; i < n; ++i) {
      const int d = hexDigit(line[i]);
      if (d < 0)
        return std::nullopt;
      v = v * 16 + std::uint64_t(d);
      if (v > 0xFFFFFFFFu)
        return std::nullopt;
    }
    auto u = static_cast<std::uint32_t>(v);
    if (negative)
      u = 0u - u;
    return static_cast<std::int32_t>(u);
  }
  if (i == n)
    return std::nullopt;
  std::int64_t v = 0;
  for (; i < n; ++i) {
    if (line[i] < '0' || line[i] > '9')
      return std::nullopt;
    v = v * 10 + (line[i] - '0');
    if (v > 2147483648LL)
      return std::nullopt;
  }
  if (negative)
    v = -v;
  if (v > 2147483647LL)
    return std::nullopt;
  return static_cast<std::int32_t>(v);
}

std::optional<TColor> parseColour(const QByteArray& line) {
  for (const ColourName& c : kColourNames)
    if (equalsIgnoringAsciiCase(line, c.name))
      return static_cast<TColor>(c.value);
  return parseInteger(line);
}

QByteArray colourToString(TColor c) {
  const auto u = static_cast<std::uint32_t>(c);
  for (const ColourName& n : kColourNames)
    if (n.value == u)
      return QByteArray(n.name);
  return '$' + QByteArray::number(u, 16).toUpper().rightJustified(8, '0');
}

BoardExtent extentOf(const BoardData& board) {
  BoardExtent e;
  e.tabs = board.tabs.size();
  for (const BoardTab& tab : board.tabs) {
    e.texts += tab.texts.size();
    e.textBytes += storedBytes(tab.caption);
    for (const QString& t : tab.texts)
      e.textBytes += storedBytes(t);
  }
  return e;
}

std::optional<QString> boundPassed(const BoardExtent& board, const QStringList& newTexts) {
  if (const auto passed = boundPassed(board.tabs, board.texts, newTexts))
    return passed;
  if (board.textBytes > kMaxBoardTextBytes)
    return QStringLiteral("Un tableau ne peut pas avoir plus de %1 Mo de texte")
        .arg(kMaxBoardTextBytes >> 20);
  return std::nullopt;
}

std::optional<QString> boundPassed(qint64 tabs, qint64 texts, const QStringList& newTexts) {
  if (tabs > kMaxTabs)
    return QStringLiteral("Un tableau ne peut pas avoir plus de %1 onglets").arg(kMaxTabs);
  if (texts > kMaxTexts)
    return QStringLiteral("Un tableau ne peut pas avoir plus de %1 textes").arg(kMaxTexts);
  for (const QString& t : newTexts)
    if (!fitsOnALine(storedBytes(t)))
      return textTooLongMessage();
  return std::nullopt;
}

QString textTooLongMessage() {
  return QStringLiteral("Un texte ne peut pas avoir plus de %1 caractères").arg(kMaxLineBytes);
}

QString refusalReason(const BoardReadResult& refused) {
  if (refused.status == BoardReadStatus::WrongHeader)
    return QStringLiteral("ce n'est pas un ordinogramme");
  if (refused.tooLarge) {
    switch (refused.bound) {
    case BoardBound::PictureCount:
      return QStringLiteral("il contient plus de %1 images").arg(kMaxPictures);
    case BoardBound::PictureBytes:
      return QStringLiteral("une image dépasse %1 Mo").arg(kMaxPictureBytes >> 20);
    case BoardBound::PictureBytesInAll:
      return QStringLiteral("ses images dépassent %1 Mo en tout").arg(kMaxPictureBytesInAll >> 20);
    case BoardBound::Board:
      break;
    }
    return QStringLiteral("il est trop volumineux");
  }
  if (refused.failedLine <= 0)
    return QStringLiteral("il ne peut pas être lu");
  return QStringLiteral("il est endommagé (ligne %1)").arg(refused.failedLine);
}

QString refusalMessage(const QString& path, const QString& why) {
  return QStringLiteral("erreur de chargement du fichier ") + path + QStringLiteral(" : ") + why;
}

BoardReadResult read(const QByteArray& bytes) {
  QByteArray copy = bytes;
  QBuffer buffer(&copy);
  buffer.open(QIODevice::ReadOnly);
  return read(buffer);
}

BoardReadResult read(QIODevice& device) {
  BoardReadResult result;
  result.data.finalLinesRead = 0;
  LineReader in(device, kMaxLineBytes);
  const auto header = in.take();
  if (!header || *header != kHeader) {
    result.status = BoardReadStatus::WrongHeader;
    result.failedLine = 1;
    return result;
  }
  if (const auto failed = MainPartReader(in, result.data).run()) {
    result.status = BoardReadStatus::Error;
    result.failedLine = failed->line;
    result.tooLarge = failed->tooLarge || in.tooLong();
    return result;
  }
  result.data.finalLinesRead = readFinalBlock(in, result.data);
  // Settings and pictures follow a whole final block only; after a cut-short one there is
  // nothing to read.
  if (result.data.finalLinesRead == kFinalBlockLines) {
    if (const auto failed = readBlocksAfterFinal(in, result.data)) {
      result.status = BoardReadStatus::Error;
      result.failedLine = in.nextNumber() - 1;
      result.tooLarge = failed->tooLarge;
      result.bound = failed->bound;
      return result;
    }
  }
  if (in.failed()) {
    result.status = BoardReadStatus::Error;
    result.failedLine = in.nextNumber();
    return result;
  }
  result.status = BoardReadStatus::Ok;
  return result;
}

QByteArray write(const BoardData& board) {
  QByteArray out;
  auto line = [&out](const QByteArray& l) { out += l + "\r\n"; };
  auto integer = [&line](int v) { line(QByteArray::number(v)); };
  auto flags = [&line](const BoardFont& f) {
    for (bool b : {f.bold, f.italic, f.underline})
      line(b ? "1" : "0");
  };
  auto nameAndSize = [&](const BoardFont& f) {
    line(textLine(f.name));
    integer(f.size);
  };

  line(kHeader);
  integer(board.t1Seconds);
  integer(board.t2Seconds);
  line({});
  integer(int(board.tabs.size()));
  line({});
  nameAndSize(board.selectedFont);
  integer(board.selectedFont.color);
  flags(board.selectedFont);
  nameAndSize(board.unselectedFont);
  line(colourToString(board.unselectedFont.color));
  flags(board.unselectedFont);
  nameAndSize(board.tabFont);
  line(colourToString(board.tabColor));
  flags(board.tabFont);
  nameAndSize(board.validatedFont);
  integer(board.validatedFont.color);
  line(colourToString(board.memoColor));
  flags(board.validatedFont);
  line({});
  for (const BoardTab& tab : board.tabs) {
    integer(int(tab.texts.size()));
    line(textLine(tab.caption));
    for (const QString& t : tab.texts)
      line(textLine(t));
    line({});
  }
  nameAndSize(board.currentPhraseFont);
  integer(board.currentPhraseFont.color);
  line(colourToString(board.finalMemoColor));
  flags(board.currentPhraseFont);
  const QByteArray settings = boardsettings::write(board.settings);
  const QByteArray pictures = pictureblock::write(board.tabs);
  out += board.picturesBeforeSettings ? pictures + settings : settings + pictures;
  return out;
}

} // namespace boardfile

// The display area's line rules on a QTextEdit: each wrapped line of each block's QTextLayout
// is a display line, so what the rules number is what the user sees.
#include "execution/QtDisplayLines.h"

#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <QVector>
#include <algorithm>

namespace {
struct Span {
  int start;
  int length;
  bool endsWithBreak;
};

// Lays the whole document out (the edit lays out lazily) and lists its display lines. A
// widget that was never shown has had no resize event, so its document is given the
// viewport's width here; a shown one keeps the width the edit itself gave it.
QVector<Span> displaySpans(QTextEdit* edit) {
  QTextDocument* doc = edit->document();
  if (!edit->isVisible() && edit->lineWrapMode() == QTextEdit::WidgetWidth) {
    const qreal width = edit->viewport()->width();
    if (width > 0 && doc->textWidth() != width)
      doc->setTextWidth(width);
  }
  QAbstractTextDocumentLayout* docLayout = doc->documentLayout();
  QVector<Span> spans;
  for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
    docLayout->blockBoundingRect(block); // makes sure this block is laid out
    const bool lastBlock = !block.next().isValid();
    const QTextLayout* layout = block.layout();
    const int lines = layout ? layout->lineCount() : 0;
    if (lines == 0) {
      spans.append({block.position(), int(block.text().size()), !lastBlock});
      continue;
    }
    for (int l = 0; l < lines; ++l) {
      const QTextLine tl = layout->lineAt(l);
      spans.append(
          {block.position() + tl.textStart(), tl.textLength(), l == lines - 1 && !lastBlock});
    }
  }
  return spans;
}

int documentEnd(const QTextDocument* doc) {
  return doc->characterCount() - 1;
}
} // namespace

QtDisplayLines::QtDisplayLines(QTextEdit* edit) : FEdit(edit) {}

int QtDisplayLines::lineCount() const {
  const auto spans = displaySpans(FEdit);
  if (spans.isEmpty())
    return 0;
  return int(spans.size()) - (spans.last().length == 0 ? 1 : 0);
}

QString QtDisplayLines::line(int i) const {
  const auto spans = displaySpans(FEdit);
  if (i < 0 || i >= spans.size())
    return QString();
  return text().mid(spans[i].start, spans[i].length);
}

void QtDisplayLines::setLine(int i, const QString& text) {
  const auto spans = displaySpans(FEdit);
  if (i < 0 || i >= spans.size())
    return;
  QTextCursor cursor(FEdit->document());
  cursor.setPosition(spans[i].start);
  cursor.setPosition(spans[i].start + spans[i].length, QTextCursor::KeepAnchor);
  cursor.insertText(text);
  setCaret(cursor.position());
}

void QtDisplayLines::deleteLine(int i) {
  const auto spans = displaySpans(FEdit);
  if (i < 0 || i >= spans.size())
    return;
  QTextCursor cursor(FEdit->document());
  cursor.setPosition(spans[i].start);
  cursor.setPosition(spans[i].start + spans[i].length + (spans[i].endsWithBreak ? 1 : 0),
                     QTextCursor::KeepAnchor);
  cursor.removeSelectedText();
  setCaret(cursor.position());
}

void QtDisplayLines::addEmptyLine() {
  QTextCursor cursor(FEdit->document());
  cursor.movePosition(QTextCursor::End);
  cursor.insertBlock();
  setCaret(cursor.position());
}

void QtDisplayLines::clear() {
  FEdit->clear();
  setCaret(0);
}

int QtDisplayLines::caret() const {
  return FEdit->textCursor().position();
}

void QtDisplayLines::setCaret(int position) {
  QTextCursor cursor = FEdit->textCursor();
  cursor.setPosition(std::clamp(position, 0, documentEnd(FEdit->document())));
  FEdit->setTextCursor(cursor);
}

void QtDisplayLines::formatRange(int start, int length, const BoardFont& font) {
  const int end = documentEnd(FEdit->document());
  const int from = std::clamp(start, 0, end);
  const int to = int(std::clamp<qint64>(qint64(start) + std::max(length, 0), from, end));
  if (to > from) {
    QTextCharFormat format;
    format.setFont(font.toQFont());
    format.setForeground(toQColor(font.color));
    QTextCursor cursor(FEdit->document());
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    cursor.setCharFormat(format);
  }
  setCaret(to);
}

void QtDisplayLines::scrollToEnd() {
  displaySpans(FEdit); // the scroll range follows the layout
  QScrollBar* bar = FEdit->verticalScrollBar();
  bar->setValue(bar->maximum());
}

QString QtDisplayLines::text() const {
  // Block texts rather than toPlainText(), which turns non-breaking spaces into plain ones:
  // lines read back must be the characters written.
  QStringList blocks;
  for (QTextBlock b = FEdit->document()->begin(); b.isValid(); b = b.next())
    blocks << b.text();
  return blocks.join(QLatin1Char('\n'));
}

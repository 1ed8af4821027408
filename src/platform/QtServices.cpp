// Qt implementations of the platform services.
#include "platform/QtServices.h"

#include "platform/SpeechDispatcher.h"
#include "platform/ToneGenerator.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QFontMetricsF>

namespace {
QWidget* dialogParent() {
  return QApplication::activeWindow();
}
QString title() {
  return QApplication::applicationDisplayName();
}
} // namespace

void QtMessages::information(const QString& text) {
  QMessageBox::information(dialogParent(), title(), text, QMessageBox::Ok);
}

bool QtMessages::question(const QString& text) {
  return QMessageBox::question(dialogParent(), title(), text, QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::Yes) == QMessageBox::Yes;
}

QString QtFileDialogs::toQtFilter(const QString& filter) {
  const int bar = filter.indexOf(QLatin1Char('|'));
  if (bar < 0)
    return filter;
  QString description = filter.left(bar).trimmed();
  const QString pattern = filter.mid(bar + 1).trimmed();
  // Qt reads the patterns from the last parentheses of the description.
  if (!description.endsWith(QLatin1Char(')')))
    description += QStringLiteral(" (%1)").arg(pattern);
  return description;
}

QString QtFileDialogs::openFileName(const QString& filter) {
  // A typed name of a file that does not exist is accepted: the load reports it.
  QFileDialog dialog(dialogParent(), QString(), QString(), toQtFilter(filter));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::AnyFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return QString();
  return dialog.selectedFiles().first();
}

QString QtFileDialogs::saveFileName(const QString& filter) {
  QFileDialog dialog(dialogParent(), QString(), QString(), toQtFilter(filter));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return QString();
  return dialog.selectedFiles().first();
}

std::optional<TColor> QtColorChooser::chooseColor(TColor initial) {
  const QColor c = QColorDialog::getColor(toQColor(initial), dialogParent());
  if (!c.isValid())
    return std::nullopt;
  return fromQColor(c);
}

QtTextMeasurer::Metrics& QtTextMeasurer::metricsFor(const BoardFont& font) {
  // Measuring runs in long loops over one font: the last one is looked up without a key.
  if (FLast && FLastFont == font)
    return *FLast;
  const QString key = QStringLiteral("%1|%2|%3%4%5")
                          .arg(font.name)
                          .arg(font.size)
                          .arg(int(font.bold))
                          .arg(int(font.italic))
                          .arg(int(font.underline));
  auto it = FCache.find(key);
  if (it == FCache.end()) {
    auto m = std::make_shared<Metrics>();
    m->metrics = std::make_unique<QFontMetrics>(font.toQFont());
    m->metricsF = std::make_unique<QFontMetricsF>(font.toQFont());
    it = FCache.insert(key, m);
  }
  FLastFont = font;
  FLast = it.value().get();
  return *it.value();
}

int QtTextMeasurer::textWidth(const QString& text, const BoardFont& font) {
  // The characters' advances added up, from the glyph cache: a board of thousands of texts is
  // measured without shaping each caption. Only kerning between letters is left out, a pixel
  // at most, well inside a button's margin.
  const std::vector<int> widths = prefixWidths(text, font);
  return widths.back();
}


int QtTextMeasurer::lineHeight(const BoardFont& font) {
  return metricsFor(font).metrics->height();
}

std::vector<int> QtTextMeasurer::prefixWidths(const QString& text, const BoardFont& font) {
  // The advances of the characters, added up: linear in the length of the text (placing a
  // cursor at every position of a laid-out line is not), and the same sums as textWidth, so a
  // piece cut from them measures as it was cut.
  Metrics& m = metricsFor(font);
  const QFontMetricsF& metrics = *m.metricsF;
  std::vector<int> widths(size_t(text.size()) + 1, 0);
  qreal x = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const bool pair = text.at(i).isHighSurrogate() && i + 1 < text.size();
    if (pair) {
      x += metrics.horizontalAdvance(text.mid(i, 2));
    } else {
      const char16_t c = text.at(i).unicode();
      auto a = m.advances.constFind(c);
      if (a == m.advances.constEnd())
        a = m.advances.insert(c, metrics.horizontalAdvance(text.at(i)));
      x += *a;
    }
    if (pair) {
      widths[size_t(i + 1)] = widths[size_t(i)];
      ++i;
    }
    widths[size_t(i + 1)] = qRound(x);
  }
  return widths;
}

QtServices::QtServices() : tones(makeSystemToneGenerator()), speech(makeSystemSpeech()) {}

Services QtServices::services() {
  Services s;
  s.messages = &messages;
  s.fileDialogs = &fileDialogs;
  s.colorChooser = &colorChooser;
  s.tones = tones.get();
  s.measurer = &measurer;
  s.speech = speech.get();
  s.screenReader = &screenReader;
  return s;
}

// The real platform services: Qt message boxes, file dialogs, colour chooser and font metrics.
#pragma once

#include "platform/ScreenReaderStatus.h"
#include "platform/Services.h"

#include <QFont>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QHash>
#include <memory>

class QtMessages : public IMessages {
public:
  void information(const QString& text) override;
  bool question(const QString& text) override;
};

class QtFileDialogs : public IFileDialogs {
public:
  QString openFileName(const QString& filter) override;
  QString saveFileName(const QString& filter) override;
  // "Description |*.ord" -> "Description (*.ord)" as Qt wants it.
  static QString toQtFilter(const QString& filter);
};

class QtColorChooser : public IColorChooser {
public:
  std::optional<TColor> chooseColor(TColor initial) override;
};

// Font metrics are cached per font: measuring is on the scanning step's path.
class QtTextMeasurer : public ITextMeasurer {
public:
  int textWidth(const QString& text, const BoardFont& font) override;
  int lineHeight(const BoardFont& font) override;
  std::vector<int> prefixWidths(const QString& text, const BoardFont& font) override;

private:
  struct Metrics {
    std::unique_ptr<QFontMetrics> metrics;
    std::unique_ptr<QFontMetricsF> metricsF;
    QHash<char16_t, qreal> advances; // of single characters, looked up without the font engine
  };
  Metrics& metricsFor(const BoardFont& font);
  QHash<QString, std::shared_ptr<Metrics>> FCache;
  BoardFont FLastFont;
  Metrics* FLast = nullptr;
};

// Holds one instance of each real service.
struct QtServices {
  QtMessages messages;
  QtFileDialogs fileDialogs;
  QtColorChooser colorChooser;
  QtTextMeasurer measurer;
  std::unique_ptr<IToneGenerator> tones;
  std::unique_ptr<ISpeech> speech;
  QtScreenReaderStatus screenReader;
  QtServices();
  Services services();
};

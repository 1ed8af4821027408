// The creation panel's placement over the panel's width.
#include "editing/CreationPanelLayout.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <cmath>

namespace {
// Room a caption needs beside its text: a button's frame; a box title is drawn 8 pixels in.
constexpr int kButtonPadding = 8;
constexpr int kTitlePadding = 10;
// Space between a label's text and the control it names.
constexpr int kLabelSpacing = 4;
} // namespace

CreationPanelLayout::CreationPanelLayout(QGroupBox* tabs, QGroupBox* texts, QGroupBox* appearance,
                                         QGroupBox* general)
    : FTabs(tabs), FTexts(texts), FAppearance(appearance), FGeneral(general) {
  QGroupBox* const boxes[] = {tabs, texts, appearance, general};
  for (int i = 0; i < 4; ++i) {
    QGroupBox* box = boxes[i];
    const int column = std::min(i, 2); // the general box stands above the appearance box
    record(box, column);
    for (QWidget* child : box->findChildren<QWidget*>())
      if (qobject_cast<QGroupBox*>(child->parentWidget())) // not the parts of a spin box
        record(child, column);
  }
}

void CreationPanelLayout::record(QWidget* widget, int column) {
  FDesigned.push_back({widget, widget->geometry(), column});
}

double CreationPanelLayout::minScale(int column) const {
  double least = 0;
  for (const Designed& d : FDesigned) {
    if (d.column != column || d.rect.width() <= 0)
      continue;
    int needed = 0;
    if (auto* b = qobject_cast<QPushButton*>(d.widget))
      needed = b->fontMetrics().horizontalAdvance(b->text()) + kButtonPadding;
    else if (auto* g = qobject_cast<QGroupBox*>(d.widget))
      needed = g->fontMetrics().horizontalAdvance(g->title()) + kTitlePadding;
    least = std::max(least, double(needed) / d.rect.width());
  }
  return least;
}

std::vector<double> CreationPanelLayout::columnScales(int panelWidth,
                                                      const std::vector<Column>& columns) {
  const auto widthAt = [&columns](double common) {
    double total = 0;
    for (const Column& c : columns)
      total += std::max(c.minScale, common) * c.width;
    return total;
  };
  const double room = panelWidth - 4 * kMinGap;
  double common = 1.0;
  if (widthAt(common) > room) {
    // The largest common proportion that fits, found by halving the interval.
    double low = 0, high = 1;
    for (int i = 0; i < 40; ++i) {
      const double mid = (low + high) / 2;
      (widthAt(mid) <= room ? low : high) = mid;
    }
    common = low;
  }
  std::vector<double> scales;
  for (const Column& c : columns)
    scales.push_back(std::max(c.minScale, common));
  return scales;
}

void CreationPanelLayout::place(int panelWidth) {
  std::vector<Column> columns;
  for (const Designed& d : FDesigned)
    if (d.widget == FTabs || d.widget == FTexts || d.widget == FAppearance)
      columns.push_back({d.rect.width(), minScale(d.column)});
  const std::vector<double> scales = columnScales(panelWidth, columns);
  for (const Designed& d : FDesigned) {
    const double s = scales[size_t(d.column)];
    const auto scaled = [s](int v) { return int(std::lround(v * s)); };
    const QRect& r = d.rect;
    // A label keeps the width of its text.
    const bool keepWidth = qobject_cast<QLabel*>(d.widget) != nullptr;
    d.widget->setGeometry(scaled(r.x()), r.y(), keepWidth ? r.width() : scaled(r.width()),
                          r.height());
  }
  // Narrowed, a control named by a label on its left still starts after the label's text: a
  // field keeps its right edge, other controls their width.
  for (const Designed& label : FDesigned) {
    auto* l = qobject_cast<QLabel*>(label.widget);
    if (!l)
      continue;
    const int labelEnd = l->x() + l->width() + kLabelSpacing;
    for (const Designed& d : FDesigned) {
      QWidget* w = d.widget;
      const bool sameRow = d.rect.top() < label.rect.bottom() && label.rect.top() < d.rect.bottom();
      if (w->parentWidget() != l->parentWidget() || !sameRow || d.rect.x() <= label.rect.x() ||
          w->x() >= labelEnd)
        continue;
      const int right = w->geometry().right();
      const int width = qobject_cast<QLineEdit*>(w) ? right - labelEnd + 1 : w->width();
      w->setGeometry(labelEnd, w->y(), width, w->height());
    }
  }
  // The form's rule over the widths drawn: a quarter of what is left over, truncated.
  const int gap = (panelWidth - FTabs->width() - FTexts->width() - FAppearance->width()) / 4;
  FTabs->move(gap, FTabs->y());
  FTexts->move(FTabs->x() + FTabs->width() + gap, FTexts->y());
  FAppearance->move(FTexts->x() + FTexts->width() + gap, FAppearance->y());
  FGeneral->move(FAppearance->x() + (FAppearance->width() - FGeneral->width()) / 2, FGeneral->y());
}

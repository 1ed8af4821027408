// The tab strip's highlight is drawn over the tab: a strong yellow fill and a thick dark frame,
// visible from across a room whatever the style; in the frame style, the tab's colours
// inverted inside a thicker yellow frame, as the page's buttons are.
#include "board/TPageControl.h"

#include <QMouseEvent>
#include <QPainter>

TTabBar::TTabBar(QWidget* parent) : QTabBar(parent) {
  setObjectName(QStringLiteral("TabBar"));
  setMouseTracking(true); // tabs light up under the mouse
  setAttribute(Qt::WA_Hover, true);
  // The highlight belongs to a tab, not to a place in the row: it follows the tab when "<<" or
  // ">>" moves it, and shifts with the tabs a move passes over.
  connect(this, &QTabBar::tabMoved, this, [this](int from, int to) {
    if (FHighlighted < 0)
      return;
    if (FHighlighted == from)
      FHighlighted = to;
    else if (from < FHighlighted && FHighlighted <= to)
      --FHighlighted;
    else if (to <= FHighlighted && FHighlighted < from)
      ++FHighlighted;
    update();
  });
}

void TTabBar::setHighlighted(int index) {
  if (index == FHighlighted)
    return;
  FHighlighted = index;
  update();
}

void TTabBar::setCaptionColor(const QColor& c) {
  FCaptionColor = c;
  for (int i = 0; i < count(); ++i)
    setTabTextColor(i, c);
}

void TTabBar::setHighlightStyle(HighlightStyle style) {
  if (style == FStyle)
    return;
  FStyle = style;
  update();
}

void TTabBar::tabInserted(int index) {
  setTabTextColor(index, FCaptionColor);
  if (FHighlighted >= index && FHighlighted >= 0)
    ++FHighlighted;
  QTabBar::tabInserted(index);
}

void TTabBar::tabRemoved(int index) {
  if (FHighlighted == index)
    FHighlighted = -1;
  else if (FHighlighted > index)
    --FHighlighted;
  QTabBar::tabRemoved(index);
}

template <typename Measure>
QSize TTabBar::cachedSize(QHash<QString, QSize>& cache, int index, Measure measure) const {
  if (FSizesDeferred)
    return QSize(1, 1);
  const QString text = tabText(index);
  auto it = cache.constFind(text);
  if (it == cache.constEnd())
    it = cache.insert(text, measure());
  return *it;
}

QSize TTabBar::tabSizeHint(int index) const {
  return cachedSize(FTabSizes, index, [&] { return QTabBar::tabSizeHint(index); });
}

QSize TTabBar::minimumTabSizeHint(int index) const {
  return cachedSize(FMinimumTabSizes, index, [&] { return QTabBar::minimumTabSizeHint(index); });
}

void TTabBar::changeEvent(QEvent* e) {
  if (e->type() == QEvent::FontChange || e->type() == QEvent::StyleChange) {
    FTabSizes.clear();
    FMinimumTabSizes.clear();
  }
  QTabBar::changeEvent(e);
}

void TTabBar::paintEvent(QPaintEvent* e) {
  QTabBar::paintEvent(e);
  if (FHighlighted < 0 || FHighlighted >= count())
    return;
  QPainter p(this);
  const QRect r = tabRect(FHighlighted).adjusted(1, 1, -1, -1);
  const bool frame = FStyle == HighlightStyle::Frame;
  if (frame) {
    p.fillRect(r, QColor(255, 220, 0));
    p.fillRect(r.adjusted(4, 4, -4, -4), FCaptionColor);
  } else {
    p.fillRect(r, QColor(255, 220, 0));
    p.setPen(QPen(QColor(0x80, 0, 0), 3));
    p.drawRect(r.adjusted(1, 1, -2, -2));
  }
  QFont f = font();
  f.setBold(true);
  p.setFont(f);
  p.setPen(frame ? (FCaptionColor.lightness() > 127 ? Qt::black : Qt::white) : Qt::black);
  p.drawText(r, Qt::AlignCenter,
             tabText(FHighlighted).replace(QStringLiteral("&&"), QStringLiteral("&")));
}

void TTabBar::mousePressEvent(QMouseEvent* e) {
  if (tabAt(e->position().toPoint()) != currentIndex())
    emit changing();
  QTabBar::mousePressEvent(e);
  emit mouseDown();
}

TPageControl::TPageControl(QWidget* parent) : QTabWidget(parent), FTabBar(new TTabBar(this)) {
  setTabBar(FTabBar);
}

TPageControl::Batch::Batch(TPageControl& control) : FControl(control) {
  // A hidden strip only marks its layout as out of date.
  if (FControl.FBatches++ == 0) {
    FControl.FStripWasShown = !FControl.FTabBar->isHidden();
    if (FControl.FStripWasShown)
      FControl.FTabBar->hide();
    FControl.FTabBar->FSizesDeferred = true;
  }
}

TPageControl::Batch::~Batch() {
  if (--FControl.FBatches > 0)
    return;
  TTabBar* strip = FControl.FTabBar;
  strip->FSizesDeferred = false;
  // The strip's layout was made with stand-in sizes: setting a caption again marks it as out
  // of date, so that it is laid out with the real sizes.
  if (strip->count() > 0)
    strip->setTabText(0, strip->tabText(0));
  if (FControl.FStripWasShown)
    strip->show();
}

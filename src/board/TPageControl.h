// The board's tab control: a tab widget whose tab strip can draw one tab highlighted (the
// scanning position) and reports the user's clicks before and after the tab changes.
#pragma once

#include "platform/HighlightStyle.h"

#include <QHash>
#include <QTabBar>
#include <QTabWidget>

class TTabBar : public QTabBar {
  Q_OBJECT
public:
  explicit TTabBar(QWidget* parent = nullptr);
  void setHighlighted(int index); // -1: none
  int highlighted() const { return FHighlighted; }
  void setCaptionColor(const QColor& c);
  void setHighlightStyle(HighlightStyle style);
  HighlightStyle highlightStyle() const { return FStyle; }

signals:
  void changing();  // the user is about to change the tab
  void mouseDown(); // any mouse button pressed, after the change

protected:
  // A tab's size depends only on its caption once the font and style are set: the strip lays
  // out every tab whenever one is added, so each size is worked out once, not at every layout.
  QSize tabSizeHint(int index) const override;
  QSize minimumTabSizeHint(int index) const override;
  void changeEvent(QEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void tabInserted(int index) override;
  void tabRemoved(int index) override;

private:
  int FHighlighted = -1;
  QColor FCaptionColor{0x80, 0, 0};
  HighlightStyle FStyle = HighlightStyle::TextColour;
  friend class TPageControl;
  // While tabs are added in a batch, the strip is hidden and every tab is taken to be of one
  // size: adding a tab still lays out every tab (to find the one under the mouse), and this
  // keeps that to a few operations per tab. The real layout follows the batch.
  bool FSizesDeferred = false;
  mutable QHash<QString, QSize> FTabSizes;
  mutable QHash<QString, QSize> FMinimumTabSizes;
  // A tab's size by its caption, measured once; every tab one size while sizes are deferred.
  template <typename Measure>
  QSize cachedSize(QHash<QString, QSize>& cache, int index, Measure measure) const;
};

class TPageControl : public QTabWidget {
  Q_OBJECT
public:
  explicit TPageControl(QWidget* parent = nullptr);
  TTabBar* tabStrip() const { return FTabBar; }

  // While one is alive, adding or removing tabs does not lay the tab strip out again: a shown
  // strip lays out every tab at each change, which makes a board of many tabs cost the square
  // of their number. The strip is laid out once when the last one ends.
  class Batch {
  public:
    explicit Batch(TPageControl& control);
    ~Batch();
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

  private:
    TPageControl& FControl;
  };

private:
  TTabBar* FTabBar;
  int FBatches = 0;
  bool FStripWasShown = false;
};

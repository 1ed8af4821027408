// Places the creation panel's group boxes across the panel. Where the panel is wide enough the
// boxes keep the form's sizes and its spacing rule; on a narrower screen (1024 pixels wide)
// each column of boxes, with every control in it, is narrowed in proportion, never so far that
// a caption is cut; a column whose captions the form's size already cuts in the platform's
// font is widened just enough. Heights and vertical places never change.
#pragma once

#include <QRect>
#include <vector>

class QGroupBox;
class QWidget;

class CreationPanelLayout {
public:
  // The boxes with their children as the form places them: tabs, texts and appearance from
  // left to right, and the general box centred above the appearance box.
  CreationPanelLayout(QGroupBox* tabs, QGroupBox* texts, QGroupBox* appearance, QGroupBox* general);
  void place(int panelWidth);

  // One column as designed: its width, and the least proportion its captions allow.
  struct Column {
    int width;
    double minScale;
  };
  // The proportion each column is drawn at: the form's size (1) when the panel leaves every gap
  // at least kMinGap wide, otherwise one common proportion, as large as the panel allows, that
  // no column goes below its own least proportion.
  static std::vector<double> columnScales(int panelWidth, const std::vector<Column>& columns);
  static constexpr int kMinGap = 4;

private:
  struct Designed {
    QWidget* widget;
    QRect rect;
    int column;
  };
  void record(QWidget* widget, int column);
  double minScale(int column) const;
  std::vector<Designed> FDesigned;
  QGroupBox* FTabs;
  QGroupBox* FTexts;
  QGroupBox* FAppearance;
  QGroupBox* FGeneral;
};

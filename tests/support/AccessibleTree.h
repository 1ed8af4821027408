// What a screen reader finds in a widget's accessible tree: the controls it could not name, and
// the name of one control, both asked through Qt's accessibility interfaces as the bridge does.
#pragma once

#include <QAccessible>
#include <QObject>
#include <QString>
#include <QStringList>

class QObject;
class QWidget;

namespace testsupport {
// Each shown control (button, field, box, tab, list item …) under `root` whose accessible name
// says nothing (none, blanks, signs alone such as "..." or "<<"; one sign is a key), as
// "role objectName (parent path)".
QStringList unnamedControls(QWidget* root);
// The accessible name of `object` (a tab's when child >= 0).
QString accessibleName(QObject* object, int child = -1);

// Records the focus events sent to assistive technologies while it lives, with the bridge
// switched on in the test process.
class FocusEventRecorder {
public:
  FocusEventRecorder();
  ~FocusEventRecorder();
  FocusEventRecorder(const FocusEventRecorder&) = delete;
  FocusEventRecorder& operator=(const FocusEventRecorder&) = delete;
  // The names heard in order; a tab is heard by its tab's name.
  QStringList names() const;
  void clear();

private:
  QMetaObject::Connection FFocus;
};
} // namespace testsupport

// Walks the tree of accessible interfaces from a widget, as the bridge exposes it.
#include "support/AccessibleTree.h"

#include "platform/Accessibility.h"

#include <QAccessibleInterface>
#include <QApplication>
#include <QWidget>
#include <algorithm>

namespace testsupport {
namespace {

bool isControl(QAccessible::Role role) {
  switch (role) {
  case QAccessible::PushButton:
  case QAccessible::CheckBox:
  case QAccessible::RadioButton:
  case QAccessible::ComboBox:
  case QAccessible::SpinBox:
  case QAccessible::EditableText:
  case QAccessible::Slider:
  case QAccessible::PageTab:
  case QAccessible::PageTabList:
  case QAccessible::List:
  case QAccessible::ListItem:
  case QAccessible::ButtonMenu:
  case QAccessible::ButtonDropDown:
  case QAccessible::Link:
    return true;
  default:
    return false;
  }
}

QString describe(QAccessibleInterface* iface) {
  QString path;
  for (QAccessibleInterface* p = iface->parent(); p; p = p->parent()) {
    const QString name = p->object() ? p->object()->objectName() : QString();
    path.prepend(QLatin1Char('/') + (name.isEmpty() ? QStringLiteral("?") : name));
    if (p->object() && p->object()->isWidgetType() &&
        static_cast<QWidget*>(p->object())->isWindow())
      break;
  }
  const QString own = iface->object() ? iface->object()->objectName() : QString();
  return QStringLiteral("%1 %2 (%3)")
      .arg(QString::number(int(iface->role()), 16), own.isEmpty() ? QStringLiteral("?") : own,
           path);
}

void walk(QAccessibleInterface* iface, QStringList& unnamed, int depth) {
  if (!iface || !iface->isValid() || depth > 60)
    return;
  if (iface->state().invisible)
    return;
  // Signs alone ("...", "<<") say nothing of what a control does; one sign is a key of the
  // board ("?", ","), which a screen reader names.
  const QString name = iface->text(QAccessible::Name).trimmed();
  const bool saysNothing =
      name.isEmpty() || (name.size() > 1 && std::none_of(name.begin(), name.end(), [](QChar c) {
                           return c.isLetterOrNumber();
                         }));
  if (isControl(iface->role()) && saysNothing)
    unnamed << describe(iface);
  for (int i = 0; i < iface->childCount(); ++i)
    walk(iface->child(i), unnamed, depth + 1);
}

QStringList* gHeard = nullptr;

void recordFocus(QAccessibleEvent* event) {
  if (!gHeard || event->type() != QAccessible::Focus)
    return;
  QAccessibleInterface* iface = event->accessibleInterface();
  *gHeard << (iface ? iface->text(QAccessible::Name) : QStringLiteral("?"));
}

} // namespace

QStringList unnamedControls(QWidget* root) {
  QStringList unnamed;
  walk(QAccessible::queryAccessibleInterface(root), unnamed, 0);
  return unnamed;
}

QString accessibleName(QObject* object, int child) {
  QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(object);
  if (iface && child >= 0)
    iface = iface->child(child);
  return iface ? iface->text(QAccessible::Name) : QString();
}

FocusEventRecorder::FocusEventRecorder() {
  static QStringList heard;
  heard.clear();
  gHeard = &heard;
  accessibility::setAnnouncementObserver(recordFocus);
  // The bridge also tells of every widget that takes the keyboard focus.
  FFocus = QObject::connect(qApp, &QApplication::focusChanged, [](QWidget*, QWidget* now) {
    if (gHeard && now)
      *gHeard << QAccessible::queryAccessibleInterface(now)->text(QAccessible::Name);
  });
}

FocusEventRecorder::~FocusEventRecorder() {
  QObject::disconnect(FFocus);
  accessibility::setAnnouncementObserver(nullptr);
  gHeard = nullptr;
}

QStringList FocusEventRecorder::names() const {
  return gHeard ? *gHeard : QStringList();
}

void FocusEventRecorder::clear() {
  if (gHeard)
    gHeard->clear();
}

} // namespace testsupport

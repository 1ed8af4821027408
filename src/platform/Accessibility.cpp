// The focus event Qt's accessibility bridge forwards (it drops the others, such as a change of
// the active descendant), and names for the fields of form layouts.
#include "platform/Accessibility.h"

#include <QAccessible>
#include <QFormLayout>
#include <QLabel>
#include <QLayout>
#include <QWidget>

namespace accessibility {
namespace {
std::function<void(QAccessibleEvent*)>& observer() {
  static std::function<void(QAccessibleEvent*)> theObserver;
  return theObserver;
}
} // namespace

bool listening() {
  return QAccessible::isActive() || observer();
}

void setAnnouncementObserver(std::function<void(QAccessibleEvent*)> o) {
  observer() = std::move(o);
}

void announceCurrent(QObject* object, int child) {
  if (!object || !listening())
    return;
  QAccessibleEvent event(object, QAccessible::Focus);
  if (child >= 0)
    event.setChild(child);
  if (observer())
    observer()(&event);
  QAccessible::updateAccessibility(&event);
}

namespace {
QString nameFromLabel(QString text) {
  text = text.trimmed();
  if (text.endsWith(QLatin1Char(':')))
    text.chop(1);
  // "&&" is a shown "&"; a lone "&" marks a mnemonic and is not read.
  text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
  text.remove(QLatin1Char('&'));
  text.replace(QStringLiteral("\x01"), QStringLiteral("&"));
  return text.trimmed();
}
} // namespace

void nameFormFields(QWidget* root) {
  if (!root)
    return;
  const auto forms = root->findChildren<QFormLayout*>();
  for (QFormLayout* form : forms) {
    for (int row = 0; row < form->rowCount(); ++row) {
      QLayoutItem* labelItem = form->itemAt(row, QFormLayout::LabelRole);
      QLayoutItem* fieldItem = form->itemAt(row, QFormLayout::FieldRole);
      auto* label = labelItem ? qobject_cast<QLabel*>(labelItem->widget()) : nullptr;
      QWidget* field = fieldItem ? fieldItem->widget() : nullptr;
      if (!label || !field || !field->accessibleName().isEmpty())
        continue;
      const QString name = nameFromLabel(label->text());
      if (!name.isEmpty())
        field->setAccessibleName(name);
    }
  }
}

} // namespace accessibility

// The status lives on the session bus, with the launcher of the accessibility bus. Without a
// session bus or a launcher no screen reader can hear the board: the answer is then "none".
#include "platform/ScreenReaderStatus.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

namespace {
const QString kService = QStringLiteral("org.a11y.Bus");
const QString kPath = QStringLiteral("/org/a11y/bus");
const QString kStatus = QStringLiteral("org.a11y.Status");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kScreenReader = QStringLiteral("ScreenReaderEnabled");
} // namespace

QtScreenReaderStatus::QtScreenReaderStatus(QObject* parent) : QObject(parent) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected())
    return;
  bus.connect(kService, kPath, kProperties, QStringLiteral("PropertiesChanged"), this,
              SLOT(propertiesChanged(QString, QVariantMap, QStringList)));
  QDBusMessage get = QDBusMessage::createMethodCall(kService, kPath, kProperties,
                                                    QStringLiteral("Get"));
  get << kStatus << kScreenReader;
  // Asking must not start a launcher that nobody started: no screen reader uses one then.
  get.setAutoStartService(false);
  auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(get), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
    const QDBusPendingReply<QDBusVariant> reply = *w;
    if (!reply.isError())
      FRunning = reply.value().variant().toBool();
    w->deleteLater();
  });
}

void QtScreenReaderStatus::propertiesChanged(const QString& interface, const QVariantMap& changed,
                                             const QStringList&) {
  if (interface == kStatus && changed.contains(kScreenReader))
    FRunning = changed.value(kScreenReader).toBool();
}

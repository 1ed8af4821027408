// Whether a screen reader runs, as the session's accessibility bus says (its status property
// "ScreenReaderEnabled"): read once at start without waiting, then followed as it changes.
#pragma once

#include "platform/Accessibility.h"

#include <QObject>
#include <QStringList>
#include <QVariantMap>

class QtScreenReaderStatus : public QObject, public IScreenReaderStatus {
  Q_OBJECT
public:
  explicit QtScreenReaderStatus(QObject* parent = nullptr);
  bool screenReaderRunning() const override { return FRunning; }

private Q_SLOTS:
  void propertiesChanged(const QString& interface, const QVariantMap& changed,
                         const QStringList& invalidated);

private:
  bool FRunning = false;
};

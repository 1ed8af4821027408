// Loads Qt's French catalogue, from Qt's translations folder or from the program's resources.
#include "shell/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

QTranslator* installQtTranslations(QCoreApplication& app) {
  auto* translator = new QTranslator(&app);
  const QString catalogue = QStringLiteral("qtbase_fr");
  // The installed catalogue first: it matches the Qt libraries the program runs with.
  for (const QString& folder :
       {QLibraryInfo::path(QLibraryInfo::TranslationsPath), QStringLiteral(":/translations")})
    if (translator->load(catalogue, folder) && QCoreApplication::installTranslator(translator))
      return translator;
  delete translator;
  return nullptr;
}

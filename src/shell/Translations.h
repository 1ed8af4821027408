// Qt's own texts (message box buttons, the file and colour dialogs, the fields' right-click
// menus) in French, whatever the language of the session: the program speaks French only.
#pragma once

class QCoreApplication;
class QTranslator;

// Installs Qt's French catalogue before the first window: the installed Qt's own, else the copy
// compiled into the program (a copy run alone, on a machine without the catalogue). Without
// either, Qt's texts stay untranslated and nothing is reported. Returns the translator
// installed (owned by the application), or null.
QTranslator* installQtTranslations(QCoreApplication& app);

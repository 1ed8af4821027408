// Program start: the working folders and the configuration file (beside the program, or in the
// user's data folder for an installed copy), then the windows, the last board and the event loop.
#include "shell/Startup.h"

#include "documents/BoardFile.h"
#include "editing/CreationPanel.h"
#include "editing/PictureChooserDialog.h"
#include "interchange/CommandLine.h"
#include "interchange/Interchange.h"
#include "platform/QtServices.h"
#include "prediction/PresagePredictor.h"
#include "shell/ConfigFile.h"
#include "shell/Logo.h"
#include "shell/TMainFrame.h"
#include "shell/Translations.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QSaveFile>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>

StartupValues prepareProgramFolder(const QString& programFolder, const Services& services) {
  QDir dir(programFolder);
  if (!QFileInfo(programFolder + QStringLiteral("/fic/")).isDir() &&
      !dir.mkpath(QStringLiteral("fic")))
    services.messages->information(QStringLiteral("erreur de creation du repertoire fic"));
  if (!QFileInfo(programFolder + QStringLiteral("/conf/")).isDir() &&
      !dir.mkpath(QStringLiteral("conf")))
    services.messages->information(QStringLiteral("erreur de creation du repertoire conf"));

  const QString confPath = programFolder + QStringLiteral("/conf/conf.txt");
  if (!QFileInfo::exists(confPath)) {
    QSaveFile conf(confPath);
    bool ok = conf.open(QIODevice::WriteOnly);
    if (ok)
      ok = conf.write(configfile::encode(QString::fromLatin1(configfile::kInitialPassword))) >= 0 &&
           conf.flush(); // a full disk shows only here; a commit would still go ahead
    ok = ok && conf.commit();
    if (!ok)
      services.messages->information(QStringLiteral("erreur de creation du fichier conf"));
  }

  StartupValues values;
  QFile conf(confPath);
  if (!conf.open(QIODevice::ReadOnly)) {
    services.messages->information(QStringLiteral("erreur chargement fichier"));
    return values;
  }
  const QByteArray bytes = conf.readAll();
  if (conf.error() != QFileDevice::NoError) {
    services.messages->information(QStringLiteral("erreur chargement fichier"));
    return values;
  }
  const configfile::ConfigValues read = configfile::decode(bytes);
  values.password = read.password;
  values.lastBoard = read.lastBoard;
  return values;
}

QString interruptedStartMarker(const QString& programFolder) {
  return programFolder + QStringLiteral("/conf/ouverture.txt");
}

void forgetInterruptedStart(const QString& programFolder) {
  QFile::remove(interruptedStartMarker(programFolder));
}

void openStartBoard(TMainFrame& frame, const QString& lastBoard) {
  // A broken file leaves the board untouched, and at start there is none yet: the user gets a
  // new board to communicate with rather than an empty window.
  if (lastBoard.isEmpty() || !QFileInfo(lastBoard).isFile()) {
    frame.BtnNouveauClick();
    return;
  }
  const QString markerPath = interruptedStartMarker(frame.programFolder());
  QFile marker(markerPath);
  if (marker.open(QIODevice::ReadOnly)) {
    // The configuration is rewritten only at a clean close: until then it names the board the
    // interrupted start was opening. The marker stays, so that it is not opened again either.
    if (QString::fromUtf8(marker.readAll()) == lastBoard) {
      frame.services().messages->information(boardfile::refusalMessage(
          lastBoard, QStringLiteral("son ouverture précédente ne s'est pas terminée")));
      frame.BtnNouveauClick();
      return;
    }
    marker.close();
  }
  // Written before the load: a load that never ends leaves it behind.
  if (marker.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    marker.write(lastBoard.toUtf8());
    marker.close();
  }
  const bool broken = frame.LoadBoard(lastBoard) == BoardDocument::LoadOutcome::Broken;
  QFile::remove(markerPath);
  if (broken)
    frame.BtnNouveauClick();
}

void openNamedBoard(TMainFrame& frame, const QString& path) {
  const bool opened = interchange::formatOf(path) == interchange::Format::Ord
                          ? frame.LoadBoard(path) == BoardDocument::LoadOutcome::Loaded
                          : frame.panel().importBoard(path);
  if (!opened)
    frame.BtnNouveauClick();
}

QString chooseDataFolder(const QString& programFolder, const QString& userDataFolder) {
  const QFileInfo program(programFolder);
  if ((program.isDir() && program.isWritable()) || userDataFolder.isEmpty())
    return programFolder;
  // Made here, so that the folders beside it can be made the usual way (and reported when
  // they cannot).
  QDir().mkpath(userDataFolder);
  return userDataFolder;
}

int runOrivox(int argc, char** argv, bool quitWhenShown) {
  QApplication app(argc, argv);
  installQtTranslations(app); // before the first message box or window
  // The name is needed before the folders are chosen: the user's data folder is named after it.
  QApplication::setApplicationName(QStringLiteral("Orivox"));
  // The menu entry's id (org.orivox.orivox.desktop), so that the desktop ties the window to it.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.orivox.orivox"));
  QApplication::setWindowIcon(QIcon(orivoxLogo(256)));
  const QString dataFolder =
      chooseDataFolder(QCoreApplication::applicationDirPath(),
                       QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
  QtServices qtServices;
  // Cheap to make: the picture set is read the first time the carer asks for a picture.
  PictureChooser pictureChooser(&qtServices.fileDialogs, &qtServices.messages);
  Services services = qtServices.services();
  services.pictures = &pictureChooser;
  const StartupValues values = prepareProgramFolder(dataFolder, services);

  // The model installed or built beside the program; the words learned in the user's data
  // folder. Without a model the board works as ever, without suggestions.
  PresagePredictor predictor(PresagePredictor::findModel());
  TMainFrame frame(services, dataFolder, &predictor);
  frame.SetPassword(values.password);
  // A board named on the command line (a file opened from the desktop) comes before the last one.
  const QString named = interchange::fileToOpen(QCoreApplication::arguments());
  if (named.isEmpty())
    openStartBoard(frame, values.lastBoard);
  else
    openNamedBoard(frame, named);
  // Without a window manager a maximise request is not honoured: take the screen ourselves.
  if (QScreen* screen = QGuiApplication::primaryScreen())
    frame.setGeometry(screen->availableGeometry());
  frame.showMaximized();
  // The board takes the keyboard, wherever the pointer rests: without a window manager X would
  // otherwise give the keys to the window under the pointer, and a window that took them from
  // the board would do so unseen, with a switch key still down.
  frame.activateWindow();
  if (quitWhenShown)
    QTimer::singleShot(0, &app, &QApplication::quit);
  return app.exec();
}

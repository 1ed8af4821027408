// The program installed without its modules, or with them: each feature a module carries
// (speech, tones, zip packages, SVG pictures, word prediction) is silent or off without it,
// never a crash, and works again once the module is found.
#include "platform/Modules.h"
#include "interchange/ZipPackage.h"
#include "platform/PictureDecoder.h"
#include "platform/SpeechDispatcher.h"
#include "platform/ToneGenerator.h"
#include "prediction/PresagePredictor.h"
#include "support/TestRegistry.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

namespace {
using Probe = std::function<QString()>;

const QByteArray kSvg = "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 20 10'>"
                        "<rect width='20' height='10' fill='red'/></svg>";

} // namespace

Q_DECLARE_METATYPE(Probe)

class ModulesTest : public QObject {
  Q_OBJECT
  QByteArray FPackage;
  QTemporaryDir FDir;

private slots:
  void initTestCase() {
    const interchange::Result<QByteArray> made = interchange::writeZip({{"a.txt", "bonjour"}});
    QVERIFY(made.ok());
    FPackage = made.value();
  }
  void cleanup() { modules::resetSearchDirectories(); }

  void eachFeatureIsOffWithoutItsModule_data() {
    QTest::addColumn<Probe>("probe");
    QTest::addColumn<QString>("withModules");
    QTest::addColumn<QString>("withoutModules");

    const QByteArray package = FPackage;
    QTest::newRow("reading a package") << Probe([package] {
      interchange::ZipReader zip = interchange::ZipReader::fromBytes(package, 1 << 20);
      const interchange::Result<QByteArray> text = zip.read(QStringLiteral("a.txt"));
      return text.ok() ? QString::fromUtf8(text.value()) : text.errorString();
    }) << "bonjour"
                                       << "le fichier a.txt du paquet est illisible.";
    QTest::newRow("writing a package") << Probe([] {
      const interchange::Result<QByteArray> made = interchange::writeZip({{"a.txt", "bonjour"}});
      return made.ok() ? QStringLiteral("écrit") : made.errorString();
    }) << "écrit"
                                       << "le paquet n'a pas pu être composé.";
    QTest::newRow("drawing an SVG") << Probe([] {
      const QImage image = picturedecoder::decode(kSvg, QStringLiteral("image/svg+xml"), {40, 40});
      return image.isNull() ? QStringLiteral("absente")
                            : QStringLiteral("%1x%2").arg(image.width()).arg(image.height());
    }) << "40x20"
                                    << "absente";
    QTest::newRow("storing an SVG") << Probe([] {
      return picturedecoder::prepareForStorage(kSvg, 64, 1 << 20) ? QStringLiteral("gardée")
                                                                  : QStringLiteral("refusée");
    }) << "gardée"
                                    << "refusée";
    const QString model = FDir.filePath(QStringLiteral("fr.db"));
    QTest::newRow("word prediction")
        << Probe([model] {
             QFile f(model);
             f.open(QIODevice::WriteOnly);
             f.write(QByteArray("SQLite format 3\0", 16));
             f.close();
             PresagePredictor predictor(model, model + QStringLiteral(".user"));
             return WordPredictor::statusText(predictor.status());
           })
        << "Prédiction de mots prête."
        << "Prédiction indisponible : le dictionnaire de prédiction est introuvable.";
    // Without the module speech says at once that it is silent, and nothing it is asked
    // crashes; with it, the answer depends on the service and comes later (not compared).
    QTest::newRow("speech") << Probe([] {
      std::unique_ptr<ISpeech> speech = makeSystemSpeech();
      speech->setVoice(SpeechVoice{QStringLiteral("fr"), 10, 80});
      speech->cancel();
      speech->say(QStringLiteral("Bonjour"), SpeechPriority::Message, SpeechForm::Words);
      speech->probe();
      return speech->state() == SpeechState::Unavailable && speech->voices().isEmpty()
                 ? QStringLiteral("muette")
                 : QStringLiteral("en cours");
    }) << QString() << "muette";
    // A bell without sound still takes its time: the user's input waits the same.
    QTest::newRow("tones") << Probe([] {
      QElapsedTimer t;
      t.start();
      makeSystemToneGenerator()->playTone(440, 60);
      return t.elapsed() >= 55 ? QStringLiteral("attendu") : QStringLiteral("trop tôt");
    }) << "attendu"
                           << "attendu";
  }

  void eachFeatureIsOffWithoutItsModule() {
    QFETCH(Probe, probe);
    QFETCH(QString, withModules);
    QFETCH(QString, withoutModules);
    // No speech service here, whatever the machine runs.
    qputenv("SPEECHD_ADDRESS", "unix_socket:/nonexistent/orivox-test.sock");
    modules::setSearchDirectories({});
    QCOMPARE(probe(), withoutModules);
    modules::resetSearchDirectories();
    const QString found = probe();
    if (!withModules.isNull())
      QCOMPARE(found, withModules);
  }

  // Found where the program looks, in order; a folder given empty finds nothing.
  void modulesAreFoundInTheFoldersLookedIn() {
    QTemporaryDir first, second;
    QFile(second.filePath(modules::fileName(QStringLiteral("orivox_essai"))))
        .open(QIODevice::WriteOnly);
    modules::setSearchDirectories({first.path(), second.path()});
    QCOMPARE(modules::find(QStringLiteral("orivox_essai")),
             second.filePath(QStringLiteral("liborivox_essai.so")));
    // Not a library: loading fails, and the feature is off rather than the program stopped.
    QVERIFY(!modules::resolve(QStringLiteral("orivox_essai"), "anything"));
    modules::setSearchDirectories({});
    QVERIFY(modules::find(QStringLiteral("orivox_zip")).isEmpty());
    modules::resetSearchDirectories();
    QVERIFY(!modules::find(QStringLiteral("orivox_zip")).isEmpty());
  }
};

ORIVOX_TEST(ModulesTest)
#include "ModulesTest.moc"

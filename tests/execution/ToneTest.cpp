// The bell's tone samples: length and pitch, measured from the samples themselves.
#include "platform/ToneGenerator.h"
#include "support/TestRegistry.h"

#include <QtEndian>
#include <QtTest>

class ToneTest : public QObject {
  Q_OBJECT
private slots:
  void samples_data() {
    QTest::addColumn<int>("frequency");
    QTest::addColumn<int>("durationMs");
    QTest::addColumn<int>("rate");
    QTest::newRow("500 Hz") << 500 << 500 << 44100;
    QTest::newRow("250 Hz") << 250 << 500 << 44100;
    QTest::newRow("250 Hz at 8 kHz") << 250 << 300 << 8000;
  }
  void samples() {
    QFETCH(int, frequency);
    QFETCH(int, durationMs);
    QFETCH(int, rate);
    const QByteArray bytes = toneSamples(frequency, durationMs, rate);
    const int count = rate * durationMs / 1000;
    QCOMPARE(bytes.size(), 2 * count);

    const auto* data = reinterpret_cast<const uchar*>(bytes.constData());
    auto sample = [&](int i) { return qFromLittleEndian<qint16>(data + 2 * i); };
    // A sine crosses zero twice per period; samples that are exactly zero (the faded ends)
    // neither start nor end a crossing.
    int crossings = 0;
    int previousSign = 0;
    int peak = 0;
    for (int i = 0; i < count; ++i) {
      const int v = sample(i);
      peak = std::max(peak, std::abs(v));
      const int sign = (v > 0) - (v < 0);
      if (sign != 0) {
        if (previousSign != 0 && sign != previousSign)
          ++crossings;
        previousSign = sign;
      }
    }
    const double measured = crossings / 2.0 / (durationMs / 1000.0);
    QVERIFY2(std::abs(measured - frequency) <= 0.01 * frequency,
             qPrintable(QStringLiteral("measured %1 Hz").arg(measured)));
    QVERIFY(peak > 8000); // audible, and never clipped
    // Faded ends: no click at the start or the end.
    QVERIFY(std::abs(sample(0)) < 200);
    QVERIFY(std::abs(sample(count - 1)) < 200);
  }

  void nothingForInvalidArguments() {
    QVERIFY(toneSamples(500, 0).isEmpty());
    QVERIFY(toneSamples(0, 500).isEmpty());
    QVERIFY(toneSamples(500, -10).isEmpty());
  }
};

ORIVOX_TEST(ToneTest)
#include "ToneTest.moc"

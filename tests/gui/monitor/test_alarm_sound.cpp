// The alarm sound shipped with the program: its wave format, that it really is a two-tone
// alarm, and that asking for it is harmless where no audio device exists.
#include <QFile>
#ifdef Q_OS_WIN
#include <windows.h>

#include <mmsystem.h>
#else
#include <QAudioDevice>
#include <QMediaDevices>
#endif
#include <QTest>
#include <cmath>

#include "gui/common/Seams.h"
#include "gui/monitor/AlarmSound.h"

using zuohao::gui::AlarmSound;

namespace {
struct Wave {
    quint16 format = 0, channels = 0, bits = 0;
    quint32 rate = 0;
    QByteArray samples;
};

// The little-endian field of `bytes` bytes at `at`.
quint32 fieldAt(const QByteArray& file, qsizetype at, int bytes) {
    quint32 value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | quint8(file.at(at + i));
    return value;
}

Wave readWave(const QByteArray& file) {
    Wave w;
    if (file.size() < 12 || file.left(4) != "RIFF" || file.mid(8, 4) != "WAVE") return w;
    qsizetype pos = 12;
    while (pos + 8 <= file.size()) {
        const QByteArray id = file.mid(pos, 4);
        const quint32 size = fieldAt(file, pos + 4, 4);
        const qsizetype body = pos + 8;
        if (id == "fmt " && body + 16 <= file.size()) {
            w.format = quint16(fieldAt(file, body, 2));
            w.channels = quint16(fieldAt(file, body + 2, 2));
            w.rate = fieldAt(file, body + 4, 4);
            w.bits = quint16(fieldAt(file, body + 14, 2));
        } else if (id == "data") {
            w.samples = file.mid(pos + 8, qsizetype(size));
        }
        pos += 8 + qsizetype(size) + (size & 1);
    }
    return w;
}

// Frequency of a stretch of 8-bit samples, from its rising crossings of the middle.
double frequency(const QByteArray& s, qsizetype from, qsizetype count, quint32 rate) {
    int rising = 0;
    qsizetype first = -1, last = -1;
    for (qsizetype i = from + 1; i < from + count; ++i) {
        const int a = quint8(s[i - 1]) - 128, b = quint8(s[i]) - 128;
        if (a < 0 && b >= 0) {
            if (first < 0) first = i;
            last = i;
            ++rising;
        }
    }
    if (rising < 2) return 0;
    return double(rising - 1) * rate / double(last - first);
}
} // namespace

class TestAlarmSound : public QObject {
    Q_OBJECT
private slots:
    void waveIsMono8Bit11025AboutFourSeconds();
    void waveIsATwoToneAlarm();
    void askingForTheAlarmIsHarmlessWithoutDevice();
#ifndef _WIN32 // Windows plays through winmm, without Qt Multimedia's outputs
    void everyAlarmReachesTheSinkWhole();
    void listenOnARealDevice();
#endif
};

void TestAlarmSound::waveIsMono8Bit11025AboutFourSeconds() {
    QFile f(AlarmSound::resourcePath());
    QVERIFY(f.open(QIODevice::ReadOnly));
    const Wave w = readWave(f.readAll());
    QCOMPARE(w.format, quint16(1)); // PCM
    QCOMPARE(w.channels, quint16(1));
    QCOMPARE(w.bits, quint16(8));
    QCOMPARE(w.rate, quint32(11025));
    const double seconds = double(w.samples.size()) / w.rate;
    QVERIFY2(seconds > 4.3 && seconds < 4.5, qPrintable(QString::number(seconds)));
}

void TestAlarmSound::waveIsATwoToneAlarm() {
    QFile f(AlarmSound::resourcePath());
    QVERIFY(f.open(QIODevice::ReadOnly));
    const Wave w = readWave(f.readAll());
    QVERIFY(!w.samples.isEmpty());
    // Loud but not clipped.
    int lo = 255, hi = 0;
    for (char c : w.samples) {
        lo = std::min(lo, int(quint8(c)));
        hi = std::max(hi, int(quint8(c)));
    }
    QVERIFY2(hi - lo > 150, qPrintable(QString("%1..%2").arg(lo).arg(hi)));
    QVERIFY(lo > 0 && hi < 255);
    // Quarter-second tones alternating high and low, all through the sound.
    const qsizetype tone = w.rate / 4;
    int high = 0, low = 0;
    for (qsizetype t = 0; (t + 1) * tone <= w.samples.size() - tone; ++t) {
        const double f0 = frequency(w.samples, t * tone + tone / 8, tone * 3 / 4, w.rate);
        if (std::abs(f0 - 960) < 20)
            ++high;
        else if (std::abs(f0 - 770) < 20)
            ++low;
        else
            QFAIL(qPrintable(QString("tone %1 at %2 Hz").arg(t).arg(f0)));
        QCOMPARE(std::abs(f0 - 960) < 20, t % 2 == 0);
    }
    QVERIFY(high >= 7);
    QVERIFY(low >= 7);
}

void TestAlarmSound::askingForTheAlarmIsHarmlessWithoutDevice() {
#ifdef Q_OS_WIN
    const bool device = waveOutGetNumDevs() > 0;
#else
    const bool device = !QMediaDevices::defaultAudioOutput().isNull();
#endif
    zuohao::gui::setAlarmPlayer([] { AlarmSound::instance().play(); });
    // The desktop seams play what was registered; a second alarm cuts the first.
    zuohao::gui::seams().playAlarm();
    zuohao::gui::seams().playAlarm();
    QCOMPARE(AlarmSound::instance().started(), device ? 2 : 0);
    zuohao::gui::setAlarmPlayer({});
}

#ifndef _WIN32
namespace {
// A sink that takes what the alarm gives it: the samples reaching it are counted per play,
// and whether the reader was in a playable state (open, at its start) when it began.
struct SinkLog {
    int alive = 0;
    int mostAlive = 0;
    std::vector<qint64> bytes;
    int unplayable = 0;
};

class CountingOutput : public zuohao::gui::AlarmOutput {
public:
    explicit CountingOutput(SinkLog& log) : m_log(log) {
        m_log.mostAlive = std::max(m_log.mostAlive, ++m_log.alive);
    }
    ~CountingOutput() override { --m_log.alive; }
    bool start(QIODevice* pcm) override {
        if (!pcm || !pcm->isOpen() || !pcm->isReadable() || pcm->pos() != 0) ++m_log.unplayable;
        m_log.bytes.push_back(pcm ? pcm->readAll().size() : 0);
        return true;
    }

private:
    SinkLog& m_log;
};
} // namespace

void TestAlarmSound::everyAlarmReachesTheSinkWhole() {
    QFile f(AlarmSound::resourcePath());
    QVERIFY(f.open(QIODevice::ReadOnly));
    const qint64 samples = readWave(f.readAll()).samples.size();
    SinkLog log;
    QAudioFormat seen;
    AlarmSound& sound = AlarmSound::instance();
    sound.setOutputFactory([&](const QAudioFormat& format) {
        seen = format;
        return std::make_unique<CountingOutput>(log);
    });
    const int before = sound.started();
    constexpr int kAlarms = 16;
    for (int i = 0; i < kAlarms; ++i) {
        sound.play();
        if (i % 3 == 0) QTest::qWait(5); // some alarms back to back, some apart
    }
    sound.setOutputFactory({});
    QCOMPARE(sound.started() - before, kAlarms);
    QCOMPARE(int(log.bytes.size()), kAlarms);
    QCOMPARE(log.unplayable, 0);
    for (qint64 b : log.bytes)
        QCOMPARE(b, samples);
    QCOMPARE(log.mostAlive, 1); // each alarm cut the one before it
    QCOMPARE(seen.sampleRate(), 11025);
    QCOMPARE(seen.channelCount(), 1);
    QCOMPARE(seen.sampleFormat(), QAudioFormat::UInt8);
}

// The check by ear on a machine with speakers (see the README): 11 alarms, 5 seconds apart.
void TestAlarmSound::listenOnARealDevice() {
    if (qEnvironmentVariableIsEmpty("ZUOHAO_ALARM_LISTEN"))
        QSKIP("set ZUOHAO_ALARM_LISTEN=1 to listen");
    if (QMediaDevices::defaultAudioOutput().isNull()) QSKIP("no audio output device");
    AlarmSound& sound = AlarmSound::instance();
    const int before = sound.started();
    for (int i = 1; i <= 11; ++i) {
        qInfo("alarm %d of 11", i);
        sound.play();
        QTest::qWait(5000);
    }
    QCOMPARE(sound.started() - before, 11);
}
#endif

QTEST_MAIN(TestAlarmSound)
#include "test_alarm_sound.moc"

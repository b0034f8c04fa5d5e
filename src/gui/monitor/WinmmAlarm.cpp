#ifdef _WIN32
// The alarm on Windows: the wave is played from memory by the system's own sound call
// (winmm PlaySound), so the Windows build needs no multimedia module. Replaces
// AlarmSound.cpp there (the build picks one of the two).
#include <QFile>

#include <windows.h>

#include <mmsystem.h>

#include "gui/monitor/AlarmSound.h"

// The wave is compiled into this static library; its resource must be registered by hand.
static void initAlarmResource() {
    static bool done = false;
    if (done) return;
    done = true;
    Q_INIT_RESOURCE(alarm);
}

namespace zuohao::gui {

namespace {
// The wave's bytes, loaded once and kept for the whole run: PlaySound plays straight from
// this memory while the call has long returned.
const QByteArray& alarmWave() {
    static const QByteArray wave = [] {
        QFile f(AlarmSound::resourcePath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    return wave;
}
} // namespace

AlarmSound& AlarmSound::instance() {
    static AlarmSound* sound = new AlarmSound();
    return *sound;
}

QString AlarmSound::resourcePath() {
    initAlarmResource();
    return QStringLiteral(":/sounds/warning.wav");
}

AlarmSound::AlarmSound() {
    initAlarmResource();
    alarmWave();
}

void AlarmSound::play() {
    // Without an output device there is nothing to play on: stay silent.
    if (waveOutGetNumDevs() == 0) return;
    const QByteArray& wave = alarmWave();
    if (wave.isEmpty()) return;
    // Asynchronous, from memory, never the system's default sound in its place; a new alarm
    // cuts the one still sounding.
    if (PlaySoundW(reinterpret_cast<LPCWSTR>(wave.constData()), nullptr,
                   SND_MEMORY | SND_ASYNC | SND_NODEFAULT))
        ++m_started;
}

} // namespace zuohao::gui
#endif

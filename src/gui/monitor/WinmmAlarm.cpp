#ifdef _WIN32
// The alarm on Windows: the wave is played from memory by the system's own sound call
// (winmm PlaySound), so the Windows build needs no multimedia module. Replaces
// AlarmSound.cpp there (the build picks one of the two).
#include <QFile>

#include <windows.h>

#include <mmsystem.h>

#include "gui/monitor/AlarmSound.h"

namespace zuohao::gui {

// The whole wave file, loaded once and kept for the whole run: PlaySound plays straight from
// this memory while the call has long returned.
bool AlarmSound::loadWave() {
    if (!m_loaded) {
        m_loaded = true;
        QFile f(resourcePath());
        if (f.open(QIODevice::ReadOnly)) m_pcm = f.readAll();
    }
    return !m_pcm.isEmpty();
}

void AlarmSound::play() {
    // Without an output device there is nothing to play on: stay silent.
    if (waveOutGetNumDevs() == 0 || !loadWave()) return;
    // Asynchronous, from memory, never the system's default sound in its place; a new alarm
    // cuts the one still sounding.
    if (PlaySoundW(reinterpret_cast<LPCWSTR>(m_pcm.constData()), nullptr,
                   SND_MEMORY | SND_ASYNC | SND_NODEFAULT))
        ++m_started;
}

} // namespace zuohao::gui
#endif

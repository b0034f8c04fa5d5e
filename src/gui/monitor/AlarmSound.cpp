#include "gui/monitor/AlarmSound.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>


// The wave is compiled into this static library; its resource must be registered by hand.
static void initAlarmResource() {
    static bool done = false;
    if (done) return;
    done = true;
    Q_INIT_RESOURCE(alarm);
}

namespace zuohao::gui {

AlarmSound& AlarmSound::instance() {
    // Lives to the end of the run: the sound plays from memory held by the effect.
    static AlarmSound* sound = new AlarmSound();
    return *sound;
}

QString AlarmSound::resourcePath() {
    initAlarmResource();
    return QStringLiteral(":/sounds/warning.wav");
}

AlarmSound::AlarmSound() {
    initAlarmResource();
}

void AlarmSound::play() {
    // Without an output device there is nothing to play on: stay silent.
    if (QMediaDevices::defaultAudioOutput().isNull()) return;
    if (!m_effect) {
        // Loaded once and kept: later alarms start at once.
        m_effect = new QSoundEffect(this);
        m_effect->setSource(QUrl(QStringLiteral("qrc") + resourcePath()));
    }
    // A new alarm cuts the one still sounding.
    m_effect->stop();
    m_effect->play();
    ++m_started;
}

} // namespace zuohao::gui

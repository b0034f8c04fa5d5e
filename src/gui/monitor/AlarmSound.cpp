#include "gui/monitor/AlarmSound.h"

#include <QSoundEffect>
#include <QUrl>

namespace zuohao::gui {

AlarmSound& AlarmSound::instance() {
    static AlarmSound* sound = new AlarmSound();
    return *sound;
}

AlarmSound::AlarmSound() {}

void AlarmSound::play() {
    if (!m_effect) {
        m_effect = new QSoundEffect(this);
        m_effect->setSource(QUrl(QStringLiteral("qrc:/sounds/warning.wav")));
    }
    m_effect->stop();
    m_effect->play();
}

} // namespace zuohao::gui

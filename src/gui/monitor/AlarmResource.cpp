// What both alarm players share: the one player of the run and the wave in the resources.
#include <QBuffer>
#include <QString>

#include "gui/monitor/AlarmSound.h"

// The wave is compiled into this static library; its resource must be registered by hand.
static void initAlarmResource() {
    static bool done = false;
    if (done) return;
    done = true;
    Q_INIT_RESOURCE(alarm);
}

namespace zuohao::gui {

AlarmSound& AlarmSound::instance() {
    // Lives to the end of the run.
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

AlarmSound::~AlarmSound() = default;

} // namespace zuohao::gui

#pragma once
// The alarm sound (WARNING): a PCM wave shipped inside the program, played asynchronously.
#include <QObject>

class QSoundEffect;

namespace zuohao::gui {

class AlarmSound : public QObject {
    Q_OBJECT
public:
    static AlarmSound& instance();
    // Plays the alarm; a sound still playing is cut. Silent where there is no audio device.
    void play();

private:
    AlarmSound();
    QSoundEffect* m_effect = nullptr;
};

} // namespace zuohao::gui

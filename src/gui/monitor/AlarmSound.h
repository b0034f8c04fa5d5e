#pragma once
// The monitor's alarm sound (WARNING): a PCM wave shipped inside the program (mono, 8 bits,
// 11,025 samples per second, about 4.4 seconds), played asynchronously.
#include <QObject>
#include <QString>

class QSoundEffect;

namespace zuohao::gui {

class AlarmSound : public QObject {
    Q_OBJECT
public:
    // The one alarm sound of the program (created on first use, after the application).
    static AlarmSound& instance();
    // Where the wave lives among the program's resources.
    static QString resourcePath();

    // Plays the alarm and returns at once; a sound still playing is cut and starts again.
    // Silent (and harmless) where there is no audio output device.
    void play();
    // How often play() found an output device and started the sound.
    int started() const { return m_started; }

private:
    AlarmSound();
    QSoundEffect* m_effect = nullptr;
    int m_started = 0;
};

} // namespace zuohao::gui

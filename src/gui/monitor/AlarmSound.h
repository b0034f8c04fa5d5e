#pragma once
// The monitor's alarm sound (WARNING): a PCM wave shipped inside the program (mono, 8 bits,
// 11,025 samples per second, about 4.4 seconds), played asynchronously.
//
// Every alarm is played by a fresh audio output over a fresh reader of the decoded samples:
// one player kept and restarted (stop, then play) was found silent after a few alarms with
// some sound servers, while a new one per alarm sounded every time.
#include <QAudioFormat>
#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QBuffer;
class QIODevice;

namespace zuohao::gui {

// One playback of the alarm on an audio device.
class AlarmOutput {
public:
    virtual ~AlarmOutput() = default;
    // Starts pulling the samples from `pcm` (open, at its start, kept alive by the caller as
    // long as this output lives). False when the device refused to start.
    virtual bool start(QIODevice* pcm) = 0;
};

// Makes the output for one alarm; nothing when there is no device to play on.
using AlarmOutputFactory = std::function<std::unique_ptr<AlarmOutput>(const QAudioFormat&)>;

class AlarmSound : public QObject {
    Q_OBJECT
public:
    // The one alarm sound of the program (created on first use, after the application).
    static AlarmSound& instance();
    // Where the wave lives among the program's resources.
    static QString resourcePath();

    // Plays the alarm and returns at once; a sound still playing is cut and the new one
    // starts from its beginning. Silent (and harmless) where there is no audio output device.
    void play();
    // How often play() found an output device and started the sound.
    int started() const { return m_started; }

    // The audio outputs used from now on (tests count what reaches them); an empty factory
    // restores the default audio device.
    void setOutputFactory(AlarmOutputFactory factory);

private:
    AlarmSound();
    ~AlarmSound() override;
    bool loadWave();

    AlarmOutputFactory m_factory;
    QByteArray m_pcm;
    QAudioFormat m_format;
    bool m_loaded = false;
    // The alarm sounding now: its reader and its output (the output is destroyed first).
    std::unique_ptr<QBuffer> m_reader;
    std::unique_ptr<AlarmOutput> m_output;
    int m_started = 0;
};

} // namespace zuohao::gui

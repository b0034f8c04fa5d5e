#include "gui/monitor/AlarmSound.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QBuffer>
#include <QFile>
#include <QMediaDevices>

namespace zuohao::gui {

namespace {
// The default audio device through Qt's audio sink, pulling from the reader.
class DeviceOutput : public AlarmOutput {
public:
    DeviceOutput(const QAudioDevice& device, const QAudioFormat& format) : m_sink(device, format) {}
    bool start(QIODevice* pcm) override {
        m_sink.start(pcm);
        return m_sink.error() == QAudio::NoError && m_sink.state() != QAudio::StoppedState;
    }

private:
    QAudioSink m_sink;
};

std::unique_ptr<AlarmOutput> defaultOutput(const QAudioFormat& format) {
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    // Without an output device there is nothing to play on: stay silent.
    if (device.isNull()) return nullptr;
    return std::make_unique<DeviceOutput>(device, format);
}

constexpr quint16 kPcmFormat = 1;

// The little-endian field of `bytes` bytes at `at`; the caller has checked that it lies inside.
quint32 fieldAt(const QByteArray& file, qsizetype at, int bytes) {
    quint32 value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | quint8(file.at(at + i));
    return value;
}
} // namespace

void AlarmSound::setOutputFactory(AlarmOutputFactory factory) {
    m_output.reset();
    m_factory = std::move(factory);
}

bool AlarmSound::loadWave() {
    if (m_loaded) return !m_pcm.isEmpty();
    m_loaded = true;
    QFile f(resourcePath());
    if (!f.open(QIODevice::ReadOnly)) return false;
    const QByteArray file = f.readAll();
    if (file.size() < 12 || file.left(4) != "RIFF" || file.mid(8, 4) != "WAVE") return false;
    quint16 format = 0, channels = 0, bits = 0;
    quint32 rate = 0;
    qsizetype pos = 12;
    while (pos + 8 <= file.size()) {
        const QByteArray id = file.mid(pos, 4);
        const quint32 size = fieldAt(file, pos + 4, 4);
        const qsizetype body = pos + 8;
        if (id == "fmt " && size >= 16 && pos + 8 + 16 <= file.size()) {
            format = quint16(fieldAt(file, body, 2));
            channels = quint16(fieldAt(file, body + 2, 2));
            rate = fieldAt(file, body + 4, 4);
            bits = quint16(fieldAt(file, body + 14, 2));
        } else if (id == "data") {
            m_pcm = file.mid(pos + 8, qsizetype(size));
        }
        pos += 8 + qsizetype(size) + (size & 1);
    }
    if (format != kPcmFormat || bits != 8 || channels == 0 || rate == 0) {
        m_pcm.clear();
        return false;
    }
    m_format.setSampleRate(int(rate));
    m_format.setChannelCount(channels);
    m_format.setSampleFormat(QAudioFormat::UInt8);
    return !m_pcm.isEmpty();
}

void AlarmSound::play() {
    if (!loadWave()) return;
    // A new alarm cuts the one still sounding: its output goes, then its reader.
    m_output.reset();
    m_reader = std::make_unique<QBuffer>();
    m_reader->setData(m_pcm);
    m_reader->open(QIODevice::ReadOnly);
    m_output = m_factory ? m_factory(m_format) : defaultOutput(m_format);
    if (!m_output) return;
    if (m_output->start(m_reader.get()))
        ++m_started;
    else
        m_output.reset();
}

} // namespace zuohao::gui

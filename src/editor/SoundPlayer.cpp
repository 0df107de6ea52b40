#include "editor/SoundPlayer.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QCoreApplication>
#include <QMediaDevices>
#include <QPointer>

#include "media/ByteBuffer.h"
#include "editor/WaveClip.h"

namespace ab {
namespace {

// The one clip playing now; the sink owns its buffer and goes away by itself
// once the clip has played or failed.
QPointer<QAudioSink> playing;

QAudioFormat::SampleFormat SampleFormatFor(int bits) {
  switch (bits) {
    case 8: return QAudioFormat::UInt8;
    case 16: return QAudioFormat::Int16;
    case 32: return QAudioFormat::Int32;
    default: return QAudioFormat::Unknown;
  }
}

}  // namespace

bool IsSoundClipPlaying() {
  return playing && (playing->state() == QAudio::ActiveState || playing->state() == QAudio::SuspendedState);
}

int PlaySoundClip(const std::uint8_t* bytes, std::size_t size) {
  if (IsSoundClipPlaying() || QCoreApplication::instance() == nullptr) return 0;
  const std::optional<WaveClip> clip = ParseWaveClip(bytes, size);
  if (!clip) return 0;

  QAudioFormat format;
  format.setSampleRate(clip->sampleRate);
  format.setChannelCount(clip->channels);
  format.setSampleFormat(SampleFormatFor(clip->bitsPerSample));
  const QAudioDevice device = QMediaDevices::defaultAudioOutput();
  if (device.isNull() || !device.isFormatSupported(format)) return 0;

  if (playing) playing->deleteLater();  // an earlier clip that has finished
  auto* sink = new QAudioSink(device, format, QCoreApplication::instance());
  auto* buffer = new QBuffer(sink);
  // A copy: the record may drop or replace its clip while this one plays.
  buffer->setData(reinterpret_cast<const char*>(bytes + clip->dataOffset), static_cast<qsizetype>(clip->dataSize));
  buffer->open(QIODevice::ReadOnly);
  QObject::connect(sink, &QAudioSink::stateChanged, sink, [sink](QAudio::State state) {
    if (state == QAudio::IdleState) {
      sink->stop();
    } else if (state == QAudio::StoppedState) {
      sink->deleteLater();
    }
  });
  sink->start(buffer);
  if (sink->error() != QAudio::NoError || sink->state() == QAudio::StoppedState) {
    sink->deleteLater();
    return 0;
  }
  playing = sink;
  return 1;
}

int PlaySoundClip(const ByteBuffer& clip) {
  if (clip.IsNull()) return 0;
  return PlaySoundClip(clip.data(), static_cast<std::size_t>(clip.size()));
}

}  // namespace ab

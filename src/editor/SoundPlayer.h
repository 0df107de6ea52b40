#pragma once
// Playing a sound clip, a WAVE file image held in memory, on the default audio
// output. Playing returns at once and the clip plays on from Qt's event loop;
// while one clip plays, another request does nothing. Without an audio output,
// or for bytes that are not a PCM WAVE image, nothing happens.

#include <cstddef>
#include <cstdint>

namespace ab {

class ByteBuffer;

// 1 when the clip started; 0 when a clip is already playing, the bytes are not
// a playable clip, or there is no audio output to play them on.
int PlaySoundClip(const std::uint8_t* bytes, std::size_t size);
int PlaySoundClip(const ByteBuffer& clip);

bool IsSoundClipPlaying();

}  // namespace ab

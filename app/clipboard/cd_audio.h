// CD audio: sound links play a passage of a CD-audio track. The link gives
// the track and the start and end as counts of CD frames (75 a second); the
// player sends, in this order, the command strings
//
//   open cdaudio
//   set cdaudio time format tmsf
//   play cdaudio from T:M:S:F to T:M:S:F
//   close cdaudio
//
// (minutes = frames / 4500, seconds = remainder / 75, frames = remainder mod
// 75, both times on the same track) to a small interpreter that plays through
// the CD-ROM drive's audio commands. Without a drive nothing happens;
// failures are never reported.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morva {

// The four command strings for a passage.
std::vector<std::string> CdAudioCommands(int track, int startFrames, int endFrames);

// "T:M:S:F" of a frame count on a track.
std::string TrackTime(int track, int frames);

// The drive's audio commands. Times are absolute frame addresses on the disc
// (as the table of contents gives them).
class CdAudioDevice {
 public:
  virtual ~CdAudioDevice() = default;
  virtual bool Open() = 0;
  // Absolute address of the first frame of a track; nothing when unknown.
  virtual std::optional<int> TrackStart(int track) = 0;
  // Plays from the first address up to the second.
  virtual bool Play(int startAddress, int endAddress) = 0;
  virtual void Close() = 0;
};

// The drive /dev/cdrom (else /dev/sr0) through the Linux CD-ROM audio ioctls.
std::unique_ptr<CdAudioDevice> MakeLinuxCdAudioDevice();

// The interpreter of the four command strings.
class CdAudio {
 public:
  explicit CdAudio(std::unique_ptr<CdAudioDevice> device = MakeLinuxCdAudioDevice());

  // Carries out one command string; false when it is not understood or fails.
  bool Send(std::string_view command);
  // Sends the four strings for a passage.
  void PlayPassage(int track, int startFrames, int endFrames);

  // The last strings sent (for tests and diagnostics).
  static constexpr size_t kKeptCommands = 32;
  const std::vector<std::string>& sent() const { return sent_; }

 private:
  std::unique_ptr<CdAudioDevice> device_;
  bool open_ = false;
  bool tmsf_ = false;
  std::vector<std::string> sent_;
};

// Plays the passage of an "S" marker (02 L 'S' track(2) start(6) end(6), hexadecimal).
// False when the marker cannot be read.
bool PlaySoundMarker(std::string_view marker, CdAudio& audio);

}  // namespace morva

#include "app/clipboard/cd_audio.h"

#include <fcntl.h>
#include <linux/cdrom.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdio>

#include "engine/book/text_utils.h"

namespace morva {
namespace {

constexpr int kFramesPerSecond = 75;
constexpr int kFramesPerMinute = 60 * kFramesPerSecond;

class LinuxCdAudioDevice final : public CdAudioDevice {
 public:
  ~LinuxCdAudioDevice() override { Close(); }

  bool Open() override {
    Close();
    for (const char* path : {"/dev/cdrom", "/dev/sr0"}) {
      fd_ = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
      if (fd_ >= 0) return true;
    }
    return false;
  }

  std::optional<int> TrackStart(int track) override {
    if (fd_ < 0 || track < 1 || track > 99) return std::nullopt;
    cdrom_tocentry entry{};
    entry.cdte_track = static_cast<__u8>(track);
    entry.cdte_format = CDROM_MSF;
    if (::ioctl(fd_, CDROMREADTOCENTRY, &entry) != 0) return std::nullopt;
    const cdrom_msf0& a = entry.cdte_addr.msf;
    return a.minute * kFramesPerMinute + a.second * kFramesPerSecond + a.frame;
  }

  bool Play(int start, int end) override {
    if (fd_ < 0 || start < 0 || end <= start) return false;
    cdrom_msf msf{};
    msf.cdmsf_min0 = static_cast<__u8>(start / kFramesPerMinute);
    msf.cdmsf_sec0 = static_cast<__u8>(start % kFramesPerMinute / kFramesPerSecond);
    msf.cdmsf_frame0 = static_cast<__u8>(start % kFramesPerSecond);
    msf.cdmsf_min1 = static_cast<__u8>(end / kFramesPerMinute);
    msf.cdmsf_sec1 = static_cast<__u8>(end % kFramesPerMinute / kFramesPerSecond);
    msf.cdmsf_frame1 = static_cast<__u8>(end % kFramesPerSecond);
    return ::ioctl(fd_, CDROMPLAYMSF, &msf) == 0;
  }

  void Close() override {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

 private:
  int fd_ = -1;
};

bool Hex(std::string_view s, size_t at, size_t n, unsigned long* value) {
  if (at + n > s.size()) return false;
  unsigned long v = 0;
  for (size_t i = at; i < at + n; ++i) {
    const char c = s[i];
    int d = 0;
    if (c >= '0' && c <= '9') {
      d = c - '0';
    } else if (c >= 'A' && c <= 'F') {
      d = c - 'A' + 10;
    } else if (c >= 'a' && c <= 'f') {
      d = c - 'a' + 10;
    } else {
      return false;
    }
    v = v * 16 + static_cast<unsigned long>(d);
  }
  *value = v;
  return true;
}

}  // namespace

std::string TrackTime(int track, int frames) {
  const int minutes = frames / kFramesPerMinute;
  const int rest = frames % kFramesPerMinute;
  return Format("%d:%d:%d:%d", track, minutes, rest / kFramesPerSecond, rest % kFramesPerSecond);
}

std::vector<std::string> CdAudioCommands(int track, int startFrames, int endFrames) {
  return {
      "open cdaudio", "set cdaudio time format tmsf",
      "play cdaudio from " + TrackTime(track, startFrames) + " to " + TrackTime(track, endFrames),
      "close cdaudio"};
}

std::unique_ptr<CdAudioDevice> MakeLinuxCdAudioDevice() {
  return std::make_unique<LinuxCdAudioDevice>();
}

CdAudio::CdAudio(std::unique_ptr<CdAudioDevice> device) : device_(std::move(device)) {}

bool CdAudio::Send(std::string_view command) {
  if (sent_.size() >= kKeptCommands) sent_.erase(sent_.begin());
  sent_.emplace_back(command);
  if (command == "open cdaudio") {
    open_ = device_ != nullptr && device_->Open();
    tmsf_ = false;
    return open_;
  }
  if (command == "set cdaudio time format tmsf") {
    tmsf_ = open_;
    return open_;
  }
  if (command == "close cdaudio") {
    // The drive goes on playing by itself once started.
    if (open_) device_->Close();
    open_ = tmsf_ = false;
    return true;
  }
  int t0 = 0, m0 = 0, s0 = 0, f0 = 0, t1 = 0, m1 = 0, s1 = 0, f1 = 0;
  const std::string text(command);
  if (std::sscanf(text.c_str(), "play cdaudio from %d:%d:%d:%d to %d:%d:%d:%d", &t0, &m0, &s0, &f0,
                  &t1, &m1, &s1, &f1) != 8)
    return false;
  if (!open_ || !tmsf_) return false;
  const std::optional<int> first = device_->TrackStart(t0);
  const std::optional<int> last = device_->TrackStart(t1);
  if (!first || !last) return false;
  return device_->Play(*first + m0 * kFramesPerMinute + s0 * kFramesPerSecond + f0,
                       *last + m1 * kFramesPerMinute + s1 * kFramesPerSecond + f1);
}

void CdAudio::PlayPassage(int track, int startFrames, int endFrames) {
  for (const std::string& command : CdAudioCommands(track, startFrames, endFrames)) Send(command);
}

bool PlaySoundMarker(std::string_view marker, CdAudio& audio) {
  unsigned long track = 0;
  unsigned long start = 0;
  unsigned long end = 0;
  if (marker.size() < 3 || marker[2] != 'S' || !Hex(marker, 3, 2, &track) ||
      !Hex(marker, 5, 6, &start) || !Hex(marker, 11, 6, &end))
    return false;
  audio.PlayPassage(static_cast<int>(track), static_cast<int>(start), static_cast<int>(end));
  return true;
}

}  // namespace morva

// The Qt-free side of the clipboard and links: the word taken from clipboard
// text and CD audio played from a sound marker.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/clipboard/cd_audio.h"
#include "app/clipboard/clipboard_word.h"
#include "engine/book/text_utils.h"

namespace morva {
namespace {

// One word with blanks and control bytes around it, at most 127 bytes and
// never half a character; a blank in NEGLECT takes the text as it stands.
TEST(ClipboardWord, OneWordOrTheTextAsItStands) {
  const std::string longWord = std::string(126, 'a') + Sjis("あ");
  const struct {
    std::string text, neglect;
    std::optional<std::string> word;
  } cases[] = {{"  word \r\n", "", "word"},           {Sjis("　猫　"), "", Sjis("猫")},
               {"two words", "", std::nullopt},       {Sjis("猫　犬"), "", std::nullopt},
               {"line\nnext", "", std::nullopt},      {"   ", "", std::nullopt},
               {longWord, "", std::string(126, 'a')}, {"two words", " -", "two words"}};
  for (const auto& c : cases)
    EXPECT_EQ(TakeClipboardWord(c.text, c.neglect), c.word) << ::testing::PrintToString(c.text);
  EXPECT_EQ(RemoveNeglected("two words", " -"), "twowords");
  // A pair is compared whole: the trail byte of ・ (0x81 0x45) is not "E".
  EXPECT_EQ(RemoveNeglected(Sjis("E・E"), "E"), Sjis("・"));
}

class FakeDrive : public CdAudioDevice {
 public:
  explicit FakeDrive(std::vector<std::pair<int, int>>& plays) : plays_(plays) {}
  bool Open() override { return true; }
  std::optional<int> TrackStart(int track) override { return 150 + (track - 1) * 10000; }
  bool Play(int start, int end) override { return plays_.emplace_back(start, end), true; }
  void Close() override {}

 private:
  std::vector<std::pair<int, int>>& plays_;
};

TEST(CdAudio, SoundMarkersPlayFromTheTrackStart) {
  std::vector<std::pair<int, int>> plays;
  CdAudio audio(std::make_unique<FakeDrive>(plays));
  // A sound marker: track 1, start 4653 (0x122D), end 4728 (0x1278).
  ASSERT_TRUE(PlaySoundMarker("\x02\x30S0100122D001278", audio));
  EXPECT_EQ(audio.sent(),
            (std::vector<std::string>{"open cdaudio", "set cdaudio time format tmsf",
                                      "play cdaudio from 1:1:2:3 to 1:1:3:3", "close cdaudio"}));
  EXPECT_EQ(plays, (std::vector<std::pair<int, int>>{{150 + 4653, 150 + 4728}}));
  EXPECT_FALSE(audio.Send("play cdaudio from 1:0:0:0 to 1:0:1:0"));  // closed again
  EXPECT_FALSE(audio.Send("eject cdaudio"));
  EXPECT_FALSE(PlaySoundMarker("\x02\x30S01", audio));
}

}  // namespace
}  // namespace morva

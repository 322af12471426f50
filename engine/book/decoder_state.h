// The decoder part of TDisk: what the text decoder and the content formatter
// carry from one unit to the next, and the per-book settings they read. The
// decoder (engine/decode) owns its meaning; a seek resets the first two.
#pragma once

#include <cstdint>

#include "engine/book/book_address.h"
#include "engine/book/tgaiji.h"

namespace morva {

class GaijiMap;

// How external characters come out of the decoder.
enum class GaijiMode {
  kText = 3,    // replaced by conversion text when the table has some
  kBitmap = 4,  // kept as codes for bitmap display
};

struct DecoderState {
  bool fullWidth = true;
  uint8_t pendingChar = 0;
  // A single-byte book starts every run in half-width mode.
  bool singleByteBook = false;
  // The conversion replacement cursor, reset on every opening of a book file.
  int replacementCursor = -1;

  bool pictureFlag = false;   // inside a picture (set by picture escapes)
  bool refParamFlag = false;  // deliver reference parameters (image window)
  GaijiMode gaijiMode = GaijiMode::kBitmap;
  uint8_t headwordStart = 0x41;  // 0x16 after the decoder meets escape 0x16
  uint8_t headwordEnd = 0x61;    // 0x17 likewise
  TGaiji conversion;             // external-character conversion table
  // Codes this Unicode map has keep their marker in GaijiMode::kText, so that
  // plain text can show them as their characters; nullptr for none.
  const GaijiMap* unicodeMap = nullptr;

  // Start of the last item formatted (page 0: none); cleared on selection.
  BookAddress contentStart{};

  // Part of a character is still to come: the second byte of a split
  // character or the rest of a replacement text.
  bool CharacterPending() const { return pendingChar != 0 || replacementCursor >= 0; }
};

// Sets how external characters come out for as long as it lives, then puts
// back the mode it found.
class ScopedGaijiMode {
 public:
  ScopedGaijiMode(DecoderState& state, GaijiMode mode) : state_(state), saved_(state.gaijiMode) {
    state.gaijiMode = mode;
  }
  ~ScopedGaijiMode() { state_.gaijiMode = saved_; }
  ScopedGaijiMode(const ScopedGaijiMode&) = delete;
  ScopedGaijiMode& operator=(const ScopedGaijiMode&) = delete;

 private:
  DecoderState& state_;
  GaijiMode saved_;
};

}  // namespace morva

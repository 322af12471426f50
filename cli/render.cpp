#include "cli/render.h"

#include <cstdio>

#include "engine/book/gaiji_map.h"
#include "engine/decode/marked_text.h"
#include "engine/text/sjis.h"
#include "engine/text/unicode.h"

namespace morva::cli {

namespace {

// Appends Shift-JIS text as UTF-8.
void FlushText(std::string_view sjis, std::string* out) {
  if (!sjis.empty()) AppendSjisAsUtf8(sjis, out);
}

}  // namespace

void AppendReadable(std::string_view m, std::string* out, const GaijiMap* map) {
  MarkedTextCursor cursor(m, MarkedTextCursor::Text::kRuns);
  bool lineStart = true;
  for (MarkedToken t = cursor.Next(); t.kind != MarkedKind::kEnd; t = cursor.Next()) {
    switch (t.kind) {
      case MarkedKind::kText:
        FlushText(cursor.Bytes(), out);
        lineStart = false;
        break;
      case MarkedKind::kIndent:
        if (t.whole && lineStart && t.level > 0) out->append(static_cast<size_t>(t.level) * 2, ' ');
        break;
      case MarkedKind::kNewLine:
        out->push_back('\n');
        lineStart = true;
        break;
      case MarkedKind::kGaiji: {
        if (t.whole) {
          const GaijiMapEntry* mapped = map != nullptr ? map->Find(t.fullWidth, t.code) : nullptr;
          if (mapped != nullptr && mapped->HasCharacter()) {
            out->append(mapped->utf8);
          } else if (mapped != nullptr && !mapped->replacement.empty()) {
            out->append(mapped->replacement);
          } else {
            char text[16];
            std::snprintf(text, sizeof text, "[%c%04X]", t.fullWidth ? 'z' : 'h', t.code);
            out->append(text);
          }
        }
        lineStart = false;
        break;
      }
      default: break;  // markers, anchors, headword and style codes draw nothing
    }
  }
}

void AppendMarked(std::string_view m, std::string* out) {
  MarkedTextCursor cursor(m, MarkedTextCursor::Text::kRuns);
  char buf[32];
  for (MarkedToken t = cursor.Next(); t.kind != MarkedKind::kEnd; t = cursor.Next()) {
    const std::string_view bytes = cursor.Bytes();
    if (t.kind == MarkedKind::kText) {
      FlushText(bytes, out);
    } else if (t.kind == MarkedKind::kMarker) {
      out->append("{02:");
      if (bytes.size() > 2) out->append(bytes.substr(2));
      out->append("}");
    } else if (t.kind == MarkedKind::kGaiji && t.whole) {
      std::snprintf(buf, sizeof buf, "{0B:%c%02X%02X}", bytes[1], static_cast<uint8_t>(bytes[2]),
                    static_cast<uint8_t>(bytes[3]));
      out->append(buf);
    } else if (t.kind == MarkedKind::kIndent && t.whole) {
      std::snprintf(buf, sizeof buf, "{09:%d}", t.level);
      out->append(buf);
    } else {
      // Other codes, and a code cut off at the end, byte by byte.
      for (const char c : bytes) {
        std::snprintf(buf, sizeof buf, "{%02X}", static_cast<uint8_t>(c));
        out->append(buf);
      }
      if (t.kind == MarkedKind::kNewLine) out->push_back('\n');
    }
  }
}

}  // namespace morva::cli

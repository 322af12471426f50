#include "cli/render.h"

#include <algorithm>
#include <cstdio>

#include "engine/decode/gaiji_map.h"
#include "engine/text/sjis.h"
#include "engine/text/unicode.h"

namespace morva::cli {

namespace {

// Length of a hidden marker that starts with 0x02 at i (0x02, L, L - 33 more).
size_t MarkerLength(std::string_view m, size_t i) {
  if (i + 1 >= m.size()) return m.size() - i;
  const auto l = static_cast<uint8_t>(m[i + 1]);
  size_t len = l >= 0x20 ? static_cast<size_t>(l - 0x20) + 1 : 2;
  return std::min(len, m.size() - i);
}

// Appends the Shift-JIS run [begin, end) as UTF-8.
void FlushText(std::string_view m, size_t begin, size_t end, std::string* out) {
  if (end > begin) AppendSjisAsUtf8(m.substr(begin, std::min(end, m.size()) - begin), out);
}

}  // namespace

void AppendReadable(std::string_view m, std::string* out, const GaijiMap* map) {
  size_t run = 0;
  bool lineStart = true;
  for (size_t i = 0; i < m.size();) {
    const auto b = static_cast<uint8_t>(m[i]);
    if (b >= 0x20) {
      i += IsSjisLead(b) ? 2 : 1;
      lineStart = false;
      continue;
    }
    FlushText(m, run, i, out);
    switch (b) {
      case 0x02:
        i += MarkerLength(m, i);
        break;
      case 0x09:
        if (i + 1 < m.size() && lineStart) {
          const int level = static_cast<uint8_t>(m[i + 1]) - 0x20;
          if (level > 0) out->append(static_cast<size_t>(level) * 2, ' ');
        }
        i += 2;
        break;
      case 0x0A:
        out->push_back('\n');
        lineStart = true;
        ++i;
        break;
      case 0x0B: {
        if (i + 3 < m.size()) {
          const bool fullWidth = m[i + 1] == '1';
          const auto code = static_cast<uint16_t>(static_cast<uint8_t>(m[i + 2]) << 8 | static_cast<uint8_t>(m[i + 3]));
          const GaijiMapEntry* mapped = map != nullptr ? map->Find(fullWidth, code) : nullptr;
          if (mapped != nullptr && mapped->HasCharacter()) {
            out->append(mapped->utf8);
          } else if (mapped != nullptr && !mapped->replacement.empty()) {
            out->append(mapped->replacement);
          } else {
            char text[16];
            std::snprintf(text, sizeof text, "[%c%04X]", fullWidth ? 'z' : 'h', code);
            out->append(text);
          }
        }
        lineStart = false;
        i += 4;
        break;
      }
      case 0x0D:
        ++i;
        break;
      default:
        ++i;  // anchors, headword and style codes draw nothing
        break;
    }
    run = i;
  }
  if (run < m.size()) FlushText(m, run, m.size(), out);
}

void AppendMarked(std::string_view m, std::string* out) {
  size_t run = 0;
  char buf[32];
  for (size_t i = 0; i < m.size();) {
    const auto b = static_cast<uint8_t>(m[i]);
    if (b >= 0x20) {
      i += IsSjisLead(b) ? 2 : 1;
      continue;
    }
    FlushText(m, run, i, out);
    if (b == 0x02) {
      const size_t len = MarkerLength(m, i);
      out->append("{02:");
      if (len > 2) out->append(m.substr(i + 2, len - 2));
      out->append("}");
      i += len;
    } else if (b == 0x0B && i + 3 < m.size()) {
      std::snprintf(buf, sizeof buf, "{0B:%c%02X%02X}", m[i + 1], static_cast<uint8_t>(m[i + 2]),
                    static_cast<uint8_t>(m[i + 3]));
      out->append(buf);
      i += 4;
    } else if (b == 0x09 && i + 1 < m.size()) {
      std::snprintf(buf, sizeof buf, "{09:%d}", static_cast<uint8_t>(m[i + 1]) - 0x20);
      out->append(buf);
      i += 2;
    } else {
      std::snprintf(buf, sizeof buf, "{%02X}", b);
      out->append(buf);
      if (b == 0x0A) out->push_back('\n');
      ++i;
    }
    run = i;
  }
  if (run < m.size()) FlushText(m, run, m.size(), out);
}

}  // namespace morva::cli
